// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QFont>
#include <QRect>

namespace folioneer {

// The windows are laid out in twips, as designed: 15 twips are one device-independent pixel.

inline constexpr int twipsToPixels(int twips)
{
    return (twips + 7) / 15;
}

/// A rectangle given as left, top, width, height in twips.
inline QRect twipsRect(int left, int top, int width, int height)
{
    return {twipsToPixels(left), twipsToPixels(top), twipsToPixels(width), twipsToPixels(height)};
}

enum class FontStyle { Regular = 0, Bold = 1, Underline = 2, BoldUnderline = 3 };

/// The Verdana face in `points` (fractional sizes such as 9.75 allowed).
QFont verdana(qreal points, FontStyle style = FontStyle::Regular);

inline const QColor kNavy{0x00, 0x00, 0x80};
inline const QColor kBandColour{0x00, 0x00, 0x40};

} // namespace folioneer
