// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "writing/word_count.h"

#include <QChar>
#include <QTextBlock>
#include <QTextDocument>

namespace folioneer {

namespace {

bool isIdeographic(char32_t c)
{
    // Everything below the CJK radicals block is neither Han nor kana; testing that first keeps
    // Western text off the slower script lookup.
    if (c < 0x2E80) {
        return false;
    }
    const QChar::Script script = QChar::script(c);
    return script == QChar::Script_Han || script == QChar::Script_Hiragana ||
           script == QChar::Script_Katakana;
}

class Counter {
public:
    void add(QStringView text)
    {
        const qsizetype size = text.size();
        const char16_t* data = text.utf16();
        for (qsizetype i = 0; i < size; ++i) {
            char32_t c = data[i];
            if (c < 0x80) {
                // ASCII: a letter or digit, or a separator between words.
                if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) {
                    m_inWord = true;
                } else if (c == ' ' || (c >= 0x09 && c <= 0x0D)) {
                    endWord();
                }
                continue;
            }
            if (QChar::isHighSurrogate(c) && i + 1 < size && QChar::isLowSurrogate(data[i + 1])) {
                c = QChar::surrogateToUcs4(char16_t(c), data[i + 1]);
                ++i;
            }
            if (QChar::isSpace(c)) {
                endWord();
            } else if (isIdeographic(c)) {
                endWord();
                ++m_count;
            } else if (QChar::isLetterOrNumber(c)) {
                m_inWord = true;
            }
        }
    }
    void endWord()
    {
        if (m_inWord) {
            ++m_count;
            m_inWord = false;
        }
    }
    qsizetype total()
    {
        endWord();
        return m_count;
    }

private:
    qsizetype m_count = 0;
    bool m_inWord = false;
};

} // namespace

qsizetype countWords(QStringView text)
{
    Counter counter;
    counter.add(text);
    return counter.total();
}

qsizetype countDocumentWords(const QTextDocument& document)
{
    Counter counter;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        counter.add(block.text());
        counter.endWord();
    }
    return counter.total();
}

} // namespace folioneer
