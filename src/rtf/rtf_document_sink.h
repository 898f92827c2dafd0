// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "rtf/rtf_interpreter.h"

#include <QHash>
#include <QPointer>
#include <QString>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>

#include <utility>
#include <vector>

class QImage;
class QTextDocument;
class QTextList;

namespace folioneer::rtf {

/// The character formats a reader has resolved through the document's tables into what it
/// shows, kept because a document uses few and its runs often alternate between them. It keeps
/// at most 64, so that hostile input cannot make every run search thousands, and forgets them
/// all once the tables change (a table declared after text that uses it).
template <typename Resolved> class ResolvedFormats {
public:
    const Resolved* find(const CharFormat& format, const DocumentTables& tables)
    {
        if (m_revision != tables.revision) {
            m_kept.clear();
            m_revision = tables.revision;
        }
        for (const auto& [known, resolved] : m_kept) {
            if (known == format) {
                return &resolved;
            }
        }
        return nullptr;
    }
    const Resolved& add(const CharFormat& format, Resolved resolved)
    {
        if (m_kept.size() >= 64) {
            m_kept.clear();
        }
        m_kept.emplace_back(format, std::move(resolved));
        return m_kept.back().second;
    }

private:
    std::vector<std::pair<CharFormat, Resolved>> m_kept;
    quint64 m_revision = 0;
};

/// The image a PNG or JPEG picture shows; null for other kinds, for data that does not decode,
/// and for pictures too large to decode safely (over 32768 pixels a side or 64 M pixels).
/// Every reader of pictures shows the same ones.
QImage decodePicture(const Picture& picture);

// Builds a QTextDocument from the interpreter's events: character and block formats, lists
// (QTextList per run of consecutive items), tables as tab-separated rows, and PNG/JPEG
// pictures as document resources. Writes through one cursor in one edit block; knows nothing
// about RTF syntax.
class DocumentSink : public Sink {
public:
    explicit DocumentSink(QTextDocument& document);
    ~DocumentSink() override;

    bool wantsFormats() const override { return true; }
    bool wantsPictures() const override { return true; }
    void text(QStringView text, const CharFormat& format) override;
    void lineBreak(const CharFormat& format) override;
    void softHyphen(const CharFormat& format) override;
    void listMarker(const ListMarker& marker, const CharFormat& format) override;
    void paragraphEnd(const ParagraphFormat& format) override;
    void picture(const Picture& picture, const CharFormat& format) override;
    void finish(const ParagraphFormat& lastParagraph, bool endedWithParagraphMark) override;

private:
    const QTextCharFormat& charFormat(const CharFormat& format);
    void appendText(QStringView text, const CharFormat& format);
    void flushText();
    void applyBlockFormat(const ParagraphFormat& format);
    static void setBlockProperties(const ParagraphFormat& format, QTextBlockFormat& blockFormat);
    void startPendingBlock();

    QTextDocument& m_document;
    QTextCursor m_cursor;
    ResolvedFormats<QTextCharFormat> m_formats;
    // Text of one format waiting to be inserted in one call (runs, line breaks, optional hyphens).
    QString m_pendingText;
    CharFormat m_pendingFormat;
    bool m_blockInList = false;
    bool m_blockPending = false;     ///< a paragraph ended; its successor is made when content follows
    bool m_blockFormatKnown = false; ///< the current block was made with m_blockCreatedWith
    ParagraphFormat m_blockCreatedWith;
    bool m_previousKnown = false;
    ParagraphFormat m_previousParagraph;
    QTextBlockFormat m_previousBlockFormat;
    int m_imageCount = 0;
    // The lists open in the current run of list paragraphs, by (list, level).
    /// The lists items may still join, per list and level; the latest last.
    // The document deletes a list once its last block leaves it (a block tried in one list and
    // taken out again may empty it), so the pointers are guarded.
    QHash<quint64, QList<QPointer<QTextList>>> m_lists;
};

} // namespace folioneer::rtf
