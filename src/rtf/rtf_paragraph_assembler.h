// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "rtf/rtf_group_state.h"
#include "rtf/rtf_interpreter.h"

#include <QString>
#include <QStringView>

#include <vector>

namespace folioneer::rtf {

class FontTable;
class LegacyNumbering;
class ListTable;

// Turns the visible text of the body into the events a Sink sees: paragraphs, list markers and
// flattened tables. It owns the paragraph, list-marker and table state, and these rules:
// - Paragraphs. Text collects until a paragraph mark; a sink gets it in runs of one character
//   format (when it wants formats) and then paragraphEnd with the paragraph's properties. A
//   paragraph mark right at the end of the document makes no further empty paragraph.
// - List markers. A paragraph's marker is the one its \listtext (or \pntext) spells; without
//   one, the list table's (\ls) or the legacy numbering's (\pn) marker. The numbering advances
//   for every item, also those whose marker the document spells out. An explicitly empty
//   \listtext shows nothing; one whose bytes did not decode leaves the marker to the
//   definition. A marker shows only at the start of a paragraph, before any text.
// - Leading spaces. Spaces that open a paragraph wait: before a list marker they are layout and
//   are dropped; before anything else they are text, each stretch in its own format.
// - Tables. Cells become TABs and rows paragraphs. The paragraphs of one cell are joined by a
//   space, and nested tables' rows by a paragraph break. What separates cells is written only
//   when more content follows, so rows get no trailing TAB and cells no trailing space. Text
//   after a row that never ended ends that row. A list item's marker inside a row that is not at
//   the row's start stays in the text, followed by a TAB, as markers are.
// The interpreter resolves a pending high surrogate before it calls any of these.
class ParagraphAssembler {
public:
    ParagraphAssembler(Sink& sink, const std::vector<GroupState>& groups, ListTable& lists,
                       LegacyNumbering& legacy, FontTable& fonts);

    void begin();

    /// Visible text of the body, in the current group's format.
    void text(QStringView text);
    void lineBreak();
    void softHyphen();
    void paragraphBreak();
    /// Whether a paragraph is open: \page, \sect and \column end the paragraph they are in,
    /// but make no empty one right after a paragraph mark.
    bool paragraphOpen() const;
    void cellEnd();
    void rowEnd(bool nested);

    /// A picture in the body: content even when its data is not read.
    void pictureSeen();
    void picture(const Picture& picture, const CharFormat& format);

    /// The \listtext destination: its text and whether bytes in it did not decode.
    void beginMarker();
    void appendMarkerText(QStringView text) { m_markerText.append(text); }
    void markerHadBytes() { m_markerHadBytes = true; }
    void markerUndecodable() { m_markerUndecodable = true; }
    /// The \listtext group closed; `shown` when it belongs to the body and is not hidden.
    void endMarker(bool shown);

    /// The input ended: spaces that wait are text after all.
    void endOfInput();
    /// The document's groups are closed: what waits is delivered and the sink finishes.
    void finish(const ParagraphFormat& lastParagraph);

private:
    enum class CellSeparator : std::uint8_t { None, Space, Break };
    /// Where each stretch of m_leadingSpaces with one character format starts.
    struct LeadingSpaces {
        qsizetype start = 0;
        CharFormat format;
    };

    const GroupState& state() const { return m_groups.back(); }
    void beginContent();
    /// Writes what separates the cells before new content of a row: pending TABs, the space
    /// between a cell's paragraphs, or the end of a row that never ended.
    void separateCells();
    void flushText();
    void appendText(QStringView text, const CharFormat& format);
    void listParagraphStarts();
    void emitPendingMarker();
    void paragraphDone();

    Sink& m_sink;
    const std::vector<GroupState>& m_groups;
    ListTable& m_lists;
    LegacyNumbering& m_legacy;
    FontTable& m_fonts;
    bool m_wantsFormats = false;

    QString m_text; ///< text of the current run, not yet given to the sink
    CharFormat m_textFormat;

    // The marker: the \listtext being read, then the marker waiting for the paragraph's content.
    QString m_markerText;
    bool m_markerHadBytes = false;
    bool m_markerUndecodable = false; ///< some of the marker's bytes did not decode
    QString m_marker;
    bool m_hasMarker = false;         ///< m_marker waits to be shown
    bool m_markerSeen = false;        ///< this paragraph's \listtext was read (even if empty)
    bool m_paragraphListDone = false; ///< this paragraph's list numbering has advanced

    QString m_leadingSpaces;
    std::vector<LeadingSpaces> m_leadingSpacesFormats;

    int m_pendingTabs = 0; ///< cell ends not yet written
    CellSeparator m_cellSeparator = CellSeparator::None;
    int m_cellSeparatorLevel = 0;
    bool m_cellHasContent = false;     ///< the current cell (or paragraph) holds something
    bool m_endedWithParagraph = false; ///< nothing came since the last paragraph end
    bool m_blockHasContent = false;    ///< the sinks' current paragraph holds something
    bool m_blockHasMarker = false;     ///< the sinks' current paragraph has its list marker
};

} // namespace folioneer::rtf
