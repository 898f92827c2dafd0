// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "publish/book_publisher.h"

#include "export/book_export.h"
#include "outline/outline_files.h"
#include "project/program_paths.h"
#include "publish/book.h"
#include "publish/format_writer.h"
#include "publish/section_reader.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QTextDocument>

namespace folioneer::publish {

namespace {

QString tr(const char* text)
{
    return QCoreApplication::translate("Publish", text);
}

std::unique_ptr<FormatWriter> writerFor(BookFormat format)
{
    switch (format) {
    case BookFormat::Docx:
        return makeDocxWriter();
    case BookFormat::Epub:
        return makeEpubWriter();
    case BookFormat::Odt:
        return makeOdtWriter();
    case BookFormat::Markdown:
        return makeMarkdownWriter();
    case BookFormat::Html:
        return makeHtmlWriter();
    case BookFormat::Text:
        break;
    }
    return {};
}

// The text format is the whole-book text of the clipboard, byte for byte (UTF-8).
Result exportText(const Book& book, const QString& path)
{
    const BookText text = buildBookText(programPath(book.projectPath, paths::kToc), book.projectPath);
    if (text.ok()) {
        return writeExportFile(path, text.text.toUtf8());
    }
    // Name the section whose content stopped the export, as the other formats do.
    for (const BookChapter& chapter : book.chapters) {
        for (const BookSection& section : chapter.sections) {
            QTextDocument document;
            const Result read = readSection(section, document);
            if (!read) {
                return read;
            }
        }
    }
    return Result::failure(text.error, exportFailedMessage());
}

} // namespace

const QList<FormatChoice>& formatChoices()
{
    static const QList<FormatChoice> choices{
        {BookFormat::Docx, QStringLiteral("docx"), tr("Word document (*.docx)")},
        {BookFormat::Epub, QStringLiteral("epub"), tr("EPUB e-book (*.epub)")},
        {BookFormat::Odt, QStringLiteral("odt"), tr("OpenDocument text (*.odt)")},
        {BookFormat::Markdown, QStringLiteral("md"), tr("Markdown (*.md)")},
        {BookFormat::Html, QStringLiteral("html"), tr("Web page (*.html)")},
        {BookFormat::Text, QStringLiteral("txt"), tr("Plain text (*.txt)")},
    };
    return choices;
}

std::optional<BookFormat> formatForPath(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    for (const FormatChoice& choice : formatChoices()) {
        if (choice.suffix == suffix) {
            return choice.format;
        }
    }
    if (suffix == QLatin1String("htm") || suffix == QLatin1String("markdown")) {
        return suffix == QLatin1String("htm") ? BookFormat::Html : BookFormat::Markdown;
    }
    return std::nullopt;
}

ExportOutcome exportBook(const QString& projectPath, const QString& path, BookFormat format,
                         const ExportProgress& progress, int readThreads)
{
    // An outline edit cut short by a kill is finished (or rolled back) first, so the export
    // finds every text where the table of contents says it is.
    if (const Result journal = completePendingOutlineJournal(projectPath); !journal) {
        return {Result::failure(journal.reason(), exportFailedMessage())};
    }
    const BookLoad load = loadBook(projectPath);
    if (!load.result) {
        return {load.result};
    }
    const Book& book = load.book;
    if (format == BookFormat::Text) {
        return {exportText(book, path)};
    }
    const std::unique_ptr<FormatWriter> writer = writerFor(format);
    writer->begin(book, path);
    const int total = book.sectionCount();
    int done = 0;
    // Sections are read a few at a time, never the whole book: a thousand section documents
    // would not fit in memory.
    // The readers also draft each section's content, so most of the XML is written beside the
    // writer rather than by it.
    SectionReader reader(book, readThreads < 0 ? SectionReader::defaultWorkers() : readThreads,
                         [&writer](int c, int s, const Flow& flow) { return writer->draft(c, s, flow); });
    for (int c = 0; c < book.chapters.size(); ++c) {
        writer->chapter(c);
        const BookChapter& chapter = book.chapters.at(c);
        for (int s = 0; s < chapter.sections.size(); ++s) {
            const SectionReader::Section section = reader.next();
            if (!section.result) {
                return {section.result};
            }
            writer->writeSection(c, s, section.flow, section.draft.get());
            ++done;
            if (progress && !progress(done, total)) {
                return {Result::failure(tr("The export was cancelled."), exportFailedMessage()), true};
            }
        }
    }
    return {writer->finish(path)};
}

QString exportDoneMessage(const QString& path)
{
    return tr("Done. Book exported.") + QLatin1Char('\n') + path;
}

} // namespace folioneer::publish
