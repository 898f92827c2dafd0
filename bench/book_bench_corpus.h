// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

namespace folioneer::bench {

// The book the export benchmarks read: 50 chapters of 20 sections, each section about 30 KB of
// RTF as a rich-text editor saves it, with varied formatting.

inline constexpr int kBenchChapters = 50;
inline constexpr int kBenchSectionsPerChapter = 20;

struct BenchBook {
    bool ok = false;
    qint64 contentBytes = 0;
};

/// The RTF of section number `seed`.
QByteArray benchSectionRtf(int seed);

/// Writes the book into the project folder `project` (table of contents, main topic, content
/// files); prints the reason on standard error when it cannot. With `sections` >= 0 only the
/// first that many sections are written (and the chapters they belong to).
BenchBook makeBenchBook(const QString& project, int sections = -1);

} // namespace folioneer::bench
