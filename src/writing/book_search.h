// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "writing/book_texts.h"
#include "writing/text_find.h"

#include <QList>
#include <QString>

namespace folioneer {

// Searching the whole book: every chapter title, every section title and every section's text
// (the open section in its unsaved text). Each hit in a text says which match of its section it
// is, so that the editor can select the same match in its own document.

enum class HitPlace { ChapterTitle, SectionTitle, SectionText };

struct BookHit {
    HitPlace place = HitPlace::SectionText;
    int chapter = 0;
    int section = -1;   ///< -1 for a chapter title
    int matchIndex = 0; ///< for SectionText: 0 for the section's first match, 1 for its second...
    QString context;    ///< for SectionText: the text around the match on one line
};

struct BookSearchResult {
    QList<BookHit> hits;
    bool truncated = false; ///< more hits than the limit; the first ones are given
};

/// Searches the book in outline order: a chapter's title, then each section's title and its
/// text. Refreshes `cache` first.
BookSearchResult searchBook(const QList<BookChapter>& book, BookTextCache& cache, QStringView query,
                            FindOptions options, const OpenSectionText* open, int limit = 2000);

/// The line a hit shows: "Chapter › Section: …context…", "Chapter › Section" for a section
/// title, the chapter's title alone for a chapter title.
QString hitLine(const QList<BookChapter>& book, const BookHit& hit);

/// The text around a match, white space runs (line breaks included) shown as one space, with
/// "…" where the text was cut.
QString matchContext(QStringView text, TextMatch match, int around = 40);

} // namespace folioneer
