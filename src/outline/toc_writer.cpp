// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "outline/toc_writer.h"

#include "project/toc.h"

namespace folioneer {

QString typedTitle(const QString& text)
{
    QString title = text;
    // A line break would end the line in the table of contents and cut the title in two; a NUL
    // cannot be part of a file name.
    for (QChar& c : title) {
        if (c == u'\r' || c == u'\n' || c == u'\0') {
            c = u' ';
        }
    }
    return trimBlanks(title);
}

QString visibleTitle(const QString& storedTitle)
{
    QString title = storedTitle;
    if (title.endsWith(QLatin1Char('\r'))) {
        title.chop(1);
    }
    return typedTitle(title);
}

QString storedChapterTitle(const QString& visible)
{
    // The grammar keeps everything after "Chapter:", so the blank after the colon and the CR
    // before the LF are part of the title read back.
    return QLatin1Char(' ') + visible + QLatin1Char('\r');
}

QString storedSectionTitle(const QString& visible)
{
    return visible + QLatin1Char('\r');
}

void storeTitles(ProjectOutline& outline)
{
    for (OutlineChapterEntry& chapter : outline.chapters) {
        chapter.title = storedChapterTitle(visibleTitle(chapter.title));
        for (OutlineSection& section : chapter.sections) {
            section.title = storedSectionTitle(visibleTitle(section.title));
        }
    }
}

QString tocText(const ProjectOutline& outline)
{
    QString text;
    for (const OutlineChapterEntry& chapter : outline.chapters) {
        // The stored title already carries the blank after the colon and the CR.
        text += kChapterKeyword + chapter.title + QLatin1Char('\n');
        for (const OutlineSection& section : chapter.sections) {
            text += kSectionKeyword + QLatin1Char(' ') + section.title + QLatin1Char('\n');
        }
    }
    return text;
}

} // namespace folioneer
