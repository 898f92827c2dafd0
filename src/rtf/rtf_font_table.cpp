// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "rtf/rtf_font_table.h"

#include "rtf/rtf_code_pages.h"

#include <algorithm>
#include <climits>

namespace folioneer::rtf {

void FontTable::beginTable()
{
    m_currentFont = INT_MIN;
    m_cached = false;
}

void FontTable::beginFont(int number)
{
    m_cached = false;
    ++m_tables.revision;
    if (m_tables.fonts.size() < m_maxFonts || m_tables.fonts.contains(number)) {
        m_tables.fonts[number] = FontInfo{};
        m_currentFont = number;
    } else {
        m_currentFont = INT_MIN;
    }
    m_nameDone = false;
}

FontInfo* FontTable::currentFont()
{
    if (m_currentFont == INT_MIN) {
        return nullptr;
    }
    const auto it = m_tables.fonts.find(m_currentFont);
    return it == m_tables.fonts.end() ? nullptr : &it.value();
}

void FontTable::appendText(QStringView text)
{
    m_cached = false;
    ++m_tables.revision;
    FontInfo* font = currentFont();
    for (const QChar c : text) {
        if (c == u';') {
            m_nameDone = true;
        } else if (font && !m_nameDone && font->name.size() < 256) {
            font->name.append(c);
        }
    }
    if (font && m_nameDone) {
        font->name = font->name.trimmed();
    }
}

void FontTable::setCharset(int charset)
{
    m_cached = false;
    if (FontInfo* font = currentFont()) {
        font->charset = std::clamp(charset, 0, 255);
    }
}

void FontTable::setCodePage(int codePage)
{
    m_cached = false;
    if (FontInfo* font = currentFont()) {
        font->codePage = codePage > 0 && codePage < 100000 ? codePage : 0;
    }
}

void FontTable::setFamily(FontFamily family)
{
    ++m_tables.revision;
    if (FontInfo* font = currentFont()) {
        font->family = family;
    }
}

void FontTable::setAnsiCodePage(int codePage)
{
    m_cached = false;
    m_ansiCodePage = codePage;
}

void FontTable::setDefaultFont(int number)
{
    m_cached = false;
    ++m_tables.revision;
    m_tables.defaultFont = number;
}

int FontTable::codePageOf(int font)
{
    const int number = font == kDefaultFont ? m_tables.defaultFont : font;
    if (!m_cached || number != m_cachedFont) {
        m_cached = true;
        m_cachedCodePage = codePageOfEntry(number);
        m_cachedFont = number;
    }
    return m_cachedCodePage;
}

int FontTable::codePageOfEntry(int number) const
{
    const auto it = m_tables.fonts.constFind(number);
    if (it == m_tables.fonts.constEnd()) {
        return m_ansiCodePage;
    }
    if (it->codePage > 0) {
        return it->codePage;
    }
    // The Symbol and Wingdings fonts' bytes are their own encoding even when the table omits
    // \fcharset2.
    const bool wingdings = it->name.compare(QLatin1String("Wingdings"), Qt::CaseInsensitive) == 0;
    const int charset =
        it->charset < 0 && (wingdings || it->name.compare(QLatin1String("Symbol"), Qt::CaseInsensitive) == 0)
            ? 2
            : it->charset;
    if (charset >= 0) {
        const int cp = codePageForCharset(charset);
        if (cp == kCodePageSymbol) {
            if (wingdings) {
                return kCodePageWingdings;
            }
            return it->name.startsWith(QLatin1String("Symbol"), Qt::CaseInsensitive) ? kCodePageSymbol
                                                                                     : kCodePageSymbolOther;
        }
        if (cp != 0) {
            return cp;
        }
    }
    return m_ansiCodePage;
}

} // namespace folioneer::rtf
