// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace folioneer {

// The two ways this program cuts text into lines, kept side by side so neither is written
// again elsewhere:
// - the table-of-contents grammar ends a line at LF only, and a CR before the LF stays part of
//   the line (titles, and the content-file names formed from them, end in that CR);
// - the whole-book export, the catalogue and the stored table of contents end a line at CR LF,
//   at a lone CR and at a lone LF.
// Knows nothing about files or what the lines mean.

/// The grammar's lines: split at every LF; the LF is dropped, a CR before it stays. n LFs give
/// n + 1 lines, so an empty text is one empty line.
QStringList splitAtLineFeeds(const QString& text);

enum class LineEnd { None, CrLf, Cr, Lf };

/// A line and what ended it (None for text after the last line end).
struct EndedLine {
    QString text;
    LineEnd end = LineEnd::None;
};

/// Lines ended at CR LF, at a lone CR or at a lone LF, each with its line end (dropped from the
/// text). Text after the last line end is a line; a final line end adds no empty line, so an
/// empty text has no lines. LF CR is two line ends.
QList<EndedLine> linesAtAnyLineEnd(const QString& text);

/// The texts of linesAtAnyLineEnd().
QStringList splitAtAnyLineEnd(const QString& text);

/// The text with every line end (CR LF, lone CR, lone LF) written as CR LF.
QString withCrLfLineEnds(const QString& text);

} // namespace folioneer
