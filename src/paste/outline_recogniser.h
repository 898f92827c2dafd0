// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <optional>

class QTextDocument;

namespace folioneer::paste {

// Recognises a table of contents written in the usual outline forms of chat answers (Markdown
// headings, bold lines, numbered and bulleted lists, "Chapter 1:" labels, outline numbers) and
// turns it into the outline grammar's "Chapter: " and "Subchapter: " lines. The shallowest
// structural level gives chapters, the next sections; deeper levels and description text are
// dropped. Knows nothing about the clipboard or widgets.

/// A title as the outline keeps it: emphasis markers removed anywhere, then a leading
/// "Chapter 1:"-style label or outline number removed. A title that would be left empty is kept
/// as it was.
QString cleanOutlineTitle(const QString& title);

/// The grammar lines (joined by CR LF, no break after the last) for an outline in plain or
/// Markdown text; nothing when the text holds no outline (fewer than two chapters, or one
/// chapter without a section).
std::optional<QString> outlineFromText(const QString& text);

/// As outlineFromText, for a document read from pasted HTML: heading paragraphs, list items,
/// bold lines and labelled lines are its structure.
std::optional<QString> outlineFromDocument(const QTextDocument& document);

} // namespace folioneer::paste
