// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "project/program_location.h"

#include "support/file_io.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <filesystem>
#include <system_error>

namespace folioneer {

namespace {

QString tr(const char* text)
{
    return QCoreApplication::translate("ProgramLocation", text);
}

Result failure(const QString& path, const QString& reason)
{
    return Result::failure(tr("The program folder could not be created.") + QStringLiteral("\n\n") +
                           QDir::toNativeSeparators(path) + QStringLiteral("\n\n") + reason);
}

// QDir::mkpath gives no reason; the system's words tell the user what stands in the way.
QString makeFolder(const QString& path)
{
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(QFile::encodeName(path).toStdString()), error);
    if (error) {
        return QString::fromLocal8Bit(error.message());
    }
    // create_directories reports success when a file of that name is in the way.
    return QFileInfo(path).isDir() ? QString() : tr("A file of that name is in the way.");
}

} // namespace

QString userDataFolder(const QString& xdgDataHome, const QString& home)
{
    if (QDir::isAbsolutePath(xdgDataHome)) {
        return QDir::cleanPath(xdgDataHome);
    }
    return QDir::cleanPath(home + QStringLiteral("/.local/share"));
}

ProgramFolderPlace locateProgramFolder(const QString& executableFolder, const QString& userDataFolder)
{
    const QString dataFolder = QDir::cleanPath(executableFolder + QStringLiteral("/../share/folioneer"));
    if (!QFileInfo(executableFolder + QStringLiteral("/projects")).isDir() && QFileInfo(dataFolder).isDir()) {
        return {ProgramFolderKind::Installed, userDataFolder + QStringLiteral("/Folioneer"), dataFolder};
    }
    return {ProgramFolderKind::Portable, executableFolder, {}};
}

Result prepareProgramFolder(const ProgramFolderPlace& place)
{
    if (place.kind != ProgramFolderKind::Installed) {
        return {};
    }
    const QString projects = place.folder + QStringLiteral("/projects");
    if (const QString reason = makeFolder(projects); !reason.isEmpty()) {
        return failure(place.folder, reason);
    }
    const QDir data(place.dataFolder);
    QDirIterator entries(place.dataFolder, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                         QDirIterator::Subdirectories);
    while (entries.hasNext()) {
        const QFileInfo source(entries.next());
        const QString target = place.folder + QLatin1Char('/') + data.relativeFilePath(source.filePath());
        if (source.isDir()) {
            if (const QString reason = makeFolder(target); !reason.isEmpty()) {
                return failure(target, reason);
            }
            continue;
        }
        // A file the user deleted comes back; one the user changed stays as it is.
        if (QFileInfo(target).exists()) {
            continue;
        }
        const ResultOf<QByteArray> read = readWholeFile(source.filePath());
        if (!read.ok()) {
            return failure(source.filePath(), read.reason());
        }
        if (const QString reason = makeFolder(QFileInfo(target).path()); !reason.isEmpty()) {
            return failure(QFileInfo(target).path(), reason);
        }
        if (const Result written = writeFileAtomically(target, read.value()); !written.ok()) {
            return failure(target, written.reason());
        }
    }
    return {};
}

ProgramFolder openProgramFolder(const QString& executableFolder)
{
    const ProgramFolderPlace place = locateProgramFolder(
        executableFolder, userDataFolder(qEnvironmentVariable("XDG_DATA_HOME"), QDir::homePath()));
    return {place.folder, prepareProgramFolder(place)};
}

} // namespace folioneer
