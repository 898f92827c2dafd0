// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "rtf/rtf.h"

#include <QTextDocument>
#include <QThread>
#include <QtTest>

using namespace folioneer::rtf;

// The reading rules as input/output pairs: each row is an RTF input and the plain text it must
// give. Every row is checked through both the plain-text path and the document path.
class tst_RtfCases : public QObject {
    Q_OBJECT

private slots:
    void producerDocuments_data();
    void producerDocuments() { check(); }
    void tokenizerRules_data();
    void tokenizerRules() { check(); }
    void codePages_data();
    void codePages() { check(); }
    void unicode_data();
    void unicode() { check(); }
    void destinations_data();
    void destinations() { check(); }
    void listsHiddenTables_data();
    void listsHiddenTables() { check(); }
    void hostileInput_data();
    void hostileInput() { check(); }
    void deepNestingOnSmallStack();
    void notRtfLeavesDocumentUnchanged();

private:
    static void columns();
    static void row(const char* name, const QByteArray& rtf, const QString& expected,
                    ReadStatus status = ReadStatus::Ok);
    static void check();
};

void tst_RtfCases::columns()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<ReadStatus>("status");
}

void tst_RtfCases::row(const char* name, const QByteArray& rtf, const QString& expected, ReadStatus status)
{
    QTest::newRow(name) << rtf << expected << status;
}

void tst_RtfCases::check()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, expected);
    QFETCH(ReadStatus, status);

    const PlainText plain = plainTextFromRtf(rtf);
    QCOMPARE(plain.status, status);
    QCOMPARE(plain.text, expected);

    QTextDocument document;
    document.setPlainText(QStringLiteral("previous content"));
    QCOMPARE(readRtf(rtf, document), status);
    if (status == ReadStatus::NotRtf) {
        QCOMPARE(document.toPlainText(), QStringLiteral("previous content"));
    } else {
        QCOMPARE(plainTextOfDocument(document), expected);
    }
}

void tst_RtfCases::producerDocuments_data()
{
    columns();
    row("dotnet-richtextbox",
        "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033{\\fonttbl{\\f0\\fnil\\fcharset0 Microsoft Sans "
        "Serif;}}\r\n"
        "\\viewkind4\\uc1\\pard\\f0\\fs17 Hello world\\par\r\n}\r\n",
        QStringLiteral("Hello world"));
    row("wordpad-win10",
        R"({\rtf1\ansi\ansicpg1252\deff0\nouicompat\deflang1033{\fonttbl{\f0\fnil\fcharset0 Calibri;}})"
        "\r\n"
        R"({\*\generator Riched20 10.0.19041}\viewkind4\uc1 )"
        "\r\n"
        R"(\pard\sa200\sl276\slmult1\f0\fs22\lang9 First\par)"
        "\r\n"
        R"(Second\par)"
        "\r\n}\r\n",
        QStringLiteral("First\r\nSecond"));
    row("richedit-cyrillic",
        R"({\rtf1\ansi\ansicpg1251\deff0\nouicompat\deflang1049{\fonttbl{\f0\fnil\fcharset204 Calibri;}})"
        "\r\n"
        R"({\*\generator Riched20 10.0.19041}\viewkind4\uc1 )"
        "\r\n"
        R"(\pard\f0\fs22\lang1049 \'cf\'f0\'e8\'e2\'e5\'f2\par)"
        "\r\n}",
        QStringLiteral("Привет"));
    row("libreoffice",
        R"({\rtf1\ansi\deff3\adeflang1025)"
        "\r\n"
        R"({\fonttbl{\f0\froman\fprq2\fcharset0 Times New Roman;}{\f3\froman\fprq2\fcharset0 Liberation Serif{\*\falt Times New Roman};}})"
        "\r\n"
        R"({\colortbl;\red0\green0\blue0;})"
        "\r\n"
        R"({\stylesheet{\s0\snext0\ql\hich\af3\loch\f3\fs24 Normal;}})"
        "\r\n"
        R"({\*\generator LibreOffice/7.6.4.1$Linux_X86_64 LibreOffice_project/1}{\info{\creatim\yr2024\mo1\dy2\hr3\min4}}\deftab709)"
        "\r\n"
        R"(\pgndec\pard\plain \s0\ql\hich\af3\loch\f3\fs24{\rtlch \ltrch\loch Caf\u233\'e9 au lait})"
        "\r\n"
        R"(\par })",
        QStringLiteral("Café au lait"));
    row("word",
        R"({\rtf1\adeflang1025\ansi\ansicpg1252\uc1\adeff31507\deff0\stshfdbch31505\deflang1033{\fonttbl{\f0\fbidi \froman\fcharset0\fprq2{\*\panose 02020603050405020304}Times New Roman;}})"
        R"({\colortbl;\red0\green0\blue0;}{\*\defchp \fs22 }{\stylesheet{\ql \fs22 Normal;}}{\*\rsidtbl \rsid1\rsid2})"
        R"({\*\generator Microsoft Word 16.0;}{\info{\title x}{\author A}}{\*\xmlnstbl {\xmlns1 http://schemas.microsoft.com/office/word/2003/wordml}})"
        R"(\pard\plain \ltrpar\ql \rtlch\fcs1 \af31507 \ltrch\fcs0 \fs22\insrsid1 {\rtlch\fcs1 \af31507 \ltrch\fcs0 \insrsid2 Hello Word})"
        R"({\*\bkmkstart _GoBack}{\*\bkmkend _GoBack}\par {\*\themedata 504b0304}{\*\colorschememapping 3c3f78})"
        R"({\*\latentstyles\lsdstimax376{\lsdlockedexcept \lsdqformat1 Normal;}}{\*\datastore 01050000}})",
        QStringLiteral("Hello Word"));
    row("cocoa-textedit",
        R"({\rtf1\ansi\ansicpg1252\cocoartf2761)"
        "\n"
        R"(\cocoatextscaling0\cocoaplatform0{\fonttbl\f0\fswiss\fcharset0 Helvetica;})"
        "\n"
        R"({\colortbl;\red255\green255\blue255;})"
        "\n"
        R"({\*\expandedcolortbl;;})"
        "\n"
        R"(\paperw11900\paperh16840\margl1440\margr1440\vieww11520\viewh8400\viewkind0)"
        "\n"
        R"(\pard\tx566\pardirnatural\partightenfactor0)"
        "\n\n"
        R"(\f0\fs24 \cf0 Line one\)"
        "\n"
        R"(Line \uc0\u8220 two\u8221 })",
        QStringLiteral("Line one\r\nLine “two”"));
}

void tst_RtfCases::tokenizerRules_data()
{
    columns();
    row("second-space-is-text", R"({\rtf1 \b  bold\b0  x})", QStringLiteral(" bold x"));
    row("punctuation-delimiter-kept", R"({\rtf1 A\b1.\b0,B})", QStringLiteral("A.,B"));
    row("escaped-symbols", R"({\rtf1 a\\b\{c\}d})", QStringLiteral("a\\b{c}d"));
    row("raw-newlines-and-backslash-newline", "{\\rtf1 ab\r\ncd\\\r\nef}", QStringLiteral("abcd\r\nef"));
    row("special-characters",
        R"({\rtf1 \ldblquote Hi\rdblquote\emdash\lquote x\rquote\endash\bullet  a\-b\~c\_d\zwj\zwnj\emspace\enspace e})",
        QStringLiteral("“Hi”—‘x’–• ab\u00A0c\u2011d\u200D\u200C\u2003\u2002e"));
    row("tab-line-page-sect", R"({\rtf1 a\tab b\line c\page d\sect e})",
        QStringLiteral("a\tb\r\nc\r\nd\r\ne"));
    row("breaks-after-a-paragraph-mark", R"({\rtf1 a\par\sect b\par\page\par c\column d})",
        QStringLiteral("a\r\nb\r\n\r\nc\r\nd"));
    row("empty-paragraphs-and-final-mark", R"({\rtf1 A\par\par B\par\par})",
        QStringLiteral("A\r\n\r\nB\r\n"));
}

void tst_RtfCases::codePages_data()
{
    columns();
    row("cp1252-accent", R"({\rtf1\ansi\ansicpg1252 caf\'e9})", QStringLiteral("café"));
    row("cp1252-is-not-latin1", R"({\rtf1\ansi\ansicpg1252 \'93Hi\'94 \'96 \'80})",
        QStringLiteral("“Hi” – €"));
    row("fcharset-overrides-ansicpg-and-is-restored",
        R"({\rtf1\ansi\ansicpg1252\deff0{\fonttbl{\f0\fnil\fcharset0 Arial;}{\f1\fnil\fcharset204 Arial CYR;}}\f0 \'c1 {\f1 \'c1} \'c1})",
        QStringLiteral("Á Б Á"));
    row("default-charset-undeclared-font-and-cpg",
        R"({\rtf1\ansi\ansicpg1251{\fonttbl{\f0\fnil\fcharset1 Arial;}{\f1\fnil\fcharset0\cpg1253 Greek;}}\f0 \'c1\f7 \'c1\f1 \'e1})",
        QStringLiteral("ББα"));
    row("shift-jis-pairs-with-backslash-trail-byte",
        R"({\rtf1\ansi\ansicpg932{\fonttbl{\f0\fnil\fcharset128 MS Gothic;}}\f0 \'82\'a0\'95\'5c})",
        QStringLiteral("あ表"));
}

void tst_RtfCases::unicode_data()
{
    columns();
    row("uc1-hex-and-question-mark-fallbacks", R"({\rtf1\uc1 caf\u233\'e9 a\u160?c})",
        QStringLiteral("café a\u00A0c"));
    row("uc2-double-byte-fallback",
        R"({\rtf1\ansi\ansicpg932{\fonttbl{\f0\fnil\fcharset128 MS Mincho;}}\f0\uc2\u12354\'82\'a0\u12356\'82\'a2})",
        QStringLiteral("あい"));
    row("negative-values-surrogate-pairs-lone-surrogate", R"({\rtf1 \u-1279?/\u-10179?\u-8704?/\u-10179?x})",
        QStringLiteral("ﬁ/\U0001F600/\uFFFDx"));
    row("uc-is-group-scoped", R"({\rtf1\uc1 {\uc2 \u8364 XY}\u8364?Z})", QStringLiteral("€€Z"));
    row("words-and-hex-in-fallback-not-executed", R"({\rtf1\uc1 \u8212\endash x/\u8211\'96y})",
        QStringLiteral("—x/–y"));
    row("brace-ends-fallback-u-inside-skipped", R"({\rtf1\uc2 \u233 a{b}/\u8364\u8364 Y})",
        QStringLiteral("éb/€"));
    row("upr-shows-unicode-branch-only", R"({\rtf1{\upr{caf\'e9}{\*\ud{\uc0 caf\u233}}}})",
        QStringLiteral("café"));
}

void tst_RtfCases::destinations_data()
{
    columns();
    row("unknown-star-destination-and-unknown-word",
        R"({\rtf1 A{\*\foo text {\bar more}}B{\unknownword C}D\zzz E})", QStringLiteral("ABCDE"));
    row("info-header-footer-footnote-annotation",
        R"({\rtf1{\info{\title T}{\author Me}}{\header H\par}{\footer F\par}Text{\footnote\chftn N}{\*\atnid x}.\par})",
        QStringLiteral("Text."));
    row("field-results",
        R"({\rtf1 See {\field{\*\fldinst{HYPERLINK "http://example.com"}}{\fldrslt{\ul link}}}, p.{\field{\fldinst PAGE}{\fldrslt 3}}{\field{\*\fldinst NUMPAGES}}.})",
        QStringLiteral("See link, p.3."));
    row("pictures-and-objects",
        R"({\rtf1 A{\pict\pngblip\picw10\pich10 89504e47}B{\*\shppict{\pict\pngblip 00}}{\nonshppict{\pict\wmetafile8 00}}C)"
        R"({\object\objemb{\*\objclass Paint.Picture}{\*\objdata 0102}{\result{\pict\wmetafile8 00}D}}E})",
        QStringLiteral("ABCDE"));
}

void tst_RtfCases::listsHiddenTables_data()
{
    columns();
    row("listtext-and-pntext-markers",
        R"({\rtf1{\fonttbl{\f0\fnil Calibri;}{\f1\fnil\fcharset2 Symbol;}}{\*\listtable{\list\listtemplateid1{\listlevel\levelnfc23{\leveltext\'01\u-3913 ?;}}\listid1}})"
        R"({\*\listoverridetable{\listoverride\listid1\ls1}}{\listtext\f1\'b7\tab}\ls1\ilvl0 Apple\par{\pntext\f0 2.\tab})"
        R"({\*\pn\pnlvlbody\pndec\pnstart2{\pntxta .}}Pear\par})",
        QStringLiteral("•\tApple\r\n2.\tPear"));
    row("legacy-numbering-without-pntext",
        R"({\rtf1{\fonttbl{\f1\fnil\fcharset2 Symbol;}}{\*\pn\pnlvlblt\pnf1\pnindent0{\pntxtb\'b7}}one\par)"
        R"({\*\pn\pnlvlblt\pnf1{\pntxtb\'b7}}two\par\pard{\*\pn\pnlvlbody\pnlcltr\pnstart3{\pntxta )}}three\par)"
        R"({\*\pn\pnlvlbody\pnlcltr\pnstart3{\pntxta )}}four\par\pard{\*\pn\pnlvlcont}more\par\pard plain\par)"
        R"({\*\pn\pnlvl2\pndec{\pntxtb (}{\pntxta )}}x})",
        QStringLiteral("•\tone\r\n•\ttwo\r\nc)\tthree\r\nd)\tfour\r\nmore\r\nplain\r\n(1)\tx"));
    // A picture is an item's content: the marker before it stays (it was dropped as a marker
    // after content).
    row("list-item-holding-only-a-picture",
        R"({\rtf1{\pntext 1.\tab}{\*\pn\pnlvlbody\pndec}{\pict\pngblip\picw1\pich1 89504e47}\par\pard two\par})",
        QStringLiteral("1.\t\r\ntwo"));
    // Symbol-font bullets as the private-use characters word processors write for them: the
    // font decides what they show, in runs and list levels alike.
    row("symbol-and-wingdings-bullets-in-runs",
        R"({\rtf1{\fonttbl{\f0\fswiss Arial;}{\f1\fnil\fcharset2 Symbol;}{\f2\fnil\fcharset2 Wingdings;}})"
        R"({\listtext\f1\u61623?\tab}one\par{\listtext\f2\u-3929?\tab}two\par)"
        R"({\f2\'a7\'6c\'6e\'71\'76\'d8\'fc\u61548?\u61692?\u61656?}\par)"
        R"({\f0\u61623?}{\f2\'dc\u61660?}\par})",
        QStringLiteral(
            "\u2022\tone\r\n\u25AA\ttwo\r\n\u25AA\u25CF\u25A0\u2751\u2756\u27A2\u2713\u25CF\u2713\u27A2\r\n"
            "\uF0B7\uF0DC\uF0DC"));
    row("symbol-and-wingdings-bullets-in-list-levels",
        R"({\rtf1{\fonttbl{\f0\fswiss Arial;}{\f1\fnil\fcharset2 Symbol;}{\f2\fnil Wingdings;}})"
        R"({\*\listtable{\list{\listlevel\levelnfc23{\leveltext\'01\u-3913 ?;}\f1}\listid1})"
        R"({\list{\listlevel\levelnfc23{\leveltext\'01\u-3978 ?;}\f2}\listid2})"
        R"({\list{\listlevel\levelnfc23{\leveltext\'01\u-3913 ?;}\f0}\listid3}})"
        R"({\*\listoverridetable{\listoverride\listid1\ls1}{\listoverride\listid2\ls2}{\listoverride\listid3\ls3}})"
        R"(\pard\ls1 Symbol\par\pard\ls2 Wingdings\par\pard\ls3 Arial\par})",
        QStringLiteral("\u2022\tSymbol\r\n\u2756\tWingdings\r\n\uF0B7\tArial"));
    row("list-table-numbering-without-listtext",
        R"({\rtf1{\*\listtable{\list{\listlevel\levelnfc0\levelstartat3{\leveltext\'02\'00.;}})"
        R"({\listlevel\levelnfc4{\leveltext\'04\'00.\'01);}}\listid7}})"
        R"({\*\listoverridetable{\listoverride\listid7\ls1}}\pard\ls1 A\par\pard\ls1\ilvl1 B\par\pard\ls1 C\par})",
        QStringLiteral("3.\tA\r\n3.a)\tB\r\n4.\tC"));
    row("list-markers-in-table-cells",
        R"({\rtf1\trowd\cellx3000\cellx6000\pard\intbl{\listtext \u8226?\tab}item one\par)"
        R"({\listtext \u8226?\tab}item two\cell x\cell\row)"
        R"(\trowd\cellx3000\cellx6000\pard\intbl y\cell{\pntext 1.\tab}{\*\pn\pnlvlbody\pndec{\pntxta .}}first\par)"
        R"({\pntext 2.\tab}{\*\pn\pnlvlbody\pndec{\pntxta .}}second\cell\row})",
        QStringLiteral("\u2022\titem one \u2022\titem two\tx\r\ny\t1.\tfirst 2.\tsecond"));
    row("hidden-text", R"({\rtf1 Visible{\v hidden}Text\v  secret\v0  end})",
        QStringLiteral("VisibleText end"));
    row("table",
        R"({\rtf1 Intro\par\trowd\cellx1000\cellx2000\pard\intbl A\cell B\cell\row\trowd\cellx1000\cellx2000\pard\intbl\cell D\cell\row\pard Outro\par})",
        QStringLiteral("Intro\r\nA\tB\r\n\tD\r\nOutro"));
    row("nested-table",
        R"({\rtf1\trowd\cellx3000\pard\intbl Outer\par\itap2 In1\nestcell In2\nestcell{\*\nesttableprops\trowd\cellx1000\cellx2000\nestrow}{\nonesttables\par}\pard\intbl\itap1 \cell\row})",
        QStringLiteral("Outer\r\nIn1\tIn2"));
    // Beyond the basic cases: paragraphs inside one cell, empty cells, deletions.
    row("cell-paragraphs-joined-by-space",
        R"({\rtf1\trowd\cellx1000\cellx2000\pard\intbl one\par two\par\cell\cell x\cell\row})",
        QStringLiteral("one two\t\tx"));
    row("cell-paragraphs-without-row-end", R"({\rtf1\pard\intbl a\par b\par\pard c})",
        QStringLiteral("a b\r\nc"));
    row("row-without-row-end", R"({\rtf1\trowd\pard\intbl a\cell b\cell\pard c})",
        QStringLiteral("a\tb\r\nc"));
    // A paragraph has one marker: a second one before any content is text in a row, and
    // dropped elsewhere, in the document and the plain text alike.
    row("markers-only-cells",
        R"({\rtf1\trowd\cellx1000\cellx2000\pard\intbl{\listtext +\tab}\cell{\listtext -\tab}\cell\row})",
        QStringLiteral("+\t\t-\t"));
    row("second-marker-outside-a-row", R"({\rtf1{\listtext+}\cell{\listtext-}})", QStringLiteral("+\t"));
    row("tracked-deletion-dropped", R"({\rtf1 keep{\deleted gone}\deleted  also\deleted0  this})",
        QStringLiteral("keep this"));
}

void tst_RtfCases::hostileInput_data()
{
    columns();
    row("bin-payload-with-braces-and-huge-count",
        QByteArray("{\\rtf1 A{\\pict\\wmetafile8\\bin4 {}\\\\}B\\bin999999999 C}"), QStringLiteral("AB"),
        ReadStatus::Truncated);
    row("overflowing-parameters",
        R"({\rtf1\fs99999999999999999999 A\u99999999999?B\uc-5\u88 C\f-7 D\cf4000000000 E})",
        QStringLiteral("A\uFFFDBXCDE"));
    row("malformed-hex", R"({\rtf1 a\'zzb{\'4}c\'})", QStringLiteral("azzb4c"));
    row("extra-brace-and-text-after-end", R"({\rtf1 A}}junk{\b B})", QStringLiteral("A"));
    row("control-bytes-and-unterminated-groups",
        QByteArray("{\\rtf1 a\0b\x01"
                   "c\td{\\b e",
                   19),
        QStringLiteral("abc\tde"), ReadStatus::Truncated);
    row("not-rtf", "hello world", QString(), ReadStatus::NotRtf);
    row("empty", QByteArray(), QString(), ReadStatus::NotRtf);
    row("bom-and-white-space-allowed", "\xEF\xBB\xBF \r\n\t{\\rtf1 x}", QStringLiteral("x"));
}

void tst_RtfCases::deepNestingOnSmallStack()
{
    const int depth = 100000;
    QByteArray rtf = "{\\rtf1 ";
    rtf.append(QByteArray(depth, '{'));
    rtf.append('x');
    rtf.append(QByteArray(depth, '}'));
    rtf.append("}");

    PlainText plain;
    QString documentText;
    ReadStatus documentStatus = ReadStatus::NotRtf;
    QThread* thread = QThread::create([&] {
        plain = plainTextFromRtf(rtf);
        QTextDocument document;
        documentStatus = readRtf(rtf, document);
        documentText = plainTextOfDocument(document);
    });
    thread->setStackSize(256 * 1024);
    thread->start();
    QVERIFY(thread->wait(60000));
    delete thread;
    QCOMPARE(plain.status, ReadStatus::Ok);
    QCOMPARE(plain.text, QStringLiteral("x"));
    QCOMPARE(documentStatus, ReadStatus::Ok);
    QCOMPARE(documentText, QStringLiteral("x"));
}

void tst_RtfCases::notRtfLeavesDocumentUnchanged()
{
    QTextDocument document;
    document.setHtml(QStringLiteral("<p><b>bold</b> text</p>"));
    const QString before = document.toHtml();
    QCOMPARE(readRtfText(QStringLiteral("plain words, no RTF"), document), ReadStatus::NotRtf);
    QCOMPARE(document.toHtml(), before);
    QVERIFY(!looksLikeRtf(QByteArray("{\\rt")));
    QVERIFY(looksLikeRtf(QStringLiteral("\uFEFF  {\\rtf1 x}")));
    // The text test and the reader agree: only ASCII white space may come first.
    const QString afterNbsp = QStringLiteral("\u00A0{\\rtf1 x}");
    QVERIFY(!looksLikeRtf(afterNbsp));
    QCOMPARE(readRtfText(afterNbsp, document), ReadStatus::NotRtf);
    QVERIFY(!looksLikeRtf(QByteArray("\0{\\rtf1 x}", 10)));
}

QTEST_MAIN(tst_RtfCases)
#include "tst_rtf_cases.moc"
