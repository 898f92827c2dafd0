// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

class QMimeData;
class QWidget;

namespace folioneer {

class ExactTextEdit;

/// "Paste Results": the clipboard's text goes into `box` as it is; when it holds a table of
/// contents in another outline form, the grammar lines replace it as one undoable edit (Ctrl+Z
/// shows the pasted text again) and `note` is shown. The note is hidden otherwise.
void pasteResults(ExactTextEdit& box, QWidget& note, const QMimeData* source);

/// Makes Ctrl+V into `box` call `paste` while the box is empty; otherwise the box pastes plain
/// text itself.
void pasteIntoEmptyBoxWith(ExactTextEdit& box, std::function<void()> paste);

} // namespace folioneer
