// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFileDialog>
#include <QString>

namespace folioneer {

// The file dialogs of both windows are Qt's own, not the desktop's: the same on every desktop,
// and ones the program's end-to-end tests can drive by their object names.

/// Sets `dialog` up to save a file (any name) or to open an existing one, named `objectName`,
/// with `acceptLabel` on its accept button.
void setUpFileDialog(QFileDialog& dialog, const char* objectName, QFileDialog::AcceptMode mode,
                     const QString& acceptLabel);

/// Runs the dialog: the chosen file, or an empty path when the user cancelled.
QString chosenFile(QFileDialog& dialog);

} // namespace folioneer
