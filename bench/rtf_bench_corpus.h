// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>

#include <chrono>

namespace folioneer::bench {

// Seeded RTF documents for the benchmarks: word-processor-like files with fonts, sizes,
// colours, code-page escapes, \uN characters, lists, tables, links, hidden text and skipped
// destinations, so that every part of the reader is exercised in realistic proportions.

/// One document of about `targetBytes` bytes.
QByteArray generateRtfDocument(quint32 seed, qsizetype targetBytes);

/// The benchmark corpus: `count` documents of 20 to 60 KB, the same for a given seed.
QList<QByteArray> generateRtfCorpus(quint32 seed = 2026, int count = 400);

/// Seconds taken by `work`, the best of `repeats` runs.
template <typename Work> double bestSeconds(int repeats, Work&& work)
{
    double best = 1e300;
    for (int i = 0; i < repeats; ++i) {
        const auto start = std::chrono::steady_clock::now();
        work();
        const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
        best = std::min(best, elapsed.count());
    }
    return best;
}

} // namespace folioneer::bench
