// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "outline/unplaced_texts.h"

#include "outline/trash.h"
#include "project/content_paths.h"
#include "rtf/rtf.h"
#include "support/file_io.h"
#include "support/step_hook.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

namespace folioneer {

namespace {

constexpr int kFirstWords = 12;

QString tr(const char* text)
{
    return QCoreApplication::translate("UnplacedTexts", text);
}

QString firstWordsOf(const QString& path)
{
    const ResultOf<QByteArray> read = readWholeFile(path, 64 * 1024 * 1024);
    if (!read.ok()) {
        return {};
    }
    const rtf::PlainText text = rtf::plainTextFromRtf(read.value());
    const QString plain = text.ok() ? text.text : QString::fromUtf8(read.value().left(4096));
    QStringList words = plain.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    const bool more = words.size() > kFirstWords;
    words = words.mid(0, kFirstWords);
    return words.join(QLatin1Char(' ')) + (more ? QStringLiteral("…") : QString());
}

bool isUnplacedName(const QString& fileName, const QString& projectFolder, const QSet<QString>& placed)
{
    return fileName.endsWith(QStringLiteral(".txt")) && fileName.contains(QStringLiteral("---")) &&
           !fileName.startsWith(QLatin1Char('.')) && !fileName.contains(QLatin1Char('/')) &&
           !placed.contains(fileName) && ArchivoExiste(projectFolder + QLatin1Char('/') + fileName);
}

QSet<QString> placedNames(const ProjectOutline& outline)
{
    QSet<QString> placed;
    for (const OutlineChapterEntry& chapter : outline.chapters) {
        for (const OutlineSection& section : chapter.sections) {
            placed.insert(QFileInfo(section.contentPath).fileName());
        }
    }
    return placed;
}

} // namespace

QList<UnplacedText> unplacedTexts(const ProjectOutline& outline, bool withFirstWords)
{
    QList<UnplacedText> texts;
    if (!outline.editable()) {
        return texts;
    }
    const QSet<QString> placed = placedNames(outline);
    const QDir folder(outline.projectFolder);
    // Lower-case names only: content files are always named in lower case.
    for (const QString& name : folder.entryList({QStringLiteral("*---*.txt")}, QDir::Files, QDir::Name)) {
        if (isUnplacedName(name, outline.projectFolder, placed) && name == name.toLower()) {
            texts.append({name, withFirstWords ? firstWordsOf(folder.filePath(name)) : QString()});
        }
    }
    return texts;
}

Result attachUnplacedText(const QString& projectFolder, const QString& fileName, const QString& contentPath)
{
    const QString from = projectFolder + QLatin1Char('/') + fileName;
    if (fileName.contains(QLatin1Char('/')) || !ArchivoExiste(from)) {
        return Result::failure(tr("The text %1 is no longer there.").arg(fileName));
    }
    if (QFileInfo::exists(contentPath)) {
        return Result::failure(tr("This section already has a text."));
    }
    QFile file(from);
    if (!file.rename(contentPath)) {
        return Result::failure(file.errorString());
    }
    stepReached({"rename", 0});
    return {};
}

Result trashUnplacedText(const QString& projectFolder, const QString& fileName)
{
    const QString from = projectFolder + QLatin1Char('/') + fileName;
    if (fileName.contains(QLatin1Char('/')) || !ArchivoExiste(from)) {
        return Result::failure(tr("The text %1 is no longer there.").arg(fileName));
    }
    const QString item = newTrashItemName(projectFolder);
    const QString text = trashTextPath(projectFolder, item);
    const QString folder = QFileInfo(text).path();
    if (!QDir().mkpath(folder)) {
        return Result::failure(tr("The folder %1 could not be created.").arg(folder));
    }
    // The description first: an item is listed only once its text is in it.
    const TrashItem info{item, QFileInfo(fileName).completeBaseName(), QString(),
                         QDateTime::currentDateTimeUtc(), fileName};
    const Result written =
        writeFileAtomically(folder + QLatin1Char('/') + QLatin1String(kTrashInfo), trashInfoBytes(info));
    if (!written.ok()) {
        return Result::failure(written.reason());
    }
    QFile file(from);
    if (!file.rename(text)) {
        return Result::failure(file.errorString());
    }
    stepReached({"rename", 0});
    return {};
}

} // namespace folioneer
