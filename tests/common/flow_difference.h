// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Compares two section flows, for the tests and the fuzz target that check the export's direct
// reading of RTF against the flow of the document the same RTF gives.

#include "publish/section_flow.h"

#include <QString>

#include <algorithm>

namespace folioneer::test {

using publish::Block;
using publish::Flow;
using publish::Paragraph;
using publish::Run;

inline QString blocksDifference(const QList<Block>& a, const QList<Block>& b, const QString& where);

inline QString runDifference(const Run& a, const Run& b, const QString& where)
{
    const auto field = [&where](const char* name) { return where + QLatin1Char(' ') + QLatin1String(name); };
    if (a.text != b.text) {
        return field("text") + QStringLiteral(": \"%1\" / \"%2\"").arg(a.text, b.text);
    }
    if (a.bold != b.bold || a.italic != b.italic || a.underline != b.underline || a.strike != b.strike) {
        return field("style");
    }
    if (a.pointSize != b.pointSize) {
        return field("size") + QStringLiteral(": %1 / %2").arg(a.pointSize).arg(b.pointSize);
    }
    if (a.color != b.color) {
        return field("color") + QStringLiteral(": %1 / %2").arg(a.color.name(), b.color.name());
    }
    if (a.href != b.href) {
        return field("href");
    }
    return a.picture != b.picture ? field("picture") : QString();
}

inline QString paragraphDifference(const Paragraph& a, const Paragraph& b, const QString& where)
{
    if (a.headingLevel != b.headingLevel || a.alignment != b.alignment || a.rightToLeft != b.rightToLeft) {
        return where + QStringLiteral(" heading, alignment or direction");
    }
    if (a.listLevel != b.listLevel || a.ordered != b.ordered || a.listId != b.listId) {
        return where + QStringLiteral(" list %1/%2/%3 against %4/%5/%6")
                           .arg(a.listLevel)
                           .arg(a.ordered)
                           .arg(a.listId)
                           .arg(b.listLevel)
                           .arg(b.ordered)
                           .arg(b.listId);
    }
    for (qsizetype r = 0; r < std::min(a.runs.size(), b.runs.size()); ++r) {
        const QString difference =
            runDifference(a.runs[r], b.runs[r], where + QStringLiteral(" run %1").arg(r));
        if (!difference.isEmpty()) {
            return difference;
        }
    }
    return a.runs.size() != b.runs.size()
               ? where + QStringLiteral(" runs: %1 / %2").arg(a.runs.size()).arg(b.runs.size())
               : QString();
}

inline QString blocksDifference(const QList<Block>& a, const QList<Block>& b, const QString& where)
{
    for (qsizetype i = 0; i < std::min(a.size(), b.size()); ++i) {
        const QString at = where + QStringLiteral("block %1").arg(i);
        if (bool(a[i].table) != bool(b[i].table)) {
            return at + QStringLiteral(" table");
        }
        const QString difference =
            a[i].table ? QString() : paragraphDifference(a[i].paragraph, b[i].paragraph, at);
        if (!difference.isEmpty()) {
            return difference;
        }
    }
    return a.size() != b.size() ? where + QStringLiteral("blocks: %1 / %2").arg(a.size()).arg(b.size())
                                : QString();
}

/// Where two flows first differ, field by field; empty when they are equal.
inline QString flowDifference(const Flow& a, const Flow& b)
{
    const QString blocks = blocksDifference(a.blocks, b.blocks, {});
    if (!blocks.isEmpty()) {
        return blocks;
    }
    if (a.pictures.size() != b.pictures.size()) {
        return QStringLiteral("pictures: %1 / %2").arg(a.pictures.size()).arg(b.pictures.size());
    }
    for (qsizetype i = 0; i < a.pictures.size(); ++i) {
        if (a.pictures[i].png != b.pictures[i].png || a.pictures[i].size != b.pictures[i].size) {
            return QStringLiteral("picture %1").arg(i);
        }
    }
    return {};
}

} // namespace folioneer::test
