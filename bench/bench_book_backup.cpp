// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Backs up the benchmark book (1,000 sections of about 30 KB RTF, 30 MB) into one zip file and
// restores it under a new name, and times a general archiver on the same folder in the same run:
// Info-ZIP's `zip -r` at its default level where it is installed, else `tar czf`.
#include "bench_result.h"
#include "book_bench_corpus.h"
#include "project/book_backup.h"
#include "project/project_store.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace folioneer;

namespace {

constexpr int kRuns = 5;

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.at(values.size() / 2);
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    QTemporaryDir program;
    const QString name = QStringLiteral("Benchmark Book");
    const bench::BenchBook corpus =
        bench::makeBenchBook(program.filePath(QStringLiteral("projects/") + name));
    if (!corpus.ok) {
        return 1;
    }
    const double megabytes = double(corpus.contentBytes) / (1024 * 1024);
    const QString zip = program.filePath(QStringLiteral("backup.zip"));

    std::vector<double> backupMs;
    std::vector<double> restoreMs;
    for (int run = 0; run < kRuns; ++run) {
        QElapsedTimer timer;
        timer.start();
        Result result = backupProject(program.path(), name, zip);
        backupMs.push_back(double(timer.nsecsElapsed()) / 1e6);
        if (!result) {
            std::fprintf(stderr, "backup failed: %s\n", qPrintable(result.text()));
            return 1;
        }
        const QString restored = QStringLiteral("Restored");
        timer.start();
        result = restoreProject(program.path(), zip, restored);
        restoreMs.push_back(double(timer.nsecsElapsed()) / 1e6);
        if (!result || !DeleteFolderTree(program.filePath(QStringLiteral("projects/") + restored))) {
            std::fprintf(stderr, "restore failed: %s\n", qPrintable(result.text()));
            return 1;
        }
    }
    const double zipMegabytes = double(QFileInfo(zip).size()) / (1024 * 1024);
    std::printf(
        "book backup: %.1f MB book to a %.1f MB zip: median %.0f ms, restore median %.0f ms over %d runs\n",
        megabytes, zipMegabytes, median(backupMs), median(restoreMs), kRuns);
    bench::printResult("backup.book_30mb.ms", median(backupMs), "ms", "<1000",
                       QByteArray::number(megabytes, 'f', 1) +
                           " MB book (1,000 sections) backed up as one zip of " +
                           QByteArray::number(zipMegabytes, 'f', 1) + " MB (median)");
    bench::printResult("backup.restore_30mb.ms", median(restoreMs), "ms", "-",
                       "The same zip restored as a new project (median)");

    // The peer archives the same folder from inside the projects folder, as a user would.
    QStringList command;
    QString peer;
    if (!QStandardPaths::findExecutable(QStringLiteral("zip")).isEmpty()) {
        peer = QStringLiteral("zip");
        command = {QStringLiteral("zip"), QStringLiteral("-q"), QStringLiteral("-r"),
                   program.filePath(QStringLiteral("peer.zip")), name};
    } else if (!QStandardPaths::findExecutable(QStringLiteral("tar")).isEmpty()) {
        peer = QStringLiteral("tar");
        command = {QStringLiteral("tar"), QStringLiteral("czf"),
                   program.filePath(QStringLiteral("peer.tar.gz")), name};
    } else {
        std::printf("book backup: neither zip nor tar is installed; no comparison\n");
        return 0;
    }
    std::vector<double> peerMs;
    for (int run = 0; run < kRuns; ++run) {
        QFile::remove(program.filePath(QStringLiteral("peer.zip")));
        QProcess process;
        process.setWorkingDirectory(program.filePath(QStringLiteral("projects")));
        QElapsedTimer timer;
        timer.start();
        process.start(command.first(), command.mid(1));
        if (!process.waitForFinished(10 * 60 * 1000) || process.exitCode() != 0) {
            std::fprintf(stderr, "%s failed: %s\n", qPrintable(peer),
                         process.readAllStandardError().constData());
            return 1;
        }
        peerMs.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    const QString how = peer == QLatin1String("zip") ? QStringLiteral("Info-ZIP zip -r (default level)")
                                                     : QStringLiteral("tar czf");
    std::printf("book backup: %s median %.0f ms, %.1f times our backup's time\n", qPrintable(how),
                median(peerMs), median(peerMs) / median(backupMs));
    bench::printResult(QByteArray("backup.peer_") + peer.toLatin1() + ".ms", median(peerMs), "ms", "-",
                       how.toUtf8() + " of the same book folder (median)");
    bench::printResult(QByteArray("backup.peer_") + peer.toLatin1() + ".ratio",
                       median(peerMs) / median(backupMs), "x", "-", how.toUtf8() + "'s time over ours");
    return 0;
}
