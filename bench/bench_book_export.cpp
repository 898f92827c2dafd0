// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Exports a book of 1,000 sections, each with about 30 KB of formatted RTF content, and prints
// the time of each run and the peak memory of the process.
#include "bench_result.h"
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

constexpr int kChapters = 50;
constexpr int kSectionsPerChapter = 20;
constexpr int kContentBytes = 30 * 1024;
constexpr int kRuns = 5;

// A section's content as a rich-text editor saves it: font and colour tables, then paragraphs
// that vary bold, italic, underline, colours, sizes, fonts, escaped accents, Unicode escapes,
// bullets and tabs.
QByteArray sectionRtf(int seed)
{
    QByteArray rtf =
        "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss Verdana;}{\\f1\\froman Times New "
        "Roman;}{\\f2\\fmodern Courier New;}}{\\colortbl;\\red200\\green30\\blue30;\\red20\\green90"
        "\\blue160;}\\viewkind4\\uc1\\pard\\f0\\fs20 ";
    int paragraph = 0;
    while (rtf.size() < kContentBytes) {
        const int kind = (seed + paragraph) % 6;
        switch (kind) {
        case 0:
            rtf += "{\\b Section " + QByteArray::number(seed) + " heading " + QByteArray::number(paragraph) +
                   "}\\par ";
            break;
        case 1:
            rtf +=
                "Plain text with {\\i italic words}, {\\ul underlined words} and {\\cf1 red} or {\\cf2 blue} "
                "ones, caf\\'e9 na\\'efve r\\'e9sum\\'e9 and the euro \\u8364? sign.\\par ";
            break;
        case 2:
            rtf +=
                "{\\pntext\\f0 \\'95\\tab}{\\*\\pn\\pnlvlblt\\pnf0\\pnindent0{\\pntxtb\\'95}}\\fi-360\\li720 "
                "A bullet point about soil, water and light in the garden.\\par\\pard\\f0\\fs20 ";
            break;
        case 3:
            rtf +=
                "{\\f1\\fs28 A larger paragraph in another font, long enough to wrap over several lines of "
                "the editor so that the reader has real work to do with every word of it.}\\par ";
            break;
        case 4:
            rtf += "{\\f2\\fs18 code_sample(42);\\tab // a comment\\line second line}\\par ";
            break;
        default:
            rtf += "Quotes \\ldblquote like these\\rdblquote , dashes \\endash  and \\emdash , "
                   "Greek \\u945?\\u946?\\u947? and a {\\b\\i bold italic} end.\\par ";
            break;
        }
        ++paragraph;
    }
    rtf += "}";
    return rtf;
}

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
    QByteArray toc;
    qint64 contentBytes = 0;
    for (int c = 0; c < kChapters; ++c) {
        const QString chapter = QStringLiteral("Chapter %1: The Garden in Season %1").arg(c + 1);
        toc += "Chapter: " + chapter.toUtf8() + "\r\n";
        for (int s = 0; s < kSectionsPerChapter; ++s) {
            const QString section =
                QStringLiteral("Section %1.%2 Soil, Water and Light").arg(c + 1).arg(s + 1);
            toc += "Subchapter: " + section.toUtf8() + "\r\n";
            const QString path = ContentFilePath(project, QLatin1Char(' ') + chapter + QLatin1Char('\r'),
                                                 section + QLatin1Char('\r'));
            QFile file(path);
            if (!(file.exists() || QDir().mkpath(project)) || !file.open(QIODevice::WriteOnly)) {
                std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
                return 1;
            }
            const QByteArray rtf = sectionRtf(c * kSectionsPerChapter + s);
            file.write(rtf);
            contentBytes += rtf.size();
        }
    }
    QFile tocFile(project + QStringLiteral("/--toc.txt"));
    if (!tocFile.open(QIODevice::WriteOnly) || tocFile.write(toc) != toc.size()) {
        return 1;
    }
    tocFile.close();
    const long rssBefore = peakRssKb();

    std::vector<qint64> times;
    qsizetype textSize = 0;
    for (int run = 0; run < kRuns; ++run) {
        QElapsedTimer timer;
        timer.start();
        const BookText book = buildBookText(tocFile.fileName(), project);
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
        const FileRead read = readWholeFile(folder.filePath(name));
        if (!read.ok() || !rtf::plainTextFromRtf(read.data).ok()) {
            return 1;
        }
    }
    const qint64 engineMs = engineTimer.elapsed();
    std::printf("book export: %d sections, %.1f MB of RTF, %.1f M characters of text\n",
                kChapters * kSectionsPerChapter, double(contentBytes) / (1024 * 1024),
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
