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
    // The same test as for bytes: the UTF-8 form of a BOM is U+FEFF, the white space is ASCII.
    qsizetype pos = text.startsWith(QChar(0xFEFF)) ? 1 : 0;
    while (pos < text.size() && (text[pos] == u' ' || text[pos] == u'\t' || text[pos] == u'\r' ||
                                 text[pos] == u'\n' || text[pos] == u'\f' || text[pos] == u'\v')) {
        ++pos;
    }
    return QStringView(text).mid(pos).startsWith(QLatin1String("{\\rtf"));
}

} // namespace folioneer::rtf
