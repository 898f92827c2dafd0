// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "rtf/rtf_number_format.h"

#include <QString>
#include <QStringView>

namespace folioneer::rtf {

enum class Word : std::uint8_t;

/// Characters of a legacy list's text before or after the number that the reader keeps.
constexpr qsizetype kMaxListAffixLength = 64;

// Old-style paragraph numbering ({\*\pn ...} inside a paragraph, as Word 6 and the Windows
// rich-text controls write it): the definition being read, the one in force, and the running
// number. Its rules:
// - a \pn group numbers the paragraph it appears in, and stays in force for the following
//   paragraphs until another \pn replaces it (\pard does not end it: the paragraph format's
//   legacyList flag does);
// - consecutive items continue the numbering while their definition stays the same; any other
//   paragraph, or a changed definition, starts again at \pnstart;
// - \pnlvlcont marks a paragraph inside the list that shows no number of its own;
// - a bullet shows its \pntxtb text, or "•" when that is empty.
// Knows nothing about groups or sinks: the interpreter feeds it words and text.
class LegacyNumbering {
public:
    /// A {\*\pn} group begins: a new definition is read.
    void beginDefinition() { m_reading = Definition{}; }
    /// A word of the definition (\pnlvlblt, \pndec, \pnstart, ...).
    void definitionWord(Word word, int value);
    void appendTextBefore(QStringView text);
    void appendTextAfter(QStringView text);
    /// The {\*\pn} group closed in the body: its definition numbers this paragraph and the next.
    void definitionDone() { m_inForce = m_reading; }
    /// Whether the definition read last named its level (\pnlvlN), and which (0-8).
    bool levelGiven() const { return m_reading.levelGiven; }
    int level() const { return m_reading.level; }

    /// A paragraph numbered by the definition in force starts: returns its marker as shown, or
    /// an empty string for a continuation paragraph, advancing the number.
    QString itemStarts();
    /// A paragraph ended; the next item continues the numbering only right after an item.
    void paragraphDone();

    /// What the definition in force declares for its item's marker (NumberFormat::Unknown for a
    /// continuation paragraph), and the text around its number.
    NumberFormat declaredFormat() const;
    QString declaredPrefix() const;
    QString declaredSuffix() const;

private:
    struct Definition {
        bool bullet = false;
        bool continuation = false;
        NumberFormat format = NumberFormat::Decimal;
        int start = 1;
        int level = 0;
        bool levelGiven = false; ///< \pnlvlN; otherwise \ilvl gives the level
        QString before;
        QString after;
        bool operator==(const Definition&) const = default;
    };

    Definition m_reading;
    Definition m_inForce;
    Definition m_previous;
    int m_number = 0;
    bool m_continues = false; ///< the paragraph before this one was an item
    bool m_paragraphIsItem = false;
};

} // namespace folioneer::rtf
