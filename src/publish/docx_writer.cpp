// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "publish/format_writer.h"
#include "support/zip_archive.h"

#include <QCoreApplication>
#include <QXmlStreamWriter>

namespace folioneer::publish {

namespace {

constexpr int kDeepestHeading = 9;
constexpr double kEmuPerPixel = 9525;
constexpr int kTextWidthTwips = 11906 - 2 * 1440; // A4 less the margins endDocument() sets

const QString kRelationships =
    QStringLiteral("http://schemas.openxmlformats.org/officeDocument/2006/relationships");

QString tr(const char* text)
{
    return QCoreApplication::translate("Publish", text);
}

const QString kMain = QStringLiteral("http://schemas.openxmlformats.org/wordprocessingml/2006/main");
const QString kPackageRelationships =
    QStringLiteral("http://schemas.openxmlformats.org/package/2006/relationships");

// A whole XML part: the declaration, what `write` writes, the end.
template <typename Write> QByteArray xmlPart(const Write& write)
{
    QByteArray out;
    QXmlStreamWriter xml(&out);
    xml.writeStartDocument(QStringLiteral("1.0"), true);
    write(xml);
    xml.writeEndDocument();
    return out;
}

// The paragraph and character styles the document uses: real Word style ids, so Word's
// navigation pane, LibreOffice's navigator and converters see chapters and sections.
QByteArray stylesPart()
{
    QByteArray out;
    QXmlStreamWriter xml(&out);
    xml.writeStartDocument();
    xml.writeStartElement("w:styles");
    xml.writeAttribute("xmlns:w", kMain);
    xml.writeStartElement("w:docDefaults");
    xml.writeStartElement("w:rPrDefault");
    xml.writeStartElement("w:rPr");
    xml.writeEmptyElement("w:sz");
    xml.writeAttribute("w:val", "24");
    xml.writeEndElement();
    xml.writeEndElement();
    xml.writeStartElement("w:pPrDefault");
    xml.writeStartElement("w:pPr");
    xml.writeEmptyElement("w:spacing");
    xml.writeAttribute("w:after", "160");
    xml.writeAttribute("w:line", "276");
    xml.writeAttribute("w:lineRule", "auto");
    xml.writeEndElement();
    xml.writeEndElement();
    xml.writeEndElement();

    struct Style {
        QString id;
        QString name;
        int outline;    // -1: not a heading
        int halfPoints; // 0: default size
        bool bold;
        bool italic;
        bool pageBreak;
        int indentTwips;
    };
    QList<Style> styles{
        {QStringLiteral("Normal"), QStringLiteral("Normal"), -1, 0, false, false, false, 0},
        {QStringLiteral("Title"), QStringLiteral("Title"), -1, 56, true, false, false, 0},
        {QStringLiteral("Subtitle"), QStringLiteral("Subtitle"), -1, 32, false, true, false, 0},
        {QStringLiteral("TOCHeading"), QStringLiteral("TOC Heading"), -1, 32, true, false, true, 0},
        {QStringLiteral("TOC1"), QStringLiteral("toc 1"), -1, 0, false, false, false, 0},
        {QStringLiteral("TOC2"), QStringLiteral("toc 2"), -1, 0, false, false, false, 240},
        {QStringLiteral("ListParagraph"), QStringLiteral("List Paragraph"), -1, 0, false, false, false, 720},
    };
    for (int level = 1; level <= kDeepestHeading; ++level) {
        const int size = level == 1 ? 40 : level == 2 ? 32 : level == 3 ? 28 : 24;
        styles.append({QStringLiteral("Heading%1").arg(level), QStringLiteral("heading %1").arg(level),
                       level - 1, size, true, level > 3, level == 1, 0});
    }
    for (const Style& style : styles) {
        xml.writeStartElement("w:style");
        xml.writeAttribute("w:type", "paragraph");
        if (style.id == QLatin1String("Normal")) {
            xml.writeAttribute("w:default", "1");
        }
        xml.writeAttribute("w:styleId", style.id);
        xml.writeEmptyElement("w:name");
        xml.writeAttribute("w:val", style.name);
        if (style.id != QLatin1String("Normal")) {
            xml.writeEmptyElement("w:basedOn");
            xml.writeAttribute("w:val", "Normal");
            xml.writeEmptyElement("w:next");
            xml.writeAttribute("w:val", "Normal");
        }
        if (style.outline >= 0 || style.id.startsWith(QLatin1String("TOC")) ||
            style.id == QLatin1String("Title")) {
            xml.writeEmptyElement("w:uiPriority");
            xml.writeAttribute("w:val", style.outline >= 0 ? "9" : "10");
            xml.writeEmptyElement("w:qFormat");
        }
        xml.writeStartElement("w:pPr");
        if (style.outline >= 0) {
            xml.writeEmptyElement("w:keepNext");
        }
        if (style.pageBreak) {
            xml.writeEmptyElement("w:pageBreakBefore");
        }
        if (style.outline >= 0) {
            xml.writeEmptyElement("w:spacing");
            xml.writeAttribute("w:before", "240");
            xml.writeAttribute("w:after", "120");
        }
        if (style.indentTwips > 0) {
            xml.writeEmptyElement("w:ind");
            xml.writeAttribute("w:left", QString::number(style.indentTwips));
        }
        if (style.id == QLatin1String("Title") || style.id == QLatin1String("Subtitle")) {
            xml.writeEmptyElement("w:jc");
            xml.writeAttribute("w:val", "center");
        }
        if (style.outline >= 0) {
            xml.writeEmptyElement("w:outlineLvl");
            xml.writeAttribute("w:val", QString::number(style.outline));
        }
        xml.writeEndElement();
        xml.writeStartElement("w:rPr");
        if (style.bold) {
            xml.writeEmptyElement("w:b");
        }
        if (style.italic) {
            xml.writeEmptyElement("w:i");
        }
        if (style.halfPoints > 0) {
            xml.writeEmptyElement("w:sz");
            xml.writeAttribute("w:val", QString::number(style.halfPoints));
        }
        xml.writeEndElement();
        xml.writeEndElement();
    }
    const auto characterStyle = [&xml](const char* id, const char* name, const char* color) {
        xml.writeStartElement("w:style");
        xml.writeAttribute("w:type", "character");
        xml.writeAttribute("w:styleId", id);
        xml.writeEmptyElement("w:name");
        xml.writeAttribute("w:val", name);
        xml.writeStartElement("w:rPr");
        xml.writeEmptyElement("w:color");
        xml.writeAttribute("w:val", color);
        xml.writeEmptyElement("w:u");
        xml.writeAttribute("w:val", "single");
        xml.writeEndElement();
        xml.writeEndElement();
    };
    characterStyle("Hyperlink", "Hyperlink", "0563C1");
    xml.writeStartElement("w:style");
    xml.writeAttribute("w:type", "table");
    xml.writeAttribute("w:styleId", "TableGrid");
    xml.writeEmptyElement("w:name");
    xml.writeAttribute("w:val", "Table Grid");
    xml.writeStartElement("w:tblPr");
    xml.writeStartElement("w:tblBorders");
    for (const char* side : {"w:top", "w:left", "w:bottom", "w:right", "w:insideH", "w:insideV"}) {
        xml.writeEmptyElement(side);
        xml.writeAttribute("w:val", "single");
        xml.writeAttribute("w:sz", "4");
        xml.writeAttribute("w:space", "0");
        xml.writeAttribute("w:color", "auto");
    }
    xml.writeEndElement();
    xml.writeEndElement();
    xml.writeEndElement();
    xml.writeEndElement();
    xml.writeEndDocument();
    return out;
}

void runProperties(QXmlStreamWriter& xml, const Run& look, bool link)
{
    xml.writeStartElement(QStringLiteral("w:rPr"));
    if (link) {
        xml.writeEmptyElement(QStringLiteral("w:rStyle"));
        xml.writeAttribute(QStringLiteral("w:val"), QStringLiteral("Hyperlink"));
    }
    if (look.bold) {
        xml.writeEmptyElement(QStringLiteral("w:b"));
    }
    if (look.italic) {
        xml.writeEmptyElement(QStringLiteral("w:i"));
    }
    if (look.strike) {
        xml.writeEmptyElement(QStringLiteral("w:strike"));
    }
    if (look.color.isValid()) {
        xml.writeEmptyElement(QStringLiteral("w:color"));
        xml.writeAttribute(QStringLiteral("w:val"), look.color.name().mid(1).toUpper());
    }
    if (look.pointSize > 0) {
        xml.writeEmptyElement(QStringLiteral("w:sz"));
        xml.writeAttribute(QStringLiteral("w:val"), QString::number(qRound(look.pointSize * 2)));
    }
    if (look.underline) {
        xml.writeEmptyElement(QStringLiteral("w:u"));
        xml.writeAttribute(QStringLiteral("w:val"), QStringLiteral("single"));
    }
    xml.writeEndElement();
}

// Without xml:space="preserve" a reader may drop the blanks at either end of a text element
// and fold a row of them into one.
void textElement(QXmlStreamWriter& xml, const QString& text)
{
    xml.writeStartElement(QStringLiteral("w:t"));
    if (text.startsWith(QLatin1Char(' ')) || text.endsWith(QLatin1Char(' ')) ||
        text.contains(QLatin1String("  "))) {
        xml.writeAttribute(QStringLiteral("xml:space"), QStringLiteral("preserve"));
    }
    xml.writeCharacters(text);
    xml.writeEndElement();
}

// One text element per piece between TABs and line breaks, which Word writes as elements of
// their own.
void textRun(QXmlStreamWriter& xml, const QString& text, const Run& look, bool link = false)
{
    xml.writeStartElement(QStringLiteral("w:r"));
    // A run of the default look has no properties element at all.
    if (link || look.bold || look.italic || look.strike || look.color.isValid() || look.pointSize > 0 ||
        look.underline) {
        runProperties(xml, look, link);
    }
    qsizetype start = 0;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        const bool end = i == text.size();
        const QChar c = end ? QChar() : text.at(i);
        if (!end && c != QLatin1Char('\t') && c != QChar::LineSeparator && c != QLatin1Char('\n') &&
            c != QLatin1Char('\r')) {
            continue;
        }
        if (i > start) {
            textElement(xml, start == 0 && end ? text : text.mid(start, i - start));
        }
        if (!end) {
            xml.writeEmptyElement(c == QLatin1Char('\t') ? QStringLiteral("w:tab") : QStringLiteral("w:br"));
        }
        start = i + 1;
    }
    xml.writeEndElement();
}

// What DocxWriter fills into a section's content: the numbering of a list, the relationship of a
// picture and of a link, the id of a drawing.
enum SlotKind { kNumbering, kPicture, kDrawing, kLink };

struct DocxDraft : SectionDraft {
    QList<bool> lists; ///< the section's lists in order of their first item: numbered or not
    QStringList links; ///< the section's link targets in order of first use
    int drawings = 0;
};

// Writes a section's blocks into a draft, on a reader thread: paragraphs, lists, tables, links
// and pictures. The ids counted across the book are slots DocxWriter fills in.
class DocxContent {
public:
    explicit DocxContent(DocxDraft& draft) : m_draft(draft), m_xml(&draft.xml) {}

    void blocks(const Flow& flow, const QList<Block>& blocks)
    {
        for (const Block& block : blocks) {
            if (block.table) {
                table(flow, *block.table);
            } else {
                contentParagraph(flow, block.paragraph);
            }
        }
    }

private:
    void table(const Flow& flow, const Table& table)
    {
        m_xml.writeStartElement(QStringLiteral("w:tbl"));
        m_xml.writeStartElement(QStringLiteral("w:tblPr"));
        m_xml.writeEmptyElement(QStringLiteral("w:tblStyle"));
        m_xml.writeAttribute(QStringLiteral("w:val"), QStringLiteral("TableGrid"));
        m_xml.writeEmptyElement(QStringLiteral("w:tblW"));
        m_xml.writeAttribute(QStringLiteral("w:w"), QStringLiteral("5000"));
        m_xml.writeAttribute(QStringLiteral("w:type"), QStringLiteral("pct"));
        m_xml.writeEndElement();
        m_xml.writeStartElement(QStringLiteral("w:tblGrid"));
        // Columns of equal width across the text block. Readers that lay the grid out from these
        // widths (pandoc) drop every cell of a grid without them.
        const int columns = std::max(1, table.columns);
        for (int c = 0; c < columns; ++c) {
            m_xml.writeEmptyElement(QStringLiteral("w:gridCol"));
            m_xml.writeAttribute(QStringLiteral("w:w"), QString::number(kTextWidthTwips / columns));
        }
        m_xml.writeEndElement();
        // A cell spanning columns is one cell with a grid span. A cell spanning rows begins a
        // vertical merge; each row below holds a placeholder cell that continues it.
        const TableGrid grid(table);
        for (int r = 0; r < table.rows.size(); ++r) {
            m_xml.writeStartElement(QStringLiteral("w:tr"));
            bool written = false;
            for (int c = 0; c < table.columns;) {
                const TableCell* cell = grid.at(r, c);
                if (!cell) {
                    ++c;
                    continue;
                }
                written = true;
                const bool begins = cell->row == r;
                m_xml.writeStartElement(QStringLiteral("w:tc"));
                if (cell->columnSpan > 1 || cell->rowSpan > 1) {
                    m_xml.writeStartElement(QStringLiteral("w:tcPr"));
                    if (cell->columnSpan > 1) {
                        m_xml.writeEmptyElement(QStringLiteral("w:gridSpan"));
                        m_xml.writeAttribute(QStringLiteral("w:val"), QString::number(cell->columnSpan));
                    }
                    if (cell->rowSpan > 1) {
                        m_xml.writeEmptyElement(QStringLiteral("w:vMerge"));
                        if (begins) {
                            m_xml.writeAttribute(QStringLiteral("w:val"), QStringLiteral("restart"));
                        }
                    }
                    m_xml.writeEndElement();
                }
                if (begins) {
                    blocks(flow, cell->blocks);
                }
                // A cell ends with a paragraph, also after a nested table.
                if (!begins || cell->blocks.isEmpty() || cell->blocks.last().table) {
                    m_xml.writeEmptyElement(QStringLiteral("w:p"));
                }
                m_xml.writeEndElement();
                c = std::max(c + 1, cell->column + cell->columnSpan);
            }
            if (!written) {
                m_xml.writeStartElement(QStringLiteral("w:tc"));
                m_xml.writeEmptyElement(QStringLiteral("w:p"));
                m_xml.writeEndElement();
            }
            m_xml.writeEndElement();
        }
        m_xml.writeEndElement();
    }

    void contentParagraph(const Flow& flow, const Paragraph& p)
    {
        const QString justification = (p.alignment & Qt::AlignHCenter)   ? QStringLiteral("center")
                                      : (p.alignment & Qt::AlignJustify) ? QStringLiteral("both")
                                      : (p.alignment & (Qt::AlignRight | Qt::AlignTrailing))
                                          ? QStringLiteral("end")
                                          : QString();
        m_xml.writeStartElement(QStringLiteral("w:p"));
        // A paragraph of the default look has no properties element at all.
        const bool properties =
            p.headingLevel > 0 || p.listLevel > 0 || p.rightToLeft || !justification.isEmpty();
        if (properties) {
            m_xml.writeStartElement(QStringLiteral("w:pPr"));
        }
        if (p.headingLevel > 0) {
            m_xml.writeEmptyElement(QStringLiteral("w:pStyle"));
            m_xml.writeAttribute(
                "w:val",
                QStringLiteral("Heading%1").arg(contentHeadingLevel(p.headingLevel, kDeepestHeading)));
        } else if (p.listLevel > 0) {
            m_xml.writeEmptyElement(QStringLiteral("w:pStyle"));
            m_xml.writeAttribute(QStringLiteral("w:val"), QStringLiteral("ListParagraph"));
            m_xml.writeStartElement(QStringLiteral("w:numPr"));
            m_xml.writeEmptyElement(QStringLiteral("w:ilvl"));
            m_xml.writeAttribute(QStringLiteral("w:val"), QString::number(std::min(p.listLevel, 9) - 1));
            m_xml.writeEmptyElement(QStringLiteral("w:numId"));
            m_draft.slotAttribute(m_xml, QStringLiteral("w:val"), kNumbering, listOf(p.listId, p.ordered));
            m_xml.writeEndElement();
        }
        if (p.rightToLeft) {
            m_xml.writeEmptyElement(QStringLiteral("w:bidi"));
        }
        if (!justification.isEmpty()) {
            m_xml.writeEmptyElement(QStringLiteral("w:jc"));
            m_xml.writeAttribute(QStringLiteral("w:val"), justification);
        }
        if (properties) {
            m_xml.writeEndElement();
        }
        for (const Run& run : p.runs) {
            if (run.picture >= 0) {
                picture(flow.pictures.at(run.picture), run.picture);
            } else if (!run.href.isEmpty()) {
                m_xml.writeStartElement(QStringLiteral("w:hyperlink"));
                m_draft.slotAttribute(m_xml, QStringLiteral("r:id"), kLink, linkOf(run.href),
                                      QStringLiteral("rId"));
                m_xml.writeAttribute(QStringLiteral("w:history"), QStringLiteral("1"));
                textRun(m_xml, run.text, run, true);
                m_xml.writeEndElement();
            } else {
                textRun(m_xml, run.text, run);
            }
        }
        m_xml.writeEndElement();
    }

    // One numbering per list, so each list restarts.
    int listOf(int listId, bool ordered)
    {
        auto it = m_lists.constFind(listId);
        if (it == m_lists.constEnd()) {
            it = m_lists.insert(listId, int(m_draft.lists.size()));
            m_draft.lists.append(ordered);
        }
        return it.value();
    }

    int linkOf(const QString& href)
    {
        auto it = m_links.constFind(href);
        if (it == m_links.constEnd()) {
            it = m_links.insert(href, int(m_draft.links.size()));
            m_draft.links.append(href);
        }
        return it.value();
    }

    void picture(const Picture& picture, int index)
    {
        const QString cx = QString::number(qRound64(picture.size.width() * kEmuPerPixel));
        const QString cy = QString::number(qRound64(picture.size.height() * kEmuPerPixel));
        const int drawing = m_draft.drawings++;
        m_xml.writeStartElement(QStringLiteral("w:r"));
        m_xml.writeStartElement(QStringLiteral("w:drawing"));
        m_xml.writeStartElement(QStringLiteral("wp:inline"));
        m_xml.writeEmptyElement(QStringLiteral("wp:extent"));
        m_xml.writeAttribute(QStringLiteral("cx"), cx);
        m_xml.writeAttribute(QStringLiteral("cy"), cy);
        m_xml.writeEmptyElement(QStringLiteral("wp:docPr"));
        m_draft.slotAttribute(m_xml, QStringLiteral("id"), kDrawing, drawing);
        m_draft.slotAttribute(m_xml, QStringLiteral("name"), kDrawing, drawing, QStringLiteral("Picture "));
        m_xml.writeStartElement(QStringLiteral("a:graphic"));
        m_xml.writeStartElement(QStringLiteral("a:graphicData"));
        m_xml.writeAttribute(QStringLiteral("uri"),
                             QStringLiteral("http://schemas.openxmlformats.org/drawingml/2006/picture"));
        m_xml.writeStartElement(QStringLiteral("pic:pic"));
        m_xml.writeStartElement(QStringLiteral("pic:nvPicPr"));
        m_xml.writeEmptyElement(QStringLiteral("pic:cNvPr"));
        m_draft.slotAttribute(m_xml, QStringLiteral("id"), kDrawing, drawing);
        m_draft.slotAttribute(m_xml, QStringLiteral("name"), kDrawing, drawing, QStringLiteral("Picture "));
        m_xml.writeEmptyElement(QStringLiteral("pic:cNvPicPr"));
        m_xml.writeEndElement();
        m_xml.writeStartElement(QStringLiteral("pic:blipFill"));
        m_xml.writeEmptyElement(QStringLiteral("a:blip"));
        m_draft.slotAttribute(m_xml, QStringLiteral("r:embed"), kPicture, index, QStringLiteral("rId"));
        m_xml.writeStartElement(QStringLiteral("a:stretch"));
        m_xml.writeEmptyElement(QStringLiteral("a:fillRect"));
        m_xml.writeEndElement();
        m_xml.writeEndElement();
        m_xml.writeStartElement(QStringLiteral("pic:spPr"));
        m_xml.writeStartElement(QStringLiteral("a:xfrm"));
        m_xml.writeEmptyElement(QStringLiteral("a:off"));
        m_xml.writeAttribute(QStringLiteral("x"), QStringLiteral("0"));
        m_xml.writeAttribute(QStringLiteral("y"), QStringLiteral("0"));
        m_xml.writeEmptyElement(QStringLiteral("a:ext"));
        m_xml.writeAttribute(QStringLiteral("cx"), cx);
        m_xml.writeAttribute(QStringLiteral("cy"), cy);
        m_xml.writeEndElement();
        m_xml.writeStartElement(QStringLiteral("a:prstGeom"));
        m_xml.writeAttribute(QStringLiteral("prst"), QStringLiteral("rect"));
        m_xml.writeEmptyElement(QStringLiteral("a:avLst"));
        m_xml.writeEndElement();
        m_xml.writeEndElement();
        m_xml.writeEndElement();
        m_xml.writeEndElement();
        m_xml.writeEndElement();
        m_xml.writeEndElement();
        m_xml.writeEndElement();
        m_xml.writeEndElement();
    }

    DocxDraft& m_draft;
    QXmlStreamWriter m_xml;
    QHash<int, int> m_lists;     // list of the section -> index in the draft's lists
    QHash<QString, int> m_links; // link target -> index in the draft's links
};

// A Word document: Title and Subtitle paragraphs, a table of contents already filled inside a
// TOC field (Word refreshes it with F9), then each chapter as Heading 1 on a new page and each
// section as Heading 2. Lists go through numbering.xml, one numbering per list so each restarts.
class DocxWriter : public FormatWriter {
public:
    DocxWriter() : m_zip(1), m_xml(&m_body) {}

    void begin(const Book& book, const QString&) override
    {
        m_book = &book;
        m_xml.writeStartDocument(QStringLiteral("1.0"), true);
        m_xml.writeStartElement(QStringLiteral("w:document"));
        m_xml.writeAttribute(QStringLiteral("xmlns:w"), kMain);
        m_xml.writeAttribute(QStringLiteral("xmlns:r"), kRelationships);
        m_xml.writeAttribute(
            QStringLiteral("xmlns:wp"),
            QStringLiteral("http://schemas.openxmlformats.org/drawingml/2006/wordprocessingDrawing"));
        m_xml.writeAttribute(QStringLiteral("xmlns:a"),
                             QStringLiteral("http://schemas.openxmlformats.org/drawingml/2006/main"));
        m_xml.writeAttribute(QStringLiteral("xmlns:pic"),
                             QStringLiteral("http://schemas.openxmlformats.org/drawingml/2006/picture"));
        m_xml.writeStartElement(QStringLiteral("w:body"));
        paragraph(QStringLiteral("Title"), headingText(book.title));
        if (!book.subtitle.isEmpty()) {
            paragraph(QStringLiteral("Subtitle"), xmlSafe(book.subtitle));
        }
        tableOfContents();
    }

    void chapter(int c) override
    {
        heading(1, bookmarkName(c, -1), headingText(m_book->chapters.at(c).title));
    }

    std::shared_ptr<const SectionDraft> draft(int, int, const Flow& flow) const override
    {
        auto draft = std::make_shared<DocxDraft>();
        DocxContent(*draft).blocks(flow, flow.blocks);
        return draft;
    }

    void writeSection(int c, int s, const Flow& flow, const SectionDraft* draft) override
    {
        heading(2, bookmarkName(c, s), headingText(m_book->chapters.at(c).sections.at(s).title));
        QStringList pictureIds;
        for (const Picture& picture : flow.pictures) {
            const QString name = QStringLiteral("media/image%1.png").arg(++m_pictureCount);
            m_zip.add(QStringLiteral("word/") + name, picture.png, ZipWriter::Method::Store);
            pictureIds.append(relationship(QStringLiteral("image"), name, false));
        }
        const std::shared_ptr<const SectionDraft> own = draft ? nullptr : this->draft(c, s, flow);
        const auto& content = static_cast<const DocxDraft&>(draft ? *draft : *own);
        // Numbers and relationships are made in the order the content first uses them.
        QList<int> numberings;
        for (const bool ordered : content.lists) {
            m_numberings.append(ordered);
            numberings.append(int(m_numberings.size()));
        }
        QStringList linkIds;
        for (const QString& href : content.links) {
            linkIds.append(linkId(href));
        }
        const int drawings = m_drawingCount;
        content.join(*m_xml.device(), [&](const SectionDraft::Slot& slot) {
            switch (slot.kind) {
            case kNumbering:
                return QByteArray::number(numberings.at(slot.index));
            case kPicture:
                return pictureIds.at(slot.index).mid(3).toLatin1();
            case kDrawing:
                return QByteArray::number(m_pictureCount * 1000 + drawings + slot.index + 1);
            default:
                return linkIds.at(slot.index).mid(3).toLatin1();
            }
        });
        m_drawingCount += content.drawings;
    }

    Result finish(const QString& path) override
    {
        m_zip.add(QStringLiteral("[Content_Types].xml"), contentTypes());
        m_zip.add(QStringLiteral("_rels/.rels"), packageRelationships());
        m_zip.add(QStringLiteral("docProps/core.xml"), coreProperties());
        m_zip.add(QStringLiteral("docProps/app.xml"), xmlPart([](QXmlStreamWriter& xml) {
                      xml.writeStartElement("Properties");
                      xml.writeAttribute(
                          "xmlns",
                          "http://schemas.openxmlformats.org/officeDocument/2006/extended-properties");
                      xml.writeTextElement("Application", "Folioneer");
                  }));
        endDocument();
        m_zip.add(QStringLiteral("word/document.xml"), m_body);
        m_zip.add(QStringLiteral("word/styles.xml"), stylesPart());
        m_zip.add(QStringLiteral("word/numbering.xml"), numbering());
        m_zip.add(QStringLiteral("word/settings.xml"), xmlPart([](QXmlStreamWriter& xml) {
                      xml.writeStartElement("w:settings");
                      xml.writeAttribute("xmlns:w", kMain);
                      xml.writeEmptyElement("w:defaultTabStop");
                      xml.writeAttribute("w:val", "720");
                      xml.writeStartElement("w:compat");
                      xml.writeEmptyElement("w:compatSetting");
                      xml.writeAttribute("w:name", "compatibilityMode");
                      xml.writeAttribute("w:uri", "http://schemas.microsoft.com/office/word");
                      xml.writeAttribute("w:val", "15");
                  }));
        m_zip.add(QStringLiteral("word/_rels/document.xml.rels"), documentRelationships());
        return writeExportArchive(path, m_zip);
    }

private:
    struct Relationship {
        QString id;
        QString type;
        QString target;
        bool external;
    };

    // Bookmark names are positions, never titles: Word allows 40 characters, letters first.
    static QString bookmarkName(int c, int s)
    {
        return s < 0 ? QStringLiteral("_Toc_c%1").arg(c + 1)
                     : QStringLiteral("_Toc_c%1_s%2").arg(c + 1).arg(s + 1);
    }

    QString relationship(const QString& type, const QString& target, bool external)
    {
        const QString id = QStringLiteral("rId%1").arg(m_relationships.size() + 10);
        m_relationships.append({id, type, target, external});
        return id;
    }

    void paragraph(const QString& style, const QString& text)
    {
        m_xml.writeStartElement(QStringLiteral("w:p"));
        paragraphStyle(style);
        textRun(m_xml, text, {});
        m_xml.writeEndElement();
    }

    void paragraphStyle(const QString& style)
    {
        m_xml.writeStartElement(QStringLiteral("w:pPr"));
        m_xml.writeEmptyElement(QStringLiteral("w:pStyle"));
        m_xml.writeAttribute(QStringLiteral("w:val"), style);
        m_xml.writeEndElement();
    }

    void heading(int level, const QString& bookmark, const QString& text)
    {
        m_xml.writeStartElement(QStringLiteral("w:p"));
        paragraphStyle(QStringLiteral("Heading%1").arg(level));
        m_xml.writeEmptyElement(QStringLiteral("w:bookmarkStart"));
        m_xml.writeAttribute(QStringLiteral("w:id"), QString::number(++m_bookmarkCount));
        m_xml.writeAttribute(QStringLiteral("w:name"), bookmark);
        textRun(m_xml, text, {});
        m_xml.writeEmptyElement(QStringLiteral("w:bookmarkEnd"));
        m_xml.writeAttribute(QStringLiteral("w:id"), QString::number(m_bookmarkCount));
        m_xml.writeEndElement();
    }

    void fieldCharacter(const char* type)
    {
        m_xml.writeStartElement(QStringLiteral("w:r"));
        m_xml.writeEmptyElement(QStringLiteral("w:fldChar"));
        m_xml.writeAttribute(QStringLiteral("w:fldCharType"), type);
        m_xml.writeEndElement();
    }

    // The entries are written out (linked, without page numbers) because LibreOffice shows a
    // TOC field's result as stored and does not compute an empty one when it opens the file.
    void tableOfContents()
    {
        paragraph(QStringLiteral("TOCHeading"), tr("Contents"));
        QList<std::pair<int, QString>> entries; // level, bookmark; text from the book
        QStringList texts;
        for (int c = 0; c < m_book->chapters.size(); ++c) {
            const BookChapter& chapter = m_book->chapters.at(c);
            entries.append({1, bookmarkName(c, -1)});
            texts.append(headingText(chapter.title));
            for (int s = 0; s < chapter.sections.size(); ++s) {
                entries.append({2, bookmarkName(c, s)});
                texts.append(headingText(chapter.sections.at(s).title));
            }
        }
        const auto beginField = [this] {
            fieldCharacter("begin");
            m_xml.writeStartElement(QStringLiteral("w:r"));
            m_xml.writeStartElement(QStringLiteral("w:instrText"));
            m_xml.writeAttribute(QStringLiteral("xml:space"), QStringLiteral("preserve"));
            m_xml.writeCharacters(QStringLiteral(" TOC \\o \"1-2\" \\h \\z \\u "));
            m_xml.writeEndElement();
            m_xml.writeEndElement();
            fieldCharacter("separate");
        };
        if (entries.isEmpty()) {
            m_xml.writeStartElement(QStringLiteral("w:p"));
            beginField();
            fieldCharacter("end");
            m_xml.writeEndElement();
            return;
        }
        for (int i = 0; i < entries.size(); ++i) {
            m_xml.writeStartElement(QStringLiteral("w:p"));
            paragraphStyle(QStringLiteral("TOC%1").arg(entries.at(i).first));
            if (i == 0) {
                beginField();
            }
            m_xml.writeStartElement(QStringLiteral("w:hyperlink"));
            m_xml.writeAttribute(QStringLiteral("w:anchor"), entries.at(i).second);
            m_xml.writeAttribute(QStringLiteral("w:history"), QStringLiteral("1"));
            textRun(m_xml, texts.at(i), {});
            m_xml.writeEndElement();
            if (i == entries.size() - 1) {
                fieldCharacter("end");
            }
            m_xml.writeEndElement();
        }
    }

    QString linkId(const QString& href)
    {
        auto it = m_links.constFind(href);
        if (it == m_links.constEnd()) {
            it = m_links.insert(href, relationship(QStringLiteral("hyperlink"), href, true));
        }
        return it.value();
    }

    // A4 pages with margins of an inch.
    void endDocument()
    {
        m_xml.writeStartElement(QStringLiteral("w:sectPr"));
        m_xml.writeEmptyElement(QStringLiteral("w:pgSz"));
        m_xml.writeAttribute(QStringLiteral("w:w"), QStringLiteral("11906"));
        m_xml.writeAttribute(QStringLiteral("w:h"), QStringLiteral("16838"));
        m_xml.writeEmptyElement(QStringLiteral("w:pgMar"));
        for (const auto& [side, twips] :
             {std::pair{"w:top", "1440"}, std::pair{"w:right", "1440"}, std::pair{"w:bottom", "1440"},
              std::pair{"w:left", "1440"}, std::pair{"w:header", "708"}, std::pair{"w:footer", "708"},
              std::pair{"w:gutter", "0"}}) {
            m_xml.writeAttribute(side, twips);
        }
        m_xml.writeEndElement();
        m_xml.writeEndDocument();
    }

    QByteArray numbering() const
    {
        QByteArray out;
        QXmlStreamWriter xml(&out);
        xml.writeStartDocument();
        xml.writeStartElement("w:numbering");
        xml.writeAttribute("xmlns:w", kMain);
        static const char* const kBullets[] = {"\u2022", "\u25E6", "\u25AA"};
        static const char* const kNumbers[] = {"decimal", "lowerLetter", "lowerRoman"};
        for (int abstract = 0; abstract < 2; ++abstract) {
            const bool ordered = abstract == 1;
            xml.writeStartElement("w:abstractNum");
            xml.writeAttribute("w:abstractNumId", QString::number(abstract));
            xml.writeEmptyElement("w:multiLevelType");
            xml.writeAttribute("w:val", "hybridMultilevel");
            for (int level = 0; level < 9; ++level) {
                xml.writeStartElement("w:lvl");
                xml.writeAttribute("w:ilvl", QString::number(level));
                xml.writeEmptyElement("w:start");
                xml.writeAttribute("w:val", "1");
                xml.writeEmptyElement("w:numFmt");
                xml.writeAttribute("w:val", ordered ? kNumbers[level % 3] : "bullet");
                xml.writeEmptyElement("w:lvlText");
                xml.writeAttribute("w:val", ordered ? QStringLiteral("%%1.").arg(level + 1)
                                                    : QString::fromUtf8(kBullets[level % 3]));
                xml.writeEmptyElement("w:lvlJc");
                xml.writeAttribute("w:val", "left");
                xml.writeStartElement("w:pPr");
                xml.writeEmptyElement("w:ind");
                xml.writeAttribute("w:left", QString::number(720 * (level + 1)));
                xml.writeAttribute("w:hanging", "360");
                xml.writeEndElement();
                xml.writeEndElement();
            }
            xml.writeEndElement();
        }
        for (int n = 0; n < m_numberings.size(); ++n) {
            xml.writeStartElement("w:num");
            xml.writeAttribute("w:numId", QString::number(n + 1));
            xml.writeEmptyElement("w:abstractNumId");
            xml.writeAttribute("w:val", m_numberings.at(n) ? "1" : "0");
            xml.writeEndElement();
        }
        xml.writeEndElement();
        xml.writeEndDocument();
        return out;
    }

    static QByteArray contentTypes()
    {
        return xmlPart([](QXmlStreamWriter& xml) {
            xml.writeStartElement("Types");
            xml.writeAttribute("xmlns", "http://schemas.openxmlformats.org/package/2006/content-types");
            for (const auto& [extension, type] :
                 {std::pair{"rels", "application/vnd.openxmlformats-package.relationships+xml"},
                  std::pair{"xml", "application/xml"}, std::pair{"png", "image/png"}}) {
                xml.writeEmptyElement("Default");
                xml.writeAttribute("Extension", extension);
                xml.writeAttribute("ContentType", type);
            }
            const QString main =
                QStringLiteral("application/vnd.openxmlformats-officedocument.wordprocessingml.");
            for (const auto& [part, type] :
                 {std::pair{QStringLiteral("/word/document.xml"), main + QStringLiteral("document.main+xml")},
                  std::pair{QStringLiteral("/word/styles.xml"), main + QStringLiteral("styles+xml")},
                  std::pair{QStringLiteral("/word/numbering.xml"), main + QStringLiteral("numbering+xml")},
                  std::pair{QStringLiteral("/word/settings.xml"), main + QStringLiteral("settings+xml")},
                  std::pair{QStringLiteral("/docProps/core.xml"),
                            QStringLiteral("application/vnd.openxmlformats-package.core-properties+xml")},
                  std::pair{QStringLiteral("/docProps/app.xml"),
                            QStringLiteral(
                                "application/vnd.openxmlformats-officedocument.extended-properties+xml")}}) {
                xml.writeEmptyElement("Override");
                xml.writeAttribute("PartName", part);
                xml.writeAttribute("ContentType", type);
            }
        });
    }

    static QByteArray packageRelationships()
    {
        return xmlPart([](QXmlStreamWriter& xml) {
            xml.writeStartElement("Relationships");
            xml.writeAttribute("xmlns", kPackageRelationships);
            for (const auto& [id, type, target] :
                 {std::tuple{"rId1", kRelationships + QStringLiteral("/officeDocument"), "word/document.xml"},
                  std::tuple{"rId2",
                             QStringLiteral("http://schemas.openxmlformats.org/package/2006/relationships/"
                                            "metadata/core-properties"),
                             "docProps/core.xml"},
                  std::tuple{"rId3", kRelationships + QStringLiteral("/extended-properties"),
                             "docProps/app.xml"}}) {
                xml.writeEmptyElement("Relationship");
                xml.writeAttribute("Id", id);
                xml.writeAttribute("Type", type);
                xml.writeAttribute("Target", target);
            }
        });
    }

    QByteArray documentRelationships() const
    {
        QByteArray out;
        QXmlStreamWriter xml(&out);
        xml.writeStartDocument();
        xml.writeStartElement("Relationships");
        xml.writeAttribute("xmlns", kPackageRelationships);
        const auto write = [&xml](const Relationship& r) {
            xml.writeEmptyElement("Relationship");
            xml.writeAttribute("Id", r.id);
            xml.writeAttribute("Type", kRelationships + QLatin1Char('/') + r.type);
            xml.writeAttribute("Target", r.target);
            if (r.external) {
                xml.writeAttribute("TargetMode", "External");
            }
        };
        write({QStringLiteral("rId1"), QStringLiteral("styles"), QStringLiteral("styles.xml"), false});
        write({QStringLiteral("rId2"), QStringLiteral("numbering"), QStringLiteral("numbering.xml"), false});
        write({QStringLiteral("rId3"), QStringLiteral("settings"), QStringLiteral("settings.xml"), false});
        for (const Relationship& r : m_relationships) {
            write(r);
        }
        xml.writeEndElement();
        xml.writeEndDocument();
        return out;
    }

    QByteArray coreProperties() const
    {
        QByteArray out;
        QXmlStreamWriter xml(&out);
        xml.writeStartDocument();
        xml.writeStartElement("cp:coreProperties");
        xml.writeAttribute("xmlns:cp",
                           "http://schemas.openxmlformats.org/package/2006/metadata/core-properties");
        xml.writeAttribute("xmlns:dc", "http://purl.org/dc/elements/1.1/");
        xml.writeAttribute("xmlns:dcterms", "http://purl.org/dc/terms/");
        xml.writeAttribute("xmlns:xsi", "http://www.w3.org/2001/XMLSchema-instance");
        xml.writeTextElement("dc:title", headingText(m_book->title));
        if (!m_book->subtitle.isEmpty()) {
            xml.writeTextElement("dc:subject", xmlSafe(m_book->subtitle));
        }
        xml.writeStartElement("dcterms:created");
        xml.writeAttribute("xsi:type", "dcterms:W3CDTF");
        xml.writeCharacters(w3cDateTimeNow());
        xml.writeEndElement();
        xml.writeEndElement();
        xml.writeEndDocument();
        return out;
    }

    const Book* m_book = nullptr;
    ZipWriter m_zip;
    QByteArray m_body;
    QXmlStreamWriter m_xml;
    QList<Relationship> m_relationships;
    QHash<QString, QString> m_links;
    QList<bool> m_numberings; // numId - 1 -> ordered
    int m_pictureCount = 0;
    int m_drawingCount = 0;
    int m_bookmarkCount = 0;
};

} // namespace

std::unique_ptr<FormatWriter> makeDocxWriter()
{
    return std::make_unique<DocxWriter>();
}

} // namespace folioneer::publish
