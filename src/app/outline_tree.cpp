// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/outline_tree.h"

#include "widgets/exact_text.h"

#include <QApplication>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QFocusEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>

namespace folioneer {

namespace {

QString searchableText(const QTreeWidgetItem* node)
{
    QString text = node->text(0);
    qsizetype blanks = 0;
    while (blanks < text.size() && text.at(blanks).isSpace()) {
        ++blanks;
    }
    return text.mid(blanks);
}

} // namespace

OutlineTree::OutlineTree(QWidget* parent) : QTreeWidget(parent)
{
    setColumnCount(1);
    header()->hide();
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    // No edit on click: a click on the selected section reloads it. Renames start from F2.
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setDragDropMode(QAbstractItemView::InternalMove);
    setDefaultDropAction(Qt::MoveAction);
    setUniformRowHeights(true);
    setRootIsDecorated(true);
}

QTreeWidgetItem* OutlineTree::makeNode(const QString& title, int image, const QList<QIcon>& icons)
{
    auto* node = new QTreeWidgetItem;
    node->setData(0, kTitleRole, title);
    node->setText(0, displayTextFor(title, true));
    setImage(node, image, icons);
    return node;
}

QString OutlineTree::title(const QTreeWidgetItem* node)
{
    return node ? node->data(0, kTitleRole).toString() : QString();
}

int OutlineTree::image(const QTreeWidgetItem* node)
{
    return node ? node->data(0, kImageRole).toInt() : 0;
}

void OutlineTree::setImage(QTreeWidgetItem* node, int image, const QList<QIcon>& icons)
{
    node->setData(0, kImageRole, image);
    node->setIcon(0, image >= 1 && image <= icons.size() ? icons.at(image - 1) : QIcon());
}

void OutlineTree::keyPressEvent(QKeyEvent* event)
{
    // Before the item view's own handling: Ctrl+Up/Down would otherwise move the current node,
    // choosing the neighbouring section.
    if (m_keyHandler && m_keyHandler(event)) {
        event->accept();
        return;
    }
    QTreeWidgetItem* before = currentItem();
    QTreeWidget::keyPressEvent(event);
    QTreeWidgetItem* after = currentItem();
    if (after && after != before) {
        emit nodeChosenByKeyboard(after);
    }
}

void OutlineTree::focusInEvent(QFocusEvent* event)
{
    // The item view makes the first node current when it gets the focus without one; after a
    // load no node is current, so that the first Down or Home chooses the first chapter.
    const bool hadCurrent = currentIndex().isValid();
    QTreeWidget::focusInEvent(event);
    if (!hadCurrent && currentIndex().isValid()) {
        selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
    }
}

void OutlineTree::mousePressEvent(QMouseEvent* event)
{
    m_pressPosition = event->position().toPoint();
    QTreeWidget::mousePressEvent(event);
}

void OutlineTree::mouseMoveEvent(QMouseEvent* event)
{
    // Dragging over the nodes with a button held would move the selection without a click,
    // leaving the workspace showing another section than the one selected; such a move drags
    // the node under the press instead.
    if (event->buttons() != Qt::NoButton) {
        event->accept();
        QTreeWidgetItem* pressed = itemAt(m_pressPosition);
        if ((event->buttons() & Qt::LeftButton) && pressed && pressed->isSelected() &&
            (event->position().toPoint() - m_pressPosition).manhattanLength() >=
                QApplication::startDragDistance()) {
            m_dragged = pressed;
            startDrag(Qt::MoveAction);
            m_dragged = nullptr;
        }
        return;
    }
    QTreeWidget::mouseMoveEvent(event);
}

bool OutlineTree::acceptsDrop(QTreeWidgetItem* target, DropIndicatorPosition position) const
{
    if (!m_dragged || !target || target == m_dragged || position == OnViewport) {
        return false;
    }
    // Two levels only: a chapter goes among chapters, a section into a chapter.
    if (!m_dragged->parent()) {
        return !target->parent() && position != OnItem;
    }
    return true;
}

void OutlineTree::dragMoveEvent(QDragMoveEvent* event)
{
    QTreeWidget::dragMoveEvent(event);
    if (!acceptsDrop(itemAt(event->position().toPoint()), dropIndicatorPosition())) {
        event->ignore();
    }
}

void OutlineTree::dropEvent(QDropEvent* event)
{
    QTreeWidgetItem* target = itemAt(event->position().toPoint());
    const DropIndicatorPosition position = dropIndicatorPosition();
    // The tree never moves its own nodes: the outline is edited, then shown again.
    event->setDropAction(Qt::IgnoreAction);
    event->accept();
    if (acceptsDrop(target, position)) {
        emit dropRequested(m_dragged, target,
                           position == AboveItem ? DropPlace::Above
                                                 : (position == OnItem ? DropPlace::On : DropPlace::Below));
    }
}

void OutlineTree::keyboardSearch(const QString& search)
{
    if (search.isEmpty()) {
        return;
    }
    if (!m_searchTimer.isValid() || m_searchTimer.elapsed() > QApplication::keyboardInputInterval()) {
        m_search.clear();
    }
    m_searchTimer.start();
    m_search += search;

    // Typing the same letter again moves on to the next title beginning with it.
    const bool repeated = m_search.size() > 1 && m_search.count(m_search.front()) == m_search.size();
    const QString key = repeated ? m_search.left(1) : m_search;

    QList<QTreeWidgetItem*> visible;
    for (QTreeWidgetItem* node = topLevelItemCount() ? topLevelItem(0) : nullptr; node;
         node = itemBelow(node)) {
        visible.append(node);
    }
    if (visible.isEmpty()) {
        return;
    }
    const qsizetype current = visible.indexOf(currentItem());
    // A longer search may stay on the current node; a new or repeated letter starts after it.
    const qsizetype start = current < 0 ? 0 : (m_search.size() > 1 && !repeated ? current : current + 1);
    for (qsizetype step = 0; step < visible.size(); ++step) {
        QTreeWidgetItem* node = visible.at((start + step) % visible.size());
        if (searchableText(node).startsWith(key, Qt::CaseInsensitive)) {
            setCurrentItem(node);
            scrollToItem(node);
            return;
        }
    }
}

} // namespace folioneer
