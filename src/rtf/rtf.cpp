// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The RTF engine's entry points for reading: each runs one interpreter into one sink. The
// other functions rtf.h declares live with their part: writeRtf in rtf_writer.cpp,
// plainTextOfDocument in rtf_document_text.cpp, listItemMarker in rtf_list_markers.cpp.

#include "rtf/rtf.h"

#include "rtf/rtf_document_sink.h"
#include "rtf/rtf_interpreter.h"
#include "rtf/rtf_plain_text_sink.h"

#include <QTextDocument>

namespace folioneer::rtf {

namespace {

ReadStatus readInto(const QByteArray& rtf, QTextDocument& document, bool rawTextIsUtf8)
{
    if (rtfStart(rtf) < 0) {
        return ReadStatus::NotRtf;
    }
    const bool undo = document.isUndoRedoEnabled();
    document.setUndoRedoEnabled(false);
    document.clear();
    ReadStatus status;
    {
        DocumentSink sink(document);
        Interpreter interpreter(sink);
        status = interpreter.run(rtf, rawTextIsUtf8);
    }
    document.setUndoRedoEnabled(undo);
    return status;
}

} // namespace

PlainText plainTextFromRtf(const QByteArray& rtf)
{
    return plainTextFromRtf(rtf, ListMarkers::Shown);
}

PlainText plainTextFromRtf(const QByteArray& rtf, ListMarkers markers)
{
    PlainTextSink sink(rtf.size(), markers == ListMarkers::Shown);
    Interpreter interpreter(sink);
    PlainText result;
    result.status = interpreter.run(rtf);
    if (result.status != ReadStatus::NotRtf) {
        result.text = sink.takeText();
    }
    return result;
}

ReadStatus readRtf(const QByteArray& rtf, QTextDocument& document)
{
    return readInto(rtf, document, false);
}

ReadStatus readRtfText(const QString& rtfText, QTextDocument& document)
{
    return readInto(rtfText.toUtf8(), document, true);
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
