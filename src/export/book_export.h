// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

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

/// The whole-book text for the table of contents at `tocPath` in the project folder
/// `projectPath`. Lines end at CR LF, a lone CR or a lone LF. A missing content file adds
/// nothing; a content file that cannot be read or is not RTF fails the export; a truncated one
/// is included as far as it reads; an empty (0-byte) one is a section with empty content.
BookText buildBookText(const QString& tocPath, const QString& projectPath);

} // namespace folioneer
