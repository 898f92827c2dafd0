// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "rtf/rtf_plain_text_sink.h"

namespace folioneer::rtf {

PlainTextSink::PlainTextSink(qsizetype expectedSize)
{
    // Markup makes up most of a typical file; the text grows geometrically from a quarter of it.
    m_text.reserve(expectedSize / 4 + 16);
}

void PlainTextSink::text(QStringView text, const CharFormat&)
{
    m_text.append(text);
}

void PlainTextSink::lineBreak(const CharFormat&)
{
    m_text.append(QLatin1String("\r\n"));
}

void PlainTextSink::listMarker(const ListMarker& marker, const CharFormat&)
{
    m_text.append(marker.text);
    m_text.append(u'\t');
}

void PlainTextSink::paragraphEnd(const ParagraphFormat&)
{
    m_text.append(QLatin1String("\r\n"));
}

void PlainTextSink::finish(const ParagraphFormat&, bool endedWithParagraphMark)
{
    if (endedWithParagraphMark && m_text.endsWith(QLatin1String("\r\n"))) {
        m_text.chop(2);
    }
}

} // namespace folioneer::rtf
