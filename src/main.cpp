// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/frm_main1.h"
#include "app/message_boxes.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    folioneer::QtMessageBoxes messageBoxes;
    folioneer::frmMain1 window(QCoreApplication::applicationDirPath(), messageBoxes);
    window.start();
    return application.exec();
}
