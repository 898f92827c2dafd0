// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringView>

class QTextDocument;

namespace folioneer {

// How the program counts words, for a section being typed and for content files alike. A word
// is a run of characters between white space that holds at least one letter or digit; in Han,
// Hiragana and Katakana text each of those characters is a word of its own.

/// The number of words in `text`.
qsizetype countWords(QStringView text);

/// The number of words in a document as the user typed it: list markers are drawn by the
/// document, not part of its text, so they never count; each table cell counts on its own.
qsizetype countDocumentWords(const QTextDocument& document);

} // namespace folioneer
