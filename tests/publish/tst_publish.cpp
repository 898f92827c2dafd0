// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "publish/book_publisher.h"

#include "common/test_support.h"
#include "export/book_export.h"
#include "publish/command_line.h"
#include "publish/section_flow.h"
#include "sample_book.h"
#include "support/step_hook.h"
#include "support/zip_archive.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTextCursor>
#include <QTextDocument>
#include <QTest>
#include <QXmlStreamReader>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

using namespace folioneer;
using namespace folioneer::publish;

Q_DECLARE_METATYPE(folioneer::publish::BookFormat)

namespace {

QByteArray zipEntry(const QByteArray& archive, const QString& name)
{
    const ZipReader reader(archive);
    const QList<ZipEntry> entries = reader.entries();
    for (qsizetype i = 0; i < entries.size(); ++i) {
        if (entries.at(i).name == name) {
            return reader.read(i, 64 << 20).data;
        }
    }
    return {};
}

// The XML parts of a file of the format: the page itself, or every .xml/.xhtml/.opf/.rels entry.
QList<std::pair<QString, QByteArray>> xmlParts(const QString& path, BookFormat format)
{
    const QByteArray bytes = test::readFile(path);
    if (format == BookFormat::Html) {
        return {{QStringLiteral("page"), bytes}};
    }
    QList<std::pair<QString, QByteArray>> parts;
    const ZipReader reader(bytes);
    const QList<ZipEntry> entries = reader.entries();
    for (qsizetype i = 0; i < entries.size(); ++i) {
        static const QRegularExpression xmlName(QStringLiteral("\\.(xml|xhtml|opf|rels)$"));
        if (xmlName.match(entries.at(i).name).hasMatch()) {
            parts.append({entries.at(i).name, reader.read(i, 64 << 20).data});
        }
    }
    return parts;
}

// The texts of the elements named `element` (with their descendants' text), in order.
QStringList elementTexts(const QByteArray& xml, const QString& element)
{
    QStringList texts;
    QXmlStreamReader reader(xml);
    while (!reader.atEnd()) {
        if (reader.readNext() == QXmlStreamReader::StartElement && reader.qualifiedName() == element) {
            texts << reader.readElementText(QXmlStreamReader::IncludeChildElements);
        }
    }
    return texts;
}

// The headings of the plain-text export, in order, without their keywords.
QStringList textHeadings(const QString& text, const QString& keyword)
{
    QStringList headings;
    for (const QString& line : text.split(QStringLiteral("\r\n"))) {
        if (line.startsWith(keyword)) {
            headings << line.mid(keyword.size()).trimmed();
        }
    }
    return headings;
}

// The first table of an exported file, row by row ("A B / C D"): each cell's merge marks and text ("[c2]"
// spans two columns, "[r2]" two rows, "[r]" begins a vertical merge, "[^]" continues one), "~" for a covered
// cell.
QString tableShape(const QString& path, BookFormat format)
{
    const QByteArray bytes = test::readFile(path);
    if (format == BookFormat::Markdown) {
        QStringList rows;
        for (const QString& line : QString::fromUtf8(bytes).split(QLatin1Char('\n'))) {
            if (line.startsWith(QLatin1String("| ")) && !line.startsWith(QLatin1String("| ---"))) {
                QStringList cells = line.mid(2, line.size() - 4).split(QLatin1String(" | "));
                rows << cells.replaceInStrings(QStringLiteral(" "), QString()).join(QLatin1Char('|'));
            }
        }
        return rows.join(QStringLiteral(" / "));
    }
    const QByteArray xml = format == BookFormat::Docx  ? zipEntry(bytes, QStringLiteral("word/document.xml"))
                           : format == BookFormat::Odt ? zipEntry(bytes, QStringLiteral("content.xml"))
                           : format == BookFormat::Epub
                               ? zipEntry(bytes, QStringLiteral("OEBPS/chapter-1.xhtml"))
                               : bytes;
    const QStringList rowNames{"w:tr", "table:table-row", "tr"};
    const QStringList cellNames{"w:tc", "table:table-cell", "td"};
    QStringList rows;
    QStringList cells;
    QString cell;
    bool inCell = false;
    QXmlStreamReader reader(xml);
    while (!reader.atEnd()) {
        reader.readNext();
        const QString name = reader.qualifiedName().toString();
        const QXmlStreamAttributes attributes = reader.attributes();
        const auto mark = [&](const char* attribute, const char* shown) {
            if (attributes.hasAttribute(QLatin1String(attribute))) {
                cell += QStringLiteral("[%1%2]").arg(shown, attributes.value(QLatin1String(attribute)));
            }
        };
        if (reader.isStartElement()) {
            if (rowNames.contains(name)) {
                cells.clear();
            } else if (cellNames.contains(name)) {
                cell.clear();
                inCell = true;
                mark("colspan", "c");
                mark("rowspan", "r");
                mark("table:number-columns-spanned", "c");
                mark("table:number-rows-spanned", "r");
            } else if (name == QLatin1String("table:covered-table-cell")) {
                cells << QStringLiteral("~");
            } else if (name == QLatin1String("w:gridSpan")) {
                mark("w:val", "c");
            } else if (name == QLatin1String("w:vMerge")) {
                cell += attributes.value(QStringLiteral("w:val")) == QLatin1String("restart")
                            ? QStringLiteral("[r]")
                            : QStringLiteral("[^]");
            }
        } else if (reader.isCharacters() && inCell) {
            cell += reader.text();
        } else if (reader.isEndElement() && cellNames.contains(name)) {
            cells << cell;
            inCell = false;
        } else if (reader.isEndElement() && rowNames.contains(name)) {
            rows << cells.join(QLatin1Char(' '));
        } else if (reader.isEndElement() &&
                   (name == QLatin1String("w:tbl") || name == QLatin1String("table:table") ||
                    name == QLatin1String("table"))) {
            break;
        }
    }
    return rows.join(QStringLiteral(" / "));
}

// The entries of an archive (or the file itself) with the export's date and time blanked out.
QList<std::pair<QString, QByteArray>> comparableParts(const QString& path)
{
    static const QRegularExpression stamp(QStringLiteral("\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\dZ"));
    const QByteArray bytes = test::readFile(path);
    QList<std::pair<QString, QByteArray>> parts;
    const ZipReader reader(bytes);
    if (!reader.error().isEmpty()) {
        return {{QStringLiteral("file"), bytes}};
    }
    const QList<ZipEntry> entries = reader.entries();
    for (qsizetype i = 0; i < entries.size(); ++i) {
        const QString text = QString::fromUtf8(reader.read(i, 64 << 20).data);
        parts.append({entries.at(i).name, QString(text).replace(stamp, QStringLiteral("DATE")).toUtf8()});
    }
    return parts;
}

} // namespace

class tst_Publish : public QObject {
    Q_OBJECT

private slots:
    void textIsTheClipboardText_data();
    void textIsTheClipboardText();
    void formatsFollowTheClipboardWalk_data();
    void formatsFollowTheClipboardWalk();
    void edgeBooksGiveWellFormedFiles_data();
    void edgeBooksGiveWellFormedFiles();
    void docxTableOfContentsLinksEveryHeading();
    void epubIdentifierIsStablePerProject();
    void bodySizeIsTheCommonestSize_data();
    void bodySizeIsTheCommonestSize();
    void mergedCellsKeepTheirPlaces_data();
    void mergedCellsKeepTheirPlaces();
    void idsCountAcrossSections_data();
    void idsCountAcrossSections();
    void readingAheadGivesTheSameFile_data();
    void readingAheadGivesTheSameFile();
    void failuresLeaveTheOldFile_data();
    void failuresLeaveTheOldFile();
    void killedExportLeavesTheOldFile_data();
    void killedExportLeavesTheOldFile();
    void markdownPicturesFolderIsAllOrNothing();
    void commandLine_data();
    void commandLine();

private:
    test::TempProgramFolder m_program;
};

void tst_Publish::textIsTheClipboardText_data()
{
    QTest::addColumn<QByteArray>("toc");
    QTest::newRow("sample") << QByteArray("Chapter: Soil\nSubchapter: Compost & Loam\nSubchapter: Worms\n");
    // CR LF lines give titles ending in CR to the outline; a lone CR ends a line for the export.
    QTest::newRow("CR LF and lone CR")
        << QByteArray("Chapter: Soil\r\nSubchapter: Worms \r\nSubchapter: Rain\rx\n");
    QTest::newRow("section before any chapter") << QByteArray("Subchapter: Worms\nChapter: Soil\n");
}

void tst_Publish::textIsTheClipboardText()
{
    QFETCH(QByteArray, toc);
    const QString project = test::makeBook(m_program.path(), QStringLiteral("Text Book"), toc,
                                           {{{"Soil", "Worms"}, "{\\rtf1\\ansi Worms {\\b work}.\\par}"},
                                            {{"Soil\r", "Worms \r"}, "{\\rtf1\\ansi Other worms.\\par}"}});
    const QString target = m_program.path() + QStringLiteral("/book.txt");
    const ExportOutcome outcome = exportBook(project, target, BookFormat::Text);
    QVERIFY2(outcome.result.ok(), qPrintable(outcome.result.text()));
    const BookText clipboard = buildBookText(project + QStringLiteral("/--toc.txt"), project);
    QVERIFY(clipboard.ok());
    QCOMPARE(test::readFile(target), clipboard.text.toUtf8());
}

void tst_Publish::formatsFollowTheClipboardWalk_data()
{
    QTest::addColumn<QByteArray>("toc");
    QTest::newRow("sample") << QByteArray("Chapter: Soil\nSubchapter: Compost & Loam\nSubchapter: Worms\n"
                                          "Chapter: Water\nSubchapter: Rain\nChapter: Harvest\n");
    QTest::newRow("CR LF titles") << QByteArray("Chapter: Soil\r\nSubchapter: Worms \r\n");
    QTest::newRow("lines that are not headings")
        << QByteArray("Intro text\nChapter: Soil\n  Subchapter:   Worms  \nnote\nSubchapter:Rain\n");
}

// The HTML page's <h1>/<h2> headings and section texts are those of the plain-text export.
void tst_Publish::formatsFollowTheClipboardWalk()
{
    QFETCH(QByteArray, toc);
    const QString project = test::makeBook(m_program.path(), QStringLiteral("Walk Book"), toc,
                                           {{{"Soil", "Worms"}, "{\\rtf1\\ansi Worms turn soil.\\par}"},
                                            {{"Soil\r", "Worms \r"}, "{\\rtf1\\ansi Worms by CR LF.\\par}"},
                                            {{"Soil", "Rain"}, "{\\rtf1\\ansi Rain soaks.\\par}"}});
    const QString target = m_program.path() + QStringLiteral("/walk.html");
    const ExportOutcome outcome = exportBook(project, target, BookFormat::Html);
    QVERIFY2(outcome.result.ok(), qPrintable(outcome.result.text()));
    const QByteArray html = test::readFile(target);
    const QString text = buildBookText(project + QStringLiteral("/--toc.txt"), project).text;
    QCOMPARE(elementTexts(html, QStringLiteral("h1")), textHeadings(text, QStringLiteral("Chapter:")));
    QCOMPARE(elementTexts(html, QStringLiteral("h2")), textHeadings(text, QStringLiteral("Subchapter:")));
    QStringList paragraphs = elementTexts(html, QStringLiteral("p"));
    paragraphs.removeFirst(); // the title
    paragraphs.removeFirst(); // the subtitle
    QStringList textParagraphs;
    for (const QString& line : text.split(QStringLiteral("\r\n"))) {
        if (line.endsWith(QLatin1Char('.'))) {
            textParagraphs << line;
        }
    }
    QCOMPARE(paragraphs, textParagraphs);
}

void tst_Publish::edgeBooksGiveWellFormedFiles_data()
{
    QTest::addColumn<int>("book");
    QTest::addColumn<BookFormat>("format");
    const QList<test::EdgeBook> books = test::edgeBooks();
    for (int b = 0; b < books.size(); ++b) {
        for (const FormatChoice& choice : formatChoices()) {
            if (choice.format != BookFormat::Text && choice.format != BookFormat::Markdown) {
                QTest::addRow("%s, %s", books.at(b).name, qPrintable(choice.suffix)) << b << choice.format;
            }
        }
    }
}

// Every XML part parses; headings never lose their place (an empty title shows "Untitled");
// characters XML forbids are gone.
void tst_Publish::edgeBooksGiveWellFormedFiles()
{
    QFETCH(int, book);
    QFETCH(BookFormat, format);
    const test::EdgeBook edge = test::edgeBooks().at(book);
    const QString project =
        test::makeBook(m_program.path(), QString::fromLatin1(edge.name), edge.toc, edge.contents);
    const QString target = QStringLiteral("%1/edge-%2.%3").arg(m_program.path()).arg(book).arg(int(format));
    const ExportOutcome outcome = exportBook(project, target, format);
    QVERIFY2(outcome.result.ok(), qPrintable(outcome.result.text()));
    const auto parts = xmlParts(target, format);
    QVERIFY(!parts.isEmpty());
    QString allText;
    for (const auto& [name, xml] : parts) {
        QXmlStreamReader reader(xml);
        while (!reader.atEnd()) {
            if (reader.readNext() == QXmlStreamReader::Characters) {
                allText += reader.text();
            }
        }
        QVERIFY2(!reader.hasError(), qPrintable(name + QStringLiteral(": ") + reader.errorString()));
    }
    const QString toc = QString::fromUtf8(edge.toc);
    if (toc.contains(QStringLiteral("Chapter:\n"))) {
        QVERIFY(allText.contains(QStringLiteral("Untitled")));
    }
    if (toc.contains(QChar(1))) {
        QVERIFY(allText.contains(QStringLiteral("Fish & Chips <b>\"quoted\" 'single'")));
        QVERIFY(allText.contains(
            QString::fromUtf8("Plants \xF0\x9F\x8C\xB1 \xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D end")));
    }
    if (!edge.contents.isEmpty() && edge.contents.first().second.size() > 100000) {
        QVERIFY(allText.contains(QStringLiteral("word39999")));
    }
}

void tst_Publish::docxTableOfContentsLinksEveryHeading()
{
    const QString project = test::makeSampleBook(m_program.path(), QStringLiteral("Garden Book"));
    const QString target = m_program.path() + QStringLiteral("/garden.docx");
    QVERIFY(exportBook(project, target, BookFormat::Docx).result.ok());
    const QByteArray document = zipEntry(test::readFile(target), QStringLiteral("word/document.xml"));
    QVERIFY(!document.isEmpty());

    // Heading paragraphs: style and bookmark; table-of-contents paragraphs: the anchor linked.
    QStringList headings;
    QStringList headingMarks;
    QStringList entries;
    QStringList entryLinks;
    bool inField = false;
    bool fieldEnded = false;
    QXmlStreamReader xml(document);
    QString style;
    QString bookmark;
    QString anchor;
    QString text;
    while (!xml.atEnd()) {
        xml.readNext();
        const QString name = xml.qualifiedName().toString();
        if (xml.isStartElement()) {
            if (name == QLatin1String("w:p")) {
                style.clear();
                bookmark.clear();
                anchor.clear();
                text.clear();
            } else if (name == QLatin1String("w:pStyle")) {
                style = xml.attributes().value(QStringLiteral("w:val")).toString();
            } else if (name == QLatin1String("w:bookmarkStart")) {
                bookmark = xml.attributes().value(QStringLiteral("w:name")).toString();
            } else if (name == QLatin1String("w:hyperlink")) {
                anchor = xml.attributes().value(QStringLiteral("w:anchor")).toString();
            } else if (name == QLatin1String("w:t")) {
                text += xml.readElementText();
            } else if (name == QLatin1String("w:instrText")) {
                QVERIFY(xml.readElementText().trimmed().startsWith(QLatin1String("TOC ")));
                inField = true;
            } else if (name == QLatin1String("w:fldChar") &&
                       xml.attributes().value(QStringLiteral("w:fldCharType")) == QLatin1String("end")) {
                fieldEnded = inField;
            }
        } else if (xml.isEndElement() && name == QLatin1String("w:p")) {
            if (style == QLatin1String("Heading1") || style == QLatin1String("Heading2")) {
                headings << QString::number(style.back().digitValue()) + text;
                headingMarks << bookmark;
            } else if (style.startsWith(QLatin1String("TOC")) && !anchor.isEmpty()) {
                entries << QString::number(style.back().digitValue()) + text;
                entryLinks << anchor;
            }
        }
    }
    QVERIFY(!xml.hasError());
    QVERIFY(fieldEnded);
    QCOMPARE(headings, QStringList({"1Soil", "2Compost & Loam", "2Worms", "1Water", "2Rain", "1Harvest"}));
    QCOMPARE(entries, headings);
    QCOMPARE(entryLinks, headingMarks);
    QCOMPARE(QSet<QString>(headingMarks.begin(), headingMarks.end()).size(), headingMarks.size());
}

void tst_Publish::epubIdentifierIsStablePerProject()
{
    const QString garden = test::makeSampleBook(m_program.path(), QStringLiteral("Garden Book"));
    const QString other = test::makeSampleBook(m_program.path(), QStringLiteral("Other Book"));
    QStringList identifiers;
    for (const QString& project : {garden, garden, other}) {
        const QString target = m_program.path() + QStringLiteral("/id.epub");
        QVERIFY(exportBook(project, target, BookFormat::Epub).result.ok());
        identifiers << elementTexts(zipEntry(test::readFile(target), QStringLiteral("OEBPS/content.opf")),
                                    QStringLiteral("dc:identifier"))
                           .value(0);
    }
    QVERIFY(identifiers.at(0).startsWith(QLatin1String("urn:uuid:")));
    QCOMPARE(identifiers.at(1), identifiers.at(0));
    QVERIFY(identifiers.at(2) != identifiers.at(0));
}

void tst_Publish::bodySizeIsTheCommonestSize_data()
{
    QTest::addColumn<QString>("large");
    QTest::addColumn<double>("shownSmall");
    QTest::addColumn<double>("shownLarge");
    QTest::newRow("more small text") << "bb" << 0.0 << 14.0;
    QTest::newRow("more large text") << "bbbb" << 10.0 << 0.0;
    // Equal amounts: the smaller size is the body's, in every process.
    QTest::newRow("tie") << "bbb" << 0.0 << 14.0;
}

// The size most of a section's text has is left to the format's default; other sizes are kept.
void tst_Publish::bodySizeIsTheCommonestSize()
{
    QFETCH(QString, large);
    QFETCH(double, shownSmall);
    QFETCH(double, shownLarge);
    QTextDocument document;
    QTextCursor cursor(&document);
    QTextCharFormat small;
    small.setFontPointSize(10);
    QTextCharFormat big;
    big.setFontPointSize(14);
    cursor.insertText(QStringLiteral("aaa"), small);
    cursor.insertText(large, big);
    const Flow flow = flowOf(document);
    QCOMPARE(flow.blocks.size(), 1);
    const QList<Run>& runs = flow.blocks.first().paragraph.runs;
    QCOMPARE(runs.size(), 2);
    QCOMPARE(runs.at(0).pointSize, shownSmall);
    QCOMPARE(runs.at(1).pointSize, shownLarge);
}

void tst_Publish::mergedCellsKeepTheirPlaces_data()
{
    QTest::addColumn<BookFormat>("format");
    QTest::addColumn<QString>("shape");
    QTest::newRow("docx") << BookFormat::Docx << "[c2]A B / [r]C D E / [^] F G";
    QTest::newRow("odt") << BookFormat::Odt << "[c2]A ~ B / [r2]C D E / ~ F G";
    QTest::newRow("html") << BookFormat::Html << "[c2]A B / [r2]C D E / F G";
    QTest::newRow("epub") << BookFormat::Epub << "[c2]A B / [r2]C D E / F G";
    QTest::newRow("markdown") << BookFormat::Markdown << "A||B / C|D|E / |F|G";
}

// A merged cell is written once with its spans; the places it covers are marked as each format
// wants them, so the cells after it stay in their columns.
void tst_Publish::mergedCellsKeepTheirPlaces()
{
    QFETCH(BookFormat, format);
    QFETCH(QString, shape);
    QTextDocument document;
    test::fillMergedTable(document);
    const QString target = m_program.path() + QStringLiteral("/merged-") + QTest::currentDataTag();
    const Result written = test::writeOneSectionBook(document, format, target);
    QVERIFY2(written.ok(), qPrintable(written.text()));
    QCOMPARE(tableShape(target, format), shape);
}

// Each section's content is written ahead on a reader thread, with the ids counted across the
// book left blank; the writer fills them in. Two sections of the same content must still get
// ids that go on counting, a link target already used keeps its relationship, and the same
// look keeps its style.
void tst_Publish::idsCountAcrossSections_data()
{
    QTest::addColumn<BookFormat>("format");
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("element");
    QTest::addColumn<QString>("attribute");
    QTest::addColumn<QStringList>("values"); // in document order

    const QString docx = QStringLiteral("word/document.xml");
    const QString odt = QStringLiteral("content.xml");
    // Relationships: the first section's picture, its link, the second section's picture.
    QTest::newRow("docx pictures") << BookFormat::Docx << docx << "a:blip"
                                   << "r:embed" << QStringList{"rId10", "rId12"};
    QTest::newRow("docx links") << BookFormat::Docx << docx << "w:hyperlink"
                                << "r:id" << QStringList{"rId11", "rId11"};
    // A drawing's id: the pictures so far times 1000 plus the drawings so far.
    QTest::newRow("docx drawings") << BookFormat::Docx << docx << "wp:docPr"
                                   << "id" << QStringList{"1001", "2002"};
    QTest::newRow("docx drawing names") << BookFormat::Docx << docx << "pic:cNvPr"
                                        << "name" << QStringList{"Picture 1001", "Picture 2002"};
    QTest::newRow("docx numberings") << BookFormat::Docx << docx << "w:numId"
                                     << "w:val" << QStringList{"1", "1", "2", "2", "3", "3", "4", "4"};
    QTest::newRow("odt pictures") << BookFormat::Odt << odt << "draw:image"
                                  << "xlink:href"
                                  << QStringList{"Pictures/image1.png", "Pictures/image2.png"};
    QTest::newRow("odt frames") << BookFormat::Odt << odt << "draw:frame"
                                << "draw:name" << QStringList{"Picture1", "Picture2"};
    QTest::newRow("odt text styles") << BookFormat::Odt << odt << "text:span"
                                     << "text:style-name" << QStringList{"T1", "T2", "T1", "T2"};
}

void tst_Publish::idsCountAcrossSections()
{
    QFETCH(BookFormat, format);
    QFETCH(QString, entry);
    QFETCH(QString, element);
    QFETCH(QString, attribute);
    QFETCH(QStringList, values);
    const QString project = test::makeBook(
        m_program.path(), QStringLiteral("Twice"), "Chapter: Soil\nSubchapter: One\nSubchapter: Two\n",
        {{{"Soil", "One"}, test::richSectionRtf()}, {{"Soil", "Two"}, test::richSectionRtf()}});
    const QString target = m_program.path() + QStringLiteral("/twice.") +
                           (format == BookFormat::Docx ? QStringLiteral("docx") : QStringLiteral("odt"));
    QVERIFY(exportBook(project, target, format).result.ok());
    QXmlStreamReader xml(zipEntry(test::readFile(target), entry));
    QStringList found;
    while (!xml.atEnd()) {
        // Table-of-contents links point at bookmarks, not relationships: they have no r:id.
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.qualifiedName() == element &&
            xml.attributes().hasAttribute(attribute)) {
            found.append(xml.attributes().value(attribute).toString());
        }
    }
    QVERIFY(!xml.hasError());
    QCOMPARE(found, values);
}

void tst_Publish::readingAheadGivesTheSameFile_data()
{
    QTest::addColumn<BookFormat>("format");
    for (const FormatChoice& choice : formatChoices()) {
        if (choice.format != BookFormat::Text) {
            QTest::newRow(qPrintable(choice.suffix)) << choice.format;
        }
    }
}

// Sections read on worker threads reach the writer in book order: the file is the one reading
// every section on the calling thread gives (the export's date aside).
void tst_Publish::readingAheadGivesTheSameFile()
{
    QFETCH(BookFormat, format);
    QByteArray toc;
    QList<std::pair<QStringList, QByteArray>> contents;
    for (int c = 1; c <= 3; ++c) {
        toc += "Chapter: C" + QByteArray::number(c) + "\n";
        for (int s = 1; s <= 5; ++s) {
            const QByteArray section = "S" + QByteArray::number(c) + QByteArray::number(s);
            toc += "Subchapter: " + section + "\n";
            // Every section has lists, links and pictures, which the writers number across the book.
            contents.append(
                {{QStringLiteral("C%1").arg(c), QString::fromLatin1(section)},
                 s % 2 ? test::richSectionRtf() : "{\\rtf1\\ansi Section " + section + " {\\b bold}.\\par}"});
        }
    }
    const QString project = test::makeBook(m_program.path(), QStringLiteral("Ahead Book"), toc, contents);
    const QString suffix =
        format == BookFormat::Markdown ? QStringLiteral("md") : formatChoices().at(int(format)).suffix;
    QList<QList<std::pair<QString, QByteArray>>> files;
    for (const int threads : {0, 3}) {
        const QString folder = m_program.path() + QStringLiteral("/threads-%1").arg(threads);
        QDir().mkpath(folder);
        const QString target = folder + QStringLiteral("/book.") + suffix;
        const ExportOutcome outcome = exportBook(project, target, format, {}, threads);
        QVERIFY2(outcome.result.ok(), qPrintable(outcome.result.text()));
        files.append(comparableParts(target));
        if (format == BookFormat::Markdown) {
            for (const QString& picture :
                 QDir(folder + QStringLiteral("/book_files")).entryList(QDir::Files)) {
                files.last().append(
                    {picture, test::readFile(folder + QStringLiteral("/book_files/") + picture)});
            }
        }
    }
    QVERIFY(files.at(0).size() > 0);
    QCOMPARE(files.at(1), files.at(0));
}

void tst_Publish::failuresLeaveTheOldFile_data()
{
    QTest::addColumn<BookFormat>("format");
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("reason");
    for (const FormatChoice& choice : formatChoices()) {
        QTest::addRow("%s, file-size limit", qPrintable(choice.suffix))
            << choice.format << "size limit" << QStringLiteral("File too large");
    }
    QTest::newRow("docx, content not RTF")
        << BookFormat::Docx << "not rtf" << QStringLiteral("Worms\nThe content file is not an RTF document.");
    QTest::newRow("text, content not RTF")
        << BookFormat::Text << "not rtf" << QStringLiteral("Worms\nThe content file is not an RTF document.");
    QTest::newRow("epub, content unreadable")
        << BookFormat::Epub << "unreadable" << QStringLiteral("Worms\n");
    QTest::newRow("html, cancelled") << BookFormat::Html << "cancel"
                                     << QStringLiteral("The export was cancelled.");
}

void tst_Publish::failuresLeaveTheOldFile()
{
    QFETCH(BookFormat, format);
    QFETCH(QString, fault);
    QFETCH(QString, reason);
    const QString project = test::makeSampleBook(m_program.path(), QStringLiteral("Garden Book"));
    const QString worms = project + QStringLiteral("/soil---worms.txt");
    QVERIFY(QFileInfo::exists(worms));
    if (fault == QLatin1String("not rtf")) {
        QVERIFY(test::writeFile(worms, "plain words, no RTF"));
    }
    if (fault == QLatin1String("unreadable")) {
        if (::geteuid() == 0) {
            QSKIP("root reads files without read permission");
        }
        QVERIFY(QFile::setPermissions(worms, QFileDevice::WriteOwner));
    }
    const QString folder = m_program.path() + QStringLiteral("/out-") + QTest::currentDataTag();
    QDir().mkpath(folder);
    QString suffix;
    for (const FormatChoice& choice : formatChoices()) {
        suffix = choice.format == format ? choice.suffix : suffix;
    }
    const QString target = folder + QStringLiteral("/book.") + suffix;
    const QByteArray old(100, 'o');
    QVERIFY(test::writeFile(target, old));
    const QStringList before = test::treeListing(folder);

    ExportOutcome outcome;
    {
        std::optional<test::FileSizeLimit> limit;
        if (fault == QLatin1String("size limit")) {
            limit.emplace(300);
        }
        outcome = exportBook(project, target, format, [&fault](int done, int) {
            return !(fault == QLatin1String("cancel") && done == 2);
        });
    }
    QFile::setPermissions(worms, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    QVERIFY(!outcome.result.ok());
    QCOMPARE(outcome.cancelled, fault == QLatin1String("cancel"));
    QCOMPARE(outcome.result.message(), QStringLiteral("The book could not be exported."));
    QVERIFY2(outcome.result.reason().startsWith(reason), qPrintable(outcome.result.reason()));
    QCOMPARE(test::readFile(target), old);
    QCOMPARE(test::treeListing(folder), before);
}

void tst_Publish::killedExportLeavesTheOldFile_data()
{
    QTest::addColumn<BookFormat>("format");
    QTest::addColumn<int>("killAtStep");
    QTest::newRow("docx, first chunk") << BookFormat::Docx << 1;
    QTest::newRow("epub, first chunk") << BookFormat::Epub << 1;
    QTest::newRow("markdown, folder renamed") << BookFormat::Markdown << 2;
    QTest::newRow("markdown, picture being written") << BookFormat::Markdown << 1;
}

// The export runs in a child process that kills itself at a step of the write.
void tst_Publish::killedExportLeavesTheOldFile()
{
    QFETCH(BookFormat, format);
    QFETCH(int, killAtStep);
    QString text;
    for (int i = 0; i < 3000; ++i) {
        text += QStringLiteral("Sentence %1 of a long section. ").arg(i);
    }
    const QString project =
        test::makeBook(m_program.path(), QStringLiteral("Kill Book"), "Chapter: One\nSubchapter: A\n",
                       {{{"One", "A"}, test::richSectionRtf() + "{\\rtf1 " + text.toUtf8() + "}"}});
    QVERIFY(test::writeFile(project + QStringLiteral("/one---a.txt"),
                            test::richSectionRtf().chopped(1) + "\\par " + text.toUtf8() + "}"));
    const QString target = m_program.path() + QStringLiteral("/killed.") +
                           (format == BookFormat::Docx   ? "docx"
                            : format == BookFormat::Epub ? "epub"
                                                         : "md");
    QVERIFY(test::writeFile(target, "old file"));
    const QStringList before = test::treeListing(m_program.path());

    const pid_t child = ::fork();
    if (child == 0) {
        int steps = 0;
        const bool renames = format == BookFormat::Markdown && killAtStep == 2;
        setStepHook([&steps, killAtStep, renames](const Step& step) {
            if ((qstrcmp(step.kind, "rename") == 0) == renames && ++steps == killAtStep) {
                ::kill(::getpid(), SIGKILL);
            }
        });
        (void)exportBook(project, target, format);
        ::_exit(0);
    }
    int status = 0;
    QCOMPARE(::waitpid(child, &status, 0), child);
    QVERIFY(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
    QCOMPARE(test::readFile(target), QByteArray("old file"));
    // Only the atomic write's own temporary file or the hidden picture folder may be left.
    for (const QString& entry : test::treeListing(m_program.path())) {
        QVERIFY2(before.contains(entry) || QFileInfo(entry).fileName().startsWith(QLatin1Char('.')) ||
                     entry.section(QLatin1Char('/'), 0, 0).startsWith(QLatin1Char('.')) ||
                     entry.startsWith(QLatin1String("killed_files")),
                 qPrintable(entry));
    }
}

void tst_Publish::markdownPicturesFolderIsAllOrNothing()
{
    const QString project = test::makeSampleBook(m_program.path(), QStringLiteral("Garden Book"));
    const QString folder = m_program.path() + QStringLiteral("/md");
    QDir().mkpath(folder);
    const QString target = folder + QStringLiteral("/garden.md");
    QVERIFY(exportBook(project, target, BookFormat::Markdown).result.ok());
    const QString markdown = QString::fromUtf8(test::readFile(target));
    QVERIFY(markdown.contains(QStringLiteral("](<garden_files/image1.png>)")));
    QVERIFY(QFileInfo(folder + QStringLiteral("/garden_files/image1.png")).isFile());
    const QStringList before = test::treeListing(folder);
    // Replacing the pair fails at the Markdown file: the old file and the old folder stay.
    QVERIFY(test::writeFile(folder + QStringLiteral("/garden_files/image1.png"), "old picture"));
    QVERIFY(QFile::setPermissions(target, QFileDevice::ReadOwner));
    const ExportOutcome outcome = exportBook(project, target, BookFormat::Markdown);
    QFile::setPermissions(target, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    QVERIFY(!outcome.result.ok());
    QCOMPARE(test::treeListing(folder), before);
    QCOMPARE(test::readFile(folder + QStringLiteral("/garden_files/image1.png")), QByteArray("old picture"));
    QCOMPARE(QString::fromUtf8(test::readFile(target)), markdown);
}

void tst_Publish::commandLine_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("action");
    QTest::addColumn<int>("exitCode");
    const int windows = int(CommandLine::Action::Windows);
    const int exporting = int(CommandLine::Action::Export);
    const int usage = int(CommandLine::Action::UsageError);
    QTest::newRow("none") << QStringList() << windows << -1;
    QTest::newRow("Qt's own option") << QStringList{"-platform", "xcb"} << windows << -1;
    QTest::newRow("help") << QStringList{"--help"} << int(CommandLine::Action::Help) << -1;
    QTest::newRow("export") << QStringList{"--export", "out.docx", "--project", "Garden Book"} << exporting
                            << 0;
    QTest::newRow("project first") << QStringList{"--project", "Garden Book", "--export", "o.EPUB"}
                                   << exporting << 0;
    QTest::newRow("unknown extension")
        << QStringList{"--export", "out.pdf", "--project", "Garden Book"} << exporting << 2;
    QTest::newRow("unknown project") << QStringList{"--export", "out.md", "--project", "Nope"} << exporting
                                     << 1;
    QTest::newRow("path as project") << QStringList{"--export", "out.md", "--project", "../x"} << exporting
                                     << 2;
    QTest::newRow("no project") << QStringList{"--export", "out.docx"} << usage << -1;
    QTest::newRow("no file") << QStringList{"--project", "Garden Book", "--export"} << usage << -1;
    QTest::newRow("unknown option") << QStringList{"--exports", "x"} << usage << -1;
}

void tst_Publish::commandLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, action);
    QFETCH(int, exitCode);
    const CommandLine command = parseCommandLine(arguments);
    QCOMPARE(int(command.action), action);
    if (exitCode < 0) {
        return;
    }
    test::makeSampleBook(m_program.path(), QStringLiteral("Garden Book"));
    CommandLine inFolder = command;
    inFolder.file = m_program.path() + QLatin1Char('/') + command.file;
    QString error;
    QCOMPARE(runExportCommand(m_program.path(), inFolder, error), exitCode);
    QCOMPARE(error.isEmpty(), exitCode == 0);
    QCOMPARE(QFileInfo::exists(inFolder.file), exitCode == 0);
}

QTEST_MAIN(tst_Publish)
#include "tst_publish.moc"
