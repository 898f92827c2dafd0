// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Times the main window's heavy moments: loading a table of contents of the greatest size
// allowed (about 1,000 sections, half of them with content files), opening a section whose
// content file is a 2 MB RTF document (click to document shown), and saving that document.
// Prints the median of several runs of each.

#include "app/frm_main1.h"
#include "app/rich_text_box.h"
#include "bench_result.h"
#include "common/recording_message_boxes.h"
#include "common/test_support.h"
#include "project/content_paths.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTreeWidget>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace folioneer;

namespace {

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void report(const char* key, const char* what, const std::vector<double>& milliseconds, double goal)
{
    const double value = median(milliseconds);
    std::printf("%-58s median %8.2f ms  (goal < %.0f ms) %s\n", what, value, goal,
                value < goal ? "ok" : "OVER");
    const QByteArray goalText = "<" + QByteArray::number(goal);
    bench::printResult(key, value, "ms", goalText.constData(),
                       what + QByteArray(", median of ") + QByteArray::number(milliseconds.size()) + " runs");
}

/// A table of contents of exactly 32,767 characters: 40 chapters of 25 sections.
QByteArray maximumToc()
{
    QByteArray toc;
    for (int chapter = 0; chapter < 40; ++chapter) {
        toc += "Chapter: Chapter number " + QByteArray::number(chapter) + "\r\n";
        for (int section = 0; section < 25; ++section) {
            toc += "Subchapter: Section " + QByteArray::number(section) + "\r\n";
        }
    }
    while (toc.size() < 32767) {
        toc += ' ';
    }
    toc.truncate(32767);
    return toc;
}

/// About 2 MB of RTF with varied character formatting and paragraphs.
QByteArray largeRtf()
{
    QByteArray rtf = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0 Verdana;}{\\f1 Courier New;}}"
                     "{\\colortbl;\\red200\\green0\\blue0;\\red0\\green0\\blue160;}\\f0\\fs20 ";
    for (int i = 0; rtf.size() < 2 * 1024 * 1024; ++i) {
        rtf += "Paragraph " + QByteArray::number(i) +
               " with {\\b bold words}, {\\i italic ones}, "
               "{\\cf1 red text}, {\\f1\\fs24 another face} and some plain text that goes on "
               "for a while so that the line wraps in the editor: caf\\'e9, \\u8364? euro.\\par\n";
    }
    rtf += "}";
    return rtf;
}

} // namespace

int main(int argc, char* argv[])
{
    bench::useHeadlessDefaults(FOLIONEER_SOURCE_DIR_DEFAULT);
    QApplication application(argc, argv);
    test::TempProgramFolder program;
    test::RecordingMessageBoxes boxes;

    const QString project = program.makeProject(QStringLiteral("Big"), maximumToc(), "A big book\r\n");
    for (int chapter = 0; chapter < 40; ++chapter) {
        for (int section = 0; section < 25; section += 2) {
            test::writeFile(ContentFilePath(project, QStringLiteral(" Chapter number %1\r").arg(chapter),
                                            QStringLiteral("Section %1\r").arg(section)),
                            "{\\rtf1 Some content\\par}");
        }
    }

    frmMain1 window(program.path(), boxes);
    window.showActivated();
    QApplication::processEvents();

    std::vector<double> loads;
    for (int run = 0; run < 21; ++run) {
        QElapsedTimer timer;
        timer.start();
        window.LoadProject(project);
        loads.push_back(timer.nsecsElapsed() / 1e6);
    }
    auto* tree = window.findChild<QTreeWidget*>(QStringLiteral("TreeView1"));
    std::printf("outline: %d chapters, %d sections in the first\n", tree->topLevelItemCount(),
                tree->topLevelItem(0)->childCount());
    report("main_window.load_outline", "LoadProject, 32,767-character table of contents", loads, 25);

    const QByteArray rtf = largeRtf();
    test::writeFile(
        ContentFilePath(project, QStringLiteral(" Chapter number 0\r"), QStringLiteral("Section 1\r")), rtf);
    window.LoadProject(project);
    auto* content = window.findChild<RichTextBox*>(QStringLiteral("RichTextBox1"));
    QTreeWidgetItem* big = tree->topLevelItem(0)->child(1);
    QTreeWidgetItem* other = tree->topLevelItem(0)->child(3);
    std::vector<double> opens;
    std::vector<double> saves;
    std::vector<double> reopens;
    for (int run = 0; run < 7; ++run) {
        window.TreeView1_NodeClick(other);
        QApplication::processEvents();
        QElapsedTimer timer;
        timer.start();
        tree->setCurrentItem(big);
        window.TreeView1_NodeClick(big);
        content->viewport()->repaint();
        opens.push_back(timer.nsecsElapsed() / 1e6);

        timer.restart();
        window.cmdSaveChanges_Click();
        saves.push_back(timer.nsecsElapsed() / 1e6);

        // Clicking the shown section again reloads it, discarding the document shown.
        timer.restart();
        window.TreeView1_NodeClick(big);
        content->viewport()->repaint();
        reopens.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::printf("section document: %lld bytes of RTF, %d characters\n", static_cast<long long>(rtf.size()),
                content->document()->characterCount());
    report("main_window.open_section", "open a section with a 2 MB RTF file (click to shown)", opens, 150);
    report("main_window.save_section", "save that 2 MB section", saves, 100);
    report("main_window.reload_section", "click that section again (reload)", reopens, 150);
    return boxes.shown.isEmpty() ? 0 : 1;
}
