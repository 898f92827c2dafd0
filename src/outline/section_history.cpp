// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "outline/section_history.h"

#include "project/content_paths.h"
#include "rtf/rtf.h"
#include "support/file_io.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace folioneer {

namespace {

const QString kStampFormat = QStringLiteral("yyyyMMdd-HHmmss-zzz");

int countWords(const QString& text)
{
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    return int(text.split(blanks, Qt::SkipEmptyParts).size());
}

} // namespace

QString sectionHistoryFolder(const QString& contentPath)
{
    const QFileInfo content(contentPath);
    return content.path() + QStringLiteral("/.history/") + content.fileName();
}

Result keepSectionVersion(const QString& contentPath)
{
    if (!ArchivoExiste(contentPath)) {
        return {};
    }
    const ResultOf<QByteArray> read = readWholeFile(contentPath);
    if (!read.ok()) {
        return Result::failure(read.reason());
    }
    const QString folder = sectionHistoryFolder(contentPath);
    if (!QDir().mkpath(folder)) {
        return Result::failure(
            QCoreApplication::translate("SectionHistory", "The folder %1 could not be created.").arg(folder));
    }
    const QString stamp = QDateTime::currentDateTimeUtc().toString(kStampFormat);
    // A counter of fixed width follows the time, so that names also sort by age among versions
    // kept within the same millisecond.
    QString path;
    for (int n = 1; path.isEmpty() || QFileInfo::exists(path); ++n) {
        path = folder + QLatin1Char('/') + stamp + QLatin1Char('-') +
               QStringLiteral("%1").arg(n, 4, 10, QLatin1Char('0')) + QStringLiteral(".rtf");
    }
    const Result written = writeFileAtomically(path, read.value());
    if (!written.ok()) {
        return Result::failure(written.reason());
    }
    // Names sort by time, so the oldest come first.
    const QStringList versions = QDir(folder).entryList({QStringLiteral("*.rtf")}, QDir::Files, QDir::Name);
    for (qsizetype i = 0; i + kMaxSectionVersions < versions.size(); ++i) {
        QFile::remove(folder + QLatin1Char('/') + versions.at(i));
    }
    return {};
}

QList<SectionVersion> sectionVersions(const QString& contentPath)
{
    QList<SectionVersion> versions;
    const QString folder = sectionHistoryFolder(contentPath);
    const QStringList names =
        QDir(folder).entryList({QStringLiteral("*.rtf")}, QDir::Files, QDir::Name | QDir::Reversed);
    for (const QString& name : names) {
        SectionVersion version;
        version.path = folder + QLatin1Char('/') + name;
        version.time = QDateTime::fromString(name.left(kStampFormat.size()), kStampFormat);
        version.time.setTimeSpec(Qt::UTC);
        const ResultOf<QByteArray> read = readWholeFile(version.path);
        version.wordCount = read.ok() ? countWords(rtf::plainTextFromRtf(read.value()).text) : 0;
        versions.append(version);
    }
    return versions;
}

} // namespace folioneer
