// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Saves a large section through the main window and, when asked, kills itself with SIGKILL
// once the save has written a given number of bytes. Used by the section workspace test to
// prove that a save cut short leaves the old content file whole.
//
//   save_kill_helper <program folder> <project folder> <kill after bytes, or -1>
//
// It saves the first section of the first chapter. Exit status 0: saved; 2: a message was
// shown; 3: bad arguments.

#include "app/frm_main1.h"
#include "app/rich_text_box.h"
#include "common/recording_message_boxes.h"
#include "support/step_hook.h"

#include <QApplication>
#include <QTreeWidget>

#include <csignal>
#include <unistd.h>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    const QStringList arguments = application.arguments();
    if (arguments.size() != 4) {
        return 3;
    }
    const qint64 killAfter = arguments.at(3).toLongLong();

    folioneer::test::RecordingMessageBoxes boxes;
    folioneer::frmMain1 window(arguments.at(1), boxes);
    window.LoadProject(arguments.at(2));
    auto* tree = window.findChild<QTreeWidget*>(QStringLiteral("TreeView1"));
    if (!tree || tree->topLevelItemCount() == 0 || tree->topLevelItem(0)->childCount() == 0) {
        return 3;
    }
    QTreeWidgetItem* section = tree->topLevelItem(0)->child(0);
    tree->setCurrentItem(section);
    window.TreeView1_NodeClick(section);

    QString text;
    for (int i = 0; i < 20000; ++i) {
        text += QStringLiteral("Paragraph %1 of the new content, long enough to need many chunks.\n").arg(i);
    }
    window.findChild<folioneer::RichTextBox*>(QStringLiteral("RichTextBox1"))->setPlainText(text);

    folioneer::setStepHook([killAfter](const folioneer::Step& step) {
        if (killAfter >= 0 && qstrcmp(step.kind, "write-chunk") == 0 && step.bytesWritten >= killAfter) {
            ::kill(::getpid(), SIGKILL);
        }
    });
    window.cmdSaveChanges_Click();
    return boxes.shown.isEmpty() ? 0 : 2;
}
