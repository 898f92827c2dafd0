// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QtGlobal>

#include <cstdio>

namespace folioneer::bench {

/// For benchmarks that open windows: runs headless unless told otherwise, and finds the shipped
/// files (icons, dictionaries) in `sourceDir` unless FOLIONEER_SOURCE_DIR names another tree.
inline void useHeadlessDefaults(const char* sourceDir)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    if (qEnvironmentVariableIsEmpty("FOLIONEER_SOURCE_DIR")) {
        qputenv("FOLIONEER_SOURCE_DIR", sourceDir);
    }
}

/// Prints one figure as a line that scripts/make-performance-report.sh reads, beside the
/// benchmark's own human-readable output:
///   RESULT <key> <value> <unit> <goal> <description...>
/// `key` and `unit` hold no spaces; `goal` is "<N", "<=N", ">N", ">=N" in the same unit, or "-"
/// when the figure has none.
inline void printResult(const char* key, double value, const char* unit, const char* goal,
                        const QByteArray& description)
{
    std::printf("RESULT %s %.2f %s %s %s\n", key, value, unit, goal, description.constData());
}

} // namespace folioneer::bench
