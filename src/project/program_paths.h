// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace folioneer {

// The one set of functions that forms program and project paths. The program folder is a value
// handed to the windows when they are created (tests pass a temporary folder). Paths are the
// folder followed by a fixed piece beginning with "/"; no separator is added or removed.

namespace paths {
inline constexpr auto kProjects = "/projects/";
inline constexpr auto kFolderIcon = "/folder.ico";
inline constexpr auto kBlankIcon = "/blank.ico";
inline constexpr auto kDocumentIcon = "/document.ico";
inline constexpr auto kTocTemplate = "/templates/prompt.txt";
inline constexpr auto kSequelTemplate = "/templates/prompt-publicdomain.txt";
inline constexpr auto kPromptOverride = "/prompt.txt";
inline constexpr auto kCatalogue = "/prompts/0";
inline constexpr auto kToc = "/--toc.txt";
inline constexpr auto kMainTopic = "/--maintopic.txt";
inline constexpr auto kPersonalDictionary = "/dictionary.txt";
inline constexpr auto kSpellingLanguage = "/spelling-language.txt";
inline constexpr auto kBackups = "/backups/";
} // namespace paths

/// `folder` followed by `piece` (which begins with "/"), exactly.
QString programPath(const QString& folder, const char* piece);

/// The folder that holds the project folders: program folder + "/projects/".
QString projectsFolder(const QString& programFolder);

/// The folder that holds the backups of deleted projects: program folder + "/backups/".
QString backupsFolder(const QString& programFolder);

/// program folder + "/projects/" + name, with nothing added, removed or checked.
QString projectFolderPath(const QString& programFolder, const QString& projectName);

} // namespace folioneer
