// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Character and paragraph formats as the writer saves them, and the font and colour tables.

#include "rtf/rtf_writer_parts.h"

#include <QColor>
#include <QFont>
#include <QTextBlock>
#include <QTextBlockFormat>
#include <QTextDocument>
#include <QTextFragment>

namespace folioneer::rtf {

bool hasWritableText(QStringView text)
{
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if ((u >= 0x20 || u == u'\t') && u != 0x2029 && u != QChar::ObjectReplacementCharacter &&
            u != 0xFDD0 && u != 0xFDD1) {
            return true;
        }
    }
    return false;
}

namespace {

QString firstFamily(const QTextCharFormat& format)
{
    const QStringList families = format.fontFamilies().toStringList();
    if (!families.isEmpty() && !families.first().isEmpty()) {
        return families.first();
    }
    return format.property(QTextFormat::FontFamily).toString(); // set by older code paths
}

// The font family of the first text of a document, empty when it has none or names none.
QString firstTextFamily(const QTextDocument& document)
{
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (fragment.isValid() && !fragment.charFormat().isImageFormat() &&
                hasWritableText(fragment.text())) {
                return firstFamily(fragment.charFormat()).trimmed();
            }
        }
    }
    return {};
}

} // namespace

CharacterFormats::CharacterFormats(const QTextDocument& document) : m_document(document)
{
    const QFont font = document.defaultFont();
    m_defaultFamily = font.family().trimmed();
    m_defaultPointSize = font.pointSizeF() > 0 ? font.pointSizeF() : 12.0;
    // \f0 is the font of the document's first text: usually the default font, and when a
    // reader names every run's font (ours does), still the same font after a round trip,
    // so that saving a document read from our own output repeats that output exactly.
    const QString first = firstTextFamily(document);
    const QString f0 = first.isEmpty() ? m_defaultFamily : first;
    m_fonts.append(f0);
    m_fontIndex.insert(f0, 0);
}

const RunFormat& CharacterFormats::runFormat(const QTextFragment& fragment)
{
    const int index = fragment.charFormatIndex();
    auto it = m_runFormats.find(index);
    if (it == m_runFormats.end()) {
        it = m_runFormats.insert(index, makeRunFormat(fragment.charFormat()));
    }
    return *it;
}

RunFormat CharacterFormats::makeRunFormat(const QTextCharFormat& format)
{
    RunFormat run;
    if (format.isAnchor()) {
        run.href = format.anchorHref();
    }
    if (format.isImageFormat()) {
        return run; // a picture's own words are written with the picture
    }
    QByteArray& w = run.words;
    // Readers trim font names, so names are written trimmed.
    QString family = firstFamily(format).trimmed();
    if (family.isEmpty()) {
        family = m_defaultFamily;
    }
    const int font = fontIndex(family);
    if (font != 0) {
        w += "\\f" + QByteArray::number(font);
    }
    const double points = format.fontPointSize() > 0 ? format.fontPointSize() : m_defaultPointSize;
    const int halfPoints =
        std::clamp(static_cast<int>(std::lround(points * 2)), kMinHalfPoints, kMaxHalfPoints);
    if (halfPoints != kDefaultHalfPoints) {
        w += "\\fs" + QByteArray::number(halfPoints);
    }
    if (format.fontWeight() >= QFont::DemiBold) {
        w += "\\b";
    }
    if (format.fontItalic()) {
        w += "\\i";
    }
    switch (format.underlineStyle()) {
    case QTextCharFormat::SingleUnderline:
        w += "\\ul";
        break;
    case QTextCharFormat::DashUnderline:
        w += "\\uldash";
        break;
    case QTextCharFormat::DotLine:
        w += "\\uld";
        break;
    case QTextCharFormat::DashDotLine:
        w += "\\uldashd";
        break;
    case QTextCharFormat::DashDotDotLine:
        w += "\\uldashdd";
        break;
    case QTextCharFormat::WaveUnderline:
        w += "\\ulwave";
        break;
    default:
        break; // none, and the spell checker's marks, which are not part of the text
    }
    if (format.fontStrikeOut()) {
        w += "\\strike";
    }
    switch (format.fontCapitalization()) {
    case QFont::AllUppercase:
        w += "\\caps";
        break;
    case QFont::SmallCaps:
        w += "\\scaps";
        break;
    default:
        break;
    }
    switch (format.verticalAlignment()) {
    case QTextCharFormat::AlignSuperScript:
        w += "\\super";
        break;
    case QTextCharFormat::AlignSubScript:
        w += "\\sub";
        break;
    default:
        break;
    }
    if (format.hasProperty(QTextFormat::ForegroundBrush) && format.foreground().style() != Qt::NoBrush) {
        w += "\\cf" + QByteArray::number(colorIndex(format.foreground().color()));
    }
    if (format.hasProperty(QTextFormat::BackgroundBrush) && format.background().style() != Qt::NoBrush) {
        w += "\\highlight" + QByteArray::number(colorIndex(format.background().color()));
    }
    return run;
}

QByteArray CharacterFormats::paragraphWords(const QTextBlockFormat& format, bool inList) const
{
    QByteArray w;
    switch (format.alignment() & Qt::AlignHorizontal_Mask) {
    case Qt::AlignHCenter:
        w += "\\qc";
        break;
    case Qt::AlignRight:
    case Qt::AlignRight | Qt::AlignAbsolute:
        w += "\\qr";
        break;
    case Qt::AlignJustify:
        w += "\\qj";
        break;
    default:
        break;
    }
    // Indentation levels are folded into the left indent, the only form RTF has. A list
    // item's level is its list's (\ilvl); the block level Qt leaves on an item that moved
    // between lists is not written, or every save would indent the item further.
    const qreal left = format.leftMargin() + (inList ? 0 : format.indent() * m_document.indentWidth());
    const auto twips = [&w](const char* name, qreal pixels) {
        const int value = std::clamp(toTwips(pixels), -kMaxParagraphTwips, kMaxParagraphTwips);
        if (value != 0) {
            w += name + QByteArray::number(value);
        }
    };
    // A heading keeps its level as an outline level (0 for the first), as word processors do.
    if (const int level = format.headingLevel(); level >= 1 && level <= 9) {
        w += "\\outlinelevel" + QByteArray::number(level - 1);
    }
    twips("\\li", left);
    twips("\\ri", format.rightMargin());
    twips("\\fi", format.textIndent());
    twips("\\sb", format.topMargin());
    twips("\\sa", format.bottomMargin());
    const qreal height = format.lineHeight();
    switch (format.lineHeightType()) {
    case QTextBlockFormat::ProportionalHeight:
        if (height > 0 && std::lround(height) != 100) {
            w += "\\sl" +
                 QByteArray::number(std::clamp(std::lround(height * kLineSpacingPerLine / 100.0), 1L,
                                               long(kMaxParagraphTwips))) +
                 "\\slmult1";
        }
        break;
    case QTextBlockFormat::MinimumHeight:
        if (height > 0) {
            w +=
                "\\sl" + QByteArray::number(std::clamp(toTwips(height), 1, kMaxParagraphTwips)) + "\\slmult0";
        }
        break;
    case QTextBlockFormat::FixedHeight:
        if (height > 0) {
            w += "\\sl-" + QByteArray::number(std::clamp(toTwips(height), 1, kMaxParagraphTwips)) +
                 "\\slmult0";
        }
        break;
    default:
        break;
    }
    return w;
}

int CharacterFormats::fontIndex(const QString& family)
{
    const auto it = m_fontIndex.constFind(family);
    if (it != m_fontIndex.constEnd()) {
        return *it;
    }
    const int index = static_cast<int>(m_fonts.size());
    m_fonts.append(family);
    m_fontIndex.insert(family, index);
    return index;
}

int CharacterFormats::symbolFont()
{
    if (m_symbolFont < 0) {
        m_symbolFont = static_cast<int>(m_fonts.size());
        m_fonts.append(QString()); // written as the Symbol font with its own character set
    }
    return m_symbolFont;
}

// Colour 0 is the empty "automatic" entry, so real colours start at 1.
int CharacterFormats::colorIndex(const QColor& color)
{
    const QRgb rgb = color.rgb() & 0xFFFFFF;
    const auto it = m_colorIndex.constFind(rgb);
    if (it != m_colorIndex.constEnd()) {
        return *it;
    }
    m_colors.append(rgb);
    const int index = static_cast<int>(m_colors.size());
    m_colorIndex.insert(rgb, index);
    return index;
}

void CharacterFormats::writeTables(Emitter& head) const
{
    head.open();
    head.word("\\fonttbl");
    for (qsizetype i = 0; i < m_fonts.size(); ++i) {
        head.open();
        head.word("\\f", i);
        if (i == m_symbolFont) {
            head.word("\\ftech");
            head.word("\\fcharset", 2);
            head.text(u"Symbol;");
        } else {
            head.word("\\fnil");
            head.word("\\fcharset", 0);
            QString name = m_fonts[i];
            name.remove(u';');
            head.text(QString(name + u';'));
        }
        head.close();
    }
    head.close();
    head.newline();
    if (!m_colors.isEmpty()) {
        head.open();
        head.word("\\colortbl");
        head.text(u";");
        for (const QRgb rgb : std::as_const(m_colors)) {
            head.word("\\red", qRed(rgb));
            head.word("\\green", qGreen(rgb));
            head.word("\\blue", qBlue(rgb));
            head.text(u";");
        }
        head.close();
        head.newline();
    }
}

} // namespace folioneer::rtf
