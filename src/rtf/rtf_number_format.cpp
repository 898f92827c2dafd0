// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "rtf/rtf_number_format.h"

namespace folioneer::rtf {

namespace {

QString roman(int value, bool upper)
{
    if (value <= 0 || value >= 4000) {
        return QString::number(value);
    }
    static const struct {
        int value;
        const char* text;
    } parts[] = {{1000, "m"}, {900, "cm"}, {500, "d"}, {400, "cd"}, {100, "c"}, {90, "xc"}, {50, "l"},
                 {40, "xl"},  {10, "x"},   {9, "ix"},  {5, "v"},    {4, "iv"},  {1, "i"}};
    QString out;
    for (const auto& part : parts) {
        while (value >= part.value) {
            out.append(QLatin1String(part.text));
            value -= part.value;
        }
    }
    return upper ? out.toUpper() : out;
}

QString letters(int value, bool upper)
{
    if (value <= 0) {
        return QString::number(value);
    }
    // Word repeats the letter after z: aa, bb, ...
    const QChar letter(char16_t((upper ? u'A' : u'a') + (value - 1) % 26));
    return QString((value - 1) / 26 + 1, letter);
}

} // namespace

NumberFormat numberFormatFromLevelCode(int code)
{
    switch (code) {
    case int(NumberFormat::Decimal):
    case int(NumberFormat::UpperRoman):
    case int(NumberFormat::LowerRoman):
    case int(NumberFormat::UpperLetter):
    case int(NumberFormat::LowerLetter):
    case int(NumberFormat::DecimalLeadingZero):
    case int(NumberFormat::Bullet):
    case int(NumberFormat::None):
        return static_cast<NumberFormat>(code);
    default:
        return NumberFormat::Decimal;
    }
}

QString formatNumber(int value, NumberFormat format)
{
    switch (format) {
    case NumberFormat::UpperRoman:
        return roman(value, true);
    case NumberFormat::LowerRoman:
        return roman(value, false);
    case NumberFormat::UpperLetter:
        return letters(value, true);
    case NumberFormat::LowerLetter:
        return letters(value, false);
    case NumberFormat::DecimalLeadingZero:
        return value >= 0 && value < 10 ? QLatin1Char('0') + QString::number(value) : QString::number(value);
    case NumberFormat::Unknown:
    case NumberFormat::Decimal:
    case NumberFormat::Bullet:
    case NumberFormat::None:
        break;
    }
    return QString::number(value);
}

} // namespace folioneer::rtf
