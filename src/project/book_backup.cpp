// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "project/book_backup.h"

#include "project/content_paths.h"
#include "project/program_paths.h"
#include "project/project_store.h"
#include "support/file_io.h"
#include "support/zip_archive.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace folioneer {

namespace {

// Deflate level of backups: on prose, level 1 compresses about three times as fast as the
// default level 6, for a zip about a quarter larger.
constexpr int kBackupDeflateLevel = 1;

QString tr(const char* text)
{
    return QCoreApplication::translate("BookBackup", text);
}

// A restore that was killed leaves its hidden unpacking folder behind. One that has not changed
// for an hour belongs to no running restore (another instance of the program may be restoring
// right now, so fresh ones stay) and is removed before the next restore.
void removeStaleRestoreFolders(const QString& projects)
{
    const QDateTime staleBefore = QDateTime::currentDateTimeUtc().addSecs(-3600);
    const QFileInfoList found = QDir(projects).entryInfoList({QStringLiteral(".restore-*")},
                                                             QDir::Dirs | QDir::Hidden | QDir::NoSymLinks);
    for (const QFileInfo& folder : found) {
        if (folder.lastModified().toUTC() < staleBefore) {
            (void)DeleteFolderTree(folder.filePath());
        }
    }
}

QString restoreFailedMessage()
{
    return tr("The book could not be restored.");
}

Result restoreFailure(const QString& reason)
{
    return Result::failure(reason, restoreFailedMessage());
}

bool existsWithoutFollowing(const QString& path)
{
    struct stat info {};
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 || errno != ENOENT;
}

// Adds everything below `folder` to `writer`, entry names prefixed with `prefix`. Links are
// skipped, never followed; so are devices, pipes and sockets.
Result addFolderTree(ZipWriter& writer, const QString& folder, const QString& prefix)
{
    const QDir dir(folder);
    if (!dir.exists()) {
        return Result::failure(tr("The folder %1 could not be read.").arg(folder));
    }
    const QFileInfoList entries =
        dir.entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QFileInfo& entry : entries) {
        if (entry.isSymLink()) {
            continue;
        }
        const QString name = prefix + entry.fileName();
        if (entry.isDir()) {
            writer.addFolder(name, entry.lastModified());
            const Result inner = addFolderTree(writer, entry.filePath(), name + QLatin1Char('/'));
            if (!inner) {
                return inner;
            }
        } else if (entry.isFile()) {
            const ResultOf<QByteArray> read = readWholeFile(entry.filePath(), kMaxBackupArchiveBytes);
            if (!read.ok()) {
                return Result::failure(read.reason());
            }
            writer.addFile(name, read.value(), entry.lastModified());
        }
    }
    return {};
}

// The part of every entry name to drop: "X/" when every entry lies in the one top folder X and
// that folder holds the table of contents (a project folder zipped by another tool).
QString sharedTopFolder(const QList<ZipEntry>& entries)
{
    QString top;
    bool tocInside = false;
    for (const ZipEntry& entry : entries) {
        const qsizetype slash = entry.name.indexOf(QLatin1Char('/'));
        if (slash <= 0) {
            return {};
        }
        const QString first = entry.name.left(slash + 1);
        if (!top.isEmpty() && first != top) {
            return {};
        }
        top = first;
        tocInside = tocInside || entry.name == top + QLatin1String(paths::kToc).mid(1);
    }
    return tocInside ? top : QString();
}

// Refuses an entry that could land outside the new project folder, before anything is written.
Result checkEntry(const ZipEntry& entry, const QString& relative)
{
    if (entry.isLink) {
        return restoreFailure(tr("The backup holds a link, %1, which is never restored.").arg(entry.name));
    }
    const QString cleaned = QDir::cleanPath(relative);
    if (entry.unsafeName || relative.startsWith(QLatin1Char('/')) || cleaned == QLatin1String("..") ||
        cleaned.startsWith(QLatin1String("../"))) {
        return restoreFailure(tr("The backup holds an entry outside the book's folder: %1").arg(entry.name));
    }
    return {};
}

void setModified(const QString& path, const QDateTime& modified)
{
    if (!modified.isValid()) {
        return;
    }
    const timespec when{time_t(modified.toSecsSinceEpoch()), 0};
    const timespec times[2] = {when, when};
    // Best effort: the time is a courtesy, the bytes are what a restore promises.
    ::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, AT_SYMLINK_NOFOLLOW);
}

// Writes a file that must not exist yet. The restore is made atomic by its folder, which becomes
// the project only once every file is written, so the files need no temporary copies of their own.
Result writeNewFile(const QString& path, const QByteArray& data)
{
    QFile file(path);
    // Unbuffered, so that a write cut short (a full disk) shows here and not in a later flush.
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered)) {
        return restoreFailure(tr("The file %1 could not be written: %2").arg(path, file.errorString()));
    }
    qint64 done = 0;
    while (done < data.size()) {
        const qint64 n = file.write(data.constData() + done, data.size() - done);
        if (n <= 0) {
            return restoreFailure(tr("The file %1 could not be written: %2").arg(path, file.errorString()));
        }
        done += n;
    }
    file.close();
    if (file.error() != QFileDevice::NoError) {
        return restoreFailure(tr("The file %1 could not be written: %2").arg(path, file.errorString()));
    }
    return {};
}

// Writes the entries into `folder`, which is empty and the program's own.
Result unpackInto(const ZipReader& reader, const QString& strip, const QString& folder)
{
    const QList<ZipEntry> entries = reader.entries();
    qint64 written = 0;
    for (qsizetype i = 0; i < entries.size(); ++i) {
        const ZipEntry& entry = entries.at(i);
        const QString relative = QDir::cleanPath(entry.name.mid(strip.size()));
        if (relative.isEmpty() || relative == QLatin1String(".")) {
            continue;
        }
        const QString target = folder + QLatin1Char('/') + relative;
        if (entry.isDirectory) {
            if (!QDir().mkpath(target)) {
                return restoreFailure(tr("The folder %1 could not be created.").arg(target));
            }
            continue;
        }
        const QString parent = QFileInfo(target).path();
        if (!QDir().mkpath(parent)) {
            return restoreFailure(tr("The folder %1 could not be created.").arg(parent));
        }
        // The reader stops at the declared size and at what is left of the cap, so an entry
        // that lies about its size fails before it fills the disk.
        const ZipReader::Data data = reader.read(i, kMaxRestoredBytes - written);
        if (!data.ok()) {
            return restoreFailure(data.error);
        }
        if (data.data.size() != entry.size) {
            return restoreFailure(tr("The entry %1 does not hold what it declares.").arg(entry.name));
        }
        written += data.data.size();
        const Result status = writeNewFile(target, data.data);
        if (!status) {
            return status;
        }
        setModified(target, entry.modified);
    }
    // One flush of the whole file system before the folder is renamed into place, instead of one
    // per file: a crash after the rename finds every file whole.
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0 || ::syncfs(fd) != 0) {
        const QString reason = QString::fromLocal8Bit(std::strerror(errno));
        if (fd >= 0) {
            ::close(fd);
        }
        return restoreFailure(reason);
    }
    ::close(fd);
    return {};
}

// Renames `from` to `to` unless `to` exists; a plain rename would replace an empty folder.
bool renameWithoutReplacing(const QString& from, const QString& to)
{
    const QByteArray source = QFile::encodeName(from);
    const QByteArray target = QFile::encodeName(to);
    if (::renameat2(AT_FDCWD, source.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE) == 0) {
        return true;
    }
    if (errno != EINVAL && errno != ENOSYS) {
        return false;
    }
    // A file system without the no-replace flag: look first, then rename.
    return !existsWithoutFollowing(to) && ::rename(source.constData(), target.constData()) == 0;
}

const QRegularExpression& deletedBookPattern()
{
    static const QRegularExpression pattern(
        QStringLiteral("^(.+) (\\d{4}-\\d\\d-\\d\\d \\d\\d-\\d\\d-\\d\\d)(?: \\(\\d+\\))?\\.zip$"),
        QRegularExpression::CaseInsensitiveOption);
    return pattern;
}

constexpr auto kStampFormat = "yyyy-MM-dd HH-mm-ss";

Result writeBackup(const QString& programFolder, const QString& name, const QString& zipPath)
{
    const QString folder = projectFolderPath(programFolder, name);
    if (name.isEmpty() || !QFileInfo(folder).isDir()) {
        return Result::failure(tr("The project folder %1 does not exist.").arg(folder));
    }
    ZipWriter writer(kBackupDeflateLevel);
    const Result added = addFolderTree(writer, folder, {});
    if (!added) {
        return added;
    }
    const ZipWriter::Archive archive = writer.finish();
    if (!archive.ok()) {
        return Result::failure(archive.error);
    }
    const Result status = writeFileAtomically(zipPath, archive.data);
    if (!status.ok()) {
        return Result::failure(status.reason());
    }
    return {};
}

} // namespace

Result backupProject(const QString& programFolder, const QString& name, const QString& zipPath)
{
    const Result written = writeBackup(programFolder, name, zipPath);
    return written ? written : Result::failure(written.reason(), tr("The book could not be backed up."));
}

Result checkRestoreName(const QString& programFolder, const QString& name)
{
    if (!isValidProjectName(name) || name.contains(QLatin1Char('/'))) {
        return restoreFailure(tr("\"%1\" cannot name a project.").arg(name));
    }
    if (existsWithoutFollowing(projectFolderPath(programFolder, name))) {
        return restoreFailure(tr("There is already a project named \"%1\".").arg(name));
    }
    return {};
}

Result restoreProject(const QString& programFolder, const QString& zipPath, const QString& newName)
{
    const Result nameChecked = checkRestoreName(programFolder, newName);
    if (!nameChecked) {
        return nameChecked;
    }
    const ResultOf<QByteArray> archive = readWholeFile(zipPath, kMaxBackupArchiveBytes);
    if (!archive.ok()) {
        return restoreFailure(archive.reason());
    }
    const ZipReader reader(archive.value());
    if (!reader.error().isEmpty()) {
        return restoreFailure(tr("%1 is not a zip file: %2").arg(zipPath, reader.error()));
    }
    const QList<ZipEntry> entries = reader.entries();
    const QString strip = sharedTopFolder(entries);
    qint64 declared = 0;
    bool hasToc = false;
    for (const ZipEntry& entry : entries) {
        const QString relative = entry.name.mid(strip.size());
        const Result safe = checkEntry(entry, relative);
        if (!safe) {
            return safe;
        }
        declared += std::max<qint64>(entry.size, 0);
        hasToc = hasToc || relative == QLatin1String(paths::kToc).mid(1);
    }
    if (declared > kMaxRestoredBytes) {
        return restoreFailure(tr("The backup would unpack to more than %1 GB.").arg(kMaxRestoredBytes >> 30));
    }
    if (!hasToc) {
        return restoreFailure(tr("%1 is not a book backup: it holds no table of contents.").arg(zipPath));
    }

    removeStaleRestoreFolders(projectsFolder(programFolder));
    // Hidden, so the project list never shows a restore in progress; inside "/projects/", so
    // that the finished folder is renamed into place, never copied.
    QTemporaryDir unpacked(projectsFolder(programFolder) + QStringLiteral(".restore-XXXXXX"));
    if (!unpacked.isValid()) {
        return restoreFailure(unpacked.errorString());
    }
    const Result done = unpackInto(reader, strip, unpacked.path());
    if (!done) {
        return done;
    }
    // The temporary folder is made private; the project gets the usual permissions.
    QFile::setPermissions(unpacked.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                               QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther |
                                               QFile::ExeOther);
    if (!renameWithoutReplacing(unpacked.path(), projectFolderPath(programFolder, newName))) {
        const int error = errno;
        return restoreFailure(error == EEXIST || error == ENOTEMPTY
                                  ? tr("There is already a project named \"%1\".").arg(newName)
                                  : QString::fromLocal8Bit(std::strerror(error)));
    }
    unpacked.setAutoRemove(false);
    return {};
}

QString backupFileName(const QString& name, const QDate& date)
{
    return QString(name).replace(QLatin1Char('/'), QChar(kSlashStandIn)) + QLatin1Char(' ') +
           date.toString(QStringLiteral("yyyy-MM-dd")) + QStringLiteral(".zip");
}

QString suggestedRestoreName(const QString& zipPath)
{
    const QString fileName = QFileInfo(zipPath).fileName();
    return fileName.endsWith(QLatin1String(".zip"), Qt::CaseInsensitive) ? fileName.chopped(4) : fileName;
}

DeleteProjectResult deleteProjectWithBackup(const QString& programFolder, const QString& name,
                                            const QDateTime& now)
{
    DeleteProjectResult result;
    const QString notDeleted = tr("The project could not be backed up, so it was not deleted.");
    const QString folder = backupsFolder(programFolder);
    if (!QFileInfo(folder).isDir() && !QDir().mkdir(folder)) {
        result.backup = Result::failure(tr("The folder %1 could not be created.").arg(folder), notDeleted);
        return result;
    }
    const QString base = folder + QString(name).replace(QLatin1Char('/'), QChar(kSlashStandIn)) +
                         QLatin1Char(' ') + now.toString(QLatin1String(kStampFormat));
    QString path = base + QStringLiteral(".zip");
    for (int n = 2; existsWithoutFollowing(path); ++n) {
        path = base + QStringLiteral(" (%1).zip").arg(n);
    }
    const Result backup = backupProject(programFolder, name, path);
    if (!backup) {
        result.backup = Result::failure(backup.reason(), notDeleted);
        return result;
    }
    result.backupPath = path;
    result.outcome = DeleteFolderTree(projectFolderPath(programFolder, name)).ok()
                         ? DeleteProjectOutcome::Deleted
                         : DeleteProjectOutcome::NotDeleted;
    return result;
}

QList<DeletedBook> deletedBooks(const QString& programFolder)
{
    QList<DeletedBook> books;
    const QDir dir(backupsFolder(programFolder));
    for (const QFileInfo& file : dir.entryInfoList({QStringLiteral("*.zip")}, QDir::Files, QDir::Name)) {
        DeletedBook book{file.filePath(), suggestedRestoreName(file.filePath()), file.lastModified()};
        const QRegularExpressionMatch match = deletedBookPattern().match(file.fileName());
        if (match.hasMatch()) {
            book.name = match.captured(1);
            const QDateTime stamped = QDateTime::fromString(match.captured(2), QLatin1String(kStampFormat));
            if (stamped.isValid()) {
                book.time = stamped;
            }
        }
        books.append(book);
    }
    std::stable_sort(books.begin(), books.end(),
                     [](const DeletedBook& a, const DeletedBook& b) { return a.time > b.time; });
    return books;
}

} // namespace folioneer
