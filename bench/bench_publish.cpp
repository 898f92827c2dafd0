// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Exports the benchmark book of 1,000 sections of 30 KB RTF to DOCX, EPUB and ODT: the time of
// each format (median of a few runs, each format in a child process of its own) and the child's
// peak memory. Then pandoc converts the same book's HTML export to DOCX and EPUB in the same run,
// and the ratio of its time to ours is printed.
#include "bench_result.h"
#include "book_bench_corpus.h"
#include "publish/book_publisher.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace folioneer;
using namespace folioneer::publish;

namespace {

constexpr int kRuns = 3;

struct Figures {
    double medianMs = -1;
    double peakMb = -1;
    double cpuMs = -1; ///< processor time of one run (user and system), for a busy machine
    qint64 bytes = 0;
};

// Runs the export in a child, so that the peak memory is the export's alone. The child sends its
// figures back through a pipe.
Figures measure(const QString& project, const QString& target, BookFormat format)
{
    int pipeEnds[2];
    if (::pipe(pipeEnds) != 0) {
        return {};
    }
    std::fflush(stdout);
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(pipeEnds[0]);
        std::vector<qint64> times;
        for (int run = 0; run < kRuns; ++run) {
            QElapsedTimer timer;
            timer.start();
            const ExportOutcome outcome = exportBook(project, target, format);
            times.push_back(timer.elapsed());
            if (!outcome.result) {
                std::fprintf(stderr, "export failed: %s\n", qPrintable(outcome.result.text()));
                ::_exit(1);
            }
        }
        std::sort(times.begin(), times.end());
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        const double cpuMs = (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1000.0 +
                             (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1000.0;
        Figures figures{double(times[times.size() / 2]), usage.ru_maxrss / 1024.0, cpuMs / kRuns,
                        QFileInfo(target).size()};
        const bool sent = ::write(pipeEnds[1], &figures, sizeof figures) == ssize_t(sizeof figures);
        ::_exit(sent ? 0 : 1);
    }
    ::close(pipeEnds[1]);
    Figures figures;
    const bool received = ::read(pipeEnds[0], &figures, sizeof figures) == ssize_t(sizeof figures);
    ::close(pipeEnds[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    return received && WIFEXITED(status) && WEXITSTATUS(status) == 0 ? figures : Figures{};
}

double pandocSeconds(const QString& html, const QString& target)
{
    QProcess pandoc;
    QElapsedTimer timer;
    timer.start();
    pandoc.start(QStringLiteral("pandoc"),
                 {QStringLiteral("-f"), QStringLiteral("html"), QStringLiteral("-o"), target, html});
    if (!pandoc.waitForFinished(30 * 60 * 1000) || pandoc.exitCode() != 0) {
        std::fprintf(stderr, "pandoc failed: %s\n", pandoc.readAllStandardError().constData());
        return -1;
    }
    return timer.elapsed() / 1000.0;
}

} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    QTemporaryDir dir;
    const QString project = dir.filePath(QStringLiteral("projects/Benchmark Book"));
    const bench::BenchBook book = bench::makeBenchBook(project);
    if (!book.ok) {
        return 1;
    }
    std::printf("publish: %d sections, %.1f MB of RTF\n",
                bench::kBenchChapters * bench::kBenchSectionsPerChapter,
                double(book.contentBytes) / (1024 * 1024));

    struct Format {
        BookFormat format;
        const char* name;
    };
    const Format formats[] = {
        {BookFormat::Docx, "docx"}, {BookFormat::Epub, "epub"}, {BookFormat::Odt, "odt"}};
    int status = 0;
    double ours[2] = {-1, -1}; // DOCX, EPUB
    for (const Format& format : formats) {
        const QString target = dir.filePath(QStringLiteral("book.") + QLatin1String(format.name));
        const Figures figures = measure(project, target, format.format);
        if (figures.medianMs < 0) {
            std::fprintf(stderr, "publish: the %s export failed\n", format.name);
            status = 1;
            continue;
        }
        std::printf(
            "publish: %s median %.0f ms over %d runs (%.0f ms of processor time per run), peak RSS %.1f MB, "
            "file %.1f MB\n",
            format.name, figures.medianMs, kRuns, figures.cpuMs, figures.peakMb,
            double(figures.bytes) / (1024 * 1024));
        const QByteArray upper = QByteArray(format.name).toUpper();
        bench::printResult(QByteArray("publish.") + format.name + ".median", figures.medianMs, "ms", "<2000",
                           "export of 1,000 sections of 30 KB RTF to " + upper + ", median of " +
                               QByteArray::number(kRuns) + " runs");
        bench::printResult(QByteArray("publish.") + format.name + ".peak_rss", figures.peakMb, "MB", "<300",
                           "peak resident memory of the " + upper + " export");
        if (format.format == BookFormat::Docx || format.format == BookFormat::Epub) {
            ours[format.format == BookFormat::Docx ? 0 : 1] = figures.medianMs / 1000.0;
        }
    }

    if (QStandardPaths::findExecutable(QStringLiteral("pandoc")).isEmpty()) {
        std::printf("publish: pandoc is not installed; no comparison\n");
        return status;
    }
    const QString html = dir.filePath(QStringLiteral("book.html"));
    if (!exportBook(project, html, BookFormat::Html).result) {
        return 1;
    }
    const char* const names[] = {"docx", "epub"};
    for (int i = 0; i < 2; ++i) {
        const double seconds =
            pandocSeconds(html, dir.filePath(QStringLiteral("pandoc.") + QLatin1String(names[i])));
        if (seconds < 0 || ours[i] <= 0) {
            status = 1;
            continue;
        }
        std::printf("publish: pandoc HTML to %s %.1f s, %.0f times our export's time\n", names[i], seconds,
                    seconds / ours[i]);
        bench::printResult(QByteArray("publish.pandoc_") + names[i] + ".seconds", seconds, "s", "-",
                           QByteArray("pandoc converting the same book's HTML export to ") + names[i]);
        bench::printResult(QByteArray("publish.pandoc_") + names[i] + ".ratio", seconds / ours[i], "x",
                           ">=10", QByteArray("pandoc's time over ours for ") + names[i]);
    }
    return status;
}
