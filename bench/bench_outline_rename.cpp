// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Renames a chapter of 100 sections that all have content (30 KB each), back and forth, and
// prints the median time of one rename: the table of contents, the journal and the 100 file
// moves included.
#include "bench_result.h"
#include "outline/outline_editor.h"
#include "support/file_io.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace folioneer;

namespace {

constexpr int kSections = 100;
constexpr int kRuns = 11;

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    QTemporaryDir dir;
    QByteArray toc = "Chapter: Getting Started\r\n";
    const QByteArray content = "{\\rtf1 " + QByteArray(30 * 1024, 'x') + "}";
    for (int i = 1; i <= kSections; ++i) {
        toc += "Subchapter: Section number " + QByteArray::number(i) + "\r\n";
        if (!writeFileAtomically(
                 dir.path() + "/getting-started---section-number-" + QString::number(i) + ".txt", content)
                 .ok()) {
            return 1;
        }
    }
    toc += "Chapter: Afterwards\r\nSubchapter: Notes\r\n";
    if (!writeFileAtomically(dir.path() + "/--toc.txt", toc).ok() ||
        !writeFileAtomically(dir.path() + "/--maintopic.txt", "Topic\r\n").ok()) {
        return 1;
    }

    OutlineEditor editor;
    editor.reset(loadProjectOutline(dir.path()));
    std::vector<double> times;
    for (int run = 0; run < kRuns; ++run) {
        QElapsedTimer timer;
        timer.start();
        const Result result = editor.renameChapter(0, run % 2 == 0 ? QStringLiteral("First Steps")
                                                                   : QStringLiteral("Getting Started"));
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
        if (!result.ok()) {
            std::fprintf(stderr, "rename failed: %s\n", qPrintable(result.text()));
            return 1;
        }
    }
    std::sort(times.begin(), times.end());
    std::printf(
        "Chapter rename with %d sections with content: median %.2f ms, fastest %.2f ms, slowest %.2f ms\n",
        kSections, times.at(times.size() / 2), times.front(), times.back());
    bench::printResult("outline.rename_chapter_100.ms", times.at(times.size() / 2), "ms", "<100",
                       "Rename a chapter of 100 sections with content, file moves included (median)");
    return 0;
}
