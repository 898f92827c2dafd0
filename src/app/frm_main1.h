// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QWidget>

namespace folioneer {

class MessageBoxes;

// The main window: the outline of the open book, the section workspace and the export. Owns
// the state that says which project is open.
class frmMain1 : public QWidget {
    Q_OBJECT
public:
    frmMain1(const QString& programFolder, MessageBoxes& messageBoxes, QWidget* parent = nullptr);

    /// Runs the start-up sequence (the project manager first, modally), then shows the window.
    void start();

    /// Opens the project in `sProjectFolder`; reports its own failures and never fails towards
    /// its caller.
    void LoadProject(const QString& sProjectFolder);

private:
    QString m_programFolder;
    MessageBoxes& m_messageBoxes;
};

} // namespace folioneer
