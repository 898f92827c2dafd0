// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/zip_archive.h"

#include <QCoreApplication>

#include <sys/stat.h>
#include <zip.h>

namespace folioneer {

namespace {

QString tr(const char* text)
{
    return QCoreApplication::translate("ZipArchive", text);
}

QString libraryError(zip_error_t* error)
{
    return QString::fromLocal8Bit(zip_error_strerror(error));
}

QString archiveError(zip_t* archive)
{
    return libraryError(zip_get_error(archive));
}

// A name that would land outside the folder it is unpacked into on some system: absolute ("/x",
// "\\x", "C:/x", "C:\\x", "C:") or with a ".." part between "/" or "\\" separators. A colon
// or backslash elsewhere is an ordinary character of a Unix file name (section titles give
// content files such names) and is kept.
bool isUnsafeName(const QString& name)
{
    const auto isSeparator = [](QChar c) { return c == QLatin1Char('/') || c == QLatin1Char('\\'); };
    if (!name.isEmpty() && isSeparator(name.at(0))) {
        return true;
    }
    if (name.size() >= 2 && name.at(0).isLetter() && name.at(1) == QLatin1Char(':') &&
        (name.size() == 2 || isSeparator(name.at(2)))) {
        return true;
    }
    const QStringList parts =
        QString(name).replace(QLatin1Char('\\'), QLatin1Char('/')).split(QLatin1Char('/'));
    return parts.contains(QStringLiteral(".."));
}

} // namespace

ZipWriter::ZipWriter(int deflateLevel) : m_deflateLevel(deflateLevel) {}

void ZipWriter::add(const QString& name, const QByteArray& data, Method method)
{
    m_entries.append({name.toUtf8(), {data}, method, Kind::Plain, {}});
}

void ZipWriter::addParts(const QString& name, const QList<QByteArray>& parts, Method method)
{
    m_entries.append({name.toUtf8(), parts, method, Kind::Plain, {}});
}

void ZipWriter::addFile(const QString& name, const QByteArray& data, const QDateTime& modified)
{
    m_entries.append({name.toUtf8(), {data}, Method::Deflate, Kind::File, modified});
}

void ZipWriter::addFolder(const QString& name, const QDateTime& modified)
{
    m_entries.append({name.toUtf8(), {}, Method::Store, Kind::Folder, modified});
}

ZipWriter::Archive ZipWriter::finish() const
{
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* target = zip_source_buffer_create(nullptr, 0, 0, &error);
    if (!target) {
        const QString reason = libraryError(&error);
        zip_error_fini(&error);
        return {{}, reason};
    }
    // The archive closes its source; keep it to read the finished bytes back.
    zip_source_keep(target);
    zip_t* archive = zip_open_from_source(target, ZIP_TRUNCATE, &error);
    if (!archive) {
        const QString reason = libraryError(&error);
        zip_error_fini(&error);
        zip_source_free(target);
        return {{}, reason};
    }
    zip_error_fini(&error);

    QString reason;
    // The entries' bytes (and the lists of their parts) outlive zip_close: the zip library reads
    // them only then.
    QList<QList<zip_buffer_fragment_t>> fragments;
    fragments.reserve(m_entries.size());
    for (const Entry& entry : m_entries) {
        QList<zip_buffer_fragment_t>& parts = fragments.emplace_back();
        zip_int64_t index = -1;
        if (entry.kind == Kind::Folder) {
            index = zip_dir_add(archive, entry.name.constData(), ZIP_FL_ENC_UTF_8);
        } else {
            for (const QByteArray& part : entry.parts) {
                if (!part.isEmpty()) {
                    // The library reads the bytes, never writes them.
                    parts.append({reinterpret_cast<zip_uint8_t*>(const_cast<char*>(part.constData())),
                                  zip_uint64_t(part.size())});
                }
            }
            zip_source_t* source =
                parts.isEmpty()
                    ? zip_source_buffer(archive, nullptr, 0, 0)
                    : zip_source_buffer_fragment(archive, parts.constData(), zip_uint64_t(parts.size()), 0);
            index = source ? zip_file_add(archive, entry.name.constData(), source,
                                          ZIP_FL_ENC_UTF_8 | ZIP_FL_OVERWRITE)
                           : -1;
            if (index < 0 && source) {
                zip_source_free(source);
            }
        }
        if (index < 0) {
            reason = archiveError(archive);
            break;
        }
        const bool store = entry.method == Method::Store;
        if (entry.kind != Kind::Folder &&
            zip_set_file_compression(archive, zip_uint64_t(index), store ? ZIP_CM_STORE : ZIP_CM_DEFLATE,
                                     store ? 0 : zip_uint32_t(m_deflateLevel)) != 0) {
            reason = archiveError(archive);
            break;
        }
        if (entry.kind != Kind::Plain) {
            // The name's trailing "/" marks a folder for every reader; the mode is for Unix ones.
            const zip_uint32_t mode = entry.kind == Kind::Folder ? (S_IFDIR | 0755) : (S_IFREG | 0644);
            const bool dated = !entry.modified.isValid() ||
                               zip_file_set_mtime(archive, zip_uint64_t(index),
                                                  time_t(entry.modified.toSecsSinceEpoch()), 0) == 0;
            if (!dated || zip_file_set_external_attributes(archive, zip_uint64_t(index), 0, ZIP_OPSYS_UNIX,
                                                           mode << 16) != 0) {
                reason = archiveError(archive);
                break;
            }
        }
    }
    if (!reason.isEmpty()) {
        zip_discard(archive);
        zip_source_free(target);
        return {{}, reason};
    }
    if (zip_close(archive) != 0) {
        reason = archiveError(archive);
        zip_discard(archive);
        zip_source_free(target);
        return {{}, reason};
    }

    QByteArray bytes;
    if (zip_source_open(target) != 0) {
        reason = libraryError(zip_source_error(target));
    } else {
        zip_source_seek(target, 0, SEEK_END);
        const zip_int64_t size = zip_source_tell(target);
        zip_source_seek(target, 0, SEEK_SET);
        bytes.resize(qsizetype(size));
        if (size < 0 || zip_source_read(target, bytes.data(), zip_uint64_t(size)) != size) {
            reason = libraryError(zip_source_error(target));
            bytes.clear();
        }
        zip_source_close(target);
    }
    zip_source_free(target);
    return {bytes, reason};
}

struct ZipReader::Handle {
    zip_t* archive = nullptr;
};

ZipReader::ZipReader(const QByteArray& archive) : m_archive(archive), m_handle(std::make_unique<Handle>())
{
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source =
        zip_source_buffer_create(m_archive.constData(), zip_uint64_t(m_archive.size()), 0, &error);
    if (source) {
        m_handle->archive = zip_open_from_source(source, ZIP_RDONLY | ZIP_CHECKCONS, &error);
        if (!m_handle->archive) {
            zip_source_free(source);
        }
    }
    if (!m_handle->archive) {
        m_error = libraryError(&error);
        zip_error_fini(&error);
        return;
    }
    zip_error_fini(&error);

    const zip_int64_t count = zip_get_num_entries(m_handle->archive, 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        zip_stat_t stat;
        zip_stat_init(&stat);
        if (zip_stat_index(m_handle->archive, zip_uint64_t(i), ZIP_FL_ENC_GUESS, &stat) != 0) {
            m_error = archiveError(m_handle->archive);
            m_entries.clear();
            return;
        }
        ZipEntry entry;
        entry.name = QString::fromUtf8(stat.name ? stat.name : "");
        entry.size = (stat.valid & ZIP_STAT_SIZE) ? qint64(stat.size) : 0;
        entry.compressedSize = (stat.valid & ZIP_STAT_COMP_SIZE) ? qint64(stat.comp_size) : 0;
        entry.isDirectory = entry.name.endsWith(QLatin1Char('/'));
        if (stat.valid & ZIP_STAT_MTIME) {
            entry.modified = QDateTime::fromSecsSinceEpoch(qint64(stat.mtime));
        }
        zip_uint8_t system = 0;
        zip_uint32_t attributes = 0;
        if (zip_file_get_external_attributes(m_handle->archive, zip_uint64_t(i), 0, &system, &attributes) ==
                0 &&
            system == ZIP_OPSYS_UNIX) {
            entry.isLink = S_ISLNK(attributes >> 16);
        }
        entry.unsafeName = isUnsafeName(entry.name);
        m_entries.append(entry);
    }
}

ZipReader::~ZipReader()
{
    if (m_handle->archive) {
        zip_discard(m_handle->archive);
    }
}

ZipReader::Data ZipReader::read(qsizetype index, qint64 maxBytes) const
{
    if (!m_handle->archive || index < 0 || index >= m_entries.size()) {
        return {{}, tr("The archive has no such entry.")};
    }
    const ZipEntry& entry = m_entries.at(index);
    if (entry.size > maxBytes) {
        return {{}, tr("The entry %1 is too large.").arg(entry.name)};
    }
    zip_file_t* file = zip_fopen_index(m_handle->archive, zip_uint64_t(index), 0);
    if (!file) {
        return {{}, archiveError(m_handle->archive)};
    }
    // One byte more than declared is read to notice an entry that holds more than it says.
    QByteArray data(qsizetype(entry.size) + 1, Qt::Uninitialized);
    qint64 total = 0;
    QString reason;
    while (true) {
        const zip_int64_t got = zip_fread(file, data.data() + total, zip_uint64_t(data.size() - total));
        if (got < 0) {
            reason = libraryError(zip_file_get_error(file));
            break;
        }
        if (got == 0) {
            break;
        }
        total += got;
        if (total > entry.size) {
            reason = tr("The entry %1 holds more than it declares.").arg(entry.name);
            break;
        }
    }
    zip_fclose(file);
    if (reason.isEmpty() && total != entry.size) {
        reason = tr("The entry %1 is shorter than it declares.").arg(entry.name);
    }
    if (!reason.isEmpty()) {
        return {{}, reason};
    }
    data.truncate(qsizetype(total));
    return {data, {}};
}

} // namespace folioneer
