// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/test_support.h"
#include "rtf/rtf.h"
#include "rtf/rtf_document_sink.h"
#include "rtf/rtf_interpreter.h"
#include "rtf/rtf_plain_text_sink.h"

#include <QElapsedTimer>
#include <QTextDocument>
#include <QtTest>

using namespace folioneer::rtf;

// Input built to break readers: it must read in bounded time and memory, without crashing,
// and give the same text through both paths.
class tst_RtfHostile : public QObject {
    Q_OBJECT

private slots:
    void boundedInput_data();
    void boundedInput();
    void sinksAgreeOnOddPlacements_data();
    void sinksAgreeOnOddPlacements();
    void lowerLimits_data();
    void lowerLimits();
    void largeDocumentsKeepAllText_data();
    void largeDocumentsKeepAllText();
    void oversizedPictureIsSkipped();
    void extremeListLevels_data();
    void extremeListLevels();
};

namespace {

QByteArray repeated(const QByteArray& part, int count)
{
    QByteArray out;
    out.reserve(part.size() * count);
    for (int i = 0; i < count; ++i) {
        out.append(part);
    }
    return out;
}

QByteArray fontTable(int entries)
{
    QByteArray table = "{\\fonttbl";
    for (int i = 0; i < entries; ++i) {
        table.append("{\\f" + QByteArray::number(i) + "\\fcharset204 F;}");
    }
    return table + "}";
}

// Counts what a sink receives, for the limit checks.
class RecordingSink : public Sink {
public:
    bool wantsPictures() const override { return true; }
    void text(QStringView text, const CharFormat&) override { plain.append(text); }
    void lineBreak(const CharFormat&) override { plain.append(u'\n'); }
    void listMarker(const ListMarker& marker, const CharFormat&) override { levels.append(marker.level); }
    void paragraphEnd(const ParagraphFormat&) override { plain.append(u'\n'); }
    void picture(const Picture& picture, const CharFormat&) override
    {
        pictureSizes.append(picture.data.size());
    }
    void finish(const ParagraphFormat&, bool) override {}

    QString plain;
    QList<qsizetype> pictureSizes;
    QList<int> levels;
};

} // namespace

void tst_RtfHostile::boundedInput_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<ReadStatus>("status");

    QTest::newRow("100000-nested-groups")
        << "{\\rtf1 " + QByteArray(100000, '{') + "x" + QByteArray(100000, '}') + "}" << QStringLiteral("x")
        << ReadStatus::Ok;
    QTest::newRow("100000-unclosed-groups")
        << "{\\rtf1 " + QByteArray(100000, '{') + "x" << QStringLiteral("x") << ReadStatus::Truncated;
    QTest::newRow("1000000-bin0") << "{\\rtf1 a" + repeated("\\bin0 ", 1000000) + "b}" << QStringLiteral("ab")
                                  << ReadStatus::Ok;
    QTest::newRow("bin-past-the-end")
        << QByteArray("{\\rtf1 a\\bin50 xyz}") << QStringLiteral("a") << ReadStatus::Truncated;
    QTest::newRow("negative-bin") << QByteArray("{\\rtf1 a\\bin-5 b}") << QStringLiteral("ab")
                                  << ReadStatus::Ok;
    QTest::newRow("huge-parameters")
        << QByteArray("{\\rtf1\\fs2147483648\\li-99999999999\\sl999999999999\\sa-1\\ls99999999999\\ilvl-3 a"
                      "\\uc99999999999\\u-2147483649 abcdefghijklmnopqrst\\cf-1\\highlight99999 b}")
        << QStringLiteral("a\uFFFDqrstb") << ReadStatus::Ok;
    QTest::newRow("negative-font-numbers")
        << QByteArray("{\\rtf1\\ansi{\\fonttbl{\\f-5\\fcharset204 X;}}\\f-5 \\'c1\\f-2147483648 \\'c1}")
        << QStringLiteral("БÁ") << ReadStatus::Ok;
    // Entries past the font limit are ignored, so \f99999 falls back to the document code page.
    QTest::newRow("100000-font-entries") << "{\\rtf1\\ansi" + fontTable(100000) + "\\f99999 \\'c1\\f1 \\'c1}"
                                         << QStringLiteral("ÁБ") << ReadStatus::Ok;
    QTest::newRow("malformed-hex") << QByteArray("{\\rtf1 a\\'\\'g{\\'1}\\'{b}\\'4")
                                   << QStringLiteral("ag1b4") << ReadStatus::Truncated;
    QTest::newRow("text-after-the-end")
        << "{\\rtf1 A}" + QByteArray(1 << 20, 'j') << QStringLiteral("A") << ReadStatus::Ok;
    QTest::newRow("nul-bytes") << "{\\rtf1 a" + QByteArray(1 << 20, '\0') + "b}" << QStringLiteral("ab")
                               << ReadStatus::Ok;
    QTest::newRow("unterminated-destination") << "{\\rtf1 a{\\*\\foo " + QByteArray(50000, '{') + "x"
                                              << QStringLiteral("a") << ReadStatus::Truncated;
    QTest::newRow("million-unicode-escapes") << "{\\rtf1 " + repeated("\\u8364?", 1000000) + "}"
                                             << QString(1000000, QChar(0x20AC)) << ReadStatus::Ok;
    QTest::newRow("fifty-megabyte-picture")
        << "{\\rtf1 A{\\pict\\pngblip\\picw100\\pich100 " + QByteArray(50 * 1024 * 1024, '0') + "}B}"
        << QStringLiteral("AB") << ReadStatus::Ok;
    QTest::newRow("empty-input") << QByteArray() << QString() << ReadStatus::NotRtf;
    QTest::newRow("white-space-only") << QByteArray("\xEF\xBB\xBF \r\n ") << QString() << ReadStatus::NotRtf;
    QTest::newRow("html") << QByteArray("<html><body>{\\rtf1 x}</body></html>") << QString()
                          << ReadStatus::NotRtf;
    QTest::newRow("picture-to-the-end")
        << QByteArray("{\\rtf 1\\pict 0000") << QStringLiteral("1") << ReadStatus::Truncated;
    QTest::newRow("rtf-prefix-only") << QByteArray("{\\rtf") << QString() << ReadStatus::Truncated;
}

void tst_RtfHostile::boundedInput()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, expected);
    QFETCH(ReadStatus, status);

    QElapsedTimer timer;
    timer.start();
    const PlainText plain = plainTextFromRtf(rtf);
    QVERIFY2(timer.elapsed() < folioneer::test::timeBudgetMs(3000),
             qPrintable(QStringLiteral("plain text took %1 ms").arg(timer.elapsed())));
    QCOMPARE(plain.status, status);
    QCOMPARE(plain.text, expected);
    QVERIFY(plain.text.size() <= rtf.size());

    timer.restart();
    QTextDocument document;
    QCOMPARE(readRtf(rtf, document), status);
    QVERIFY2(timer.elapsed() < folioneer::test::timeBudgetMs(10000),
             qPrintable(QStringLiteral("document took %1 ms").arg(timer.elapsed())));
    if (status != ReadStatus::NotRtf) {
        QCOMPARE(plainTextOfDocument(document), expected);
    }
}

// Inputs where the plain-text path and the document path once disagreed.
void tst_RtfHostile::sinksAgreeOnOddPlacements_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("expected");

    QTest::newRow("marker-after-text")
        << QByteArray("{\\rtf1 x{\\listtext o\\tab}y\\par}") << QStringLiteral("xy");
    QTest::newRow("marker-in-second-cell")
        << QByteArray("{\\rtf1\\trowd\\cellx1\\cellx2\\pard\\intbl a\\cell{\\listtext o\\tab}b\\cell\\row}")
        << QStringLiteral("a\to\tb");
    QTest::newRow("spaces-before-marker")
        << QByteArray("{\\rtf1   {\\listtext o\\tab}  item\\par}") << QStringLiteral("o\t  item");
    QTest::newRow("control-characters-from-escapes")
        << QByteArray("{\\rtf1 a\\u10?b\\'0ac\\'0dd\\'09e}") << QStringLiteral("abcd\te");
    QTest::newRow("separators-from-unicode")
        << QByteArray("{\\rtf1 a\\u8232?b\\u8233?c\\u65532?d}") << QStringLiteral("a\r\nb\r\ncd");
    QTest::newRow("upr-inside-picture")
        << QByteArray("{\\rtf1 A{\\pict\\pngblip {\\upr{x}{\\*\\ud{y}}}00}B}") << QStringLiteral("AB");
    QTest::newRow("lone-surrogate-before-picture")
        << QByteArray("{\\rtf1 a\\u-10179?{\\pict\\pngblip 00}b}") << QStringLiteral("a\uFFFDb");
    QTest::newRow("marker-after-picture")
        << QByteArray("{\\rtf1 {\\pict\\pngblip 00}i{\\listtext o\\tab}}") << QStringLiteral("i");
    QTest::newRow("row-end-inside-picture")
        << QByteArray("{\\rtf1 a{\\*\\shppict x\\pict\\pngblip\\nestrow 00}b}") << QStringLiteral("axb");
    QTest::newRow("document-words-inside-picture")
        << QByteArray("{\\rtf1{\\pict{\\fonttbl{\\f1\\fcharset2 Symbol;}}\\ansicpg1251 00}\\f1 \\'b7\\'c1}")
        << QStringLiteral("·Á");
    QTest::newRow("numbered-item-in-right-to-left-text")
        << QByteArray("{\\rtf1{\\pntext 2.\\tab}{\\*\\pn\\pnlvlbody\\pndec\\pnstart2{\\pntxta "
                      ".}}\\u1575?\\u1576? x\\par}")
        << QStringLiteral("2.\t\u0627\u0628 x");
    QTest::newRow("bracketed-item-in-right-to-left-text")
        << QByteArray("{\\rtf1{\\pntext (1)\\tab}{\\*\\pn\\pnlvlbody\\pndec{\\pntxtb (}{\\pntxta )}}\\u1575? "
                      "x\\par}")
        << QStringLiteral("(1)\t\u0627 x");
    QTest::newRow("surrogate-inside-picture")
        << QByteArray("{\\rtf1 A{\\pict\\pngblip\\u-10179?00}B}") << QStringLiteral("AB");
}

void tst_RtfHostile::sinksAgreeOnOddPlacements()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, expected);
    QCOMPARE(plainTextFromRtf(rtf).text, expected);
    QTextDocument document;
    readRtf(rtf, document);
    QCOMPARE(plainTextOfDocument(document), expected);
}

void tst_RtfHostile::lowerLimits_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("expected");

    // Depth 3: the braces beyond are only counted, so closing them returns to the right level
    // and the group that really ends the document still ends it.
    QTest::newRow("depth-flattened") << QByteArray("{\\rtf1{{{{{x}}}}}y}z") << QStringLiteral("xy");
    QTest::newRow("depth-flattened-skip-destination")
        << QByteArray("{\\rtf1{{{{\\*\\foo hidden}a}}}b}c") << QStringLiteral("ab");
    // A destination opened beyond the cap would outlive its unpushed group: it is skipped whole
    // in both paths, and the text after it is kept.
    QTest::newRow("depth-flattened-picture")
        << QByteArray("{\\rtf1{{{a{\\pict\\pngblip {}00}b}}}c}") << QStringLiteral("abc");
    QTest::newRow("depth-flattened-picture-after-text")
        << QByteArray("{\\rtf1{{{{x\\pict\\wmetafile8 00}y}}}z}") << QStringLiteral("xyz");
    QTest::newRow("depth-flattened-list-marker")
        << QByteArray("{\\rtf1{{{{\\listtext o\\tab}item}}}}") << QStringLiteral("item");
    QTest::newRow("depth-flattened-field-instruction")
        << QByteArray("{\\rtf1{{{{a\\fldinst b}c}}}}") << QStringLiteral("ac");
    QTest::newRow("depth-flattened-picture-in-deleted-run")
        << QByteArray("{\\rtf1{{{{\\deleted{\\pict\\wmetafile8 00}\\plain kept}}}}}")
        << QStringLiteral("kept");
    QTest::newRow("fonts-beyond-limit-ignored")
        << QByteArray("{\\rtf1\\ansi{\\fonttbl{\\f0 A;}{\\f1 B;}{\\f2\\fcharset204 C;}}\\f2 \\'c1}")
        << QStringLiteral("Á");
    QTest::newRow("colours-beyond-limit-ignored")
        << QByteArray("{\\rtf1{\\colortbl;\\red1;\\red2;\\red3;\\red4;}\\cf4 x}") << QStringLiteral("x");
}

void tst_RtfHostile::lowerLimits()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, expected);
    ReaderLimits limits;
    limits.maxDepth = 3;
    limits.maxFonts = 2;
    limits.maxColours = 2;
    PlainTextSink sink;
    Interpreter interpreter(sink, limits);
    QCOMPARE(interpreter.run(rtf), ReadStatus::Ok);
    QCOMPARE(sink.takeText(), expected);

    QTextDocument document;
    {
        DocumentSink documentSink(document);
        Interpreter documentInterpreter(documentSink, limits);
        QCOMPARE(documentInterpreter.run(rtf), ReadStatus::Ok);
    }
    QCOMPARE(plainTextOfDocument(document), expected);
}

// Large documents get their text buffer reserved up front and grown in large steps; the text
// must come out whole whether it stays within the first reservation or outgrows it.
void tst_RtfHostile::largeDocumentsKeepAllText_data()
{
    QTest::addColumn<QByteArray>("paragraph");
    QTest::addColumn<int>("count");
    QTest::addColumn<QByteArray>("header");
    QTest::addColumn<QString>("expectedParagraph");

    const QByteArray numbering = "{\\*\\pn\\pnlvlbody\\pndec{\\pntxtb ABCDEFGHIJKLMNOPQRSTUVWXYZ}}";
    QTest::newRow("five-megabytes-of-text") << QByteArray("Plain words in a paragraph.\\par ") << 160000
                                            << QByteArray() << QStringLiteral("Plain words in a paragraph.");
    QTest::newRow("markers-outgrow-a-small-file")
        << QByteArray("a\\par ") << 200000 << numbering << QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ%1\ta");
    QTest::newRow("markers-outgrow-a-large-file")
        << QByteArray("a\\par ") << 900000 << numbering << QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ%1\ta");
}

void tst_RtfHostile::largeDocumentsKeepAllText()
{
    QFETCH(QByteArray, paragraph);
    QFETCH(int, count);
    QFETCH(QByteArray, header);
    QFETCH(QString, expectedParagraph);

    const QByteArray rtf = "{\\rtf1 " + header + repeated(paragraph, count) + "}";
    QString expected;
    for (int i = 1; i <= count; ++i) {
        if (i > 1) {
            expected += QLatin1String("\r\n");
        }
        if (expectedParagraph.contains(QLatin1String("%1"))) {
            expected += expectedParagraph.arg(i);
        } else {
            expected += expectedParagraph;
        }
    }
    const PlainText plain = plainTextFromRtf(rtf);
    QCOMPARE(plain.status, ReadStatus::Ok);
    QCOMPARE(plain.text.size(), expected.size());
    QVERIFY(plain.text == expected);
}

void tst_RtfHostile::oversizedPictureIsSkipped()
{
    const QByteArray rtf = "{\\rtf1 {\\pict\\pngblip " + QByteArray(2000, 'a') + "}{\\pict\\pngblip " +
                           QByteArray(100, 'b') + "}{\\pict\\jpegblip\\bin5 12345}}";
    ReaderLimits limits;
    limits.maxPictureBytes = 1000;
    RecordingSink sink;
    Interpreter interpreter(sink, limits);
    QCOMPARE(interpreter.run(rtf), ReadStatus::Ok);
    // The 2000 hex digits are refused; 100 digits make 50 bytes; \bin data is taken raw.
    QCOMPARE(sink.pictureSizes, (QList<qsizetype>{50, 5}));
    QVERIFY(sink.plain.isEmpty());
}

// List levels from parameters at the ends of the int range land on the nearest level (a
// level computed from the parameter must not overflow on the way).
void tst_RtfHostile::extremeListLevels_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<int>("level");
    QTest::newRow("legacy level smallest int") << QByteArray("{\\*\\pn\\pnlvl-2147483648\\pndec}") << 0;
    QTest::newRow("legacy level zero") << QByteArray("{\\*\\pn\\pnlvl0\\pndec}") << 0;
    QTest::newRow("legacy level three") << QByteArray("{\\*\\pn\\pnlvl3\\pndec}") << 2;
    QTest::newRow("legacy level largest int") << QByteArray("{\\*\\pn\\pnlvl2147483647\\pndec}") << 8;
    QTest::newRow("list level smallest int") << QByteArray("\\ilvl-2147483648{\\listtext 1.\\tab}") << 0;
    QTest::newRow("list level largest int") << QByteArray("\\ilvl2147483647{\\listtext 1.\\tab}") << 8;
}

void tst_RtfHostile::extremeListLevels()
{
    QFETCH(QByteArray, rtf);
    QFETCH(int, level);
    RecordingSink sink;
    Interpreter(sink).run("{\\rtf1\\pard" + rtf + "item\\par}");
    QCOMPARE(sink.levels, QList<int>{level});
}

QTEST_MAIN(tst_RtfHostile)
#include "tst_rtf_hostile.moc"
