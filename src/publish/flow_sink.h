// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "publish/section_flow.h"
#include "rtf/rtf_document_sink.h"
#include "rtf/rtf_interpreter.h"

#include <QHash>
#include <QTextListFormat>

#include <utility>
#include <vector>

namespace folioneer::publish {

// Builds a section's flow straight from the RTF interpreter's events, as flowOf() takes it out
// of the document readRtf() builds from the same events, without building that document (which
// costs several times more than the flow). It follows the document's rules for paragraphs,
// lists and pictures. Where a document would do what it does not follow (text that breaks a
// block, a surrogate pair split between two insertions, a numbering it does not count), the flow
// is not exact and the caller reads the section through a document instead.

class FlowSink : public rtf::Sink {
public:
    bool wantsFormats() const override { return true; }
    bool wantsPictures() const override { return true; }
    void text(QStringView text, const rtf::CharFormat& format) override;
    void lineBreak(const rtf::CharFormat& format) override;
    void softHyphen(const rtf::CharFormat& format) override;
    void listMarker(const rtf::ListMarker& marker, const rtf::CharFormat& format) override;
    void paragraphEnd(const rtf::ParagraphFormat& format) override;
    void picture(const rtf::Picture& picture, const rtf::CharFormat& format) override;
    void finish(const rtf::ParagraphFormat& lastParagraph, bool endedWithParagraphMark) override;

    /// Whether the flow is the one flowOf() gives for the document of the same RTF.
    bool isExact() const { return m_exact; }
    Flow takeFlow() { return std::move(m_flow); }

private:
    // A list items may still join, as the document keeps it.
    struct OpenList {
        int id;                 ///< Paragraph::listId of its items
        QTextListFormat format; ///< the format the document gives it
        int items;
    };

    const Run& lookOf(const rtf::CharFormat& format);
    void appendText(QStringView text, const rtf::CharFormat& format);
    void flushText();
    void startPendingBlock();
    void endBlock(const rtf::ParagraphFormat& format);
    QString nextMarker(const OpenList& list) const;

    Flow m_flow;
    Paragraph m_paragraph;
    QString m_blockText; // everything the document's block holds, pictures as U+FFFC
    QString m_pendingText;
    rtf::CharFormat m_pendingFormat;
    bool m_blockPending = false;
    bool m_blockInList = false;
    bool m_exact = true;
    int m_listCount = 0;
    QHash<quint64, QList<OpenList>> m_lists;
    rtf::ResolvedFormats<Run> m_looks;
};

} // namespace folioneer::publish
