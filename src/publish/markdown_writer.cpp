// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "publish/format_writer.h"
#include "support/step_hook.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

namespace folioneer::publish {

namespace {

constexpr int kDeepestHeading = 6;

QString tr(const char* text)
{
    return QCoreApplication::translate("Publish", text);
}

// Backslash-escapes what CommonMark would read as markup inside text.
QString escapeInline(const QString& text)
{
    QString out;
    out.reserve(text.size() + text.size() / 8);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        switch (c.unicode()) {
        case '\\':
        case '`':
        case '*':
        case '_':
        case '[':
        case ']':
        case '<':
        case '>':
        case '#':
        case '|':
        case '~':
        case '&':
            out += QLatin1Char('\\');
            break;
        case '!':
            if (i + 1 < text.size() && text.at(i + 1) == QLatin1Char('[')) {
                out += QLatin1Char('\\');
            }
            break;
        default:
            break;
        }
        out += c;
    }
    return out;
}

// What would begin a block at the start of a line ("- ", "1. ", "+ ", "=") is escaped there.
QString escapeLineStart(const QString& text)
{
    if (text.isEmpty()) {
        return text;
    }
    const QChar first = text.at(0);
    if (first == QLatin1Char('-') || first == QLatin1Char('+') || first == QLatin1Char('=')) {
        return QLatin1Char('\\') + text;
    }
    qsizetype digits = 0;
    while (digits < text.size() && digits < 10 && text.at(digits).isDigit() &&
           text.at(digits).unicode() < 128) {
        ++digits;
    }
    if (digits > 0 && digits < text.size() &&
        (text.at(digits) == QLatin1Char('.') || text.at(digits) == QLatin1Char(')'))) {
        return text.left(digits) + QLatin1Char('\\') + text.mid(digits);
    }
    return text;
}

QString linkTarget(const QString& target)
{
    QString out = target;
    out.replace(QLatin1Char('<'), QStringLiteral("%3C")).replace(QLatin1Char('>'), QStringLiteral("%3E"));
    out.replace(QLatin1Char('\n'), QString()).replace(QLatin1Char('\r'), QString());
    return QLatin1Char('<') + out + QLatin1Char('>');
}

// The book as CommonMark with GitHub tables: the title and subtitle as a metadata block, chapters
// as "#" and sections as "##" headings, pictures as PNG files in a folder named after the file.
class MarkdownWriter : public FormatWriter {
public:
    void begin(const Book& book, const QString& path) override
    {
        m_book = &book;
        m_folderName = QFileInfo(path).completeBaseName() + QStringLiteral("_files");
        const auto quoted = [](const QString& text) {
            QString value = headingText(text);
            value.replace(QLatin1Char('\\'), QStringLiteral("\\\\"))
                .replace(QLatin1Char('"'), QStringLiteral("\\\""));
            return QLatin1Char('"') + value + QLatin1Char('"');
        };
        m_out += QStringLiteral("---\ntitle: ") + quoted(book.title) + QLatin1Char('\n');
        if (!book.subtitle.isEmpty()) {
            m_out += QStringLiteral("subtitle: ") + quoted(book.subtitle) + QLatin1Char('\n');
        }
        m_out += QStringLiteral("---\n");
    }

    void chapter(int c) override { heading(1, m_book->chapters.at(c).title); }

    void writeSection(int c, int s, const Flow& flow, const SectionDraft*) override
    {
        heading(2, m_book->chapters.at(c).sections.at(s).title);
        m_sectionPictures.clear();
        for (const Picture& picture : flow.pictures) {
            m_pictures.append(picture.png);
            m_sectionPictures.append(QStringLiteral("image%1.png").arg(m_pictures.size()));
        }
        blocks(flow.blocks);
    }

    Result finish(const QString& path) override;

private:
    void heading(int level, const QString& title)
    {
        m_out += QLatin1Char('\n') + QString(level, QLatin1Char('#')) + QLatin1Char(' ') +
                 escapeInline(headingText(title)) + QLatin1Char('\n');
    }

    void blocks(const QList<Block>& blocks)
    {
        QList<int> indents; // the content column of each open list level
        int topList = -1;
        bool afterItem = false;
        for (const Block& block : blocks) {
            if (block.table) {
                indents.clear();
                afterItem = false;
                table(*block.table);
                continue;
            }
            const Paragraph& p = block.paragraph;
            if (p.listLevel > 0) {
                if (p.listLevel == 1 || indents.isEmpty()) {
                    // Two lists in a row would read as one: a comment keeps them apart.
                    if (!afterItem) {
                        m_out += QLatin1Char('\n');
                    } else if (p.listLevel == 1 && topList != p.listId) {
                        m_out += QStringLiteral("\n<!-- -->\n\n");
                    }
                    if (p.listLevel == 1) {
                        topList = p.listId;
                    }
                }
                while (indents.size() >= p.listLevel) {
                    indents.removeLast();
                }
                const int parent = indents.isEmpty() ? 0 : indents.last();
                while (indents.size() < p.listLevel - 1) {
                    indents.append(parent);
                }
                const QString marker = p.ordered ? QStringLiteral("1. ") : QStringLiteral("- ");
                indents.append(parent + int(marker.size()));
                m_out += QString(parent, QLatin1Char(' ')) + marker +
                         inlineText(p.runs, QString(indents.last(), QLatin1Char(' '))) + QLatin1Char('\n');
                afterItem = true;
                continue;
            }
            indents.clear();
            if (p.plainText().trimmed().isEmpty() && !hasPicture(p)) {
                continue;
            }
            afterItem = false;
            m_out += QLatin1Char('\n');
            if (p.headingLevel > 0) {
                m_out += QString(contentHeadingLevel(p.headingLevel, kDeepestHeading), QLatin1Char('#')) +
                         QLatin1Char(' ') +
                         inlineText(p.runs, {}).replace(QStringLiteral("\\\n"), QStringLiteral(" ")) +
                         QLatin1Char('\n');
            } else {
                m_out += inlineText(p.runs, {}) + QLatin1Char('\n');
            }
        }
    }

    static bool hasPicture(const Paragraph& p)
    {
        return std::any_of(p.runs.begin(), p.runs.end(), [](const Run& run) { return run.picture >= 0; });
    }

    // GitHub tables need a header row: the first row is it. Cells hold their text on one line.
    void table(const Table& table)
    {
        if (table.rows.isEmpty()) {
            return;
        }
        const int columns = std::max<int>(1, table.columns);
        m_out += QLatin1Char('\n');
        // A merged cell's text stands where it begins; the places it covers stay empty.
        for (int r = 0; r < table.rows.size(); ++r) {
            QStringList cells(columns);
            for (const TableCell& cell : table.rows.at(r)) {
                QStringList parts;
                for (const Block& block : cell.blocks) {
                    if (!block.table && !block.paragraph.isEmpty()) {
                        parts << inlineText(block.paragraph.runs, {})
                                     .replace(QStringLiteral("\\\n"), QStringLiteral(" "));
                    }
                }
                cells[std::min(cell.column, columns - 1)] = parts.join(QLatin1Char(' '));
            }
            m_out += QStringLiteral("| ") + cells.join(QStringLiteral(" | ")) + QStringLiteral(" |\n");
            if (r == 0) {
                m_out += QStringLiteral("|") + QStringLiteral(" --- |").repeated(columns) + QLatin1Char('\n');
            }
        }
    }

    // The runs of a paragraph as one CommonMark inline text; line breaks continue at `indent`.
    QString inlineText(const QList<Run>& runs, const QString& indent) const
    {
        QString out;
        for (const Run& run : runs) {
            if (run.picture >= 0) {
                out += QStringLiteral("![](") +
                       linkTarget(m_folderName + QLatin1Char('/') + m_sectionPictures.at(run.picture)) +
                       QLatin1Char(')');
                continue;
            }
            QString text = escapeInline(run.text);
            text.replace(QLatin1Char('\t'), QLatin1Char(' '));
            // Emphasis markers must touch the text, so blanks at the edges stay outside them.
            qsizetype lead = 0;
            while (lead < text.size() && text.at(lead).isSpace()) {
                ++lead;
            }
            qsizetype trail = 0;
            while (trail < text.size() - lead && text.at(text.size() - 1 - trail).isSpace()) {
                ++trail;
            }
            if (lead == text.size()) {
                out += text;
                continue;
            }
            const QString before = text.left(lead);
            const QString after = text.right(trail);
            QString core = text.mid(lead, text.size() - lead - trail);
            QString open;
            QString close;
            if (run.bold) {
                open += QStringLiteral("**");
            }
            if (run.italic) {
                open += QLatin1Char('*');
            }
            if (run.strike) {
                open += QStringLiteral("~~");
            }
            close = open;
            std::reverse(close.begin(), close.end());
            core = open + core + close;
            if (!run.href.isEmpty()) {
                core =
                    QLatin1Char('[') + core + QStringLiteral("](") + linkTarget(run.href) + QLatin1Char(')');
            }
            out += before + core + after;
        }
        out.replace(QChar::LineSeparator, QStringLiteral("\\\n") + indent);
        // A paragraph's line that begins like a block is escaped.
        return escapeLineStart(out);
    }

    const Book* m_book = nullptr;
    QString m_out;
    QList<QByteArray> m_pictures;
    QStringList m_sectionPictures;
    QString m_folderName;
};

Result removeFolder(const QString& path)
{
    QDir dir(path);
    if (dir.exists() && !dir.removeRecursively()) {
        return Result::failure(tr("The folder %1 could not be removed.").arg(path), exportFailedMessage());
    }
    return {};
}

// The pictures go to a folder beside the file. It is written under a temporary name and renamed
// just before the file is replaced; when the file cannot be written the folder goes again and
// an older one is put back, so a failure leaves neither a new file nor a new folder.
Result MarkdownWriter::finish(const QString& path)
{
    const QString markdown = m_out;
    if (m_pictures.isEmpty()) {
        return writeExportFile(path, markdown.toUtf8());
    }
    const QFileInfo target(path);
    const QString folder = target.dir().filePath(m_folderName);
    const QString temporary = target.dir().filePath(QLatin1Char('.') + m_folderName + QStringLiteral(".new"));
    const QString old = target.dir().filePath(QLatin1Char('.') + m_folderName + QStringLiteral(".old"));
    for (const QString& leftover : {temporary, old}) {
        if (Result removed = removeFolder(leftover); !removed) {
            return removed;
        }
    }
    if (!QDir().mkpath(temporary)) {
        return Result::failure(tr("The folder %1 could not be created.").arg(temporary),
                               exportFailedMessage());
    }
    for (int i = 0; i < m_pictures.size(); ++i) {
        const Result written =
            writeExportFile(temporary + QStringLiteral("/image%1.png").arg(i + 1), m_pictures.at(i));
        if (!written) {
            (void)removeFolder(temporary);
            return written;
        }
    }
    const bool hadFolder = QFileInfo::exists(folder);
    if (hadFolder && !QDir().rename(folder, old)) {
        (void)removeFolder(temporary);
        return Result::failure(tr("The folder %1 could not be replaced.").arg(folder), exportFailedMessage());
    }
    stepReached({"rename", 0});
    if (!QDir().rename(temporary, folder)) {
        (void)removeFolder(temporary);
        if (hadFolder) {
            QDir().rename(old, folder);
        }
        return Result::failure(tr("The folder %1 could not be written.").arg(folder), exportFailedMessage());
    }
    stepReached({"rename", 0});
    const Result written = writeExportFile(path, markdown.toUtf8());
    if (!written) {
        (void)removeFolder(folder);
        if (hadFolder) {
            QDir().rename(old, folder);
        }
        return written;
    }
    (void)removeFolder(old);
    return {};
}

} // namespace

std::unique_ptr<FormatWriter> makeMarkdownWriter()
{
    return std::make_unique<MarkdownWriter>();
}

} // namespace folioneer::publish
