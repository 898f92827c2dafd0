// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>

#include <array>
#include <functional>

class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;

namespace folioneer {

class BookBackups;
class ExactTextEdit;
class LinkLabel;
class MessageBoxes;
class TextHolder;

// The project manager: the modal window where the user creates, opens and deletes projects and
// builds the table-of-contents and sequel prompts. It hands a chosen project to the main window
// through the load callback and closes itself. The rules behind its buttons (names, files,
// prompts) live in the core; this class only wires controls to them and shows the results.
//
// Every control is a member with its design name and carries that name as its objectName. The
// mode selector `optMenu` is an array of two radio buttons whose objectNames are "optMenu_0"
// (Open Project) and "optMenu_1" (Create Project). The template holder `txtPromptTemplate` is a
// non-visual TextHolder, never shown.
class frmNew : public QDialog {
    Q_OBJECT
public:
    using LoadProjectCallback = std::function<void(const QString& projectFolder)>;

    /// Builds the window and runs its load sequence (project list, catalogue, first title).
    frmNew(const QString& programFolder, MessageBoxes& messageBoxes, LoadProjectCallback loadProject,
           QWidget* parent = nullptr);
    ~frmNew() override;

    /// Closing by any route (close box, Escape, after a load or creation) also stops a
    /// catalogue fill that is letting events run.
    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createControls();
    void connectControls();

    void Form_Load();
    void RefreshProjectList();
    void optMenu_Click(int index);

    void cmdLoadProject_Click();
    void lstProjects_DblClick();
    void cmdDeleteProject_Click();
    void showRestoredProject(const QString& name);

    void txtMainTopic_Change();

    void cmdOk_Click();
    void lblCopyContent_Click();
    void lblPaste_Click();

    void loadCatalogue();
    void cboSuboptions_Click();
    void lblCreateFromPublicDomainTitles_Click();
    void lstPrompts_Click();
    void cmpPromptOk_Click();
    void cmdPromptCancel_Click();

    void setSequelPanelShown(bool shown);
    void showMessage(const QString& text, const QString& title);

    QString m_programFolder;
    MessageBoxes& m_messageBoxes;
    LoadProjectCallback m_loadProject;
    bool m_closed = false;
    bool m_filling = false;
    bool m_shownOnce = false;

    // Side band.
    QWidget* Picture1 = nullptr;
    QLabel* Label1 = nullptr;
    TextHolder* txtPromptTemplate = nullptr;

    // Mode selector.
    std::array<QRadioButton*, 2> optMenu{};

    // Creation panel.
    QFrame* frNew = nullptr;
    QLabel* Label2 = nullptr;
    LinkLabel* lblCreateFromPublicDomainTitles = nullptr;
    QLineEdit* txtMainTopic = nullptr;
    QLabel* Label3 = nullptr;
    LinkLabel* lblCopyContent = nullptr;
    ExactTextEdit* txtPrompt = nullptr;
    QLabel* Label4 = nullptr;
    LinkLabel* lblPaste = nullptr;
    QLabel* Label7 = nullptr;
    ExactTextEdit* txtResults = nullptr;
    QLabel* lblOutlineConverted = nullptr;
    QLabel* Label5 = nullptr;
    QLineEdit* txtProjectName = nullptr;
    QPushButton* cmdOk = nullptr;

    // Open/delete panel.
    QFrame* frLoad = nullptr;
    QLabel* Label6 = nullptr;
    QListWidget* lstProjects = nullptr;
    QPushButton* cmdLoadProject = nullptr;
    QPushButton* cmdDeleteProject = nullptr;
    LinkLabel* lblBackUpBook = nullptr;
    LinkLabel* lblRestoreBook = nullptr;
    LinkLabel* lblDeletedBooks = nullptr;
    BookBackups* m_backups = nullptr; // owned by the window through QObject

    // Sequel-prompt panel.
    QFrame* frPro = nullptr;
    QWidget* Picture2 = nullptr;
    QLabel* lblAppName = nullptr;
    QLabel* lblDone = nullptr;
    QLabel* Label8 = nullptr;
    QComboBox* cboSuboptions = nullptr;
    QListWidget* lstPrompts = nullptr;
    QLabel* Label9 = nullptr;
    LinkLabel* lblCopyToClipboard = nullptr;
    ExactTextEdit* txtSelectedPrompt = nullptr;
    QPushButton* cmpPromptOk = nullptr;
    QPushButton* cmdPromptCancel = nullptr;
};

} // namespace folioneer
