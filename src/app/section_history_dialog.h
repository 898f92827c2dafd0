// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "outline/section_history.h"

#include <QByteArray>
#include <QDialog>
#include <QList>

class QListWidget;

namespace folioneer {

class RichTextBox;

// Lists the kept versions of one section with their time and word count and shows the selected
// one read-only. "Restore" closes it with that version chosen; the window puts it in the editor
// as an edit, so "Save Changes" decides.
class SectionHistoryDialog : public QDialog {
    Q_OBJECT
public:
    SectionHistoryDialog(const QString& contentPath, QWidget* parent = nullptr);

    /// The bytes of the version chosen with "Restore" (empty otherwise).
    QByteArray chosen() const { return m_chosen; }

private:
    void showVersion(int row);

    QList<SectionVersion> m_versions;
    QListWidget* lstVersions = nullptr;
    RichTextBox* txtVersion = nullptr;
    QByteArray m_chosen;
};

} // namespace folioneer
