// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "support/result.h"

#include <QString>

namespace folioneer {

// Reads and writes the two text files of a project folder ("/--toc.txt", "/--maintopic.txt").
// Reading decodes UTF-8 or Windows-1252 (support/text_codec); writing is UTF-8 and atomic.
// A failed read gives the reason as a text for the user.

/// The whole table of contents of a project folder. Fails when the file is missing, unreadable
/// or longer than kMaxTocCharacters after decoding (huge files are refused without reading them).
ResultOf<QString> readTableOfContents(const QString& projectFolder);

/// The whole main-topic file of a project folder, final CR LF included.
ResultOf<QString> readMainTopic(const QString& projectFolder);

} // namespace folioneer
