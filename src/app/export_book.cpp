// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/export_book.h"

#include "widgets/file_dialogs.h"
#include "widgets/link_label.h"
#include "publish/book_publisher.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QProgressDialog>
#include <QShortcut>

namespace folioneer {

using publish::FormatChoice;

ExportBookAction::ExportBookAction(QWidget* window, LinkLabel* link, MessageBoxes& messageBoxes)
    : QObject(window), m_window(window), m_link(link), m_messageBoxes(messageBoxes),
      m_chooseFile(chooseExportFile)
{
    m_link->setEnabled(false);
    connect(m_link, &LinkLabel::clicked, this, &ExportBookAction::lblExportBook_Click);
    auto* shortcut = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_E), window);
    connect(shortcut, &QShortcut::activated, this, [this] {
        if (m_link->isEnabled()) {
            lblExportBook_Click();
        }
    });
}

void ExportBookAction::setProjectFolder(const QString& projectFolder)
{
    m_projectFolder = projectFolder;
    m_link->setEnabled(!projectFolder.isEmpty());
}

void ExportBookAction::lblExportBook_Click()
{
    if (m_projectFolder.isEmpty()) {
        return;
    }
    const QString name = QFileInfo(QDir::cleanPath(m_projectFolder)).fileName();
    const QString path = m_chooseFile(m_window, name);
    if (path.isEmpty()) {
        return;
    }
    const std::optional<publish::BookFormat> format = publish::formatForPath(path);
    if (!format) {
        m_messageBoxes.show(m_window,
                            Message{tr("The book could not be exported.\n%1 names no format.").arg(path),
                                    QStringLiteral("Error"), MessageIcon::Exclamation, MessageButtons::Ok});
        return;
    }

    QProgressDialog progress(tr("Exporting the book…"), tr("Cancel"), 0, 1, m_window);
    progress.setWindowTitle(tr("Export Book"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(500);
    const publish::ExportOutcome outcome =
        publish::exportBook(m_projectFolder, path, *format, [&progress](int done, int total) {
            progress.setMaximum(total);
            progress.setValue(done);
            return !progress.wasCanceled();
        });
    progress.reset();
    if (outcome.cancelled) {
        return;
    }
    if (!outcome.result) {
        m_messageBoxes.show(m_window, Message{outcome.result.text(), QStringLiteral("Error"),
                                              MessageIcon::Exclamation, MessageButtons::Ok});
        return;
    }
    m_messageBoxes.show(m_window, Message{publish::exportDoneMessage(path), QStringLiteral("Done"),
                                          MessageIcon::Information, MessageButtons::Ok});
}

QString chooseExportFile(QWidget* parent, const QString& suggestedName)
{
    QFileDialog dialog(parent, ExportBookAction::tr("Export Book"));
    setUpFileDialog(dialog, "dlgExportBook", QFileDialog::AcceptSave, ExportBookAction::tr("Export"));
    QStringList filters;
    for (const FormatChoice& choice : publish::formatChoices()) {
        filters << choice.filter;
    }
    dialog.setNameFilters(filters);
    dialog.setDirectory(QDir::home());
    dialog.selectFile(suggestedName);
    const auto suffixFor = [](const QString& filter) {
        for (const FormatChoice& choice : publish::formatChoices()) {
            if (choice.filter == filter) {
                return choice.suffix;
            }
        }
        return QString();
    };
    dialog.setDefaultSuffix(suffixFor(filters.first()));
    QObject::connect(
        &dialog, &QFileDialog::filterSelected, &dialog,
        [&dialog, suffixFor](const QString& filter) { dialog.setDefaultSuffix(suffixFor(filter)); });
    QString path = chosenFile(dialog);
    if (path.isEmpty()) {
        return {};
    }
    // A typed extension that names no format: the chosen type's extension is added.
    if (!publish::formatForPath(path)) {
        path += QLatin1Char('.') + suffixFor(dialog.selectedNameFilter());
    }
    return path;
}

} // namespace folioneer
