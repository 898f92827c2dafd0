// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "rtf/rtf_list_table.h"

#include "rtf/rtf_code_pages.h"

#include <algorithm>

namespace folioneer::rtf {

namespace {

// Bullets from symbol fonts arrive as private-use characters (U+F000 + the font's byte). A
// level that names no font gets the two bullets word processors mostly use.
QChar bulletWithoutFont(QChar c)
{
    switch (c.unicode()) {
    case 0xF0B7:
        return QChar(0x2022);
    case 0xF0A7:
        return QChar(0x25AA);
    default:
        return c;
    }
}

// Level text holds the level placeholders (0..8) and the marker's characters; other C0
// controls are noise no sink shows and no writer keeps, so a marker leaves them out.
bool isControl(QChar c)
{
    return c.unicode() < 0x20;
}

} // namespace

void ListTable::beginList()
{
    if (m_lists.size() < m_maxLists) {
        m_lists.append(List{});
    }
}

ListTable::Level* ListTable::currentLevel()
{
    if (m_lists.isEmpty() || m_lists.last().levels.isEmpty()) {
        return nullptr;
    }
    return &m_lists.last().levels.last();
}

void ListTable::beginLevel()
{
    if (!m_lists.isEmpty() && m_lists.last().levels.size() < kLevels) {
        m_lists.last().levels.append(Level{});
    }
}

void ListTable::setListId(int id)
{
    if (!m_lists.isEmpty()) {
        m_lists.last().id = id;
        m_listIndexById.insert(id, static_cast<int>(m_lists.size() - 1));
    }
}

void ListTable::setNumberFormat(NumberFormat format)
{
    if (Level* level = currentLevel()) {
        level->numberFormat = format;
    }
}

void ListTable::setStart(int start)
{
    if (Level* level = currentLevel()) {
        level->start = start;
    }
}

void ListTable::setLevelText(const QString& raw)
{
    Level* level = currentLevel();
    if (!level || raw.isEmpty()) {
        return;
    }
    const int length = std::min<int>(raw[0].unicode(), static_cast<int>(raw.size()) - 1);
    level->text = raw.mid(1, length);
}

void ListTable::setFont(int font)
{
    if (Level* level = currentLevel()) {
        level->hasFont = true;
        level->font = font;
    }
}

void ListTable::beginOverride()
{
    m_overrideListId = 0;
}

void ListTable::setOverrideListId(int id)
{
    m_overrideListId = id;
}

void ListTable::setOverrideNumber(int ls)
{
    if (m_listIdByOverride.size() < m_maxLists) {
        m_listIdByOverride.insert(ls, m_overrideListId);
    }
}

QString ListTable::nextMarker(int ls, int level, const FontCodePage& codePageOfFont)
{
    const auto listId = m_listIdByOverride.constFind(ls);
    if (listId == m_listIdByOverride.constEnd()) {
        return {};
    }
    const auto index = m_listIndexById.constFind(listId.value());
    if (index == m_listIndexById.constEnd()) {
        return {};
    }
    const List& list = m_lists[index.value()];
    if (level < 0 || level >= list.levels.size()) {
        return {};
    }
    auto counters = m_counters.find(ls);
    if (counters == m_counters.end()) {
        std::array<int, kLevels> initial{};
        for (int i = 0; i < kLevels; ++i) {
            initial[i] = i < list.levels.size() ? list.levels[i].start - 1 : 0;
        }
        counters = m_counters.insert(ls, initial);
    }
    std::array<int, kLevels>& count = counters.value();
    ++count[level];
    for (int deeper = level + 1; deeper < kLevels; ++deeper) {
        count[deeper] = deeper < list.levels.size() ? list.levels[deeper].start - 1 : 0;
    }

    const Level& def = list.levels[level];
    if (def.numberFormat == NumberFormat::None) {
        return {};
    }
    QString marker;
    if (def.numberFormat == NumberFormat::Bullet) {
        const int codePage = def.hasFont ? codePageOfFont(def.font) : 0;
        for (const QChar c : def.text) {
            if (!isControl(c)) {
                marker.append(def.hasFont ? QChar(symbolFontCodePoint(codePage, c.unicode()))
                                          : bulletWithoutFont(c));
            }
        }
        marker = marker.trimmed();
        bool visible = false;
        for (const QChar c : marker) {
            visible = visible || !c.isPunct();
        }
        return visible ? marker : QString(QChar(0x2022));
    }
    for (const QChar c : def.text) {
        const int placeholder = c.unicode();
        if (placeholder < kLevels) {
            const NumberFormat format = placeholder < list.levels.size()
                                            ? list.levels[placeholder].numberFormat
                                            : NumberFormat::Decimal;
            marker.append(formatNumber(count[placeholder], format));
        } else if (!isControl(c)) {
            marker.append(c);
        }
    }
    return marker.trimmed();
}

} // namespace folioneer::rtf
