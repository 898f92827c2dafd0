// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QElapsedTimer>
#include <QTreeWidget>

namespace folioneer {

// The outline tree: chapters and their sections. A node keeps its exact title (trailing CR and
// all) in kTitleRole and shows it without the CR. It reports a node the user moved to with the
// keyboard (arrows, Home/End, type-ahead ignoring leading blanks); gaining the focus never
// makes a node current.
class OutlineTree : public QTreeWidget {
    Q_OBJECT
public:
    static constexpr int kTitleRole = Qt::UserRole;
    static constexpr int kImageRole = Qt::UserRole + 1;
    /// The id of the chapter or section in the outline model.
    static constexpr int kIdRole = Qt::UserRole + 2;

    explicit OutlineTree(QWidget* parent = nullptr);

    /// A node showing `title` (exact) with the icon `image` (1-based index into `icons`).
    static QTreeWidgetItem* makeNode(const QString& title, int image, const QList<QIcon>& icons);
    static QString title(const QTreeWidgetItem* node);
    static int image(const QTreeWidgetItem* node);
    static void setImage(QTreeWidgetItem* node, int image, const QList<QIcon>& icons);

    void keyboardSearch(const QString& search) override;

signals:
    /// The user moved the current node with the keyboard.
    void nodeChosenByKeyboard(QTreeWidgetItem* node);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    QString m_search;
    QElapsedTimer m_searchTimer;
};

} // namespace folioneer
