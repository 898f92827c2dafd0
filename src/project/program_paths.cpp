// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "project/program_paths.h"

namespace folioneer {

QString programPath(const QString& folder, const char* piece)
{
    return folder + QLatin1String(piece);
}

QString projectsFolder(const QString& programFolder)
{
    return programPath(programFolder, paths::kProjects);
}

QString backupsFolder(const QString& programFolder)
{
    return programPath(programFolder, paths::kBackups);
}

QString projectFolderPath(const QString& programFolder, const QString& projectName)
{
    return projectsFolder(programFolder) + projectName;
}

} // namespace folioneer
