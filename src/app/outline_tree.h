// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QElapsedTimer>
#include <QPoint>
#include <QTreeWidget>

#include <functional>

namespace folioneer {

// The outline tree: chapters and their sections. A node keeps its exact title (trailing CR and
// all) in kTitleRole and shows it without the CR. It reports a node the user moved to with the
// keyboard (arrows, Home/End, type-ahead ignoring leading blanks); gaining the focus never
// makes a node current. Edits of the outline reach it from outside: a key handler that sees
// every key before the tree's own handling, and drops reported as a request, never carried out
// by the tree itself.
class OutlineTree : public QTreeWidget {
    Q_OBJECT
public:
    static constexpr int kTitleRole = Qt::UserRole;
    static constexpr int kImageRole = Qt::UserRole + 1;
    /// The id of the chapter or section in the outline model.
    static constexpr int kIdRole = Qt::UserRole + 2;
    /// Where a dragged node was dropped, relative to the node under it.
    enum class DropPlace { Above, On, Below };

    explicit OutlineTree(QWidget* parent = nullptr);

    /// A node showing `title` (exact) with the icon `image` (1-based index into `icons`).
    static QTreeWidgetItem* makeNode(const QString& title, int image, const QList<QIcon>& icons);
    static QString title(const QTreeWidgetItem* node);
    static int image(const QTreeWidgetItem* node);
    static void setImage(QTreeWidgetItem* node, int image, const QList<QIcon>& icons);

    void keyboardSearch(const QString& search) override;

    /// Sees every key first; returns true when it handled the key.
    void setKeyHandler(std::function<bool(QKeyEvent*)> handler) { m_keyHandler = std::move(handler); }

signals:
    /// A node was dragged and dropped at `place` of `target`; nothing has moved yet.
    void dropRequested(QTreeWidgetItem* dragged, QTreeWidgetItem* target, OutlineTree::DropPlace place);

    /// The user moved the current node with the keyboard.
    void nodeChosenByKeyboard(QTreeWidgetItem* node);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    bool acceptsDrop(QTreeWidgetItem* target, DropIndicatorPosition position) const;

    std::function<bool(QKeyEvent*)> m_keyHandler;
    QPoint m_pressPosition;
    QTreeWidgetItem* m_dragged = nullptr;
    QString m_search;
    QElapsedTimer m_searchTimer;
};

} // namespace folioneer
