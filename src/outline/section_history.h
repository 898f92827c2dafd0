// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "support/result.h"

#include <QDateTime>
#include <QList>
#include <QString>

namespace folioneer {

// Earlier versions of each section's content file, kept in the project's hidden ".history/"
// folder: one folder per content-file name, one byte-for-byte copy per save, the newest 50.
// The outline edits move a section's folder along with its content file. Knows nothing about
// widgets.

inline constexpr int kMaxSectionVersions = 50;

struct SectionVersion {
    QString path;      ///< the copy's file
    QDateTime time;    ///< when the save that replaced it began (UTC)
    int wordCount = 0; ///< words of its plain text
};

/// The history folder of a content file (project folder + "/.history/" + its file name).
QString sectionHistoryFolder(const QString& contentPath);

/// Before a save replaces `contentPath`: copies the file as it is into its history and drops
/// the oldest copies beyond kMaxSectionVersions. Nothing to do (success) when there is no file.
Result keepSectionVersion(const QString& contentPath);

/// The versions kept for a content file, newest first.
QList<SectionVersion> sectionVersions(const QString& contentPath);

} // namespace folioneer
