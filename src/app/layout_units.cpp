// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/layout_units.h"

namespace folioneer {

QFont verdana(qreal points, FontStyle style)
{
    QFont font(QStringLiteral("Verdana"));
    // Where Verdana is missing, fall back to a sans-serif face (DejaVu Sans on Debian) rather
    // than whatever the default family happens to be.
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(points);
    font.setBold(style == FontStyle::Bold || style == FontStyle::BoldUnderline);
    font.setUnderline(style == FontStyle::Underline || style == FontStyle::BoldUnderline);
    return font;
}

} // namespace folioneer
