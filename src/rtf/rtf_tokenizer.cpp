// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "rtf/rtf_tokenizer.h"

#include <cstdint>
#include <limits>

namespace folioneer::rtf {

namespace {

bool isLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Bytes that end a text run: braces, backslash and every control byte.
struct StopTable {
    bool stop[256] = {};
    constexpr StopTable()
    {
        for (int i = 0; i < 32; ++i) {
            stop[i] = true;
        }
        stop[static_cast<unsigned char>('{')] = true;
        stop[static_cast<unsigned char>('}')] = true;
        stop[static_cast<unsigned char>('\\')] = true;
    }
};
constexpr StopTable kStops;

} // namespace

int hexDigit(char c)
{
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

Tokenizer::Tokenizer(const QByteArray& data, int start)
    : m_data(data.constData()), m_size(static_cast<int>(data.size())), m_pos(start)
{
}

Token Tokenizer::next()
{
    Token t;
    while (m_pos < m_size) {
        const auto c = static_cast<unsigned char>(m_data[m_pos]);
        if (!kStops.stop[c]) {
            int end = m_pos + 1;
            while (end < m_size && !kStops.stop[static_cast<unsigned char>(m_data[end])]) {
                ++end;
            }
            t.type = TokenType::Text;
            t.offset = m_pos;
            t.length = end - m_pos;
            m_pos = end;
            return t;
        }
        switch (c) {
        case '{':
            ++m_pos;
            t.type = TokenType::GroupStart;
            return t;
        case '}':
            ++m_pos;
            t.type = TokenType::GroupEnd;
            return t;
        case '\\':
            ++m_pos;
            return controlAfterBackslash();
        case '\t':
            ++m_pos;
            t.type = TokenType::Tab;
            return t;
        default:
            // CR, LF and other control bytes (NUL from clipboards) carry nothing.
            ++m_pos;
            break;
        }
    }
    t.type = TokenType::End;
    return t;
}

Token Tokenizer::controlAfterBackslash()
{
    Token t;
    if (m_pos >= m_size) {
        t.type = TokenType::End;
        return t;
    }
    const char c = m_data[m_pos];
    if (isLetter(c)) {
        const int nameStart = m_pos;
        while (m_pos < m_size && isLetter(m_data[m_pos])) {
            ++m_pos;
        }
        t.type = TokenType::ControlWord;
        t.offset = nameStart;
        t.length = m_pos - nameStart;
        t.nameTooLong = t.length > kMaxNameLength;
        // Optional signed parameter; a lone '-' is a delimiter, not part of the word.
        bool negative = false;
        if (m_pos + 1 < m_size && m_data[m_pos] == '-' && isDigit(m_data[m_pos + 1])) {
            negative = true;
            ++m_pos;
        }
        if (m_pos < m_size && isDigit(m_data[m_pos])) {
            std::int64_t value = 0;
            constexpr std::int64_t cap = std::int64_t(std::numeric_limits<std::int32_t>::max()) + 1;
            while (m_pos < m_size && isDigit(m_data[m_pos])) {
                if (value < cap) {
                    value = value * 10 + (m_data[m_pos] - '0');
                }
                ++m_pos;
            }
            if (negative) {
                value = -value;
            }
            if (value > std::numeric_limits<std::int32_t>::max()) {
                value = std::numeric_limits<std::int32_t>::max();
            } else if (value < std::numeric_limits<std::int32_t>::min()) {
                value = std::numeric_limits<std::int32_t>::min();
            }
            t.hasParameter = true;
            t.parameter = static_cast<std::int32_t>(value);
        }
        if (m_pos < m_size && m_data[m_pos] == ' ') {
            ++m_pos;
        }
        if (t.length == 3 && m_data[nameStart] == 'b' && m_data[nameStart + 1] == 'i' &&
            m_data[nameStart + 2] == 'n' && t.hasParameter) {
            // The payload is raw bytes, braces and backslashes included; a count past the end
            // takes the rest of the input, a negative one nothing.
            const int remaining = m_size - m_pos;
            const int length = t.parameter < 0 ? 0 : (t.parameter > remaining ? remaining : t.parameter);
            t.type = TokenType::Binary;
            t.offset = m_pos;
            t.length = length;
            m_pos += length;
        }
        return t;
    }
    if (c == '\'') {
        const int hi = m_pos + 1 < m_size ? hexDigit(m_data[m_pos + 1]) : -1;
        const int lo = m_pos + 2 < m_size ? hexDigit(m_data[m_pos + 2]) : -1;
        if (hi >= 0 && lo >= 0) {
            t.type = TokenType::HexByte;
            t.hexValue = static_cast<std::uint8_t>(hi * 16 + lo);
            m_pos += 3;
        } else {
            // Only the backslash and quote are taken, so a following brace or backslash still counts.
            t.type = TokenType::BadHex;
            ++m_pos;
        }
        return t;
    }
    t.type = TokenType::ControlSymbol;
    t.symbol = c;
    ++m_pos;
    return t;
}

bool Tokenizer::skipGroup()
{
    int depth = 1;
    while (m_pos < m_size) {
        const char c = m_data[m_pos++];
        if (c == '{') {
            ++depth;
        } else if (c == '}') {
            if (--depth == 0) {
                return true;
            }
        } else if (c == '\\') {
            if (m_pos >= m_size) {
                break;
            }
            if (m_data[m_pos] == 'b' && m_pos + 2 < m_size && m_data[m_pos + 1] == 'i' &&
                m_data[m_pos + 2] == 'n' && !(m_pos + 3 < m_size && isLetter(m_data[m_pos + 3]))) {
                // Let the full tokenizer parse the count and step over the payload.
                --m_pos;
                next();
            } else if (!isLetter(m_data[m_pos])) {
                ++m_pos; // an escaped brace or backslash is not structure
            }
        }
    }
    return false;
}

} // namespace folioneer::rtf
