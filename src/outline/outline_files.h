// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "outline/outline_model.h"
#include "support/result.h"

#include <QHash>
#include <QString>

namespace folioneer {

// Carries an outline edit to disk: the content files follow their sections (moved, copied
// where two sections shared one file, or put in the trash), and the table of contents is
// rewritten. A journal (the dot-file ".outline-journal") is written before the first file
// changes; a kill at any step leaves a project whose next load, or completePendingOutlineJournal,
// finishes the edit. Knows nothing about widgets.

inline constexpr auto kCollisionRefusal = "There is already a section with this title in this chapter.";
inline constexpr auto kLengthRefusal = "The table of contents would be longer than 32,767 characters.";
inline constexpr auto kFileNameRefusal =
    "The title is too long: the name of its text file would be longer than 255 bytes.";
inline constexpr auto kJournalFile = ".outline-journal";

/// Section id -> the trash item that holds the text it had when it left the outline.
using TrashedTexts = QHash<int, QString>;

struct OutlineCommit {
    Result result;
    ProjectOutline outline; ///< the outline on disk afterwards (the old one when refused)
    TrashedTexts trashed;   ///< texts this edit put in the trash, by section id
};

/// Replaces `before` (the outline on disk) by `after` (titles in stored form; sections keep their
/// ids where they are the same section). A section of `after` that is not in `before` and is
/// named in `restoreFrom` gets its text back from that trash item. Refuses, changing nothing,
/// when two sections would share one content file, when the table of contents would pass the
/// character limit or a content-file name 255 bytes.
/// `restoring` (undo and redo) lets sections share a file again as they did before.
OutlineCommit commitOutline(const ProjectOutline& before, ProjectOutline after,
                            const TrashedTexts& restoreFrom = {}, bool restoring = false);

/// Finishes an outline edit that a crash or kill interrupted, if the project has one pending.
/// Success when there was nothing to do.
Result completePendingOutlineJournal(const QString& projectFolder);

} // namespace folioneer
