// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "manager/frm_new.h"

#include "app/message_boxes.h"

namespace folioneer {

frmNew::frmNew(const QString& programFolder, MessageBoxes& messageBoxes, LoadProjectCallback loadProject,
               QWidget* parent)
    : QDialog(parent), m_programFolder(programFolder), m_messageBoxes(messageBoxes),
      m_loadProject(std::move(loadProject))
{
    setObjectName(QStringLiteral("frmNew"));
    setWindowTitle(QStringLiteral("Project Manager"));
    setFixedSize(1009, 557);
}

} // namespace folioneer
