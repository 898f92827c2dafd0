// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "rtf/rtf_interpreter.h"

#include <cstdint>

namespace folioneer::rtf {

/// Where the text of a group goes. A group starts in its parent's destination; a destination
/// word at the group's start changes it for the group and the groups inside it.
enum class Destination : std::uint8_t {
    Body,
    FontTable,
    ColourTable,
    FieldInstruction,
    ListMarker, ///< \listtext or \pntext: the marker as the document spells it
    ListTable,
    LevelText,
    LegacyList,
    LegacyTextBefore,
    LegacyTextAfter,
    Picture,
    Ignored, ///< control words still run, text is dropped
    UprAnsi, ///< the ANSI branch of \upr: dropped, its \ud branch shows
};

/// What one group level holds. Opening a group copies its parent's; closing it restores the
/// parent's: character and paragraph properties, the destination and \uc are all scoped so.
struct GroupState {
    CharFormat chr;
    ParagraphFormat para;
    Destination destination = Destination::Body;
    std::uint8_t unicodeSkip = 1; ///< \ucN: fallback characters after each \u
};

} // namespace folioneer::rtf
