// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "outline/outline_model.h"

#include "outline/outline_files.h"
#include "project/content_paths.h"
#include "project/project_files.h"
#include "project/toc.h"
#include "support/lines.h"

namespace folioneer {

ProjectOutline loadProjectOutline(const QString& projectFolder)
{
    ProjectOutline outline;
    outline.projectFolder = projectFolder;
    // An edit cut short by a crash is finished before anything is read.
    (void)completePendingOutlineJournal(projectFolder);

    const ResultOf<QString> toc = readTableOfContents(projectFolder);
    if (!toc.ok()) {
        outline.error = OutlineLoadError::TocUnreadable;
        outline.reason = toc.reason();
        return outline;
    }
    const Outline parsed = buildOutline(splitAtLineFeeds(toc.value()));
    switch (parsed.error) {
    case OutlineError::SectionBeforeChapter:
        outline.error = OutlineLoadError::SectionBeforeChapter;
        return outline;
    case OutlineError::NoChapters:
        outline.error = OutlineLoadError::NoChapters;
        return outline;
    case OutlineError::None:
        break;
    }
    outline.chapters.reserve(parsed.chapters.size());
    for (const OutlineChapter& chapter : parsed.chapters) {
        OutlineChapterEntry entry{outline.newId(), chapter.title, {}};
        entry.sections.reserve(chapter.sections.size());
        for (const QString& section : chapter.sections) {
            entry.sections.append({outline.newId(), section, {}, false});
        }
        outline.chapters.append(entry);
    }
    refreshContentPaths(outline);
    return outline;
}

void refreshContentPaths(ProjectOutline& outline)
{
    for (OutlineChapterEntry& chapter : outline.chapters) {
        for (OutlineSection& section : chapter.sections) {
            section.contentPath = ContentFilePath(outline.projectFolder, chapter.title, section.title);
            section.hasContent = ArchivoExiste(section.contentPath);
        }
    }
}

} // namespace folioneer
