// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/lines.h"

namespace folioneer {

QStringList splitAtLineFeeds(const QString& text)
{
    return text.split(QLatin1Char('\n'), Qt::KeepEmptyParts);
}

QList<EndedLine> linesAtAnyLineEnd(const QString& text)
{
    QList<EndedLine> lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c != QLatin1Char('\r') && c != QLatin1Char('\n')) {
            continue;
        }
        LineEnd end = c == QLatin1Char('\n') ? LineEnd::Lf : LineEnd::Cr;
        if (end == LineEnd::Cr && i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n')) {
            end = LineEnd::CrLf;
        }
        lines.append({text.mid(start, i - start), end});
        if (end == LineEnd::CrLf) {
            ++i;
        }
        start = i + 1;
    }
    if (start < text.size()) {
        lines.append({text.mid(start), LineEnd::None});
    }
    return lines;
}

QStringList splitAtAnyLineEnd(const QString& text)
{
    QStringList texts;
    for (EndedLine& line : linesAtAnyLineEnd(text)) {
        texts.append(std::move(line.text));
    }
    return texts;
}

QString withCrLfLineEnds(const QString& text)
{
    QString result;
    result.reserve(text.size() + text.size() / 32 + 2);
    for (const EndedLine& line : linesAtAnyLineEnd(text)) {
        result += line.text;
        if (line.end != LineEnd::None) {
            result += QLatin1String("\r\n");
        }
    }
    return result;
}

} // namespace folioneer
