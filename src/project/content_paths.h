// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace folioneer {

// Ties an outline entry to its content file. The file name is formed from the chapter and
// section titles as the outline holds them (trailing CR included) and is always lower-case;
// the project folder part keeps its case.

/// The character a "/" in a title becomes in a file name (U+2215 DIVISION SLASH), so that a
/// content file always lies directly inside its project folder.
inline constexpr char16_t kSlashStandIn = 0x2215;

/// The content file of a section: projectPath + "/" + lower-cased file name, where the file
/// name is the chapter part, "---", the section part with blanks trimmed, and ".txt".
/// Chapter part: title blank-trimmed, lower-cased, CRs removed, blanks to "-". Section part:
/// lower-cased, CRs removed, blanks to "-". "/" becomes kSlashStandIn; nothing else changes.
QString ContentFilePath(const QString& projectPath, const QString& chapterTitle, const QString& sectionTitle);

/// True when a regular file (or a link to one) exists at exactly `path`. No wildcards, no case
/// folding; folders do not count; any error gives false.
bool ArchivoExiste(const QString& path);

} // namespace folioneer
