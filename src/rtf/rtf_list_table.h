// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

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
        int numberFormat = 0; ///< \levelnfc: 0 decimal, 1/2 Roman, 3/4 letters, 23 bullet, 255 none
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
    void setNumberFormat(int format);
    void setStart(int start);
    void setFont(int font);
    /// The raw \leveltext (length character first).
    void setLevelText(const QString& raw);
    void beginOverride();
    void setOverrideListId(int id);
    void setOverrideNumber(int ls);

    /// `value` written in a \levelnfc number format (decimal for formats not listed above).
    static QString formatNumber(int value, int format);

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
