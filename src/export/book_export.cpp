// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/book_export.h"

#include "project/content_paths.h"
#include "project/toc.h"
#include "rtf/rtf.h"
#include "support/file_io.h"
#include "support/lines.h"
#include "support/text_codec.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <algorithm>
#include <limits>

namespace folioneer {

namespace {

const QString kCrLf = QStringLiteral("\r\n");

QString tr(const char* text)
{
    return QCoreApplication::translate("BookExport", text);
}

// The heading block: a blank line, the heading, the 69-hyphen separator and two empty lines.
QString headingBlock(const QString& keyword, const QString& name)
{
    static const QString separator(69, QLatin1Char('-'));
    return kCrLf + keyword + QLatin1Char(' ') + name + kCrLf + separator + kCrLf + kCrLf + kCrLf;
}

QString headingBlockOf(const BookEntry& entry)
{
    return headingBlock(entry.kind == BookEntry::Kind::Chapter ? kChapterKeyword : kSectionKeyword,
                        entry.title);
}

} // namespace

QList<BookEntry> walkBook(const QString& tocText, const QString& projectPath)
{
    QList<BookEntry> entries;
    // Titles as the outline holds them, which is what content files are named after.
    QString outlineChapter;
    // The export ends lines at a lone CR too.
    for (const EndedLine& line : linesAtAnyLineEnd(tocText)) {
        const QString trimmed = trimBlanks(line.text);
        if (trimmed.isEmpty()) {
            continue;
        }
        // The outline splits at LF only, so a line that ended in CR LF keeps its CR there, and
        // its titles end in that CR. The outline's view of this same line decides which
        // content file belongs to it, blanks before the line end included.
        const TocLine outlineLine =
            classifyTocLine(line.end == LineEnd::CrLf ? line.text + QLatin1Char('\r') : line.text);
        if (trimmed.startsWith(kChapterKeyword)) {
            entries.append({BookEntry::Kind::Chapter, trimBlanks(trimmed.mid(kChapterKeyword.size())), {}});
            outlineChapter = outlineLine.title;
            continue;
        }
        if (!trimmed.startsWith(kSectionKeyword)) {
            continue;
        }
        BookEntry entry{BookEntry::Kind::Section, trimBlanks(trimmed.mid(kSectionKeyword.size())), {}};
        // A line the outline makes no entry of has no content file.
        if (outlineLine.kind == TocLineKind::Section) {
            const QString path = ContentFilePath(projectPath, outlineChapter, outlineLine.title);
            if (ArchivoExiste(path)) {
                entry.contentPath = path;
            }
        }
        entries.append(entry);
    }
    return entries;
}

BookText buildBookText(const QString& tocPath, const QString& projectPath)
{
    const ResultOf<QByteArray> toc = readWholeFile(tocPath);
    if (!toc.ok()) {
        return {{}, toc.reason()};
    }
    const QList<BookEntry> entries = walkBook(decodeText(toc.value()), projectPath);

    // An RTF document holds at least one byte per character of its text, so the sizes of the
    // content files bound the book: one allocation instead of copying a growing text.
    qint64 capacity = 0;
    for (const BookEntry& entry : entries) {
        capacity += entry.title.size() + 100;
        if (!entry.contentPath.isEmpty()) {
            capacity += QFileInfo(entry.contentPath).size();
        }
    }
    QString out;
    out.reserve(qsizetype(std::min<qint64>(capacity, std::numeric_limits<int>::max())));
    for (const BookEntry& entry : entries) {
        out += headingBlockOf(entry);
        if (entry.contentPath.isEmpty()) {
            continue;
        }
        const ResultOf<QByteArray> content = readWholeFile(entry.contentPath);
        if (!content.ok()) {
            return {{}, content.reason()};
        }
        // An empty file is an empty section, as the section editor shows it, not a damaged one.
        if (!content.value().isEmpty()) {
            const rtf::PlainText plain = rtf::plainTextFromRtf(content.value());
            if (!plain.ok()) {
                return {{}, tr("The content file %1 is not an RTF document.").arg(entry.contentPath)};
            }
            out += plain.text;
        }
        out += kCrLf;
        out += kCrLf;
    }
    return {out, {}};
}

} // namespace folioneer
