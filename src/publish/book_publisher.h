// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "support/result.h"

#include <QList>
#include <QString>

#include <functional>
#include <optional>

namespace folioneer::publish {

// Exports a project's book to a file in one of the publishing formats. The book is read from
// the saved files of the project folder (edits not yet saved are not part of it). All or
// nothing: on failure or cancel, the file at the target path (and a Markdown export's picture
// folder) is what it was before.

enum class BookFormat { Docx, Epub, Odt, Markdown, Html, Text };

struct FormatChoice {
    BookFormat format;
    QString suffix; ///< without the dot: "docx"
    QString filter; ///< a file-dialog filter: "Word document (*.docx)"
};

/// Every format, in the order a file dialog offers them.
const QList<FormatChoice>& formatChoices();

/// The format a file name's extension names (case-insensitive); none for another extension.
std::optional<BookFormat> formatForPath(const QString& path);

/// Called after each section with the sections done and the total; returning false cancels.
using ExportProgress = std::function<bool(int done, int total)>;

struct ExportOutcome {
    Result result;
    bool cancelled = false; ///< the progress callback cancelled; nothing was written
};

/// Exports the book of the project folder `projectPath` to `path` in `format`. `readThreads`
/// threads read the sections ahead of the writer (-1: one per core; 0: every section is read on
/// the calling thread); the file is the same either way. The progress callback is called on the
/// calling thread.
ExportOutcome exportBook(const QString& projectPath, const QString& path, BookFormat format,
                         const ExportProgress& progress = {}, int readThreads = -1);

/// The success message: "Done. Book exported." and the file's path on the next line.
QString exportDoneMessage(const QString& path);

} // namespace folioneer::publish
