// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "rtf/rtf.h"

#include "rtf/rtf_interpreter.h"
#include "rtf/rtf_plain_text_sink.h"

namespace folioneer::rtf {

PlainText plainTextFromRtf(const QByteArray& rtf)
{
    PlainTextSink sink(rtf.size());
    Interpreter interpreter(sink);
    PlainText result;
    result.status = interpreter.run(rtf);
    if (result.status != ReadStatus::NotRtf) {
        result.text = sink.takeText();
    }
    return result;
}

bool looksLikeRtf(const QByteArray& bytes)
{
    return rtfStart(bytes) >= 0;
}

bool looksLikeRtf(const QString& text)
{
    // Only the beginning matters: the BOM, white space and "{\rtf" are all ASCII or U+FEFF.
    qsizetype pos = 0;
    while (pos < text.size() &&
           (text[pos] == QChar(0xFEFF) || text[pos].isSpace() || text[pos] == QChar(0))) {
        ++pos;
    }
    return QStringView(text).mid(pos).startsWith(QLatin1String("{\\rtf"));
}

} // namespace folioneer::rtf
