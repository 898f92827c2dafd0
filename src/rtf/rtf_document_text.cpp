// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The plain text of a QTextDocument as the export computes it from the saved RTF: the one
// definition the editor's "Copy" and the round-trip checks compare against.

#include "rtf/rtf.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>

namespace folioneer::rtf {

namespace {

// The text of one block as the plain text shows it: marker and TAB for list items, line
// separators as CR LF, no object replacement characters (images), no optional hyphens.
void appendBlockText(const QTextBlock& block, QString& out)
{
    const QString marker = listItemMarker(block);
    if (!marker.isEmpty()) {
        out.append(marker);
        out.append(u'\t');
    }
    const QString text = block.text();
    for (const QChar c : text) {
        if (c == QChar::LineSeparator || c == QChar::ParagraphSeparator) {
            out.append(QLatin1String("\r\n"));
        } else if (c != QChar::ObjectReplacementCharacter && c != QChar(0xAD)) {
            out.append(c);
        }
    }
}

void appendTable(QTextTable* table, QString& out, bool& first)
{
    for (int row = 0; row < table->rows(); ++row) {
        if (!first) {
            out.append(QLatin1String("\r\n"));
        }
        first = false;
        // Tabs are written only before a cell with content: no trailing tab, as for RTF tables.
        int pendingTabs = 0;
        for (int column = 0; column < table->columns(); ++column) {
            const QTextTableCell cell = table->cellAt(row, column);
            if (cell.row() != row || cell.column() != column) {
                continue; // covered by a merged cell
            }
            if (column > 0) {
                ++pendingTabs;
            }
            QString cellText;
            for (auto it = cell.begin(); !it.atEnd(); ++it) {
                const QTextBlock block = it.currentBlock();
                if (!block.isValid()) {
                    continue;
                }
                QString blockText;
                appendBlockText(block, blockText);
                if (blockText.isEmpty()) {
                    continue;
                }
                if (!cellText.isEmpty()) {
                    cellText.append(u' ');
                }
                cellText.append(blockText);
            }
            if (!cellText.isEmpty()) {
                out.append(QString(pendingTabs, u'\t'));
                pendingTabs = 0;
                out.append(cellText);
            }
        }
    }
}

} // namespace

QString plainTextOfDocument(const QTextDocument& document)
{
    QString out;
    out.reserve(document.characterCount() + document.blockCount());
    bool first = true;
    QTextFrame* root = document.rootFrame();
    for (auto it = root->begin(); !it.atEnd(); ++it) {
        if (QTextFrame* frame = it.currentFrame()) {
            if (auto* table = qobject_cast<QTextTable*>(frame)) {
                appendTable(table, out, first);
            }
            continue;
        }
        const QTextBlock block = it.currentBlock();
        if (!first) {
            out.append(QLatin1String("\r\n"));
        }
        first = false;
        appendBlockText(block, out);
    }
    return out;
}

} // namespace folioneer::rtf
