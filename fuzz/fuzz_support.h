// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QCryptographicHash>
#include <QFile>
#include <QString>

#include <cstdio>
#include <cstdlib>

namespace folioneer::fuzz {

// Small checks shared by the fuzz targets. A failed check aborts, which libFuzzer records as
// a crash with the input that caused it. With FOLIONEER_FUZZ_FINDINGS set to a folder, a failed
// check instead saves the input there (once per input) and the run goes on: then only sanitizer
// errors, timeouts and running out of memory stop it.

inline QByteArray& currentInput()
{
    static QByteArray input;
    return input;
}

inline QByteArray bytesOf(const unsigned char* data, size_t size)
{
    currentInput() = QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    return currentInput();
}

inline void fail(const char* what, const QString& detail = {})
{
    static const QByteArray findings = qgetenv("FOLIONEER_FUZZ_FINDINGS");
    if (findings.isEmpty()) {
        std::fprintf(stderr, "fuzz check failed: %s\n%s\n", what, qPrintable(detail.left(2000)));
        std::abort();
    }
    const QByteArray hash = QCryptographicHash::hash(currentInput(), QCryptographicHash::Sha1).toHex();
    QFile file(QString::fromLocal8Bit(findings) + u'/' + QString::fromLatin1(hash) + QStringLiteral(".rtf"));
    if (!file.exists() && file.open(QIODevice::WriteOnly)) {
        file.write(currentInput());
        std::fprintf(stderr, "fuzz check failed: %s (input saved as %s)\n%s\n", what,
                     qPrintable(file.fileName()), qPrintable(detail.left(500)));
    }
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
