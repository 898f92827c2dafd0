// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "rtf/rtf.h"

#include "common/test_support.h"

#include <QDir>
#include <QImage>
#include <QRandomGenerator>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextList>
#include <QTextTable>

#include <cmath>
#include <functional>

using namespace folioneer;
using namespace Qt::StringLiterals;

namespace {

using DocumentBuilder = std::function<void(QTextDocument&)>;

void setUp(QTextDocument& document)
{
    document.setDefaultFont(QFont(QStringLiteral("DejaVu Serif"), 12));
}

// The formatting the writer and reader carry, as one comparable text per run: effective
// values, so that "no size" and "the default size" compare equal.
QString charSignature(const QTextDocument& document, const QTextCharFormat& f)
{
    if (f.isImageFormat()) {
        const QTextImageFormat image = f.toImageFormat();
        const QImage pixels =
            document.resource(QTextDocument::ImageResource, QUrl(image.name())).value<QImage>();
        // Shown at its own size unless the format says otherwise.
        const double width = image.width() > 0 ? image.width() : pixels.width();
        const double height = image.height() > 0 ? image.height() : pixels.height();
        return u"image %1x%2 shown %3x%4"_s.arg(pixels.width())
            .arg(pixels.height())
            .arg(std::lround(width * 15))
            .arg(std::lround(height * 15));
    }
    QString family = f.fontFamilies().toStringList().value(0);
    if (family.isEmpty()) {
        family = document.defaultFont().family();
    }
    const double points = f.fontPointSize() > 0 ? f.fontPointSize() : document.defaultFont().pointSizeF();
    const auto colour = [&f](QTextFormat::Property property) {
        const QBrush brush = f.brushProperty(property);
        return f.hasProperty(property) && brush.style() != Qt::NoBrush ? brush.color().name() : u"none"_s;
    };
    return u"%1 %2pt%3%4 ul%5%6 caps%7 va%8 fg %9 bg %10 link %11"_s.arg(family)
        .arg(std::lround(points * 2) / 2.0)
        .arg(f.fontWeight() >= QFont::DemiBold ? u" bold"_s : QString())
        .arg(f.fontItalic() ? u" italic"_s : QString())
        .arg(f.underlineStyle())
        .arg(f.fontStrikeOut() ? u" strike"_s : QString())
        .arg(f.fontCapitalization())
        .arg(f.verticalAlignment())
        .arg(colour(QTextFormat::ForegroundBrush), colour(QTextFormat::BackgroundBrush),
             f.isAnchor() ? f.anchorHref() : QString());
}

QString blockSignature(const QTextBlock& block)
{
    const QTextBlockFormat f = block.blockFormat();
    const auto twips = [](qreal pixels) { return QString::number(std::lround(pixels * 15)); };
    QString list = u"-"_s;
    if (const QTextList* textList = block.textList()) {
        list = u"%1/%2 %3"_s.arg(textList->format().style())
                   .arg(textList->format().indent())
                   .arg(rtf::listItemMarker(block));
    }
    const int align = int(f.alignment() & Qt::AlignHorizontal_Mask) == 0
                          ? int(Qt::AlignLeft)
                          : int(f.alignment() & Qt::AlignHorizontal_Mask);
    const bool single =
        f.lineHeightType() == QTextBlockFormat::SingleHeight ||
        (f.lineHeightType() == QTextBlockFormat::ProportionalHeight && std::lround(f.lineHeight()) == 100);
    return u"align %1 li %2 ri %3 fi %4 sb %5 sa %6 line %7 list %8"_s.arg(align)
        .arg(twips(f.leftMargin()), twips(f.rightMargin()), twips(f.textIndent()), twips(f.topMargin()),
             twips(f.bottomMargin()))
        .arg(single ? u"single"_s : u"%1:%2"_s.arg(f.lineHeightType()).arg(std::lround(f.lineHeight() * 10)))
        .arg(list);
}

// Every block in document order (table cells included) with its runs of equal formatting.
QStringList describe(const QTextDocument& document)
{
    QStringList lines;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        lines.append(blockSignature(block));
        QString lastSignature;
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QString signature = charSignature(document, fragment.charFormat());
            if (signature != lastSignature) {
                lines.append(u"  ["_s + signature + u"]"_s);
                lastSignature = signature;
            }
            lines.append(u"    "_s + fragment.text());
        }
    }
    // Text of a run split over several fragments is joined so that fragmentation does not count.
    QStringList merged;
    for (const QString& line : std::as_const(lines)) {
        if (line.startsWith(u"    "_s) && !merged.isEmpty() && merged.last().startsWith(u"    "_s)) {
            merged.last() += line.mid(4);
        } else {
            merged.append(line);
        }
    }
    QTextFrame* root = document.rootFrame();
    for (auto it = root->begin(); !it.atEnd(); ++it) {
        if (const auto* table = qobject_cast<QTextTable*>(it.currentFrame())) {
            merged.append(u"table %1x%2"_s.arg(table->rows()).arg(table->columns()));
        }
    }
    return merged;
}

int tableCount(const QTextDocument& document)
{
    int count = 0;
    QTextFrame* root = document.rootFrame();
    for (auto it = root->begin(); !it.atEnd(); ++it) {
        count += qobject_cast<QTextTable*>(it.currentFrame()) != nullptr ? 1 : 0;
    }
    return count;
}

// The first line where two texts differ, empty when they are equal.
QString firstDifference(const QStringList& actual, const QStringList& expected)
{
    for (qsizetype i = 0; i < std::max(actual.size(), expected.size()); ++i) {
        const QString a = actual.value(i, u"<end>"_s);
        const QString e = expected.value(i, u"<end>"_s);
        if (a != e) {
            return u"line %1:\n   actual: %2\n expected: %3"_s.arg(i + 1).arg(a, e);
        }
    }
    return {};
}

QString firstDifference(const QByteArray& actual, const QByteArray& expected)
{
    return firstDifference(QString::fromLatin1(actual).split(u'\n'),
                           QString::fromLatin1(expected).split(u'\n'));
}

QTextCharFormat charFormat(std::function<void(QTextCharFormat&)> set)
{
    QTextCharFormat format;
    set(format);
    return format;
}

QTextBlockFormat blockFormat(std::function<void(QTextBlockFormat&)> set)
{
    QTextBlockFormat format;
    set(format);
    return format;
}

// A seeded document mixing everything the writer supports.
void buildMixed(QTextDocument& document, quint32 seed)
{
    QRandomGenerator random(seed);
    const QString pieces[] = {u"word"_s,   u" "_s, u"{"_s,    u"}"_s,      u"\\"_s, u"\t"_s,
                              u"\u00A0"_s, u"😀"_s, u"café"_s, u"Привет"_s, u"€"_s,  u"“q”"_s,
                              u"\u2028"_s, u"-"_s, u"1"_s,    u"ﬁ"_s};
    const QList<std::function<void(QTextCharFormat&)>> formats = {
        [](QTextCharFormat&) {},
        [](QTextCharFormat& f) { f.setFontWeight(QFont::Bold); },
        [](QTextCharFormat& f) { f.setFontItalic(true); },
        [](QTextCharFormat& f) { f.setUnderlineStyle(QTextCharFormat::DashUnderline); },
        [](QTextCharFormat& f) { f.setFontStrikeOut(true); },
        [](QTextCharFormat& f) { f.setFontFamilies({u"DejaVu Sans Mono"_s}); },
        [](QTextCharFormat& f) { f.setFontPointSize(9.5); },
        [](QTextCharFormat& f) { f.setForeground(QColor(0x12, 0x34, 0x56)); },
        [](QTextCharFormat& f) { f.setBackground(QColor(Qt::yellow)); },
        [](QTextCharFormat& f) { f.setVerticalAlignment(QTextCharFormat::AlignSuperScript); },
        [](QTextCharFormat& f) { f.setFontCapitalization(QFont::SmallCaps); },
        [](QTextCharFormat& f) {
            f.setAnchor(true);
            f.setAnchorHref(u"https://example.org/x?y=1"_s);
        },
    };
    QTextCursor cursor(&document);
    for (int paragraph = 0; paragraph < 30; ++paragraph) {
        if (paragraph > 0) {
            QTextBlockFormat block;
            switch (random.bounded(6)) {
            case 0:
                block.setAlignment(Qt::AlignHCenter);
                break;
            case 1:
                block.setLeftMargin(random.bounded(100));
                break;
            case 2:
                block.setTopMargin(random.bounded(20));
                break;
            case 3:
                block.setLineHeight(150, QTextBlockFormat::ProportionalHeight);
                break;
            default:
                break;
            }
            cursor.insertBlock(block, QTextCharFormat());
            if (random.bounded(5) == 0) {
                QTextListFormat list;
                list.setStyle(random.bounded(2) ? QTextListFormat::ListDecimal : QTextListFormat::ListDisc);
                cursor.createList(list);
            }
        }
        const int runs = random.bounded(6); // 0: an empty paragraph
        for (int r = 0; r < runs; ++r) {
            QTextCharFormat format;
            formats[random.bounded(int(formats.size()))](format);
            formats[random.bounded(int(formats.size()))](format);
            QString text;
            for (int p = random.bounded(1, 5); p > 0; --p) {
                text += pieces[random.bounded(int(std::size(pieces)))];
            }
            cursor.insertText(text, format);
        }
    }
    cursor.insertBlock(QTextBlockFormat(), QTextCharFormat()); // a trailing empty paragraph
}

} // namespace

Q_DECLARE_METATYPE(DocumentBuilder)

class tst_rtf_roundtrip : public QObject {
    Q_OBJECT

private slots:
    void roundTrip_data();
    void roundTrip();
    void specialCharacters();
    void clipboardForm();
    void sharedCorpusFilesKeepTheirText_data();
    void sharedCorpusFilesKeepTheirText();
    void fuzzFindings_data();
    void fuzzFindings();
    void listAffixesCutAlike();
};

void tst_rtf_roundtrip::roundTrip_data()
{
    QTest::addColumn<DocumentBuilder>("build");

    const auto runs = [](QList<QTextCharFormat> formats) {
        return DocumentBuilder([formats](QTextDocument& document) {
            QTextCursor cursor(&document);
            int i = 0;
            for (const QTextCharFormat& format : formats) {
                cursor.insertText(u"run %1 "_s.arg(++i), format);
            }
        });
    };
    QTest::newRow("character formats") << runs({
        charFormat([](auto& f) { f.setFontWeight(QFont::Bold); }),
        charFormat([](auto& f) { f.setFontItalic(true); }),
        charFormat([](auto& f) { f.setUnderlineStyle(QTextCharFormat::SingleUnderline); }),
        charFormat([](auto& f) { f.setUnderlineStyle(QTextCharFormat::DotLine); }),
        charFormat([](auto& f) { f.setUnderlineStyle(QTextCharFormat::DashUnderline); }),
        charFormat([](auto& f) { f.setUnderlineStyle(QTextCharFormat::DashDotLine); }),
        charFormat([](auto& f) { f.setUnderlineStyle(QTextCharFormat::DashDotDotLine); }),
        charFormat([](auto& f) { f.setUnderlineStyle(QTextCharFormat::WaveUnderline); }),
        charFormat([](auto& f) { f.setFontStrikeOut(true); }),
        charFormat([](auto& f) { f.setVerticalAlignment(QTextCharFormat::AlignSuperScript); }),
        charFormat([](auto& f) { f.setVerticalAlignment(QTextCharFormat::AlignSubScript); }),
        charFormat([](auto& f) { f.setFontCapitalization(QFont::AllUppercase); }),
        charFormat([](auto& f) { f.setFontCapitalization(QFont::SmallCaps); }),
    });
    QTest::newRow("fonts, sizes and colours") << runs({
        charFormat([](auto& f) { f.setFontFamilies({u"DejaVu Sans"_s}); }),
        charFormat([](auto& f) { f.setFontFamilies({u"Liberation Mono"_s}); }),
        charFormat([](auto& f) { f.setFontPointSize(7.5); }),
        charFormat([](auto& f) { f.setFontPointSize(36); }),
        charFormat([](auto& f) { f.setForeground(QColor(200, 10, 20)); }),
        charFormat([](auto& f) { f.setBackground(QColor(250, 240, 10)); }),
        charFormat([](auto& f) {
            f.setForeground(QColor(1, 2, 3));
            f.setBackground(QColor(200, 10, 20));
            f.setFontWeight(QFont::Bold);
        }),
    });
    QTest::newRow("hyperlinks") << DocumentBuilder([](QTextDocument& document) {
        QTextCursor cursor(&document);
        cursor.insertText(u"See "_s);
        QTextCharFormat link;
        link.setAnchor(true);
        link.setAnchorHref(u"https://example.com/a?b=c&d=é"_s);
        cursor.insertText(u"the site"_s, link);
        link.setFontWeight(QFont::Bold);
        cursor.insertText(u" now"_s, link);
        link.setAnchorHref(u"mailto:x@example.com"_s);
        cursor.insertText(u"mail"_s, link);
        cursor.insertText(u"."_s, QTextCharFormat());
    });
    QTest::newRow("paragraph formats") << DocumentBuilder([](QTextDocument& document) {
        QTextCursor cursor(&document);
        const QList<QTextBlockFormat> formats = {
            blockFormat([](auto& f) { f.setAlignment(Qt::AlignHCenter); }),
            blockFormat([](auto& f) { f.setAlignment(Qt::AlignRight); }),
            blockFormat([](auto& f) { f.setAlignment(Qt::AlignJustify); }),
            blockFormat([](auto& f) {
                f.setLeftMargin(40);
                f.setRightMargin(20);
                f.setTextIndent(-20);
            }),
            blockFormat([](auto& f) {
                f.setTopMargin(12);
                f.setBottomMargin(6.5);
            }),
            blockFormat([](auto& f) { f.setLineHeight(200, QTextBlockFormat::ProportionalHeight); }),
            blockFormat([](auto& f) { f.setLineHeight(18, QTextBlockFormat::MinimumHeight); }),
            blockFormat([](auto& f) { f.setLineHeight(22, QTextBlockFormat::FixedHeight); }),
        };
        bool first = true;
        for (const QTextBlockFormat& format : formats) {
            if (first) {
                cursor.setBlockFormat(format);
            } else {
                cursor.insertBlock(format);
            }
            first = false;
            cursor.insertText(u"Paragraph text long enough to wrap when shown."_s);
        }
    });
    QTest::newRow("lists") << DocumentBuilder([](QTextDocument& document) {
        QTextCursor cursor(&document);
        cursor.insertText(u"Numbers"_s);
        const QTextListFormat::Style styles[] = {
            QTextListFormat::ListDecimal,    QTextListFormat::ListDisc,       QTextListFormat::ListLowerAlpha,
            QTextListFormat::ListUpperAlpha, QTextListFormat::ListLowerRoman, QTextListFormat::ListUpperRoman,
            QTextListFormat::ListCircle,     QTextListFormat::ListSquare};
        for (const auto style : styles) {
            cursor.insertBlock(QTextBlockFormat());
            cursor.insertText(u"between"_s);
            cursor.insertBlock(QTextBlockFormat());
            cursor.createList(style);
            for (int item = 1; item <= 3; ++item) {
                if (item > 1) {
                    cursor.insertBlock();
                }
                cursor.insertText(u"item %1"_s.arg(item));
            }
        }
        cursor.insertBlock(QTextBlockFormat());
        cursor.createList(QTextListFormat::ListDecimal);
        cursor.insertText(u"outer"_s);
        cursor.insertBlock();
        QTextListFormat nested;
        nested.setStyle(QTextListFormat::ListLowerAlpha);
        nested.setIndent(2);
        cursor.createList(nested);
        cursor.insertText(u"inner"_s);
    });
    QTest::newRow("table") << DocumentBuilder([](QTextDocument& document) {
        QTextCursor cursor(&document);
        cursor.insertText(u"Before"_s);
        QTextTable* table = cursor.insertTable(3, 3);
        for (int r = 0; r < 3; ++r) {
            for (int c = 0; c < 3; ++c) {
                if (r != 1 || c != 0) {
                    table->cellAt(r, c).firstCursorPosition().insertText(u"r%1c%2"_s.arg(r).arg(c));
                }
            }
        }
        QTextCursor inCell = table->cellAt(2, 2).lastCursorPosition();
        QTextCharFormat bold;
        bold.setFontWeight(QFont::Bold);
        inCell.insertText(u" bold"_s, bold);
        cursor.movePosition(QTextCursor::End);
        cursor.insertText(u"After"_s);
    });
    QTest::newRow("images") << DocumentBuilder([](QTextDocument& document) {
        QImage image(7, 5, QImage::Format_ARGB32);
        image.fill(QColor(10, 200, 30));
        image.setPixelColor(3, 2, QColor(Qt::blue));
        document.addResource(QTextDocument::ImageResource, QUrl(u"one"_s), image);
        QTextCursor cursor(&document);
        cursor.insertText(u"Picture: "_s);
        QTextImageFormat shown;
        shown.setName(u"one"_s);
        cursor.insertImage(shown);
        shown.setWidth(70);
        shown.setHeight(50);
        cursor.insertImage(shown);
        cursor.insertText(u" end"_s);
    });
    QTest::newRow("empty document") << DocumentBuilder([](QTextDocument&) {});
    QTest::newRow("only empty paragraphs") << DocumentBuilder([](QTextDocument& document) {
        QTextCursor cursor(&document);
        cursor.insertBlock();
        cursor.insertBlock();
    });
    QTest::newRow("trailing empty paragraph") << DocumentBuilder([](QTextDocument& document) {
        QTextCursor cursor(&document);
        cursor.insertText(u"last"_s);
        cursor.insertBlock();
    });
    for (const quint32 seed : {1u, 2u, 3u, 42u}) {
        QTest::addRow("mixed document, seed %u", seed)
            << DocumentBuilder([seed](QTextDocument& document) { buildMixed(document, seed); });
    }
}

void tst_rtf_roundtrip::roundTrip()
{
    QFETCH(DocumentBuilder, build);
    QTextDocument original;
    setUp(original);
    build(original);

    const QByteArray written = rtf::writeRtf(original);
    QTextDocument read;
    setUp(read); // the editor's document has its default font before anything is read into it
    QCOMPARE(rtf::readRtf(written, read), rtf::ReadStatus::Ok);
    QCOMPARE(rtf::plainTextOfDocument(read), rtf::plainTextOfDocument(original));
    QCOMPARE(rtf::plainTextFromRtf(written).text, rtf::plainTextOfDocument(original));
    if (tableCount(read) != tableCount(original)) {
        // The reader shows tables as tab-separated rows: the text is kept (above), and the
        // document read back saves to the same bytes from then on.
        const QByteArray second = rtf::writeRtf(read);
        QTextDocument again;
        setUp(again);
        QCOMPARE(rtf::readRtf(second, again), rtf::ReadStatus::Ok);
        QCOMPARE(rtf::plainTextOfDocument(again), rtf::plainTextOfDocument(original));
        const QString bytes = firstDifference(rtf::writeRtf(again), second);
        QVERIFY2(bytes.isEmpty(), qPrintable(bytes));
        return;
    }
    QCOMPARE(read.blockCount(), original.blockCount());
    const QString formatting = firstDifference(describe(read), describe(original));
    QVERIFY2(formatting.isEmpty(), qPrintable(formatting));
    // Saving what was read repeats the same bytes: documents do not drift from save to save.
    const QString bytes = firstDifference(rtf::writeRtf(read), written);
    QVERIFY2(bytes.isEmpty(), qPrintable(bytes));
}

void tst_rtf_roundtrip::specialCharacters()
{
    QTextDocument document;
    setUp(document);
    const QString text = u"{a} \\b\tc\u00A0d 😀 café"_s;
    QTextCursor(&document).insertText(text);
    const QByteArray written = rtf::writeRtf(document);
    for (const char c : written) {
        QVERIFY(static_cast<unsigned char>(c) < 0x80);
    }
    for (const char* expected :
         {"\\{a\\}", "\\\\b", "\\tab c", "\\~d", "\\u-10179?\\u-8704?", "caf\\u233\\'e9"}) {
        QVERIFY2(written.contains(expected), expected);
    }
    QTextDocument read;
    QCOMPARE(rtf::readRtf(written, read), rtf::ReadStatus::Ok);
    QCOMPARE(read.begin().text(), text);
    QCOMPARE(rtf::plainTextFromRtf(written).text, text);
}

void tst_rtf_roundtrip::clipboardForm()
{
    QTextDocument document;
    setUp(document);
    QTextCursor cursor(&document);
    cursor.insertText(u"one"_s);
    cursor.insertBlock();
    cursor.insertText(u"two"_s);
    rtf::WriteOptions clipboard;
    clipboard.clipboard = true;
    const QByteArray written = rtf::writeRtf(document, clipboard);
    QVERIFY(!written.contains("two\\par"));
    QTextDocument read;
    QCOMPARE(rtf::readRtf(written, read), rtf::ReadStatus::Ok);
    QCOMPARE(read.blockCount(), 2);
    QCOMPARE(rtf::plainTextOfDocument(read), u"one\r\ntwo"_s);
    // Pasted text arrives as a string: the same document.
    QTextDocument pasted;
    QCOMPARE(rtf::readRtfText(QString::fromLatin1(written), pasted), rtf::ReadStatus::Ok);
    QCOMPARE(rtf::plainTextOfDocument(pasted), u"one\r\ntwo"_s);
}

void tst_rtf_roundtrip::sharedCorpusFilesKeepTheirText_data()
{
    QTest::addColumn<QString>("path");
    FOLIONEER_REQUIRE_SHARED_FOLDER(test::sharedDir() + u"/rtf-corpus/rtf"_s);
    const QDir dir(test::sharedDir() + u"/rtf-corpus/rtf"_s);
    const QStringList files = dir.entryList({u"*.rtf"_s}, QDir::Files, QDir::Name);
    for (const QString& file : files) {
        QTest::newRow(qPrintable(file)) << dir.filePath(file);
    }
}

// Real documents from other programs, read and saved by us: the text survives, and a second
// save repeats the first.
void tst_rtf_roundtrip::sharedCorpusFilesKeepTheirText()
{
    QFETCH(QString, path);
    const QByteArray original = test::readFile(path);
    QTextDocument document;
    QVERIFY(rtf::readRtf(original, document) != rtf::ReadStatus::NotRtf);
    const QByteArray written = rtf::writeRtf(document);
    QTextDocument read;
    QCOMPARE(rtf::readRtf(written, read), rtf::ReadStatus::Ok);
    QCOMPARE(rtf::plainTextOfDocument(read), rtf::plainTextOfDocument(document));
    QCOMPARE(rtf::plainTextFromRtf(written).text, rtf::plainTextOfDocument(document));
    const QString bytes = firstDifference(rtf::writeRtf(read), written);
    QVERIFY2(bytes.isEmpty(), qPrintable(bytes));
}

// Inputs the fuzz targets found (reduced): the editor's and the export's view of a file agree,
// and saving what was read keeps its text and repeats its bytes.
void tst_rtf_roundtrip::fuzzFindings_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::newRow("text before a list marker") << QByteArray("{\\rtf\xff\\pntext\xff");
    QTest::newRow("\\u10 line feed") << QByteArray("{\\rtf\\u10");
    QTest::newRow("DEL character") << QByteArray("{\\rtf\x7f");
    QTest::newRow("spaces opening a group after a blank run")
        << QByteArray("{\\rtf1 {\\b   }{\\i    \\u1042?x}\\par}");
    QTest::newRow("an item whose marker continues a list of another number format")
        << QByteArray("{\\rtf1{\\pntext i.\\tab}{\\*\\pn\\pnlvlbody\\pnlcrm}a\\par"
                      "{\\pntext ii.\\tab}{\\*\\pn\\pnlvlbody\\pndec}b\\par}");
    QTest::newRow("a marker holding U+FFFD")
        << QByteArray("{\\rtf1{\\*\\pn\\pnlvlblt{\\pntxtb a\\u65533?}}third\\par}");
    QTest::newRow("a TAB inside a marker's text")
        << QByteArray("{\\rtf1{\\*\\pn\\pnlvlblt{\\pntxtb \\u8226?\\tab 2}}Bulleted\\par}");
    QTest::newRow("a list resumed after another list")
        << QByteArray("{\\rtf1\\pard{\\pntext I.\\tab}{\\*\\pn\\pnlvlbody\\pnucrm{\\pntxta .}}A\\par"
                      "\\pard\\ls1{\\listtext 1\\tab}B\\par"
                      "\\pard{\\pntext II.\\tab}{\\*\\pn\\pnlvlbody\\pnucrm{\\pntxta .}}C\\par}");
    QTest::newRow("a one-letter bullet")
        << QByteArray("{\\rtf1{\\pntext o\\tab}{\\*\\pn\\pnlvlblt{\\pntxtb o}}a\\par"
                      "{\\pntext o\\tab}{\\*\\pn\\pnlvlblt{\\pntxtb o}}b\\par}");
    {
        // Eight other lists in between: the reader resumes the letters' list when the file
        // keeps the lists apart, and cannot after they are all written in one form; each item
        // must still keep the numbering it declares ("i" the ninth letter, not roman one).
        QByteArray input("{\\rtf1");
        for (const char letter : QByteArray("abcdefgh")) {
            input += "{\\pntext " + QByteArray(1, letter) + "\\tab}{\\*\\pn\\pnlvlbody\\pnlcltr}x\\par";
        }
        for (const char marker : QByteArray("pqrstuvw")) {
            input += "\\pard\\ls1{\\listtext " + QByteArray(1, marker) + "\\tab}x\\par";
        }
        input += "\\pard{\\pntext i\\tab}{\\*\\pn\\pnlvlbody\\pnlcltr}I\\par}";
        QTest::newRow("a letter item resumed after eight other lists") << input;
    }
    // A control character in a list level's text (not a level number): no sink shows it.
    QTest::newRow("a control character in a level's text") << QByteArray(
        "{\\rtf1{\\*\\listtable{\\list{\\listlevel\\levelnfc23{\\leveltext\\'02\\'10.;}}\\listid1}}"
        "{\\*\\listoverridetable{\\listoverride\\listid1\\ls1}}\\pard\\ls1 A\\par}");
    // U+FDD0 and U+FDD1, which a text document takes for its frame marks: no sink shows them.
    QTest::newRow("frame marks as characters") << QByteArray("{\\rtf1 a\\u-560?b\\u-559?c\\par}");
    // A link target longer than the reader keeps of a field instruction: no link, the text stays.
    QTest::newRow("a cut link target")
        << "{\\rtf1{\\field{\\*\\fldinst HYPERLINK \"" + QByteArray(9000, 'a') + "\"}{\\fldrslt link}}\\par}";
    // The fuzz targets' regression inputs, as found (the fuzz replay runs them too).
    const QDir regressions(test::sourceDir() + u"/fuzz/regressions"_s);
    const QStringList files = regressions.entryList({u"*.rtf"_s}, QDir::Files, QDir::Name);
    QVERIFY(!files.isEmpty());
    for (const QString& file : files) {
        QTest::newRow(qPrintable(file)) << test::readFile(regressions.filePath(file));
    }
}

void tst_rtf_roundtrip::fuzzFindings()
{
    QFETCH(QByteArray, input);
    QTextDocument document;
    QVERIFY(rtf::readRtf(input, document) != rtf::ReadStatus::NotRtf);
    QCOMPARE(rtf::plainTextOfDocument(document), rtf::plainTextFromRtf(input).text);
    const QByteArray written = rtf::writeRtf(document);
    QTextDocument read;
    QCOMPARE(rtf::readRtf(written, read), rtf::ReadStatus::Ok);
    QCOMPARE(rtf::plainTextOfDocument(read), rtf::plainTextOfDocument(document));
    QCOMPARE(rtf::writeRtf(read), written);
}

// Text after a number longer than the reader keeps is cut at the same length whatever pieces
// the file breaks it into, so a file written again (broken elsewhere) reads the same.
void tst_rtf_roundtrip::listAffixesCutAlike()
{
    const QByteArray head =
        "{\\rtf1{\\pntext 1.1\\tab}{\\*\\pn\\pnlvlbody\\pndec{\\pntxta ." + QByteArray(63, 'x');
    QTextDocument whole;
    QTextDocument inPieces;
    QCOMPARE(rtf::readRtf(head + "yyyyyyyyyy}}A\\par}", whole), rtf::ReadStatus::Ok);
    QCOMPARE(rtf::readRtf(head + "\\u121?yyyyyyyyy}}A\\par}", inPieces), rtf::ReadStatus::Ok);
    QCOMPARE(rtf::writeRtf(inPieces), rtf::writeRtf(whole));
}

QTEST_MAIN(tst_rtf_roundtrip)
#include "tst_rtf_roundtrip.moc"
