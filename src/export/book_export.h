// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>

namespace folioneer {

// Builds the whole book as one plain text from a table-of-contents file and the content files
// beside it: heading blocks with the 69-hyphen separator line, each section followed by the
// plain text of its saved content. All or nothing: any failure gives an error and no text.

struct BookText {
    QString text;
    QString error; ///< empty on success; the reason otherwise (for logs and tests, not shown)
    bool ok() const { return error.isEmpty(); }
};

/// One heading of the book as the table of contents gives it, in reading order.
struct BookEntry {
    enum class Kind { Chapter, Section };
    Kind kind;
    QString title;       ///< the line after its keyword, blanks trimmed
    QString contentPath; ///< sections only: the existing content file, empty when there is none
};

/// The walk every export of the book is made from: the "Chapter:" and "Subchapter:" lines of the
/// table of contents `tocText` in order, each section with the content file the outline gives it
/// in the project folder `projectPath`. Other lines are left out.
QList<BookEntry> walkBook(const QString& tocText, const QString& projectPath);

/// The whole-book text for the table of contents at `tocPath` in the project folder
/// `projectPath`. Lines end at CR LF, a lone CR or a lone LF. A missing content file adds
/// nothing; a content file that cannot be read or is not RTF fails the export; a truncated one
/// is included as far as it reads; an empty (0-byte) one is a section with empty content.
BookText buildBookText(const QString& tocPath, const QString& projectPath);

} // namespace folioneer
