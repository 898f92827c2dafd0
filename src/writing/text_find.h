// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QStringView>

namespace folioneer {

// Finding a query in a text: the one matcher behind the find bar and the search of the whole
// book, so that "the n-th match of a section" means the same in both.

struct FindOptions {
    bool matchCase = false;
    bool wholeWords = false; ///< no letter, digit or "_" directly before or after the match
};

struct TextMatch {
    qsizetype start = 0;
    qsizetype length = 0;
    friend bool operator==(const TextMatch&, const TextMatch&) = default;
};

/// Every match of `query` in `text`, left to right and not overlapping. An empty query matches
/// nothing.
QList<TextMatch> findAll(QStringView text, QStringView query, FindOptions options);

} // namespace folioneer
