// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

class QTextBlock;
class QTextDocument;

namespace folioneer::rtf {

// The public face of the RTF engine: what the rest of the program calls. Reading never throws
// and never shows anything; input that is not RTF is an error value the caller decides about.

enum class ReadStatus {
    Ok,
    Truncated, ///< the input ended inside open groups; everything up to the end was read
    NotRtf,    ///< the input does not begin with "{\rtf" (after an optional BOM and white space)
};

struct PlainText {
    QString text; ///< paragraphs joined by CR LF, no break after the last paragraph
    ReadStatus status = ReadStatus::Ok;
    bool ok() const { return status != ReadStatus::NotRtf; }
};

/// The plain text of an RTF document as a rich-text box shows it: the one function behind both
/// the whole-book export and the "Copy" of a section's content. Builds no QTextDocument.
PlainText plainTextFromRtf(const QByteArray& rtf);

enum class ListMarkers { Shown, Left };

/// As plainTextFromRtf; with ListMarkers::Left the list markers and the TAB after each are left
/// out, so the text holds only what the user typed (word counts and searches).
PlainText plainTextFromRtf(const QByteArray& rtf, ListMarkers markers);

/// Replaces the content of `document` with the RTF document `rtf` (formatting, lists, tables,
/// images). On NotRtf the document is left unchanged.
ReadStatus readRtf(const QByteArray& rtf, QTextDocument& document);

/// As readRtf, for RTF that arrived as text (a pasted clipboard string): every non-ASCII
/// character is taken as itself, not decoded again through a code page.
ReadStatus readRtfText(const QString& rtfText, QTextDocument& document);

/// True when `text` begins like an RTF document (after an optional BOM and white space).
bool looksLikeRtf(const QByteArray& bytes);
bool looksLikeRtf(const QString& text);

struct WriteOptions {
    bool clipboard = false; ///< clipboard form: no final \par
};

/// The document as 7-bit ASCII RTF.
QByteArray writeRtf(const QTextDocument& document, const WriteOptions& options = {});

/// The plain text of a document as the export would compute it from its saved RTF
/// (U+2029/U+2028 as CR LF, list markers as shown, no object replacement characters, no
/// optional hyphens U+00AD).
QString plainTextOfDocument(const QTextDocument& document);

/// The list marker a block shows ("•", "1.", "a)"), without the TAB after it; empty when the
/// block is not a list item. The one definition used by the plain text and by the writer.
QString listItemMarker(const QTextBlock& block);

} // namespace folioneer::rtf
