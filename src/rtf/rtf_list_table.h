// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "rtf/rtf_number_format.h"

#include <QHash>
#include <QList>
#include <QString>

#include <array>
#include <functional>

namespace folioneer::rtf {

// The list definitions of a document (\listtable and \listoverridetable) and the running item
// numbers of each list, used to show a marker for list paragraphs that carry no \listtext.
class ListTable {
public:
    static constexpr int kLevels = 9;

    struct Level {
        NumberFormat numberFormat = NumberFormat::Decimal;
        int start = 1;
        QString text; ///< \leveltext after its length: characters below 10 stand for level numbers
        bool hasFont = false;
        int font = 0; ///< the level's \f: the font its bullet is drawn in
    };

    /// The code page of a font number (see rtf_code_pages.h): how a level's bullet reads.
    using FontCodePage = std::function<int(int font)>;

    explicit ListTable(int maxLists = 4096) : m_maxLists(maxLists) {}

    void beginList();
    void beginLevel();
    void setListId(int id);
    void setNumberFormat(NumberFormat format);
    void setStart(int start);
    void setFont(int font);
    /// The raw \leveltext (length character first).
    void setLevelText(const QString& raw);
    void beginOverride();
    void setOverrideListId(int id);
    void setOverrideNumber(int ls);

    /// The marker of the next item of list override `ls` at `level`, advancing the numbering;
    /// empty when the list is unknown or its level shows no marker.
    QString nextMarker(int ls, int level, const FontCodePage& codePageOfFont);

private:
    struct List {
        int id = 0;
        QList<Level> levels;
    };
    Level* currentLevel();

    int m_maxLists;
    QList<List> m_lists;
    QHash<int, int> m_listIndexById;
    QHash<int, int> m_listIdByOverride;
    int m_overrideListId = 0;
    QHash<int, std::array<int, kLevels>> m_counters;
};

} // namespace folioneer::rtf
