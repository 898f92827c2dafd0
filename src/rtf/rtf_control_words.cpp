// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "rtf/rtf_control_words.h"

#include <array>
#include <initializer_list>

namespace folioneer::rtf {

WordFamily familyOf(Word word)
{
    if (word < Word::ListTableDestination) {
        return WordFamily::Destination;
    }
    if (word < Word::LegacyList) {
        return WordFamily::ListTable;
    }
    if (word < Word::Bold) {
        return WordFamily::Legacy;
    }
    if (word < Word::Pard) {
        return WordFamily::Character;
    }
    if (word < Word::Par) {
        return WordFamily::Paragraph;
    }
    if (word < Word::EmDash) {
        return WordFamily::Break;
    }
    if (word < Word::Unicode) {
        return WordFamily::Symbol;
    }
    if (word < Word::Red) {
        return WordFamily::Encoding;
    }
    if (word < Word::PngBlip) {
        return WordFamily::Colour;
    }
    return WordFamily::Picture;
}

namespace {

struct WordEntry {
    std::string_view name;
    Word word;
};

// An open-addressing table of the control words we act on, built once: looking words up is
// a large share of the reading time, so it avoids node-based maps and library hashing.
class WordTable {
public:
    WordTable(std::initializer_list<WordEntry> entries)
    {
        for (const WordEntry& entry : entries) {
            std::size_t slot = hash(entry.name) & kMask;
            while (!m_slots[slot].name.empty()) {
                slot = (slot + 1) & kMask;
            }
            m_slots[slot] = entry;
        }
    }

    Word find(std::string_view name) const
    {
        std::size_t slot = hash(name) & kMask;
        while (!m_slots[slot].name.empty()) {
            if (m_slots[slot].name == name) {
                return m_slots[slot].word;
            }
            slot = (slot + 1) & kMask;
        }
        return Word::Unknown;
    }

private:
    static constexpr std::size_t kSize = 1024;
    static constexpr std::size_t kMask = kSize - 1;

    static std::size_t hash(std::string_view name)
    {
        std::uint32_t h = 2166136261u;
        for (const char c : name) {
            h = (h ^ static_cast<unsigned char>(c)) * 16777619u;
        }
        return h ^ (h >> 15);
    }

    std::array<WordEntry, kSize> m_slots{};
};

} // namespace

Word lookupWord(std::string_view name)
{
    static const WordTable words = {
        // Destinations whose text never reaches the document (some are written without \*).
        {"stylesheet", Word::Skip},
        {"info", Word::Skip},
        {"header", Word::Skip},
        {"headerl", Word::Skip},
        {"headerr", Word::Skip},
        {"headerf", Word::Skip},
        {"footer", Word::Skip},
        {"footerl", Word::Skip},
        {"footerr", Word::Skip},
        {"footerf", Word::Skip},
        {"footnote", Word::Skip},
        {"annotation", Word::Skip},
        {"atnid", Word::Skip},
        {"atnauthor", Word::Skip},
        {"atndate", Word::Skip},
        {"atnref", Word::Skip},
        {"atntime", Word::Skip},
        {"atnicn", Word::Skip},
        {"atnparent", Word::Skip},
        {"atrfstart", Word::Skip},
        {"atrfend", Word::Skip},
        {"nonshppict", Word::Skip},
        {"objdata", Word::Skip},
        {"objclass", Word::Skip},
        {"objname", Word::Skip},
        {"objalias", Word::Skip},
        {"objsect", Word::Skip},
        {"objtime", Word::Skip},
        {"objitem", Word::Skip},
        {"objtopic", Word::Skip},
        {"themedata", Word::Skip},
        {"colorschememapping", Word::Skip},
        {"datastore", Word::Skip},
        {"xmlnstbl", Word::Skip},
        {"rsidtbl", Word::Skip},
        {"listtable", Word::ListTableDestination},
        {"listoverridetable", Word::ListTableDestination},
        {"latentstyles", Word::Skip},
        {"pgdsctbl", Word::Skip},
        {"nonesttables", Word::Skip},
        {"shp", Word::Skip},
        {"shpinst", Word::Skip},
        {"shptxt", Word::Skip},
        {"shprslt", Word::Skip},
        {"xe", Word::Skip},
        {"tc", Word::Skip},
        {"tcn", Word::Skip},
        {"bkmkstart", Word::Skip},
        {"bkmkend", Word::Skip},
        {"generator", Word::Skip},
        {"falt", Word::Skip},
        {"panose", Word::Skip},
        {"fname", Word::Skip},
        {"listpicture", Word::Skip},
        {"revtbl", Word::Skip},
        {"filetbl", Word::Skip},
        {"protusertbl", Word::Skip},
        {"userprops", Word::Skip},
        {"docvar", Word::Skip},
        {"ftnsep", Word::Skip},
        {"ftnsepc", Word::Skip},
        {"ftncn", Word::Skip},
        {"aftnsep", Word::Skip},
        {"aftnsepc", Word::Skip},
        {"aftncn", Word::Skip},
        {"template", Word::Skip},
        {"txe", Word::Skip},
        {"rxe", Word::Skip},
        {"do", Word::Skip},
        {"blipuid", Word::Skip},
        {"picprop", Word::Skip},
        {"comment", Word::Skip},
        {"title", Word::Skip},
        {"author", Word::Skip},
        {"operator", Word::Skip},
        {"keywords", Word::Skip},
        {"subject", Word::Skip},
        {"doccomm", Word::Skip},
        {"company", Word::Skip},
        {"category", Word::Skip},
        {"manager", Word::Skip},
        {"hlinkbase", Word::Skip},
        {"formfield", Word::Skip},
        {"datafield", Word::Skip},
        {"background", Word::Skip},
        {"pgdsc", Word::Skip},
        {"pn", Word::LegacyList},
        {"pnlvlblt", Word::LegacyBullet},
        {"pnlvlbody", Word::LegacyBody},
        {"pnlvlcont", Word::LegacyContinue},
        {"pnlvl", Word::LegacyLevel},
        {"pndec", Word::LegacyDecimal},
        {"pnucrm", Word::LegacyUpperRoman},
        {"pnlcrm", Word::LegacyLowerRoman},
        {"pnucltr", Word::LegacyUpperLetter},
        {"pnlcltr", Word::LegacyLowerLetter},
        {"pnstart", Word::LegacyStart},
        {"pnf", Word::LegacyFont},
        {"pntxtb", Word::LegacyTextBefore},
        {"pntxta", Word::LegacyTextAfter},
        {"pnseclvl", Word::Skip},
        {"listname", Word::Skip},
        {"mmathPr", Word::Skip},
        {"defchp", Word::Skip},
        {"defpap", Word::Skip},
        {"wgrffmtfilter", Word::Skip},
        {"xmlattrname", Word::Skip},
        {"xmlattrvalue", Word::Skip},
        {"sp", Word::Skip},
        {"sn", Word::Skip},
        {"sv", Word::Skip},
        {"fonttbl", Word::FontTable},
        {"colortbl", Word::ColourTable},
        {"fldinst", Word::FieldInstruction},
        {"fldrslt", Word::FieldResult},
        {"pict", Word::Picture},
        {"shppict", Word::ShapePicture},
        {"listtext", Word::ListText},
        {"leveltext", Word::LevelText},
        {"list", Word::ListDefinition},
        {"listlevel", Word::ListLevelDefinition},
        {"levelnfc", Word::LevelNumberFormat},
        {"levelnfcn", Word::LevelNumberFormat},
        {"levelstartat", Word::LevelStart},
        {"listid", Word::ListId},
        {"listoverride", Word::ListOverrideDefinition},
        {"pntext", Word::ListText},
        {"upr", Word::Upr},
        {"ud", Word::Ud},
        {"nesttableprops", Word::NestTableProps},
        {"result", Word::Result},
        // Character properties.
        {"b", Word::Bold},
        {"i", Word::Italic},
        {"ul", Word::Underline},
        {"ulnone", Word::UnderlineNone},
        {"uldb", Word::UnderlineDouble},
        {"uld", Word::UnderlineDotted},
        {"ulhair", Word::UnderlineDotted},
        {"uldash", Word::UnderlineDash},
        {"ulldash", Word::UnderlineDash},
        {"ulthdash", Word::UnderlineDash},
        {"uldashd", Word::UnderlineDashDot},
        {"ulthdashd", Word::UnderlineDashDot},
        {"uldashdd", Word::UnderlineDashDotDot},
        {"ulthdashdd", Word::UnderlineDashDotDot},
        {"ulwave", Word::UnderlineWave},
        {"ululdbwave", Word::UnderlineWave},
        {"ulhwave", Word::UnderlineWave},
        {"ulth", Word::UnderlineThick},
        {"ulthd", Word::UnderlineDotted},
        {"ulw", Word::UnderlineWords},
        {"strike", Word::Strike},
        {"striked", Word::Strike},
        {"super", Word::Super},
        {"sub", Word::Sub},
        {"nosupersub", Word::NoSuperSub},
        {"caps", Word::Caps},
        {"scaps", Word::SmallCaps},
        {"v", Word::Hidden},
        {"deleted", Word::Deleted},
        {"plain", Word::Plain},
        {"f", Word::Font},
        {"fs", Word::FontSize},
        {"cf", Word::Foreground},
        {"cb", Word::Background},
        {"highlight", Word::Background},
        {"chcbpat", Word::Background},
        // Paragraph properties.
        {"pard", Word::Pard},
        {"ql", Word::AlignLeft},
        {"qc", Word::AlignCenter},
        {"qr", Word::AlignRight},
        {"qj", Word::AlignJustify},
        {"qd", Word::AlignJustify},
        {"li", Word::LeftIndent},
        {"ri", Word::RightIndent},
        {"fi", Word::FirstIndent},
        {"sb", Word::SpaceBefore},
        {"sa", Word::SpaceAfter},
        {"sl", Word::LineSpacing},
        {"slmult", Word::LineMultiple},
        {"intbl", Word::InTable},
        {"itap", Word::TableLevel},
        {"outlinelevel", Word::OutlineLevel},
        {"ls", Word::ListOverride},
        {"ilvl", Word::ListLevel},
        // Breaks.
        {"par", Word::Par},
        {"page", Word::Section},
        {"sect", Word::Section},
        {"column", Word::Section},
        {"line", Word::Line},
        {"tab", Word::Tab},
        {"cell", Word::Cell},
        {"nestcell", Word::NestCell},
        {"row", Word::Row},
        {"nestrow", Word::NestRow},
        // Characters.
        {"emdash", Word::EmDash},
        {"endash", Word::EnDash},
        {"bullet", Word::Bullet},
        {"lquote", Word::LeftQuote},
        {"rquote", Word::RightQuote},
        {"ldblquote", Word::LeftDoubleQuote},
        {"rdblquote", Word::RightDoubleQuote},
        {"emspace", Word::EmSpace},
        {"enspace", Word::EnSpace},
        {"qmspace", Word::QuarterEmSpace},
        {"zwj", Word::ZeroWidthJoiner},
        {"zwnj", Word::ZeroWidthNonJoiner},
        {"zwbo", Word::ZeroWidthBreak},
        {"ltrmark", Word::LtrMark},
        {"rtlmark", Word::RtlMark},
        // Unicode and code pages.
        {"u", Word::Unicode},
        {"uc", Word::UnicodeSkip},
        {"ansi", Word::Ansi},
        {"mac", Word::Mac},
        {"pc", Word::Pc},
        {"pca", Word::Pca},
        {"ansicpg", Word::AnsiCodePage},
        {"deff", Word::DefaultFont},
        {"fcharset", Word::FontCharset},
        {"cpg", Word::FontCodePage},
        {"fnil", Word::FamilyNil},
        {"froman", Word::FamilyRoman},
        {"fswiss", Word::FamilySwiss},
        {"fmodern", Word::FamilyModern},
        {"fscript", Word::FamilyScript},
        {"fdecor", Word::FamilyDecor},
        {"ftech", Word::FamilyTech},
        {"red", Word::Red},
        {"green", Word::Green},
        {"blue", Word::Blue},
        // Pictures.
        {"pngblip", Word::PngBlip},
        {"jpegblip", Word::JpegBlip},
        {"emfblip", Word::OtherBlip},
        {"wmetafile", Word::OtherBlip},
        {"macpict", Word::OtherBlip},
        {"dibitmap", Word::OtherBlip},
        {"wbitmap", Word::OtherBlip},
        {"pmmetafile", Word::OtherBlip},
        {"picw", Word::PicWidth},
        {"pich", Word::PicHeight},
        {"picwgoal", Word::PicWidthGoal},
        {"pichgoal", Word::PicHeightGoal},
        {"picscalex", Word::PicScaleX},
        {"picscaley", Word::PicScaleY},
    };
    return words.find(name);
}

} // namespace folioneer::rtf
