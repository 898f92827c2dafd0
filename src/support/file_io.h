// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "support/result.h"

#include <QByteArray>
#include <QString>

namespace folioneer {

// Every read and write of user data goes through these functions. Writes are atomic: the
// data goes to a temporary file in the target's folder that replaces the target only once it
// is complete, so a crash, a kill or a full disk leaves the old file whole. Failures come back
// as a Result whose reason is a text for the user; nothing here shows a dialog.

/// Replaces (or creates) the file at `path` with `data`, atomically. Refuses to replace a
/// file that has no write permission for its owner (checked on the permission bits, so it also
/// holds for root). On failure the target is untouched and no temporary file is left. After each
/// chunk it reports the step "write-chunk" with the bytes written so far to the step hook.
Result writeFileAtomically(const QString& path, const QByteArray& data);

/// Reads a whole regular file: its bytes, or the reason they could not be read. `maxBytes` (when
/// >= 0) refuses larger files without reading them.
ResultOf<QByteArray> readWholeFile(const QString& path, qint64 maxBytes = -1);

/// True when `path` is an existing file without write permission for its owner.
bool isReadOnlyFile(const QString& path);

} // namespace folioneer
