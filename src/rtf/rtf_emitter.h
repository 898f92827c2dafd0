// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "support/text_codec.h"

#include <QByteArray>
#include <QChar>
#include <QStringView>

#include <algorithm>
#include <cstdint>

namespace folioneer::rtf {

// The RTF writer's output: control words, groups and text with the lexical rules that keep
// them apart. Knows nothing about documents.

// Lines are broken once they pass the soft length, at the next place where a line break cannot
// change the meaning: before a control word or brace, or after a space in text. Text without
// spaces is broken between two characters at the hard length. No unit of output is longer than
// a few dozen bytes, so lines stay short.
inline constexpr qsizetype kSoftLineLength = 160;
inline constexpr qsizetype kHardLineLength = 200;
inline constexpr int kHexBytesPerLine = 64;
inline constexpr char kHexDigits[] = "0123456789abcdef";

// Appends RTF to a buffer and keeps the two lexical rules that make output safe to read:
// a control word is followed by a delimiter space only when the next character would
// otherwise extend it (a letter, digit, space or '-'), and a line break goes only where a
// reader ignores it (before '\', '{' or '}', or between two text characters).
class Emitter {
public:
    explicit Emitter(qsizetype expectedSize) { m_out.reserve(expectedSize); }

    void word(const char* name)
    {
        breakIfLong();
        m_out.append(name);
        m_afterWord = true;
    }

    void word(const char* name, qint64 parameter)
    {
        breakIfLong();
        m_out.append(name);
        appendNumber(parameter);
        m_afterWord = true;
    }

    /// A prepared sequence of control words (each starting with '\').
    void words(const QByteArray& sequence)
    {
        if (sequence.isEmpty()) {
            return;
        }
        breakIfLong();
        m_out.append(sequence);
        m_afterWord = true;
    }

    void open()
    {
        breakIfLong();
        m_out.append('{');
        m_afterWord = false;
    }

    void close()
    {
        breakIfLong();
        m_out.append('}');
        m_afterWord = false;
    }

    void newline()
    {
        m_out.append("\r\n", 2);
        m_lineStart = m_out.size();
        m_afterWord = false;
    }

    /// A control symbol or another self-delimiting sequence such as \'hh.
    void symbol(const char* sequence)
    {
        breakIfLong();
        m_out.append(sequence);
        m_afterWord = false;
    }

    /// Text as RTF: escapes, special characters as control symbols, non-ASCII as \uN with a
    /// one-character fallback (\uc1 is in force everywhere we write).
    void text(QStringView text)
    {
        const char16_t* p = reinterpret_cast<const char16_t*>(text.data());
        const char16_t* end = p + text.size();
        for (; p != end; ++p) {
            const char16_t c = *p;
            if (c >= 0x20 && c < 0x7F) {
                if (c == u'\\' || c == u'{' || c == u'}') {
                    breakIfLong();
                    m_out.append('\\');
                    m_out.append(static_cast<char>(c));
                    m_afterWord = false;
                    continue;
                }
                if (m_afterWord) {
                    if (needsDelimiter(c)) {
                        m_out.append(' ');
                    }
                    m_afterWord = false;
                } else if (const qsizetype length = m_out.size() - m_lineStart;
                           length >= kHardLineLength || (length >= kSoftLineLength && m_out.back() == ' ')) {
                    newline();
                }
                m_out.append(static_cast<char>(c));
                continue;
            }
            switch (c) {
            case u'\t':
                word("\\tab");
                continue;
            case 0x00A0:
                symbol("\\~");
                continue;
            case 0x00AD:
                symbol("\\-");
                continue;
            case 0x2011:
                symbol("\\_");
                continue;
            case 0x2028:
                word("\\line");
                continue;
            case 0x2029:                            // paragraph separators are written by the caller
            case QChar::ObjectReplacementCharacter: // objects are written by the caller
            case 0xFDD0:                            // frame start and end marks of QTextDocument
            case 0xFDD1:
                continue;
            default:
                break;
            }
            if (c < 0x20) {
                continue; // other C0 controls have no place in a document
            }
            if (QChar::isHighSurrogate(c) && p + 1 != end && QChar::isLowSurrogate(p[1])) {
                unicode(c, 0);
                ++p;
                unicode(*p, 0);
                continue;
            }
            if (QChar::isSurrogate(c)) {
                unicode(0xFFFD, 0); // a lone surrogate is not a character
                continue;
            }
            unicode(c, windows1252Byte(c));
        }
    }

    /// Binary data as hex in lines of their own (inside a \pict destination, where line
    /// breaks are ignored).
    void hex(const QByteArray& data)
    {
        const auto* bytes = reinterpret_cast<const unsigned char*>(data.constData());
        const qsizetype n = data.size();
        m_out.reserve(m_out.size() + n * 2 + (n / kHexBytesPerLine + 2) * 2 + 1);
        if (m_afterWord) {
            m_out.append(' '); // some readers take a line end after a control word as part of it
        }
        for (qsizetype i = 0; i < n; i += kHexBytesPerLine) {
            newline();
            const qsizetype lineEnd = std::min(n, i + kHexBytesPerLine);
            for (qsizetype j = i; j < lineEnd; ++j) {
                m_out.append(kHexDigits[bytes[j] >> 4]);
                m_out.append(kHexDigits[bytes[j] & 0xF]);
            }
        }
        newline();
    }

    QByteArray& buffer() { return m_out; }

private:
    static bool needsDelimiter(char16_t c)
    {
        return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') ||
               c == u' ' || c == u'-';
    }

    void breakIfLong()
    {
        if (m_out.size() - m_lineStart >= kSoftLineLength) {
            newline();
        }
    }

    // \uN with N as a signed 16-bit number, then exactly one fallback character: the
    // Windows-1252 byte where there is one, else '?'. Written as one unit so that no line
    // break separates a \u from its fallback.
    void unicode(char16_t unit, unsigned char fallback)
    {
        breakIfLong();
        m_out.append("\\u", 2);
        appendNumber(static_cast<int16_t>(unit));
        if (fallback != 0) {
            m_out.append("\\'", 2);
            m_out.append(kHexDigits[fallback >> 4]);
            m_out.append(kHexDigits[fallback & 0xF]);
        } else {
            m_out.append('?');
        }
        m_afterWord = false;
    }

    void appendNumber(qint64 value)
    {
        char digits[24];
        int length = 0;
        const bool negative = value < 0;
        quint64 magnitude = negative ? 0 - static_cast<quint64>(value) : static_cast<quint64>(value);
        do {
            digits[length++] = static_cast<char>('0' + magnitude % 10);
            magnitude /= 10;
        } while (magnitude != 0);
        if (negative) {
            m_out.append('-');
        }
        while (length > 0) {
            m_out.append(digits[--length]);
        }
    }

    QByteArray m_out;
    qsizetype m_lineStart = 0;
    bool m_afterWord = false;
};

} // namespace folioneer::rtf
