// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "paste/document_builder.h"

#include <QString>

class QTextDocument;

namespace folioneer::paste {

/// True when plain text reads as Markdown written on purpose: it has an ATX heading ("#" to
/// "######" and a blank at a line start), a closed fenced code block, a table with its
/// delimiter row, or two or more strong, emphasis or code spans. A list alone is not enough: a
/// typed dash list is plain text.
bool looksLikeMarkdown(const QString& text);

/// Reads Markdown (GitHub's dialect, raw HTML taken as text except "<br>", which breaks the
/// line) into `document`, which should be empty. Only data: pictures are kept.
void readMarkdown(const QString& text, QTextDocument& document, const PasteOptions& options = {});

} // namespace folioneer::paste
