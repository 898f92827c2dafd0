// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "manager/book_backups.h"

#include "widgets/file_dialogs.h"
#include "widgets/message_boxes.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QInputDialog>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace folioneer {

namespace {

const QString kZipFilter = QStringLiteral("Zip files (*.zip)");

// A wait cursor while a backup is written or unpacked (a large book takes a moment).
class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

} // namespace

BookBackups::BookBackups(QWidget* window, const QString& programFolder, MessageBoxes& messageBoxes,
                         SelectedProject selectedProject, Restored restored)
    : QObject(window), m_window(window), m_programFolder(programFolder), m_messageBoxes(messageBoxes),
      m_selectedProject(std::move(selectedProject)), m_restored(std::move(restored)),
      m_chooseSaveFile(chooseBackupFile), m_chooseOpenFile(chooseBackupToRestore), m_askName(askRestoredName),
      m_chooseDeletedBook(chooseDeletedBook)
{
    setObjectName(QStringLiteral("BookBackups"));
}

void BookBackups::showError(const QString& text)
{
    m_messageBoxes.show(m_window,
                        Message{text, QStringLiteral("Error"), MessageIcon::Exclamation, MessageButtons::Ok});
}

void BookBackups::showDone(const QString& text)
{
    m_messageBoxes.show(m_window,
                        Message{text, QStringLiteral("Done"), MessageIcon::Information, MessageButtons::Ok});
}

void BookBackups::lblBackUpBook_Click()
{
    const QString name = m_selectedProject();
    if (name.isEmpty()) {
        m_messageBoxes.show(m_window, Message{tr("Please select a project to back up."),
                                              QStringLiteral("No Selected Project"), MessageIcon::Information,
                                              MessageButtons::Ok});
        return;
    }
    const QString path =
        m_chooseSaveFile(m_window, QDir::home().filePath(backupFileName(name, QDate::currentDate())));
    if (path.isEmpty()) {
        return;
    }
    Result result;
    {
        const WaitCursor wait;
        result = backupProject(m_programFolder, name, path);
    }
    if (!result) {
        showError(result.text());
        return;
    }
    showDone(tr("Done. The book was backed up to %1.").arg(QDir::toNativeSeparators(path)));
}

void BookBackups::lblRestoreBook_Click()
{
    const QString path = m_chooseOpenFile(m_window);
    if (!path.isEmpty()) {
        restoreFrom(path, suggestedRestoreName(path));
    }
}

void BookBackups::lblDeletedBooks_Click()
{
    const QList<DeletedBook> books = deletedBooks(m_programFolder);
    if (books.isEmpty()) {
        m_messageBoxes.show(m_window, Message{tr("There are no deleted books to restore."),
                                              QStringLiteral("Deleted Books"), MessageIcon::Information,
                                              MessageButtons::Ok});
        return;
    }
    const std::optional<DeletedBook> book = m_chooseDeletedBook(m_window, books);
    if (book) {
        restoreFrom(book->path, book->name);
    }
}

void BookBackups::restoreFrom(const QString& zipPath, const QString& suggestedName)
{
    // The name is asked again, with what was typed, until it can name a new project.
    QString name = suggestedName;
    while (true) {
        const std::optional<QString> answer = m_askName(m_window, name);
        if (!answer) {
            return;
        }
        name = *answer;
        const Result check = checkRestoreName(m_programFolder, name);
        if (check) {
            break;
        }
        showError(check.text());
    }
    Result result;
    {
        const WaitCursor wait;
        result = restoreProject(m_programFolder, zipPath, name);
    }
    if (!result) {
        showError(result.text());
        return;
    }
    m_restored(name);
    showDone(tr("Done. The book was restored as \"%1\".").arg(name));
}

DeletedBooksDialog::DeletedBooksDialog(const QList<DeletedBook>& books, QWidget* parent)
    : QDialog(parent), m_books(books)
{
    setObjectName(QStringLiteral("dlgDeletedBooks"));
    setWindowTitle(tr("Deleted Books"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(tr("Each deleted book was backed up. Choose one to restore:"), this));
    lstDeletedBooks = new QListWidget(this);
    lstDeletedBooks->setObjectName(QStringLiteral("lstDeletedBooks"));
    lstDeletedBooks->setSelectionMode(QAbstractItemView::SingleSelection);
    for (const DeletedBook& book : books) {
        lstDeletedBooks->addItem(
            tr("%1 (deleted %2)")
                .arg(book.name, QLocale::system().toString(book.time, QLocale::ShortFormat)));
    }
    layout->addWidget(lstDeletedBooks);
    auto* buttons = new QDialogButtonBox(this);
    cmdRestore = buttons->addButton(tr("Restore"), QDialogButtonBox::AcceptRole);
    cmdRestore->setObjectName(QStringLiteral("cmdRestore"));
    cmdClose = buttons->addButton(tr("Close"), QDialogButtonBox::RejectRole);
    cmdClose->setObjectName(QStringLiteral("cmdClose"));
    layout->addWidget(buttons);
    resize(460, 320);

    cmdRestore->setEnabled(false);
    connect(lstDeletedBooks, &QListWidget::itemSelectionChanged, this,
            [this] { cmdRestore->setEnabled(!lstDeletedBooks->selectedItems().isEmpty()); });
    connect(lstDeletedBooks, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    lstDeletedBooks->setCurrentRow(0);
}

std::optional<DeletedBook> DeletedBooksDialog::chosen() const
{
    const int row = lstDeletedBooks->currentRow();
    if (result() != QDialog::Accepted || row < 0 || row >= m_books.size() ||
        lstDeletedBooks->selectedItems().isEmpty()) {
        return std::nullopt;
    }
    return m_books.at(row);
}

QString chooseBackupFile(QWidget* parent, const QString& suggestedPath)
{
    QFileDialog dialog(parent, BookBackups::tr("Back Up Book"));
    setUpFileDialog(dialog, "dlgBackUpBook", QFileDialog::AcceptSave, BookBackups::tr("Back Up"));
    dialog.setNameFilter(kZipFilter);
    dialog.setDefaultSuffix(QStringLiteral("zip"));
    dialog.setDirectory(QFileInfo(suggestedPath).absolutePath());
    dialog.selectFile(QFileInfo(suggestedPath).fileName());
    return chosenFile(dialog);
}

QString chooseBackupToRestore(QWidget* parent)
{
    QFileDialog dialog(parent, BookBackups::tr("Restore Book"));
    setUpFileDialog(dialog, "dlgRestoreBook", QFileDialog::AcceptOpen, BookBackups::tr("Restore"));
    dialog.setNameFilter(kZipFilter);
    dialog.setDirectory(QDir::home());
    return chosenFile(dialog);
}

std::optional<QString> askRestoredName(QWidget* parent, const QString& suggested)
{
    QInputDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("dlgRestoredName"));
    dialog.setWindowTitle(BookBackups::tr("Restored Project Name"));
    dialog.setLabelText(BookBackups::tr("Name of the restored project:"));
    dialog.setTextValue(suggested);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.textValue();
}

std::optional<DeletedBook> chooseDeletedBook(QWidget* parent, const QList<DeletedBook>& books)
{
    DeletedBooksDialog dialog(books, parent);
    dialog.exec();
    return dialog.chosen();
}

} // namespace folioneer
