// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace folioneer::rtf {

/// How a list level numbers its items, as RTF names it: the values are the \levelnfc codes,
/// which the legacy \pndec, \pnucrm, \pnlcrm, \pnucltr, \pnlcltr and \pnlvlblt also stand for.
enum class NumberFormat : int {
    Unknown = -1, ///< the document declares none the reader relies on
    Decimal = 0,
    UpperRoman = 1,
    LowerRoman = 2,
    UpperLetter = 3,
    LowerLetter = 4,
    DecimalLeadingZero = 22, ///< 01, 02, ... 10
    Bullet = 23,
    None = 255, ///< the level shows no marker
};

/// The number format of a \levelnfc parameter; codes this reader does not draw count as decimal.
NumberFormat numberFormatFromLevelCode(int code);

/// `value` written in `format` (decimal for Unknown, Bullet and None).
QString formatNumber(int value, NumberFormat format);

} // namespace folioneer::rtf
