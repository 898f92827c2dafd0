// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "rtf/rtf_number_format.h"

#include <QString>
#include <QTextFormat>

namespace folioneer::rtf {

/// The list-format property holding a marker's literal text ("o", "§", "1.1.") when no
/// QTextListFormat style shows it; such a list shows that text for every item.
constexpr int kListMarkerTextProperty = QTextFormat::UserProperty + 0x5246;

/// A list format whose first item shows `marker`: a bullet style for "•", "◦" and "▪", a
/// numbered style with prefix and suffix for "1.", "a)", "(i)", the literal text otherwise.
QTextListFormat listFormatForMarker(const QString& marker);

/// The number format an item of a list with `format` that shows `marker` is written with. The
/// writer declares it and the reader joins an item to an open list only when it agrees, so a
/// document read back groups its items as the written one did.
NumberFormat writtenNumbering(const QTextListFormat& format, const QString& marker);

/// The text a numbered item of a list with `format` is written with before and after its
/// number. As with the number format, the reader joins an item to an open list only when the
/// item declares these same affixes.
struct ListAffixes {
    QString prefix;
    QString suffix;
};
ListAffixes writtenAffixes(const QTextListFormat& format);

} // namespace folioneer::rtf
