// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Exports a book of 1,000 sections, each with about 30 KB of formatted RTF content, as plain text
// and prints the time of each run and the peak memory of the process.
#include "bench_result.h"
#include "book_bench_corpus.h"
#include "export/book_export.h"
#include "project/content_paths.h"
#include "rtf/rtf.h"
#include "support/file_io.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

#include <sys/resource.h>

using namespace folioneer;

namespace {

constexpr int kRuns = 5;

long peakRssKb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString project = dir.filePath("projects/Benchmark Book");
    const bench::BenchBook corpus = bench::makeBenchBook(project);
    if (!corpus.ok) {
        return 1;
    }
    const qint64 contentBytes = corpus.contentBytes;
    const long rssBefore = peakRssKb();

    std::vector<qint64> times;
    qsizetype textSize = 0;
    for (int run = 0; run < kRuns; ++run) {
        QElapsedTimer timer;
        timer.start();
        const BookText book = buildBookText(project + QStringLiteral("/--toc.txt"), project);
        times.push_back(timer.elapsed());
        if (!book.ok()) {
            std::fprintf(stderr, "export failed: %s\n", qPrintable(book.error));
            return 1;
        }
        textSize = book.text.size();
    }
    std::sort(times.begin(), times.end());

    // The share of the RTF engine: every content file read and reduced to plain text alone.
    QElapsedTimer engineTimer;
    engineTimer.start();
    const QDir folder(project);
    for (const QString& name : folder.entryList({QStringLiteral("*---*.txt")}, QDir::Files)) {
        const ResultOf<QByteArray> read = readWholeFile(folder.filePath(name));
        if (!read.ok() || !rtf::plainTextFromRtf(read.value()).ok()) {
            return 1;
        }
    }
    const qint64 engineMs = engineTimer.elapsed();
    std::printf("book export: %d sections, %.1f MB of RTF, %.1f M characters of text\n",
                bench::kBenchChapters * bench::kBenchSectionsPerChapter, double(contentBytes) / (1024 * 1024),
                double(textSize) / 1e6);
    std::printf("book export: median %lld ms, min %lld ms, max %lld ms over %d runs (goal < 1000 ms)\n",
                static_cast<long long>(times[times.size() / 2]), static_cast<long long>(times.front()),
                static_cast<long long>(times.back()), kRuns);
    std::printf("book export: reading and reducing the content files alone: %lld ms\n",
                static_cast<long long>(engineMs));
    std::printf("book export: peak RSS %.1f MB (%.1f MB before exporting; goal < 200 MB)\n",
                peakRssKb() / 1024.0, rssBefore / 1024.0);

    const QByteArray runs = QByteArray::number(kRuns);
    bench::printResult("export.median", double(times[times.size() / 2]), "ms", "<1000",
                       "whole-book export, 1,000 sections of 30 KB RTF, median of " + runs + " runs");
    bench::printResult("export.min", double(times.front()), "ms", "-", "whole-book export, fastest run");
    bench::printResult("export.max", double(times.back()), "ms", "-", "whole-book export, slowest run");
    bench::printResult("export.content_files", double(engineMs), "ms", "-",
                       "reading and reducing the 1,000 content files alone");
    bench::printResult("export.peak_rss", peakRssKb() / 1024.0, "MB", "<200",
                       "peak resident memory of the exporting process");
    return 0;
}
