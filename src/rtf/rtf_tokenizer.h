// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>

#include <cstdint>

namespace folioneer::rtf {

/// The value of one hexadecimal digit, or -1 for any other byte.
int hexDigit(char c);

enum class TokenType : std::uint8_t {
    End,
    GroupStart,
    GroupEnd,
    ControlWord,   ///< name = span of letters, parameter optional
    ControlSymbol, ///< symbol = the character after the backslash
    HexByte,       ///< \'hh; value in `hexValue`
    BadHex,        ///< a malformed \' that produces nothing
    Binary,        ///< \binN payload: span of the data bytes
    Text,          ///< a run of text bytes (no braces, backslashes or control bytes)
    Tab,           ///< a raw TAB byte
};

struct Token {
    TokenType type = TokenType::End;
    bool hasParameter = false;
    bool nameTooLong = false; ///< a control word longer than the name limit (treated as unknown)
    char symbol = 0;
    std::uint8_t hexValue = 0;
    int offset = 0; ///< start of the name (control word), text run or binary payload
    int length = 0;
    std::int32_t parameter = 0;
};

// Splits RTF bytes into tokens, one per call, without copying: names, text runs and binary
// payloads are spans of the input. Parameters saturate to int32. Every call either reports End
// or consumes at least one byte. Raw CR and LF are dropped; other control bytes except TAB too.
class Tokenizer {
public:
    explicit Tokenizer(const QByteArray& data, int start = 0);

    Token next();

    /// Skips to just after the `}` closing the group whose `{` was the last one read, stepping
    /// over escaped braces and \bin payloads. At end of input it stops there. Returns whether
    /// the closing brace was found.
    bool skipGroup();

    static constexpr int kMaxNameLength = 32;

private:
    Token controlAfterBackslash();

    const char* m_data;
    int m_size;
    int m_pos;
};

} // namespace folioneer::rtf
