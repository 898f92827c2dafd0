// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "writing/book_texts.h"

#include "rtf/rtf.h"
#include "support/file_io.h"
#include "writing/word_count.h"

#include <QFileInfo>

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

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
    const FileRead file = readWholeFile(pending.path, kMaxContentFile);
    if (!file.ok()) {
        return;
    }
    rtf::PlainText plain = rtf::plainTextFromRtf(file.data, rtf::ListMarkers::Left);
    if (!plain.ok()) {
        return;
    }
    pending.entry.words = countWords(plain.text);
    pending.entry.text = std::move(plain.text);
}

/// Runs readEntry over every pending file, on as many threads as the machine has cores.
void readAll(std::vector<Pending>& pending)
{
    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    const size_t threadCount = std::min<size_t>(std::min(cores, 8u), pending.size());
    std::atomic<size_t> next{0};
    auto work = [&pending, &next] {
        for (size_t i = next++; i < pending.size(); i = next++) {
            readEntry(pending[i]);
        }
    };
    std::vector<std::thread> threads;
    for (size_t t = 1; t < threadCount; ++t) {
        threads.emplace_back(work);
    }
    work();
    for (std::thread& thread : threads) {
        thread.join();
    }
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
            const QFileInfo info(section.contentPath);
            Entry stamp;
            if (info.isFile()) {
                stamp.size = info.size();
                stamp.modified = info.lastModified().toMSecsSinceEpoch();
            }
            const auto known = m_entries.find(section.contentPath);
            if (known != m_entries.end() && known->size == stamp.size && known->modified == stamp.modified) {
                current.insert(section.contentPath, std::move(*known));
                continue;
            }
            current.insert(section.contentPath, stamp);
            pending.push_back({section.contentPath, stamp});
        }
    }
    readAll(pending);
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
