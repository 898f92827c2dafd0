// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "outline/outline_files.h"
#include "outline/outline_model.h"
#include "support/result.h"

#include <QList>
#include <QString>

namespace folioneer {

struct TrashItem;

// The outline of the open project and the edits the user makes to it: add, rename, delete and
// move chapters and sections, restore a text from the trash, undo and redo. Every edit goes to
// disk at once (commitOutline); a refused or failed edit leaves the outline as it was. Chapters
// and sections are addressed by their index in the outline; the node an edit leaves selected is
// focusId(). Knows nothing about widgets and asks no questions: the window does that first.

class OutlineEditor {
public:
    /// Starts over with a freshly loaded outline; the undo history is dropped.
    void reset(ProjectOutline outline);
    const ProjectOutline& outline() const { return m_outline; }
    /// Reads again which sections have a content file (after a save or an attached text).
    void refreshContent() { refreshContentPaths(m_outline); }

    /// The id of the chapter or section the last edit, undo or redo concerned (0: none).
    int focusId() const { return m_focusId; }

    /// A new section after `section` of `chapter` (-1: at the end of the chapter).
    Result addSection(int chapter, int section, const QString& title);
    /// A new chapter after `chapter` (-1: at the end of the book).
    Result addChapter(int chapter, const QString& title);
    Result renameChapter(int chapter, const QString& title);
    Result renameSection(int chapter, int section, const QString& title);
    Result deleteChapter(int chapter);
    Result deleteSection(int chapter, int section);
    /// Moves a section to position `toSection` of chapter `toChapter`, counted without it.
    Result moveSection(int chapter, int section, int toChapter, int toSection);
    /// Moves a chapter to position `toChapter`, counted without it.
    Result moveChapter(int chapter, int toChapter);
    /// One place up or down; a section crosses into the neighbouring chapter at its edge.
    Result moveUp(int chapter, int section);
    Result moveDown(int chapter, int section);
    /// Puts a trashed text back as a section at the end of `chapter`, or of a new chapter with
    /// the title it had (chapter -1).
    Result restoreFromTrash(const TrashItem& item, int chapter);

    bool canUndo() const { return !m_undo.isEmpty(); }
    bool canRedo() const { return !m_redo.isEmpty(); }
    Result undo();
    Result redo();

private:
    struct Entry {
        ProjectOutline before;
        ProjectOutline after;
        TrashedTexts forwardRestore;
        TrashedTexts backwardRestore;
        int focusBefore = 0;
        int focusAfter = 0;
    };

    bool validChapter(int chapter) const;
    bool validSection(int chapter, int section) const;
    Result apply(ProjectOutline after, int focusId, const TrashedTexts& restore = {});

    ProjectOutline m_outline;
    QList<Entry> m_undo;
    QList<Entry> m_redo;
    int m_focusId = 0;
};

} // namespace folioneer
