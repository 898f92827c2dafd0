// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "common/test_support.h"
#include "outline/outline_model.h"
#include "outline/trash.h"

#include <QDir>
#include <QStringList>

namespace folioneer::test {

// A project folder for the outline tests: a table of contents and content files whose bytes
// name their section, so that a test can see which text lies where.

/// Writes the table of contents and one content file per entry of `texts` (file name = text).
inline bool makeOutlineProject(const QString& folder, const QByteArray& toc, const QStringList& texts)
{
    bool ok = writeFile(folder + QStringLiteral("/--toc.txt"), toc);
    ok = ok && writeFile(folder + QStringLiteral("/--maintopic.txt"), "Topic\r\n");
    for (const QString& name : texts) {
        ok = ok && writeFile(folder + QLatin1Char('/') + name, "text of " + name.toUtf8());
    }
    return ok;
}

/// The content files of the project as "file name=content", sorted, then every trashed text
/// as "trash:content"; the table of contents, the main topic and hidden files are left out.
inline QStringList textsOnDisk(const QString& folder)
{
    QStringList texts;
    const QDir dir(folder);
    for (const QString& name : dir.entryList(QDir::Files, QDir::Name)) {
        if (!name.startsWith(QStringLiteral("--"))) {
            texts.append(name + QLatin1Char('=') + QString::fromUtf8(readFile(dir.filePath(name))));
        }
    }
    QStringList trashed;
    for (const TrashItem& item : trashItems(folder)) {
        trashed.append(QStringLiteral("trash:") +
                       QString::fromUtf8(readFile(trashTextPath(folder, item.name))));
    }
    trashed.sort();
    return texts + trashed;
}

/// The outline as "chapter/section" visible titles, one per section ("chapter/" for an empty chapter).
inline QStringList outlineTitles(const ProjectOutline& outline)
{
    const auto visible = [](QString title) { return title.remove(QLatin1Char('\r')).trimmed(); };
    QStringList titles;
    for (const OutlineChapterEntry& chapter : outline.chapters) {
        if (chapter.sections.isEmpty()) {
            titles.append(visible(chapter.title) + QLatin1Char('/'));
        }
        for (const OutlineSection& section : chapter.sections) {
            titles.append(visible(chapter.title) + QLatin1Char('/') + visible(section.title));
        }
    }
    return titles;
}

} // namespace folioneer::test
