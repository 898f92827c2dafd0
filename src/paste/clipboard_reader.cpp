// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "paste/clipboard_reader.h"

#include "paste/html_reader.h"
#include "paste/markdown_reader.h"
#include "paste/outline_recogniser.h"
#include "project/toc.h"
#include "rtf/rtf.h"
#include "support/lines.h"

#include <QMimeData>
#include <QStringList>
#include <QTextDocument>

namespace folioneer::paste {

QByteArray rtfFromMimeData(const QMimeData& source)
{
    for (const char* type : {"text/rtf", "application/rtf", "text/richtext"}) {
        if (source.hasFormat(QLatin1String(type))) {
            return source.data(QLatin1String(type));
        }
    }
    return {};
}

PastedForm readClipboard(const QMimeData& source, QTextDocument& document, const PasteOptions& options)
{
    const QByteArray rtfData = rtfFromMimeData(source);
    if (!rtfData.isEmpty() && rtf::readRtf(rtfData, document) != rtf::ReadStatus::NotRtf) {
        return PastedForm::Rtf;
    }
    const QString text = source.hasText() ? source.text() : QString();
    if (rtf::looksLikeRtf(text) && rtf::readRtfText(text, document) != rtf::ReadStatus::NotRtf) {
        return PastedForm::Rtf;
    }
    if (source.hasHtml()) {
        if (readHtml(source.html().toUtf8(), document, options)) {
            return PastedForm::Html;
        }
        document.clear();
    }
    if (looksLikeMarkdown(text)) {
        readMarkdown(text, document, options);
        return PastedForm::Markdown;
    }
    return PastedForm::PlainText;
}

ResultsPaste resultsFromClipboard(const QString& text, const QString& html)
{
    const QStringList lines = splitAtLineFeeds(text);
    const bool hasChapterLine = std::any_of(lines.begin(), lines.end(), [](const QString& line) {
        return classifyTocLine(line).kind == TocLineKind::Chapter;
    });
    if (hasChapterLine) {
        return {text, false};
    }
    if (!html.isEmpty()) {
        QTextDocument document;
        if (readHtml(html.toUtf8(), document)) {
            if (const std::optional<QString> outline = outlineFromDocument(document)) {
                return {*outline, true};
            }
        }
    }
    if (const std::optional<QString> outline = outlineFromText(text)) {
        return {*outline, true};
    }
    return {text, false};
}

} // namespace folioneer::paste
