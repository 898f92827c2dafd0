// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QDateTime>
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
    /// Adds an entry holding `parts` one after the other, without joining them in memory first.
    void addParts(const QString& name, const QList<QByteArray>& parts, Method method = Method::Deflate);

    /// Adds a deflated file entry that keeps its modification time and is marked as an ordinary
    /// Unix file (mode 0644), as a copy of a folder needs it.
    void addFile(const QString& name, const QByteArray& data, const QDateTime& modified);

    /// Adds a folder entry (`name` without the trailing "/"), so that empty folders survive.
    void addFolder(const QString& name, const QDateTime& modified);

    struct Archive {
        QByteArray data;
        QString error; ///< empty on success
        bool ok() const { return error.isEmpty(); }
    };

    /// The whole archive of every entry added so far.
    Archive finish() const;

private:
    enum class Kind { Plain, File, Folder };
    struct Entry {
        QByteArray name;
        QList<QByteArray> parts;
        Method method;
        Kind kind = Kind::Plain;
        QDateTime modified;
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
    bool unsafeName = false; ///< absolute (also "C:/", "\\"), or with a ".." part between "/" or "\\"
    QDateTime modified;      ///< invalid when the archive gives none
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
