// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "outline/trash.h"

#include "support/file_io.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>

namespace folioneer {

namespace {

QString trashPath(const QString& projectFolder)
{
    return projectFolder + QLatin1Char('/') + QLatin1String(kTrashFolder);
}

} // namespace

QString newTrashItemName(const QString& projectFolder)
{
    const QString stamp = QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMdd-HHmmss-zzz"));
    QString name = stamp;
    for (int n = 2; QFileInfo::exists(trashPath(projectFolder) + QLatin1Char('/') + name); ++n) {
        name = stamp + QLatin1Char('-') + QString::number(n);
    }
    return name;
}

QByteArray trashInfoBytes(const TrashItem& item)
{
    QJsonObject info;
    info.insert(QStringLiteral("title"), item.title);
    info.insert(QStringLiteral("chapter"), item.chapter);
    info.insert(QStringLiteral("time"), item.time.toUTC().toString(Qt::ISODateWithMs));
    info.insert(QStringLiteral("fileName"), item.fileName);
    return QJsonDocument(info).toJson();
}

QString trashTextPath(const QString& projectFolder, const QString& itemName)
{
    return trashPath(projectFolder) + QLatin1Char('/') + itemName + QLatin1Char('/') +
           QLatin1String(kTrashText);
}

QList<TrashItem> trashItems(const QString& projectFolder)
{
    QList<TrashItem> items;
    const QDir trash(trashPath(projectFolder));
    for (const QString& name : trash.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden)) {
        if (!QFileInfo(trashTextPath(projectFolder, name)).isFile()) {
            continue;
        }
        const ResultOf<QByteArray> read =
            readWholeFile(trash.filePath(name) + QLatin1Char('/') + QLatin1String(kTrashInfo), 1024 * 1024);
        const QJsonObject info = QJsonDocument::fromJson(read.value()).object();
        TrashItem item{
            name, info.value(QStringLiteral("title")).toString(),
            info.value(QStringLiteral("chapter")).toString(),
            QDateTime::fromString(info.value(QStringLiteral("time")).toString(), Qt::ISODateWithMs),
            info.value(QStringLiteral("fileName")).toString()};
        if (item.title.isEmpty()) {
            // A description lost in a crash still leaves the text restorable.
            item.title = name;
        }
        items.append(item);
    }
    std::sort(items.begin(), items.end(),
              [](const TrashItem& a, const TrashItem& b) { return a.name > b.name; });
    return items;
}

Result emptyTrash(const QString& projectFolder)
{
    QDir trash(trashPath(projectFolder));
    if (!trash.exists()) {
        return {};
    }
    if (!trash.removeRecursively()) {
        return Result::failure(
            QCoreApplication::translate("Trash", "Some files in the trash could not be removed."));
    }
    return {};
}

} // namespace folioneer
