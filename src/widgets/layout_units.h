// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "support/units.h"

#include <QColor>
#include <QFont>
#include <QRect>

class QScreen;
class QWidget;

namespace folioneer {

// The windows are laid out in twips, as designed, and shown in device-independent pixels.

/// The nearest whole pixel (a pixel is kTwipsPerPixel twips).
inline constexpr int twipsToPixels(int twips)
{
    constexpr int perPixel = static_cast<int>(kTwipsPerPixel);
    return (twips + perPixel / 2) / perPixel;
}

/// A rectangle given as left, top, width, height in twips.
inline QRect twipsRect(int left, int top, int width, int height)
{
    return {twipsToPixels(left), twipsToPixels(top), twipsToPixels(width), twipsToPixels(height)};
}

/// A control's place in its container as the design gives it, in twips.
struct TwipsRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

struct TwipsPoint {
    int x = 0;
    int y = 0;
};

struct TwipsSize {
    int width = 0;
    int height = 0;
};

inline QRect twipsRect(const TwipsRect& rect)
{
    return twipsRect(rect.left, rect.top, rect.width, rect.height);
}

enum class FontStyle { Regular = 0, Bold = 1, Underline = 2, BoldUnderline = 3 };

/// The Verdana face in `points` (fractional sizes such as 9.75 allowed).
QFont verdana(qreal points, FontStyle style = FontStyle::Regular);

/// Moves a top-level window (frame included) to the centre of the screen's available area. The
/// program centres its windows itself: they may be shown on an X server without a window manager.
void centreOnScreen(QWidget& window, const QScreen* screen);

inline const QColor kNavy{0x00, 0x00, 0x80};
inline const QColor kBandColour{0x00, 0x00, 0x40};

} // namespace folioneer
