// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Plain-text throughput of the RTF reader on one core: a seeded corpus of 400 documents of
// 20-60 KB, then single documents from 1 MB to 100 MB to show that time grows linearly.
//   bench_rtf_plain_text [--write-corpus DIR]   (DIR: also save the corpus, for compare-peers.sh)

#include "bench_result.h"
#include "rtf/rtf.h"
#include "rtf_bench_corpus.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <cstdio>

using namespace folioneer;

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    const QList<QByteArray> corpus = bench::generateRtfCorpus();
    qint64 corpusBytes = 0;
    for (const QByteArray& document : corpus) {
        corpusBytes += document.size();
    }

    const qsizetype at = arguments.indexOf(QStringLiteral("--write-corpus"));
    if (at > 0 && at + 1 < arguments.size()) {
        const QDir dir(arguments[at + 1]);
        if (!dir.mkpath(QStringLiteral("."))) {
            std::fprintf(stderr, "cannot create %s\n", qPrintable(dir.path()));
            return 1;
        }
        for (qsizetype i = 0; i < corpus.size(); ++i) {
            QFile file(dir.filePath(QStringLiteral("doc-%1.rtf").arg(i, 3, 10, QLatin1Char('0'))));
            if (!file.open(QIODevice::WriteOnly) || file.write(corpus[i]) != corpus[i].size()) {
                std::fprintf(stderr, "cannot write %s\n", qPrintable(file.fileName()));
                return 1;
            }
        }
        std::printf("corpus: %lld files, %lld bytes written to %s\n", static_cast<long long>(corpus.size()),
                    static_cast<long long>(corpusBytes), qPrintable(dir.path()));
        return 0;
    }

    qint64 characters = 0;
    const double corpusSeconds = bench::bestSeconds(5, [&] {
        characters = 0;
        for (const QByteArray& document : corpus) {
            characters += rtf::plainTextFromRtf(document).text.size();
        }
    });
    std::printf(
        "plain text, corpus of %lld files (%.1f MB): %.1f ms, %.0f MB/s (goal >= 150), %lld characters\n",
        static_cast<long long>(corpus.size()), corpusBytes / 1e6, corpusSeconds * 1e3,
        corpusBytes / 1e6 / corpusSeconds, static_cast<long long>(characters));
    bench::printResult("plain_text.corpus_rate", corpusBytes / 1e6 / corpusSeconds, "MB/s", ">=150",
                       "RTF to plain text, corpus of " + QByteArray::number(corpus.size()) +
                           " documents of 20-60 KB, best of 5");

    double firstRate = 0;
    for (const int megabytes : {1, 10, 100}) {
        const QByteArray document = bench::generateRtfDocument(7, qsizetype(megabytes) * 1000 * 1000);
        const double seconds =
            bench::bestSeconds(megabytes >= 100 ? 2 : 5, [&] { (void)rtf::plainTextFromRtf(document); });
        const double rate = document.size() / 1e6 / seconds;
        if (firstRate == 0) {
            firstRate = rate;
        }
        std::printf("plain text, one %3d MB document: %8.1f ms, %.0f MB/s (%.2f of the 1 MB rate)\n",
                    megabytes, seconds * 1e3, rate, rate / firstRate);
        const QByteArray key = "plain_text.rate_" + QByteArray::number(megabytes) + "mb";
        bench::printResult(key.constData(), rate, "MB/s", "-",
                           "RTF to plain text, one " + QByteArray::number(megabytes) + " MB document (" +
                               QByteArray::number(rate / firstRate, 'f', 2) + " of the 1 MB rate)");
    }
    return 0;
}
