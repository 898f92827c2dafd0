// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "writing/text_find.h"

#include <QStringMatcher>

namespace folioneer {

namespace {

bool isWordCharacter(QChar c)
{
    return c.isLetterOrNumber() || c.isMark() || c == u'_';
}

} // namespace

QList<TextMatch> findAll(QStringView text, QStringView query, FindOptions options)
{
    QList<TextMatch> matches;
    if (query.isEmpty()) {
        return matches;
    }
    const QStringMatcher matcher(query, options.matchCase ? Qt::CaseSensitive : Qt::CaseInsensitive);
    const qsizetype length = query.size();
    qsizetype from = 0;
    while (true) {
        const qsizetype at = matcher.indexIn(text, from);
        if (at < 0) {
            break;
        }
        const qsizetype end = at + length;
        if (options.wholeWords && ((at > 0 && isWordCharacter(text[at - 1])) ||
                                   (end < text.size() && isWordCharacter(text[end])))) {
            from = at + 1;
            continue;
        }
        matches.append({at, length});
        from = end;
    }
    return matches;
}

} // namespace folioneer
