// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>

namespace folioneer {

// The outline of an open project as the program works on it: chapters, their sections, and for
// each section the content file its titles name and whether that file exists. Built in one call
// from the project folder; the windows render it, the outline edits change it. Knows nothing
// about widgets; the whole-book export reads the table of contents on its own.

struct OutlineSection {
    int id = 0;          ///< stable while the project is open; survives renames and moves
    QString title;       ///< exact, as the table of contents gives it (trailing CR included)
    QString contentPath; ///< ContentFilePath of the chapter and section titles
    bool hasContent = false;
};

struct OutlineChapterEntry {
    int id = 0;
    QString title; ///< exact, as the table of contents gives it (leading blank, trailing CR)
    QList<OutlineSection> sections;
};

enum class OutlineLoadError {
    None,
    TocUnreadable,        ///< the table of contents is missing, unreadable or too long
    SectionBeforeChapter, ///< "Error: Nodo principal no encontrado."; no chapter is kept
    NoChapters,           ///< "Error: No se encontraron nodos principales."
};

struct ProjectOutline {
    QString projectFolder;
    QList<OutlineChapterEntry> chapters;
    OutlineLoadError error = OutlineLoadError::None;
    QString reason; ///< the system's words when the table of contents could not be read
    int nextId = 1;

    /// Edits are refused while the outline loaded with an error.
    bool editable() const { return error == OutlineLoadError::None; }
    int newId() { return nextId++; }
};

/// Reads the project's table of contents and builds its outline, with each section's content
/// path and whether a content file is there. A pending outline journal is completed first (a
/// failure to complete it leaves the journal for the next load and loads what is on disk).
ProjectOutline loadProjectOutline(const QString& projectFolder);

/// The content path and content flag of every section, from the titles (after an edit).
void refreshContentPaths(ProjectOutline& outline);

} // namespace folioneer
