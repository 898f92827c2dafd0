// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/frm_main1.h"
#include "manager/frm_new.h"
#include "project/program_location.h"
#include "widgets/message_boxes.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    folioneer::QtMessageBoxes messageBoxes;
    const folioneer::ProgramFolder opened =
        folioneer::openProgramFolder(QCoreApplication::applicationDirPath());
    if (!opened.status.ok()) {
        messageBoxes.show(nullptr, {opened.status.error, QStringLiteral("Error"),
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
