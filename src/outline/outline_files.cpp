// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "outline/outline_files.h"

#include "outline/toc_writer.h"
#include "outline/trash.h"
#include "project/content_paths.h"
#include "project/program_paths.h"
#include "project/toc.h"
#include "support/file_io.h"
#include "support/step_hook.h"
#include "support/text_codec.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>

namespace folioneer {

namespace {

// The journal lists every file step of one edit and the new table of contents. Its steps go
// through a staging folder: first every source is copied or moved into it, then (once the
// marker file says so) every staged file is put in place. A source may be another step's
// destination (a chapter renamed into a name that another one gave up), so nothing is placed
// before everything is staged; each half can be repeated after a kill without harm.
constexpr auto kStagingFolder = ".outline-staging";
constexpr auto kPlacingMarker = "placing";
constexpr auto kOriginalToc = ".history/--toc.txt";
constexpr qsizetype kMaxFileNameBytes = 255;

enum class OpKind { Copy, Move, Trash, Restore };

struct FileOp {
    OpKind kind = OpKind::Move;
    QString from;    ///< relative to the project folder
    QString to;      ///< relative to the project folder
    QByteArray info; ///< Trash: the item's description
};

QString tr(const char* text)
{
    return QCoreApplication::translate("OutlineFiles", text);
}

QString kindName(OpKind kind)
{
    switch (kind) {
    case OpKind::Copy:
        return QStringLiteral("copy");
    case OpKind::Trash:
        return QStringLiteral("trash");
    case OpKind::Restore:
        return QStringLiteral("restore");
    case OpKind::Move:
        break;
    }
    return QStringLiteral("move");
}

OpKind kindFromName(const QString& name)
{
    if (name == QLatin1String("copy")) {
        return OpKind::Copy;
    }
    if (name == QLatin1String("trash")) {
        return OpKind::Trash;
    }
    if (name == QLatin1String("restore")) {
        return OpKind::Restore;
    }
    return OpKind::Move;
}

QString inProject(const QString& folder, const QString& relative)
{
    return folder + QLatin1Char('/') + relative;
}

QString relativeTo(const QString& folder, const QString& path)
{
    return path.mid(folder.size() + 1);
}

Result failed(const QString& reason)
{
    return Result::failure(reason, tr("The outline could not be changed."));
}

Result ensureFolder(const QString& path)
{
    const QString folder = QFileInfo(path).path();
    if (!QDir().mkpath(folder)) {
        return failed(tr("The folder %1 could not be created.").arg(folder));
    }
    return {};
}

Result moveFile(const QString& from, const QString& to)
{
    if (Result made = ensureFolder(to); !made) {
        return made;
    }
    if (QFileInfo(from).isDir()) {
        if (!QDir().rename(from, to)) {
            return failed(tr("The folder %1 could not be moved.").arg(from));
        }
    } else if (QFile file(from); !file.rename(to)) {
        return failed(file.errorString());
    }
    stepReached({"rename", 0});
    return {};
}

Result copyFile(const QString& from, const QString& to)
{
    const ResultOf<QByteArray> read = readWholeFile(from);
    if (!read.ok()) {
        return failed(read.reason());
    }
    if (Result made = ensureFolder(to); !made) {
        return made;
    }
    const Result written = writeFileAtomically(to, read.value());
    if (!written.ok()) {
        return failed(written.reason());
    }
    stepReached({"copy", 0});
    return {};
}

Result writeText(const QString& path, const QByteArray& data, const char* step)
{
    if (Result made = ensureFolder(path); !made) {
        return made;
    }
    const Result written = writeFileAtomically(path, data);
    if (!written.ok()) {
        return failed(written.reason());
    }
    stepReached({step, 0});
    return {};
}

QByteArray journalBytes(const QList<FileOp>& ops, const QString& toc)
{
    QJsonArray steps;
    for (const FileOp& op : ops) {
        QJsonObject step;
        step.insert(QStringLiteral("kind"), kindName(op.kind));
        step.insert(QStringLiteral("from"), op.from);
        step.insert(QStringLiteral("to"), op.to);
        if (!op.info.isEmpty()) {
            step.insert(QStringLiteral("info"), QString::fromUtf8(op.info));
        }
        steps.append(step);
    }
    QJsonObject journal;
    journal.insert(QStringLiteral("steps"), steps);
    journal.insert(QStringLiteral("toc"), toc);
    return QJsonDocument(journal).toJson(QJsonDocument::Compact);
}

/// A step path from the journal must stay inside the project folder.
bool isSafeRelative(const QString& path)
{
    return !path.isEmpty() && !QDir::isAbsolutePath(path) && !path.contains(QChar(0)) &&
           !path.split(QLatin1Char('/')).contains(QStringLiteral(".."));
}

// Carries out the steps and writes the table of contents; repeatable after a kill at any step.
Result runJournal(const QString& folder, const QList<FileOp>& ops, const QString& toc)
{
    const QString staging = inProject(folder, QLatin1String(kStagingFolder));
    const QString marker = staging + QLatin1Char('/') + QLatin1String(kPlacingMarker);
    const auto staged = [&staging](qsizetype index) {
        return staging + QLatin1Char('/') + QString::number(index);
    };

    if (!QFileInfo::exists(marker)) {
        for (qsizetype i = 0; i < ops.size(); ++i) {
            const FileOp& op = ops.at(i);
            const QString from = inProject(folder, op.from);
            if (QFileInfo::exists(staged(i)) || !QFileInfo::exists(from)) {
                continue;
            }
            const Result result =
                op.kind == OpKind::Copy ? copyFile(from, staged(i)) : moveFile(from, staged(i));
            if (!result) {
                return result;
            }
        }
        if (Result written = writeText(marker, {}, "journal"); !written) {
            return written;
        }
    }
    for (qsizetype i = 0; i < ops.size(); ++i) {
        const FileOp& op = ops.at(i);
        const QString to = inProject(folder, op.to);
        if (QFileInfo::exists(staged(i))) {
            if (op.kind == OpKind::Trash) {
                const QString info = QFileInfo(to).path() + QLatin1Char('/') + QLatin1String(kTrashInfo);
                if (Result written = writeText(info, op.info, "write"); !written) {
                    return written;
                }
            }
            if (QFileInfo::exists(to)) {
                return failed(tr("The file %1 is in the way.").arg(to));
            }
            if (Result moved = moveFile(staged(i), to); !moved) {
                return moved;
            }
        }
        if (op.kind == OpKind::Restore) {
            // The item's folder holds only its description once the text is back.
            QDir item(QFileInfo(inProject(folder, op.from)).path());
            if (item.exists() && !QFileInfo::exists(inProject(folder, op.from))) {
                item.removeRecursively();
                stepReached({"remove", 0});
            }
        }
    }
    if (Result written = writeText(programPath(folder, paths::kToc), encodeText(toc), "write"); !written) {
        return written;
    }
    QDir(staging).removeRecursively();
    if (!QFile::remove(inProject(folder, QLatin1String(kJournalFile)))) {
        return failed(tr("The outline journal could not be removed."));
    }
    stepReached({"journal", 0});
    return {};
}

struct Plan {
    QList<FileOp> ops;
    TrashedTexts trashed;
};

/// The file steps that make the files on disk follow `after`; fails on a refused outline.
Result planFiles(const ProjectOutline& before, const ProjectOutline& after, const TrashedTexts& restoreFrom,
                 bool restoring, Plan& plan)
{
    const QString& folder = before.projectFolder;
    QHash<int, QString> beforePath;
    QHash<int, QString> beforeTitle;
    for (const OutlineChapterEntry& chapter : before.chapters) {
        for (const OutlineSection& section : chapter.sections) {
            beforePath.insert(section.id, relativeTo(folder, section.contentPath));
            beforeTitle.insert(section.id,
                               visibleTitle(section.title) + QLatin1Char('\n') + visibleTitle(chapter.title));
        }
    }
    QHash<QString, bool> existing;
    const auto exists = [&](const QString& relative) {
        auto found = existing.find(relative);
        if (found == existing.end()) {
            found = existing.insert(relative, ArchivoExiste(inProject(folder, relative)));
        }
        return found.value();
    };

    QHash<QString, QList<int>> atPath;
    QList<QString> sources;
    QHash<QString, QList<QString>> targetsOf;
    QHash<QString, int> sourceOwner;
    QList<FileOp> restores;
    QSet<int> afterIds;
    for (const OutlineChapterEntry& chapter : after.chapters) {
        for (const OutlineSection& section : chapter.sections) {
            const QString path = relativeTo(folder, section.contentPath);
            if (path.toUtf8().size() > kMaxFileNameBytes) {
                return Result::failure(QString::fromLatin1(kFileNameRefusal));
            }
            atPath[path].append(section.id);
            afterIds.insert(section.id);
            if (beforePath.contains(section.id)) {
                const QString source = beforePath.value(section.id);
                if (exists(source)) {
                    if (!targetsOf.contains(source)) {
                        sources.append(source);
                        sourceOwner.insert(source, section.id);
                    }
                    targetsOf[source].append(path);
                }
            } else if (restoreFrom.contains(section.id)) {
                const QString text = relativeTo(folder, trashTextPath(folder, restoreFrom.value(section.id)));
                if (exists(text)) {
                    restores.append({OpKind::Restore, text, path, {}});
                }
            }
        }
    }
    // Two sections may share one file only where they already did (a hand-made table of
    // contents); no edit makes a new pair, but an undo may bring an old pair back.
    for (auto it = atPath.cbegin(); it != atPath.cend() && !restoring; ++it) {
        if (it.value().size() < 2) {
            continue;
        }
        for (int id : it.value()) {
            if (beforePath.value(id) != it.key()) {
                return Result::failure(QString::fromLatin1(kCollisionRefusal));
            }
        }
    }

    QList<FileOp> copies;
    QList<FileOp> trashes;
    QList<FileOp> moves;
    QSet<QString> vacated;
    const QString trashBase = newTrashItemName(folder);
    int trashCount = 0;
    const auto trashOp = [&](const QString& path, const QString& title, const QString& chapter) {
        const QString item = trashBase + QLatin1Char('-') + QString::number(++trashCount);
        const TrashItem info{item, title, chapter, QDateTime::currentDateTimeUtc(), path};
        trashes.append(
            {OpKind::Trash, path, relativeTo(folder, trashTextPath(folder, item)), trashInfoBytes(info)});
        vacated.insert(path);
        return item;
    };

    // A path some section keeps as it was: no other text may be put there.
    QSet<QString> kept;
    for (const QString& source : sources) {
        if (targetsOf.value(source).contains(source)) {
            kept.insert(source);
        }
    }
    for (const QString& source : sources) {
        const QList<QString> targets = targetsOf.value(source);
        // Where a section stays on the file, the others get copies; otherwise the first one
        // takes the file along.
        bool taken = kept.contains(source);
        for (qsizetype i = 0; i < targets.size(); ++i) {
            const QString& target = targets.at(i);
            if (target == source || kept.contains(target)) {
                // Joining a file another section keeps (an undo bringing back a shared file).
                continue;
            }
            if (taken) {
                copies.append({OpKind::Copy, source, target, {}});
            } else {
                moves.append({OpKind::Move, source, target, {}});
                vacated.insert(source);
                taken = true;
            }
        }
        if (!taken) {
            // Every section of this file joined another one: its own copy is kept in the trash.
            const QStringList titles = beforeTitle.value(sourceOwner.value(source)).split(QLatin1Char('\n'));
            trashOp(source, titles.value(0), titles.value(1));
        }
    }
    QHash<QString, QString> trashedPaths;
    for (auto it = beforePath.cbegin(); it != beforePath.cend(); ++it) {
        if (afterIds.contains(it.key()) || !exists(it.value()) || targetsOf.contains(it.value())) {
            // A deleted section's file that another section still uses stays for it.
            continue;
        }
        if (!trashedPaths.contains(it.value())) {
            const QStringList titles = beforeTitle.value(it.key()).split(QLatin1Char('\n'));
            trashedPaths.insert(it.value(), trashOp(it.value(), titles.value(0), titles.value(1)));
        }
        plan.trashed.insert(it.key(), trashedPaths.value(it.value()));
    }
    // A file already lying where a text goes (an unplaced text) is put in the trash, never
    // overwritten.
    QList<FileOp> placing = moves + copies + restores;
    for (const FileOp& op : placing) {
        if (exists(op.to) && !vacated.contains(op.to)) {
            trashOp(op.to, QFileInfo(op.to).completeBaseName(), QString());
        }
    }
    // A section's earlier versions follow its text to its new name.
    QList<FileOp> histories;
    for (const FileOp& op : moves) {
        const QString from = QStringLiteral(".history/") + op.from;
        const QString to = QStringLiteral(".history/") + op.to;
        if (QFileInfo(inProject(folder, from)).isDir() && !QFileInfo::exists(inProject(folder, to))) {
            histories.append({OpKind::Move, from, to, {}});
        }
    }
    plan.ops = copies + trashes + moves + restores + histories;
    return {};
}

bool readJournal(const QString& folder, QList<FileOp>& ops, QString& toc)
{
    const ResultOf<QByteArray> read = readWholeFile(inProject(folder, QLatin1String(kJournalFile)));
    if (!read.ok()) {
        return false;
    }
    const QJsonObject journal = QJsonDocument::fromJson(read.value()).object();
    if (!journal.contains(QStringLiteral("toc"))) {
        return false;
    }
    toc = journal.value(QStringLiteral("toc")).toString();
    for (const QJsonValue& value : journal.value(QStringLiteral("steps")).toArray()) {
        const QJsonObject step = value.toObject();
        FileOp op{kindFromName(step.value(QStringLiteral("kind")).toString()),
                  step.value(QStringLiteral("from")).toString(), step.value(QStringLiteral("to")).toString(),
                  step.value(QStringLiteral("info")).toString().toUtf8()};
        if (!isSafeRelative(op.from) || !isSafeRelative(op.to)) {
            return false;
        }
        ops.append(op);
    }
    return true;
}

} // namespace

OutlineCommit commitOutline(const ProjectOutline& before, ProjectOutline after,
                            const TrashedTexts& restoreFrom, bool restoring)
{
    OutlineCommit commit;
    commit.outline = before;
    if (!before.editable()) {
        commit.result = Result::failure(tr("The outline cannot be changed while it has an error."));
        return commit;
    }
    after.projectFolder = before.projectFolder;
    refreshContentPaths(after);
    const QString toc = tocText(after);
    if (toc.size() > kMaxTocCharacters) {
        commit.result = Result::failure(QString::fromLatin1(kLengthRefusal));
        return commit;
    }
    Plan plan;
    if (Result planned = planFiles(before, after, restoreFrom, restoring, plan); !planned) {
        commit.result = planned;
        return commit;
    }

    const QString& folder = before.projectFolder;
    // The table of contents as the user or the AI tool wrote it is kept once, before the
    // program first rewrites it.
    const QString original = inProject(folder, QLatin1String(kOriginalToc));
    if (!QFileInfo::exists(original)) {
        if (Result copied = copyFile(programPath(folder, paths::kToc), original); !copied) {
            commit.result = copied;
            return commit;
        }
    }
    if (Result written =
            writeText(inProject(folder, QLatin1String(kJournalFile)), journalBytes(plan.ops, toc), "journal");
        !written) {
        commit.result = written;
        return commit;
    }
    if (Result ran = runJournal(folder, plan.ops, toc); !ran) {
        commit.result = ran;
        commit.outline = loadProjectOutline(folder);
        return commit;
    }
    refreshContentPaths(after);
    commit.outline = after;
    commit.trashed = plan.trashed;
    return commit;
}

Result completePendingOutlineJournal(const QString& projectFolder)
{
    const QString journal = inProject(projectFolder, QLatin1String(kJournalFile));
    if (!QFileInfo::exists(journal)) {
        return {};
    }
    QList<FileOp> ops;
    QString toc;
    if (!readJournal(projectFolder, ops, toc)) {
        return failed(tr("The outline journal could not be read."));
    }
    return runJournal(projectFolder, ops, toc);
}

} // namespace folioneer
