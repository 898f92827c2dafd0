// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "publish/section_flow.h"

#include "publish/book.h"

#include <QBuffer>
#include <QImage>
#include <QPixmap>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextList>
#include <QTextTable>
#include <QUrl>

namespace folioneer::publish {

bool Run::sameLook(const Run& other) const
{
    return picture < 0 && other.picture < 0 && bold == other.bold && italic == other.italic &&
           underline == other.underline && strike == other.strike && pointSize == other.pointSize &&
           color == other.color && href == other.href;
}

TableGrid::TableGrid(const Table& table)
    : m_columns(table.columns), m_places(table.rows.size() * qsizetype(table.columns), nullptr)
{
    for (const QList<TableCell>& row : table.rows) {
        for (const TableCell& cell : row) {
            for (int r = cell.row; r < cell.row + cell.rowSpan && r < table.rows.size(); ++r) {
                for (int c = cell.column; c < cell.column + cell.columnSpan && c < m_columns; ++c) {
                    m_places[r * qsizetype(m_columns) + c] = &cell;
                }
            }
        }
    }
}

const TableCell* TableGrid::at(int row, int column) const
{
    return m_places.value(row * qsizetype(m_columns) + column, nullptr);
}

bool TableGrid::begins(int row, int column) const
{
    const TableCell* cell = at(row, column);
    return cell && cell->row == row && cell->column == column;
}

QString Paragraph::plainText() const
{
    QString text;
    for (const Run& run : runs) {
        text += run.text;
    }
    return text;
}

namespace {

class FlowBuilder {
public:
    explicit FlowBuilder(const QTextDocument& document) : m_document(document) {}

    QList<Block> blocksOf(QTextFrame::iterator it)
    {
        QList<Block> blocks;
        for (; !it.atEnd(); ++it) {
            if (QTextFrame* frame = it.currentFrame()) {
                if (auto* table = qobject_cast<QTextTable*>(frame)) {
                    blocks.append({{}, tableOf(*table)});
                } else {
                    blocks += blocksOf(frame->begin());
                }
                continue;
            }
            const QTextBlock block = it.currentBlock();
            if (block.isValid()) {
                blocks.append({paragraphOf(block), {}});
            }
        }
        return blocks;
    }

    QList<Picture> pictures;

private:
    std::shared_ptr<Table> tableOf(const QTextTable& table)
    {
        auto out = std::make_shared<Table>();
        out->columns = table.columns();
        for (int r = 0; r < table.rows(); ++r) {
            QList<TableCell> row;
            for (int c = 0; c < table.columns(); ++c) {
                const QTextTableCell cell = table.cellAt(r, c);
                // A cell spanning several rows or columns is taken once, where it begins.
                if (cell.row() != r || cell.column() != c) {
                    continue;
                }
                row.append({blocksOf(cell.begin()), r, c, std::clamp(cell.rowSpan(), 1, table.rows() - r),
                            std::clamp(cell.columnSpan(), 1, table.columns() - c)});
            }
            out->rows.append(row);
        }
        return out;
    }

    Paragraph paragraphOf(const QTextBlock& block)
    {
        Paragraph paragraph;
        const QTextBlockFormat format = block.blockFormat();
        paragraph.headingLevel = std::clamp(format.headingLevel(), 0, 6);
        paragraph.alignment = format.alignment();
        paragraph.rightToLeft = block.textDirection() == Qt::RightToLeft;
        if (QTextList* list = block.textList()) {
            const QTextListFormat listFormat = list->format();
            paragraph.listLevel = std::max(1, listFormat.indent());
            paragraph.ordered = listFormat.style() <= QTextListFormat::ListDecimal;
            paragraph.listId = listIdOf(list);
        }
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.isValid()) {
                continue;
            }
            // A section has few character formats and many fragments: each format is read once.
            const int formatIndex = fragment.charFormatIndex();
            auto look = m_looks.constFind(formatIndex);
            if (look == m_looks.constEnd()) {
                look = m_looks.insert(formatIndex, lookOf(fragment.charFormat()));
            }
            Run run = look->run;
            const QString text = fragment.text();
            if (look->image) {
                // One replacement character per picture in the fragment.
                const int picture = pictureOf(fragment.charFormat().toImageFormat());
                if (picture >= 0) {
                    for (qsizetype i = 0; i < text.size(); ++i) {
                        Run pictureRun = run;
                        pictureRun.picture = picture;
                        paragraph.runs.append(pictureRun);
                    }
                }
                continue;
            }
            run.text = flowText(text);
            if (run.text.isEmpty()) {
                continue;
            }
            if (!paragraph.runs.isEmpty() && paragraph.runs.last().sameLook(run)) {
                paragraph.runs.last().text += run.text;
            } else {
                paragraph.runs.append(run);
            }
        }
        return paragraph;
    }

    struct Look {
        Run run; ///< the look, no text
        bool image = false;
    };

    static Look lookOf(const QTextCharFormat& charFormat)
    {
        Look look;
        Run& run = look.run;
        run.bold = charFormat.fontWeight() >= QFont::DemiBold;
        run.italic = charFormat.fontItalic();
        run.underline = charFormat.fontUnderline() && !charFormat.isAnchor();
        run.strike = charFormat.fontStrikeOut();
        if (charFormat.hasProperty(QTextFormat::FontPointSize)) {
            run.pointSize = charFormat.fontPointSize();
        }
        if (charFormat.hasProperty(QTextFormat::ForegroundBrush) &&
            charFormat.foreground().style() != Qt::NoBrush) {
            const QColor color = charFormat.foreground().color();
            if (color != Qt::black) {
                run.color = color;
            }
        }
        if (charFormat.isAnchor()) {
            run.href = xmlSafe(charFormat.anchorHref());
        }
        look.image = charFormat.isImageFormat();
        return look;
    }

    int listIdOf(QTextList* list)
    {
        const qsizetype at = m_lists.indexOf(list);
        if (at >= 0) {
            return int(at);
        }
        m_lists.append(list);
        return int(m_lists.size() - 1);
    }

    int pictureOf(const QTextImageFormat& format)
    {
        const QVariant resource = m_document.resource(QTextDocument::ImageResource, QUrl(format.name()));
        QImage image;
        if (resource.typeId() == QMetaType::QImage) {
            image = resource.value<QImage>();
        } else if (resource.typeId() == QMetaType::QPixmap) {
            image = resource.value<QPixmap>().toImage();
        } else if (resource.typeId() == QMetaType::QByteArray) {
            image.loadFromData(resource.toByteArray());
        }
        if (image.isNull()) {
            return -1;
        }
        Picture picture;
        QBuffer buffer(&picture.png);
        buffer.open(QIODevice::WriteOnly);
        if (!image.save(&buffer, "PNG")) {
            return -1;
        }
        const double width = format.width() > 0 ? format.width() : image.width();
        const double height = format.height() > 0 ? format.height() : image.height();
        picture.size = QSizeF(width, height);
        pictures.append(picture);
        return int(pictures.size() - 1);
    }

    const QTextDocument& m_document;
    QList<QTextList*> m_lists;
    QHash<int, Look> m_looks; // by the document's character format index
};

// Calls `visit` on every run of the blocks, tables' cells included.
template <typename Visit> void forEachRun(QList<Block>& blocks, const Visit& visit)
{
    for (Block& block : blocks) {
        if (block.table) {
            for (QList<TableCell>& row : block.table->rows) {
                for (TableCell& cell : row) {
                    forEachRun(cell.blocks, visit);
                }
            }
            continue;
        }
        for (Run& run : block.paragraph.runs) {
            visit(run);
        }
    }
}

} // namespace

QString flowText(const QString& text)
{
    // Most text holds none of what is dropped or replaced below and is kept as it is.
    const bool plain = std::none_of(text.cbegin(), text.cend(), [](QChar c) {
        const char16_t u = c.unicode();
        return u < 0x20 || u == 0x00AD || u == QChar::ObjectReplacementCharacter ||
               u == QChar::ParagraphSeparator || c.isSurrogate() || u >= 0xFFFE;
    });
    if (plain) {
        return text;
    }
    QString out = xmlSafe(text);
    out.remove(QChar(0x00AD));
    out.remove(QChar::ObjectReplacementCharacter);
    out.replace(QChar::ParagraphSeparator, QChar::LineSeparator);
    return out;
}

// Content files give every run a size; the size most of the text has is the section's body
// size, left to each format's own default so that only sizes that stand out are written.
void dropBodySize(QList<Block>& blocks)
{
    QHash<double, qsizetype> characters;
    forEachRun(blocks, [&characters](Run& run) { characters[run.pointSize] += run.text.size(); });
    double body = 0;
    qsizetype most = -1;
    for (auto it = characters.cbegin(); it != characters.cend(); ++it) {
        // On a tie the smaller size wins, whatever order the hash gives (its seed varies by run).
        if (it.value() > most || (it.value() == most && it.key() < body)) {
            most = it.value();
            body = it.key();
        }
    }
    forEachRun(blocks, [body](Run& run) {
        if (run.pointSize == body) {
            run.pointSize = 0;
        }
    });
}

Flow flowOf(const QTextDocument& document)
{
    FlowBuilder builder(document);
    Flow flow;
    flow.blocks = builder.blocksOf(document.rootFrame()->begin());
    dropBodySize(flow.blocks);
    flow.pictures = std::move(builder.pictures);
    return flow;
}

} // namespace folioneer::publish
