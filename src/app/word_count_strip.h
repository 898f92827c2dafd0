// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "writing/book_texts.h"

#include <QLabel>
#include <QTimer>

class QTextEdit;

namespace folioneer {

// The line below the content box that tells how long the open section, its chapter and the
// whole book are. The section count follows typing (shortly after the last key); the chapter
// and book counts are taken from the content files, each read again only when it changed,
// with the open section's unsaved text standing in for its file.
class WordCountStrip : public QLabel {
    Q_OBJECT
public:
    WordCountStrip(QTextEdit& editor, QWidget* parent);

    /// The book whose files are counted, in outline order; `openChapter`/`openSection` index the
    /// shown section (-1 when none is shown). Recounts chapter and book.
    void setBook(const QList<BookChapter>& book, int openChapter, int openSection);
    /// Recounts chapter and book from the files (after a save).
    void refreshBook();

    /// The current counts: section, chapter, book (tests read them).
    qsizetype sectionWords() const { return m_sectionWords; }

signals:
    /// The word count of each chapter, in outline order, after each recount of the book.
    void chapterCountsChanged(const QList<qsizetype>& counts);

private:
    void countSection();
    void showCounts();

    QTextEdit& m_editor;
    QTimer m_typing;
    BookTextCache m_cache;
    QList<BookChapter> m_book;
    BookCounts m_counts;
    int m_openChapter = -1;
    int m_openSection = -1;
    qsizetype m_sectionWords = 0;
};

} // namespace folioneer
