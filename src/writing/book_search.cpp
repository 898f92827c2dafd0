// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "writing/book_search.h"

#include "writing/parallel.h"

#include <vector>

namespace folioneer {

namespace {

const QString kEllipsis = QStringLiteral("\u2026");

void appendOneLine(QStringView text, QString& out)
{
    bool space = false;
    for (const QChar c : text) {
        if (c.isSpace() || c == QChar::ObjectReplacementCharacter) {
            space = true;
            continue;
        }
        if (space && !out.isEmpty() && !out.endsWith(kEllipsis)) {
            out.append(u' ');
        }
        space = false;
        out.append(c);
    }
    if (space) {
        out.append(u' ');
    }
}

} // namespace

QString matchContext(QStringView text, TextMatch match, int around)
{
    qsizetype from = std::max<qsizetype>(0, match.start - around);
    qsizetype to = std::min<qsizetype>(text.size(), match.start + match.length + around);
    // Never cut a surrogate pair in two.
    if (from > 0 && text[from].isLowSurrogate()) {
        --from;
    }
    if (to < text.size() && text[to].isLowSurrogate()) {
        ++to;
    }
    QString context;
    if (from > 0) {
        context.append(kEllipsis);
    }
    appendOneLine(text.mid(from, to - from), context);
    if (to < text.size()) {
        context.append(kEllipsis);
    }
    return context.trimmed();
}

BookSearchResult searchBook(const QList<BookChapter>& book, BookTextCache& cache, QStringView query,
                            FindOptions options, const OpenSectionText* open, int limit)
{
    BookSearchResult result;
    if (query.isEmpty()) {
        return result;
    }
    cache.refresh(book);
    auto add = [&result, limit](BookHit hit) {
        if (result.hits.size() >= limit) {
            result.truncated = true;
            return false;
        }
        result.hits.append(std::move(hit));
        return true;
    };
    // The texts are searched side by side; the hits are then listed in outline order.
    struct Place {
        int chapter;
        int section;
        QStringView text;
    };
    std::vector<Place> places;
    for (int c = 0; c < book.size(); ++c) {
        for (int s = 0; s < book[c].sections.size(); ++s) {
            const BookSection& section = book[c].sections[s];
            QStringView text;
            if (open && section.contentPath == open->contentPath) {
                text = open->text;
            } else if (const BookTextCache::Entry* entry = cache.entry(section.contentPath)) {
                text = entry->text;
            }
            places.push_back({c, s, text});
        }
    }
    std::vector<QList<TextMatch>> matches(places.size());
    forEachInParallel(places.size(),
                      [&](std::size_t i) { matches[i] = findAll(places[i].text, query, options); });

    std::size_t place = 0;
    for (int c = 0; c < book.size(); ++c) {
        const BookChapter& chapter = book[c];
        if (!findAll(chapter.title, query, options).isEmpty() &&
            !add({HitPlace::ChapterTitle, c, -1, 0, {}})) {
            return result;
        }
        for (int s = 0; s < chapter.sections.size(); ++s, ++place) {
            if (!findAll(chapter.sections[s].title, query, options).isEmpty() &&
                !add({HitPlace::SectionTitle, c, s, 0, {}})) {
                return result;
            }
            const QList<TextMatch>& found = matches[place];
            for (int m = 0; m < found.size(); ++m) {
                if (!add({HitPlace::SectionText, c, s, m, matchContext(places[place].text, found[m])})) {
                    return result;
                }
            }
        }
    }
    return result;
}

QString hitLine(const QList<BookChapter>& book, const BookHit& hit)
{
    const BookChapter& chapter = book.at(hit.chapter);
    if (hit.place == HitPlace::ChapterTitle) {
        return chapter.title;
    }
    QString line = chapter.title + QStringLiteral(" \u203A ") + chapter.sections.at(hit.section).title;
    if (hit.place == HitPlace::SectionText) {
        line += QStringLiteral(": ") + hit.context;
    }
    return line;
}

} // namespace folioneer
