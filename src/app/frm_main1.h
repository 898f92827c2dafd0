// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "outline/outline_editor.h"
#include "widgets/message_boxes.h"

#include <QIcon>
#include <QList>
#include <QString>
#include <QWidget>

#include <functional>

class QFrame;
class QLabel;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace folioneer {

class ExactLabel;
class ExactTextEdit;
class ExportBookAction;
class LinkLabel;
class OutlineEditing;
class OutlineTree;
class RichTextBox;
class WritingTools;

// The main window: the outline of the open book, the section workspace and the whole-book
// export. Owns the state that says which project is open (the hidden label lblProjectFolder)
// and which section is shown. Rules about files, names, prompts and the book text live in the
// core; this class wires them to the controls and shows their results.
class frmMain1 : public QWidget {
    Q_OBJECT
public:
    using LoadProjectCallback = std::function<void(const QString& projectFolder)>;
    /// Opens the project manager modally over `parent` (none at start-up) and returns when it
    /// closes; the manager hands a chosen project to `loadProject`.
    using ProjectManagerOpener = std::function<void(QWidget* parent, const LoadProjectCallback& loadProject)>;

    /// `openProjectManager` is how this window opens the project manager (at start-up without a
    /// project and from its link); without one, neither opens anything.
    frmMain1(const QString& programFolder, MessageBoxes& messageBoxes,
             ProjectManagerOpener openProjectManager = {}, QWidget* parent = nullptr);
    ~frmMain1() override;

    /// Runs the start-up sequence (the project manager first, modally, before this window is
    /// mapped), then shows the window centred, raised and active, the outline holding the focus.
    void start();

    /// Shows the window centred on its screen, raised and activated (also without a window
    /// manager).
    void showActivated();

    /// Opens the project in `sProjectFolder`; reports its own failures and never fails towards
    /// its caller.
    void LoadProject(const QString& sProjectFolder);

    /// Puts the whole book whose table of contents is `rutaArchivo` on the clipboard.
    void ProcesarArchivo(const QString& rutaArchivo);

    // Event handlers, public so the program's own tests can drive them as a click would.
    void lblProjectManager_Click();
    void TreeView1_NodeClick(QTreeWidgetItem* Node);
    void cmdSaveChanges_Click();
    void RichTextBox1_Change();
    void lblCopy_Click();
    void lblCopyContent_Click();
    void lblPaste_Click();
    void cmdCopyEverything_Click();

    /// Before a way of leaving the shown section other than a click in the outline (a find
    /// result, an outline edit): when the section has unsaved edits, asks whether to save them.
    /// True when the caller may go on: nothing was unsaved, the save succeeded, or the user chose
    /// Discard. False on Cancel, or when the save failed (its error box was shown and the
    /// section stays open with its edits).
    bool confirmLeavingEditedSection();

    /// Lists the shown section's kept versions; a restored one becomes an unsaved edit.
    void showSectionHistory();
    /// Spelling, word counts, find and focus mode.
    WritingTools& writingTools() const { return *m_writingTools; }

private:
    void createControls();
    void Form_Load();
    void lblProjectFolder_Change();
    bool LoadTreeIcons();
    void FillOutlineTree();
    /// Shows the outline again after an edit, the node `focusId` selected and open.
    void showEditedOutline(int focusId);
    void SetSelectedNodeImage(QTreeWidget* tree, int image);
    void clearSectionWorkspace();
    void loadSectionContent(const QString& path);
    void setContentEnabled(bool enabled);
    void resetContent();
    void showMessage(const QString& text, const QString& title, MessageIcon icon);
    QWidget* dialogParent();

    QString m_programFolder;
    MessageBoxes& m_messageBoxes;
    ProjectManagerOpener m_openProjectManager;

    // Controls, named as designed; each also carries its name as objectName.
    QWidget* Picture1 = nullptr;
    QLabel* lblAppName = nullptr;
    QLabel* lblBy = nullptr;
    QLabel* lblUnplaced = nullptr;
    ExactLabel* lblProjectFolder = nullptr;
    QLabel* Label6 = nullptr;
    LinkLabel* lblProjectManager = nullptr;
    OutlineTree* TreeView1 = nullptr;
    QList<QIcon> ImageList1;
    QPushButton* cmdCopyEverything = nullptr;
    LinkLabel* lblExportBook = nullptr;
    ExportBookAction* m_exportBook = nullptr; // owned by the window through QObject
    QFrame* Frame1 = nullptr;
    QLabel* Label4 = nullptr;
    ExactLabel* lblMainTopic = nullptr;
    QLabel* Label2 = nullptr;
    ExactLabel* lblParentNode = nullptr;
    QLabel* Label1 = nullptr;
    ExactLabel* lblSelectedItem = nullptr;
    QLabel* Label3 = nullptr;
    LinkLabel* lblCopy = nullptr;
    ExactTextEdit* txtContentPrompt = nullptr;
    QLabel* Label5 = nullptr;
    LinkLabel* lblCopyContent = nullptr;
    LinkLabel* lblPaste = nullptr;
    QPushButton* cmdSaveChanges = nullptr;
    RichTextBox* RichTextBox1 = nullptr;
    WritingTools* m_writingTools = nullptr;

    QString sProjectPath;
    OutlineEditor m_outline;
    OutlineEditing* m_outlineEditing = nullptr;
    bool bLoadingNode = false;
};

} // namespace folioneer
