// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "rtf/rtf.h"

#include <QBuffer>
#include <QImage>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>
#include <QTextTable>
#include <QtTest>

using namespace folioneer::rtf;

// The document path: the formats, lists, links and images the reader puts into a
// QTextDocument, and the plain text of documents the editor builds.
class tst_RtfDocument : public QObject {
    Q_OBJECT

private slots:
    void characterFormats_data();
    void characterFormats();
    void paragraphFormats_data();
    void paragraphFormats();
    void images_data();
    void images();
    void runsKeepTheirFormat_data();
    void runsKeepTheirFormat();
    void listsJoinWhileNumberingContinues();
    void optionalHyphensStayInTheDocumentOnly();
    void clipboardTextKeepsNonAsciiCharacters();
    void readingReplacesContentWithoutUndoSteps();
    void plainTextOfEditedDocument();
};

namespace {

// The character format of the fragment holding `text` (an invalid format when none does).
QTextCharFormat formatOf(const QTextDocument& document, const QString& text)
{
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            if (it.fragment().text().contains(text)) {
                return it.fragment().charFormat();
            }
        }
    }
    return {};
}

QTextBlock blockOf(const QTextDocument& document, const QString& text)
{
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (block.text().contains(text)) {
            return block;
        }
    }
    return {};
}

QByteArray imageHex(const char* format, const QSize& size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::red);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes.toHex();
}

QList<QTextImageFormat> imagesIn(const QTextDocument& document)
{
    QList<QTextImageFormat> images;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            if (it.fragment().charFormat().isImageFormat()) {
                images.append(it.fragment().charFormat().toImageFormat());
            }
        }
    }
    return images;
}

const char* kFormattedRuns =
    R"({\rtf1\ansi\deff0{\fonttbl{\f0\froman Times;}{\f1\fswiss Arial;}{\f2\fmodern Courier;}})"
    R"({\colortbl;\red255\green0\blue0;\red0\green0\blue255;}\f0\fs24 plain {\b bold} {\i italic} {\ul under})"
    R"( {\uldb double}{\ulwave wave}{\uld dotted} {\strike gone} {\super up}{\sub down} {\caps caps}{\scaps small})"
    R"( {\f1\fs36 big}{\f2 mono} {\cf1 red}{\highlight2 marked}{\cf0 auto} {\fs1 tiny}{\b\i\fs48 mixed} back)"
    R"( {\field{\*\fldinst HYPERLINK "http://example.com/a?b"}{\fldrslt linked}} after)"
    R"( {\field{\*\fldinst HYPERLINK \\l "part2"}{\fldrslt inside}}\par})";

} // namespace

void tst_RtfDocument::characterFormats_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("property");
    QTest::addColumn<QVariant>("expected");

    QTest::newRow("bold") << "bold" << int(QTextFormat::FontWeight) << QVariant(int(QFont::Bold));
    QTest::newRow("italic") << "italic" << int(QTextFormat::FontItalic) << QVariant(true);
    QTest::newRow("underline") << "under" << int(QTextFormat::TextUnderlineStyle)
                               << QVariant(int(QTextCharFormat::SingleUnderline));
    QTest::newRow("double-underline-as-single") << "double" << int(QTextFormat::TextUnderlineStyle)
                                                << QVariant(int(QTextCharFormat::SingleUnderline));
    QTest::newRow("wave-underline") << "wave" << int(QTextFormat::TextUnderlineStyle)
                                    << QVariant(int(QTextCharFormat::WaveUnderline));
    QTest::newRow("dotted-underline")
        << "dotted" << int(QTextFormat::TextUnderlineStyle) << QVariant(int(QTextCharFormat::DotLine));
    QTest::newRow("strike") << "gone" << int(QTextFormat::FontStrikeOut) << QVariant(true);
    QTest::newRow("superscript") << "up" << int(QTextFormat::TextVerticalAlignment)
                                 << QVariant(int(QTextCharFormat::AlignSuperScript));
    QTest::newRow("subscript") << "down" << int(QTextFormat::TextVerticalAlignment)
                               << QVariant(int(QTextCharFormat::AlignSubScript));
    QTest::newRow("caps") << "caps" << int(QTextFormat::FontCapitalization)
                          << QVariant(int(QFont::AllUppercase));
    QTest::newRow("small-caps") << "small" << int(QTextFormat::FontCapitalization)
                                << QVariant(int(QFont::SmallCaps));
    QTest::newRow("size-from-half-points") << "big" << int(QTextFormat::FontPointSize) << QVariant(18.0);
    QTest::newRow("size-clamped") << "tiny" << int(QTextFormat::FontPointSize) << QVariant(1.0);
    QTest::newRow("family") << "big" << int(QTextFormat::FontFamilies)
                            << QVariant(QStringList{QStringLiteral("Arial")});
    QTest::newRow("style-hint") << "mono" << int(QTextFormat::FontStyleHint)
                                << QVariant(int(QFont::TypeWriter));
    QTest::newRow("default-font") << "plain" << int(QTextFormat::FontFamilies)
                                  << QVariant(QStringList{QStringLiteral("Times")});
    QTest::newRow("foreground") << "red" << int(QTextFormat::ForegroundBrush)
                                << QVariant(QBrush(QColor(255, 0, 0)));
    QTest::newRow("highlight") << "marked" << int(QTextFormat::BackgroundBrush)
                               << QVariant(QBrush(QColor(0, 0, 255)));
    QTest::newRow("automatic-colour-sets-nothing")
        << "auto" << int(QTextFormat::ForegroundBrush) << QVariant();
    QTest::newRow("combined-bold") << "mixed" << int(QTextFormat::FontWeight) << QVariant(int(QFont::Bold));
    QTest::newRow("combined-size") << "mixed" << int(QTextFormat::FontPointSize) << QVariant(24.0);
    // Properties end with their group.
    QTest::newRow("size-restored") << "back" << int(QTextFormat::FontPointSize) << QVariant(12.0);
    QTest::newRow("bold-restored") << "back" << int(QTextFormat::FontWeight) << QVariant(int(QFont::Normal));
    QTest::newRow("hyperlink-href") << "linked" << int(QTextFormat::AnchorHref)
                                    << QVariant(QStringLiteral("http://example.com/a?b"));
    QTest::newRow("hyperlink-anchor") << "linked" << int(QTextFormat::IsAnchor) << QVariant(true);
    QTest::newRow("local-link") << "inside" << int(QTextFormat::AnchorHref)
                                << QVariant(QStringLiteral("#part2"));
    QTest::newRow("text-after-link") << "after" << int(QTextFormat::IsAnchor) << QVariant();
}

void tst_RtfDocument::characterFormats()
{
    QFETCH(QString, text);
    QFETCH(int, property);
    QFETCH(QVariant, expected);
    QTextDocument document;
    QCOMPARE(readRtf(kFormattedRuns, document), ReadStatus::Ok);
    const QTextCharFormat format = formatOf(document, text);
    QVERIFY2(format.isValid(), qPrintable(text));
    QCOMPARE(format.property(property), expected);
}

void tst_RtfDocument::paragraphFormats_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("property");
    QTest::addColumn<QVariant>("expected");

    QTest::newRow("centred") << "centred" << int(QTextFormat::BlockAlignment)
                             << QVariant(int(Qt::AlignHCenter));
    QTest::newRow("left-indent") << "centred" << int(QTextFormat::BlockLeftMargin) << QVariant(48.0);
    QTest::newRow("right-indent") << "centred" << int(QTextFormat::BlockRightMargin) << QVariant(12.0);
    QTest::newRow("negative-first-indent") << "centred" << int(QTextFormat::TextIndent) << QVariant(-24.0);
    QTest::newRow("space-before") << "centred" << int(QTextFormat::BlockTopMargin) << QVariant(16.0);
    QTest::newRow("space-after") << "centred" << int(QTextFormat::BlockBottomMargin) << QVariant(8.0);
    QTest::newRow("kept-without-pard")
        << "second" << int(QTextFormat::BlockAlignment) << QVariant(int(Qt::AlignHCenter));
    QTest::newRow("reset-by-pard") << "third" << int(QTextFormat::BlockAlignment)
                                   << QVariant(int(Qt::AlignLeft));
    QTest::newRow("indent-reset-by-pard") << "third" << int(QTextFormat::BlockLeftMargin) << QVariant(0.0);
    QTest::newRow("exact-line-height-type")
        << "exact" << int(QTextFormat::LineHeightType) << QVariant(int(QTextBlockFormat::FixedHeight));
    QTest::newRow("exact-line-height") << "exact" << int(QTextFormat::LineHeight) << QVariant(24.0);
    QTest::newRow("multiple-line-height-type") << "double" << int(QTextFormat::LineHeightType)
                                               << QVariant(int(QTextBlockFormat::ProportionalHeight));
    QTest::newRow("multiple-line-height") << "double" << int(QTextFormat::LineHeight) << QVariant(200.0);
    QTest::newRow("minimum-line-height-type")
        << "least" << int(QTextFormat::LineHeightType) << QVariant(int(QTextBlockFormat::MinimumHeight));
    QTest::newRow("justified-last-paragraph-without-par")
        << "justified" << int(QTextFormat::BlockAlignment) << QVariant(int(Qt::AlignJustify));
}

void tst_RtfDocument::paragraphFormats()
{
    QFETCH(QString, text);
    QFETCH(int, property);
    QFETCH(QVariant, expected);
    QTextDocument document;
    QCOMPARE(readRtf(R"({\rtf1\qc\li720\ri180\fi-360\sb240\sa120 centred\par second\par\pard third\par)"
                     R"(\sl-360 exact\par\pard\sl480\slmult1 double\par\pard\sl300 least\par\pard\qr right)"
                     R"(\par\pard\qj justified})",
                     document),
             ReadStatus::Ok);
    QCOMPARE(document.blockCount(), 8);
    const QTextBlock block = blockOf(document, text);
    QVERIFY(block.isValid());
    QCOMPARE(block.blockFormat().property(property), expected);
}

void tst_RtfDocument::images_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QSizeF>("size");

    const QByteArray png = imageHex("PNG", QSize(4, 3));
    QTest::newRow("shppict-once-nonshppict-skipped")
        << "{\\rtf1 A{\\*\\shppict{\\pict\\pngblip\\picw4\\pich3\\picwgoal600\\pichgoal450 " + png +
               "}}{\\nonshppict{\\pict\\wmetafile8 0100}}B\\par}"
        << QSizeF(40, 30);
    QTest::newRow("scaled")
        << "{\\rtf1 {\\pict\\pngblip\\picwgoal600\\pichgoal450\\picscalex50\\picscaley200 " + png + "}}"
        << QSizeF(20, 60);
    QTest::newRow("natural-size") << "{\\rtf1 {\\pict\\pngblip " + png + "}}" << QSizeF(4, 3);
    QTest::newRow("jpeg") << "{\\rtf1 {\\pict\\jpegblip " + imageHex("JPEG", QSize(8, 8)) + "}}"
                          << QSizeF(8, 8);
    QTest::newRow("binary-data") << "{\\rtf1 {\\pict\\pngblip\\bin" +
                                        QByteArray::number(QByteArray::fromHex(png).size()) + " " +
                                        QByteArray::fromHex(png) + "}}"
                                 << QSizeF(4, 3);
    QTest::newRow("metafile-skipped") << QByteArray("{\\rtf1 {\\pict\\emfblip 0100}x}") << QSizeF();
    QTest::newRow("corrupt-png-skipped")
        << QByteArray("{\\rtf1 {\\pict\\pngblip 89504e470d0a1a0a0000}x}") << QSizeF();
    QTest::newRow("hidden-picture-skipped") << "{\\rtf1 {\\v{\\pict\\pngblip " + png + "}}x}" << QSizeF();
}

void tst_RtfDocument::images()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QSizeF, size);
    QTextDocument document;
    QCOMPARE(readRtf(rtf, document), ReadStatus::Ok);
    const QList<QTextImageFormat> images = imagesIn(document);
    if (size.isEmpty()) {
        QVERIFY(images.isEmpty());
        return;
    }
    QCOMPARE(images.size(), 1);
    QCOMPARE(QSizeF(images[0].width(), images[0].height()), size);
    const QVariant resource = document.resource(QTextDocument::ImageResource, QUrl(images[0].name()));
    QVERIFY(resource.canConvert<QImage>());
    QVERIFY(!resource.value<QImage>().isNull());
    QVERIFY(!plainTextOfDocument(document).contains(QChar::ObjectReplacementCharacter));
    QCOMPARE(plainTextOfDocument(document), plainTextFromRtf(rtf).text);
}

// The runs of the first paragraph with their formats (b = bold, i = italic). Spaces that open a
// paragraph wait for the content after them, yet each stretch keeps its own group's format;
// line breaks and optional hyphens are inserted together with the text around them.
void tst_RtfDocument::runsKeepTheirFormat_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("runs");

    QTest::newRow("spaces-in-two-groups-before-unicode")
        << QByteArray("{\\rtf1 {\\b   }{\\i    \\u1042?x}\\par}") << QStringLiteral("[  ]b[   \u0412x]i");
    QTest::newRow("spaces-in-two-groups-before-text")
        << QByteArray("{\\rtf1 {\\b   }{\\i    x}\\par}") << QStringLiteral("[  ]b[   x]i");
    QTest::newRow("spaces-in-three-groups-before-control-word")
        << QByteArray("{\\rtf1 {\\b  }{\\i  }{\\b  }\\emdash\\par}")
        << QStringLiteral("[ ]b[ ]i[ ]b[\u2014]");
    QTest::newRow("line-breaks-and-hyphens-in-alternating-formats")
        << QByteArray("{\\rtf1 a\\line b{\\b c\\line d}\\-e{\\i\\-}f{\\b g}\\par}")
        << QStringLiteral("[a\u2028b][c\u2028d]b[\u00ADe][\u00AD]i[f][g]b");
    QTest::newRow("plain-spaces-between-formatted")
        << QByteArray("{\\rtf1 {\\i  } {\\i  \\b x}\\par}") << QStringLiteral("[ ]i[ ][ ]i[x]bi");
}

void tst_RtfDocument::runsKeepTheirFormat()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, runs);
    QTextDocument document;
    QCOMPARE(readRtf(rtf, document), ReadStatus::Ok);
    QString actual;
    for (auto it = document.begin().begin(); !it.atEnd(); ++it) {
        const QTextCharFormat format = it.fragment().charFormat();
        actual += u'[' + it.fragment().text() + u']';
        actual += QLatin1String(format.fontWeight() == QFont::Bold ? "b" : "");
        actual += QLatin1String(format.fontItalic() ? "i" : "");
    }
    QCOMPARE(actual, runs);
    // Written and read again, the runs are the same.
    QTextDocument reread;
    QCOMPARE(readRtf(writeRtf(document), reread), ReadStatus::Ok);
    QCOMPARE(reread.toHtml(), document.toHtml());
}

void tst_RtfDocument::listsJoinWhileNumberingContinues()
{
    QTextDocument document;
    const QByteArray rtf =
        R"({\rtf1{\pntext 1.\tab}A\par{\pntext 2.\tab}B\par{\pntext 3.\tab}C\par Plain\par)"
        R"({\pntext 1.\tab}D\par{\pntext 3.\tab}E\par{\pntext o\tab}F\par{\pntext o\tab}G\par)"
        R"({\pntext a)\tab}H\par{\pntext b)\tab}I\par{\pntext 7.\tab}J\par})";
    QCOMPARE(readRtf(rtf, document), ReadStatus::Ok);
    QTextList* first = blockOf(document, QStringLiteral("A")).textList();
    QVERIFY(first);
    QCOMPARE(first->count(), 3);
    QCOMPARE(blockOf(document, QStringLiteral("C")).textList(), first);
    QVERIFY(!blockOf(document, QStringLiteral("Plain")).textList());
    // A new run after a plain paragraph, and a gap in the numbering, start new lists.
    QTextList* second = blockOf(document, QStringLiteral("D")).textList();
    QVERIFY(second && second != first);
    QVERIFY(blockOf(document, QStringLiteral("E")).textList() != second);
    QCOMPARE(blockOf(document, QStringLiteral("G")).textList(),
             blockOf(document, QStringLiteral("F")).textList());
    QCOMPARE(blockOf(document, QStringLiteral("I")).textList(),
             blockOf(document, QStringLiteral("H")).textList());
    const QString expected =
        QStringLiteral("1.\tA\r\n2.\tB\r\n3.\tC\r\nPlain\r\n1.\tD\r\n3.\tE\r\no\tF\r\no\tG\r\n"
                       "a)\tH\r\nb)\tI\r\n7.\tJ");
    QCOMPARE(plainTextOfDocument(document), expected);
    QCOMPARE(plainTextFromRtf(rtf).text, expected);
}

void tst_RtfDocument::optionalHyphensStayInTheDocumentOnly()
{
    // The editor keeps optional hyphens so that saving writes them again; plain text has none.
    const QByteArray rtf = R"({\rtf1\ansi opt\-ional soft\'adly \u173?x})";
    QTextDocument document;
    QCOMPARE(readRtf(rtf, document), ReadStatus::Ok);
    QCOMPARE(document.toRawText(), QStringLiteral("opt\u00ADional soft\u00ADly \u00ADx"));
    QCOMPARE(plainTextOfDocument(document), QStringLiteral("optional softly x"));
    QCOMPARE(plainTextFromRtf(rtf).text, QStringLiteral("optional softly x"));
}

void tst_RtfDocument::clipboardTextKeepsNonAsciiCharacters()
{
    QTextDocument document;
    const QString rtf = QStringLiteral("{\\rtf1\\ansi\\ansicpg1251 café 日本 \\'c1 \\u8364?}");
    QCOMPARE(readRtfText(rtf, document), ReadStatus::Ok);
    QCOMPARE(plainTextOfDocument(document), QStringLiteral("café 日本 Б €"));
}

void tst_RtfDocument::readingReplacesContentWithoutUndoSteps()
{
    QTextDocument document;
    document.setUndoRedoEnabled(true);
    QTextCursor(&document).insertText(QStringLiteral("old"));
    QCOMPARE(document.availableUndoSteps(), 1);
    QCOMPARE(readRtf(R"({\rtf1 a\line b\par {\qc c)", document), ReadStatus::Truncated);
    QCOMPARE(document.toRawText(), QStringLiteral("a\u2028b\u2029c"));
    // The last paragraph of a truncated file keeps the properties in force where it stopped.
    QCOMPARE(document.lastBlock().blockFormat().alignment(), Qt::AlignHCenter);
    QVERIFY(document.isUndoRedoEnabled());
    QCOMPARE(document.availableUndoSteps(), 0);
}

void tst_RtfDocument::plainTextOfEditedDocument()
{
    QTextDocument document;
    QTextCursor cursor(&document);
    cursor.insertText(QStringLiteral("Intro"));
    cursor.insertText(QString(QChar::LineSeparator) + QStringLiteral("next line"));
    cursor.insertImage(QImage(2, 2, QImage::Format_RGB32));
    QTextTable* table = cursor.insertTable(2, 3);
    table->cellAt(0, 0).firstCursorPosition().insertText(QStringLiteral("a"));
    QTextCursor cell = table->cellAt(0, 1).firstCursorPosition();
    cell.insertText(QStringLiteral("b1"));
    cell.insertBlock();
    cell.insertText(QStringLiteral("b2"));
    table->cellAt(1, 1).firstCursorPosition().insertText(QStringLiteral("e"));
    table->cellAt(1, 2).firstCursorPosition().insertText(QStringLiteral("f"));
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(QStringLiteral("item"));
    QTextListFormat bullets;
    bullets.setStyle(QTextListFormat::ListDecimal);
    cursor.createList(bullets);
    cursor.insertBlock();
    cursor.insertText(QStringLiteral("second"));

    QCOMPARE(plainTextOfDocument(document),
             QStringLiteral("Intro\r\nnext line\r\na\tb1 b2\r\n\te\tf\r\n1.\titem\r\n2.\tsecond"));
}

QTEST_MAIN(tst_RtfDocument)
#include "tst_rtf_document.moc"
