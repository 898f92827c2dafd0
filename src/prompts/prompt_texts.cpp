// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "prompts/prompt_texts.h"

#include "project/program_paths.h"
#include "project/toc.h"
#include "prompts/catalogue.h"
#include "support/text_holder.h"
#include "support/trellis.h"

namespace folioneer {

QString contentPrompt(const QString& mainTopic, const QString& chapterTitle, const QString& sectionTitle)
{
    const QChar quote = QLatin1Char('"');
    const QString prompt = QStringLiteral("I'm creating a book for the following topic: ") + mainTopic +
                           QStringLiteral(". I'm now working in the following chapter: ") + quote +
                           trimBlanks(chapterTitle) + quote +
                           QStringLiteral(" and i need content for the following section of the chapter: ") +
                           quote + sectionTitle + quote + QLatin1Char('.');
    return ReplaceText(prompt, QStringLiteral(".."), QStringLiteral("."));
}

void attachPromptOverride(TextHolder& holder, const QString& programFolder)
{
    const QString overridePath = programPath(programFolder, paths::kPromptOverride);
    // Loading the override changes the holder again at most once: a second load of the same
    // text raises no change.
    QObject::connect(&holder, &TextHolder::textChanged, &holder,
                     [&holder, overridePath] { LoadTextFile(holder, overridePath); });
}

QString tocPrompt(TextHolder& holder, const QString& programFolder, const QString& topic)
{
    if (topic.isEmpty()) {
        return {};
    }
    LoadTextFile(holder, programPath(programFolder, paths::kTocTemplate));
    return fillTemplate(holder.text(), topic);
}

QString sequelPrompt(TextHolder& holder, const QString& programFolder, const QString& sentence)
{
    LoadTextFile(holder, programPath(programFolder, paths::kSequelTemplate));
    return fillTemplate(holder.text(), sentence);
}

} // namespace folioneer
