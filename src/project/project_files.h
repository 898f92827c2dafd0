// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace folioneer {

// Reads and writes the two text files of a project folder ("/--toc.txt", "/--maintopic.txt").
// Reading decodes UTF-8 or Windows-1252 (support/text_codec); writing is UTF-8 and atomic.

struct TextFileRead {
    QString text;
    QString error; ///< empty on success
    bool ok() const { return error.isEmpty(); }
};

/// The whole table of contents of a project folder. Fails when the file is missing, unreadable
/// or longer than kMaxTocCharacters after decoding (huge files are refused without reading them).
TextFileRead readTableOfContents(const QString& projectFolder);

/// The whole main-topic file of a project folder, final CR LF included.
TextFileRead readMainTopic(const QString& projectFolder);

} // namespace folioneer
