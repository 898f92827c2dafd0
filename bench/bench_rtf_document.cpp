// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The editor's path: reading a 2 MB RTF document into a QTextDocument (goal under 100 ms)
// and writing that document back as RTF (goal under 50 ms).

#include "bench_result.h"
#include "rtf/rtf.h"
#include "rtf_bench_corpus.h"

#include <QGuiApplication>
#include <QTextDocument>

#include <cstdio>

using namespace folioneer;

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication app(argc, argv);
    const QByteArray rtf = bench::generateRtfDocument(11, 2 * 1000 * 1000);

    QTextDocument document;
    const double readSeconds = bench::bestSeconds(5, [&] {
        QTextDocument fresh;
        (void)rtf::readRtf(rtf, fresh);
    });
    (void)rtf::readRtf(rtf, document);
    std::printf("document, read %.1f MB of RTF into a QTextDocument: %.1f ms (goal < 100), %d blocks\n",
                rtf.size() / 1e6, readSeconds * 1e3, document.blockCount());
    bench::printResult("document.read", readSeconds * 1e3, "ms", "<100",
                       "read a " + QByteArray::number(rtf.size() / 1e6, 'f', 1) +
                           " MB RTF document into a QTextDocument, best of 5");

    QByteArray written;
    const double writeSeconds = bench::bestSeconds(5, [&] { written = rtf::writeRtf(document); });
    std::printf("document, write it as RTF: %.1f ms (goal < 50), %.1f MB written\n", writeSeconds * 1e3,
                written.size() / 1e6);
    bench::printResult("document.write", writeSeconds * 1e3, "ms", "<50",
                       "write that document back as RTF, best of 5");
    return 0;
}
