// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Bytes to QTextDocument: never crashes, and the document's plain text equals the plain-text
// path's, so the editor and the export never disagree about a file's characters. The flow the
// book export reads straight from the same bytes, where it claims to be exact, equals the flow
// of the document, so a published book shows what the editor shows.

#include "common/flow_difference.h"
#include "fuzz_support.h"
#include "publish/flow_sink.h"
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
    publish::FlowSink flowSink;
    rtf::Interpreter interpreter(flowSink);
    fuzz::check(interpreter.run(bytes) == status, "the flow and the document disagree about the status");
    if (status == rtf::ReadStatus::NotRtf) {
        return 0;
    }
    const QString fromDocument = rtf::plainTextOfDocument(document);
    fuzz::check(fromDocument == plain.text, "document text differs from plain text",
                fuzz::firstDifference(fromDocument, plain.text));
    if (flowSink.isExact()) {
        const QString difference = test::flowDifference(flowSink.takeFlow(), publish::flowOf(document));
        fuzz::check(difference.isEmpty(), "the direct flow differs from the document's", difference);
    }
    return 0;
}
