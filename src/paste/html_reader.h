// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "paste/document_builder.h"

#include <QByteArray>
#include <QString>

class QTextDocument;

namespace folioneer::paste {

/// Reads pasted HTML (UTF-8, as a browser puts it on the clipboard) into `document`, which
/// should be empty: headings, paragraphs, emphasis, code, lists, quotes, tables, links and
/// data: pictures. Scripts, styles, forms, frames and every inline style are dropped; nothing is
/// read from disk or the network. Malformed or hostile input gives whatever text could be
/// recovered. Returns false when the HTML held no text and no picture.
bool readHtml(const QByteArray& html, QTextDocument& document, const PasteOptions& options = {});

/// The character an HTML character reference ("&amp;", "&#233;", "&#x2014;") stands for, or the
/// reference itself when it names none.
QString decodeHtmlEntity(const QString& reference);

} // namespace folioneer::paste
