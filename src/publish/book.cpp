// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "publish/book.h"

#include "export/book_export.h"
#include "project/program_paths.h"
#include "project/project_files.h"
#include "publish/flow_sink.h"
#include "rtf/rtf.h"
#include "rtf/rtf_interpreter.h"
#include "support/file_io.h"
#include "support/text_codec.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTextDocument>

namespace folioneer::publish {

namespace {

QString tr(const char* text)
{
    return QCoreApplication::translate("Publish", text);
}

} // namespace

int Book::sectionCount() const
{
    int count = 0;
    for (const BookChapter& chapter : chapters) {
        count += int(chapter.sections.size());
    }
    return count;
}

QString exportFailedMessage()
{
    return tr("The book could not be exported.");
}

BookLoad loadBook(const QString& projectPath)
{
    BookLoad load;
    // Read as the clipboard export reads it: a table of contents longer than the outline shows
    // is still the whole book.
    const ResultOf<QByteArray> toc = readWholeFile(programPath(projectPath, paths::kToc));
    if (!toc.ok()) {
        load.result = Result::failure(toc.reason(), exportFailedMessage());
        return load;
    }
    Book& book = load.book;
    book.projectPath = projectPath;
    book.title = QFileInfo(QDir::cleanPath(projectPath)).fileName();
    // A missing main topic is an empty subtitle, not a failed export.
    book.subtitle = readMainTopic(projectPath).value().trimmed();
    for (const BookEntry& entry : walkBook(decodeText(toc.value()), projectPath)) {
        if (entry.kind == BookEntry::Kind::Chapter) {
            book.chapters.append({entry.title, {}});
            continue;
        }
        if (book.chapters.isEmpty()) {
            book.chapters.append(BookChapter{});
        }
        book.chapters.last().sections.append({entry.title, entry.contentPath});
    }
    return load;
}

namespace {

// The bytes of the section's content file; none for a section without one.
Result readContent(const BookSection& section, QByteArray& content)
{
    content.clear();
    if (section.contentPath.isEmpty()) {
        return {};
    }
    ResultOf<QByteArray> read = readWholeFile(section.contentPath);
    if (!read.ok()) {
        return Result::failure(headingText(section.title) + QLatin1Char('\n') + read.reason(),
                               exportFailedMessage());
    }
    content = read.value();
    return {};
}

Result notRtf(const BookSection& section)
{
    return Result::failure(headingText(section.title) + QLatin1Char('\n') +
                               tr("The content file is not an RTF document."),
                           exportFailedMessage());
}

} // namespace

Result readSection(const BookSection& section, QTextDocument& document)
{
    document.clear();
    QByteArray content;
    if (const Result read = readContent(section, content); !read || content.isEmpty()) {
        return read;
    }
    if (rtf::readRtf(content, document) == rtf::ReadStatus::NotRtf) {
        return notRtf(section);
    }
    return {};
}

Result readSectionFlow(const BookSection& section, Flow& flow)
{
    QByteArray content;
    if (const Result read = readContent(section, content); !read) {
        return read;
    }
    if (content.isEmpty()) {
        flow = flowOf(QTextDocument());
        return {};
    }
    FlowSink sink;
    rtf::Interpreter interpreter(sink);
    if (interpreter.run(content) == rtf::ReadStatus::NotRtf) {
        return notRtf(section);
    }
    if (sink.isExact()) {
        flow = sink.takeFlow();
        return {};
    }
    QTextDocument document;
    rtf::readRtf(content, document);
    flow = flowOf(document);
    return {};
}

QString xmlSafe(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        const char16_t u = c.unicode();
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            out += c;
            out += text.at(++i);
            continue;
        }
        if (c.isSurrogate() || u == 0xFFFE || u == 0xFFFF ||
            (u < 0x20 && u != '\t' && u != '\n' && u != '\r')) {
            continue;
        }
        out += c;
    }
    return out;
}

QString headingText(const QString& title)
{
    // Line ends and TABs inside a title would break a heading line in the text formats.
    QString text = xmlSafe(title);
    text.replace(QLatin1Char('\t'), QLatin1Char(' '));
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    text = text.trimmed();
    return text.isEmpty() ? tr("Untitled") : text;
}

} // namespace folioneer::publish
