// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The RTF writer's walk over a document: frames, tables, paragraphs, runs and links, in order,
// with the header (font and colour tables) put in front at the end. Formats, list markers and
// pictures are written by the parts in rtf_writer_parts.h.

#include "rtf/rtf_writer.h"

#include "rtf/rtf_interpreter.h"
#include "rtf/rtf_writer_parts.h"

#include <QCoreApplication>
#include <QFileDevice>
#include <QIODevice>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextList>
#include <QTextTable>
#include <QTextImageFormat>

#include <cmath>

#ifndef FOLIONEER_VERSION_STRING
#define FOLIONEER_VERSION_STRING "0"
#endif

namespace folioneer::rtf {

namespace {

// The text width of a Letter or A4 page with the usual margins, for tables without fixed widths.
constexpr double kTableWidthTwips = 9360.0;

QString tr(const char* text)
{
    return QCoreApplication::translate("RtfWriter", text);
}

// Writes one document. The body is written first, collecting fonts and colours as they are
// met; the header with the font and colour tables is put in front of it at the end.
class DocumentWriter {
public:
    DocumentWriter(const QTextDocument& document, const WriteOptions& options)
        : m_document(document), m_options(options), m_body(document.characterCount() + 4096),
          m_formats(document)
    {
    }

    QByteArray write()
    {
        m_lastBlock = m_document.lastBlock();
        writeFrame(m_document.rootFrame());
        return assemble();
    }

private:
    void writeFrame(const QTextFrame* frame)
    {
        for (auto it = frame->begin(); !it.atEnd(); ++it) {
            if (const QTextFrame* child = it.currentFrame()) {
                if (const auto* table = qobject_cast<const QTextTable*>(child)) {
                    writeTable(*table);
                } else {
                    writeFrame(child); // other frames only group blocks; their blocks are kept
                }
                continue;
            }
            const QTextBlock block = it.currentBlock();
            if (!block.isValid()) {
                continue;
            }
            writeBlock(block, false);
            // In a file the last paragraph has its \par too; on the clipboard it has none, so
            // that pasting does not add an empty paragraph.
            if (!(m_options.clipboard && block == m_lastBlock)) {
                m_body.word("\\par");
            }
            m_body.newline();
        }
    }

    void writeTable(const QTextTable& table)
    {
        const int rows = table.rows();
        const int columns = table.columns();
        const QList<int> edges = columnEdges(table);
        for (int r = 0; r < rows; ++r) {
            m_body.word("\\trowd");
            m_body.word("\\trgaph", 108);
            m_body.word("\\trleft", 0);
            for (int c = 0; c < columns; ++c) {
                const QTextTableCell cell = table.cellAt(r, c);
                if (cell.column() != c) {
                    continue; // covered by a cell spanning columns
                }
                if (cell.rowSpan() > 1) {
                    m_body.word(cell.row() == r ? "\\clvmgf" : "\\clvmrg");
                }
                m_body.word("\\cellx", edges[std::min(columns, c + cell.columnSpan())]);
            }
            for (int c = 0; c < columns; ++c) {
                const QTextTableCell cell = table.cellAt(r, c);
                if (cell.column() != c) {
                    continue;
                }
                if (cell.row() != r) {
                    // The continuation of a cell spanning rows: an empty cell.
                    m_body.word("\\pard");
                    m_body.word("\\intbl");
                    m_body.word("\\cell");
                    continue;
                }
                QList<QTextBlock> blocks;
                collectBlocks(cell.begin(), cell.end(), blocks);
                for (qsizetype i = 0; i < blocks.size(); ++i) {
                    writeBlock(blocks[i], true);
                    m_body.word(i + 1 < blocks.size() ? "\\par" : "\\cell");
                }
            }
            m_body.word("\\row");
            m_body.newline();
        }
    }

    // The right edges of the columns in twips, from the table's width constraints where it
    // has them; edges[0] is the left edge.
    static QList<int> columnEdges(const QTextTable& table)
    {
        const int columns = std::max(1, table.columns());
        const QList<QTextLength> constraints = table.format().columnWidthConstraints();
        QList<double> widths(columns, -1.0);
        double fixed = 0.0;
        int variable = 0;
        for (int c = 0; c < columns; ++c) {
            if (c < constraints.size() && constraints[c].type() == QTextLength::FixedLength) {
                widths[c] = constraints[c].rawValue() * kTwipsPerPixel;
            } else if (c < constraints.size() && constraints[c].type() == QTextLength::PercentageLength) {
                widths[c] = constraints[c].rawValue() * kTableWidthTwips / 100.0;
            }
            if (widths[c] > 0) {
                fixed += widths[c];
            } else {
                ++variable;
            }
        }
        const double share =
            variable > 0 ? std::max(kTableWidthTwips - fixed, 360.0 * variable) / variable : 0;
        QList<int> edges{0};
        double edge = 0.0;
        for (int c = 0; c < columns; ++c) {
            edge += widths[c] > 0 ? widths[c] : share;
            edges.append(std::max(edges.last() + 1, static_cast<int>(std::lround(edge))));
        }
        return edges;
    }

    // The blocks of a table cell in order; a table nested in the cell gives its cells' blocks
    // (tables are written one level deep).
    static void collectBlocks(QTextFrame::iterator it, const QTextFrame::iterator& end,
                              QList<QTextBlock>& blocks)
    {
        for (; it != end; ++it) {
            if (const QTextFrame* child = it.currentFrame()) {
                if (const auto* table = qobject_cast<const QTextTable*>(child)) {
                    for (int r = 0; r < table->rows(); ++r) {
                        for (int c = 0; c < table->columns(); ++c) {
                            const QTextTableCell cell = table->cellAt(r, c);
                            if (cell.row() == r && cell.column() == c) {
                                collectBlocks(cell.begin(), cell.end(), blocks);
                            }
                        }
                    }
                } else {
                    collectBlocks(child->begin(), child->end(), blocks);
                }
            } else if (it.currentBlock().isValid()) {
                blocks.append(it.currentBlock());
            }
        }
    }

    void writeBlock(const QTextBlock& block, bool inTable)
    {
        m_body.word("\\pard");
        if (inTable) {
            m_body.word("\\intbl");
        }
        m_body.words(m_formats.paragraphWords(block.blockFormat(), block.textList() != nullptr));
        if (const QTextList* list = block.textList()) {
            writeListMarker(m_body, *list, block, m_formats);
        }

        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.isValid()) {
                continue;
            }
            const QString text = fragment.text();
            if (fragment.charFormat().isImageFormat()) {
                const QTextImageFormat image = fragment.charFormat().toImageFormat();
                const WrittenPicture picture = pictureOf(m_document, image);
                if (picture.png.isEmpty()) {
                    continue; // nothing we can save: the image is dropped rather than the document
                }
                switchLink(m_formats.runFormat(fragment).href);
                switchRun({});
                for (const QChar c : text) {
                    if (c == QChar::ObjectReplacementCharacter) {
                        writePicture(m_body, picture);
                    }
                }
                continue;
            }
            if (!hasWritableText(text)) {
                continue;
            }
            const RunFormat& run = m_formats.runFormat(fragment);
            switchLink(run.href);
            switchRun(run.words);
            m_body.text(text);
        }
        switchRun({});
        switchLink({});
    }

    void switchRun(const QByteArray& words)
    {
        if (words == m_openRun) {
            return;
        }
        if (!m_openRun.isEmpty()) {
            m_body.close();
        }
        m_openRun = words;
        if (!words.isEmpty()) {
            m_body.open();
            m_body.words(words);
        }
    }

    // The field instruction a link is written as: the target quoted, with '"' and '\' (which
    // field instructions treat as quote and escape) percent-encoded. Empty when it would pass the
    // length a reader keeps of an instruction: such a link would not come back, so it is left
    // out and its text stays.
    static QString linkInstruction(const QString& href)
    {
        if (href.isEmpty()) {
            return {};
        }
        QString target = href;
        target.replace(u'"', QLatin1String("%22")).replace(u'\\', QLatin1String("%5C"));
        const QString instruction = QLatin1String("HYPERLINK \"") + target + u'"';
        return instruction.size() <= ReaderLimits{}.maxFieldInstruction ? instruction : QString();
    }

    // Links are HYPERLINK fields whose result holds the link's runs.
    void switchLink(const QString& href)
    {
        const QString instruction = linkInstruction(href);
        if (instruction == m_openLink) {
            return;
        }
        switchRun({});
        if (!m_openLink.isEmpty()) {
            m_body.close();
            m_body.close();
        }
        m_openLink = instruction;
        if (instruction.isEmpty()) {
            return;
        }
        m_body.open();
        m_body.word("\\field");
        m_body.open();
        m_body.word("\\*");
        m_body.word("\\fldinst");
        m_body.open();
        m_body.text(instruction);
        m_body.close();
        m_body.close();
        m_body.open();
        m_body.word("\\fldrslt");
    }

    QByteArray assemble()
    {
        Emitter head(1024);
        head.word("{\\rtf1");
        head.word("\\ansi");
        head.word("\\ansicpg", 1252);
        head.word("\\deff", 0);
        head.word("\\uc", 1);
        head.newline();
        m_formats.writeTables(head);
        head.open();
        head.word("\\*");
        head.word("\\generator");
        head.text(u"Folioneer " FOLIONEER_VERSION_STRING ";");
        head.close();
        head.newline();

        QByteArray out = std::move(head.buffer());
        out.append(m_body.buffer());
        out.append("}\r\n");
        return out;
    }

    const QTextDocument& m_document;
    const WriteOptions m_options;
    Emitter m_body;
    CharacterFormats m_formats;
    QTextBlock m_lastBlock;
    QByteArray m_openRun; ///< the control words of the run group open in the body
    QString m_openLink;   ///< the instruction of the link field open in the body
};

} // namespace

QByteArray writeRtf(const QTextDocument& document, const WriteOptions& options)
{
    return DocumentWriter(document, options).write();
}

Result writeRtf(const QTextDocument& document, QIODevice& device, const WriteOptions& options)
{
    if (!device.isOpen() || !device.isWritable()) {
        return Result::failure(tr("The RTF data could not be written: the output is not open for writing."));
    }
    const QByteArray data = writeRtf(document, options);
    qint64 written = 0;
    while (written < data.size()) {
        const qint64 n = device.write(data.constData() + written, data.size() - written);
        if (n <= 0) {
            const QString reason = device.errorString();
            return Result::failure(reason.isEmpty()
                                       ? tr("The RTF data could not be written.")
                                       : tr("The RTF data could not be written: %1").arg(reason));
        }
        written += n;
    }
    if (auto* file = qobject_cast<QFileDevice*>(&device); file != nullptr && !file->flush()) {
        return Result::failure(tr("The RTF data could not be written: %1").arg(file->errorString()));
    }
    return {};
}

} // namespace folioneer::rtf
