// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/file_io.h"

#include "support/step_hook.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace folioneer {

namespace {

constexpr qint64 kWriteChunk = 64 * 1024;

QString tr(const char* text)
{
    return QCoreApplication::translate("FileIo", text);
}

} // namespace

bool isReadOnlyFile(const QString& path)
{
    const QFileInfo info(path);
    return info.exists() && !info.isDir() && !(info.permissions() & QFileDevice::WriteOwner);
}

Result writeFileAtomically(const QString& path, const QByteArray& data)
{
    // The system would cut the name at a NUL and write to another file.
    if (path.contains(QChar(0))) {
        return Result::failure(tr("A file name cannot hold a NUL character."));
    }
    const QFileInfo info(path);
    if (info.isDir()) {
        return Result::failure(tr("A folder of that name is in the way."));
    }
    if (isReadOnlyFile(path)) {
        return Result::failure(tr("The file is read-only."));
    }
    if (!info.dir().exists()) {
        return Result::failure(tr("The folder %1 does not exist.").arg(info.absolutePath()));
    }

    QSaveFile file(path);
    // A failed save must be reported, never silently turned into a write in place.
    file.setDirectWriteFallback(false);
    // Unbuffered, so that every short write shows here: through Qt's write buffer a write cut
    // short by a file-size limit is flushed in part and the loss is never reported.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        return Result::failure(file.errorString());
    }
    qint64 written = 0;
    while (written < data.size()) {
        const qint64 chunk = std::min(kWriteChunk, data.size() - written);
        // A short write is retried with the rest; the retry then fails with the reason.
        const qint64 n = file.write(data.constData() + written, chunk);
        if (n <= 0) {
            const QString error = file.errorString();
            file.cancelWriting();
            return Result::failure(error.isEmpty() ? tr("The file could not be written.") : error);
        }
        written += n;
        stepReached({"write-chunk", written});
    }
    if (!file.commit()) {
        const QString error = file.errorString();
        return Result::failure(error.isEmpty() ? tr("The file could not be written.") : error);
    }
    return {};
}

ResultOf<QByteArray> readWholeFile(const QString& path, qint64 maxBytes)
{
    if (path.contains(QChar(0))) {
        return Result::failure(tr("A file name cannot hold a NUL character."));
    }
    const QFileInfo info(path);
    if (!info.exists()) {
        return Result::failure(tr("The file %1 does not exist.").arg(path));
    }
    if (!info.isFile()) {
        return Result::failure(tr("%1 is not a regular file.").arg(path));
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return Result::failure(file.errorString());
    }
    if (maxBytes >= 0 && file.size() > maxBytes) {
        return Result::failure(tr("The file %1 is too large.").arg(path));
    }
    QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        return Result::failure(file.errorString());
    }
    return data;
}

} // namespace folioneer
