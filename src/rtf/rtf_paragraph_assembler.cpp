// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "rtf/rtf_paragraph_assembler.h"

#include "rtf/rtf_font_table.h"
#include "rtf/rtf_legacy_numbering.h"
#include "rtf/rtf_list_table.h"

#include <algorithm>

namespace folioneer::rtf {

namespace {

// A list marker as it shows before its item's text: without the blanks around it, and without
// TABs, which only separate a marker from the text.
QString shownMarker(QString marker)
{
    marker = marker.trimmed();
    marker.remove(u'\t');
    return marker;
}

} // namespace

ParagraphAssembler::ParagraphAssembler(Sink& sink, const std::vector<GroupState>& groups, ListTable& lists,
                                       LegacyNumbering& legacy, FontTable& fonts)
    : m_sink(sink), m_groups(groups), m_lists(lists), m_legacy(legacy), m_fonts(fonts)
{
}

void ParagraphAssembler::begin()
{
    m_wantsFormats = m_sink.wantsFormats();
    m_text.reserve(1024);
}

void ParagraphAssembler::text(QStringView text)
{
    if (!m_cellHasContent && m_pendingTabs == 0 && m_cellSeparator == CellSeparator::None && !m_hasMarker &&
        std::all_of(text.begin(), text.end(), [](QChar c) { return c == u' '; })) {
        // Spaces that open a paragraph wait: before a list marker they are layout noise.
        if (m_leadingSpaces.isEmpty()) {
            m_leadingSpacesFormats.clear();
        }
        if (m_leadingSpacesFormats.empty() || !(m_leadingSpacesFormats.back().format == state().chr)) {
            m_leadingSpacesFormats.push_back({m_leadingSpaces.size(), state().chr});
        }
        m_leadingSpaces.append(text);
        return;
    }
    if (m_pendingTabs > 0 || m_cellSeparator != CellSeparator::None || m_hasMarker || m_endedWithParagraph ||
        !m_cellHasContent) {
        beginContent();
    }
    appendText(text, state().chr);
}

void ParagraphAssembler::appendText(QStringView text, const CharFormat& format)
{
    if (m_wantsFormats && !(format == m_textFormat)) {
        flushText();
        m_textFormat = format;
    }
    m_text.append(text);
}

void ParagraphAssembler::flushText()
{
    if (m_text.isEmpty()) {
        return;
    }
    m_sink.text(m_text, m_wantsFormats ? m_textFormat : state().chr);
    m_text.resize(0);
}

void ParagraphAssembler::beginContent()
{
    separateCells();
    m_cellHasContent = true;
    m_endedWithParagraph = false;
    listParagraphStarts();
    if (m_hasMarker) {
        emitPendingMarker();
        m_leadingSpaces.clear();
    }
    if (!m_leadingSpaces.isEmpty()) {
        // Each stretch of waiting spaces keeps the format of the group it was written in.
        for (std::size_t i = 0; i < m_leadingSpacesFormats.size(); ++i) {
            const LeadingSpaces& stretch = m_leadingSpacesFormats[i];
            const qsizetype end = i + 1 < m_leadingSpacesFormats.size() ? m_leadingSpacesFormats[i + 1].start
                                                                        : m_leadingSpaces.size();
            appendText(QStringView(m_leadingSpaces).sliced(stretch.start, end - stretch.start),
                       stretch.format);
        }
        m_leadingSpaces.clear();
        m_leadingSpacesFormats.clear();
    }
    m_blockHasContent = true;
}

void ParagraphAssembler::separateCells()
{
    const int level = state().para.inTable ? std::max(1, state().para.tableLevel) : 0;
    if ((m_pendingTabs > 0 || m_cellSeparator != CellSeparator::None) && level == 0) {
        // The text left a table whose row never ended: the row ends here.
        m_pendingTabs = 0;
        m_cellSeparator = CellSeparator::Break;
        m_cellSeparatorLevel = 0;
    }
    if (m_pendingTabs > 0) {
        for (int i = 0; i < m_pendingTabs; ++i) {
            m_text.append(u'\t');
        }
        m_pendingTabs = 0;
        m_cellSeparator = CellSeparator::None;
        m_blockHasContent = true;
    } else if (m_cellSeparator != CellSeparator::None) {
        if (m_cellSeparator == CellSeparator::Break || level != m_cellSeparatorLevel) {
            flushText();
            m_sink.paragraphEnd(state().para);
            m_blockHasContent = false;
            m_blockHasMarker = false;
            m_paragraphListDone = false;
        } else {
            m_text.append(u' ');
            m_blockHasContent = true;
        }
        m_cellSeparator = CellSeparator::None;
    }
}

void ParagraphAssembler::listParagraphStarts()
{
    if (m_paragraphListDone) {
        return;
    }
    m_paragraphListDone = true;
    const ParagraphFormat& para = state().para;
    if (state().destination != Destination::Body) {
        return;
    }
    QString marker;
    if (para.listOverride <= 0 && para.legacyList) {
        marker = m_legacy.itemStarts();
    } else if (para.listOverride > 0) {
        // The numbering advances for every item, also those whose marker the document spells out.
        marker = shownMarker(m_lists.nextMarker(para.listOverride, para.listLevel,
                                                [this](int font) { return m_fonts.codePageOfEntry(font); }));
    }
    if (!m_hasMarker && !m_markerSeen && !marker.isEmpty()) {
        m_marker = marker;
        m_hasMarker = true;
    }
}

void ParagraphAssembler::paragraphDone()
{
    m_legacy.paragraphDone();
    m_paragraphListDone = false;
    m_markerSeen = false;
    m_hasMarker = false;
}

void ParagraphAssembler::emitPendingMarker()
{
    if (!m_hasMarker) {
        return;
    }
    m_hasMarker = false;
    // A paragraph shows one marker. One that already has its marker and meets another before any
    // content (a cell of only a marker, then the next cell's) treats that one as a marker after
    // content; in a row, the separators of the cells before it come first.
    if (m_blockHasMarker && !m_blockHasContent && state().para.inTable) {
        separateCells();
    }
    if (m_blockHasContent || m_blockHasMarker) {
        // A marker shows only at the start of a paragraph: every sink puts it there. In a table
        // the paragraphs of a row are joined into one, so a list item's marker that does not
        // open the row stays in the text, with the TAB that follows a marker.
        if (state().para.inTable) {
            appendText(m_marker, state().chr);
            m_text.append(u'\t');
            m_endedWithParagraph = false;
        }
        return;
    }
    flushText();
    const ParagraphFormat& para = state().para;
    ListMarker marker;
    marker.text = m_marker;
    marker.listOverride = para.listOverride;
    marker.level = para.listLevel;
    if (para.listOverride <= 0 && para.legacyList) {
        marker.numbering = m_legacy.declaredFormat();
        marker.prefix = m_legacy.declaredPrefix();
        marker.suffix = m_legacy.declaredSuffix();
    }
    m_sink.listMarker(marker, state().chr);
    m_blockHasMarker = true;
    m_endedWithParagraph = false;
}

void ParagraphAssembler::lineBreak()
{
    beginContent();
    flushText();
    m_sink.lineBreak(state().chr);
}

void ParagraphAssembler::softHyphen()
{
    beginContent();
    flushText();
    m_sink.softHyphen(state().chr);
}

void ParagraphAssembler::paragraphBreak()
{
    const GroupState& s = state();
    if (!m_leadingSpaces.isEmpty()) {
        beginContent();
    }
    if (s.para.inTable) {
        if (m_cellHasContent && m_cellSeparator == CellSeparator::None) {
            m_cellSeparator = CellSeparator::Space;
            m_cellSeparatorLevel = std::max(1, s.para.tableLevel);
        }
        paragraphDone(); // the cell's next paragraph numbers and shows its own list marker
        return;
    }
    listParagraphStarts();
    emitPendingMarker();
    m_pendingTabs = 0;
    m_cellSeparator = CellSeparator::None;
    flushText();
    m_sink.paragraphEnd(s.para);
    m_blockHasContent = false;
    m_blockHasMarker = false;
    m_endedWithParagraph = true;
    m_cellHasContent = false;
    paragraphDone();
}

bool ParagraphAssembler::paragraphOpen() const
{
    // Right after a paragraph mark (LibreOffice's "\par \sect", Word's "\page \par") none is.
    return m_cellHasContent || !m_leadingSpaces.isEmpty() || state().para.inTable;
}

void ParagraphAssembler::cellEnd()
{
    if (!m_leadingSpaces.isEmpty()) {
        beginContent();
    }
    emitPendingMarker();
    m_cellSeparator = CellSeparator::None;
    ++m_pendingTabs;
    m_cellHasContent = false;
    paragraphDone();
}

void ParagraphAssembler::rowEnd(bool nested)
{
    m_leadingSpaces.clear();
    m_pendingTabs = 0;
    m_cellHasContent = false;
    paragraphDone();
    if (nested) {
        m_cellSeparator = CellSeparator::Break;
        return;
    }
    m_cellSeparator = CellSeparator::None;
    flushText();
    m_sink.paragraphEnd(state().para);
    m_blockHasContent = false;
    m_blockHasMarker = false;
    m_endedWithParagraph = true;
}

void ParagraphAssembler::pictureSeen()
{
    // A picture is content: what waits for the paragraph's content (its marker, the spaces
    // before it) goes before it, or the marker would count as one after content and the spaces
    // would be dropped.
    beginContent();
    // A paragraph holding only an image keeps its paragraph mark in every sink.
    m_endedWithParagraph = false;
    m_cellHasContent = true;
    m_blockHasContent = true;
}

void ParagraphAssembler::picture(const Picture& picture, const CharFormat& format)
{
    flushText(); // the text before the picture goes first
    m_sink.picture(picture, format);
}

void ParagraphAssembler::beginMarker()
{
    m_markerText.clear();
    m_markerUndecodable = false;
}

void ParagraphAssembler::endMarker(bool shown)
{
    const QString marker = shownMarker(m_markerText);
    // U+FFFD from bytes the code page cannot decode; one written as \u65533 is a character.
    const bool undecodable = marker.isEmpty() || m_markerUndecodable;
    if (shown) {
        if (!undecodable) {
            m_marker = marker;
            m_hasMarker = true;
            m_leadingSpaces.clear();
        }
        // An explicitly empty marker shows nothing; one whose bytes did not decode leaves the
        // marker to the list definition.
        m_markerSeen = !(undecodable && m_markerHadBytes);
    }
    m_markerText.clear();
    m_markerHadBytes = false;
    m_markerUndecodable = false;
}

void ParagraphAssembler::endOfInput()
{
    if (!m_leadingSpaces.isEmpty()) {
        beginContent();
    }
}

void ParagraphAssembler::finish(const ParagraphFormat& lastParagraph)
{
    emitPendingMarker();
    flushText();
    m_sink.finish(lastParagraph, m_endedWithParagraph);
}

} // namespace folioneer::rtf
