// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArrayView>
#include <QHash>
#include <QString>
#include <QStringDecoder>

#include <memory>

namespace folioneer::rtf {

// Code page numbers used beside the Windows ones for the two kinds of symbol font and for raw
// text that is already UTF-8 (RTF pasted as a string).
constexpr int kCodePageSymbol = -2;      ///< the Symbol font: its own table to Unicode
constexpr int kCodePageSymbolOther = -3; ///< other symbol fonts: U+F000 + byte
constexpr int kCodePageWingdings = -4;   ///< Wingdings: its bullet glyphs, else U+F000 + byte
constexpr int kCodePageUtf8 = 65001;

/// Whether a code page is one of the symbol fonts' own encodings above.
constexpr bool isSymbolFontCodePage(int codePage)
{
    return codePage == kCodePageSymbol || codePage == kCodePageSymbolOther || codePage == kCodePageWingdings;
}

/// The character a symbol font shows for `byte`: the Unicode equivalent where the font's table
/// has one, else the private-use character U+F000 + byte that word processors use for it.
char16_t symbolFontCharacter(int codePage, unsigned char byte);

/// A private-use character U+F020-U+F0FF written as \u in a symbol font is that font's byte:
/// the character it shows. Other characters, and characters of other fonts, stay as they are.
char16_t symbolFontCodePoint(int codePage, char16_t c);

/// The Windows code page a font's \fcharset value implies; 0 for "use the document's \ansicpg",
/// kCodePageSymbol for the symbol character set.
int codePageForCharset(int charset);

// Decodes 8-bit RTF text through Windows code pages. Windows-1252 and ASCII are decoded with
// tables of our own; other code pages through QStringDecoder, created once per code page (an
// unknown code page decodes as Windows-1252). Not thread-safe: one per reader.
class CodePageDecoders {
public:
    /// Appends the decoded bytes to `out`. Multi-byte characters must be whole within `bytes`.
    /// Returns whether the bytes were plain ASCII (decoded as themselves).
    bool decode(int codePage, QByteArrayView bytes, QString& out);

private:
    QStringDecoder* decoderFor(int codePage);

    QHash<int, std::shared_ptr<QStringDecoder>> m_decoders;
};

} // namespace folioneer::rtf
