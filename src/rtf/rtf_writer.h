// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "rtf/rtf.h"
#include "support/result.h"

class QIODevice;

namespace folioneer::rtf {

// The RTF writer turns a QTextDocument into 7-bit ASCII RTF that the reader of this module,
// word processors and Windows rich-text controls all read back the same way. It writes only
// formats the reader understands, so read(write(doc)) keeps them. It never touches a path:
// callers save its bytes through the atomic file helper (writeFileAtomically).

/// Writes `document` as RTF to an open, writable `device`. Returns an error text when the
/// device is not writable or refuses part of the data; success only once every byte was taken.
Result writeRtf(const QTextDocument& document, QIODevice& device, const WriteOptions& options = {});

} // namespace folioneer::rtf
