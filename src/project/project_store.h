// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "support/result.h"

#include <QString>
#include <QStringList>

namespace folioneer {

// Creating, listing and deleting project folders under the program's "/projects/" folder.
// Never follows a symbolic link out of a project and never writes outside "/projects/".

/// The sub-folders of "/projects/" as the project list shows them: sorted by name
/// (case-insensitive, locale-aware, ties by exact name), names beginning with "." left out.
/// A missing folder gives an empty list.
QStringList listProjects(const QString& programFolder);

/// True when `name` may name a new project: no character Windows file names cannot hold
/// (< > : " | ? * \ and control characters), no piece that begins with "." or ends with a blank
/// or ".", not "." or "..", and the normalised path stays strictly inside "/projects/".
/// A "/" separates pieces (a sub-folder of an existing project).
bool isValidProjectName(const QString& name);

enum class CreateFolderResult { Creada, Existe, Error };

/// Creates one folder (never its parents). Looks the path up without following links: any
/// entry of that name (folder, file, link) gives Existe. Any failure gives Error.
CreateFolderResult CreateProjectFolder(const QString& folderPath);

/// Writes "/--maintopic.txt" (main topic + CR LF) then "/--toc.txt" (the table of contents with
/// every line break as CR LF, then CR LF), each atomically; stops at the first failure.
Result writeProjectFiles(const QString& projectFolder, const QString& mainTopic, const QString& toc);

/// Deletes a folder tree: in name order (as sortNamesForDisplay sorts), the files of a folder first, then its
/// sub-folders depth-first, then the folder; stops at the first failure. A link is removed as a link and
/// never followed (also when `folderPath` itself is a link). Files whose names begin with "."
/// are deleted too. A file without write permission for its owner counts as read-only and
/// stops the deletion. Succeeds when everything is gone; otherwise the reason names what stopped it.
Result DeleteFolderTree(const QString& folderPath);

/// Removes a folder that CreateProjectFolder just made, with the files written into it, after
/// a failed creation. Best effort.
void removeHalfMadeProject(const QString& folderPath);

enum class CreateProjectOutcome {
    Created,     ///< folder made, both files written
    NameTaken,   ///< "Folder exists. Please try with another project name (step #4)"
    InvalidName, ///< the invalid-name message; nothing was created
    WriteFailed, ///< "The project could not be created." + the reason; the new folder was removed again
};

struct CreateProjectResult {
    CreateProjectOutcome outcome = CreateProjectOutcome::InvalidName;
    QString folderPath; ///< projectFolderPath(programFolder, name), whatever the outcome
    Result result;      ///< the failed write when outcome is WriteFailed; else success
};

/// The whole creation after the input checks: name rules, CreateProjectFolder, then
/// writeProjectFiles; when a write fails the folder just made is removed again. The caller
/// shows the message for the outcome and, on Created, loads folderPath.
CreateProjectResult createProject(const QString& programFolder, const QString& name, const QString& mainTopic,
                                  const QString& toc);

} // namespace folioneer
