// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "support/result.h"

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>

namespace folioneer {

// Book backups: a whole project folder written as one zip file and unpacked again under a new
// name, and the backup every deleted project leaves in the program folder's "/backups/". Works
// on paths only; the zip format is support/zip_archive's, and nothing here shows a dialog.

/// The most a backup may hold once unpacked, over all its files, and the largest archive read.
inline constexpr qint64 kMaxRestoredBytes = qint64(2) << 30;
inline constexpr qint64 kMaxBackupArchiveBytes = qint64(1) << 30;

/// Writes every file and folder of project `name` (hidden ones included; links, devices and
/// pipes skipped) into the zip file `zipPath`, paths relative to the project folder. The file
/// is replaced atomically: on failure an old file at `zipPath` stays as it was and no partial
/// zip is left; the failure says "The book could not be backed up." and why.
Result backupProject(const QString& programFolder, const QString& name, const QString& zipPath);

/// Why `name` cannot name a restored book (invalid, or a project or file of that name exists);
/// success when it can. Restored books are top-level projects, so "/" is refused too.
Result checkRestoreName(const QString& programFolder, const QString& name);

/// Unpacks the backup `zipPath` into "/projects/<newName>". Refuses, before anything is written,
/// a name checkRestoreName refuses, an archive that is not a book (no table of contents), any
/// entry that is a link, is absolute or would leave the new folder, and an archive that declares
/// more than kMaxRestoredBytes. An entry that holds more bytes than it declares fails the
/// restore. The files go into a hidden temporary folder inside "/projects/" that becomes the
/// project only when every file was written, so a failure leaves nothing behind. An archive
/// whose entries all lie in one top folder (a project folder zipped by another tool) is
/// unpacked from inside that folder.
Result restoreProject(const QString& programFolder, const QString& zipPath, const QString& newName);

/// The file name "Back Up Book…" suggests: "<name> yyyy-MM-dd.zip".
QString backupFileName(const QString& name, const QDate& date);

/// The name a restore suggests for the backup `zipPath`: the file's name without ".zip".
QString suggestedRestoreName(const QString& zipPath);

enum class DeleteProjectOutcome {
    Deleted,     ///< backed up into "/backups/", then deleted
    NotBackedUp, ///< the backup failed; nothing was deleted
    NotDeleted,  ///< backed up, but the folder could not be deleted (wholly or in part)
};

struct DeleteProjectResult {
    DeleteProjectOutcome outcome = DeleteProjectOutcome::NotBackedUp;
    Result backup;      ///< the failure of the backup, with the sentence for the user
    QString backupPath; ///< the backup written (Deleted and NotDeleted)
};

/// Backs project `name` up into "/backups/" (made when missing) under a name of its own
/// ("<name> yyyy-MM-dd HH-mm-ss.zip", local time `now`, numbered when taken), then deletes its
/// folder with DeleteFolderTree. Nothing is deleted unless the backup was written whole.
DeleteProjectResult deleteProjectWithBackup(const QString& programFolder, const QString& name,
                                            const QDateTime& now = QDateTime::currentDateTime());

struct DeletedBook {
    QString path;   ///< the backup's zip file
    QString name;   ///< the project's name when it was deleted
    QDateTime time; ///< when it was deleted (from the file name; else the file's time)
};

/// The backups in "/backups/", newest first.
QList<DeletedBook> deletedBooks(const QString& programFolder);

} // namespace folioneer
