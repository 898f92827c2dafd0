// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Exports the benchmark book of 1,000 sections of 30 KB RTF to DOCX, EPUB and ODT: the time of
// each format (median of a few runs, each format in a child process of its own) and the child's
// peak memory. Then, in the same run, pandoc converts the HTML export of the book's first 50
// sections to DOCX and EPUB, our export of those sections is timed beside it, and the ratio is
// printed. pandoc is stopped after a time limit and reported as unfinished.
#include "bench_result.h"
#include "book_bench_corpus.h"
#include "publish/book_publisher.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
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

struct Figures {
    double medianMs = -1;
    double peakMb = -1;
    double cpuMs = -1; ///< processor time of one run (user and system), for a busy machine
    qint64 bytes = 0;
};

// Runs the export in a child, so that the peak memory is the export's alone. The child sends its
// figures back through a pipe.
Figures measure(const QString& project, const QString& target, BookFormat format, int runs)
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
        for (int run = 0; run < runs; ++run) {
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
        Figures figures{double(times[times.size() / 2]), usage.ru_maxrss / 1024.0, cpuMs / runs,
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

struct Options {
    int runs = 3;
    bool peer = true;
    int peerSections = 50;
    int peerTimeoutSeconds = 300;
    QStringList formats{QStringLiteral("docx"), QStringLiteral("epub"), QStringLiteral("odt")};
    QString keep; ///< a folder the exported books are copied into, to compare two builds' output
};

bool parseOptions(const QStringList& arguments, Options& options)
{
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments.at(i);
        const bool hasValue = i + 1 < arguments.size();
        bool ok = true;
        if (argument == QLatin1String("--no-peer")) {
            options.peer = false;
        } else if (argument == QLatin1String("--runs") && hasValue) {
            options.runs = arguments.at(++i).toInt(&ok);
            ok = ok && options.runs > 0;
        } else if (argument == QLatin1String("--peer-sections") && hasValue) {
            options.peerSections = arguments.at(++i).toInt(&ok);
            ok = ok && options.peerSections > 0;
        } else if (argument == QLatin1String("--peer-timeout") && hasValue) {
            options.peerTimeoutSeconds = arguments.at(++i).toInt(&ok);
            ok = ok && options.peerTimeoutSeconds > 0;
        } else if (argument == QLatin1String("--keep") && hasValue) {
            options.keep = arguments.at(++i);
        } else if (argument == QLatin1String("--formats") && hasValue) {
            options.formats = arguments.at(++i).split(QLatin1Char(','), Qt::SkipEmptyParts);
        } else {
            ok = false;
        }
        if (!ok) {
            std::fprintf(stderr, "usage: bench_publish [--runs N] [--formats docx,epub,odt] [--no-peer]\n"
                                 "                     [--peer-sections N] [--peer-timeout SECONDS]\n"
                                 "                     [--keep FOLDER]\n");
            return false;
        }
    }
    return true;
}

struct PeerRun {
    enum class Outcome { Done, TimedOut, Failed } outcome = Outcome::Failed;
    double seconds = -1;
};

// Runs pandoc on `html`; a run that has not finished after `timeoutSeconds` is killed, so the
// benchmark always ends.
PeerRun pandocRun(const QString& html, const QString& target, int timeoutSeconds)
{
    QProcess pandoc;
    QElapsedTimer timer;
    timer.start();
    pandoc.start(QStringLiteral("pandoc"),
                 {QStringLiteral("-f"), QStringLiteral("html"), QStringLiteral("-o"), target, html});
    if (!pandoc.waitForStarted()) {
        std::fprintf(stderr, "pandoc did not start: %s\n", qPrintable(pandoc.errorString()));
        return {};
    }
    if (!pandoc.waitForFinished(timeoutSeconds * 1000)) {
        pandoc.kill();
        pandoc.waitForFinished(10 * 1000);
        return {PeerRun::Outcome::TimedOut, double(timeoutSeconds)};
    }
    if (pandoc.exitStatus() != QProcess::NormalExit || pandoc.exitCode() != 0) {
        std::fprintf(stderr, "pandoc failed: %s\n", pandoc.readAllStandardError().constData());
        return {};
    }
    return {PeerRun::Outcome::Done, timer.elapsed() / 1000.0};
}

// pandoc converts the HTML export of the book's first sections to DOCX and EPUB, and our export
// of the same sub-book is timed beside it, so the ratio compares like with like. (pandoc takes
// tens of minutes, or more, over the whole 30 MB book.)
int comparePandoc(const QTemporaryDir& dir, const Options& options)
{
    if (QStandardPaths::findExecutable(QStringLiteral("pandoc")).isEmpty()) {
        std::printf("publish: pandoc is not installed; no comparison\n");
        return 0;
    }
    const QString project = dir.filePath(QStringLiteral("projects/Benchmark Excerpt"));
    const bench::BenchBook book = bench::makeBenchBook(project, options.peerSections);
    const QString html = dir.filePath(QStringLiteral("excerpt.html"));
    if (!book.ok || !exportBook(project, html, BookFormat::Html).result) {
        std::fprintf(stderr, "publish: the excerpt for pandoc could not be made\n");
        return 1;
    }
    std::printf("publish: pandoc beside us on the first %d sections (%.1f MB of RTF, %.1f MB of HTML), "
                "pandoc stopped after %d s\n",
                options.peerSections, double(book.contentBytes) / (1024 * 1024),
                double(QFileInfo(html).size()) / (1024 * 1024), options.peerTimeoutSeconds);
    const QByteArray excerpt = "the first " + QByteArray::number(options.peerSections) + " sections";
    int status = 0;
    for (const auto& [format, name] :
         {std::pair{BookFormat::Docx, "docx"}, std::pair{BookFormat::Epub, "epub"}}) {
        const Figures ours = measure(project, dir.filePath(QStringLiteral("excerpt.") + QLatin1String(name)),
                                     format, options.runs);
        const PeerRun peer = pandocRun(html, dir.filePath(QStringLiteral("pandoc.") + QLatin1String(name)),
                                       options.peerTimeoutSeconds);
        if (ours.medianMs <= 0 || peer.outcome == PeerRun::Outcome::Failed) {
            std::fprintf(stderr, "publish: the %s comparison failed\n", name);
            status = 1;
            continue;
        }
        const double oursSeconds = std::max(ours.medianMs, 1.0) / 1000.0;
        const QByteArray key = QByteArray("publish.pandoc_") + name;
        bench::printResult(key + ".ours_seconds", oursSeconds, "s", "-",
                           "our export of " + excerpt + " to " + QByteArray(name).toUpper() + ", median of " +
                               QByteArray::number(options.runs) + " runs");
        if (peer.outcome == PeerRun::Outcome::TimedOut) {
            std::printf("publish: pandoc HTML to %s did not finish in %d s; at least %.0f times our %.2f s\n",
                        name, options.peerTimeoutSeconds, peer.seconds / oursSeconds, oursSeconds);
            bench::printResult(key + ".seconds", peer.seconds, "s", "-",
                               "pandoc converting the HTML export of " + excerpt + " to " + name +
                                   ": did not finish in " + QByteArray::number(options.peerTimeoutSeconds) +
                                   " s, stopped");
            bench::printResult(key + ".ratio", peer.seconds / oursSeconds, "x", ">=10",
                               "pandoc's time over ours for " + excerpt + " to " + name +
                                   ", at least (pandoc stopped unfinished)");
            continue;
        }
        std::printf("publish: pandoc HTML to %s %.2f s, our export %.2f s: %.0f times our time\n", name,
                    peer.seconds, oursSeconds, peer.seconds / oursSeconds);
        bench::printResult(key + ".seconds", peer.seconds, "s", "-",
                           "pandoc converting the HTML export of " + excerpt + " to " + name);
        bench::printResult(key + ".ratio", peer.seconds / oursSeconds, "x", ">=10",
                           "pandoc's time over ours for " + excerpt + " to " + name);
    }
    return status;
}

} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    Options options;
    if (!parseOptions(application.arguments(), options)) {
        return 2;
    }
    QTemporaryDir dir;
    const QString project = dir.filePath(QStringLiteral("projects/Benchmark Book"));
    const bench::BenchBook book = bench::makeBenchBook(project);
    if (!book.ok) {
        return 1;
    }
    std::printf("publish: %d sections, %.1f MB of RTF\n",
                bench::kBenchChapters * bench::kBenchSectionsPerChapter,
                double(book.contentBytes) / (1024 * 1024));

    int status = 0;
    for (const QString& name : std::as_const(options.formats)) {
        const std::optional<BookFormat> format = formatForPath(QStringLiteral("book.") + name);
        if (!format) {
            std::fprintf(stderr, "publish: no format %s\n", qPrintable(name));
            return 2;
        }
        const QString target = dir.filePath(QStringLiteral("book.") + name);
        const Figures figures = measure(project, target, *format, options.runs);
        if (figures.medianMs < 0) {
            std::fprintf(stderr, "publish: the %s export failed\n", qPrintable(name));
            status = 1;
            continue;
        }
        std::printf(
            "publish: %s median %.0f ms over %d runs (%.0f ms of processor time per run), peak RSS %.1f MB, "
            "file %.1f MB\n",
            qPrintable(name), figures.medianMs, options.runs, figures.cpuMs, figures.peakMb,
            double(figures.bytes) / (1024 * 1024));
        if (!options.keep.isEmpty()) {
            const QString kept = QDir(options.keep).filePath(QStringLiteral("book.") + name);
            QFile::remove(kept);
            if (!QDir().mkpath(options.keep) || !QFile::copy(target, kept)) {
                std::fprintf(stderr, "publish: %s could not be kept\n", qPrintable(kept));
                status = 1;
            }
        }
        const QByteArray upper = name.toUpper().toUtf8();
        const QByteArray key = "publish." + name.toUtf8();
        bench::printResult(key + ".median", figures.medianMs, "ms", "<2000",
                           "export of 1,000 sections of 30 KB RTF to " + upper + ", median of " +
                               QByteArray::number(options.runs) + " runs");
        bench::printResult(key + ".peak_rss", figures.peakMb, "MB", "<300",
                           "peak resident memory of the " + upper + " export");
    }
    std::fflush(stdout);
    if (options.peer && comparePandoc(dir, options) != 0) {
        status = 1;
    }
    return status;
}
