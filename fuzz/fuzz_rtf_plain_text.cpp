// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Bytes to plain text: never crashes, gives well-formed UTF-16, and the text stays within a
// constant times the input (no construct may multiply the output).

#include "fuzz_support.h"
#include "rtf/rtf.h"

#include <cstdint>

using namespace folioneer;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = fuzz::bytesOf(data, size);
    const rtf::PlainText text = rtf::plainTextFromRtf(bytes);
    if (!text.ok()) {
        fuzz::check(text.text.isEmpty(), "non-RTF input produced text");
        return 0;
    }
    fuzz::check(fuzz::isValidUtf16(text.text), "plain text is not valid UTF-16");
    // List markers are the only text not written in the input; a generous bound still catches
    // any construct that makes output grow faster than the input.
    fuzz::check(text.text.size() <= 16 * static_cast<qsizetype>(size) + 1024, "plain text out of bounds",
                QStringLiteral("%1 characters from %2 bytes").arg(text.text.size()).arg(size));
    return 0;
}
