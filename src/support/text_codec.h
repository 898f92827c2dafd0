// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

#include <array>

namespace folioneer {

// The one place that decides how the program's text files are encoded. Written files are
// UTF-8 without a byte-order mark; read files may also be Windows-1252 (projects and
// templates made on Western Windows systems).

/// Decodes a whole text file: UTF-8 (a leading BOM is skipped) when the bytes are valid UTF-8,
/// otherwise Windows-1252. Never fails and never drops a byte.
QString decodeText(const QByteArray& bytes);

/// Encodes text for writing: UTF-8, no byte-order mark.
QByteArray encodeText(const QString& text);

/// Decodes bytes as Windows-1252 (the five unassigned bytes map to the C1 controls of the same value).
QString decodeWindows1252(const QByteArray& bytes);

/// Windows-1252's bytes 0x80-0x9F, the only ones where it differs from Latin-1. The five bytes
/// Windows-1252 leaves unassigned (0x81, 0x8D, 0x8F, 0x90, 0x9D) keep their C1 value, as
/// Windows' own conversion does, so no byte is ever lost. The one copy of the table in the
/// program: decoders that need speed index it directly.
inline constexpr std::array<char16_t, 32> kWindows1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

/// The character a Windows-1252 byte stands for.
inline char16_t windows1252Character(unsigned char byte)
{
    return byte >= 0x80 && byte < 0xA0 ? kWindows1252High[byte - 0x80] : char16_t(byte);
}

/// The Windows-1252 byte of a character of its upper half (0x80-0xFF), or 0 when Windows-1252
/// has no byte for it. The five unassigned bytes are not given for their C1 characters.
unsigned char windows1252Byte(char16_t c);

} // namespace folioneer
