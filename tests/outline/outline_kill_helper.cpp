// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Makes one outline edit in a project and, when asked, kills itself with SIGKILL at a given
// step of it. Used by the outline journal test to prove that a kill at any step leaves a
// project whose next load has every text attached or in the trash.
//
//   outline_kill_helper <project folder> <edit> <kill at step, or 0>
//
// Edits: rename-chapter, move-section, delete-chapter, undo-move. Exit status 0: done;
// 1: the edit failed; 3: bad arguments.

#include "outline/outline_editor.h"
#include "support/step_hook.h"

#include <QCoreApplication>
#include <QStringList>

#include <csignal>
#include <unistd.h>

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    const QStringList arguments = application.arguments();
    if (arguments.size() != 4) {
        return 3;
    }
    const QString& edit = arguments.at(2);
    const int killAt = arguments.at(3).toInt();

    folioneer::OutlineEditor editor;
    editor.reset(folioneer::loadProjectOutline(arguments.at(1)));
    if (edit == QLatin1String("undo-move") && !editor.moveDown(0, 2).ok()) {
        return 1;
    }
    int steps = 0;
    folioneer::setStepHook([&steps, killAt](const folioneer::Step&) {
        if (++steps == killAt) {
            ::kill(::getpid(), SIGKILL);
        }
    });
    folioneer::Result result;
    if (edit == QLatin1String("rename-chapter")) {
        result = editor.renameChapter(0, QStringLiteral("First Part"));
    } else if (edit == QLatin1String("move-section")) {
        result = editor.moveSection(0, 1, 1, 0);
    } else if (edit == QLatin1String("delete-chapter")) {
        result = editor.deleteChapter(0);
    } else if (edit == QLatin1String("undo-move")) {
        result = editor.undo();
    } else {
        return 3;
    }
    return result.ok() ? 0 : 1;
}
