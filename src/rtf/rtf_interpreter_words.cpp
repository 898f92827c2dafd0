// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The interpreter's control words and symbols, dispatched by family (rtf_control_words.h): each
// family's handler says what its words do to the group state, the tables or the text.

#include "rtf/rtf_interpreter.h"

#include "rtf/rtf_interpreter_parts.h"
#include "rtf/rtf_tokenizer.h"

namespace folioneer::rtf {

void Interpreter::handleWord(Tokenizer& tokenizer, Word word, bool hasParameter, int parameter)
{
    const WordFamily family = familyOf(word);
    if (state().destination == Destination::Picture && family != WordFamily::Picture) {
        // Inside a picture only its own words count: the plain-text path never reads it.
        return;
    }
    const bool on = !hasParameter || parameter != 0;
    const int value = hasParameter ? parameter : 0;
    switch (family) {
    case WordFamily::Destination:
        destinationWord(tokenizer, word);
        break;
    case WordFamily::ListTable:
        listTableWord(word, value);
        break;
    case WordFamily::Legacy:
        legacyWord(word, value);
        break;
    case WordFamily::Character:
        characterWord(word, on, hasParameter, value);
        break;
    case WordFamily::Paragraph:
        paragraphWord(word, on, value);
        break;
    case WordFamily::Break:
        breakWord(word);
        break;
    case WordFamily::Symbol:
        symbolWord(word);
        break;
    case WordFamily::Encoding:
        encodingWord(word, hasParameter, value);
        break;
    case WordFamily::Colour:
        colourWord(word, value);
        break;
    case WordFamily::Picture:
        pictureWord(word, value);
        break;
    }
}

void Interpreter::destinationWord(Tokenizer& tokenizer, Word word)
{
    GroupState& s = state();
    switch (word) {
    case Word::FontTable:
        s.destination = Destination::FontTable;
        m_parts->fonts.beginTable();
        break;
    case Word::ColourTable:
        s.destination = Destination::ColourTable;
        m_colour = ColourEntry{};
        break;
    case Word::FieldInstruction:
        s.destination = Destination::FieldInstruction;
        m_fieldInstruction.clear();
        break;
    case Word::Ud:
        if (s.destination == Destination::UprAnsi) {
            s.destination = Destination::Body;
        }
        break;
    case Word::Picture:
        if (s.destination != Destination::Body) {
            s.destination = Destination::Ignored;
            break;
        }
        if (!s.chr.hidden) {
            m_parts->paragraphs.pictureSeen();
        }
        if (!m_sink.wantsPictures() || s.chr.hidden) {
            skipDestination(tokenizer);
            break;
        }
        s.destination = Destination::Picture;
        m_picture = Picture{};
        m_pictureTooBig = false;
        m_pictureNibble = -1;
        break;
    case Word::ListText:
        if (s.destination == Destination::Body) {
            s.destination = Destination::ListMarker;
            m_parts->paragraphs.beginMarker();
        }
        break;
    case Word::Upr:
        if (s.destination == Destination::Body) {
            s.destination = Destination::UprAnsi;
        }
        break;
    default:
        // Shown destinations (\fldrslt, \result, \shppict, \nesttableprops): their text belongs
        // to the enclosing one. A destination word that does not begin its group is only a word.
        break;
    }
}

void Interpreter::listTableWord(Word word, int value)
{
    GroupState& s = state();
    if (word == Word::ListTableDestination) {
        s.destination = Destination::ListTable;
        return;
    }
    if (word == Word::LevelText) {
        if (s.destination == Destination::ListTable) {
            s.destination = Destination::LevelText;
            m_levelText.clear();
        }
        return;
    }
    if (s.destination != Destination::ListTable) {
        return;
    }
    ListTable& lists = m_parts->lists;
    switch (word) {
    case Word::ListDefinition:
        lists.beginList();
        m_inListOverride = false;
        break;
    case Word::ListLevelDefinition:
        lists.beginLevel();
        break;
    case Word::LevelNumberFormat:
        lists.setNumberFormat(numberFormatFromLevelCode(value));
        break;
    case Word::LevelStart:
        lists.setStart(clampInt(value, 0, 1 << 20));
        break;
    case Word::ListId:
        if (m_inListOverride) {
            lists.setOverrideListId(value);
        } else {
            lists.setListId(value);
        }
        break;
    case Word::ListOverrideDefinition:
        lists.beginOverride();
        m_inListOverride = true;
        break;
    default:
        break;
    }
}

void Interpreter::legacyWord(Word word, int value)
{
    GroupState& s = state();
    switch (word) {
    case Word::LegacyList:
        if (s.destination == Destination::Body) {
            s.destination = Destination::LegacyList;
            m_parts->legacy.beginDefinition();
        } else {
            s.destination = Destination::Ignored;
        }
        break;
    case Word::LegacyTextBefore:
    case Word::LegacyTextAfter:
        if (s.destination == Destination::LegacyList) {
            s.destination =
                word == Word::LegacyTextBefore ? Destination::LegacyTextBefore : Destination::LegacyTextAfter;
        }
        break;
    case Word::LegacyFont:
        if (s.destination == Destination::LegacyList) {
            s.chr.font = value; // the marker text that follows is in this font
        }
        break;
    default:
        if (s.destination == Destination::LegacyList) {
            m_parts->legacy.definitionWord(word, value);
        }
        break;
    }
}

void Interpreter::characterWord(Word word, bool on, bool hasParameter, int value)
{
    GroupState& s = state();
    switch (word) {
    case Word::Bold:
        s.chr.bold = on;
        break;
    case Word::Italic:
        s.chr.italic = on;
        break;
    case Word::Underline:
        s.chr.underline = on ? Underline::Single : Underline::None;
        break;
    case Word::UnderlineNone:
        s.chr.underline = Underline::None;
        break;
    case Word::UnderlineDouble:
        s.chr.underline = on ? Underline::Double : Underline::None;
        break;
    case Word::UnderlineDotted:
        s.chr.underline = on ? Underline::Dotted : Underline::None;
        break;
    case Word::UnderlineDash:
        s.chr.underline = on ? Underline::Dash : Underline::None;
        break;
    case Word::UnderlineDashDot:
        s.chr.underline = on ? Underline::DashDot : Underline::None;
        break;
    case Word::UnderlineDashDotDot:
        s.chr.underline = on ? Underline::DashDotDot : Underline::None;
        break;
    case Word::UnderlineWave:
        s.chr.underline = on ? Underline::Wave : Underline::None;
        break;
    case Word::UnderlineThick:
        s.chr.underline = on ? Underline::Thick : Underline::None;
        break;
    case Word::UnderlineWords:
        s.chr.underline = on ? Underline::Words : Underline::None;
        break;
    case Word::Strike:
        s.chr.strike = on;
        break;
    case Word::Super:
        s.chr.vertical = on ? VerticalPosition::Super : VerticalPosition::Normal;
        break;
    case Word::Sub:
        s.chr.vertical = on ? VerticalPosition::Sub : VerticalPosition::Normal;
        break;
    case Word::NoSuperSub:
        s.chr.vertical = VerticalPosition::Normal;
        break;
    case Word::Caps:
        s.chr.caps = on;
        break;
    case Word::SmallCaps:
        s.chr.smallCaps = on;
        break;
    case Word::Hidden:
        s.chr.hidden = on;
        break;
    case Word::Deleted:
        s.chr.deleted = on;
        break;
    case Word::Plain: {
        const int link = s.chr.link;
        s.chr = CharFormat{};
        s.chr.link = link;
        break;
    }
    case Word::Font:
        if (s.destination == Destination::FontTable) {
            m_parts->fonts.beginFont(value);
        } else {
            s.chr.font = value;
            if (s.destination == Destination::ListTable) {
                m_parts->lists.setFont(value);
            }
        }
        break;
    case Word::FontSize:
        s.chr.sizeHalfPoints =
            hasParameter ? clampInt(value, kMinHalfPoints, kMaxHalfPoints) : kDefaultHalfPoints;
        break;
    case Word::Foreground:
        s.chr.foreground = value > 0 && value < m_limits.maxColours ? value : 0;
        break;
    case Word::Background:
        s.chr.background = value > 0 && value < m_limits.maxColours ? value : 0;
        break;
    default:
        break;
    }
}

void Interpreter::paragraphWord(Word word, bool on, int value)
{
    GroupState& s = state();
    switch (word) {
    case Word::Pard:
        s.para = ParagraphFormat{};
        break;
    case Word::AlignLeft:
        s.para.alignment = Alignment::Left;
        break;
    case Word::AlignCenter:
        s.para.alignment = Alignment::Center;
        break;
    case Word::AlignRight:
        s.para.alignment = Alignment::Right;
        break;
    case Word::AlignJustify:
        s.para.alignment = Alignment::Justify;
        break;
    case Word::LeftIndent:
        s.para.leftIndent = clampInt(value, -kMaxParagraphTwips, kMaxParagraphTwips);
        break;
    case Word::RightIndent:
        s.para.rightIndent = clampInt(value, -kMaxParagraphTwips, kMaxParagraphTwips);
        break;
    case Word::FirstIndent:
        s.para.firstIndent = clampInt(value, -kMaxParagraphTwips, kMaxParagraphTwips);
        break;
    case Word::SpaceBefore:
        s.para.spaceBefore = clampInt(value, 0, kMaxParagraphTwips);
        break;
    case Word::SpaceAfter:
        s.para.spaceAfter = clampInt(value, 0, kMaxParagraphTwips);
        break;
    case Word::LineSpacing:
        s.para.lineSpacing = clampInt(value, -kMaxParagraphTwips, kMaxParagraphTwips);
        break;
    case Word::LineMultiple:
        s.para.lineMultiple = on;
        break;
    case Word::InTable:
        s.para.inTable = on;
        if (on && s.para.tableLevel < 1) {
            s.para.tableLevel = 1;
        }
        break;
    case Word::OutlineLevel:
        // Word writes 9 for body text; levels 0 to 8 are headings.
        s.para.outlineLevel = value >= 0 && value <= 8 ? value : -1;
        break;
    case Word::TableLevel:
        s.para.tableLevel = clampInt(value, 0, 1000);
        s.para.inTable = s.para.tableLevel > 0;
        break;
    case Word::ListOverride:
        if (s.destination == Destination::ListTable) {
            if (m_inListOverride) {
                m_parts->lists.setOverrideNumber(value);
            }
            break;
        }
        s.para.listOverride = clampInt(value, 0, 1 << 20);
        break;
    case Word::ListLevel:
        s.para.listLevel = clampInt(value, 0, 8);
        break;
    default:
        break;
    }
}

void Interpreter::breakWord(Word word)
{
    switch (word) {
    case Word::Par:
        paragraphBreak();
        break;
    case Word::Section:
        // A section, page or column break ends the paragraph it is in.
        if (m_parts->paragraphs.paragraphOpen()) {
            paragraphBreak();
        }
        break;
    case Word::Line:
        lineBreak();
        break;
    case Word::Tab:
        emitChar(u'\t');
        break;
    case Word::Cell:
    case Word::NestCell:
    case Word::Row:
    case Word::NestRow:
        if (state().destination != Destination::Body) {
            break;
        }
        resolveSurrogate();
        if (word == Word::Cell || word == Word::NestCell) {
            m_parts->paragraphs.cellEnd();
        } else {
            m_parts->paragraphs.rowEnd(word == Word::NestRow);
        }
        break;
    default:
        break;
    }
}

void Interpreter::symbolWord(Word word)
{
    switch (word) {
    case Word::EmDash:
        emitChar(0x2014);
        break;
    case Word::EnDash:
        emitChar(0x2013);
        break;
    case Word::Bullet:
        emitChar(0x2022);
        break;
    case Word::LeftQuote:
        emitChar(0x2018);
        break;
    case Word::RightQuote:
        emitChar(0x2019);
        break;
    case Word::LeftDoubleQuote:
        emitChar(0x201C);
        break;
    case Word::RightDoubleQuote:
        emitChar(0x201D);
        break;
    case Word::EmSpace:
        emitChar(0x2003);
        break;
    case Word::EnSpace:
        emitChar(0x2002);
        break;
    case Word::QuarterEmSpace:
        emitChar(0x2005);
        break;
    case Word::ZeroWidthJoiner:
        emitChar(0x200D);
        break;
    case Word::ZeroWidthNonJoiner:
        emitChar(0x200C);
        break;
    case Word::ZeroWidthBreak:
        emitChar(0x200B);
        break;
    case Word::LtrMark:
        emitChar(0x200E);
        break;
    case Word::RtlMark:
        emitChar(0x200F);
        break;
    default:
        break;
    }
}

void Interpreter::encodingWord(Word word, bool hasParameter, int value)
{
    GroupState& s = state();
    FontTable& fonts = m_parts->fonts;
    const bool inFontTable = s.destination == Destination::FontTable;
    switch (word) {
    case Word::Unicode:
        if (hasParameter) {
            emitUnicode(value);
            m_skip = s.unicodeSkip;
        }
        break;
    case Word::UnicodeSkip:
        s.unicodeSkip = static_cast<std::uint8_t>(clampInt(value, 0, 16));
        break;
    case Word::Ansi:
        fonts.setAnsiCodePage(1252);
        break;
    case Word::Mac:
        fonts.setAnsiCodePage(10000);
        break;
    case Word::Pc:
        fonts.setAnsiCodePage(437);
        break;
    case Word::Pca:
        fonts.setAnsiCodePage(850);
        break;
    case Word::AnsiCodePage:
        if (value > 0 && value < 100000) {
            fonts.setAnsiCodePage(value);
        } else {
            fonts.invalidate();
        }
        break;
    case Word::DefaultFont:
        fonts.setDefaultFont(value);
        break;
    case Word::FontCharset:
        if (inFontTable) {
            fonts.setCharset(value);
        }
        break;
    case Word::FontCodePage:
        if (inFontTable) {
            fonts.setCodePage(value);
        }
        break;
    case Word::FamilyRoman:
    case Word::FamilySwiss:
    case Word::FamilyModern:
    case Word::FamilyScript:
    case Word::FamilyDecor:
    case Word::FamilyTech:
        if (inFontTable) {
            fonts.setFamily(word == Word::FamilyRoman    ? FontFamily::Roman
                            : word == Word::FamilySwiss  ? FontFamily::Swiss
                            : word == Word::FamilyModern ? FontFamily::Modern
                            : word == Word::FamilyScript ? FontFamily::Script
                            : word == Word::FamilyDecor  ? FontFamily::Decor
                                                         : FontFamily::Tech);
        }
        break;
    default:
        break;
    }
}

void Interpreter::colourWord(Word word, int value)
{
    const int level = clampInt(value, 0, 255);
    m_colour.automatic = false;
    const QRgb rgb = m_colour.rgb;
    m_colour.rgb = word == Word::Red     ? qRgb(level, qGreen(rgb), qBlue(rgb))
                   : word == Word::Green ? qRgb(qRed(rgb), level, qBlue(rgb))
                                         : qRgb(qRed(rgb), qGreen(rgb), level);
}

void Interpreter::pictureWord(Word word, int value)
{
    switch (word) {
    case Word::PngBlip:
        m_picture.kind = PictureKind::Png;
        break;
    case Word::JpegBlip:
        m_picture.kind = PictureKind::Jpeg;
        break;
    case Word::OtherBlip:
        m_picture.kind = PictureKind::Other;
        break;
    case Word::PicWidth:
        m_picture.width = clampInt(value, 0, 1 << 20);
        break;
    case Word::PicHeight:
        m_picture.height = clampInt(value, 0, 1 << 20);
        break;
    case Word::PicWidthGoal:
        m_picture.widthGoal = clampInt(value, 0, 1 << 24);
        break;
    case Word::PicHeightGoal:
        m_picture.heightGoal = clampInt(value, 0, 1 << 24);
        break;
    case Word::PicScaleX:
        m_picture.scaleX = clampInt(value, 1, 10000);
        break;
    case Word::PicScaleY:
        m_picture.scaleY = clampInt(value, 1, 10000);
        break;
    default:
        break;
    }
}

void Interpreter::handleSymbol(char symbol)
{
    switch (symbol) {
    case '\\':
    case '{':
    case '}': {
        const char16_t c = static_cast<unsigned char>(symbol);
        emitText(QStringView(&c, 1));
        break;
    }
    case '~':
        emitChar(0x00A0);
        break;
    case '_':
        emitChar(0x2011);
        break;
    case '\r':
    case '\n':
        paragraphBreak();
        break;
    case '-':
        softHyphen();
        break;
    default:
        // \| and \: show nothing.
        break;
    }
}

} // namespace folioneer::rtf
