// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace folioneer::rtf {

// The units RTF measures in and how they map to a QTextDocument's, shared by the reader and the
// writer so that a length survives a save and a read unchanged.

/// RTF lengths are in twips (1/1440 inch); a QTextDocument's are in pixels at 96 dpi.
constexpr double kTwipsPerPixel = 15.0;

/// The largest paragraph length (indents, spacing) either side accepts, in twips: 22 inches.
constexpr int kMaxParagraphTwips = 31680;

/// RTF's default font size when a document names none, in half points (12 pt).
constexpr int kDefaultHalfPoints = 24;

/// Font sizes outside this range, in half points, are clamped.
constexpr int kMinHalfPoints = 2;
constexpr int kMaxHalfPoints = 3276;

/// \sl with \slmult1 counts line spacing in 240ths of a single line.
constexpr double kLineSpacingPerLine = 240.0;

} // namespace folioneer::rtf
