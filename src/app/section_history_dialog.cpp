// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/section_history_dialog.h"

#include "app/rich_text_box.h"
#include "outline/section_history.h"
#include "support/file_io.h"
#include "widgets/layout_units.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace folioneer {

SectionHistoryDialog::SectionHistoryDialog(const QString& contentPath, QWidget* parent)
    : QDialog(parent), m_versions(sectionVersions(contentPath))
{
    setObjectName(QStringLiteral("frmSectionHistory"));
    setWindowTitle(tr("History"));
    auto* layout = new QVBoxLayout(this);
    auto* panes = new QHBoxLayout;
    lstVersions = new QListWidget(this);
    lstVersions->setObjectName(QStringLiteral("lstVersions"));
    txtVersion = new RichTextBox(this);
    txtVersion->setObjectName(QStringLiteral("txtVersion"));
    txtVersion->setReadOnly(true);
    panes->addWidget(lstVersions, 1);
    panes->addWidget(txtVersion, 2);
    layout->addLayout(panes);
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* restore = buttons->addButton(tr("Restore"), QDialogButtonBox::AcceptRole);
    restore->setObjectName(QStringLiteral("cmdRestore"));
    restore->setEnabled(!m_versions.isEmpty());
    buttons->addButton(QDialogButtonBox::Close);
    layout->addWidget(buttons);

    for (const SectionVersion& version : m_versions) {
        lstVersions->addItem(
            tr("%1 (%n words)", nullptr, version.wordCount)
                .arg(version.time.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))));
    }
    connect(lstVersions, &QListWidget::currentRowChanged, this, &SectionHistoryDialog::showVersion);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(restore, &QPushButton::clicked, this, [this] {
        const int row = lstVersions->currentRow();
        if (row < 0 || row >= m_versions.size()) {
            return;
        }
        const ResultOf<QByteArray> read = readWholeFile(m_versions.at(row).path);
        if (read.ok()) {
            m_chosen = read.value();
            accept();
        }
    });
    if (!m_versions.isEmpty()) {
        lstVersions->setCurrentRow(0);
    }
    resize(720, 420);
}

void SectionHistoryDialog::showVersion(int row)
{
    txtVersion->clear();
    if (row < 0 || row >= m_versions.size()) {
        return;
    }
    const ResultOf<QByteArray> read = readWholeFile(m_versions.at(row).path);
    if (read.ok()) {
        txtVersion->loadRtf(read.value(), verdana(10));
    }
}

} // namespace folioneer
