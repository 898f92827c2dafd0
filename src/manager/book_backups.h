// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "project/book_backup.h"

#include <QDialog>
#include <QList>
#include <QObject>
#include <QString>

#include <functional>
#include <optional>

class QListWidget;
class QPushButton;

namespace folioneer {

class MessageBoxes;

// "Back Up Book…", "Restore Book…" and "Deleted Books…" of the project manager: the dialogs that
// choose the zip file and the restored project's name, and the messages. Writing and unpacking
// the zip, and the name rules, are the core's (project/book_backup.h).
class BookBackups : public QObject {
    Q_OBJECT
public:
    /// The name of the project selected in the list; empty when none is.
    using SelectedProject = std::function<QString()>;
    /// Called after a restore with the new project's name, to list and select it.
    using Restored = std::function<void(const QString& name)>;

    /// Chooses the zip file to write, starting from `suggestedPath`; empty cancels.
    using SaveFileChooser = std::function<QString(QWidget* parent, const QString& suggestedPath)>;
    /// Chooses the zip file to restore; empty cancels.
    using OpenFileChooser = std::function<QString(QWidget* parent)>;
    /// Asks for the restored project's name, offering `suggested`; nothing cancels.
    using NameAsker = std::function<std::optional<QString>(QWidget* parent, const QString& suggested)>;
    /// Chooses one of the deleted books; nothing cancels.
    using DeletedBookChooser =
        std::function<std::optional<DeletedBook>(QWidget* parent, const QList<DeletedBook>& books)>;

    BookBackups(QWidget* window, const QString& programFolder, MessageBoxes& messageBoxes,
                SelectedProject selectedProject, Restored restored);

    // Tests replace the real dialogs.
    void setSaveFileChooser(SaveFileChooser chooser) { m_chooseSaveFile = std::move(chooser); }
    void setOpenFileChooser(OpenFileChooser chooser) { m_chooseOpenFile = std::move(chooser); }
    void setNameAsker(NameAsker asker) { m_askName = std::move(asker); }
    void setDeletedBookChooser(DeletedBookChooser chooser) { m_chooseDeletedBook = std::move(chooser); }

    void lblBackUpBook_Click();
    void lblRestoreBook_Click();
    void lblDeletedBooks_Click();

private:
    void restoreFrom(const QString& zipPath, const QString& suggestedName);
    void showError(const QString& text);
    void showDone(const QString& text);

    QWidget* m_window;
    QString m_programFolder;
    MessageBoxes& m_messageBoxes;
    SelectedProject m_selectedProject;
    Restored m_restored;
    SaveFileChooser m_chooseSaveFile;
    OpenFileChooser m_chooseOpenFile;
    NameAsker m_askName;
    DeletedBookChooser m_chooseDeletedBook;
};

/// The list of deleted books, newest first, each with the time it was deleted; "Restore" (or a
/// double click) accepts the selected one.
class DeletedBooksDialog : public QDialog {
    Q_OBJECT
public:
    DeletedBooksDialog(const QList<DeletedBook>& books, QWidget* parent = nullptr);

    /// The book selected when the dialog was accepted.
    std::optional<DeletedBook> chosen() const;

private:
    QList<DeletedBook> m_books;
    QListWidget* lstDeletedBooks = nullptr;
    QPushButton* cmdRestore = nullptr;
    QPushButton* cmdClose = nullptr;
};

/// The real dialogs.
QString chooseBackupFile(QWidget* parent, const QString& suggestedPath);
QString chooseBackupToRestore(QWidget* parent);
std::optional<QString> askRestoredName(QWidget* parent, const QString& suggested);
std::optional<DeletedBook> chooseDeletedBook(QWidget* parent, const QList<DeletedBook>& books);

} // namespace folioneer
