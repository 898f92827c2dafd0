// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QTextDocument;

namespace folioneer::test {

/// A document's structure as readable lines, one per paragraph: its kind ("h2", "li1 disc",
/// "li2 decimal", "code", "quote1", "cell r,c", "p") and its text with inline formats marked
/// Markdown-like (**bold**, *italic*, ~~strike~~, `code`, [text](href), [image]). Colours, fonts
/// and sizes are left out, except that a run carrying a colour or a family other than the
/// monospace one is marked "{styled}", which pasted text must never have.
QString documentOutline(const QTextDocument& document);

} // namespace folioneer::test
