// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later

// folioneer-rtf2text FILE...: writes the plain text of each RTF file to standard output,
// UTF-8 with CR LF paragraph ends, exactly as the whole-book export computes it. Files are
// separated by one CR LF. Exits with status 1 when a file cannot be read or is not RTF
// (the other files are still converted), 2 on a usage error.

#include "rtf/rtf.h"
#include "support/file_io.h"

#include <QCoreApplication>
#include <QFile>
#include <QStringList>

#include <cstdio>

using namespace folioneer;

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList files = app.arguments().mid(1);
    if (files.isEmpty() || files.first() == QLatin1String("--help")) {
        std::fputs("usage: folioneer-rtf2text FILE...\n"
                   "Writes the plain text of each RTF file (UTF-8, CR LF) to standard output.\n",
                   stderr);
        return 2;
    }
    QFile out;
    if (!out.open(stdout, QIODevice::WriteOnly)) {
        std::fputs("folioneer-rtf2text: cannot write to standard output\n", stderr);
        return 1;
    }
    int status = 0;
    bool first = true;
    for (const QString& path : files) {
        const ResultOf<QByteArray> read = readWholeFile(path);
        if (!read.ok()) {
            std::fprintf(stderr, "folioneer-rtf2text: %s: %s\n", qPrintable(path), qPrintable(read.reason()));
            status = 1;
            continue;
        }
        const rtf::PlainText text = rtf::plainTextFromRtf(read.value());
        if (!text.ok()) {
            std::fprintf(stderr, "folioneer-rtf2text: %s: not an RTF document\n", qPrintable(path));
            status = 1;
            continue;
        }
        if (text.status == rtf::ReadStatus::Truncated) {
            std::fprintf(stderr, "folioneer-rtf2text: %s: warning: the document is truncated\n",
                         qPrintable(path));
        }
        QByteArray bytes = first ? QByteArray() : QByteArray("\r\n");
        bytes += text.text.toUtf8();
        first = false;
        if (out.write(bytes) != bytes.size()) {
            std::fprintf(stderr, "folioneer-rtf2text: write error: %s\n", qPrintable(out.errorString()));
            return 1;
        }
    }
    if (!out.flush() || std::fflush(stdout) != 0) {
        std::fputs("folioneer-rtf2text: write error on standard output\n", stderr);
        return 1;
    }
    return status;
}
