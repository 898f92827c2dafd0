// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "publish/format_writer.h"
#include "support/zip_archive.h"

#include <QBuffer>
#include <QHash>
#include <QXmlStreamWriter>

namespace folioneer::publish {

namespace {

constexpr int kDeepestHeading = 9;

const char* const kNamespaces[][2] = {
    {"xmlns:office", "urn:oasis:names:tc:opendocument:xmlns:office:1.0"},
    {"xmlns:style", "urn:oasis:names:tc:opendocument:xmlns:style:1.0"},
    {"xmlns:text", "urn:oasis:names:tc:opendocument:xmlns:text:1.0"},
    {"xmlns:table", "urn:oasis:names:tc:opendocument:xmlns:table:1.0"},
    {"xmlns:draw", "urn:oasis:names:tc:opendocument:xmlns:drawing:1.0"},
    {"xmlns:fo", "urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0"},
    {"xmlns:xlink", "http://www.w3.org/1999/xlink"},
    {"xmlns:dc", "http://purl.org/dc/elements/1.1/"},
    {"xmlns:meta", "urn:oasis:names:tc:opendocument:xmlns:meta:1.0"},
    {"xmlns:svg", "urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0"},
};

void startRoot(QXmlStreamWriter& xml, const char* name)
{
    xml.writeStartDocument();
    xml.writeStartElement(name);
    for (const auto& ns : kNamespaces) {
        xml.writeAttribute(ns[0], ns[1]);
    }
    xml.writeAttribute("office:version", "1.3");
}

QString headingStyle(int level)
{
    return QStringLiteral("Heading_20_%1").arg(level);
}

void paragraphStyle(QXmlStreamWriter& xml, const QString& name, const QString& display, const QString& parent,
                    const std::function<void()>& properties)
{
    xml.writeStartElement("style:style");
    xml.writeAttribute("style:name", name);
    if (!display.isEmpty()) {
        xml.writeAttribute("style:display-name", display);
    }
    xml.writeAttribute("style:family", "paragraph");
    if (!parent.isEmpty()) {
        xml.writeAttribute("style:parent-style-name", parent);
    }
    properties();
    xml.writeEndElement();
}

QByteArray stylesPart()
{
    QByteArray out;
    QXmlStreamWriter xml(&out);
    startRoot(xml, "office:document-styles");
    xml.writeStartElement("office:styles");
    xml.writeStartElement("style:default-style");
    xml.writeAttribute("style:family", "paragraph");
    xml.writeEmptyElement("style:text-properties");
    xml.writeAttribute("fo:font-size", "12pt");
    xml.writeEndElement();
    paragraphStyle(xml, QStringLiteral("Standard"), {}, {}, [&xml] {
        xml.writeEmptyElement("style:paragraph-properties");
        xml.writeAttribute("fo:margin-bottom", "0.25cm");
    });
    paragraphStyle(xml, QStringLiteral("Heading"), {}, QStringLiteral("Standard"), [&xml] {
        xml.writeEmptyElement("style:paragraph-properties");
        xml.writeAttribute("fo:margin-top", "0.42cm");
        xml.writeAttribute("fo:keep-with-next", "always");
        xml.writeEmptyElement("style:text-properties");
        xml.writeAttribute("fo:font-weight", "bold");
    });
    for (int level = 1; level <= kDeepestHeading; ++level) {
        xml.writeStartElement("style:style");
        xml.writeAttribute("style:name", headingStyle(level));
        xml.writeAttribute("style:display-name", QStringLiteral("Heading %1").arg(level));
        xml.writeAttribute("style:family", "paragraph");
        xml.writeAttribute("style:parent-style-name", "Heading");
        xml.writeAttribute("style:next-style-name", "Standard");
        xml.writeAttribute("style:default-outline-level", QString::number(level));
        xml.writeAttribute("style:class", "text");
        if (level == 1) {
            xml.writeEmptyElement("style:paragraph-properties");
            xml.writeAttribute("fo:break-before", "page");
        }
        xml.writeEmptyElement("style:text-properties");
        xml.writeAttribute("fo:font-size", level == 1   ? "20pt"
                                           : level == 2 ? "16pt"
                                           : level == 3 ? "14pt"
                                                        : "12pt");
        xml.writeEndElement();
    }
    for (const auto& [name, size, italic] :
         {std::tuple{"Title", "28pt", false}, std::tuple{"Subtitle", "16pt", true}}) {
        paragraphStyle(xml, QString::fromLatin1(name), {}, QStringLiteral("Standard"),
                       [&xml, size = size, italic = italic] {
                           xml.writeEmptyElement("style:paragraph-properties");
                           xml.writeAttribute("fo:text-align", "center");
                           xml.writeEmptyElement("style:text-properties");
                           xml.writeAttribute("fo:font-size", size);
                           xml.writeAttribute(italic ? "fo:font-style" : "fo:font-weight",
                                              italic ? "italic" : "bold");
                       });
    }
    xml.writeStartElement("text:outline-style");
    xml.writeAttribute("style:name", "Outline");
    for (int level = 1; level <= 10; ++level) {
        xml.writeEmptyElement("text:outline-level-style");
        xml.writeAttribute("text:level", QString::number(level));
        xml.writeAttribute("style:num-format", "");
    }
    xml.writeEndElement();
    xml.writeEndElement();
    xml.writeEndElement();
    xml.writeEndDocument();
    return out;
}

// Text that needs no element for its white space: no TAB, no line break, no blank at the
// start and no row of blanks.
bool isPlainText(const QString& text)
{
    char16_t previous = u' ';
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u == u'\t' || u == u'\n' || u == u'\r' || u == QChar::LineSeparator ||
            (u == u' ' && previous == u' ')) {
            return false;
        }
        previous = u;
    }
    return true;
}

// Runs of spaces, TABs and line breaks are elements: ODF collapses white space in text.
void characters(QXmlStreamWriter& xml, const QString& text)
{
    if (isPlainText(text)) {
        xml.writeCharacters(text);
        return;
    }
    QString pending;
    const auto flush = [&] {
        if (!pending.isEmpty()) {
            xml.writeCharacters(pending);
            pending.clear();
        }
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char(' ')) {
            qsizetype n = 1;
            while (i + n < text.size() && text.at(i + n) == QLatin1Char(' ')) {
                ++n;
            }
            const bool leading = i == 0 && pending.isEmpty();
            if (n == 1 && !leading) {
                pending += c;
                continue;
            }
            flush();
            xml.writeEmptyElement(QStringLiteral("text:s"));
            if (n > 1) {
                xml.writeAttribute(QStringLiteral("text:c"), QString::number(n));
            }
            i += n - 1;
        } else if (c == QLatin1Char('\t')) {
            flush();
            xml.writeEmptyElement(QStringLiteral("text:tab"));
        } else if (c == QChar::LineSeparator || c == QLatin1Char('\n') || c == QLatin1Char('\r')) {
            flush();
            xml.writeEmptyElement(QStringLiteral("text:line-break"));
        } else {
            pending += c;
        }
    }
    flush();
}

using Properties = QList<std::pair<const char*, QString>>;

// What a run's automatic style is made of, to find the style again without building it.
struct TextLook {
    bool bold, italic, underline, strike;
    double pointSize;
    QRgb color;
    bool hasColor;
    bool operator==(const TextLook&) const = default;
    friend size_t qHash(const TextLook& look, size_t seed = 0)
    {
        return qHashMulti(seed, look.bold, look.italic, look.underline, look.strike, look.pointSize,
                          look.color, look.hasColor);
    }
};

// What OdtWriter fills into a section's content: the names of automatic styles (numbered in the
// order of their first use in the book), of tables and frames, and of pictures.
enum SlotKind { kParagraphStyle, kTextStyle, kTable, kFrame, kPictureName };

struct OdtDraft : SectionDraft {
    QList<Properties> paragraphStyles;                 ///< the section's own, in order of first use
    QList<std::pair<TextLook, Properties>> textStyles; ///< the section's own, in order of first use
    int tables = 0;
    int frames = 0;
};

// Writes a section's blocks into a draft, on a reader thread: paragraphs, lists, tables, runs and
// pictures. Names counted across the book are slots OdtWriter fills in.
class OdtContent {
public:
    explicit OdtContent(OdtDraft& draft) : m_draft(draft), m_xml(&draft.xml) {}

    void blocks(const Flow& flow, const QList<Block>& blocks)
    {
        ListNesting lists({[this](bool ordered, int level) {
                               m_xml.writeStartElement(QStringLiteral("text:list"));
                               if (level == 1) {
                                   m_xml.writeAttribute(QStringLiteral("text:style-name"),
                                                        ordered ? QStringLiteral("LNumbers")
                                                                : QStringLiteral("LBullets"));
                               }
                           },
                           [this] { m_xml.writeEndElement(); },
                           [this] { m_xml.writeStartElement(QStringLiteral("text:list-item")); },
                           [this] { m_xml.writeEndElement(); }});
        for (const Block& block : blocks) {
            if (block.table) {
                lists.closeAll();
                table(flow, *block.table);
                continue;
            }
            const Paragraph& p = block.paragraph;
            if (p.listLevel > 0) {
                lists.item(p.listLevel, p.ordered);
            } else {
                lists.closeAll();
            }
            if (p.headingLevel > 0 && p.listLevel == 0) {
                const int level = contentHeadingLevel(p.headingLevel, kDeepestHeading);
                m_xml.writeStartElement(QStringLiteral("text:h"));
                m_xml.writeAttribute(QStringLiteral("text:style-name"), headingStyle(level));
                m_xml.writeAttribute(QStringLiteral("text:outline-level"), QString::number(level));
            } else {
                m_xml.writeStartElement(QStringLiteral("text:p"));
                paragraphStyle(p);
            }
            runs(flow, p.runs);
            m_xml.writeEndElement();
        }
        lists.closeAll();
    }

private:
    void table(const Flow& flow, const Table& table)
    {
        m_xml.writeStartElement(QStringLiteral("table:table"));
        m_draft.slotAttribute(m_xml, QStringLiteral("table:name"), kTable, m_draft.tables++,
                              QStringLiteral("Table"));
        m_xml.writeAttribute(QStringLiteral("table:style-name"), QStringLiteral("TableFull"));
        m_xml.writeEmptyElement(QStringLiteral("table:table-column"));
        m_xml.writeAttribute(QStringLiteral("table:number-columns-repeated"),
                             QString::number(std::max(1, table.columns)));
        // Every place of the grid has an element: a merged cell where it begins, a covered cell
        // at each place it covers.
        const TableGrid grid(table);
        for (int r = 0; r < table.rows.size(); ++r) {
            m_xml.writeStartElement(QStringLiteral("table:table-row"));
            bool written = false;
            for (int c = 0; c < table.columns; ++c) {
                const TableCell* cell = grid.at(r, c);
                if (!cell) {
                    continue;
                }
                written = true;
                if (!grid.begins(r, c)) {
                    m_xml.writeEmptyElement(QStringLiteral("table:covered-table-cell"));
                    continue;
                }
                m_xml.writeStartElement(QStringLiteral("table:table-cell"));
                m_xml.writeAttribute(QStringLiteral("table:style-name"), QStringLiteral("CellBorder"));
                m_xml.writeAttribute(QStringLiteral("office:value-type"), QStringLiteral("string"));
                if (cell->columnSpan > 1) {
                    m_xml.writeAttribute(QStringLiteral("table:number-columns-spanned"),
                                         QString::number(cell->columnSpan));
                }
                if (cell->rowSpan > 1) {
                    m_xml.writeAttribute(QStringLiteral("table:number-rows-spanned"),
                                         QString::number(cell->rowSpan));
                }
                blocks(flow, cell->blocks);
                if (cell->blocks.isEmpty()) {
                    m_xml.writeEmptyElement(QStringLiteral("text:p"));
                }
                m_xml.writeEndElement();
            }
            if (!written) {
                m_xml.writeEmptyElement(QStringLiteral("table:table-cell"));
            }
            m_xml.writeEndElement();
        }
        m_xml.writeEndElement();
    }

    void runs(const Flow& flow, const QList<Run>& runs)
    {
        for (const Run& run : runs) {
            if (run.picture >= 0) {
                const QSizeF size = flow.pictures.at(run.picture).size;
                m_xml.writeStartElement(QStringLiteral("draw:frame"));
                m_draft.slotAttribute(m_xml, QStringLiteral("draw:name"), kFrame, m_draft.frames++,
                                      QStringLiteral("Picture"));
                m_xml.writeAttribute(QStringLiteral("text:anchor-type"), QStringLiteral("as-char"));
                m_xml.writeAttribute(QStringLiteral("svg:width"),
                                     QStringLiteral("%1in").arg(size.width() / 96.0, 0, 'f', 4));
                m_xml.writeAttribute(QStringLiteral("svg:height"),
                                     QStringLiteral("%1in").arg(size.height() / 96.0, 0, 'f', 4));
                m_xml.writeEmptyElement(QStringLiteral("draw:image"));
                m_draft.slotAttribute(m_xml, QStringLiteral("xlink:href"), kPictureName, run.picture,
                                      QStringLiteral("Pictures/image"), QStringLiteral(".png"));
                m_xml.writeAttribute(QStringLiteral("xlink:type"), QStringLiteral("simple"));
                m_xml.writeAttribute(QStringLiteral("xlink:show"), QStringLiteral("embed"));
                m_xml.writeAttribute(QStringLiteral("xlink:actuate"), QStringLiteral("onLoad"));
                m_xml.writeEndElement();
                continue;
            }
            if (!run.href.isEmpty()) {
                m_xml.writeStartElement(QStringLiteral("text:a"));
                m_xml.writeAttribute(QStringLiteral("xlink:type"), QStringLiteral("simple"));
                m_xml.writeAttribute(QStringLiteral("xlink:href"), run.href);
            }
            const int style = textStyleOf(run);
            if (style >= 0) {
                m_xml.writeStartElement(QStringLiteral("text:span"));
                m_draft.slotAttribute(m_xml, QStringLiteral("text:style-name"), kTextStyle, style,
                                      QStringLiteral("T"));
            }
            characters(m_xml, run.text);
            if (style >= 0) {
                m_xml.writeEndElement();
            }
            if (!run.href.isEmpty()) {
                m_xml.writeEndElement();
            }
        }
    }

    // The run's style among the section's own, -1 for none.
    int textStyleOf(const Run& run)
    {
        if (!(run.bold || run.italic || run.underline || run.strike || run.pointSize > 0 ||
              run.color.isValid())) {
            return -1;
        }
        const TextLook look{run.bold,           run.italic,    run.underline,
                            run.strike,         run.pointSize, run.color.isValid() ? run.color.rgba() : 0,
                            run.color.isValid()};
        if (const auto known = m_textStyles.constFind(look); known != m_textStyles.constEnd()) {
            return known.value();
        }
        QList<std::pair<const char*, QString>> properties;
        if (run.bold) {
            properties.append({"fo:font-weight", QStringLiteral("bold")});
        }
        if (run.italic) {
            properties.append({"fo:font-style", QStringLiteral("italic")});
        }
        if (run.underline) {
            properties.append({"style:text-underline-style", QStringLiteral("solid")});
        }
        if (run.strike) {
            properties.append({"style:text-line-through-style", QStringLiteral("solid")});
        }
        if (run.pointSize > 0) {
            properties.append({"fo:font-size", QStringLiteral("%1pt").arg(run.pointSize)});
        }
        if (run.color.isValid()) {
            properties.append({"fo:color", run.color.name()});
        }
        m_draft.textStyles.append({look, properties});
        return m_textStyles.insert(look, int(m_draft.textStyles.size() - 1)).value();
    }

    void paragraphStyle(const Paragraph& p)
    {
        QList<std::pair<const char*, QString>> properties;
        if (p.alignment & Qt::AlignHCenter) {
            properties.append({"fo:text-align", QStringLiteral("center")});
        } else if (p.alignment & Qt::AlignJustify) {
            properties.append({"fo:text-align", QStringLiteral("justify")});
        } else if (p.alignment & (Qt::AlignRight | Qt::AlignTrailing)) {
            properties.append({"fo:text-align", QStringLiteral("end")});
        }
        if (p.rightToLeft) {
            properties.append({"style:writing-mode", QStringLiteral("rl-tb")});
        }
        if (properties.isEmpty()) {
            m_xml.writeAttribute(QStringLiteral("text:style-name"), QStringLiteral("Standard"));
            return;
        }
        qsizetype at = m_draft.paragraphStyles.indexOf(properties);
        if (at < 0) {
            m_draft.paragraphStyles.append(properties);
            at = m_draft.paragraphStyles.size() - 1;
        }
        m_draft.slotAttribute(m_xml, QStringLiteral("text:style-name"), kParagraphStyle, int(at),
                              QStringLiteral("P"));
    }

    OdtDraft& m_draft;
    QXmlStreamWriter m_xml;
    QHash<TextLook, int> m_textStyles; // look -> index in the draft's text styles
};

// An OpenDocument text: Title and Subtitle paragraphs, chapters as "Heading 1" and sections as
// "Heading 2" heading elements, content with automatic styles for its runs and paragraphs.
class OdtWriter : public FormatWriter {
public:
    OdtWriter() : m_zip(1), m_xml(&m_body)
    {
        m_zip.add(QStringLiteral("mimetype"), "application/vnd.oasis.opendocument.text",
                  ZipWriter::Method::Store);
    }

    void begin(const Book& book, const QString&) override
    {
        m_book = &book;
        simpleParagraph(QStringLiteral("Title"), headingText(book.title));
        if (!book.subtitle.isEmpty()) {
            simpleParagraph(QStringLiteral("Subtitle"), xmlSafe(book.subtitle));
        }
    }

    void chapter(int c) override { heading(1, headingText(m_book->chapters.at(c).title)); }

    std::shared_ptr<const SectionDraft> draft(int, int, const Flow& flow) const override
    {
        auto draft = std::make_shared<OdtDraft>();
        OdtContent(*draft).blocks(flow, flow.blocks);
        return draft;
    }

    void writeSection(int c, int s, const Flow& flow, const SectionDraft* draft) override
    {
        heading(2, headingText(m_book->chapters.at(c).sections.at(s).title));
        const qsizetype pictures = m_pictures.size();
        for (const Picture& picture : flow.pictures) {
            const QString name = QStringLiteral("Pictures/image%1.png").arg(m_pictures.size() + 1);
            m_zip.add(name, picture.png, ZipWriter::Method::Store);
            m_pictures.append(name);
        }
        const std::shared_ptr<const SectionDraft> own = draft ? nullptr : this->draft(c, s, flow);
        const auto& content = static_cast<const OdtDraft&>(draft ? *draft : *own);
        // Styles are named in the order the content first uses them.
        QList<QByteArray> paragraphStyles;
        for (const Properties& properties : content.paragraphStyles) {
            paragraphStyles.append(
                automaticStyle(m_paragraphStyles, QStringLiteral("P"), properties).mid(1).toLatin1());
        }
        QList<QByteArray> textStyles;
        for (const auto& [look, properties] : content.textStyles) {
            auto known = m_textStyleNames.constFind(look);
            if (known == m_textStyleNames.constEnd()) {
                known = m_textStyleNames.insert(
                    look, automaticStyle(m_textStyles, QStringLiteral("T"), properties));
            }
            textStyles.append(known.value().mid(1).toLatin1());
        }
        content.join(*m_xml.device(), [&](const SectionDraft::Slot& slot) {
            switch (slot.kind) {
            case kParagraphStyle:
                return paragraphStyles.at(slot.index);
            case kTextStyle:
                return textStyles.at(slot.index);
            case kTable:
                return QByteArray::number(m_tableCount + slot.index + 1);
            case kFrame:
                return QByteArray::number(m_frameCount + slot.index + 1);
            default:
                return QByteArray::number(pictures + slot.index + 1);
            }
        });
        m_tableCount += content.tables;
        m_frameCount += content.frames;
    }

    Result finish(const QString& path) override
    {
        m_zip.addParts(QStringLiteral("content.xml"), content());
        m_zip.add(QStringLiteral("styles.xml"), stylesPart());
        m_zip.add(QStringLiteral("meta.xml"), meta());
        m_zip.add(QStringLiteral("META-INF/manifest.xml"), manifest());
        return writeExportArchive(path, m_zip);
    }

private:
    void simpleParagraph(const QString& style, const QString& text)
    {
        m_xml.writeStartElement(QStringLiteral("text:p"));
        m_xml.writeAttribute(QStringLiteral("text:style-name"), style);
        characters(m_xml, text);
        m_xml.writeEndElement();
    }

    void heading(int level, const QString& text)
    {
        m_xml.writeStartElement(QStringLiteral("text:h"));
        m_xml.writeAttribute(QStringLiteral("text:style-name"), headingStyle(level));
        m_xml.writeAttribute(QStringLiteral("text:outline-level"), QString::number(level));
        characters(m_xml, text);
        m_xml.writeEndElement();
    }

    static QString automaticStyle(QList<Properties>& styles, const QString& prefix,
                                  const Properties& properties)
    {
        qsizetype at = styles.indexOf(properties);
        if (at < 0) {
            styles.append(properties);
            at = styles.size() - 1;
        }
        return prefix + QString::number(at + 1);
    }

    // The content part in three pieces: its start with the automatic styles (known only once
    // every section is written), the body, and its end.
    QList<QByteArray> content()
    {
        QByteArray head;
        QBuffer headDevice(&head);
        headDevice.open(QIODevice::WriteOnly);
        QXmlStreamWriter xml(&headDevice);
        startRoot(xml, "office:document-content");
        xml.writeStartElement("office:automatic-styles");
        const auto writeStyles = [&xml](const QList<Properties>& styles, const QString& prefix,
                                        const char* family, const char* element) {
            for (int i = 0; i < styles.size(); ++i) {
                xml.writeStartElement("style:style");
                xml.writeAttribute("style:name", prefix + QString::number(i + 1));
                xml.writeAttribute("style:family", family);
                if (prefix == QLatin1String("P")) {
                    xml.writeAttribute("style:parent-style-name", "Standard");
                }
                xml.writeEmptyElement(element);
                for (const auto& [name, value] : styles.at(i)) {
                    xml.writeAttribute(name, value);
                }
                xml.writeEndElement();
            }
        };
        writeStyles(m_textStyles, QStringLiteral("T"), "text", "style:text-properties");
        writeStyles(m_paragraphStyles, QStringLiteral("P"), "paragraph", "style:paragraph-properties");
        xml.writeStartElement("style:style");
        xml.writeAttribute("style:name", "TableFull");
        xml.writeAttribute("style:family", "table");
        xml.writeEmptyElement("style:table-properties");
        xml.writeAttribute("style:width", "17cm");
        xml.writeAttribute("table:align", "margins");
        xml.writeEndElement();
        xml.writeStartElement("style:style");
        xml.writeAttribute("style:name", "CellBorder");
        xml.writeAttribute("style:family", "table-cell");
        xml.writeEmptyElement("style:table-cell-properties");
        xml.writeAttribute("fo:border", "0.5pt solid #808080");
        xml.writeAttribute("fo:padding", "0.1cm");
        xml.writeEndElement();
        for (const bool ordered : {false, true}) {
            static const char* const kBullets[] = {"\u2022", "\u25E6", "\u25AA"};
            static const char* const kNumbers[] = {"1", "a", "i"};
            xml.writeStartElement("text:list-style");
            xml.writeAttribute("style:name", ordered ? "LNumbers" : "LBullets");
            for (int level = 1; level <= 10; ++level) {
                xml.writeStartElement(ordered ? "text:list-level-style-number"
                                              : "text:list-level-style-bullet");
                xml.writeAttribute("text:level", QString::number(level));
                if (ordered) {
                    xml.writeAttribute("style:num-suffix", ".");
                    xml.writeAttribute("style:num-format", kNumbers[(level - 1) % 3]);
                } else {
                    xml.writeAttribute("text:bullet-char", QString::fromUtf8(kBullets[(level - 1) % 3]));
                }
                xml.writeStartElement("style:list-level-properties");
                xml.writeAttribute("text:list-level-position-and-space-mode", "label-alignment");
                xml.writeEmptyElement("style:list-level-label-alignment");
                xml.writeAttribute("text:label-followed-by", "listtab");
                xml.writeAttribute("fo:text-indent", "-0.635cm");
                xml.writeAttribute("fo:margin-left", QStringLiteral("%1cm").arg(1.27 * level, 0, 'f', 3));
                xml.writeEndElement();
                xml.writeEndElement();
            }
            xml.writeEndElement();
        }
        xml.writeEndElement();
        xml.writeStartElement("office:body");
        xml.writeStartElement("office:text");
        // Writing no characters ends the start tag, so the body follows it.
        xml.writeCharacters(QString());
        QByteArray tail;
        QBuffer tailDevice(&tail);
        tailDevice.open(QIODevice::WriteOnly);
        xml.setDevice(&tailDevice);
        xml.writeEndDocument();
        return {head, m_body, tail};
    }

    QByteArray meta() const
    {
        QByteArray out;
        QXmlStreamWriter xml(&out);
        startRoot(xml, "office:document-meta");
        xml.writeStartElement("office:meta");
        xml.writeTextElement("meta:generator", "Folioneer");
        xml.writeTextElement("dc:title", headingText(m_book->title));
        if (!m_book->subtitle.isEmpty()) {
            xml.writeTextElement("dc:subject", xmlSafe(m_book->subtitle));
        }
        xml.writeEndElement();
        xml.writeEndElement();
        xml.writeEndDocument();
        return out;
    }

    QByteArray manifest() const
    {
        QByteArray out;
        QXmlStreamWriter xml(&out);
        xml.writeStartDocument();
        xml.writeStartElement("manifest:manifest");
        xml.writeAttribute("xmlns:manifest", "urn:oasis:names:tc:opendocument:xmlns:manifest:1.0");
        xml.writeAttribute("manifest:version", "1.3");
        const auto entry = [&xml](const QString& path, const QString& type) {
            xml.writeEmptyElement("manifest:file-entry");
            xml.writeAttribute("manifest:full-path", path);
            xml.writeAttribute("manifest:media-type", type);
        };
        entry(QStringLiteral("/"), QStringLiteral("application/vnd.oasis.opendocument.text"));
        xml.writeAttribute("manifest:version", "1.3");
        for (const char* part : {"content.xml", "styles.xml", "meta.xml"}) {
            entry(QString::fromLatin1(part), QStringLiteral("text/xml"));
        }
        for (const QString& picture : m_pictures) {
            entry(picture, QStringLiteral("image/png"));
        }
        xml.writeEndElement();
        xml.writeEndDocument();
        return out;
    }

    const Book* m_book = nullptr;
    ZipWriter m_zip;
    QByteArray m_body;
    QXmlStreamWriter m_xml;
    QList<Properties> m_textStyles;
    QHash<TextLook, QString> m_textStyleNames;
    QList<Properties> m_paragraphStyles;
    QStringList m_pictures;
    int m_tableCount = 0;
    int m_frameCount = 0;
};

} // namespace

std::unique_ptr<FormatWriter> makeOdtWriter()
{
    return std::make_unique<OdtWriter>();
}

} // namespace folioneer::publish
