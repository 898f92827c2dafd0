// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "paste/document_builder.h"

#include <QBuffer>
#include <QImage>
#include <QImageReader>
#include <QTextDocument>
#include <QTextList>
#include <QTextTable>
#include <QUrl>

#include <algorithm>
#include <array>

namespace folioneer::paste {

namespace {

// Heading sizes relative to the editor's font, level 1 to 6.
constexpr std::array<double, 6> kHeadingScale{2.0, 1.6, 1.4, 1.25, 1.15, 1.1};
// All pictures of one paste together.
constexpr qsizetype kMaxPasteImageBytes = 4 * kMaxImageBytes;

const QString kMonospaceFamily = QStringLiteral("Courier New");

bool isCollapsibleSpace(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\f';
}

bool isKeptLinkTarget(const QString& href)
{
    const QString scheme = QUrl(href).scheme().toLower();
    return scheme == u"http" || scheme == u"https" || scheme == u"mailto";
}

// Picture formats decoded from pasted data: raster formats only. A vector picture may name
// other files, which must never be read.
bool isAllowedImageFormat(const QByteArray& format)
{
    static const QList<QByteArray> allowed{"png", "jpeg", "jpg", "gif", "bmp", "webp"};
    return allowed.contains(format.toLower());
}

QImage decodeDataUri(const QString& source)
{
    const qsizetype comma = source.indexOf(u',');
    if (comma < 0) {
        return {};
    }
    const QString header = source.left(comma).toLower();
    if (!header.startsWith(u"data:image/") || !header.endsWith(u";base64")) {
        return {};
    }
    const QStringView payload = QStringView(source).mid(comma + 1);
    if (payload.size() / 4 * 3 > kMaxImageBytes) {
        return {};
    }
    const auto decoded =
        QByteArray::fromBase64Encoding(payload.toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
    if (!decoded) {
        return {};
    }
    QByteArray bytes = *decoded;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    if (!isAllowedImageFormat(reader.format())) {
        return {};
    }
    const QSize size = reader.size();
    if (!size.isValid() || size.width() > kMaxImageSide || size.height() > kMaxImageSide) {
        return {};
    }
    return reader.read();
}

} // namespace

QString pastedImageName(int number)
{
    return QStringLiteral("pasted-image-%1").arg(number);
}

DocumentBuilder::DocumentBuilder(QTextDocument& document, const PasteOptions& options)
    : m_document(document), m_options(options), m_cursor(&document), m_inlineCounts(7, 0)
{
    m_cursor.movePosition(QTextCursor::End);
    m_blockUnused = m_cursor.block().length() <= 1;
    // A pasted document is built once; recording every step for undo would cost most of the time.
    m_undoWasEnabled = document.isUndoRedoEnabled();
    document.setUndoRedoEnabled(false);
    // One edit for the whole build: the document tells its listeners once, at the end.
    m_cursor.beginEditBlock();
}

void DocumentBuilder::beginParagraph()
{
    closeBlock();
}

void DocumentBuilder::endParagraph()
{
    closeBlock();
}

void DocumentBuilder::beginHeading(int level)
{
    closeBlock();
    m_headingLevel = std::clamp(level, 1, 6);
}

void DocumentBuilder::endHeading()
{
    closeBlock();
    m_headingLevel = 0;
}

void DocumentBuilder::beginCodeBlock()
{
    closeBlock();
    ++m_codeDepth;
}

void DocumentBuilder::endCodeBlock()
{
    closeBlock();
    m_codeDepth = std::max(0, m_codeDepth - 1);
}

void DocumentBuilder::beginQuote()
{
    closeBlock();
    ++m_quoteDepth;
}

void DocumentBuilder::endQuote()
{
    closeBlock();
    m_quoteDepth = std::max(0, m_quoteDepth - 1);
}

void DocumentBuilder::beginList(bool ordered, int start)
{
    closeBlock();
    m_lists.append({nullptr, ordered, start, false});
}

void DocumentBuilder::endList()
{
    closeBlock();
    if (!m_lists.isEmpty()) {
        const ListLevel level = m_lists.takeLast();
        const int depth = std::min(static_cast<int>(m_lists.size()) + 1, kMaxListDepth);
        if (level.ordered && level.list) {
            m_lastOrdered.insert(depth, level.list);
        }
    }
}

void DocumentBuilder::beginListItem()
{
    closeBlock();
    if (m_lists.isEmpty()) {
        // An item outside any list (malformed markup) is an item of an implied bulleted list.
        m_lists.append({nullptr, false, 1, false});
    }
    m_lists.last().itemPending = true;
}

void DocumentBuilder::endListItem()
{
    closeBlock();
    if (!m_lists.isEmpty()) {
        m_lists.last().itemPending = false;
    }
}

void DocumentBuilder::beginTable()
{
    closeBlock();
    if (!m_tables.isEmpty()) {
        m_tables.append({nullptr, -1, -1, true});
        return;
    }
    QTextTableFormat format;
    format.setBorder(1);
    format.setCellPadding(3);
    format.setCellSpacing(0);
    m_tables.append({m_cursor.insertTable(1, 1, format), -1, -1, false});
    m_blockUnused = true;
}

void DocumentBuilder::beginRow()
{
    if (m_tables.isEmpty()) {
        return;
    }
    TableLevel& level = m_tables.last();
    ++level.row;
    level.column = -1;
    if (level.flattened) {
        closeBlock();
        return;
    }
    if (level.row >= level.table->rows()) {
        level.table->appendRows(1);
    }
}

void DocumentBuilder::beginCell(bool header)
{
    if (m_tables.isEmpty()) {
        closeBlock();
        return;
    }
    if (m_tables.last().row < 0) {
        beginRow();
    }
    TableLevel& level = m_tables.last();
    ++level.column;
    if (level.flattened) {
        if (level.column > 0 && m_blockOpen && !m_lastWasSpace) {
            insertText(QStringLiteral(" "));
            m_lastWasSpace = true;
        }
        return;
    }
    closeBlock();
    if (level.column >= level.table->columns()) {
        level.table->appendColumns(1);
    }
    m_cursor = level.table->cellAt(level.row, level.column).firstCursorPosition();
    m_blockUnused = true;
    if (header) {
        ++m_inlineCounts[static_cast<int>(Inline::Bold)];
    }
    m_headerCell = header;
}

void DocumentBuilder::endCell()
{
    if (m_tables.isEmpty() || m_tables.last().flattened) {
        return;
    }
    closeBlock();
    if (m_headerCell) {
        --m_inlineCounts[static_cast<int>(Inline::Bold)];
        m_headerCell = false;
    }
}

void DocumentBuilder::endRow() {}

void DocumentBuilder::endTable()
{
    if (m_tables.isEmpty()) {
        return;
    }
    closeBlock();
    const TableLevel level = m_tables.takeLast();
    if (level.flattened) {
        return;
    }
    if (m_headerCell) {
        --m_inlineCounts[static_cast<int>(Inline::Bold)];
        m_headerCell = false;
    }
    // A table is always followed by a block; the text after the table goes there.
    m_cursor = level.table->lastCursorPosition();
    m_cursor.movePosition(QTextCursor::NextBlock);
    m_blockUnused = m_cursor.block().length() <= 1;
}

void DocumentBuilder::beginInline(Inline kind)
{
    ++m_inlineCounts[static_cast<int>(kind)];
}

void DocumentBuilder::endInline(Inline kind)
{
    int& count = m_inlineCounts[static_cast<int>(kind)];
    count = std::max(0, count - 1);
}

void DocumentBuilder::beginLink(const QString& href)
{
    if (m_linkDepth++ == 0) {
        m_href = isKeptLinkTarget(href) ? href : QString();
    }
}

void DocumentBuilder::endLink()
{
    if (m_linkDepth > 0 && --m_linkDepth == 0) {
        m_href.clear();
    }
}

void DocumentBuilder::text(QStringView text, bool collapse)
{
    if (inCode()) {
        // Code keeps its blanks; each line is a paragraph of its own. A line break at the very
        // end of the code waits, so that no empty paragraph follows the code.
        qsizetype start = 0;
        while (start <= text.size()) {
            const qsizetype newline = text.indexOf(u'\n', start);
            const qsizetype end = newline < 0 ? text.size() : newline;
            QString line = text.mid(start, end - start).toString();
            line.remove(u'\r');
            if (!line.isEmpty() || (m_pendingCodeBreaks > 0 && newline >= 0)) {
                const int breaks = m_pendingCodeBreaks;
                for (int i = 0; i < breaks; ++i) {
                    ensureBlock();
                    closeBlock();
                }
                ensureBlock();
                insertText(line);
            }
            if (newline < 0) {
                break;
            }
            ++m_pendingCodeBreaks;
            start = newline + 1;
        }
        return;
    }
    if (!collapse) {
        if (!text.isEmpty()) {
            ensureBlock();
            insertText(text.toString());
            m_lastWasSpace = false;
            m_trailingSpace = false;
        }
        return;
    }
    // HTML's white space: runs collapse to one blank, none at the start of a paragraph, and
    // a blank left at its end is taken away when the paragraph closes.
    if (!m_blockOpen) {
        if (std::all_of(text.begin(), text.end(), isCollapsibleSpace)) {
            return;
        }
        ensureBlock();
    }
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (isCollapsibleSpace(c)) {
            if (!m_lastWasSpace) {
                out += u' ';
                m_lastWasSpace = true;
                m_trailingSpace = true;
            }
            continue;
        }
        out += c;
        m_lastWasSpace = false;
        m_trailingSpace = false;
    }
    if (!out.isEmpty()) {
        insertText(out);
    }
}

void DocumentBuilder::lineBreak()
{
    ensureBlock();
    dropTrailingSpace();
    insertText(QString(QChar(QChar::LineSeparator)));
    m_lastWasSpace = true;
}

void DocumentBuilder::image(const QString& source)
{
    if (!source.startsWith(u"data:", Qt::CaseInsensitive)) {
        return; // files, paths and web addresses are never read
    }
    if (m_imageBytes + source.size() / 4 * 3 > kMaxPasteImageBytes) {
        return;
    }
    const QImage picture = decodeDataUri(source);
    if (picture.isNull()) {
        return;
    }
    m_imageBytes += source.size() / 4 * 3;
    const QString name = pastedImageName(++m_images);
    m_document.addResource(QTextDocument::ImageResource, QUrl(name), picture);
    ensureBlock();
    flushText();
    QTextImageFormat format;
    format.setName(name);
    format.setWidth(picture.width());
    format.setHeight(picture.height());
    m_cursor.insertImage(format);
    m_lastWasSpace = false;
    m_trailingSpace = false;
}

void DocumentBuilder::finish()
{
    closeBlock();
    while (!m_tables.isEmpty()) {
        endTable();
    }
    m_cursor.endEditBlock();
    m_document.setUndoRedoEnabled(m_undoWasEnabled);
}

void DocumentBuilder::ensureBlock()
{
    if (m_blockOpen) {
        return;
    }
    const int listDepth = std::min(static_cast<int>(m_lists.size()), kMaxListDepth);
    QTextBlockFormat blockFormat;
    QTextCharFormat blockCharFormat;
    if (m_headingLevel > 0) {
        blockFormat.setHeadingLevel(m_headingLevel);
        blockCharFormat = currentCharFormat();
    }
    if (inCode()) {
        blockFormat.setNonBreakableLines(true);
    }
    // A list item's indentation is its list's.
    const bool startsItem = !m_lists.isEmpty() && m_lists.last().itemPending;
    blockFormat.setIndent(startsItem ? 0 : listDepth + m_quoteDepth);
    if (m_blockUnused) {
        m_cursor.setBlockFormat(blockFormat);
        m_cursor.setBlockCharFormat(blockCharFormat);
    } else {
        m_cursor.insertBlock(blockFormat, blockCharFormat);
    }
    if (startsItem) {
        ListLevel& level = m_lists.last();
        level.itemPending = false;
        // Qt's lists cannot start at another number than 1; a numbered list that goes on where
        // an earlier one of the same level stopped (a list broken by code) continues it.
        if (!level.list && level.ordered && level.start > 1 && m_lastOrdered.contains(listDepth)) {
            QTextList* earlier = m_lastOrdered.value(listDepth);
            if (earlier && earlier->count() + 1 == level.start) {
                level.list = earlier;
            }
        }
        if (level.list) {
            level.list->add(m_cursor.block());
        } else {
            QTextListFormat listFormat;
            if (level.ordered) {
                listFormat.setStyle(QTextListFormat::ListDecimal);
            } else {
                static constexpr std::array<QTextListFormat::Style, 3> bullets{
                    QTextListFormat::ListDisc, QTextListFormat::ListCircle, QTextListFormat::ListSquare};
                listFormat.setStyle(bullets[(listDepth - 1) % 3]);
            }
            listFormat.setIndent(listDepth + m_quoteDepth);
            level.list = m_cursor.createList(listFormat);
        }
    }
    m_blockOpen = true;
    m_blockUnused = false;
    m_lastWasSpace = true;
    m_trailingSpace = false;
}

void DocumentBuilder::closeBlock()
{
    if (m_blockOpen) {
        dropTrailingSpace();
        flushText();
    }
    m_blockOpen = false;
    m_lastWasSpace = true;
    m_pendingCodeBreaks = 0;
}

void DocumentBuilder::dropTrailingSpace()
{
    if (m_trailingSpace) {
        if (m_pendingText.isEmpty()) {
            m_cursor.deletePreviousChar();
        } else {
            m_pendingText.chop(1);
        }
        m_trailingSpace = false;
    }
}

void DocumentBuilder::flushText()
{
    if (!m_pendingText.isEmpty()) {
        m_cursor.insertText(m_pendingText, m_pendingFormat);
        m_pendingText.resize(0);
    }
}

QTextCharFormat DocumentBuilder::currentCharFormat() const
{
    QTextCharFormat format;
    const auto active = [this](Inline kind) { return m_inlineCounts[static_cast<int>(kind)] > 0; };
    if (m_headingLevel > 0) {
        format.setFontWeight(QFont::Bold);
        format.setFontPointSize(m_options.basePointSize * kHeadingScale[m_headingLevel - 1]);
    }
    if (active(Inline::Bold)) {
        format.setFontWeight(QFont::Bold);
    }
    if (active(Inline::Italic)) {
        format.setFontItalic(true);
    }
    if (active(Inline::Strike)) {
        format.setFontStrikeOut(true);
    }
    if (active(Inline::Underline) || !m_href.isEmpty()) {
        format.setFontUnderline(true);
    }
    if (active(Inline::Code) || inCode()) {
        format.setFontFamilies(QStringList{kMonospaceFamily});
        format.setFontFixedPitch(true);
    }
    if (active(Inline::Superscript)) {
        format.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
    } else if (active(Inline::Subscript)) {
        format.setVerticalAlignment(QTextCharFormat::AlignSubScript);
    }
    if (!m_href.isEmpty()) {
        format.setAnchor(true);
        format.setAnchorHref(m_href);
    }
    return format;
}

void DocumentBuilder::insertText(const QString& text)
{
    // Text is gathered into runs of one format; a run is inserted as a whole.
    const QTextCharFormat format = currentCharFormat();
    if (!m_pendingText.isEmpty() && format != m_pendingFormat) {
        flushText();
    }
    m_pendingFormat = format;
    m_pendingText += text;
}

} // namespace folioneer::paste
