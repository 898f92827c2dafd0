// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later

// List numbering as the writer saves it: each item's marker as shown, and the numbering behind
// it, in the form the reader joins back into the same lists.

#include "rtf/rtf.h"
#include "rtf/rtf_list_markers.h"
#include "rtf/rtf_writer_parts.h"

#include <QTextBlock>
#include <QTextList>
#include <QTextListFormat>

namespace folioneer::rtf {

// The legacy list form that Word, LibreOffice and the Windows rich-text controls all
// read: the marker as shown ({\pntext}) and the numbering it comes from ({\*\pn}).
void writeListMarker(Emitter& out, const QTextList& list, const QTextBlock& block, CharacterFormats& formats)
{
    const QTextListFormat format = list.format();
    // The marker exactly as the plain text shows it, so the export of a saved section
    // keeps it; the numbering behind it goes to {\*\pn} for word processors.
    QString marker = listItemMarker(block);
    if (marker.isEmpty()) {
        marker = list.itemText(block);
    }
    const NumberFormat numbering = writtenNumbering(format, marker);
    const bool numbered = numbering != NumberFormat::Bullet;
    if (marker.isEmpty()) {
        marker = QString(QChar(0x2022));
    }
    // The usual bullet goes as the Symbol font's bullet, which every reader maps back.
    const bool symbolBullet = !numbered && marker == QString(QChar(0x2022));
    const auto writeMarker = [&] {
        if (symbolBullet) {
            out.symbol("\\'b7");
        } else {
            out.text(marker);
        }
    };
    // Nesting: the reader builds one list per level, and Qt indents each level by itself.
    if (format.indent() > 1) {
        out.word("\\ilvl", std::min(format.indent() - 1, 8));
    }
    out.open();
    out.word("\\pntext");
    out.word("\\f", symbolBullet ? formats.symbolFont() : 0);
    writeMarker();
    out.word("\\tab");
    out.close();

    out.open();
    out.word("\\*");
    out.word("\\pn");
    if (!numbered) {
        out.word("\\pnlvlblt");
        out.word("\\pnf", symbolBullet ? formats.symbolFont() : 0);
        out.word("\\pnindent", 0);
        out.open();
        out.word("\\pntxtb");
        writeMarker();
        out.close();
    } else {
        out.word("\\pnlvlbody");
        out.word("\\pnf", 0);
        out.word("\\pnindent", 0);
        out.word("\\pnstart", 1);
        switch (numbering) {
        case NumberFormat::LowerLetter:
            out.word("\\pnlcltr");
            break;
        case NumberFormat::UpperLetter:
            out.word("\\pnucltr");
            break;
        case NumberFormat::LowerRoman:
            out.word("\\pnlcrm");
            break;
        case NumberFormat::UpperRoman:
            out.word("\\pnucrm");
            break;
        default:
            out.word("\\pndec");
            break;
        }
        const ListAffixes affixes = writtenAffixes(format);
        if (!affixes.prefix.isEmpty()) {
            out.open();
            out.word("\\pntxtb");
            out.text(affixes.prefix);
            out.close();
        }
        if (!affixes.suffix.isEmpty()) {
            out.open();
            out.word("\\pntxta");
            out.text(affixes.suffix);
            out.close();
        }
    }
    out.close();
}

} // namespace folioneer::rtf
