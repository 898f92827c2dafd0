// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

namespace folioneer {

// The one place that decides how the program's text files are encoded. Written files are
// UTF-8 without a byte-order mark; read files may also be Windows-1252 (projects and
// templates made on Western Windows systems).

/// Decodes a whole text file: UTF-8 (a leading BOM is skipped) when the bytes are valid UTF-8,
/// otherwise Windows-1252. Never fails and never drops a byte.
QString decodeText(const QByteArray& bytes);

/// Encodes text for writing: UTF-8, no byte-order mark.
QByteArray encodeText(const QString& text);

/// Decodes bytes as Windows-1252 (the five unassigned bytes map to the C1 controls of the same value).
QString decodeWindows1252(const QByteArray& bytes);

} // namespace folioneer
