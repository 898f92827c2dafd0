// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringView>
#include <QTextCharFormat>
#include <QTextCursor>

class QTextDocument;
class QTextList;
class QTextTable;

namespace folioneer::paste {

/// What the readers of pasted data are told about the box they fill.
struct PasteOptions {
    double basePointSize = 9.75; ///< the editor's font size; headings are drawn larger than it
};

/// The deepest list nesting kept; deeper lists join the deepest level.
inline constexpr int kMaxListDepth = 8;
/// The largest picture (encoded bytes) a paste may carry in its data.
inline constexpr qsizetype kMaxImageBytes = 8 * 1024 * 1024;
/// The largest picture side in pixels a paste may carry.
inline constexpr int kMaxImageSide = 8000;

/// The name of a picture the readers put into a document's resources ("pasted-image-N").
QString pastedImageName(int number);

// Builds a QTextDocument from the structure of pasted text, event by event, as the HTML and
// Markdown readers walk their input: blocks, lists, quotes, tables, inline formats, links and
// pictures carried in the data. It sets no colours and no font family except monospace for
// code, so the text takes the editor's own font. It never reads a file or the network.
class DocumentBuilder {
public:
    enum class Inline { Bold, Italic, Strike, Underline, Code, Superscript, Subscript };

    DocumentBuilder(QTextDocument& document, const PasteOptions& options);

    void beginParagraph();
    void endParagraph();
    /// A heading paragraph of `level` 1 to 6.
    void beginHeading(int level);
    void endHeading();
    void beginCodeBlock();
    void endCodeBlock();
    void beginQuote();
    void endQuote();
    void beginList(bool ordered, int start);
    void endList();
    void beginListItem();
    void endListItem();

    void beginTable();
    void beginRow();
    void beginCell(bool header);
    void endCell();
    void endRow();
    void endTable();

    void beginInline(Inline kind);
    void endInline(Inline kind);
    /// Only web and mail targets are kept as links; the text of any other stays plain text.
    void beginLink(const QString& href);
    void endLink();

    /// Text as it came. Outside code blocks, runs of white space collapse to one blank and
    /// white space at the start of a paragraph is dropped (HTML's rule); `collapse` false
    /// keeps it (Markdown has already decided it).
    void text(QStringView text, bool collapse);
    /// A line break inside the paragraph (U+2028).
    void lineBreak();
    /// A picture from a data: URI; anything else (file:, paths, http:) is dropped unread.
    void image(const QString& source);

    /// Ends open blocks; the document is complete. The document records no undo steps while it
    /// is built.
    void finish();

private:
    struct ListLevel {
        QTextList* list = nullptr;
        bool ordered = false;
        int start = 1;
        bool itemPending = false;
    };
    struct TableLevel {
        QTextTable* table = nullptr;
        int row = -1;
        int column = -1;
        bool flattened = false; ///< a table inside a table: its cells become text
    };

    void ensureBlock();
    void closeBlock();
    void dropTrailingSpace();
    void flushText();
    QTextCharFormat currentCharFormat() const;
    void insertText(const QString& text);
    bool inCode() const { return m_codeDepth > 0; }

    QTextDocument& m_document;
    PasteOptions m_options;
    QTextCursor m_cursor;
    bool m_blockOpen = false;     ///< text goes into the current block
    bool m_blockUnused = true;    ///< the block under the cursor is empty and may be taken as it is
    bool m_lastWasSpace = true;   ///< for white-space collapsing
    bool m_trailingSpace = false; ///< the block ends in a collapsed blank
    bool m_undoWasEnabled = true;
    QString m_pendingText; ///< text not yet inserted, all in m_pendingFormat
    QTextCharFormat m_pendingFormat;
    int m_pendingCodeBreaks = 0; ///< line breaks of code not yet turned into paragraphs
    bool m_headerCell = false;
    int m_headingLevel = 0;
    int m_codeDepth = 0;
    int m_quoteDepth = 0;
    QList<int> m_inlineCounts;
    int m_linkDepth = 0;
    QString m_href;
    QList<ListLevel> m_lists;
    QList<TableLevel> m_tables;
    QHash<int, QTextList*> m_lastOrdered; ///< the last numbered list closed at each depth
    int m_images = 0;
    qsizetype m_imageBytes = 0;
};

} // namespace folioneer::paste
