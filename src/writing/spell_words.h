// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QStringView>

namespace folioneer {

// Which pieces of a text are words for the spelling check. Web addresses and e-mail addresses
// are recognised first and skipped whole; the rest splits into words of letters with
// apostrophes inside ("don't", "don’t"). Words holding a digit, words in capitals only and
// words longer than 60 characters are skipped too. Knows nothing about dictionaries.

struct WordSpan {
    qsizetype start = 0;
    qsizetype length = 0;
    friend bool operator==(const WordSpan&, const WordSpan&) = default;
};

/// The words of `text` (one paragraph) that the spelling check looks up, in order.
QList<WordSpan> wordsToCheck(QStringView text);

} // namespace folioneer
