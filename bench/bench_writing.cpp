// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Times the writer's tools: the search and the word count over a book of 1,000 sections of
// 30 KB RTF each (first and cached), and in the main window, with the system's US English
// dictionary, opening a 2 MB section with spelling on, one keystroke in it, checking all of it
// in idle slices and recounting its words. Prints the median of several runs of each.

#include "app/frm_main1.h"
#include "app/rich_text_box.h"
#include "app/spell_highlighter.h"
#include "app/spelling.h"
#include "app/writing_tools.h"
#include "bench_result.h"
#include "common/recording_message_boxes.h"
#include "common/test_support.h"
#include "project/content_paths.h"
#include "writing/book_search.h"
#include "writing/spelling_settings.h"
#include "writing/word_count.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>
#include <QTreeWidget>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace folioneer;

namespace {

const char* const kWords[] = {"the",     "harbour", "morning", "boats",   "leave",      "early",   "while",
                              "fishing", "nets",    "are",     "mended",  "by",         "hands",   "that",
                              "know",    "their",   "work",    "without", "looking",    "weather", "changes",
                              "quickly", "along",   "this",    "coast",   "and",        "every",   "sailor",
                              "watches", "clouds",  "recieve", "wether",  "definately", "of",      "a"};
constexpr int kWordCount = int(sizeof(kWords) / sizeof(kWords[0]));

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void report(const char* key, const char* what, const std::vector<double>& milliseconds, double goal)
{
    const double value = median(milliseconds);
    std::printf("%-62s median %8.2f ms  %s\n", what, value, goal > 0 ? (value < goal ? "ok" : "OVER") : "");
    const QByteArray goalText = goal > 0 ? "<" + QByteArray::number(goal) : QByteArray("-");
    bench::printResult(key, value, "ms", goalText.constData(),
                       what + QByteArray(", median of ") + QByteArray::number(milliseconds.size()) + " runs");
}

/// Paragraphs of at most 2,000 characters of English words with some misspellings, as RTF of
/// about `bytes` bytes.
QByteArray paragraphsRtf(int bytes, int seed)
{
    QByteArray rtf = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0 Verdana;}}\\f0\\fs20 ";
    quint32 state = quint32(seed) * 2654435761u + 1;
    while (rtf.size() < bytes) {
        QByteArray paragraph;
        const int length = 300 + int(state % 1700);
        while (paragraph.size() < length) {
            state = state * 1664525u + 1013904223u;
            paragraph += kWords[(state >> 8) % kWordCount];
            paragraph += (state >> 20) % 9 == 0 ? ", " : " ";
        }
        rtf += paragraph.left(1999).trimmed() + ".\\par\n";
    }
    return rtf + "}";
}

QList<BookChapter> makeBook(const QString& folder)
{
    QList<BookChapter> book;
    for (int c = 0; c < 50; ++c) {
        BookChapter chapter{QStringLiteral("Chapter %1").arg(c + 1), {}};
        for (int s = 0; s < 20; ++s) {
            const QString path = folder + QStringLiteral("/section-%1-%2.txt").arg(c).arg(s);
            test::writeFile(path, paragraphsRtf(30 * 1024, c * 20 + s));
            chapter.sections.append({QStringLiteral("Section %1").arg(s + 1), path});
        }
        book.append(chapter);
    }
    return book;
}

void benchBook()
{
    QTemporaryDir dir;
    const QList<BookChapter> book = makeBook(dir.path());
    std::vector<double> firstSearches, cachedSearches, coldCounts, cachedCounts;
    qsizetype hits = 0;
    qsizetype words = 0;
    for (int run = 0; run < 5; ++run) {
        BookTextCache cache;
        QElapsedTimer timer;
        timer.start();
        hits = searchBook(book, cache, QStringLiteral("sailor watches"), {}, nullptr).hits.size();
        firstSearches.push_back(timer.nsecsElapsed() / 1e6);
        timer.restart();
        searchBook(book, cache, QStringLiteral("Mended by"), {true, true}, nullptr);
        cachedSearches.push_back(timer.nsecsElapsed() / 1e6);

        BookTextCache counts;
        timer.restart();
        words = countBook(book, counts, nullptr).book;
        coldCounts.push_back(timer.nsecsElapsed() / 1e6);
        timer.restart();
        countBook(book, counts, nullptr);
        cachedCounts.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::printf("book: 1,000 sections of 30 KB RTF; %lld hits, %lld words\n", static_cast<long long>(hits),
                static_cast<long long>(words));
    report("writing.book_search_first", "search 1,000 sections of 30 KB (first search)", firstSearches, 300);
    report("writing.book_search_cached", "search 1,000 sections of 30 KB (texts cached)", cachedSearches, 50);
    report("writing.book_count_cold", "word count of 1,000 sections of 30 KB (cold)", coldCounts, 300);
    report("writing.book_count_cached", "word count of 1,000 sections of 30 KB (cached)", cachedCounts, 20);
}

bool benchSection()
{
    if (!QFileInfo::exists(QStringLiteral("/usr/share/hunspell/en_US.aff"))) {
        std::printf("no US English dictionary in /usr/share/hunspell: the section figures are left out\n");
        return true;
    }
    test::TempProgramFolder program;
    test::RecordingMessageBoxes boxes;
    if (!writeLanguageChoice(program.path(), QStringLiteral("en_US")).ok()) {
        std::printf("the spelling language could not be chosen\n");
        return false;
    }
    const QString project = program.makeProject(
        QStringLiteral("Big"), "Chapter: One\r\nSubchapter: Small\r\nSubchapter: Large\r\n", "Sea\r\n");
    test::writeFile(ContentFilePath(project, QStringLiteral(" One\r"), QStringLiteral("Small\r")),
                    paragraphsRtf(2000, 1));
    const QByteArray large = paragraphsRtf(2 * 1024 * 1024, 2);
    test::writeFile(ContentFilePath(project, QStringLiteral(" One\r"), QStringLiteral("Large\r")), large);

    frmMain1 window(program.path(), boxes);
    window.showActivated();
    window.LoadProject(project);
    auto* tree = window.findChild<QTreeWidget*>(QStringLiteral("TreeView1"));
    auto* content = window.findChild<RichTextBox*>(QStringLiteral("RichTextBox1"));
    QTreeWidgetItem* small = tree->topLevelItem(0)->child(0);
    QTreeWidgetItem* big = tree->topLevelItem(0)->child(1);
    WritingTools& tools = window.writingTools();

    // The dictionary loads away from the window the first time a section is shown.
    QElapsedTimer timer;
    timer.start();
    window.TreeView1_NodeClick(small);
    while (!tools.spelling().isReady()) {
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    }
    const double dictionary = timer.nsecsElapsed() / 1e6;
    std::printf("dictionary en_US loaded %.1f ms after the first section was shown\n", dictionary);
    bench::printResult("writing.dictionary_load", dictionary, "ms", "-",
                       "en_US dictionary loaded in the background after the first section was shown");

    std::vector<double> opens, wholeChecks, keys, counts;
    for (int run = 0; run < 5; ++run) {
        window.TreeView1_NodeClick(small);
        QApplication::processEvents();
        timer.restart();
        tree->setCurrentItem(big);
        window.TreeView1_NodeClick(big);
        content->viewport()->repaint();
        opens.push_back(timer.nsecsElapsed() / 1e6);
        timer.restart();
        tools.highlighter().checkAll();
        wholeChecks.push_back(timer.nsecsElapsed() / 1e6);
    }
    QTextCursor middle(content->document());
    middle.setPosition(content->document()->characterCount() / 2);
    content->setTextCursor(middle);
    content->ensureCursorVisible();
    content->setFocus();
    QApplication::processEvents();
    for (int key = 0; key < 41; ++key) {
        timer.restart();
        QTest::keyClick(content, key % 5 == 4 ? Qt::Key_Space : Qt::Key(Qt::Key_A + key % 26));
        content->viewport()->repaint();
        keys.push_back(timer.nsecsElapsed() / 1e6);
    }
    for (int run = 0; run < 5; ++run) {
        timer.restart();
        countDocumentWords(*content->document());
        counts.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::printf("section: %lld bytes of RTF, %d characters\n", static_cast<long long>(large.size()),
                content->document()->characterCount());
    report("writing.open_section_spelling", "open a 2 MB section with spelling on (click to shown)", opens,
           200);
    report("writing.check_whole_section", "check every word of that section (idle slices, all)", wholeChecks,
           0);
    report("writing.keystroke", "one keystroke in it (highlighter included, repainted)", keys, 16);
    report("writing.section_count", "recount that section's words after typing pauses", counts, 16);
    return true;
}

} // namespace

int main(int argc, char* argv[])
{
    bench::useHeadlessDefaults(FOLIONEER_SOURCE_DIR_DEFAULT);
    QApplication application(argc, argv);
    benchBook();
    return benchSection() ? 0 : 1;
}
