// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "rtf/rtf_number_format.h"

#include <QString>
#include <QTextFormat>

namespace folioneer::rtf {

struct ListMarker;

/// The list-format property holding a marker's literal text ("o", "§", "1.1.") when no
/// QTextListFormat style shows it; such a list shows that text for every item.
constexpr int kListMarkerTextProperty = QTextFormat::UserProperty + 0x5246;

/// The list-format property holding the number format (a NumberFormat value) the file declared
/// for a list shown by its literal text, so that the list is written with the numbering it was
/// read with rather than one guessed from the text.
constexpr int kListDeclaredNumberingProperty = QTextFormat::UserProperty + 0x5247;

/// A list format whose first item shows `marker`: a bullet style for "•", "◦" and "▪", a
/// numbered style with prefix and suffix for "1.", "a)", "(i)", the literal text otherwise.
QTextListFormat listFormatForMarker(const QString& marker);

/// As listFormatForMarker, and when the marker is kept as literal text, the numbering and
/// affixes the file declared for it go with it (a letter "g" declared as lowercase-letter
/// numbering stays numbered; the same "g" declared as a bullet stays a bullet).
QTextListFormat listFormatForMarker(const QString& marker, NumberFormat declared, const QString& prefix,
                                    const QString& suffix);

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

// How a reader groups list items. Every reader of list markers (the editor's document, the
// export's flow) joins an item to an open list by these same rules, so that both number a
// document alike.

/// The key under which a reader files the open lists an item may join: its list and level.
quint64 openListKey(const ListMarker& marker);

/// How many lists of one key a reader keeps open to resume one; hostile input must not make
/// every item try them all.
constexpr qsizetype kMaxOpenLists = 8;

/// Whether an item with `marker` declares the number format and the text around the number
/// that a list with `format` is written with. An item joins an open list whose next item shows
/// its marker and which declares the same; otherwise the numbering changed and a new list
/// begins.
bool declaresSameList(const ListMarker& marker, const QTextListFormat& format);

} // namespace folioneer::rtf
