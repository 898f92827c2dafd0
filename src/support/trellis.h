// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

namespace folioneer {

class TextHolder;

// The six small file, text and tool operations several parts of the program share. They never
// report failure to their callers: a missing or unreadable file or folder leaves the target as
// it was.

/// Replaces every occurrence of `find` in `text` by `replacement`, left to right in one pass,
/// exact and case-sensitive, without rescanning inserted text. An empty `find` returns `text`
/// unchanged. `mode` is accepted for the callers' sake; every caller passes 0.
QString ReplaceText(const QString& text, const QString& find, const QString& replacement, int mode = 0);

/// Sets the holder's text to the whole decoded text of the file (see decodeText), like any
/// program change, so its change signal fires when the text differs. A missing or unreadable
/// file leaves the holder unchanged.
void LoadTextFile(TextHolder& target, const QString& path);

/// Replaces `target` with the full paths of the regular files in `folder`, sorted by name
/// (case-insensitive and locale-aware, ties broken by the exact name). Sub-folders, links to
/// folders and hidden files (names beginning with ".") are not listed. A missing folder gives
/// an empty list.
void ListFolderFiles(const QString& folder, QStringList& target);

/// The file name of a path, without its folder.
QString FileNameOf(const QString& path);

/// A file name as a title may show it; returns it unchanged, so it still names the same file.
QString CleanName(const QString& fileName);

/// Gives the event loop a chance to run; changes no control.
void Pause(int count);

/// Sorts names as the program's lists show them: case-insensitive, locale-aware, ties broken
/// by the exact name.
void sortNamesForDisplay(QStringList& names);

} // namespace folioneer
