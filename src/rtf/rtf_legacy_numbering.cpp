// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "rtf/rtf_legacy_numbering.h"

#include "rtf/rtf_control_words.h"

#include <algorithm>

namespace folioneer::rtf {

namespace {

// A list marker as it shows before its item's text: without the blanks around it, and without
// TABs, which only separate a marker from the text.
QString shown(QString marker)
{
    marker = marker.trimmed();
    marker.remove(u'\t');
    return marker;
}

// Appends up to the affix limit, whatever pieces the text arrives in (a file written again breaks
// it elsewhere), and never half a surrogate pair.
void appendAffix(QString& affix, QStringView text)
{
    qsizetype room = kMaxListAffixLength - affix.size();
    if (room <= 0) {
        return;
    }
    if (text.size() > room && text[room - 1].isHighSurrogate()) {
        --room;
    }
    affix.append(text.left(room));
}

} // namespace

void LegacyNumbering::definitionWord(Word word, int value)
{
    Definition& pn = m_reading;
    switch (word) {
    case Word::LegacyBullet:
        pn.bullet = true;
        break;
    case Word::LegacyBody:
        pn.bullet = false;
        break;
    case Word::LegacyContinue:
        pn.continuation = true;
        break;
    case Word::LegacyLevel:
        pn.bullet = false;
        // Clamped before the step down: \pnlvl-2147483648 must not overflow.
        pn.level = std::clamp(value, 1, 9) - 1;
        pn.levelGiven = true;
        break;
    case Word::LegacyDecimal:
        pn.format = NumberFormat::Decimal;
        break;
    case Word::LegacyUpperRoman:
        pn.format = NumberFormat::UpperRoman;
        break;
    case Word::LegacyLowerRoman:
        pn.format = NumberFormat::LowerRoman;
        break;
    case Word::LegacyUpperLetter:
        pn.format = NumberFormat::UpperLetter;
        break;
    case Word::LegacyLowerLetter:
        pn.format = NumberFormat::LowerLetter;
        break;
    case Word::LegacyStart:
        pn.start = std::clamp(value, 0, 1 << 20);
        break;
    default:
        break;
    }
}

void LegacyNumbering::appendTextBefore(QStringView text)
{
    appendAffix(m_reading.before, text);
}

void LegacyNumbering::appendTextAfter(QStringView text)
{
    appendAffix(m_reading.after, text);
}

QString LegacyNumbering::itemStarts()
{
    m_paragraphIsItem = true;
    const Definition& pn = m_inForce;
    if (pn.continuation) {
        return {}; // a paragraph inside the list that shows no number of its own
    }
    m_number = m_continues && pn == m_previous ? m_number + 1 : pn.start;
    m_previous = pn;
    if (pn.bullet) {
        const QString marker = shown(pn.before);
        return marker.isEmpty() ? QString(QChar(0x2022)) : marker;
    }
    return shown(pn.before + formatNumber(m_number, pn.format) + pn.after);
}

void LegacyNumbering::paragraphDone()
{
    m_continues = m_paragraphIsItem;
    m_paragraphIsItem = false;
}

NumberFormat LegacyNumbering::declaredFormat() const
{
    if (m_inForce.continuation) {
        return NumberFormat::Unknown;
    }
    return m_inForce.bullet ? NumberFormat::Bullet : m_inForce.format;
}

QString LegacyNumbering::declaredPrefix() const
{
    return m_inForce.continuation || m_inForce.bullet ? QString() : m_inForce.before;
}

QString LegacyNumbering::declaredSuffix() const
{
    return m_inForce.continuation || m_inForce.bullet ? QString() : m_inForce.after;
}

} // namespace folioneer::rtf
