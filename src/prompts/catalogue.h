// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

namespace folioneer {

// The rules of the prompt library: catalogue titles and entries, the numbering removal of a
// sequel idea, the sequel sentence and the filling of a prompt template. No widgets here.

/// The titles of the catalogue folder, in listing order: each file name without its folder and
/// with every ".txt" removed.
QStringList catalogueTitles(const QString& programFolder);

/// The path a title's entries are read from: program folder + "/prompts/0/" + title + ".txt".
QString titleFilePath(const QString& programFolder, const QString& title);

/// The entries of a title file as the list shows them: its lines, ended at CR LF, a lone CR or
/// a lone LF (splitAtAnyLineEnd), without the empty ones, nothing trimmed. A missing or unreadable file gives
/// no entries.
QStringList readCatalogueEntries(const QString& titleFile);

/// Removes the numbering of an entry: for n from 100 down to 1, every "n. " is deleted.
QString removeNumbering(const QString& entry);

/// '"' + title + '"' + ". The sequel describes " + idea.
QString sequelSentence(const QString& title, const QString& idea);

/// The template with every "#TOPIC#" replaced by `topic`.
QString fillTemplate(const QString& templateText, const QString& topic);

} // namespace folioneer
