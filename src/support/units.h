// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace folioneer {

// The units the program measures in and how they map to each other, in one place: the windows
// are designed in twips and shown in pixels; RTF measures in twips, half points and 240ths of a
// line, a QTextDocument in pixels and points. The RTF reader and writer share them, so that a
// length survives a save and a read unchanged.

/// Twips (1/1440 inch) in one device-independent pixel (1/96 inch). A double, so that a length
/// in twips divided by it is never cut to whole pixels.
inline constexpr double kTwipsPerPixel = 15.0;

/// The largest paragraph length (indents, spacing) the RTF reader and writer accept, in twips:
/// 22 inches.
inline constexpr int kMaxParagraphTwips = 31680;

/// RTF's default font size when a document names none, in half points (12 pt).
inline constexpr int kDefaultHalfPoints = 24;

/// Font sizes outside this range, in half points, are clamped.
inline constexpr int kMinHalfPoints = 2;
inline constexpr int kMaxHalfPoints = 3276;

/// \sl with \slmult1 counts line spacing in 240ths of a single line.
inline constexpr double kLineSpacingPerLine = 240.0;

} // namespace folioneer
