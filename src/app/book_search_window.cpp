// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/book_search_window.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QVBoxLayout>

namespace folioneer {

BookSearchWindow::BookSearchWindow(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("frmFindInBook"));
    setWindowTitle(QStringLiteral("Find in Book"));
    resize(640, 420);
    auto* layout = new QVBoxLayout(this);
    auto* row = new QHBoxLayout;
    m_query = new QLineEdit(this);
    m_query->setObjectName(QStringLiteral("txtBookQuery"));
    m_query->setPlaceholderText(tr("Find in every section and title"));
    row->addWidget(m_query, 1);
    m_matchCase = new QCheckBox(tr("Match case"), this);
    m_matchCase->setObjectName(QStringLiteral("chkBookMatchCase"));
    m_wholeWords = new QCheckBox(tr("Whole words"), this);
    m_wholeWords->setObjectName(QStringLiteral("chkBookWholeWords"));
    row->addWidget(m_matchCase);
    row->addWidget(m_wholeWords);
    layout->addLayout(row);
    m_hits = new QListWidget(this);
    m_hits->setObjectName(QStringLiteral("lstBookHits"));
    m_hits->setUniformItemSizes(true);
    layout->addWidget(m_hits, 1);
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("lblBookHits"));
    layout->addWidget(m_status);

    connect(m_query, &QLineEdit::returnPressed, this, &BookSearchWindow::searchRequested);
    // Return and a double-click both activate a row.
    connect(m_hits, &QListWidget::activated, this,
            [this](const QModelIndex& index) { emit hitChosen(index.row()); });
}

void BookSearchWindow::open()
{
    show();
    raise();
    activateWindow();
    m_query->setFocus();
    m_query->selectAll();
}

void BookSearchWindow::showHits(const QStringList& lines, bool truncated)
{
    m_hits->clear();
    m_hits->addItems(lines);
    const QString count = QLocale(QLocale::English, QLocale::UnitedStates).toString(lines.size());
    if (lines.isEmpty()) {
        m_status->setText(tr("Nothing found."));
        return;
    }
    m_status->setText(truncated ? tr("The first %1 hits.").arg(count)
                                : (lines.size() == 1 ? tr("1 hit.") : tr("%1 hits.").arg(count)));
    m_hits->setCurrentRow(0);
    m_hits->setFocus();
}

QString BookSearchWindow::query() const
{
    return m_query->text();
}

FindOptions BookSearchWindow::options() const
{
    return {m_matchCase->isChecked(), m_wholeWords->isChecked()};
}

void BookSearchWindow::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

} // namespace folioneer
