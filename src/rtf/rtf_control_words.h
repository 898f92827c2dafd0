// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string_view>

namespace folioneer::rtf {

// The control words the interpreter acts on and the table that finds them by name. Words are
// listed by family, in the order the interpreter dispatches them; a word it does not know is
// Unknown (and skipped with its group when it follows \*). Knows nothing of what a word does.

enum class Word : std::uint8_t {
    Unknown,
    // Destinations.
    Skip, ///< a destination whose content never shows
    FontTable,
    ColourTable,
    FieldInstruction,
    FieldResult,
    Picture,
    ShapePicture,
    ListText,
    Upr,
    Ud,
    NestTableProps,
    Result,
    // The list table.
    ListTableDestination,
    LevelText,
    ListDefinition,
    ListLevelDefinition,
    LevelNumberFormat,
    LevelStart,
    ListId,
    ListOverrideDefinition,
    // Legacy paragraph numbering.
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
    // Character properties.
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
    // Paragraph properties.
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
    OutlineLevel,
    // Breaks.
    Par,
    Section,
    Line,
    Tab,
    Cell,
    NestCell,
    Row,
    NestRow,
    // Characters.
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
    // Unicode, code pages and the font table.
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
    // Colours.
    Red,
    Green,
    Blue,
    // Pictures.
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

/// The families the interpreter dispatches by; each has its own handler.
enum class WordFamily : std::uint8_t {
    Destination, ///< a word that opens a destination (or, not at a group's start, nothing)
    ListTable,   ///< list and list-override definitions
    Legacy,      ///< legacy paragraph numbering (\pn...)
    Character,   ///< character properties
    Paragraph,   ///< paragraph properties
    Break,       ///< paragraph, line, cell and row ends, tabs
    Symbol,      ///< characters written as words (\emdash, \bullet, ...)
    Encoding,    ///< \u, code pages and the font table's entries
    Colour,      ///< the colour table's entries
    Picture,     ///< a picture's format and sizes
};

WordFamily familyOf(Word word);

/// The word named `name` (the letters after the backslash), or Word::Unknown.
Word lookupWord(std::string_view name);

} // namespace folioneer::rtf
