// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "outline/outline_model.h"
#include "support/result.h"

#include <QList>
#include <QString>

namespace folioneer {

// Content files in a project folder that no section of the outline names: titles edited by
// hand, older copies. They can be attached to a section without content or put in the trash.
// Knows nothing about widgets.

struct UnplacedText {
    QString fileName;   ///< inside the project folder
    QString firstWords; ///< the start of its plain text, for the user to recognise it
};

/// The content files ("chapter---section.txt") of the outline's folder that no section names,
/// sorted by name. Hidden files and the table of contents and main topic are never listed.
/// `withFirstWords` false leaves firstWords empty and reads no file.
QList<UnplacedText> unplacedTexts(const ProjectOutline& outline, bool withFirstWords = true);

/// Moves an unplaced text to `contentPath`, the content file of a section that has none.
/// Refused when a file is already there.
Result attachUnplacedText(const QString& projectFolder, const QString& fileName, const QString& contentPath);

/// Moves an unplaced text into the project's trash.
Result trashUnplacedText(const QString& projectFolder, const QString& fileName);

} // namespace folioneer
