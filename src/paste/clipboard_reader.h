// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "paste/document_builder.h"

#include <QByteArray>
#include <QString>

class QMimeData;
class QTextDocument;

namespace folioneer::paste {

// Decides which form of a clipboard (or a drop) a paste takes, and what "Paste Results" puts
// into the table-of-contents box. Knows nothing about widgets.

enum class PastedForm {
    Rtf,      ///< an RTF type, or a text that is an RTF document
    Html,     ///< the clipboard's HTML, read by our own reader
    Markdown, ///< plain text that reads as Markdown
    PlainText ///< anything else: the caller pastes the plain text (or a picture) as it always did
};

/// The RTF a clipboard offers under the RTF types other programs use, if any.
QByteArray rtfFromMimeData(const QMimeData& source);

/// Fills the empty `document` from the richest usable form of `source`, in this order: RTF,
/// HTML, Markdown-shaped text. HTML that yields no text and no picture counts as absent. On
/// PlainText the document is left empty.
PastedForm readClipboard(const QMimeData& source, QTextDocument& document, const PasteOptions& options = {});

struct ResultsPaste {
    QString text;           ///< what the results box gets
    bool converted = false; ///< an outline was turned into grammar lines
};

/// What "Paste Results" gives for a clipboard's plain text and HTML: the text unchanged when a
/// line of it is a grammar chapter line; else the outline recognised in the HTML, then in the
/// text; else the text unchanged.
ResultsPaste resultsFromClipboard(const QString& text, const QString& html);

} // namespace folioneer::paste
