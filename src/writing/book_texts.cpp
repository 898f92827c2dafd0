// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "writing/book_texts.h"

#include "rtf/rtf.h"
#include "support/file_io.h"
#include "writing/parallel.h"
#include "writing/word_count.h"

#include <QFile>

#include <vector>

#include <sys/stat.h>

namespace folioneer {

namespace {

// Content files larger than this are not counted or searched (a section is a few hundred KB at
// most; anything far larger is not a section the user wrote).
constexpr qint64 kMaxContentFile = 256 * 1024 * 1024;

struct Pending {
    QString path;
    BookTextCache::Entry entry;
};

void readEntry(Pending& pending)
{
    if (pending.entry.size < 0) {
        return;
    }
    const ResultOf<QByteArray> file = readWholeFile(pending.path, kMaxContentFile);
    if (!file.ok()) {
        return;
    }
    rtf::PlainText plain = rtf::plainTextFromRtf(file.value(), rtf::ListMarkers::Left);
    if (!plain.ok()) {
        return;
    }
    pending.entry.words = countWords(plain.text);
    pending.entry.text = std::move(plain.text);
}

/// The size and modification time of a regular file; size -1 when there is none. Asked of the
/// system directly: a cached count looks at every file of the book each time.
BookTextCache::Entry stampOf(const QString& path)
{
    BookTextCache::Entry stamp;
    struct stat status {};
    if (::stat(QFile::encodeName(path).constData(), &status) == 0 && S_ISREG(status.st_mode)) {
        stamp.size = status.st_size;
        stamp.modified = qint64(status.st_mtim.tv_sec) * 1000 + status.st_mtim.tv_nsec / 1000000;
    }
    return stamp;
}

} // namespace

int BookTextCache::refresh(const QList<BookChapter>& book)
{
    QHash<QString, Entry> current;
    std::vector<Pending> pending;
    for (const BookChapter& chapter : book) {
        for (const BookSection& section : chapter.sections) {
            if (current.contains(section.contentPath)) {
                continue;
            }
            const Entry stamp = stampOf(section.contentPath);
            const auto known = m_entries.find(section.contentPath);
            if (known != m_entries.end() && known->size == stamp.size && known->modified == stamp.modified) {
                current.insert(section.contentPath, std::move(*known));
                continue;
            }
            current.insert(section.contentPath, stamp);
            pending.push_back({section.contentPath, stamp});
        }
    }
    forEachInParallel(pending.size(), [&pending](std::size_t i) { readEntry(pending[i]); });
    for (Pending& read : pending) {
        current.insert(read.path, std::move(read.entry));
    }
    m_entries = std::move(current);
    return int(pending.size());
}

const BookTextCache::Entry* BookTextCache::entry(const QString& contentPath) const
{
    const auto found = m_entries.constFind(contentPath);
    return found == m_entries.cend() ? nullptr : &*found;
}

BookCounts countBook(const QList<BookChapter>& book, BookTextCache& cache, const OpenSectionText* open)
{
    cache.refresh(book);
    BookCounts counts;
    for (const BookChapter& chapter : book) {
        qsizetype words = 0;
        for (const BookSection& section : chapter.sections) {
            if (open && section.contentPath == open->contentPath) {
                words += open->words;
            } else if (const BookTextCache::Entry* entry = cache.entry(section.contentPath)) {
                words += entry->words;
            }
        }
        counts.chapters.append(words);
        counts.book += words;
    }
    return counts;
}

} // namespace folioneer
