// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "publish/flow_sink.h"

#include "publish/book.h"
#include "rtf/rtf_document_sink.h"
#include "rtf/rtf_list_markers.h"
#include "support/units.h"

#include <QBuffer>
#include <QImage>

#include <algorithm>

namespace folioneer::publish {

namespace {

Qt::Alignment alignmentOf(rtf::Alignment alignment)
{
    switch (alignment) {
    case rtf::Alignment::Left:
        break;
    case rtf::Alignment::Center:
        return Qt::AlignHCenter;
    case rtf::Alignment::Right:
        return Qt::AlignRight;
    case rtf::Alignment::Justify:
        return Qt::AlignJustify;
    }
    return Qt::AlignLeft;
}

// The document shows these underlines as a single line, the only kind a flow keeps.
bool singleUnderline(rtf::Underline underline)
{
    return underline == rtf::Underline::Single || underline == rtf::Underline::Double ||
           underline == rtf::Underline::Thick || underline == rtf::Underline::Words;
}

// Inserted text breaks the document's block at these.
bool breaksBlock(QChar c)
{
    const char16_t u = c.unicode();
    return u == u'\n' || u == u'\r' || u == QChar::ParagraphSeparator || u == 0xFDD0 || u == 0xFDD1;
}

// A block without a set direction takes that of its first strong character, left to right
// when it has none.
bool startsRightToLeft(QStringView text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        char32_t ucs4 = text[i].unicode();
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            ucs4 = QChar::surrogateToUcs4(text[i], text[i + 1]);
            ++i;
        }
        switch (QChar::direction(ucs4)) {
        case QChar::DirL:
            return false;
        case QChar::DirR:
        case QChar::DirAL:
            return true;
        default:
            break;
        }
    }
    return false;
}

} // namespace

const Run& FlowSink::lookOf(const rtf::CharFormat& format)
{
    if (const Run* known = m_looks.find(format, *m_tables)) {
        return *known;
    }
    Run run;
    const bool link = format.link >= 0 && format.link < m_tables->links.size();
    run.bold = format.bold;
    run.italic = format.italic;
    run.underline = singleUnderline(format.underline) && !link;
    run.strike = format.strike;
    run.pointSize = std::clamp(format.sizeHalfPoints / 2.0, 1.0, 1638.0);
    if (format.foreground > 0 && format.foreground < m_tables->colours.size() &&
        !m_tables->colours[format.foreground].automatic) {
        const QColor color(m_tables->colours[format.foreground].rgb);
        if (color != QColor(Qt::black)) {
            run.color = color;
        }
    }
    if (link) {
        run.href = xmlSafe(m_tables->links[format.link]);
    }
    return m_looks.add(format, std::move(run));
}

void FlowSink::startPendingBlock()
{
    m_blockPending = false;
}

void FlowSink::appendText(QStringView text, const rtf::CharFormat& format)
{
    startPendingBlock();
    if (!m_pendingText.isEmpty() && !(format == m_pendingFormat)) {
        flushText();
    }
    m_pendingFormat = format;
    m_pendingText.append(text);
}

// One insertion into the document: the text of one format between other events.
void FlowSink::flushText()
{
    if (m_pendingText.isEmpty()) {
        return;
    }
    // The document joins insertions of the same look into one fragment; a surrogate pair split
    // between two would be whole there and dropped here.
    if (m_pendingText.front().isLowSurrogate() || m_pendingText.back().isHighSurrogate() ||
        std::any_of(m_pendingText.cbegin(), m_pendingText.cend(), breaksBlock)) {
        m_exact = false;
    }
    m_blockText += m_pendingText;
    Run run = lookOf(m_pendingFormat);
    run.text = flowText(m_pendingText);
    m_pendingText.resize(0);
    if (run.text.isEmpty()) {
        return;
    }
    QList<Run>& runs = m_paragraph.runs;
    if (!runs.isEmpty() && runs.last().sameLook(run)) {
        runs.last().text += run.text;
    } else {
        runs.append(std::move(run));
    }
}

void FlowSink::text(QStringView text, const rtf::CharFormat& format)
{
    appendText(text, format);
}

void FlowSink::lineBreak(const rtf::CharFormat& format)
{
    const char16_t separator = QChar::LineSeparator;
    appendText(QStringView(&separator, 1), format);
}

void FlowSink::softHyphen(const rtf::CharFormat& format)
{
    const char16_t hyphen = 0xAD;
    appendText(QStringView(&hyphen, 1), format);
}

// What the list shows for its next item, as the document numbers it; null where this sink does
// not count as the document does (letters, Roman numerals).
QString FlowSink::nextMarker(const OpenList& list) const
{
    const QTextListFormat& format = list.format;
    if (format.hasProperty(rtf::kListMarkerTextProperty)) {
        return format.stringProperty(rtf::kListMarkerTextProperty);
    }
    switch (format.style()) {
    case QTextListFormat::ListDisc:
        return QString(QChar(0x2022));
    case QTextListFormat::ListCircle:
        return QString(QChar(0x25E6));
    case QTextListFormat::ListSquare:
        return QString(QChar(0x25AA));
    case QTextListFormat::ListDecimal:
        // The item's block holds no text yet, so it reads left to right.
        return format.numberPrefix() + QString::number(list.items + 1) + format.numberSuffix();
    default:
        break;
    }
    return {};
}

void FlowSink::listMarker(const rtf::ListMarker& marker, const rtf::CharFormat&)
{
    flushText();
    startPendingBlock();
    // A marker after text, or a second one, would number a block with a direction of its own or
    // move it between lists.
    if (m_blockInList || !m_blockText.isEmpty()) {
        m_exact = false;
    }
    m_blockInList = true;
    QList<OpenList>& open = m_lists[rtf::openListKey(marker)];
    qsizetype joined = -1;
    for (qsizetype i = open.size() - 1; i >= 0; --i) {
        const QString shown = nextMarker(open[i]);
        if (shown.isNull()) {
            m_exact = false;
        }
        if (shown == marker.text && rtf::declaresSameList(marker, open[i].format)) {
            open.move(i, open.size() - 1);
            joined = open.size() - 1;
            break;
        }
    }
    if (joined < 0) {
        QTextListFormat format =
            rtf::listFormatForMarker(marker.text, marker.numbering, marker.prefix, marker.suffix);
        format.setIndent(marker.level + 1);
        if (open.size() == rtf::kMaxOpenLists) {
            open.removeFirst();
        }
        open.append({m_listCount++, format, 0});
        joined = open.size() - 1;
    }
    OpenList& list = open[joined];
    ++list.items;
    m_paragraph.listLevel = std::max(1, list.format.indent());
    m_paragraph.ordered = list.format.style() <= QTextListFormat::ListDecimal;
    m_paragraph.listId = list.id;
}

void FlowSink::endBlock(const rtf::ParagraphFormat& format)
{
    m_paragraph.headingLevel = std::clamp(format.outlineLevel >= 0 ? format.outlineLevel + 1 : 0, 0, 6);
    m_paragraph.alignment = alignmentOf(format.alignment);
    m_paragraph.rightToLeft = startsRightToLeft(m_blockText);
    m_flow.blocks.append({std::exchange(m_paragraph, {}), {}});
    m_blockText.resize(0);
}

void FlowSink::paragraphEnd(const rtf::ParagraphFormat& format)
{
    flushText();
    startPendingBlock();
    endBlock(format);
    if (!m_blockInList) {
        // A paragraph outside any list ends the run of lists that items may join.
        m_lists.clear();
    }
    m_blockInList = false;
    m_blockPending = true;
}

void FlowSink::picture(const rtf::Picture& picture, const rtf::CharFormat& format)
{
    const QImage image = rtf::decodePicture(picture);
    if (image.isNull()) {
        return;
    }
    flushText();
    startPendingBlock();
    m_blockText += QChar(QChar::ObjectReplacementCharacter);
    Picture out;
    QBuffer png(&out.png);
    png.open(QIODevice::WriteOnly);
    if (!image.save(&png, "PNG")) {
        return;
    }
    const double width =
        (picture.widthGoal > 0 ? picture.widthGoal / kTwipsPerPixel : image.width()) * picture.scaleX / 100.0;
    const double height = (picture.heightGoal > 0 ? picture.heightGoal / kTwipsPerPixel : image.height()) *
                          picture.scaleY / 100.0;
    out.size = QSizeF(width > 0 ? width : image.width(), height > 0 ? height : image.height());
    m_flow.pictures.append(out);
    Run run = lookOf(format);
    run.picture = int(m_flow.pictures.size() - 1);
    m_paragraph.runs.append(run);
}

void FlowSink::finish(const rtf::ParagraphFormat& lastParagraph, bool endedWithParagraphMark)
{
    flushText();
    if (!endedWithParagraphMark) {
        startPendingBlock();
        endBlock(lastParagraph);
    } else if (!m_blockPending) {
        // A block the document began and never ended keeps the look it began with.
        m_exact = false;
    }
    dropBodySize(m_flow.blocks);
}

} // namespace folioneer::publish
