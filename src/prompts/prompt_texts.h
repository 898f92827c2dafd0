// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace folioneer {

class TextHolder;

// The prompts the user copies into the AI tool: the content prompt of a section, the
// table-of-contents prompt and the sequel prompt built from their templates, and the override
// rule of the shared template holder. The windows only show what these return.

/// The content prompt of a section. `mainTopic` is the main-topic text as loaded (final CR LF
/// included), `chapterTitle` and `sectionTitle` the outline's texts (trailing CR included);
/// the chapter is blank-trimmed as its label shows it. Every ".." of the joined prompt becomes
/// "." in one pass.
QString contentPrompt(const QString& mainTopic, const QString& chapterTitle, const QString& sectionTitle);

/// Makes `holder` load the override file (program folder + "/prompt.txt") whenever its text
/// changes, synchronously inside the change. A missing override file changes nothing.
void attachPromptOverride(TextHolder& holder, const QString& programFolder);

/// The table-of-contents prompt for `topic`: empty for an empty topic; otherwise the template
/// "/templates/prompt.txt" is read again into `holder` (the override applies through the
/// holder's change) and every "#TOPIC#" of the holder's text becomes the topic, unchanged.
QString tocPrompt(TextHolder& holder, const QString& programFolder, const QString& topic);

/// The sequel prompt: "/templates/prompt-publicdomain.txt" read into `holder`, then filled with
/// `sentence` as the topic. A missing template leaves the holder's previous text in use.
QString sequelPrompt(TextHolder& holder, const QString& programFolder, const QString& sentence);

} // namespace folioneer
