// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QEventLoop>
#include <QString>

#include <functional>

class QListWidget;

namespace folioneer {

// The catalogue list filler. It appends a title file's entries to a list widget one line at a
// time and lets pending events run after each line, so the window stays responsive while a long
// file fills. It knows nothing about titles or prompts beyond the line rule of the core.

/// Appends the non-empty lines of the file at `path` (UTF-8, or Windows-1252 when not valid
/// UTF-8; lines end at CR LF, a lone CR or a lone LF) to `target`, without clearing it first.
/// After each line, pending events run (those `events` allows); the fill then stops as soon as
/// `target` has been destroyed or `stop` returns true, so a window closed during the fill is
/// never written to. A missing or unreadable file appends nothing. Returns true when the whole
/// file was listed.
bool LoadPromptList(const QString& path, QListWidget* target, const std::function<bool()>& stop = {},
                    QEventLoop::ProcessEventsFlags events = QEventLoop::AllEvents);

} // namespace folioneer
