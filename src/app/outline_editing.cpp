// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/outline_editing.h"

#include "app/outline_tree.h"
#include "outline/outline_editor.h"
#include "outline/toc_writer.h"
#include "outline/trash.h"
#include "outline/unplaced_texts.h"

#include <QDialog>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include <utility>

namespace folioneer {

namespace {

/// A title not yet used among `titles` (visible form), for a node the user renames next.
QString freshTitle(const QString& base, const QStringList& titles)
{
    QString title = base;
    for (int n = 2; titles.contains(title, Qt::CaseInsensitive); ++n) {
        title = base + QLatin1Char(' ') + QString::number(n);
    }
    return title;
}

} // namespace

OutlineEditing::OutlineEditing(OutlineTree& tree, OutlineEditor& editor, MessageBoxes& messageBoxes,
                               Hooks hooks, QObject* parent)
    : QObject(parent), m_tree(tree), m_editor(editor), m_messageBoxes(messageBoxes), m_hooks(std::move(hooks))
{
    m_tree.setKeyHandler([this](QKeyEvent* event) { return handleKey(event); });
    m_tree.setContextMenuPolicy(Qt::CustomContextMenu);
    connect(&m_tree, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        QMenu* menu = buildMenu(&m_tree);
        menu->setAttribute(Qt::WA_DeleteOnClose);
        menu->popup(m_tree.viewport()->mapToGlobal(at));
    });
    connect(&m_tree, &OutlineTree::dropRequested, this,
            [this](QTreeWidgetItem* dragged, QTreeWidgetItem* target, OutlineTree::DropPlace place) {
                handleDrop(dragged, target, int(place));
            });
    connect(&m_tree, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem* item, int) {
        if (item != m_renaming) {
            return;
        }
        m_renaming = nullptr;
        item->setFlags(item->flags() & ~Qt::ItemIsEditable);
        const QString title = item->text(0);
        // Later: the tree is rebuilt by the rename, and the editor is still closing.
        QTimer::singleShot(0, this, [this, title] { renameSelected(title); });
    });
    connect(m_tree.itemDelegate(), &QAbstractItemDelegate::closeEditor, this, [this] {
        if (QTreeWidgetItem* node = std::exchange(m_renaming, nullptr)) {
            node->setFlags(node->flags() & ~Qt::ItemIsEditable);
        }
    });
}

bool OutlineEditing::canEdit() const
{
    return !m_editor.outline().projectFolder.isEmpty() && m_editor.outline().editable();
}

bool OutlineEditing::position(const QTreeWidgetItem* node, int& chapter, int& section) const
{
    if (!node) {
        return false;
    }
    if (node->parent()) {
        chapter = m_tree.indexOfTopLevelItem(node->parent());
        section = node->parent()->indexOfChild(const_cast<QTreeWidgetItem*>(node));
    } else {
        chapter = m_tree.indexOfTopLevelItem(const_cast<QTreeWidgetItem*>(node));
        section = -1;
    }
    return chapter >= 0;
}

bool OutlineEditing::selectedPosition(int& chapter, int& section) const
{
    const QList<QTreeWidgetItem*> selected = m_tree.selectedItems();
    return !selected.isEmpty() && position(selected.first(), chapter, section);
}

void OutlineEditing::showError(const QString& text)
{
    m_messageBoxes.show(m_hooks.dialogParent(),
                        Message{text, QStringLiteral("Error"), MessageIcon::Exclamation, MessageButtons::Ok});
}

bool OutlineEditing::askYesNo(const QString& text)
{
    return m_messageBoxes.show(m_hooks.dialogParent(),
                               Message{text, QStringLiteral("Confirm"), MessageIcon::Question,
                                       MessageButtons::YesNo}) == MessageAnswer::Yes;
}

void OutlineEditing::run(const std::function<Result()>& edit)
{
    if (!canEdit() || !m_hooks.confirmLeaving()) {
        return;
    }
    const Result result = edit();
    if (!result) {
        showError(result.text());
    }
    m_hooks.showOutline(m_editor.focusId());
}

void OutlineEditing::addSection()
{
    int chapter = 0;
    int section = -1;
    if (!canEdit() || !selectedPosition(chapter, section)) {
        return;
    }
    QStringList titles;
    for (const OutlineSection& existing : m_editor.outline().chapters.at(chapter).sections) {
        titles.append(visibleTitle(existing.title));
    }
    const QString title = freshTitle(tr("New Section"), titles);
    run([&] { return m_editor.addSection(chapter, section, title); });
    startRename();
}

void OutlineEditing::addChapter()
{
    int chapter = -1;
    int section = -1;
    selectedPosition(chapter, section);
    QStringList titles;
    for (const OutlineChapterEntry& existing : m_editor.outline().chapters) {
        titles.append(visibleTitle(existing.title));
    }
    const QString title = freshTitle(tr("New Chapter"), titles);
    run([&] { return m_editor.addChapter(chapter, title); });
    startRename();
}

void OutlineEditing::startRename()
{
    const QList<QTreeWidgetItem*> selected = m_tree.selectedItems();
    if (!canEdit() || selected.isEmpty()) {
        return;
    }
    QTreeWidgetItem* node = selected.first();
    // Set before the node is watched: a flag change is reported as a change of the node too.
    node->setFlags(node->flags() | Qt::ItemIsEditable);
    m_renaming = node;
    m_tree.editItem(node);
}

void OutlineEditing::renameSelected(const QString& title)
{
    int chapter = 0;
    int section = -1;
    if (!selectedPosition(chapter, section)) {
        return;
    }
    const QString old = section < 0 ? m_editor.outline().chapters.at(chapter).title
                                    : m_editor.outline().chapters.at(chapter).sections.at(section).title;
    if (typedTitle(title) == visibleTitle(old)) {
        m_hooks.showOutline(section < 0 ? m_editor.outline().chapters.at(chapter).id
                                        : m_editor.outline().chapters.at(chapter).sections.at(section).id);
        return;
    }
    run([&] {
        return section < 0 ? m_editor.renameChapter(chapter, title)
                           : m_editor.renameSection(chapter, section, title);
    });
}

void OutlineEditing::deleteSelected()
{
    int chapter = 0;
    int section = -1;
    if (!canEdit() || !selectedPosition(chapter, section)) {
        return;
    }
    const OutlineChapterEntry& entry = m_editor.outline().chapters.at(chapter);
    if (section < 0) {
        if (!askYesNo(
                tr("Delete the chapter \"%1\" and its sections? Their texts will be moved to the trash.")
                    .arg(visibleTitle(entry.title)))) {
            return;
        }
        run([&] { return m_editor.deleteChapter(chapter); });
        return;
    }
    const OutlineSection& doomed = entry.sections.at(section);
    // A section without text goes without a question; Ctrl+Z brings it back.
    if (doomed.hasContent && !askYesNo(tr("Delete the section \"%1\"? Its text will be moved to the trash.")
                                           .arg(visibleTitle(doomed.title)))) {
        return;
    }
    run([&] { return m_editor.deleteSection(chapter, section); });
}

void OutlineEditing::moveSelected(bool up)
{
    int chapter = 0;
    int section = -1;
    if (!canEdit() || !selectedPosition(chapter, section)) {
        return;
    }
    run([&] { return up ? m_editor.moveUp(chapter, section) : m_editor.moveDown(chapter, section); });
}

void OutlineEditing::undo()
{
    if (m_editor.canUndo()) {
        run([this] { return m_editor.undo(); });
    }
}

void OutlineEditing::redo()
{
    if (m_editor.canRedo()) {
        run([this] { return m_editor.redo(); });
    }
}

bool OutlineEditing::handleKey(QKeyEvent* event)
{
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    const int key = event->key();
    if (modifiers == Qt::NoModifier) {
        switch (key) {
        case Qt::Key_Insert:
            addSection();
            return true;
        case Qt::Key_F2:
            startRename();
            return true;
        case Qt::Key_Delete:
            deleteSelected();
            return true;
        default:
            return false;
        }
    }
    if (modifiers == Qt::ControlModifier && (key == Qt::Key_Up || key == Qt::Key_Down)) {
        moveSelected(key == Qt::Key_Up);
        return true;
    }
    if (modifiers == Qt::ControlModifier && key == Qt::Key_Z) {
        undo();
        return true;
    }
    if (modifiers == (Qt::ControlModifier | Qt::ShiftModifier) && key == Qt::Key_Z) {
        redo();
        return true;
    }
    return false;
}

void OutlineEditing::handleDrop(QTreeWidgetItem* dragged, QTreeWidgetItem* target, int place)
{
    int fromChapter = 0;
    int fromSection = -1;
    int toChapter = 0;
    int toSection = -1;
    if (!canEdit() || !position(dragged, fromChapter, fromSection) ||
        !position(target, toChapter, toSection)) {
        return;
    }
    const auto where = OutlineTree::DropPlace(place);
    const auto& chapters = m_editor.outline().chapters;
    if (fromSection < 0) {
        int to = where == OutlineTree::DropPlace::Above ? toChapter : toChapter + 1;
        if (fromChapter < to) {
            --to;
        }
        run([&] { return m_editor.moveChapter(fromChapter, to); });
        return;
    }
    int index = 0;
    if (toSection >= 0) {
        index = where == OutlineTree::DropPlace::Above ? toSection : toSection + 1;
    } else if (where == OutlineTree::DropPlace::On) {
        index = int(chapters.at(toChapter).sections.size());
    } else if (where == OutlineTree::DropPlace::Above && toChapter > 0) {
        --toChapter;
        index = int(chapters.at(toChapter).sections.size());
    }
    // The index is counted without the moved section.
    if (toChapter == fromChapter && fromSection < index) {
        --index;
    }
    run([&] { return m_editor.moveSection(fromChapter, fromSection, toChapter, index); });
}

QMenu* OutlineEditing::buildMenu(QWidget* parent)
{
    auto* menu = new QMenu(parent);
    menu->setObjectName(QStringLiteral("mnuOutline"));
    int chapter = -1;
    int section = -1;
    const bool selected = selectedPosition(chapter, section);
    const bool editable = canEdit();
    const auto add = [menu](const QString& text, const QKeySequence& keys, bool enabled, auto slot) {
        QAction* action = menu->addAction(text);
        action->setShortcut(keys);
        action->setShortcutVisibleInContextMenu(true);
        action->setEnabled(enabled);
        QObject::connect(action, &QAction::triggered, slot);
        return action;
    };
    add(tr("Add Section"), QKeySequence(Qt::Key_Insert), editable && selected, [this] { addSection(); });
    add(tr("Add Chapter"), {}, editable, [this] { addChapter(); });
    add(tr("Rename"), QKeySequence(Qt::Key_F2), editable && selected, [this] { startRename(); });
    add(tr("Delete"), QKeySequence(Qt::Key_Delete), editable && selected, [this] { deleteSelected(); });
    menu->addSeparator();
    add(tr("Move Up"), QKeySequence(Qt::CTRL | Qt::Key_Up), editable && selected,
        [this] { moveSelected(true); });
    add(tr("Move Down"), QKeySequence(Qt::CTRL | Qt::Key_Down), editable && selected,
        [this] { moveSelected(false); });
    menu->addSeparator();
    add(tr("Undo"), QKeySequence(Qt::CTRL | Qt::Key_Z), editable && m_editor.canUndo(), [this] { undo(); });
    add(tr("Redo"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), editable && m_editor.canRedo(),
        [this] { redo(); });
    menu->addSeparator();
    add(tr("Unplaced Texts…"), {}, editable, [this] { showUnplacedTexts(); });
    add(tr("Trash…"), {}, editable, [this] { showTrash(); });
    return menu;
}

void OutlineEditing::showTrash()
{
    if (!canEdit()) {
        return;
    }
    const QString folder = m_editor.outline().projectFolder;
    QDialog dialog(m_hooks.dialogParent());
    dialog.setObjectName(QStringLiteral("frmTrash"));
    dialog.setWindowTitle(tr("Trash"));
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(new QLabel(tr("Deleted texts:"), &dialog));
    auto* list = new QListWidget(&dialog);
    list->setObjectName(QStringLiteral("lstTrash"));
    layout->addWidget(list);
    auto* buttons = new QDialogButtonBox(&dialog);
    QPushButton* restore = buttons->addButton(tr("Restore"), QDialogButtonBox::ActionRole);
    restore->setObjectName(QStringLiteral("cmdRestore"));
    QPushButton* empty = buttons->addButton(tr("Empty Trash"), QDialogButtonBox::DestructiveRole);
    empty->setObjectName(QStringLiteral("cmdEmptyTrash"));
    buttons->addButton(QDialogButtonBox::Close);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);

    QList<TrashItem> items;
    const auto fill = [&] {
        items = trashItems(folder);
        list->clear();
        for (const TrashItem& item : items) {
            const QString chapter = item.chapter.isEmpty() ? tr("(unplaced)") : item.chapter;
            list->addItem(tr("%1 — %2 — %3")
                              .arg(item.title, chapter,
                                   item.time.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm"))));
        }
        restore->setEnabled(!items.isEmpty());
        empty->setEnabled(!items.isEmpty());
        if (!items.isEmpty()) {
            list->setCurrentRow(0);
        }
    };
    fill();
    connect(restore, &QPushButton::clicked, &dialog, [&] {
        const int row = list->currentRow();
        if (row < 0 || row >= items.size()) {
            return;
        }
        const TrashItem item = items.at(row);
        // Back into the chapter it had, or into a new one of that title when it is gone.
        int chapter = -1;
        const auto& chapters = m_editor.outline().chapters;
        for (int i = 0; i < chapters.size(); ++i) {
            if (visibleTitle(chapters.at(i).title) == item.chapter) {
                chapter = i;
                break;
            }
        }
        run([&] { return m_editor.restoreFromTrash(item, chapter); });
        fill();
    });
    connect(empty, &QPushButton::clicked, &dialog, [&] {
        if (!askYesNo(tr("Empty the trash? Its texts cannot be restored afterwards."))) {
            return;
        }
        if (const Result emptied = emptyTrash(folder); !emptied) {
            showError(emptied.text());
        }
        fill();
    });
    dialog.resize(480, 320);
    dialog.exec();
}

void OutlineEditing::showUnplacedTexts()
{
    if (!canEdit()) {
        return;
    }
    const QString folder = m_editor.outline().projectFolder;
    QDialog dialog(m_hooks.dialogParent());
    dialog.setObjectName(QStringLiteral("frmUnplacedTexts"));
    dialog.setWindowTitle(tr("Unplaced Texts"));
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(new QLabel(tr("Texts in the project folder that no section names:"), &dialog));
    auto* list = new QListWidget(&dialog);
    list->setObjectName(QStringLiteral("lstUnplaced"));
    layout->addWidget(list);
    layout->addWidget(new QLabel(tr("Attach to a section without text:"), &dialog));
    auto* sections = new QComboBox(&dialog);
    sections->setObjectName(QStringLiteral("cboSections"));
    layout->addWidget(sections);
    auto* buttons = new QDialogButtonBox(&dialog);
    QPushButton* attach = buttons->addButton(tr("Attach"), QDialogButtonBox::ActionRole);
    attach->setObjectName(QStringLiteral("cmdAttach"));
    QPushButton* trash = buttons->addButton(tr("Move to Trash"), QDialogButtonBox::ActionRole);
    trash->setObjectName(QStringLiteral("cmdTrash"));
    buttons->addButton(QDialogButtonBox::Close);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);

    QList<UnplacedText> texts;
    QList<const OutlineSection*> empty;
    const auto fill = [&] {
        m_editor.refreshContent();
        texts = unplacedTexts(m_editor.outline());
        list->clear();
        for (const UnplacedText& text : texts) {
            list->addItem(text.fileName + QStringLiteral(" — ") + text.firstWords);
        }
        sections->clear();
        empty.clear();
        for (const OutlineChapterEntry& chapter : m_editor.outline().chapters) {
            for (const OutlineSection& section : chapter.sections) {
                if (!section.hasContent) {
                    empty.append(&section);
                    sections->addItem(visibleTitle(chapter.title) + QStringLiteral(" / ") +
                                      visibleTitle(section.title));
                }
            }
        }
        attach->setEnabled(!texts.isEmpty() && !empty.isEmpty());
        trash->setEnabled(!texts.isEmpty());
        if (!texts.isEmpty()) {
            list->setCurrentRow(0);
        }
    };
    fill();
    const auto finish = [&](const Result& result, int focusId) {
        if (!result) {
            showError(result.text());
        }
        m_editor.refreshContent();
        m_hooks.showOutline(focusId);
        fill();
    };
    connect(attach, &QPushButton::clicked, &dialog, [&] {
        const int row = list->currentRow();
        const int target = sections->currentIndex();
        if (row < 0 || row >= texts.size() || target < 0 || target >= empty.size()) {
            return;
        }
        const OutlineSection section = *empty.at(target);
        finish(attachUnplacedText(folder, texts.at(row).fileName, section.contentPath), section.id);
    });
    connect(trash, &QPushButton::clicked, &dialog, [&] {
        const int row = list->currentRow();
        if (row >= 0 && row < texts.size()) {
            finish(trashUnplacedText(folder, texts.at(row).fileName), m_editor.focusId());
        }
    });
    dialog.resize(560, 360);
    dialog.exec();
}

} // namespace folioneer
