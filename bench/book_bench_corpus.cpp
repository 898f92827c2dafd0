// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "book_bench_corpus.h"

#include "project/content_paths.h"

#include <QDir>
#include <QFile>

#include <algorithm>
#include <cstdio>

namespace folioneer::bench {

namespace {

constexpr int kContentBytes = 30 * 1024;

} // namespace

// A section's content as a rich-text editor saves it: font and colour tables, then paragraphs
// that vary bold, italic, underline, colours, sizes, fonts, escaped accents, Unicode escapes,
// bullets and tabs.
QByteArray benchSectionRtf(int seed)
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

BenchBook makeBenchBook(const QString& project, int sections)
{
    BenchBook book;
    QByteArray toc;
    const int total = kBenchChapters * kBenchSectionsPerChapter;
    const int wanted = sections < 0 ? total : std::min(sections, total);
    for (int c = 0; c * kBenchSectionsPerChapter < wanted; ++c) {
        const QString chapter = QStringLiteral("Chapter %1: The Garden in Season %1").arg(c + 1);
        toc += "Chapter: " + chapter.toUtf8() + "\r\n";
        for (int s = 0; s < kBenchSectionsPerChapter && c * kBenchSectionsPerChapter + s < wanted; ++s) {
            const QString section =
                QStringLiteral("Section %1.%2 Soil, Water and Light").arg(c + 1).arg(s + 1);
            toc += "Subchapter: " + section.toUtf8() + "\r\n";
            const QString path = ContentFilePath(project, QLatin1Char(' ') + chapter + QLatin1Char('\r'),
                                                 section + QLatin1Char('\r'));
            QFile file(path);
            if (!(file.exists() || QDir().mkpath(project)) || !file.open(QIODevice::WriteOnly)) {
                std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
                return book;
            }
            const QByteArray rtf = benchSectionRtf(c * kBenchSectionsPerChapter + s);
            file.write(rtf);
            book.contentBytes += rtf.size();
        }
    }
    QFile tocFile(project + QStringLiteral("/--toc.txt"));
    if (!tocFile.open(QIODevice::WriteOnly) || tocFile.write(toc) != toc.size()) {
        std::fprintf(stderr, "cannot write the table of contents\n");
        return book;
    }
    QFile topic(project + QStringLiteral("/--maintopic.txt"));
    book.ok = topic.open(QIODevice::WriteOnly) && topic.write("Gardening through the year\r\n") > 0;
    return book;
}

} // namespace folioneer::bench
