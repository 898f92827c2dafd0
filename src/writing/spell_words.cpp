// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "writing/spell_words.h"

#include <QChar>

namespace folioneer {

namespace {

// Longer "words" are not words anyone looks up (dictionaries stop at 100 bytes); checking them
// would only cost time.
constexpr qsizetype kMaxWordLength = 60;

bool isApostrophe(QChar c)
{
    return c == u'\'' || c == u'\u2019';
}

bool isWordLetter(QChar c)
{
    return c.isLetter() || c.isMark();
}

/// A token (text between white space) that is a web or e-mail address: it holds "://", begins
/// with "www.", or has an "@" with a "." somewhere after it.
bool isAddress(QStringView token)
{
    if (token.contains(u"://") || token.startsWith(u"www.", Qt::CaseInsensitive)) {
        return true;
    }
    const qsizetype at = token.indexOf(u'@');
    return at > 0 && token.indexOf(u'.', at + 2) > at + 1;
}

void addWords(QStringView text, qsizetype offset, QList<WordSpan>& out)
{
    const qsizetype size = text.size();
    qsizetype i = 0;
    while (i < size) {
        if (!isWordLetter(text[i]) && !text[i].isDigit()) {
            ++i;
            continue;
        }
        const qsizetype start = i;
        bool digit = false;
        bool lower = false;
        bool upper = false;
        while (i < size) {
            const QChar c = text[i];
            if (isWordLetter(c) || c.isDigit()) {
                digit = digit || c.isDigit();
                lower = lower || c.isLower() || c.isTitleCase();
                upper = upper || c.isUpper();
                ++i;
            } else if (isApostrophe(c) && i + 1 < size && isWordLetter(text[i + 1])) {
                // An apostrophe between letters belongs to the word; at either end it is a quote.
                ++i;
            } else {
                break;
            }
        }
        // Capitals only is an abbreviation; scripts without case are always checked.
        if (!digit && (lower || !upper) && i - start <= kMaxWordLength) {
            out.append({offset + start, i - start});
        }
    }
}

} // namespace

QList<WordSpan> wordsToCheck(QStringView text)
{
    QList<WordSpan> words;
    const qsizetype size = text.size();
    qsizetype i = 0;
    while (i < size) {
        while (i < size && text[i].isSpace()) {
            ++i;
        }
        const qsizetype start = i;
        while (i < size && !text[i].isSpace()) {
            ++i;
        }
        if (i > start) {
            const QStringView token = text.mid(start, i - start);
            if (!isAddress(token)) {
                addWords(token, start, words);
            }
        }
    }
    return words;
}

} // namespace folioneer
