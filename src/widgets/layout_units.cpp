// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/layout_units.h"

#include <QScreen>
#include <QWidget>

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

void centreOnScreen(QWidget& window, const QScreen* screen)
{
    if (screen == nullptr) {
        return;
    }
    const QRect available = screen->availableGeometry();
    const QSize frame = window.frameGeometry().size();
    const QPoint topLeft = available.center() - QPoint((frame.width() - 1) / 2, (frame.height() - 1) / 2);
    if (window.frameGeometry().topLeft() != topLeft) {
        window.move(topLeft);
    }
}

} // namespace folioneer
