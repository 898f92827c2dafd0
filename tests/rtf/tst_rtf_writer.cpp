// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "rtf/rtf_writer.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>
#include <QTextTable>

#include <functional>

using namespace folioneer;
using namespace Qt::StringLiterals;

namespace {

// A device that takes `capacity` bytes and then refuses everything, like a full disk.
class FailingDevice : public QIODevice {
public:
    explicit FailingDevice(qint64 capacity) : m_capacity(capacity) {}

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char*, qint64 length) override
    {
        if (m_capacity <= 0) {
            setErrorString(QStringLiteral("No space left on device"));
            return -1;
        }
        const qint64 n = std::min(length, m_capacity);
        m_capacity -= n;
        return n;
    }

private:
    qint64 m_capacity;
};

QTextDocument* newDocument(QObject* parent)
{
    auto* document = new QTextDocument(parent);
    document->setDefaultFont(QFont(QStringLiteral("DejaVu Serif"), 12));
    return document;
}

// The body of the output (after the header lines) with line breaks removed.
QByteArray bodyOf(const QByteArray& rtf)
{
    const qsizetype generator = rtf.indexOf("{\\*\\generator");
    const qsizetype start = rtf.indexOf('\n', generator) + 1;
    QByteArray body = rtf.mid(start);
    body.replace("\r\n", "");
    return body;
}

using DocumentBuilder = std::function<void(QTextCursor&)>;

} // namespace

Q_DECLARE_METATYPE(DocumentBuilder)

class tst_rtf_writer : public QObject {
    Q_OBJECT

private slots:
    void header();
    void text_data();
    void text();
    void characterFormats_data();
    void characterFormats();
    void paragraphs_data();
    void paragraphs();
    void colourTableOnlyWhenColoured();
    void hyperlink();
    void lists();
    void table();
    void image();
    void clipboardHasNoFinalPar();
    void longLinesAreBrokenSafely();
    void deviceErrors_data();
    void deviceErrors();
};

void tst_rtf_writer::header()
{
    QTextDocument* document = newDocument(this);
    document->setPlainText(QStringLiteral("Hello"));
    const QByteArray rtf = rtf::writeRtf(*document);
    QVERIFY2(rtf.startsWith("{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1\r\n"), rtf.constData());
    QVERIFY(rtf.contains("{\\fonttbl{\\f0\\fnil\\fcharset0 DejaVu Serif;}}"));
    QVERIFY(rtf.contains("{\\*\\generator Folioneer "));
    QCOMPARE(bodyOf(rtf), QByteArray("\\pard Hello\\par}"));
}

void tst_rtf_writer::text_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("escaped braces and backslash") << u"a{b}c\\d"_s << QByteArray(" a\\{b\\}c\\\\d");
    QTest::newRow("cp1252 letter with byte fallback") << u"café"_s << QByteArray(" caf\\u233\\'e9");
    QTest::newRow("cp1252 upper control range")
        << u"€“”"_s << QByteArray("\\u8364\\'80\\u8220\\'93\\u8221\\'94");
    QTest::newRow("outside cp1252 with question mark") << u"Жx"_s << QByteArray("\\u1046?x");
    QTest::newRow("C1 control has no cp1252 byte")
        << QString(QChar(0x81)) + QChar(0x9D) + u"x"_s << QByteArray("\\u129?\\u157?x");
    QTest::newRow("above 32767 is negative") << u"\uFB01"_s << QByteArray("\\u-1279?");
    QTest::newRow("astral as two units") << u"😀"_s << QByteArray("\\u-10179?\\u-8704?");
    QTest::newRow("lone surrogate replaced") << QString(QChar(0xD800)) + u"x"_s << QByteArray("\\u-3?x");
    QTest::newRow("tab before letter gets delimiter") << u"a\tb"_s << QByteArray(" a\\tab b");
    QTest::newRow("tab before space gets two spaces") << u"a\t b"_s << QByteArray(" a\\tab  b");
    QTest::newRow("tab before digit and hyphen") << u"\t1\t-"_s << QByteArray("\\tab 1\\tab -");
    QTest::newRow("tab before punctuation needs none") << u"\t.\t\t"_s << QByteArray("\\tab.\\tab\\tab");
    QTest::newRow("special spaces and hyphens")
        << u"a\u00A0b\u00ADc\u2011d"_s << QByteArray(" a\\~b\\-c\\_d");
    QTest::newRow("line separator") << u"one\u2028two"_s << QByteArray(" one\\line two");
    QTest::newRow("C0 controls dropped, DEL kept")
        << QString(u"a\u0001b\u001Fc\u007Fd"_s) << QByteArray(" abc\\u127?d");
}

void tst_rtf_writer::text()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, expected);
    QTextDocument* document = newDocument(this);
    QTextCursor(document).insertText(text);
    const QByteArray rtf = rtf::writeRtf(*document);
    for (const char c : rtf) {
        QVERIFY2(static_cast<unsigned char>(c) < 0x80, rtf.constData());
    }
    QCOMPARE(bodyOf(rtf), "\\pard" + expected + "\\par}");
}

void tst_rtf_writer::characterFormats_data()
{
    QTest::addColumn<DocumentBuilder>("build");
    QTest::addColumn<QByteArray>("expected");

    const auto with = [](std::function<void(QTextCharFormat&)> set) {
        return DocumentBuilder([set](QTextCursor& cursor) {
            QTextCharFormat format;
            set(format);
            cursor.insertText(QStringLiteral("x"), format);
        });
    };
    QTest::newRow("bold") << with([](auto& f) { f.setFontWeight(QFont::Bold); }) << QByteArray("{\\b x}");
    QTest::newRow("italic and strike") << with([](auto& f) {
        f.setFontItalic(true);
        f.setFontStrikeOut(true);
    }) << QByteArray("{\\i\\strike x}");
    QTest::newRow("single underline")
        << with([](auto& f) { f.setUnderlineStyle(QTextCharFormat::SingleUnderline); })
        << QByteArray("{\\ul x}");
    QTest::newRow("dotted underline")
        << with([](auto& f) { f.setUnderlineStyle(QTextCharFormat::DotLine); }) << QByteArray("{\\uld x}");
    QTest::newRow("wave underline") << with([](auto& f) {
        f.setUnderlineStyle(QTextCharFormat::WaveUnderline);
    }) << QByteArray("{\\ulwave x}");
    QTest::newRow("spell-check marks are not written")
        << with([](auto& f) { f.setUnderlineStyle(QTextCharFormat::SpellCheckUnderline); })
        << QByteArray(" x");
    QTest::newRow("size rounded to nearest half point")
        << with([](auto& f) { f.setFontPointSize(10.3); }) << QByteArray("{\\fs21 x}");
    QTest::newRow("default size not written")
        << with([](auto& f) { f.setFontPointSize(12); }) << QByteArray(" x");
    QTest::newRow("superscript") << with([](auto& f) {
        f.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
    }) << QByteArray("{\\super x}");
    QTest::newRow("subscript") << with([](auto& f) {
        f.setVerticalAlignment(QTextCharFormat::AlignSubScript);
    }) << QByteArray("{\\sub x}");
    QTest::newRow("capitals") << with([](auto& f) { f.setFontCapitalization(QFont::AllUppercase); })
                              << QByteArray("{\\caps x}");
    QTest::newRow("small capitals") << with([](auto& f) { f.setFontCapitalization(QFont::SmallCaps); })
                                    << QByteArray("{\\scaps x}");
    QTest::newRow("other font") << DocumentBuilder([](QTextCursor& cursor) {
        cursor.insertText(QStringLiteral("a"));
        QTextCharFormat format;
        format.setFontFamilies({QStringLiteral("Courier")});
        cursor.insertText(QStringLiteral("x"), format);
    }) << QByteArray(" a{\\f1 x}");
    QTest::newRow("font of the first text is font 0")
        << with([](auto& f) { f.setFontFamilies({QStringLiteral("Courier")}); }) << QByteArray(" x");
    QTest::newRow("default font not written")
        << with([](auto& f) { f.setFontFamilies({QStringLiteral("DejaVu Serif")}); }) << QByteArray(" x");
    QTest::newRow("colours") << with([](auto& f) {
        f.setForeground(QColor(255, 0, 0));
        f.setBackground(QColor(0, 0, 255));
    }) << QByteArray("{\\cf1\\highlight2 x}");
    QTest::newRow("equal runs merge, different runs are groups") << DocumentBuilder([](QTextCursor& cursor) {
        QTextCharFormat bold;
        bold.setFontWeight(QFont::Bold);
        cursor.insertText(QStringLiteral("a"), bold);
        cursor.insertText(QStringLiteral("b"), bold);
        cursor.insertText(QStringLiteral(" c"), QTextCharFormat());
        bold.setFontItalic(true);
        cursor.insertText(QStringLiteral("d"), bold);
    }) << QByteArray("{\\b ab} c{\\b\\i d}");
}

void tst_rtf_writer::characterFormats()
{
    QFETCH(DocumentBuilder, build);
    QFETCH(QByteArray, expected);
    QTextDocument* document = newDocument(this);
    QTextCursor cursor(document);
    build(cursor);
    const QByteArray rtf = rtf::writeRtf(*document);
    QCOMPARE(bodyOf(rtf), "\\pard" + expected + "\\par}");
    if (QByteArray(QTest::currentDataTag()) == "font of the first text is font 0") {
        QVERIFY(rtf.contains("{\\fonttbl{\\f0\\fnil\\fcharset0 Courier;}}"));
    }
    if (expected.contains("\\f1")) {
        QVERIFY(rtf.contains("{\\f1\\fnil\\fcharset0 Courier;}"));
    }
    if (expected.contains("\\cf1")) {
        QVERIFY(rtf.contains("{\\colortbl;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}"));
    }
}

void tst_rtf_writer::paragraphs_data()
{
    QTest::addColumn<DocumentBuilder>("build");
    QTest::addColumn<QByteArray>("expected");

    const auto with = [](std::function<void(QTextBlockFormat&)> set) {
        return DocumentBuilder([set](QTextCursor& cursor) {
            QTextBlockFormat format;
            set(format);
            cursor.setBlockFormat(format);
            cursor.insertText(QStringLiteral("x"));
        });
    };
    QTest::newRow("centred") << with([](auto& f) { f.setAlignment(Qt::AlignHCenter); })
                             << QByteArray("\\pard\\qc x\\par}");
    QTest::newRow("right") << with([](auto& f) { f.setAlignment(Qt::AlignRight); })
                           << QByteArray("\\pard\\qr x\\par}");
    QTest::newRow("justified") << with([](auto& f) { f.setAlignment(Qt::AlignJustify); })
                               << QByteArray("\\pard\\qj x\\par}");
    QTest::newRow("indents in twips") << with([](auto& f) {
        f.setLeftMargin(48);
        f.setRightMargin(24);
        f.setTextIndent(-16);
    }) << QByteArray("\\pard\\li720\\ri360\\fi-240 x\\par}");
    QTest::newRow("spacing before and after") << with([](auto& f) {
        f.setTopMargin(8);
        f.setBottomMargin(13.3333);
    }) << QByteArray("\\pard\\sb120\\sa200 x\\par}");
    QTest::newRow("proportional line height")
        << with([](auto& f) { f.setLineHeight(150, QTextBlockFormat::ProportionalHeight); })
        << QByteArray("\\pard\\sl360\\slmult1 x\\par}");
    QTest::newRow("minimum line height")
        << with([](auto& f) { f.setLineHeight(20, QTextBlockFormat::MinimumHeight); })
        << QByteArray("\\pard\\sl300\\slmult0 x\\par}");
    QTest::newRow("exact line height is negative")
        << with([](auto& f) { f.setLineHeight(20, QTextBlockFormat::FixedHeight); })
        << QByteArray("\\pard\\sl-300\\slmult0 x\\par}");
    QTest::newRow("empty paragraphs are kept") << DocumentBuilder([](QTextCursor& cursor) {
        cursor.insertText(QStringLiteral("a"));
        cursor.insertBlock();
        cursor.insertBlock();
        cursor.insertText(QStringLiteral("b"));
        cursor.insertBlock();
    }) << QByteArray("\\pard a\\par\\pard\\par\\pard b\\par\\pard\\par}");
}

void tst_rtf_writer::paragraphs()
{
    QFETCH(DocumentBuilder, build);
    QFETCH(QByteArray, expected);
    QTextDocument* document = newDocument(this);
    QTextCursor cursor(document);
    build(cursor);
    QCOMPARE(bodyOf(rtf::writeRtf(*document)), expected);
}

void tst_rtf_writer::colourTableOnlyWhenColoured()
{
    QTextDocument* document = newDocument(this);
    QTextCharFormat format;
    format.setFontWeight(QFont::Bold);
    QTextCursor(document).insertText(QStringLiteral("plain"), format);
    QVERIFY(!rtf::writeRtf(*document).contains("\\colortbl"));
}

void tst_rtf_writer::hyperlink()
{
    QTextDocument* document = newDocument(this);
    QTextCursor cursor(document);
    cursor.insertText(QStringLiteral("See "));
    QTextCharFormat link;
    link.setAnchor(true);
    link.setAnchorHref(QStringLiteral("http://example.com/a\"b"));
    cursor.insertText(QStringLiteral("this "), link);
    link.setFontWeight(QFont::Bold);
    cursor.insertText(QStringLiteral("page"), link);
    cursor.insertText(QStringLiteral("."), QTextCharFormat());
    QCOMPARE(bodyOf(rtf::writeRtf(*document)),
             QByteArray("\\pard See {\\field{\\*\\fldinst{HYPERLINK \"http://example.com/a%22b\"}}"
                        "{\\fldrslt this {\\b page}}}.\\par}"));
}

void tst_rtf_writer::lists()
{
    QTextDocument* document = newDocument(this);
    QTextCursor cursor(document);
    cursor.insertText(QStringLiteral("Intro"));
    cursor.insertList(QTextListFormat::ListDecimal);
    cursor.insertText(QStringLiteral("one"));
    cursor.insertBlock();
    cursor.insertText(QStringLiteral("two"));
    cursor.insertBlock(QTextBlockFormat());
    cursor.createList(QTextListFormat::ListDisc);
    cursor.insertText(QStringLiteral("dot"));
    cursor.insertBlock(QTextBlockFormat());
    QTextListFormat nested;
    nested.setStyle(QTextListFormat::ListCircle);
    nested.setIndent(2);
    cursor.createList(nested);
    cursor.insertText(QStringLiteral("sub"));
    const QByteArray rtf = rtf::writeRtf(*document);
    QVERIFY(rtf.contains("{\\f1\\ftech\\fcharset2 Symbol;}"));
    const QByteArray numbered = "{\\*\\pn\\pnlvlbody\\pnf0\\pnindent0\\pnstart1\\pndec{\\pntxta.}}";
    QCOMPARE(bodyOf(rtf),
             "\\pard Intro\\par"
             "\\pard{\\pntext\\f0 1.\\tab}" +
                 numbered +
                 "one\\par"
                 "\\pard{\\pntext\\f0 2.\\tab}" +
                 numbered +
                 "two\\par"
                 "\\pard{\\pntext\\f1\\'b7\\tab}{\\*\\pn\\pnlvlblt\\pnf1\\pnindent0{\\pntxtb\\'b7}}dot\\par"
                 "\\pard\\ilvl1{\\pntext\\f0\\u9702?\\tab}{\\*\\pn\\pnlvlblt\\pnf0\\pnindent0{"
                 "\\pntxtb\\u9702?}}sub\\par}");
}

void tst_rtf_writer::table()
{
    QTextDocument* document = newDocument(this);
    QTextCursor cursor(document);
    cursor.insertText(QStringLiteral("Before"));
    QTextTable* table = cursor.insertTable(2, 2);
    table->cellAt(0, 0).firstCursorPosition().insertText(QStringLiteral("A"));
    QTextCursor inCell = table->cellAt(0, 1).firstCursorPosition();
    inCell.insertText(QStringLiteral("B1"));
    inCell.insertBlock();
    inCell.insertText(QStringLiteral("B2"));
    table->cellAt(1, 1).firstCursorPosition().insertText(QStringLiteral("D"));
    const QByteArray row = "\\trowd\\trgaph108\\trleft0\\cellx4680\\cellx9360";
    QCOMPARE(bodyOf(rtf::writeRtf(*document)),
             "\\pard Before\\par" + row +
                 "\\pard\\intbl A\\cell\\pard\\intbl B1\\par\\pard\\intbl B2\\cell\\row" + row +
                 "\\pard\\intbl\\cell\\pard\\intbl D\\cell\\row\\pard\\par}");
}

void tst_rtf_writer::image()
{
    QTextDocument* document = newDocument(this);
    QImage image(2, 3, QImage::Format_RGB32);
    image.fill(Qt::red);
    document->addResource(QTextDocument::ImageResource, QUrl(QStringLiteral("pic")), image);
    QTextImageFormat format;
    format.setName(QStringLiteral("pic"));
    format.setWidth(20);
    QTextCursor cursor(document);
    cursor.insertText(QStringLiteral("a"));
    cursor.insertImage(format);
    cursor.insertText(QStringLiteral("b"));
    QTextImageFormat missing;
    missing.setName(QStringLiteral("nowhere"));
    cursor.insertImage(missing);
    const QByteArray body = bodyOf(rtf::writeRtf(*document));
    QVERIFY2(
        body.startsWith("\\pard a{\\pict\\pngblip\\picw2\\pich3\\picwgoal300\\pichgoal450 89504e470d0a1a0a"),
        body.constData());
    QVERIFY2(body.endsWith("}b\\par}"), body.constData()); // the missing image is left out
    const QByteArray hex = body.mid(body.indexOf("89504e47"), body.indexOf("}b") - body.indexOf("89504e47"));
    const QImage decoded = QImage::fromData(QByteArray::fromHex(hex), "PNG");
    QCOMPARE(decoded.size(), QSize(2, 3));
    QCOMPARE(decoded.pixelColor(1, 2), QColor(Qt::red));
}

void tst_rtf_writer::clipboardHasNoFinalPar()
{
    QTextDocument* document = newDocument(this);
    document->setPlainText(QStringLiteral("one\ntwo"));
    rtf::WriteOptions clipboard;
    clipboard.clipboard = true;
    QCOMPARE(bodyOf(rtf::writeRtf(*document, clipboard)), QByteArray("\\pard one\\par\\pard two}"));
}

void tst_rtf_writer::longLinesAreBrokenSafely()
{
    QTextDocument* document = newDocument(this);
    QString text;
    const QString pieces[] = {u"word "_s, u"\\{}"_s, u"é€"_s, u"Ж😀"_s, u"\t"_s, u"\t-"_s, u"x"_s};
    for (int i = 0; text.size() < 10000; ++i) {
        text += pieces[(i * 7 + i / 3) % 7];
    }
    QTextCursor cursor(document);
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    cursor.insertText(text.left(5000));
    cursor.insertText(text.mid(5000), bold);
    const QByteArray rtf = rtf::writeRtf(*document);
    const QList<QByteArray> lines = rtf.split('\n');
    QVERIFY(lines.size() > 50);
    for (QByteArray line : lines) {
        if (line.endsWith('\r')) {
            line.chop(1);
        }
        QVERIFY2(line.size() <= 220, line.constData());
        // A line never ends inside an escape, a \uN with its fallback, or a control word.
        int backslashes = 0;
        for (qsizetype i = line.size() - 1; i >= 0 && line[i] == '\\'; --i) {
            ++backslashes;
        }
        QVERIFY2(backslashes % 2 == 0, line.constData());
        QVERIFY2(!QRegularExpression(QStringLiteral("\\\\('[0-9a-f]?|u-?\\d+)$"))
                      .match(QString::fromLatin1(line))
                      .hasMatch(),
                 line.constData());
    }
    // The breaks change nothing: without them the body is the text written in one piece.
    QTextDocument* unbroken = newDocument(this);
    QTextCursor(unbroken).insertText(text.left(5000));
    const QByteArray body = bodyOf(rtf);
    QVERIFY(body.startsWith(bodyOf(rtf::writeRtf(*unbroken)).chopped(5))); // without "\par}"
}

void tst_rtf_writer::deviceErrors_data()
{
    QTest::addColumn<qint64>("capacity");
    QTest::newRow("refuses the first byte") << qint64(0);
    QTest::newRow("fills up part way") << qint64(100);
}

void tst_rtf_writer::deviceErrors()
{
    QFETCH(qint64, capacity);
    QTextDocument* document = newDocument(this);
    document->setPlainText(QString(1000, u'x'));
    FailingDevice device(capacity);
    QVERIFY(device.open(QIODevice::WriteOnly));
    const Result status = rtf::writeRtf(*document, device);
    QVERIFY(!status.ok());
    QVERIFY2(status.reason().contains(u"No space left on device"_s), qPrintable(status.reason()));

    QBuffer closed;
    QVERIFY(!rtf::writeRtf(*document, closed).ok());
    QBuffer readOnly;
    QVERIFY(readOnly.open(QIODevice::ReadOnly));
    QVERIFY(!rtf::writeRtf(*document, readOnly).ok());

    QBuffer buffer;
    QVERIFY(buffer.open(QIODevice::WriteOnly));
    QVERIFY(rtf::writeRtf(*document, buffer).ok());
    QCOMPARE(buffer.data(), rtf::writeRtf(*document));
}

QTEST_MAIN(tst_rtf_writer)
#include "tst_rtf_writer.moc"
