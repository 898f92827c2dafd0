// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Write/read round trip: whatever document the reader builds, the writer saves it as 7-bit
// ASCII RTF that reads back to the same text and writes back to the same bytes.

#include "fuzz_support.h"
#include "rtf/rtf.h"

#include <QGuiApplication>
#include <QTextDocument>

#include <algorithm>
#include <cstdint>

using namespace folioneer;

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QTextDocument document;
    if (rtf::readRtf(fuzz::bytesOf(data, size), document) == rtf::ReadStatus::NotRtf) {
        return 0;
    }
    const QByteArray written = rtf::writeRtf(document);
    fuzz::check(std::all_of(written.begin(), written.end(),
                            [](char c) { return static_cast<unsigned char>(c) < 0x80; }),
                "writer output is not 7-bit ASCII");
    QTextDocument again;
    fuzz::check(rtf::readRtf(written, again) == rtf::ReadStatus::Ok,
                "writer output does not read back cleanly");
    const QString before = rtf::plainTextOfDocument(document);
    const QString after = rtf::plainTextOfDocument(again);
    fuzz::check(before == after, "text changed through write and read", fuzz::firstDifference(before, after));
    fuzz::check(rtf::plainTextFromRtf(written).text == after, "plain-text path differs on writer output");
    const QByteArray rewritten = rtf::writeRtf(again);
    fuzz::check(rewritten == written, "writing the read-back document gives other bytes",
                fuzz::firstDifference(QString::fromLatin1(written), QString::fromLatin1(rewritten)));
    return 0;
}
