// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "project/project_store.h"

#include "project/program_paths.h"
#include "support/file_io.h"
#include "support/lines.h"
#include "support/text_codec.h"
#include "support/trellis.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QHash>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace folioneer {

namespace {

QString tr(const char* text)
{
    return QCoreApplication::translate("ProjectStore", text);
}

// The system's words for the call on `path` that just failed, e.g. "/a/b: Permission denied".
Result systemFailure(const QByteArray& path)
{
    const int error = errno;
    return Result::failure(QFile::decodeName(path) + QStringLiteral(": ") +
                           QString::fromLocal8Bit(std::strerror(error)));
}

bool isForbiddenInName(QChar c)
{
    static const QString kForbidden = QStringLiteral("<>:\"|?*\\");
    return c.category() == QChar::Other_Control || kForbidden.contains(c);
}

bool isValidNamePiece(const QString& piece)
{
    if (piece.isEmpty() || piece.startsWith(QLatin1Char('.')) || piece.endsWith(QLatin1Char(' ')) ||
        piece.endsWith(QLatin1Char('.'))) {
        return false;
    }
    return std::none_of(piece.begin(), piece.end(), isForbiddenInName);
}

// A path without its trailing slashes, so that lstat() looks at a link itself and not at the
// folder it points to.
QByteArray withoutTrailingSlashes(QByteArray path)
{
    while (path.size() > 1 && path.endsWith('/')) {
        path.chop(1);
    }
    return path;
}

struct FolderEntry {
    QByteArray name;
    bool isFolder = false; // a real folder, never a link to one
};

Result readFolderEntries(const QByteArray& folder, QList<FolderEntry>& entries)
{
    // O_NOFOLLOW: a folder swapped for a link since it was looked at is not entered.
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        return systemFailure(folder);
    }
    DIR* dir = ::fdopendir(fd);
    if (dir == nullptr) {
        const Result failed = systemFailure(folder);
        ::close(fd);
        return failed;
    }
    // Names are sorted as shown, but deleted by their bytes: a name that is not valid UTF-8
    // must not be lost in a decode and encode round trip.
    QStringList names;
    QHash<QString, QList<QByteArray>> rawNames;
    errno = 0;
    while (const dirent* entry = ::readdir(dir)) {
        const QByteArray name(entry->d_name);
        if (name != "." && name != "..") {
            const QString shown = QFile::decodeName(name);
            names.append(shown);
            rawNames[shown].append(name);
        }
    }
    const Result listed = errno == 0 ? Result() : systemFailure(folder);
    ::closedir(dir);
    if (!listed) {
        return listed;
    }
    sortNamesForDisplay(names);
    for (const QString& name : std::as_const(names)) {
        FolderEntry entry{rawNames[name].takeFirst(), false};
        struct stat info {};
        if (::lstat((folder + '/' + entry.name).constData(), &info) != 0) {
            return systemFailure(folder + '/' + entry.name);
        }
        entry.isFolder = S_ISDIR(info.st_mode);
        entries.append(entry);
    }
    return {};
}

Result deleteTree(const QByteArray& folder)
{
    QList<FolderEntry> entries;
    if (Result read = readFolderEntries(folder, entries); !read) {
        return read;
    }
    for (const FolderEntry& entry : std::as_const(entries)) {
        if (entry.isFolder) {
            continue;
        }
        const QByteArray path = folder + '/' + entry.name;
        struct stat info {};
        if (::lstat(path.constData(), &info) != 0) {
            return systemFailure(path);
        }
        // A file without write permission for its owner is read-only and stops the deletion,
        // also for root, who could otherwise remove it.
        if (S_ISREG(info.st_mode) && (info.st_mode & S_IWUSR) == 0) {
            return Result::failure(tr("The file %1 is read-only.").arg(QFile::decodeName(path)));
        }
        if (::unlink(path.constData()) != 0) {
            return systemFailure(path);
        }
    }
    for (const FolderEntry& entry : std::as_const(entries)) {
        if (entry.isFolder) {
            if (Result deleted = deleteTree(folder + '/' + entry.name); !deleted) {
                return deleted;
            }
        }
    }
    return ::rmdir(folder.constData()) == 0 ? Result() : systemFailure(folder);
}

} // namespace

QStringList listProjects(const QString& programFolder)
{
    const QDir dir(projectsFolder(programFolder));
    if (!dir.exists()) {
        return {};
    }
    QStringList names = dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::NoSort);
    names.erase(std::remove_if(names.begin(), names.end(),
                               [](const QString& name) { return name.startsWith(QLatin1Char('.')); }),
                names.end());
    sortNamesForDisplay(names);
    return names;
}

bool isValidProjectName(const QString& name)
{
    const QStringList pieces = name.split(QLatin1Char('/'), Qt::KeepEmptyParts);
    if (!std::all_of(pieces.begin(), pieces.end(), isValidNamePiece)) {
        return false;
    }
    // The piece rules already exclude "." and ".."; this keeps the promise on its own: the
    // normalised path must lie strictly inside the projects folder.
    const QString root = QStringLiteral("/projects/");
    const QString cleaned = QDir::cleanPath(root + name);
    return cleaned.startsWith(root) && cleaned.size() > root.size();
}

CreateFolderResult CreateProjectFolder(const QString& folderPath)
{
    if (folderPath.isEmpty() || folderPath.contains(QChar(0))) {
        return CreateFolderResult::Error;
    }
    const QByteArray path = withoutTrailingSlashes(QFile::encodeName(folderPath));
    struct stat info {};
    if (::lstat(path.constData(), &info) == 0) {
        return CreateFolderResult::Existe;
    }
    if (errno != ENOENT) {
        return CreateFolderResult::Error;
    }
    // One folder, never its parents: a missing projects folder or a missing "a" in "a/b" fails.
    if (::mkdir(path.constData(), 0777) != 0) {
        return errno == EEXIST ? CreateFolderResult::Existe : CreateFolderResult::Error;
    }
    return CreateFolderResult::Creada;
}

Result writeProjectFiles(const QString& projectFolder, const QString& mainTopic, const QString& toc)
{
    const QString crLf = QStringLiteral("\r\n");
    if (Result written =
            writeFileAtomically(programPath(projectFolder, paths::kMainTopic), encodeText(mainTopic + crLf));
        !written) {
        return written;
    }
    return writeFileAtomically(programPath(projectFolder, paths::kToc),
                               encodeText(withCrLfLineEnds(toc) + crLf));
}

Result DeleteFolderTree(const QString& folderPath)
{
    if (folderPath.isEmpty()) {
        return Result::failure(tr("No folder was named."));
    }
    if (folderPath.contains(QChar(0))) {
        return Result::failure(tr("A folder name cannot hold a NUL character."));
    }
    const QByteArray path = withoutTrailingSlashes(QFile::encodeName(folderPath));
    struct stat info {};
    if (::lstat(path.constData(), &info) != 0) {
        return systemFailure(path);
    }
    if (S_ISLNK(info.st_mode)) {
        // A project folder that is a link goes as a link; what it points to stays untouched.
        return ::unlink(path.constData()) == 0 ? Result() : systemFailure(path);
    }
    if (!S_ISDIR(info.st_mode)) {
        return Result::failure(tr("%1 is not a folder.").arg(folderPath));
    }
    return deleteTree(path);
}

void removeHalfMadeProject(const QString& folderPath)
{
    (void)DeleteFolderTree(folderPath);
}

CreateProjectResult createProject(const QString& programFolder, const QString& name, const QString& mainTopic,
                                  const QString& toc)
{
    CreateProjectResult result;
    result.folderPath = projectFolderPath(programFolder, name);
    if (!isValidProjectName(name)) {
        result.outcome = CreateProjectOutcome::InvalidName;
        return result;
    }
    switch (CreateProjectFolder(result.folderPath)) {
    case CreateFolderResult::Existe:
        result.outcome = CreateProjectOutcome::NameTaken;
        return result;
    case CreateFolderResult::Error:
        result.outcome = CreateProjectOutcome::InvalidName;
        return result;
    case CreateFolderResult::Creada:
        break;
    }
    result.result = writeProjectFiles(result.folderPath, mainTopic, toc);
    if (!result.result) {
        // No half-made project stays behind: the user retries with the same inputs.
        removeHalfMadeProject(result.folderPath);
        result.outcome = CreateProjectOutcome::WriteFailed;
        return result;
    }
    result.outcome = CreateProjectOutcome::Created;
    return result;
}

} // namespace folioneer
