// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later

// folioneer-rtfcat FILE: reads an RTF file into a QTextDocument, as the editor does, and writes
// the document back to standard output as RTF, as the program saves it. For round-trip checks.
// Exits with status 1 when the file cannot be read, is not RTF, or the output fails.

#include "rtf/rtf.h"
#include "rtf/rtf_writer.h"
#include "support/file_io.h"

#include <QFile>
#include <QGuiApplication>
#include <QTextDocument>

#include <cstdio>

using namespace folioneer;

int main(int argc, char** argv)
{
    // A QTextDocument needs a GUI application, but the tool shows nothing.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication app(argc, argv);
    const QStringList arguments = app.arguments().mid(1);
    if (arguments.size() != 1 || arguments.first() == QLatin1String("--help")) {
        std::fputs("usage: folioneer-rtfcat FILE\n"
                   "Reads an RTF file into a text document and writes it back as RTF to standard output.\n",
                   stderr);
        return 2;
    }
    const QString path = arguments.first();
    const ResultOf<QByteArray> read = readWholeFile(path);
    if (!read.ok()) {
        std::fprintf(stderr, "folioneer-rtfcat: %s: %s\n", qPrintable(path), qPrintable(read.reason()));
        return 1;
    }
    QTextDocument document;
    const rtf::ReadStatus status = rtf::readRtf(read.value(), document);
    if (status == rtf::ReadStatus::NotRtf) {
        std::fprintf(stderr, "folioneer-rtfcat: %s: not an RTF document\n", qPrintable(path));
        return 1;
    }
    if (status == rtf::ReadStatus::Truncated) {
        std::fprintf(stderr, "folioneer-rtfcat: %s: warning: the document is truncated\n", qPrintable(path));
    }
    QFile out;
    if (!out.open(stdout, QIODevice::WriteOnly)) {
        std::fputs("folioneer-rtfcat: cannot write to standard output\n", stderr);
        return 1;
    }
    const Result written = rtf::writeRtf(document, out);
    if (!written.ok() || std::fflush(stdout) != 0) {
        std::fprintf(stderr, "folioneer-rtfcat: %s\n",
                     written.ok() ? "write error on standard output" : qPrintable(written.reason()));
        return 1;
    }
    return 0;
}
