// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "rtf/rtf_interpreter.h"

#include <QString>

namespace folioneer::rtf {

// Collects the plain text of a document as a rich-text box shows it: CR LF between
// paragraphs and for line breaks, each list marker followed by a TAB. Ignores formatting and
// pictures; needs nothing beyond QtCore.
class PlainTextSink : public Sink {
public:
    explicit PlainTextSink(qsizetype expectedSize = 0, bool listMarkers = true);

    void text(QStringView text, const CharFormat& format) override;
    void lineBreak(const CharFormat& format) override;
    void listMarker(const ListMarker& marker, const CharFormat& format) override;
    void paragraphEnd(const ParagraphFormat& format) override;
    void finish(const ParagraphFormat& lastParagraph, bool endedWithParagraphMark) override;

    QString takeText() { return std::move(m_text); }

private:
    void append(QStringView text);

    QString m_text;
    bool m_listMarkers = true;
};

} // namespace folioneer::rtf
