// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/frm_main1.h"
#include "manager/frm_new.h"
#include "project/program_location.h"
#include "publish/command_line.h"
#include "widgets/message_boxes.h"

#include <QApplication>

#include <cstdio>

namespace {

// A command-line export: no window, and no display needed. Text layout needs a GUI application,
// so it runs on the offscreen platform.
int exportFromCommandLine(int argc, char* argv[], const folioneer::publish::CommandLine& command)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    // The same program folder the windows use: beside the program, or the user's when installed.
    const folioneer::ProgramFolder opened =
        folioneer::openProgramFolder(QCoreApplication::applicationDirPath());
    if (!opened.status.ok()) {
        std::fprintf(stderr, "%s\n", opened.status.reason().toLocal8Bit().constData());
        return folioneer::publish::kExitFailed;
    }
    QString error;
    const int code = folioneer::publish::runExportCommand(opened.path, command, error);
    if (!error.isEmpty()) {
        std::fprintf(stderr, "%s\n", error.toLocal8Bit().constData());
    }
    return code;
}

} // namespace

int main(int argc, char* argv[])
{
    // Parsed before any application object exists: QApplication aborts without a display.
    QStringList arguments;
    for (int i = 1; i < argc; ++i) {
        arguments << QString::fromLocal8Bit(argv[i]);
    }
    using folioneer::publish::CommandLine;
    const CommandLine command = folioneer::publish::parseCommandLine(arguments);
    switch (command.action) {
    case CommandLine::Action::Help:
        std::fputs(folioneer::publish::commandLineHelp().toLocal8Bit().constData(), stdout);
        return folioneer::publish::kExitDone;
    case CommandLine::Action::UsageError:
        std::fprintf(stderr, "%s\n\n%s", command.error.toLocal8Bit().constData(),
                     folioneer::publish::commandLineHelp().toLocal8Bit().constData());
        return folioneer::publish::kExitUsage;
    case CommandLine::Action::Export:
        return exportFromCommandLine(argc, argv, command);
    case CommandLine::Action::Windows:
        break;
    }
    QApplication application(argc, argv);
    folioneer::QtMessageBoxes messageBoxes;
    const folioneer::ProgramFolder opened =
        folioneer::openProgramFolder(QCoreApplication::applicationDirPath());
    if (!opened.status.ok()) {
        messageBoxes.show(nullptr, {opened.status.reason(), QStringLiteral("Error"),
                                    folioneer::MessageIcon::Exclamation, folioneer::MessageButtons::Ok});
        return 1;
    }
    const QString programFolder = opened.path;
    // A fresh project manager each time, so its lists are read again.
    const auto openProjectManager = [&](QWidget* parent,
                                        const folioneer::frmMain1::LoadProjectCallback& loadProject) {
        folioneer::frmNew manager(programFolder, messageBoxes, loadProject, parent);
        manager.exec();
    };
    folioneer::frmMain1 window(programFolder, messageBoxes, openProjectManager);
    window.start();
    return application.exec();
}
