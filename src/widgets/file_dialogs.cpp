// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/file_dialogs.h"

namespace folioneer {

void setUpFileDialog(QFileDialog& dialog, const char* objectName, QFileDialog::AcceptMode mode,
                     const QString& acceptLabel)
{
    dialog.setObjectName(QString::fromLatin1(objectName));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptSave ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setLabelText(QFileDialog::Accept, acceptLabel);
}

QString chosenFile(QFileDialog& dialog)
{
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return dialog.selectedFiles().constFirst();
}

} // namespace folioneer
