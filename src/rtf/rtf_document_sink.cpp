// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "rtf/rtf_document_sink.h"

#include "rtf/rtf.h"
#include "rtf/rtf_list_markers.h"
#include "support/units.h"

#include <QBuffer>
#include <QFont>
#include <QImage>
#include <QImageReader>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextImageFormat>
#include <QTextList>
#include <QUrl>

#include <algorithm>

namespace folioneer::rtf {

namespace {

// Pictures larger than this are refused before they are decoded.
constexpr qint64 kMaxImagePixels = 64LL * 1024 * 1024;
constexpr int kMaxImageSide = 32768;

QTextCharFormat::UnderlineStyle underlineStyle(Underline underline)
{
    switch (underline) {
    case Underline::None:
        return QTextCharFormat::NoUnderline;
    case Underline::Dotted:
        return QTextCharFormat::DotLine;
    case Underline::Dash:
        return QTextCharFormat::DashUnderline;
    case Underline::DashDot:
        return QTextCharFormat::DashDotLine;
    case Underline::DashDotDot:
        return QTextCharFormat::DashDotDotLine;
    case Underline::Wave:
        return QTextCharFormat::WaveUnderline;
    case Underline::Single:
    case Underline::Double:
    case Underline::Thick:
    case Underline::Words:
        break;
    }
    return QTextCharFormat::SingleUnderline;
}

QFont::StyleHint styleHint(FontFamily family)
{
    switch (family) {
    case FontFamily::Roman:
        return QFont::Serif;
    case FontFamily::Swiss:
        return QFont::SansSerif;
    case FontFamily::Modern:
        return QFont::TypeWriter;
    case FontFamily::Script:
        return QFont::Cursive;
    case FontFamily::Decor:
        return QFont::Decorative;
    case FontFamily::Any:
    case FontFamily::Tech:
        break;
    }
    return QFont::AnyStyle;
}

} // namespace

QImage decodePicture(const Picture& picture)
{
    if (picture.kind == PictureKind::Other) {
        return {};
    }
    QBuffer buffer;
    buffer.setData(picture.data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, picture.kind == PictureKind::Png ? "png" : "jpeg");
    const QSize size = reader.size();
    if (!size.isValid() || size.width() > kMaxImageSide || size.height() > kMaxImageSide ||
        qint64(size.width()) * size.height() > kMaxImagePixels) {
        return {};
    }
    return reader.read();
}

DocumentSink::DocumentSink(QTextDocument& document) : m_document(document), m_cursor(&document)
{
    m_cursor.beginEditBlock();
}

DocumentSink::~DocumentSink() = default;

const QTextCharFormat& DocumentSink::charFormat(const CharFormat& format)
{
    if (const QTextCharFormat* known = m_formats.find(format, *m_tables)) {
        return *known;
    }
    QTextCharFormat f;
    f.setFontWeight(format.bold ? QFont::Bold : QFont::Normal);
    f.setFontItalic(format.italic);
    f.setUnderlineStyle(underlineStyle(format.underline));
    f.setFontStrikeOut(format.strike);
    const int fontNumber = format.font == kDefaultFont ? m_tables->defaultFont : format.font;
    const auto font = m_tables->fonts.constFind(fontNumber);
    if (font != m_tables->fonts.constEnd() && !font->name.isEmpty()) {
        f.setFontFamilies(QStringList{font->name});
        f.setFontStyleHint(styleHint(font->family));
    }
    f.setFontPointSize(std::clamp(format.sizeHalfPoints / 2.0, 1.0, 1638.0));
    if (format.foreground > 0 && format.foreground < m_tables->colours.size() &&
        !m_tables->colours[format.foreground].automatic) {
        f.setForeground(QColor(m_tables->colours[format.foreground].rgb));
    }
    if (format.background > 0 && format.background < m_tables->colours.size() &&
        !m_tables->colours[format.background].automatic) {
        f.setBackground(QColor(m_tables->colours[format.background].rgb));
    }
    if (format.vertical == VerticalPosition::Super) {
        f.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
    } else if (format.vertical == VerticalPosition::Sub) {
        f.setVerticalAlignment(QTextCharFormat::AlignSubScript);
    }
    if (format.caps) {
        f.setFontCapitalization(QFont::AllUppercase);
    } else if (format.smallCaps) {
        f.setFontCapitalization(QFont::SmallCaps);
    }
    if (format.link >= 0 && format.link < m_tables->links.size()) {
        f.setAnchor(true);
        f.setAnchorHref(m_tables->links[format.link]);
    }
    return m_formats.add(format, f);
}

void DocumentSink::appendText(QStringView text, const CharFormat& format)
{
    startPendingBlock();
    if (!m_pendingText.isEmpty() && !(format == m_pendingFormat)) {
        flushText();
    }
    m_pendingFormat = format;
    m_pendingText.append(text);
}

void DocumentSink::flushText()
{
    if (m_pendingText.isEmpty()) {
        return;
    }
    m_cursor.insertText(m_pendingText, charFormat(m_pendingFormat));
    m_pendingText.resize(0);
}

void DocumentSink::startPendingBlock()
{
    if (m_blockPending) {
        // Consecutive paragraphs mostly share their properties: the new block starts with those
        // of the previous one, and paragraphEnd() sets them only when they differ.
        m_blockPending = false;
        m_cursor.insertBlock(m_previousBlockFormat, QTextCharFormat());
        m_blockCreatedWith = m_previousParagraph;
        m_blockFormatKnown = true;
    }
}

void DocumentSink::text(QStringView text, const CharFormat& format)
{
    appendText(text, format);
}

void DocumentSink::lineBreak(const CharFormat& format)
{
    const char16_t separator = QChar::LineSeparator;
    appendText(QStringView(&separator, 1), format);
}

void DocumentSink::softHyphen(const CharFormat& format)
{
    const char16_t hyphen = 0xAD;
    appendText(QStringView(&hyphen, 1), format);
}

void DocumentSink::listMarker(const ListMarker& marker, const CharFormat&)
{
    flushText();
    startPendingBlock();
    m_blockInList = true;
    QList<QPointer<QTextList>>& open = m_lists[openListKey(marker)];
    open.removeIf([](const QPointer<QTextList>& list) { return list.isNull(); });
    // Join the latest open list whose next item shows this marker and that declares the same:
    // the list continues, or resumes after another list interrupted it.
    const QTextBlock block = m_cursor.block();
    for (qsizetype i = open.size() - 1; i >= 0; --i) {
        QTextList* list = open[i];
        if (list == nullptr) {
            continue;
        }
        list->add(block);
        if (listItemMarker(block) == marker.text && declaresSameList(marker, list->format())) {
            open.move(i, open.size() - 1);
            return;
        }
        list->remove(block);
    }
    QTextListFormat format = listFormatForMarker(marker.text, marker.numbering, marker.prefix, marker.suffix);
    format.setIndent(marker.level + 1);
    if (open.size() == kMaxOpenLists) {
        open.removeFirst();
    }
    open.append(m_cursor.createList(format));
}

void DocumentSink::applyBlockFormat(const ParagraphFormat& p)
{
    QTextBlockFormat f = m_cursor.blockFormat(); // keeps the block's list membership
    setBlockProperties(p, f);
    m_cursor.setBlockFormat(f);
}

void DocumentSink::setBlockProperties(const ParagraphFormat& p, QTextBlockFormat& f)
{
    switch (p.alignment) {
    case Alignment::Left:
        f.setAlignment(Qt::AlignLeft);
        break;
    case Alignment::Center:
        f.setAlignment(Qt::AlignHCenter);
        break;
    case Alignment::Right:
        f.setAlignment(Qt::AlignRight);
        break;
    case Alignment::Justify:
        f.setAlignment(Qt::AlignJustify);
        break;
    }
    f.setLeftMargin(p.leftIndent / kTwipsPerPixel);
    f.setRightMargin(p.rightIndent / kTwipsPerPixel);
    f.setTextIndent(p.firstIndent / kTwipsPerPixel);
    f.setTopMargin(p.spaceBefore / kTwipsPerPixel);
    f.setHeadingLevel(p.outlineLevel >= 0 ? p.outlineLevel + 1 : 0);
    f.setBottomMargin(p.spaceAfter / kTwipsPerPixel);
    if (p.lineSpacing == 0) {
        f.setLineHeight(100, QTextBlockFormat::SingleHeight);
    } else if (p.lineSpacing > 0 && p.lineMultiple) {
        f.setLineHeight(p.lineSpacing * 100.0 / kLineSpacingPerLine, QTextBlockFormat::ProportionalHeight);
    } else if (p.lineSpacing > 0) {
        f.setLineHeight(p.lineSpacing / kTwipsPerPixel, QTextBlockFormat::MinimumHeight);
    } else {
        f.setLineHeight(-p.lineSpacing / kTwipsPerPixel, QTextBlockFormat::FixedHeight);
    }
}

void DocumentSink::paragraphEnd(const ParagraphFormat& format)
{
    flushText();
    startPendingBlock();
    if (m_blockInList || !m_blockFormatKnown || !(format == m_blockCreatedWith)) {
        applyBlockFormat(format);
    }
    if (!(format == m_previousParagraph) || !m_previousKnown) {
        m_previousBlockFormat = QTextBlockFormat();
        setBlockProperties(format, m_previousBlockFormat);
        m_previousParagraph = format;
        m_previousKnown = true;
    }
    if (!m_blockInList) {
        // A paragraph outside any list ends the run of lists that items may join.
        m_lists.clear();
    }
    m_blockInList = false;
    m_blockPending = true;
}

void DocumentSink::picture(const Picture& picture, const CharFormat& format)
{
    const QImage image = decodePicture(picture);
    if (image.isNull()) {
        return;
    }
    flushText();
    startPendingBlock();
    const QUrl name(QStringLiteral("rtfimage:%1").arg(++m_imageCount));
    m_document.addResource(QTextDocument::ImageResource, name, image);
    QTextImageFormat f;
    f.merge(charFormat(format));
    f.setName(name.toString());
    const double width = picture.widthGoal > 0 ? picture.widthGoal / kTwipsPerPixel : image.width();
    const double height = picture.heightGoal > 0 ? picture.heightGoal / kTwipsPerPixel : image.height();
    f.setWidth(width * picture.scaleX / 100.0);
    f.setHeight(height * picture.scaleY / 100.0);
    m_cursor.insertImage(f);
}

void DocumentSink::finish(const ParagraphFormat& lastParagraph, bool endedWithParagraphMark)
{
    flushText();
    if (!endedWithParagraphMark) {
        startPendingBlock();
        applyBlockFormat(lastParagraph);
    }
    m_cursor.endEditBlock();
}

} // namespace folioneer::rtf
