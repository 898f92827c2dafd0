// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "rtf/rtf_interpreter.h"

#include "rtf/rtf_tokenizer.h"

#include <QRegularExpression>

#include <algorithm>
#include <climits>
#include <string_view>
#include <array>

namespace folioneer::rtf {

enum class Word : std::uint8_t {
    Unknown,
    // destinations
    Skip, ///< a destination whose content never shows
    FontTable,
    ColourTable,
    FieldInstruction,
    FieldResult,
    Picture,
    ShapePicture,
    ListText,
    ListTableDestination,
    LevelText,
    ListDefinition,
    ListLevelDefinition,
    LevelNumberFormat,
    LevelStart,
    ListId,
    ListOverrideDefinition,
    LegacyList,
    LegacyBullet,
    LegacyBody,
    LegacyContinue,
    LegacyLevel,
    LegacyDecimal,
    LegacyUpperRoman,
    LegacyLowerRoman,
    LegacyUpperLetter,
    LegacyLowerLetter,
    LegacyStart,
    LegacyFont,
    LegacyTextBefore,
    LegacyTextAfter,
    Upr,
    Ud,
    NestTableProps,
    Result,
    // character properties
    Bold,
    Italic,
    Underline,
    UnderlineNone,
    UnderlineDouble,
    UnderlineDotted,
    UnderlineDash,
    UnderlineDashDot,
    UnderlineDashDotDot,
    UnderlineWave,
    UnderlineThick,
    UnderlineWords,
    Strike,
    Super,
    Sub,
    NoSuperSub,
    Caps,
    SmallCaps,
    Hidden,
    Deleted,
    Plain,
    Font,
    FontSize,
    Foreground,
    Background,
    // paragraph properties
    Pard,
    AlignLeft,
    AlignCenter,
    AlignRight,
    AlignJustify,
    LeftIndent,
    RightIndent,
    FirstIndent,
    SpaceBefore,
    SpaceAfter,
    LineSpacing,
    LineMultiple,
    InTable,
    TableLevel,
    ListOverride,
    ListLevel,
    // breaks
    Par,
    Section,
    Line,
    Tab,
    Cell,
    NestCell,
    Row,
    NestRow,
    // characters
    EmDash,
    EnDash,
    Bullet,
    LeftQuote,
    RightQuote,
    LeftDoubleQuote,
    RightDoubleQuote,
    EmSpace,
    EnSpace,
    QuarterEmSpace,
    ZeroWidthJoiner,
    ZeroWidthNonJoiner,
    ZeroWidthBreak,
    LtrMark,
    RtlMark,
    // unicode and code pages
    Unicode,
    UnicodeSkip,
    Ansi,
    Mac,
    Pc,
    Pca,
    AnsiCodePage,
    DefaultFont,
    FontCharset,
    FontCodePage,
    FamilyNil,
    FamilyRoman,
    FamilySwiss,
    FamilyModern,
    FamilyScript,
    FamilyDecor,
    FamilyTech,
    // colours
    Red,
    Green,
    Blue,
    // pictures
    PngBlip,
    JpegBlip,
    OtherBlip,
    PicWidth,
    PicHeight,
    PicWidthGoal,
    PicHeightGoal,
    PicScaleX,
    PicScaleY,
};

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

int clampInt(int value, int low, int high)
{
    return std::min(std::max(value, low), high);
}

constexpr int kMaxIndent = 31680;

bool isSpaceByte(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
}

// The target of a HYPERLINK field instruction ("url" plus an optional \l "anchor"), or empty.
QString hyperlinkTarget(const QString& instruction)
{
    static const QRegularExpression hyperlink(
        QStringLiteral(R"re(^\s*HYPERLINK\s+(?:\\l\s+)?(?:"([^"]*)"|(\S+)))re"),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = hyperlink.match(instruction);
    if (!m.hasMatch()) {
        return {};
    }
    QString url = m.captured(1).isNull() ? m.captured(2) : m.captured(1);
    if (instruction.contains(QLatin1String("\\l")) && !url.isEmpty()) {
        static const QRegularExpression local(QStringLiteral(R"re(\\l\s+"([^"]*)")re"));
        const QRegularExpressionMatch lm = local.match(instruction);
        if (lm.hasMatch()) {
            const QString anchor = lm.captured(1);
            url = anchor == url ? QLatin1Char('#') + anchor : url + QLatin1Char('#') + anchor;
        }
    }
    return url;
}

// A list marker as it shows before its item's text: without the blanks around it, and without
// TABs, which only separate a marker from the text.
QString shownMarker(QString marker)
{
    marker = marker.trimmed();
    marker.remove(u'\t');
    return marker;
}

} // namespace

int rtfStart(const QByteArray& bytes)
{
    int pos = 0;
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        pos = 3;
    }
    while (pos < bytes.size() && isSpaceByte(bytes[pos])) {
        ++pos;
    }
    if (bytes.size() - pos >= 5 && std::string_view(bytes.constData() + pos, 5) == "{\\rtf") {
        return pos;
    }
    return -1;
}

Interpreter::Interpreter(Sink& sink, const ReaderLimits& limits)
    : m_sink(sink), m_limits(limits), m_listTable(limits.maxLists)
{
}

Interpreter::~Interpreter() = default;

ReadStatus Interpreter::run(const QByteArray& rtf, bool rawTextIsUtf8)
{
    const int start = rtfStart(rtf);
    if (start < 0) {
        return ReadStatus::NotRtf;
    }
    m_rawUtf8 = rawTextIsUtf8;
    m_wantsFormats = m_sink.wantsFormats();
    m_sink.begin(m_tables);
    m_stack.clear();
    m_stack.reserve(64);
    m_stack.push_back(GroupState{});
    m_text.reserve(1024);

    Tokenizer tokenizer(rtf, start);
    bool closed = false;
    while (!closed) {
        const Token t = tokenizer.next();
        if (t.type == TokenType::End) {
            break;
        }
        if (m_skip > 0) {
            // The fallback after \uN: whole tokens count as one character each; a brace ends it.
            if (t.type == TokenType::Text) {
                int skipped = 0;
                int i = 0;
                while (i < t.length && skipped < m_skip) {
                    ++i;
                    if (m_rawUtf8) {
                        while (i < t.length &&
                               (static_cast<unsigned char>(rtf[t.offset + i]) & 0xC0) == 0x80) {
                            ++i;
                        }
                    }
                    ++skipped;
                }
                m_skip -= skipped;
                if (i < t.length) {
                    m_firstInGroup = false;
                    addBytes(rtf.constData() + t.offset + i, t.length - i);
                }
                continue;
            }
            if (t.type != TokenType::GroupStart && t.type != TokenType::GroupEnd) {
                --m_skip;
                continue;
            }
            m_skip = 0;
        }
        switch (t.type) {
        case TokenType::GroupStart:
            flushBytes();
            openGroup();
            break;
        case TokenType::GroupEnd:
            flushBytes();
            closed = closeGroup();
            break;
        case TokenType::ControlWord: {
            flushBytes();
            const bool first = m_firstInGroup;
            m_firstInGroup = false;
            if (t.nameTooLong) {
                m_star = false;
                break;
            }
            const bool star = m_star;
            m_star = false;
            const std::string_view name(rtf.constData() + t.offset, t.length);
            const Word word = lookupWord(name);
            if ((first && word == Word::Skip) || (star && word == Word::Unknown)) {
                skipDestination(tokenizer);
                closed = m_documentClosed;
                break;
            }
            const Destination before = state().destination;
            handleWord(tokenizer, word, t.hasParameter, t.parameter);
            if (m_overflow > 0 && !m_documentClosed && state().destination != before) {
                // A group beyond the depth cap shares its parent's state, so a destination
                // opened there would outlive the group: skip the rest of the group instead.
                state().destination = before;
                skipDestination(tokenizer);
            }
            closed = m_documentClosed;
            break;
        }
        case TokenType::ControlSymbol:
            flushBytes();
            if (t.symbol == '*') {
                m_star = true;
                break;
            }
            m_firstInGroup = false;
            if (m_star) {
                m_star = false;
                skipDestination(tokenizer);
                closed = m_documentClosed;
                break;
            }
            handleSymbol(t.symbol);
            break;
        case TokenType::HexByte: {
            m_firstInGroup = false;
            if (m_star) {
                m_star = false;
                skipDestination(tokenizer);
                closed = m_documentClosed;
                break;
            }
            const char byte = static_cast<char>(t.hexValue);
            if (state().destination == Destination::Picture) {
                break;
            }
            if (state().destination == Destination::ListMarker) {
                m_markerHadBytes = true;
            }
            if (t.hexValue < 0x20 && state().destination == Destination::LevelText) {
                // \leveltext spells its length and its level-number placeholders as control bytes.
                flushBytes();
                emitChar(static_cast<char16_t>(t.hexValue));
                break;
            }
            if (t.hexValue < 0x20 && t.hexValue != '\t') {
                break; // control characters show nothing (and \'0d\'0a is no paragraph mark)
            }
            const int codePage = currentCodePage();
            if (!m_bytes.isEmpty() && m_bytesCodePage != codePage) {
                flushBytes();
            }
            m_bytesCodePage = codePage;
            m_bytes.append(byte);
            break;
        }
        case TokenType::BadHex:
            break;
        case TokenType::Binary:
            flushBytes();
            m_firstInGroup = false;
            if (state().destination == Destination::Picture) {
                pictureBinary(rtf.constData() + t.offset, t.length);
            }
            break;
        case TokenType::Text:
            m_firstInGroup = false;
            if (m_star) {
                m_star = false;
                skipDestination(tokenizer);
                closed = m_documentClosed;
                break;
            }
            addBytes(rtf.constData() + t.offset, t.length);
            break;
        case TokenType::Tab:
            flushBytes();
            emitChar(u'\t');
            break;
        case TokenType::End:
            break;
        }
    }
    flushBytes();
    resolveSurrogate();
    if (!m_leadingSpaces.isEmpty()) {
        beginContent();
    }
    const bool truncated = !closed;
    if (truncated) {
        m_lastParagraph = state().para;
        m_closingAtEnd = true;
    }
    // Close what the input left open so that pending pictures and markers are delivered.
    while (!closed && !m_stack.empty()) {
        closed = closeGroup();
    }
    emitPendingMarker();
    flushText();
    m_sink.finish(m_lastParagraph, m_endedWithParagraph);
    return truncated ? ReadStatus::Truncated : ReadStatus::Ok;
}

void Interpreter::openGroup()
{
    resolveSurrogate();
    m_star = false;
    m_firstInGroup = true;
    if (static_cast<int>(m_stack.size()) > m_limits.maxDepth) {
        ++m_overflow;
        return;
    }
    m_stack.push_back(m_stack.back());
}

bool Interpreter::closeGroup()
{
    m_star = false;
    m_firstInGroup = false;
    if (m_overflow > 0) {
        --m_overflow;
        return false;
    }
    if (m_stack.size() <= 1) {
        return true;
    }
    resolveSurrogate(); // a lone high surrogate belongs to the group it was written in
    const GroupState closing = m_stack.back();
    m_stack.pop_back();
    if (m_stack.size() == 1 && !m_closingAtEnd) {
        m_lastParagraph = closing.para; // the document's group: its last paragraph's properties
    }
    const Destination parent = m_stack.back().destination;
    if (closing.destination != parent) {
        switch (closing.destination) {
        case Destination::FieldInstruction:
            finishFieldInstruction();
            break;
        case Destination::ListMarker: {
            const QString marker = shownMarker(m_markerText);
            // U+FFFD from bytes the code page cannot decode; one written as \u65533 is a character.
            const bool undecodable = marker.isEmpty() || m_markerUndecodable;
            if (parent == Destination::Body && !closing.chr.hidden) {
                if (!undecodable) {
                    m_marker = marker;
                    m_hasMarker = true;
                    m_leadingSpaces.clear();
                }
                // An explicitly empty marker shows nothing; one whose bytes did not decode
                // leaves the marker to the list definition.
                m_markerSeen = !(undecodable && m_markerHadBytes);
            }
            m_markerText.clear();
            m_markerHadBytes = false;
            m_markerUndecodable = false;
            break;
        }
        case Destination::LevelText:
            m_listTable.setLevelText(m_levelText);
            m_levelText.clear();
            break;
        case Destination::LegacyList:
            if (parent == Destination::Body) {
                // \pn is a paragraph property: it numbers the paragraph it appears in.
                m_pnInForce = m_pnReading;
                m_stack.back().para.legacyList = true;
                if (m_pnReading.levelGiven) {
                    m_stack.back().para.listLevel = m_pnReading.level;
                }
            }
            break;
        case Destination::Picture:
            if (!m_pictureTooBig && !m_picture.data.isEmpty()) {
                flushText(); // the text before the picture goes first
                m_sink.picture(m_picture, closing.chr);
            }
            m_picture = Picture{};
            break;
        default:
            break;
        }
    }
    return m_stack.size() <= 1;
}

void Interpreter::skipDestination(Tokenizer& tokenizer)
{
    resolveSurrogate();
    m_skip = 0;
    // At the end of the input the group stays open: the document is then truncated.
    m_documentClosed = tokenizer.skipGroup() && closeGroup();
}

int Interpreter::currentCodePage()
{
    const GroupState& s = state();
    const int fontNumber = s.chr.font == kDefaultFont ? m_tables.defaultFont : s.chr.font;
    if (!m_codePageCached || fontNumber != m_cachedFont) {
        m_codePageCached = true;
        m_cachedCodePage = codePageOfFont(fontNumber);
        m_cachedFont = fontNumber;
    }
    return m_cachedCodePage;
}

int Interpreter::codePageOfFont(int fontNumber) const
{
    const auto it = m_tables.fonts.constFind(fontNumber);
    if (it == m_tables.fonts.constEnd()) {
        return m_ansiCodePage;
    }
    if (it->codePage > 0) {
        return it->codePage;
    }
    // The Symbol and Wingdings fonts' bytes are their own encoding even when the table omits
    // \fcharset2.
    const bool wingdings = it->name.compare(QLatin1String("Wingdings"), Qt::CaseInsensitive) == 0;
    const int charset =
        it->charset < 0 && (wingdings || it->name.compare(QLatin1String("Symbol"), Qt::CaseInsensitive) == 0)
            ? 2
            : it->charset;
    if (charset >= 0) {
        const int cp = codePageForCharset(charset);
        if (cp == kCodePageSymbol) {
            if (wingdings) {
                return kCodePageWingdings;
            }
            return it->name.startsWith(QLatin1String("Symbol"), Qt::CaseInsensitive) ? kCodePageSymbol
                                                                                     : kCodePageSymbolOther;
        }
        if (cp != 0) {
            return cp;
        }
    }
    return m_ansiCodePage;
}

void Interpreter::addBytes(const char* bytes, int length)
{
    const Destination destination = state().destination;
    if (destination == Destination::Picture) {
        pictureBytes(bytes, length);
        return;
    }
    if (destination == Destination::Ignored || destination == Destination::UprAnsi) {
        return;
    }
    if (destination == Destination::ListMarker) {
        m_markerHadBytes = true;
    }
    int codePage = currentCodePage();
    if (m_rawUtf8 && !isSymbolFontCodePage(codePage)) {
        codePage = kCodePageUtf8;
    }
    if (!m_bytes.isEmpty() && m_bytesCodePage != codePage) {
        flushBytes();
    }
    m_bytesCodePage = codePage;
    m_bytes.append(bytes, length);
}

void Interpreter::flushBytes()
{
    if (m_bytes.isEmpty()) {
        return;
    }
    m_decoded.resize(0);
    const bool ascii = m_decoders.decode(m_bytesCodePage, m_bytes, m_decoded);
    m_bytes.resize(0);
    if (!ascii && state().destination == Destination::ListMarker && m_decoded.contains(QChar(0xFFFD))) {
        m_markerUndecodable = true;
    }
    if (ascii) {
        emitText(m_decoded);
    } else {
        emitDecoded(m_decoded);
    }
}

void Interpreter::emitText(QStringView text)
{
    if (text.isEmpty()) {
        return;
    }
    GroupState& s = state();
    switch (s.destination) {
    case Destination::Body:
        if (s.chr.hidden || s.chr.deleted) {
            return;
        }
        emitVisible(text);
        return;
    case Destination::ListMarker:
        m_markerText.append(text);
        return;
    case Destination::LevelText:
        if (m_levelText.size() < 64) {
            m_levelText.append(text);
        }
        return;
    case Destination::LegacyTextBefore:
        if (m_pnReading.before.size() < kMaxListAffixLength) {
            m_pnReading.before.append(text);
        }
        return;
    case Destination::LegacyTextAfter:
        if (m_pnReading.after.size() < kMaxListAffixLength) {
            m_pnReading.after.append(text);
        }
        return;
    case Destination::LegacyList:
        return;
    case Destination::ListTable:
        return;
    case Destination::FieldInstruction:
        if (m_fieldInstruction.size() < m_limits.maxFieldInstruction) {
            m_fieldInstruction.append(text.left(m_limits.maxFieldInstruction - m_fieldInstruction.size()));
        }
        return;
    case Destination::FontTable: {
        m_codePageCached = false;
        FontInfo* font = nullptr;
        if (m_currentFont != INT_MIN) {
            auto it = m_tables.fonts.find(m_currentFont);
            if (it != m_tables.fonts.end()) {
                font = &it.value();
            }
        }
        for (const QChar c : text) {
            if (c == u';') {
                m_fontNameDone = true;
            } else if (font && !m_fontNameDone && font->name.size() < 256) {
                font->name.append(c);
            }
        }
        if (font && m_fontNameDone) {
            font->name = font->name.trimmed();
        }
        return;
    }
    case Destination::ColourTable:
        for (const QChar c : text) {
            if (c == u';') {
                if (m_tables.colours.size() < m_limits.maxColours) {
                    m_tables.colours.append(m_colour);
                }
                m_colour = ColourEntry{};
            }
        }
        return;
    case Destination::Picture:
    case Destination::Ignored:
    case Destination::UprAnsi:
        return;
    }
}

void Interpreter::beginContent()
{
    resolveSurrogate();
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
            m_paragraphListDone = false;
        } else {
            m_text.append(u' ');
            m_blockHasContent = true;
        }
        m_cellSeparator = CellSeparator::None;
    }
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
            if (m_wantsFormats && !(stretch.format == m_textFormat)) {
                flushText();
                m_textFormat = stretch.format;
            }
            m_text.append(QStringView(m_leadingSpaces).sliced(stretch.start, end - stretch.start));
        }
        m_leadingSpaces.clear();
        m_leadingSpacesFormats.clear();
    }
    m_blockHasContent = true;
}

void Interpreter::listParagraphStarts()
{
    if (m_paragraphListDone) {
        return;
    }
    m_paragraphListDone = true;
    const ParagraphFormat& para = state().para;
    if (state().destination != Destination::Body) {
        return;
    }
    if (para.listOverride <= 0 && para.legacyList) {
        m_paragraphIsLegacyItem = true;
        const LegacyNumbering& pn = m_pnInForce;
        if (pn.continuation) {
            return; // a paragraph inside the list that shows no number of its own
        }
        m_pnNumber = m_pnContinues && pn == m_pnPrevious ? m_pnNumber + 1 : pn.start;
        m_pnPrevious = pn;
        QString marker;
        if (pn.bullet) {
            marker = shownMarker(pn.before);
            if (marker.isEmpty()) {
                marker = QString(QChar(0x2022));
            }
        } else {
            marker = shownMarker(pn.before + formatNumber(m_pnNumber, pn.format) + pn.after);
        }
        if (!m_hasMarker && !m_markerSeen) {
            m_marker = marker;
            m_hasMarker = true;
        }
        return;
    }
    if (para.listOverride <= 0) {
        return;
    }
    // The numbering advances for every item, also those whose marker the document spells out.
    const QString marker = shownMarker(m_listTable.nextMarker(
        para.listOverride, para.listLevel, [this](int font) { return codePageOfFont(font); }));
    if (!m_hasMarker && !m_markerSeen && !marker.isEmpty()) {
        m_marker = marker;
        m_hasMarker = true;
    }
}

void Interpreter::paragraphDone()
{
    m_pnContinues = m_paragraphIsLegacyItem;
    m_paragraphIsLegacyItem = false;
    m_paragraphListDone = false;
    m_markerSeen = false;
    m_hasMarker = false;
}

void Interpreter::emitPendingMarker()
{
    if (!m_hasMarker) {
        return;
    }
    m_hasMarker = false;
    if (m_blockHasContent) {
        // A marker shows only at the start of a paragraph: every sink puts it there. In a table
        // the paragraphs of a row are joined into one, so a list item's marker that does not
        // open the row stays in the text, with the TAB that follows a marker.
        if (state().para.inTable) {
            if (m_wantsFormats && !(state().chr == m_textFormat)) {
                flushText();
                m_textFormat = state().chr;
            }
            m_text.append(m_marker);
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
    if (para.listOverride <= 0 && para.legacyList && !m_pnInForce.continuation) {
        marker.numbering = m_pnInForce.bullet ? NumberFormat::Bullet : m_pnInForce.format;
        if (!m_pnInForce.bullet) {
            marker.prefix = m_pnInForce.before;
            marker.suffix = m_pnInForce.after;
        }
    }
    m_sink.listMarker(marker, state().chr);
    m_endedWithParagraph = false;
}

void Interpreter::emitVisible(QStringView text)
{
    if (!m_cellHasContent && m_pendingTabs == 0 && m_cellSeparator == CellSeparator::None && !m_hasMarker &&
        m_highSurrogate == 0 && std::all_of(text.begin(), text.end(), [](QChar c) { return c == u' '; })) {
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
    if (m_highSurrogate != 0 || m_pendingTabs > 0 || m_cellSeparator != CellSeparator::None || m_hasMarker ||
        m_endedWithParagraph || !m_cellHasContent) {
        beginContent();
    }
    if (m_wantsFormats && !(state().chr == m_textFormat)) {
        flushText();
        m_textFormat = state().chr;
    }
    m_text.append(text);
}

void Interpreter::flushText()
{
    if (m_text.isEmpty()) {
        return;
    }
    m_sink.text(m_text, m_wantsFormats ? m_textFormat : state().chr);
    m_text.resize(0);
}

void Interpreter::resolveSurrogate()
{
    if (m_highSurrogate != 0) {
        m_highSurrogate = 0;
        emitChar(0xFFFD);
    }
}

void Interpreter::lineBreak()
{
    const GroupState& s = state();
    if (s.destination == Destination::Body && !s.chr.hidden && !s.chr.deleted) {
        beginContent();
        flushText();
        m_sink.lineBreak(s.chr);
    }
}

void Interpreter::softHyphen()
{
    const GroupState& s = state();
    if (s.destination == Destination::Body && !s.chr.hidden && !s.chr.deleted) {
        beginContent();
        flushText();
        m_sink.softHyphen(s.chr);
    }
}

void Interpreter::emitDecoded(QStringView text)
{
    // Characters a QTextDocument treats as structure (paragraph and line separators, object
    // replacement) or that no sink shows (control characters) become events or are dropped,
    // so that every sink sees the same characters.
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        const bool special =
            (c < 0x20 && c != u'\t') || c == 0x85 || c == 0xAD || c == 0x2028 || c == 0x2029 || c == 0xFFFC;
        if (!special) {
            continue;
        }
        emitText(text.mid(start, i - start));
        start = i + 1;
        if (c == 0x2028) {
            lineBreak();
        } else if (c == 0x2029) {
            paragraphBreak();
        } else if (c == 0xAD) {
            softHyphen();
        }
    }
    emitText(text.mid(start));
}

void Interpreter::emitUnicode(int value)
{
    if (value < -32768 || value > 65535) {
        resolveSurrogate();
        emitChar(0xFFFD);
        return;
    }
    // A symbol font's private-use characters are its bytes: U+F0B7 in Symbol is its bullet.
    const auto unit =
        symbolFontCodePoint(currentCodePage(), static_cast<char16_t>(value < 0 ? value + 65536 : value));
    if (QChar::isHighSurrogate(unit)) {
        resolveSurrogate();
        m_highSurrogate = unit;
        return;
    }
    if (QChar::isLowSurrogate(unit)) {
        if (m_highSurrogate != 0) {
            const char16_t pair[2] = {m_highSurrogate, unit};
            m_highSurrogate = 0;
            emitText(QStringView(pair, 2));
        } else {
            emitChar(0xFFFD);
        }
        return;
    }
    resolveSurrogate();
    emitDecoded(QStringView(&unit, 1));
}

void Interpreter::paragraphBreak()
{
    resolveSurrogate();
    const GroupState& s = state();
    if (s.destination != Destination::Body || s.chr.deleted) {
        // A deleted paragraph mark joins the two paragraphs, as in the accepted document.
        return;
    }
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
    m_endedWithParagraph = true;
    m_cellHasContent = false;
    paragraphDone();
}

void Interpreter::cellEnd()
{
    if (state().destination != Destination::Body) {
        return;
    }
    resolveSurrogate();
    if (!m_leadingSpaces.isEmpty()) {
        beginContent();
    }
    emitPendingMarker();
    m_cellSeparator = CellSeparator::None;
    ++m_pendingTabs;
    m_cellHasContent = false;
    paragraphDone();
}

void Interpreter::rowEnd(bool nested)
{
    if (state().destination != Destination::Body) {
        return;
    }
    resolveSurrogate();
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
    m_endedWithParagraph = true;
}

void Interpreter::pictureBytes(const char* bytes, int length)
{
    if (m_pictureTooBig) {
        return;
    }
    if (m_picture.data.size() + length > m_limits.maxPictureBytes) {
        m_pictureTooBig = true;
        m_picture.data.clear();
        return;
    }
    if (state().destination != Destination::Picture) {
        return;
    }
    for (int i = 0; i < length; ++i) {
        const int v = hexDigit(bytes[i]);
        if (v < 0) {
            continue;
        }
        if (m_pictureNibble < 0) {
            m_pictureNibble = v;
        } else {
            m_picture.data.append(static_cast<char>(m_pictureNibble * 16 + v));
            m_pictureNibble = -1;
        }
    }
}

void Interpreter::pictureBinary(const char* bytes, int length)
{
    if (m_pictureTooBig) {
        return;
    }
    if (m_picture.data.size() + length > m_limits.maxPictureBytes) {
        m_pictureTooBig = true;
        m_picture.data.clear();
        return;
    }
    m_picture.data.append(bytes, length);
}

void Interpreter::finishFieldInstruction()
{
    const QString target = hyperlinkTarget(m_fieldInstruction);
    m_fieldInstruction.clear();
    if (target.isEmpty()) {
        return;
    }
    m_tables.links.append(target);
    // The field group (the instruction's parent) carries the link into its result.
    state().chr.link = static_cast<int>(m_tables.links.size() - 1);
}

void Interpreter::handleLegacyListWord(Word word, int value)
{
    LegacyNumbering& pn = m_pnReading;
    switch (word) {
    case Word::LegacyBullet:
        pn.bullet = true;
        break;
    case Word::LegacyBody:
        pn.bullet = false;
        break;
    case Word::LegacyContinue:
        pn.continuation = true;
        break;
    case Word::LegacyLevel:
        pn.bullet = false;
        pn.level = clampInt(value, 1, 9) - 1; // clamped first: \pnlvl-2147483648 must not overflow
        pn.levelGiven = true;
        break;
    case Word::LegacyDecimal:
        pn.format = NumberFormat::Decimal;
        break;
    case Word::LegacyUpperRoman:
        pn.format = NumberFormat::UpperRoman;
        break;
    case Word::LegacyLowerRoman:
        pn.format = NumberFormat::LowerRoman;
        break;
    case Word::LegacyUpperLetter:
        pn.format = NumberFormat::UpperLetter;
        break;
    case Word::LegacyLowerLetter:
        pn.format = NumberFormat::LowerLetter;
        break;
    case Word::LegacyStart:
        pn.start = clampInt(value, 0, 1 << 20);
        break;
    case Word::LegacyFont:
        state().chr.font = value; // the marker text that follows is in this font
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

void Interpreter::handleWord(Tokenizer& tokenizer, Word word, bool hasParameter, int parameter)
{
    GroupState& s = state();
    if (s.destination == Destination::Picture && (word < Word::PngBlip || word > Word::PicScaleY)) {
        // Inside a picture only its own words count: the plain-text path never reads it.
        return;
    }
    if (s.destination == Destination::FontTable || word == Word::Ansi || word == Word::Mac ||
        word == Word::Pc || word == Word::Pca || word == Word::AnsiCodePage || word == Word::DefaultFont) {
        m_codePageCached = false; // the code page of a font may change
    }
    const bool on = !hasParameter || parameter != 0;
    const int value = hasParameter ? parameter : 0;
    switch (word) {
    case Word::Unknown:
    case Word::Skip:
        // A destination word that does not begin its group is only a word.
        break;
    case Word::FontTable:
        s.destination = Destination::FontTable;
        m_currentFont = INT_MIN;
        break;
    case Word::ColourTable:
        s.destination = Destination::ColourTable;
        m_colour = ColourEntry{};
        break;
    case Word::FieldInstruction:
        s.destination = Destination::FieldInstruction;
        m_fieldInstruction.clear();
        break;
    case Word::FieldResult:
    case Word::Result:
    case Word::ShapePicture:
    case Word::NestTableProps:
        // Shown destinations: their text belongs to the enclosing one.
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
            // A picture is content even when its data is not read: a paragraph holding only an
            // image keeps its paragraph mark in every sink.
            m_endedWithParagraph = false;
            m_cellHasContent = true;
            m_blockHasContent = true;
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
            m_markerText.clear();
            m_markerUndecodable = false;
        }
        break;
    case Word::Upr:
        if (s.destination == Destination::Body) {
            s.destination = Destination::UprAnsi;
        }
        break;
    case Word::LegacyList:
        if (s.destination == Destination::Body) {
            s.destination = Destination::LegacyList;
            m_pnReading = LegacyNumbering{};
        } else {
            s.destination = Destination::Ignored;
        }
        break;
    case Word::LegacyBullet:
    case Word::LegacyBody:
    case Word::LegacyContinue:
    case Word::LegacyLevel:
    case Word::LegacyDecimal:
    case Word::LegacyUpperRoman:
    case Word::LegacyLowerRoman:
    case Word::LegacyUpperLetter:
    case Word::LegacyLowerLetter:
    case Word::LegacyStart:
    case Word::LegacyFont:
        if (s.destination == Destination::LegacyList) {
            handleLegacyListWord(word, value);
        }
        break;
    case Word::LegacyTextBefore:
    case Word::LegacyTextAfter:
        if (s.destination == Destination::LegacyList) {
            s.destination =
                word == Word::LegacyTextBefore ? Destination::LegacyTextBefore : Destination::LegacyTextAfter;
        }
        break;
    case Word::ListTableDestination:
        s.destination = Destination::ListTable;
        break;
    case Word::LevelText:
        if (s.destination == Destination::ListTable) {
            s.destination = Destination::LevelText;
            m_levelText.clear();
        }
        break;
    case Word::ListDefinition:
        if (s.destination == Destination::ListTable) {
            m_listTable.beginList();
            m_inListOverride = false;
        }
        break;
    case Word::ListLevelDefinition:
        if (s.destination == Destination::ListTable) {
            m_listTable.beginLevel();
        }
        break;
    case Word::LevelNumberFormat:
        if (s.destination == Destination::ListTable) {
            m_listTable.setNumberFormat(numberFormatFromLevelCode(value));
        }
        break;
    case Word::LevelStart:
        if (s.destination == Destination::ListTable) {
            m_listTable.setStart(clampInt(value, 0, 1 << 20));
        }
        break;
    case Word::ListId:
        if (s.destination == Destination::ListTable) {
            if (m_inListOverride) {
                m_listTable.setOverrideListId(value);
            } else {
                m_listTable.setListId(value);
            }
        }
        break;
    case Word::ListOverrideDefinition:
        if (s.destination == Destination::ListTable) {
            m_listTable.beginOverride();
            m_inListOverride = true;
        }
        break;

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
            if (m_tables.fonts.size() < m_limits.maxFonts || m_tables.fonts.contains(value)) {
                m_tables.fonts[value] = FontInfo{};
                m_currentFont = value;
            } else {
                m_currentFont = INT_MIN;
            }
            m_fontNameDone = false;
        } else {
            s.chr.font = value;
            if (s.destination == Destination::ListTable) {
                m_listTable.setFont(value);
            }
        }
        break;
    case Word::FontSize:
        s.chr.sizeHalfPoints = hasParameter ? clampInt(value, 2, 3276) : 24;
        break;
    case Word::Foreground:
        s.chr.foreground = value > 0 && value < m_limits.maxColours ? value : 0;
        break;
    case Word::Background:
        s.chr.background = value > 0 && value < m_limits.maxColours ? value : 0;
        break;

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
        s.para.leftIndent = clampInt(value, -kMaxIndent, kMaxIndent);
        break;
    case Word::RightIndent:
        s.para.rightIndent = clampInt(value, -kMaxIndent, kMaxIndent);
        break;
    case Word::FirstIndent:
        s.para.firstIndent = clampInt(value, -kMaxIndent, kMaxIndent);
        break;
    case Word::SpaceBefore:
        s.para.spaceBefore = clampInt(value, 0, kMaxIndent);
        break;
    case Word::SpaceAfter:
        s.para.spaceAfter = clampInt(value, 0, kMaxIndent);
        break;
    case Word::LineSpacing:
        s.para.lineSpacing = clampInt(value, -kMaxIndent, kMaxIndent);
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
    case Word::TableLevel:
        s.para.tableLevel = clampInt(value, 0, 1000);
        s.para.inTable = s.para.tableLevel > 0;
        break;
    case Word::ListOverride:
        if (s.destination == Destination::ListTable) {
            if (m_inListOverride) {
                m_listTable.setOverrideNumber(value);
            }
            break;
        }
        s.para.listOverride = clampInt(value, 0, 1 << 20);
        break;
    case Word::ListLevel:
        s.para.listLevel = clampInt(value, 0, 8);
        break;

    case Word::Par:
        paragraphBreak();
        break;
    case Word::Section:
        // A section, page or column break ends the paragraph it is in; right after a paragraph
        // mark (LibreOffice's "\par \sect", Word's "\page \par") it ends no empty one.
        if (m_cellHasContent || !m_leadingSpaces.isEmpty() || s.para.inTable) {
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
        cellEnd();
        break;
    case Word::Row:
        rowEnd(false);
        break;
    case Word::NestRow:
        rowEnd(true);
        break;

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
        m_ansiCodePage = 1252;
        break;
    case Word::Mac:
        m_ansiCodePage = 10000;
        break;
    case Word::Pc:
        m_ansiCodePage = 437;
        break;
    case Word::Pca:
        m_ansiCodePage = 850;
        break;
    case Word::AnsiCodePage:
        if (value > 0 && value < 100000) {
            m_ansiCodePage = value;
        }
        break;
    case Word::DefaultFont:
        m_tables.defaultFont = value;
        break;
    case Word::FontCharset:
    case Word::FontCodePage:
    case Word::FamilyNil:
    case Word::FamilyRoman:
    case Word::FamilySwiss:
    case Word::FamilyModern:
    case Word::FamilyScript:
    case Word::FamilyDecor:
    case Word::FamilyTech: {
        if (s.destination != Destination::FontTable || m_currentFont == INT_MIN) {
            break;
        }
        auto it = m_tables.fonts.find(m_currentFont);
        if (it == m_tables.fonts.end()) {
            break;
        }
        FontInfo& font = it.value();
        switch (word) {
        case Word::FontCharset:
            font.charset = clampInt(value, 0, 255);
            break;
        case Word::FontCodePage:
            font.codePage = value > 0 && value < 100000 ? value : 0;
            break;
        case Word::FamilyRoman:
            font.family = FontFamily::Roman;
            break;
        case Word::FamilySwiss:
            font.family = FontFamily::Swiss;
            break;
        case Word::FamilyModern:
            font.family = FontFamily::Modern;
            break;
        case Word::FamilyScript:
            font.family = FontFamily::Script;
            break;
        case Word::FamilyDecor:
            font.family = FontFamily::Decor;
            break;
        case Word::FamilyTech:
            font.family = FontFamily::Tech;
            break;
        default:
            break;
        }
        break;
    }
    case Word::Red:
        m_colour.automatic = false;
        m_colour.rgb = qRgb(clampInt(value, 0, 255), qGreen(m_colour.rgb), qBlue(m_colour.rgb));
        break;
    case Word::Green:
        m_colour.automatic = false;
        m_colour.rgb = qRgb(qRed(m_colour.rgb), clampInt(value, 0, 255), qBlue(m_colour.rgb));
        break;
    case Word::Blue:
        m_colour.automatic = false;
        m_colour.rgb = qRgb(qRed(m_colour.rgb), qGreen(m_colour.rgb), clampInt(value, 0, 255));
        break;

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
    }
}

} // namespace folioneer::rtf
