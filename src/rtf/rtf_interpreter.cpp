// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "rtf/rtf_interpreter.h"

#include "rtf/rtf_interpreter_parts.h"
#include "rtf/rtf_tokenizer.h"

#include <QRegularExpression>

#include <string_view>

namespace folioneer::rtf {

namespace {

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
    : m_sink(sink), m_limits(limits), m_parts(std::make_unique<Parts>(sink, m_stack, m_tables, limits))
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
    m_sink.begin(m_tables);
    m_stack.clear();
    m_stack.reserve(64);
    m_stack.push_back(GroupState{});
    m_parts->paragraphs.begin();

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
        case TokenType::HexByte:
            m_firstInGroup = false;
            if (m_star) {
                m_star = false;
                skipDestination(tokenizer);
                closed = m_documentClosed;
                break;
            }
            hexByte(t.hexValue);
            break;
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
    m_parts->paragraphs.endOfInput();
    const bool truncated = !closed;
    if (truncated) {
        m_lastParagraph = state().para;
        m_closingAtEnd = true;
    }
    // Close what the input left open so that pending pictures and markers are delivered.
    while (!closed && !m_stack.empty()) {
        closed = closeGroup();
    }
    m_parts->paragraphs.finish(m_lastParagraph);
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
        case Destination::ListMarker:
            m_parts->paragraphs.endMarker(parent == Destination::Body && !closing.chr.hidden);
            break;
        case Destination::LevelText:
            m_parts->lists.setLevelText(m_levelText);
            m_levelText.clear();
            break;
        case Destination::LegacyList:
            if (parent == Destination::Body) {
                // \pn is a paragraph property: it numbers the paragraph it appears in.
                m_parts->legacy.definitionDone();
                m_stack.back().para.legacyList = true;
                if (m_parts->legacy.levelGiven()) {
                    m_stack.back().para.listLevel = m_parts->legacy.level();
                }
            }
            break;
        case Destination::Picture:
            if (!m_pictureTooBig && !m_picture.data.isEmpty()) {
                m_parts->paragraphs.picture(m_picture, closing.chr);
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

void Interpreter::hexByte(std::uint8_t value)
{
    const Destination destination = state().destination;
    if (destination == Destination::Picture) {
        return;
    }
    if (destination == Destination::ListMarker) {
        m_parts->paragraphs.markerHadBytes();
    }
    if (value < 0x20 && destination == Destination::LevelText) {
        // \leveltext spells its length and its level-number placeholders as control bytes.
        flushBytes();
        emitChar(value);
        return;
    }
    if (value < 0x20 && value != '\t') {
        return; // control characters show nothing (and \'0d\'0a is no paragraph mark)
    }
    const int codePage = m_parts->fonts.codePageOf(state().chr.font);
    if (!m_bytes.isEmpty() && m_bytesCodePage != codePage) {
        flushBytes();
    }
    m_bytesCodePage = codePage;
    m_bytes.append(static_cast<char>(value));
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
        m_parts->paragraphs.markerHadBytes();
    }
    int codePage = m_parts->fonts.codePageOf(state().chr.font);
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
    const bool ascii = m_parts->decoders.decode(m_bytesCodePage, m_bytes, m_decoded);
    m_bytes.resize(0);
    if (!ascii && state().destination == Destination::ListMarker && m_decoded.contains(QChar(0xFFFD))) {
        m_parts->paragraphs.markerUndecodable();
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
        resolveSurrogate();
        m_parts->paragraphs.text(text);
        return;
    case Destination::ListMarker:
        m_parts->paragraphs.appendMarkerText(text);
        return;
    case Destination::LevelText:
        if (m_levelText.size() < 64) {
            m_levelText.append(text);
        }
        return;
    case Destination::LegacyTextBefore:
        m_parts->legacy.appendTextBefore(text);
        return;
    case Destination::LegacyTextAfter:
        m_parts->legacy.appendTextAfter(text);
        return;
    case Destination::LegacyList:
        return;
    case Destination::ListTable:
        return;
    case Destination::FieldInstruction:
        // One character past the limit is kept, to tell a cut instruction from a whole one.
        if (m_fieldInstruction.size() <= m_limits.maxFieldInstruction) {
            m_fieldInstruction.append(
                text.left(m_limits.maxFieldInstruction + 1 - m_fieldInstruction.size()));
        }
        return;
    case Destination::FontTable:
        m_parts->fonts.appendText(text);
        return;
    case Destination::ColourTable:
        for (const QChar c : text) {
            if (c == u';') {
                if (m_tables.colours.size() < m_limits.maxColours) {
                    m_tables.colours.append(m_colour);
                    ++m_tables.revision;
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

void Interpreter::resolveSurrogate()
{
    if (m_highSurrogate != 0) {
        m_highSurrogate = 0;
        emitChar(0xFFFD);
    }
}

void Interpreter::emitDecoded(QStringView text)
{
    // Characters a QTextDocument treats as structure (paragraph and line separators, object
    // replacement, its frame marks U+FDD0 and U+FDD1) or that no sink shows (control
    // characters) become events or are dropped, so that every sink sees the same characters.
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        const bool special = (c < 0x20 && c != u'\t') || c == 0x85 || c == 0xAD || c == 0x2028 ||
                             c == 0x2029 || c == 0xFFFC || c == 0xFDD0 || c == 0xFDD1;
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
    const auto unit = symbolFontCodePoint(m_parts->fonts.codePageOf(state().chr.font),
                                          static_cast<char16_t>(value < 0 ? value + 65536 : value));
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

void Interpreter::lineBreak()
{
    const GroupState& s = state();
    if (s.destination == Destination::Body && !s.chr.hidden && !s.chr.deleted) {
        resolveSurrogate();
        m_parts->paragraphs.lineBreak();
    }
}

void Interpreter::softHyphen()
{
    const GroupState& s = state();
    if (s.destination == Destination::Body && !s.chr.hidden && !s.chr.deleted) {
        resolveSurrogate();
        m_parts->paragraphs.softHyphen();
    }
}

void Interpreter::paragraphBreak()
{
    resolveSurrogate();
    const GroupState& s = state();
    if (s.destination != Destination::Body || s.chr.deleted) {
        // A deleted paragraph mark joins the two paragraphs, as in the accepted document.
        return;
    }
    m_parts->paragraphs.paragraphBreak();
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
    // A cut instruction would give a cut target: no link, and the result's text stays.
    const QString target = m_fieldInstruction.size() > m_limits.maxFieldInstruction
                               ? QString()
                               : hyperlinkTarget(m_fieldInstruction);
    m_fieldInstruction.clear();
    if (target.isEmpty()) {
        return;
    }
    m_tables.links.append(target);
    // The field group (the instruction's parent) carries the link into its result.
    state().chr.link = static_cast<int>(m_tables.links.size() - 1);
}

} // namespace folioneer::rtf
