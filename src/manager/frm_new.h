// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <QString>

#include <functional>

namespace folioneer {

class MessageBoxes;

// The project manager: the modal window where the user creates, opens and deletes projects.
// It hands a chosen project to the main window through the load callback and closes itself.
class frmNew : public QDialog {
    Q_OBJECT
public:
    using LoadProjectCallback = std::function<void(const QString& projectFolder)>;

    frmNew(const QString& programFolder, MessageBoxes& messageBoxes, LoadProjectCallback loadProject,
           QWidget* parent = nullptr);

private:
    QString m_programFolder;
    MessageBoxes& m_messageBoxes;
    LoadProjectCallback m_loadProject;
};

} // namespace folioneer
