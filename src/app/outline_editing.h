// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "support/result.h"
#include "widgets/message_boxes.h"

#include <QObject>

#include <functional>

class QAction;
class QKeyEvent;
class QMenu;
class QTreeWidgetItem;

namespace folioneer {

class OutlineEditor;
class OutlineTree;

// Wires the outline's context menu, keys and drops to the outline edits of the core: asks the
// questions the edits need (unsaved changes, deleting text), shows refusals, and has the window
// show the edited outline. Holds no rule about titles or files.
class OutlineEditing : public QObject {
    Q_OBJECT
public:
    struct Hooks {
        /// Asks about unsaved edits of the shown section; false when the user cancels.
        std::function<bool()> confirmLeaving;
        /// Shows the edited outline with the node of this id selected (0: none).
        std::function<void(int focusId)> showOutline;
        /// The window the boxes belong to.
        std::function<QWidget*()> dialogParent;
    };

    OutlineEditing(OutlineTree& tree, OutlineEditor& editor, MessageBoxes& messageBoxes, Hooks hooks,
                   QObject* parent = nullptr);

    // The edits, as the menu and keys start them; public so tests can drive them.
    void addSection();
    void addChapter();
    void startRename();
    /// Renames the selected node to `title` (what an in-place edit ends with).
    void renameSelected(const QString& title);
    void deleteSelected();
    void moveSelected(bool up);
    void undo();
    void redo();
    void showTrash();
    void showUnplacedTexts();

    /// The context menu with every edit (built afresh for the selected node).
    QMenu* buildMenu(QWidget* parent);

private:
    bool handleKey(QKeyEvent* event);

public:
    /// Moves `dragged` to where it was dropped (two levels only; public for tests).
    void handleDrop(QTreeWidgetItem* dragged, QTreeWidgetItem* target, int place);

private:
    bool canEdit() const;
    /// Chapter and section index of a node (section -1 for a chapter); false for none.
    bool position(const QTreeWidgetItem* node, int& chapter, int& section) const;
    bool selectedPosition(int& chapter, int& section) const;
    /// Asks about unsaved edits, runs the edit, shows a refusal or the edited outline.
    void run(const std::function<Result()>& edit);
    void showError(const QString& text);
    bool askYesNo(const QString& text);

    OutlineTree& m_tree;
    OutlineEditor& m_editor;
    MessageBoxes& m_messageBoxes;
    Hooks m_hooks;
    QTreeWidgetItem* m_renaming = nullptr;
};

} // namespace folioneer
