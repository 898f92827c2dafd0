// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Bytes to QTextDocument: never crashes, and the document's plain text equals the plain-text
// path's, so the editor and the export never disagree about a file's characters.

#include "fuzz_support.h"
#include "rtf/rtf.h"

#include <QGuiApplication>
#include <QTextDocument>

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
    const QByteArray bytes = fuzz::bytesOf(data, size);
    QTextDocument document;
    const rtf::ReadStatus status = rtf::readRtf(bytes, document);
    const rtf::PlainText plain = rtf::plainTextFromRtf(bytes);
    fuzz::check((status == rtf::ReadStatus::NotRtf) == !plain.ok(), "the two paths disagree about NotRtf");
    if (status == rtf::ReadStatus::NotRtf) {
        return 0;
    }
    const QString fromDocument = rtf::plainTextOfDocument(document);
    fuzz::check(fromDocument == plain.text, "document text differs from plain text",
                fuzz::firstDifference(fromDocument, plain.text));
    return 0;
}
