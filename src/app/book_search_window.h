// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "writing/text_find.h"

#include <QStringList>
#include <QWidget>

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;

namespace folioneer {

// The non-modal "Find in Book" window: a query with match case and whole words, and the list
// of hits. Return in the query asks for a search; Return or a double-click on a hit asks for
// it to be opened. What a search finds and how a hit opens is decided by its owner.
class BookSearchWindow : public QWidget {
    Q_OBJECT
public:
    explicit BookSearchWindow(QWidget* parent);

    /// Shows and raises the window with the focus in the query, its text selected.
    void open();
    /// Fills the list; the focus moves to the first hit. `truncated`: more hits than listed.
    void showHits(const QStringList& lines, bool truncated);

    QString query() const;
    FindOptions options() const;

signals:
    void searchRequested();
    void hitChosen(int row);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    QLineEdit* m_query;
    QCheckBox* m_matchCase;
    QCheckBox* m_wholeWords;
    QListWidget* m_hits;
    QLabel* m_status;
};

} // namespace folioneer
