// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "document_outline.h"

#include <QStringList>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextList>
#include <QTextTable>

namespace folioneer::test {

namespace {

QString listStyle(QTextListFormat::Style style)
{
    switch (style) {
    case QTextListFormat::ListDisc:
        return QStringLiteral("disc");
    case QTextListFormat::ListCircle:
        return QStringLiteral("circle");
    case QTextListFormat::ListSquare:
        return QStringLiteral("square");
    case QTextListFormat::ListDecimal:
        return QStringLiteral("decimal");
    default:
        return QStringLiteral("other");
    }
}

QString runText(const QTextFragment& fragment)
{
    const QTextCharFormat format = fragment.charFormat();
    if (format.isImageFormat()) {
        return QStringLiteral("[image]");
    }
    QString text = fragment.text();
    text.replace(QChar(QChar::LineSeparator), QStringLiteral("\\n"));
    const QStringList families = format.fontFamilies().toStringList();
    const bool monospace = !families.isEmpty() && families.first() == u"Courier New";
    if (format.hasProperty(QTextFormat::ForegroundBrush) ||
        format.hasProperty(QTextFormat::BackgroundBrush) || (!families.isEmpty() && !monospace) ||
        format.hasProperty(QTextFormat::LineHeight)) {
        text = QStringLiteral("{styled}") + text;
    }
    if (monospace) {
        text = u'`' + text + u'`';
    }
    if (format.fontStrikeOut()) {
        text = QStringLiteral("~~") + text + QStringLiteral("~~");
    }
    if (format.fontItalic()) {
        text = u'*' + text + u'*';
    }
    if (format.fontWeight() >= QFont::DemiBold) {
        text = QStringLiteral("**") + text + QStringLiteral("**");
    }
    if (format.isAnchor()) {
        text = u'[' + text + QStringLiteral("](") + format.anchorHref() + u')';
    }
    return text;
}

} // namespace

QString documentOutline(const QTextDocument& document)
{
    QStringList lines;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        const QTextBlockFormat format = block.blockFormat();
        QString kind;
        QTextCursor cursor(block);
        if (QTextTable* table = cursor.currentTable()) {
            const QTextTableCell cell = table->cellAt(cursor);
            kind = QStringLiteral("cell %1,%2").arg(cell.row()).arg(cell.column());
        }
        if (format.headingLevel() > 0) {
            kind += QStringLiteral("h%1").arg(format.headingLevel());
        } else if (const QTextList* list = block.textList()) {
            kind +=
                QStringLiteral("li%1 %2").arg(list->format().indent()).arg(listStyle(list->format().style()));
        } else if (format.nonBreakableLines()) {
            kind += QStringLiteral("code");
        } else if (format.indent() > 0) {
            kind += QStringLiteral("indent%1").arg(format.indent());
        } else if (kind.isEmpty()) {
            kind = QStringLiteral("p");
        }
        QString text;
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            text += runText(it.fragment());
        }
        if (text.isEmpty() && kind == u"p") {
            continue; // the empty paragraph Qt keeps after a table or at the end
        }
        lines.append(kind + u'|' + text);
    }
    return lines.join(u'\n');
}

} // namespace folioneer::test
