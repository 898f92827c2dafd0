// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "widgets/message_boxes.h"

#include <QObject>
#include <QString>

#include <functional>

class QWidget;

namespace folioneer {

class LinkLabel;

// "Export Book…" of the main window: the link and its Ctrl+E shortcut, the save dialog that
// chooses the file and the format, the progress while the book is written and the closing
// message. The export itself (and every rule about formats and files) is in the core.
class ExportBookAction : public QObject {
    Q_OBJECT
public:
    /// Chooses the file to write; an empty path cancels. Tests replace the real dialog.
    using FileChooser = std::function<QString(QWidget* parent, const QString& suggestedName)>;

    /// Wires `link` and Ctrl+E on `window`; the link is disabled until a project is set.
    ExportBookAction(QWidget* window, LinkLabel* link, MessageBoxes& messageBoxes);

    /// The open project's folder; empty when none is loaded.
    void setProjectFolder(const QString& projectFolder);

    void setFileChooser(FileChooser chooser) { m_chooseFile = std::move(chooser); }

    /// What a click on the link does: chooses a file, exports, reports.
    void lblExportBook_Click();

private:
    QWidget* m_window;
    LinkLabel* m_link;
    MessageBoxes& m_messageBoxes;
    QString m_projectFolder;
    FileChooser m_chooseFile;
};

/// The save dialog of the export: one filter per format, the project's name as the default
/// name. A typed extension decides the format; otherwise the chosen filter's suffix is added
/// before the dialog checks for an existing file.
QString chooseExportFile(QWidget* parent, const QString& suggestedName);

} // namespace folioneer
