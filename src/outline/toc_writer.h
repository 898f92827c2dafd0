// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "outline/outline_model.h"

#include <QString>

namespace folioneer {

// Writes an outline back as a table of contents in grammar form: one "Chapter: Title" or
// "Subchapter: Title" line each, ending in CR LF, nothing else. Reading the text back with the
// grammar gives exactly the titles the outline holds, provided they are in stored form (see
// storedChapterTitle and storedSectionTitle). Knows nothing about files.

/// A title as the user typed it, made fit for one line: line breaks become blanks, and leading
/// and trailing blanks are removed.
QString typedTitle(const QString& text);

/// The title as the user sees it: the trailing CR dropped, blanks trimmed.
QString visibleTitle(const QString& storedTitle);

/// The chapter title as a written "Chapter: " line reads back: a leading blank, the visible
/// title, a trailing CR.
QString storedChapterTitle(const QString& visible);

/// The section title as a written "Subchapter: " line reads back: the visible title and a CR.
QString storedSectionTitle(const QString& visible);

/// Brings every title of the outline into stored form (the content paths are not refreshed).
void storeTitles(ProjectOutline& outline);

/// The table of contents for an outline whose titles are in stored form.
QString tocText(const ProjectOutline& outline);

} // namespace folioneer
