// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "rtf/rtf_interpreter.h"

#include <QStringView>

namespace folioneer::rtf {

// The document's font table ({\fonttbl}) as it is read, and the code page each font's bytes are
// decoded with: the font's \cpg, else the one its \fcharset implies, else the document's
// \ansicpg. The Symbol and Wingdings fonts have encodings of their own (rtf_code_pages.h), also
// when the table omits their \fcharset2. The fonts land in the DocumentTables the sinks see.
class FontTable {
public:
    FontTable(DocumentTables& tables, int maxFonts) : m_tables(tables), m_maxFonts(maxFonts) {}

    /// {\fonttbl begins: no entry is being read until its \f.
    void beginTable();
    /// \fN inside the table: entry N begins (replacing an earlier one of the same number).
    void beginFont(int number);
    /// Text inside the table: the current entry's name, up to its ';'.
    void appendText(QStringView text);
    void setCharset(int charset);
    void setCodePage(int codePage);
    void setFamily(FontFamily family);

    void setAnsiCodePage(int codePage);
    void setDefaultFont(int number);

    /// The code page text in font `font` (a CharFormat's font, kDefaultFont included) is
    /// decoded with. Cached for the last font asked about.
    int codePageOf(int font);
    /// The code page of font table entry `number` (the document's when there is no such entry).
    int codePageOfEntry(int number) const;

    /// Forgets the cached code page: the table or the document's code page changed.
    void invalidate() { m_cached = false; }

private:
    FontInfo* currentFont();

    DocumentTables& m_tables;
    int m_maxFonts;
    int m_currentFont = -1; ///< the entry being read; INT_MIN when none
    bool m_nameDone = false;
    int m_ansiCodePage = 1252;
    bool m_cached = false;
    int m_cachedFont = 0;
    int m_cachedCodePage = 1252;
};

} // namespace folioneer::rtf
