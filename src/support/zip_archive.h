// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <memory>

namespace folioneer {

// Zip containers (EPUB, DOCX, ODT, book backups) written into and read from memory. The only
// code that sees the zip library. Nothing here touches a path: callers write the finished bytes
// with writeFileAtomically and read archives with readWholeFile.

/// Builds an archive in memory. Entries are written in the order they are added.
class ZipWriter {
public:
    enum class Method { Store, Deflate };

    /// `deflateLevel` 1 (fastest) to 9 (smallest) for deflated entries.
    explicit ZipWriter(int deflateLevel = 6);

    /// Adds an entry named `name` (UTF-8, '/'-separated, relative) holding `data`.
    void add(const QString& name, const QByteArray& data, Method method = Method::Deflate);

    struct Archive {
        QByteArray data;
        QString error; ///< empty on success
        bool ok() const { return error.isEmpty(); }
    };

    /// The whole archive of every entry added so far.
    Archive finish() const;

private:
    struct Entry {
        QByteArray name;
        QByteArray data;
        Method method;
    };
    QList<Entry> m_entries;
    int m_deflateLevel;
};

/// One entry of an archive as its directory declares it.
struct ZipEntry {
    QString name;
    qint64 size = 0; ///< uncompressed size as declared (not trusted when reading)
    qint64 compressedSize = 0;
    bool isDirectory = false;
    bool isLink = false;     ///< a symbolic link by its Unix attributes
    bool unsafeName = false; ///< absolute, with a drive letter or backslash, or with a ".." part
};

/// Reads an archive held in memory. Reading an entry stops at a byte cap and at the declared
/// size, so an archive that lies about its sizes (a zip bomb) fails instead of filling memory.
class ZipReader {
public:
    explicit ZipReader(const QByteArray& archive);
    ~ZipReader();
    ZipReader(const ZipReader&) = delete;
    ZipReader& operator=(const ZipReader&) = delete;

    /// Empty when the archive opened; the reason otherwise.
    QString error() const { return m_error; }

    QList<ZipEntry> entries() const { return m_entries; }

    struct Data {
        QByteArray data;
        QString error; ///< empty on success
        bool ok() const { return error.isEmpty(); }
    };

    /// The bytes of entry `index`. Fails when the entry declares or holds more than `maxBytes`,
    /// holds more or fewer bytes than it declares, or is damaged (CRC).
    Data read(qsizetype index, qint64 maxBytes) const;

private:
    struct Handle;
    QByteArray m_archive; // the zip library reads from these bytes while the reader lives
    std::unique_ptr<Handle> m_handle;
    QList<ZipEntry> m_entries;
    QString m_error;
};

} // namespace folioneer
