// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "publish/command_line.h"

#include "project/program_paths.h"
#include "publish/book_publisher.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace folioneer::publish {

namespace {

QString tr(const char* text)
{
    return QCoreApplication::translate("CommandLine", text);
}

} // namespace

CommandLine parseCommandLine(const QStringList& arguments)
{
    CommandLine command;
    bool exporting = false;
    bool named = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments.at(i);
        if (argument == QLatin1String("--help") || argument == QLatin1String("-h")) {
            return {CommandLine::Action::Help, {}, {}, {}};
        }
        const bool exportOption = argument == QLatin1String("--export");
        if (exportOption || argument == QLatin1String("--project")) {
            if (i + 1 >= arguments.size() || arguments.at(i + 1).isEmpty()) {
                return {CommandLine::Action::UsageError, {}, {}, tr("%1 needs a value.").arg(argument)};
            }
            (exportOption ? command.file : command.project) = arguments.at(++i);
            (exportOption ? exporting : named) = true;
            continue;
        }
        if (argument.startsWith(QLatin1String("--"))) {
            return {CommandLine::Action::UsageError, {}, {}, tr("Unknown option %1.").arg(argument)};
        }
    }
    if (!exporting && !named) {
        return {};
    }
    if (!exporting || !named) {
        return {CommandLine::Action::UsageError, {}, {}, tr("--export and --project go together.")};
    }
    command.action = CommandLine::Action::Export;
    return command;
}

QString commandLineHelp()
{
    QStringList suffixes;
    for (const FormatChoice& choice : formatChoices()) {
        suffixes << QLatin1Char('.') + choice.suffix;
    }
    return tr("Usage: folioneer [--export FILE --project NAME]\n"
              "\n"
              "Without options, opens the program's windows.\n"
              "\n"
              "  --export FILE    export the book of a project to FILE, without showing a window;\n"
              "                   the format comes from FILE's extension: %1\n"
              "  --project NAME   the project (a folder in the program's projects folder)\n"
              "  --help           show this text\n"
              "\n"
              "Exit codes: 0 exported, 1 the export failed (the reason on standard error),\n"
              "2 a usage error.\n")
        .arg(suffixes.join(QStringLiteral(" ")));
}

int runExportCommand(const QString& programFolder, const CommandLine& command, QString& error)
{
    const std::optional<BookFormat> format = formatForPath(command.file);
    if (!format) {
        error = tr("The extension of %1 names no format this program exports.").arg(command.file);
        return kExitUsage;
    }
    // A name is one folder of the projects folder, never a path leading elsewhere.
    if (command.project.contains(QLatin1Char('/')) || command.project == QLatin1String(".") ||
        command.project == QLatin1String("..")) {
        error = tr("%1 is not a project name.").arg(command.project);
        return kExitUsage;
    }
    const QString project = projectFolderPath(programFolder, command.project);
    if (!QFileInfo(project).isDir()) {
        error = tr("There is no project named %1.").arg(command.project);
        return kExitFailed;
    }
    const ExportOutcome outcome = exportBook(project, QFileInfo(command.file).absoluteFilePath(), *format);
    if (!outcome.result) {
        error = outcome.result.text();
        return kExitFailed;
    }
    return kExitDone;
}

} // namespace folioneer::publish
