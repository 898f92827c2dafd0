// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

#include <cstdio>
#include <cstdlib>

namespace folioneer::fuzz {

// Small checks shared by the fuzz targets. A failed check aborts, which libFuzzer records as
// a crash with the input that caused it.

inline QByteArray bytesOf(const unsigned char* data, size_t size)
{
    return QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

[[noreturn]] inline void fail(const char* what, const QString& detail = {})
{
    std::fprintf(stderr, "fuzz check failed: %s\n%s\n", what, qPrintable(detail.left(2000)));
    std::abort();
}

inline void check(bool condition, const char* what, const QString& detail = {})
{
    if (!condition) {
        fail(what, detail);
    }
}

/// True when `text` is well-formed UTF-16 (every surrogate in a pair).
inline bool isValidUtf16(const QString& text)
{
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text[i];
        if (c.isHighSurrogate()) {
            if (i + 1 >= n || !text[i + 1].isLowSurrogate()) {
                return false;
            }
            ++i;
        } else if (c.isLowSurrogate()) {
            return false;
        }
    }
    return true;
}

/// The first place where two texts differ, for messages.
inline QString firstDifference(const QString& a, const QString& b)
{
    qsizetype i = 0;
    while (i < a.size() && i < b.size() && a[i] == b[i]) {
        ++i;
    }
    const qsizetype from = std::max<qsizetype>(0, i - 20);
    return QStringLiteral("at %1 (sizes %2, %3):\n[%4]\n[%5]")
        .arg(i)
        .arg(a.size())
        .arg(b.size())
        .arg(a.mid(from, 60).toHtmlEscaped(), b.mid(from, 60).toHtmlEscaped());
}

} // namespace folioneer::fuzz
