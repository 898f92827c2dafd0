// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/frm_main1.h"

#include "app/message_boxes.h"
#include "manager/frm_new.h"

namespace folioneer {

frmMain1::frmMain1(const QString& programFolder, MessageBoxes& messageBoxes, QWidget* parent)
    : QWidget(parent), m_programFolder(programFolder), m_messageBoxes(messageBoxes)
{
    setObjectName(QStringLiteral("frmMain1"));
    setWindowTitle(QStringLiteral("Folioneer"));
    setFixedSize(1231, 640);
}

void frmMain1::start()
{
    frmNew manager(m_programFolder, m_messageBoxes, [this](const QString& folder) { LoadProject(folder); });
    manager.exec();
    show();
}

void frmMain1::LoadProject(const QString& sProjectFolder)
{
    Q_UNUSED(sProjectFolder);
}

} // namespace folioneer
