// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace folioneer {

// The table-of-contents grammar as the outline reads it: lines split at LF (a CR before it
// stays at the end of its line: splitAtLineFeeds in support/lines.h), blanks (U+0020 only) trimmed,
// "Chapter:" and "Subchapter:" keywords exact and case-sensitive. Knows nothing about files or widgets.

/// The keywords that begin a chapter line and a section line, exact and case-sensitive. The
/// whole-book export writes its headings with them too.
inline const QString kChapterKeyword = QStringLiteral("Chapter:");
inline const QString kSectionKeyword = QStringLiteral("Subchapter:");

/// The most characters (UTF-16 code units of the decoded text) a table of contents may hold.
inline constexpr int kMaxTocCharacters = 32767;

/// Removes leading and trailing U+0020 only (not tabs, CR or other white space).
QString trimBlanks(const QString& text);

enum class TocLineKind { Chapter, Section, Other };

struct TocLine {
    TocLineKind kind = TocLineKind::Other;
    QString title; ///< chapter: everything after "Chapter:"; section: the rest, blanks trimmed
};

/// Classifies one line (as splitAtLineFeeds gives it). A section line whose title is empty after
/// trimming is Other.
TocLine classifyTocLine(const QString& line);

struct OutlineChapter {
    QString title;
    QStringList sections;
};

enum class OutlineError {
    None,
    SectionBeforeChapter, ///< "Error: Nodo principal no encontrado."; no chapter is kept
    NoChapters,           ///< "Error: No se encontraron nodos principales."
};

struct Outline {
    QList<OutlineChapter> chapters;
    OutlineError error = OutlineError::None;
};

/// Builds the two-level outline from the lines, as the outline tree shows it. On
/// SectionBeforeChapter the outline is empty (reading stops at that line). The missing chapter
/// is checked before the title, so "Subchapter:" with an empty title before the first chapter
/// line is that error too.
Outline buildOutline(const QStringList& lines);

} // namespace folioneer
