// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "support/result.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

namespace folioneer {

// The project's trash: a hidden folder ".trash/" holding one folder per deleted text, with the
// text file exactly as it was and a small description (its section and chapter titles, the
// time it was deleted and the file name it had). Knows nothing about the outline's order.

inline constexpr auto kTrashFolder = ".trash";
inline constexpr auto kTrashText = "text.rtf";
inline constexpr auto kTrashInfo = "info.json";

struct TrashItem {
    QString name;     ///< the item's folder name inside ".trash/"
    QString title;    ///< the section's visible title
    QString chapter;  ///< the chapter's visible title (empty for an unplaced text)
    QDateTime time;   ///< when it was deleted (UTC)
    QString fileName; ///< the content file name it had
};

/// A new item folder name, unique in the project's trash.
QString newTrashItemName(const QString& projectFolder);

/// The description of an item as written into its folder.
QByteArray trashInfoBytes(const TrashItem& item);

/// The items in the project's trash that still hold their text, newest first.
QList<TrashItem> trashItems(const QString& projectFolder);

/// The path of an item's text file.
QString trashTextPath(const QString& projectFolder, const QString& itemName);

/// Removes every item of the trash for good.
Result emptyTrash(const QString& projectFolder);

} // namespace folioneer
