// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "rtf/rtf_list_markers.h"

#include "rtf/rtf.h"
#include "rtf/rtf_interpreter.h"
#include "rtf/rtf_legacy_numbering.h"

#include <QTextBlock>
#include <QTextList>
#include <QTextListFormat>

namespace folioneer::rtf {

namespace {

constexpr char16_t kDisc = 0x2022;
constexpr char16_t kCircle = 0x25E6;
constexpr char16_t kSquare = 0x25AA;

} // namespace

QTextListFormat listFormatForMarker(const QString& marker)
{
    QTextListFormat format;
    if (marker.size() == 1) {
        const char16_t c = marker[0].unicode();
        if (c == kDisc || c == kCircle || c == kSquare || c == 0x25A0) {
            format.setStyle(c == kDisc     ? QTextListFormat::ListDisc
                            : c == kCircle ? QTextListFormat::ListCircle
                                           : QTextListFormat::ListSquare);
            return format;
        }
    }
    qsizetype first = 0;
    while (first < marker.size() && !marker[first].isLetterOrNumber()) {
        ++first;
    }
    qsizetype last = marker.size() - 1;
    while (last >= first && !marker[last].isLetterOrNumber()) {
        --last;
    }
    if (first <= last) {
        const QString core = marker.mid(first, last - first + 1);
        QTextListFormat::Style style = QTextListFormat::ListStyleUndefined;
        if (core == QLatin1String("1")) {
            style = QTextListFormat::ListDecimal;
        } else if (core == QLatin1String("a")) {
            style = QTextListFormat::ListLowerAlpha;
        } else if (core == QLatin1String("A")) {
            style = QTextListFormat::ListUpperAlpha;
        } else if (core == QLatin1String("i")) {
            style = QTextListFormat::ListLowerRoman;
        } else if (core == QLatin1String("I")) {
            style = QTextListFormat::ListUpperRoman;
        }
        if (style != QTextListFormat::ListStyleUndefined) {
            format.setStyle(style);
            format.setNumberPrefix(marker.left(first));
            format.setNumberSuffix(marker.mid(last + 1));
            return format;
        }
    }
    // No numbering Qt can continue from here: keep the text exactly as the document shows it.
    format.setStyle(QTextListFormat::ListDisc);
    format.setProperty(kListMarkerTextProperty, marker);
    return format;
}

QTextListFormat listFormatForMarker(const QString& marker, NumberFormat declared, const QString& prefix,
                                    const QString& suffix)
{
    QTextListFormat format = listFormatForMarker(marker);
    if (!format.hasProperty(kListMarkerTextProperty)) {
        // "i" opens a roman list unless the file declares letters: then it is the ninth letter,
        // which no list of Qt's can start at, so the text is kept as it is.
        const NumberFormat shown = writtenNumbering(format, marker);
        const bool numbered = shown != NumberFormat::Bullet;
        const bool declaredNumbered =
            declared == NumberFormat::UpperRoman || declared == NumberFormat::LowerRoman ||
            declared == NumberFormat::UpperLetter || declared == NumberFormat::LowerLetter ||
            declared == NumberFormat::Decimal || declared == NumberFormat::DecimalLeadingZero;
        if (!numbered || !declaredNumbered || shown == declared ||
            (shown == NumberFormat::Decimal && declared == NumberFormat::DecimalLeadingZero)) {
            return format;
        }
        format = QTextListFormat();
        format.setStyle(QTextListFormat::ListDisc);
        format.setProperty(kListMarkerTextProperty, marker);
    }
    // Only the forms the writer declares: reading them back gives the same declaration.
    switch (declared) {
    case NumberFormat::DecimalLeadingZero:
        declared = NumberFormat::Decimal;
        break;
    case NumberFormat::Decimal:
    case NumberFormat::UpperRoman:
    case NumberFormat::LowerRoman:
    case NumberFormat::UpperLetter:
    case NumberFormat::LowerLetter:
    case NumberFormat::Bullet:
        break;
    default:
        return format;
    }
    format.setProperty(kListDeclaredNumberingProperty, static_cast<int>(declared));
    if (declared != NumberFormat::Bullet) {
        format.setNumberPrefix(prefix);
        format.setNumberSuffix(suffix);
    }
    return format;
}

NumberFormat writtenNumbering(const QTextListFormat& format, const QString& marker)
{
    if (format.hasProperty(kListDeclaredNumberingProperty)) {
        return static_cast<NumberFormat>(format.intProperty(kListDeclaredNumberingProperty));
    }
    switch (format.style()) {
    case QTextListFormat::ListDecimal:
        return NumberFormat::Decimal;
    case QTextListFormat::ListLowerAlpha:
        return NumberFormat::LowerLetter;
    case QTextListFormat::ListUpperAlpha:
        return NumberFormat::UpperLetter;
    case QTextListFormat::ListLowerRoman:
        return NumberFormat::LowerRoman;
    case QTextListFormat::ListUpperRoman:
        return NumberFormat::UpperRoman;
    default:
        break;
    }
    // A marker Qt cannot number ("1.1.", "ii.") counts as numbered when it starts or ends with a
    // digit or letter, so word processors keep it in a numbered list; a single letter ("o", as
    // word processors show a second-level bullet) or sign ("§") is a bullet.
    const bool numbered = marker.size() > 1
                              ? marker.front().isLetterOrNumber() || marker.back().isLetterOrNumber()
                              : !marker.isEmpty() && marker.front().isDigit();
    return numbered ? NumberFormat::Decimal : NumberFormat::Bullet;
}

ListAffixes writtenAffixes(const QTextListFormat& format)
{
    // Qt shows a period after the number when a list sets no suffix.
    return {format.numberPrefix(),
            format.hasProperty(QTextFormat::ListNumberSuffix) ? format.numberSuffix() : QStringLiteral(".")};
}

quint64 openListKey(const ListMarker& marker)
{
    return (quint64(quint32(marker.listOverride)) << 8) | quint64(quint32(marker.level) & 0xFF);
}

bool declaresSameList(const ListMarker& marker, const QTextListFormat& format)
{
    if (marker.numbering == NumberFormat::Unknown) {
        return true;
    }
    const NumberFormat numbering = writtenNumbering(format, marker.text);
    if (numbering != marker.numbering) {
        return false;
    }
    if (numbering == NumberFormat::Bullet) {
        return true;
    }
    const ListAffixes affixes = writtenAffixes(format);
    return affixes.prefix.left(kMaxListAffixLength) == marker.prefix &&
           affixes.suffix.left(kMaxListAffixLength) == marker.suffix;
}

QString listItemMarker(const QTextBlock& block)
{
    QTextList* list = block.textList();
    if (!list) {
        return {};
    }
    const QTextListFormat format = list->format();
    if (format.hasProperty(kListMarkerTextProperty)) {
        return format.stringProperty(kListMarkerTextProperty);
    }
    switch (format.style()) {
    case QTextListFormat::ListDisc:
        return QString(QChar(kDisc));
    case QTextListFormat::ListCircle:
        return QString(QChar(kCircle));
    case QTextListFormat::ListSquare:
        return QString(QChar(kSquare));
    default:
        break;
    }
    QString text = list->itemText(block);
    if (block.textDirection() == Qt::RightToLeft) {
        // Qt puts the affixes of a right-to-left item in display order ("."+"23"); the text of the
        // document keeps reading order, as the RTF marker was written.
        QString prefix = format.numberPrefix();
        QString suffix = format.numberSuffix();
        if (prefix.isEmpty() && suffix.isEmpty()) {
            suffix = QStringLiteral(".");
        }
        if (text.size() >= prefix.size() + suffix.size() && text.startsWith(suffix) &&
            text.endsWith(prefix)) {
            text = prefix + text.mid(suffix.size(), text.size() - suffix.size() - prefix.size()) + suffix;
        }
    }
    return text;
}

} // namespace folioneer::rtf
