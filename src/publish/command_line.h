// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

namespace folioneer::publish {

// The program's command line: no arguments open the windows; "--export FILE --project NAME"
// exports a book without showing anything. Parsed before any application object exists, because
// the windows' application cannot start without a display.

struct CommandLine {
    enum class Action { Windows, Export, Help, UsageError };
    Action action = Action::Windows;
    QString file;    ///< Export: the file to write
    QString project; ///< Export: the project's name in the program folder
    QString error;   ///< UsageError: what was wrong
};

/// Exit codes of a command-line export.
enum ExitCode { kExitDone = 0, kExitFailed = 1, kExitUsage = 2 };

/// The command line `arguments` (without the program's name). Arguments that do not begin with
/// "--" are left to the windows' application (e.g. Qt's own "-platform").
CommandLine parseCommandLine(const QStringList& arguments);

/// The text "--help" prints.
QString commandLineHelp();

/// Runs an export command for the program folder `programFolder`: writes the book and returns
/// kExitDone, or puts the reason in `error` and returns kExitFailed (kExitUsage when FILE's
/// extension names no format).
int runExportCommand(const QString& programFolder, const CommandLine& command, QString& error);

} // namespace folioneer::publish
