// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "sample_book.h"

#include "common/test_support.h"
#include "project/content_paths.h"
#include "publish/book.h"
#include "publish/format_writer.h"
#include "rtf/rtf.h"

#include <QDir>
#include <QImage>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>
#include <QTextTable>

namespace folioneer::test {

QByteArray richSectionRtf()
{
    QTextDocument document;
    QTextCursor cursor(&document);
    QTextCharFormat plain;
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    QTextCharFormat italic;
    italic.setFontItalic(true);
    QTextCharFormat link;
    link.setAnchor(true);
    link.setAnchorHref(QStringLiteral("https://example.org/garden"));
    link.setFontUnderline(true);
    cursor.insertText(QStringLiteral("Good soil has "), plain);
    cursor.insertText(kSampleBold, bold);
    cursor.insertText(QStringLiteral(" and "), plain);
    cursor.insertText(kSampleItalic, italic);
    cursor.insertText(QStringLiteral(", see "), plain);
    cursor.insertText(QStringLiteral("the garden site"), link);
    cursor.insertText(QStringLiteral("."), plain);
    cursor.insertBlock();
    cursor.insertText(QStringLiteral("Γη και νερό, 土と水, אדמה ומים."), plain);

    cursor.insertBlock();
    QTextListFormat bullets;
    bullets.setStyle(QTextListFormat::ListDisc);
    bullets.setIndent(1);
    cursor.createList(bullets);
    cursor.insertText(QStringLiteral("Leaves"));
    cursor.insertBlock();
    cursor.insertText(QStringLiteral("Peelings"));
    cursor.insertBlock();
    QTextListFormat numbers;
    numbers.setStyle(QTextListFormat::ListDecimal);
    numbers.setIndent(2);
    cursor.createList(numbers);
    cursor.insertText(QStringLiteral("Potato"));
    cursor.insertBlock();
    cursor.insertText(QStringLiteral("Carrot"));
    cursor.insertBlock();
    cursor.currentList()->remove(cursor.block());
    QTextBlockFormat normal;
    cursor.setBlockFormat(normal);
    cursor.insertText(QStringLiteral("After the list."));

    cursor.insertBlock();
    QTextTable* table = cursor.insertTable(2, 2);
    const char* const cells[] = {"Layer", "Depth", "Topsoil", "Shallow"};
    for (int i = 0; i < 4; ++i) {
        table->cellAt(i / 2, i % 2).firstCursorPosition().insertText(QString::fromLatin1(cells[i]));
    }
    cursor = table->lastCursorPosition();
    cursor.movePosition(QTextCursor::NextBlock);
    QImage image(12, 8, QImage::Format_RGB32);
    image.fill(Qt::darkGreen);
    document.addResource(QTextDocument::ImageResource, QUrl(QStringLiteral("picture")), image);
    QTextImageFormat picture;
    picture.setName(QStringLiteral("picture"));
    cursor.insertText(QStringLiteral("A picture: "));
    cursor.insertImage(picture);
    return rtf::writeRtf(document);
}

QString makeBook(const QString& programFolder, const QString& name, const QByteArray& toc,
                 const QList<std::pair<QStringList, QByteArray>>& contents)
{
    const QString project = programFolder + QStringLiteral("/projects/") + name;
    QDir().mkpath(project);
    writeFile(project + QStringLiteral("/--toc.txt"), toc);
    writeFile(project + QStringLiteral("/--maintopic.txt"), "Growing food at home\r\n");
    for (const auto& [titles, bytes] : contents) {
        writeFile(ContentFilePath(project, titles.at(0), titles.at(1)), bytes);
    }
    return project;
}

QString makeSampleBook(const QString& programFolder, const QString& name)
{
    const QByteArray toc = "Chapter: Soil\nSubchapter: Compost & Loam\nSubchapter: Worms\n"
                           "Chapter: Water\nSubchapter: Rain\nChapter: Harvest\n";
    return makeBook(programFolder, name, toc,
                    {{{"Soil", "Compost & Loam"}, richSectionRtf()},
                     {{"Soil", "Worms"}, "{\\rtf1\\ansi Worms mix the {\\b layers} of soil.\\par}"},
                     {{"Water", "Rain"}, "{\\rtf1\\ansi Rain {\\i falls} on the beds.\\par}"}});
}

QList<EdgeBook> edgeBooks()
{
    QByteArray huge = "{\\rtf1\\ansi ";
    for (int i = 0; i < 40000; ++i) {
        huge += "word" + QByteArray::number(i) + " ";
    }
    huge += "}";
    return {
        {"empty book", "", {}},
        {"chapters without sections", "Chapter: One\nChapter: Two\n", {}},
        {"empty titles", "Chapter:\nSubchapter:\nSubchapter: Named\n", {{{"", "Named"}, "{\\rtf1 Text}"}}},
        {"sections without content files", "Chapter: One\nSubchapter: A\nSubchapter: B\n", {}},
        {"odd titles",
         "Chapter: Fish & Chips <b>\"quoted\" 'single'\nSubchapter: Plants \xF0\x9F\x8C\xB1 "
         "\xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D\x01 end\n",
         {}},
        {"0-byte content file", "Chapter: One\nSubchapter: Empty\n", {{{"One", "Empty"}, ""}}},
        {"one huge paragraph", "Chapter: One\nSubchapter: Long\n", {{{"One", "Long"}, huge}}},
    };
}

void fillMergedTable(QTextDocument& document)
{
    QTextCursor cursor(&document);
    cursor.insertText(QStringLiteral("Before the table."));
    cursor.insertBlock();
    QTextTable* table = cursor.insertTable(3, 3);
    const char* const cells[] = {"A", "", "B", "C", "D", "E", "", "F", "G"};
    for (int i = 0; i < 9; ++i) {
        table->cellAt(i / 3, i % 3).firstCursorPosition().insertText(QString::fromLatin1(cells[i]));
    }
    table->mergeCells(0, 0, 1, 2);
    table->mergeCells(1, 0, 2, 1);
}

Result writeOneSectionBook(const QTextDocument& document, publish::BookFormat format, const QString& path)
{
    using namespace publish;
    Book book;
    book.title = QStringLiteral("Merged");
    book.chapters.append({QStringLiteral("Tables"), {{QStringLiteral("Merged cells"), {}}}});
    std::unique_ptr<FormatWriter> writer = format == BookFormat::Docx   ? makeDocxWriter()
                                           : format == BookFormat::Epub ? makeEpubWriter()
                                           : format == BookFormat::Odt  ? makeOdtWriter()
                                           : format == BookFormat::Html ? makeHtmlWriter()
                                                                        : makeMarkdownWriter();
    writer->begin(book, path);
    writer->chapter(0);
    writer->section(0, 0, flowOf(document));
    return writer->finish(path);
}

} // namespace folioneer::test
