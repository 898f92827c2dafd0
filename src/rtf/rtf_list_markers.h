// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QTextFormat>

namespace folioneer::rtf {

/// The list-format property holding a marker's literal text ("o", "§", "1.1.") when no
/// QTextListFormat style shows it; such a list shows that text for every item.
constexpr int kListMarkerTextProperty = QTextFormat::UserProperty + 0x5246;

/// A list format whose first item shows `marker`: a bullet style for "•", "◦" and "▪", a
/// numbered style with prefix and suffix for "1.", "a)", "(i)", the literal text otherwise.
QTextListFormat listFormatForMarker(const QString& marker);

} // namespace folioneer::rtf
