// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/word_count_strip.h"

#include "writing/word_count.h"

#include <QLocale>
#include <QTextEdit>

namespace folioneer {

namespace {

// The section count follows typing at most this long after the last key.
constexpr int kTypingPause = 300;

QString words(qsizetype count)
{
    // Thousands are grouped with commas whatever the system's language, like the rest of the
    // window's English.
    return QLocale(QLocale::English, QLocale::UnitedStates).toString(count) +
           (count == 1 ? QStringLiteral(" word") : QStringLiteral(" words"));
}

} // namespace

WordCountStrip::WordCountStrip(QTextEdit& editor, QWidget* parent) : QLabel(parent), m_editor(editor)
{
    setTextFormat(Qt::PlainText);
    m_typing.setSingleShot(true);
    m_typing.setInterval(kTypingPause);
    connect(&m_typing, &QTimer::timeout, this, &WordCountStrip::countSection);
    connect(&m_editor, &QTextEdit::textChanged, &m_typing, qOverload<>(&QTimer::start));
}

void WordCountStrip::setBook(const QList<BookChapter>& book, int openChapter, int openSection)
{
    m_book = book;
    m_openChapter = openChapter;
    m_openSection = openSection;
    m_typing.stop();
    countSection();
    refreshBook();
}

void WordCountStrip::refreshBook()
{
    OpenSectionText open;
    const bool hasOpen = m_openChapter >= 0 && m_openSection >= 0 && m_openChapter < m_book.size() &&
                         m_openSection < m_book[m_openChapter].sections.size();
    if (hasOpen) {
        open.contentPath = m_book[m_openChapter].sections[m_openSection].contentPath;
        open.words = m_sectionWords;
    }
    m_counts = countBook(m_book, m_cache, hasOpen ? &open : nullptr);
    showCounts();
    emit chapterCountsChanged(m_counts.chapters);
}

void WordCountStrip::countSection()
{
    const qsizetype before = m_sectionWords;
    m_sectionWords = m_openSection >= 0 ? countDocumentWords(*m_editor.document()) : 0;
    // Chapter and book follow the section's change without reading any file.
    const qsizetype difference = m_sectionWords - before;
    if (m_openChapter >= 0 && m_openChapter < m_counts.chapters.size()) {
        m_counts.chapters[m_openChapter] += difference;
        m_counts.book += difference;
    }
    showCounts();
}

void WordCountStrip::showCounts()
{
    if (m_book.isEmpty()) {
        clear();
        return;
    }
    QString line;
    if (m_openSection >= 0) {
        line += QStringLiteral("Section: ") + words(m_sectionWords) + QStringLiteral(" \u00B7 ");
    }
    if (m_openChapter >= 0 && m_openChapter < m_counts.chapters.size()) {
        line += QStringLiteral("Chapter: ") + words(m_counts.chapters[m_openChapter]) +
                QStringLiteral(" \u00B7 ");
    }
    line += QStringLiteral("Book: ") + words(m_counts.book);
    setText(line);
}

} // namespace folioneer
