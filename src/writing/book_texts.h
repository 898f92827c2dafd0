// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QHash>
#include <QList>
#include <QString>

namespace folioneer {

// The book as the word counts and the book search see it: chapters, their sections and each
// section's content file. Built by the window from whatever outline it shows.
struct BookSection {
    QString title;
    QString contentPath;
};

struct BookChapter {
    QString title;
    QList<BookSection> sections;
};

/// The section open in the editor: its text and count stand in for its file's, which may be
/// older.
struct OpenSectionText {
    QString contentPath;
    QString text;
    qsizetype words = 0;
};

// The plain text and word count of every content file of a book, kept between uses and read
// again only when a file's size or modification time changed. Files are read several at a
// time. There is no file watcher: each refresh looks at every file. A missing, unreadable or
// non-RTF file is a section without words.
class BookTextCache {
public:
    struct Entry {
        qint64 size = -1;
        qint64 modified = 0; ///< milliseconds since the epoch
        QString text;        ///< as typed: list markers left out
        qsizetype words = 0;
    };

    /// Makes every section's entry current; returns how many files were read.
    int refresh(const QList<BookChapter>& book);
    /// The entry of a content file after a refresh; null when the book did not hold it.
    const Entry* entry(const QString& contentPath) const;
    void clear() { m_entries.clear(); }

private:
    QHash<QString, Entry> m_entries;
};

struct BookCounts {
    QList<qsizetype> chapters; ///< one per chapter, in order
    qsizetype book = 0;
};

/// The word counts of every chapter and of the whole book, refreshing `cache` first.
BookCounts countBook(const QList<BookChapter>& book, BookTextCache& cache, const OpenSectionText* open);

} // namespace folioneer
