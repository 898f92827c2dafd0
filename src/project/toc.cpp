// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "project/toc.h"

namespace folioneer {

QString trimBlanks(const QString& text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text.at(begin) == QLatin1Char(' ')) {
        ++begin;
    }
    while (end > begin && text.at(end - 1) == QLatin1Char(' ')) {
        --end;
    }
    if (begin == 0 && end == text.size()) {
        return text;
    }
    return text.mid(begin, end - begin);
}

TocLine classifyTocLine(const QString& line)
{
    const QString trimmed = trimBlanks(line);
    if (trimmed.startsWith(kChapterKeyword)) {
        // The chapter title is kept exactly: a blank after the colon and the trailing CR stay.
        return {TocLineKind::Chapter, trimmed.mid(kChapterKeyword.size())};
    }
    if (trimmed.startsWith(kSectionKeyword)) {
        QString title = trimBlanks(trimmed.mid(kSectionKeyword.size()));
        if (title.isEmpty()) {
            return {};
        }
        return {TocLineKind::Section, title};
    }
    return {};
}

Outline buildOutline(const QStringList& lines)
{
    Outline outline;
    for (const QString& line : lines) {
        const QString trimmed = trimBlanks(line);
        if (trimmed.startsWith(kChapterKeyword)) {
            outline.chapters.append({trimmed.mid(kChapterKeyword.size()), {}});
            continue;
        }
        if (!trimmed.startsWith(kSectionKeyword)) {
            continue;
        }
        // A section line before the first chapter stops the whole outline, even one whose
        // title is empty: the missing chapter is checked before the title.
        if (outline.chapters.isEmpty()) {
            outline.error = OutlineError::SectionBeforeChapter;
            return outline;
        }
        const QString title = trimBlanks(trimmed.mid(kSectionKeyword.size()));
        if (!title.isEmpty()) {
            outline.chapters.last().sections.append(title);
        }
    }
    if (outline.chapters.isEmpty()) {
        outline.error = OutlineError::NoChapters;
    }
    return outline;
}

} // namespace folioneer
