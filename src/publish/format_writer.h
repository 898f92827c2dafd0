// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "publish/book.h"
#include "publish/section_flow.h"
#include "support/result.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <memory>

namespace folioneer {
class ZipWriter;
}

namespace folioneer::publish {

// What every file-format writer does: it is told the book, then each chapter and each section's
// content in reading order, then writes its file. Nothing reaches the disk before finish(), and
// finish() writes atomically, so a failed or abandoned export leaves no file behind.

class FormatWriter {
public:
    virtual ~FormatWriter() = default;
    /// `path` is where finish() will write the file.
    virtual void begin(const Book& book, const QString& path) = 0;
    virtual void chapter(int chapterIndex) = 0;
    virtual void section(int chapterIndex, int sectionIndex, const Flow& flow) = 0;
    /// Writes the file at `path` (and whatever belongs to it) atomically.
    virtual Result finish(const QString& path) = 0;
};

std::unique_ptr<FormatWriter> makeHtmlWriter();
std::unique_ptr<FormatWriter> makeEpubWriter();
std::unique_ptr<FormatWriter> makeDocxWriter();
std::unique_ptr<FormatWriter> makeOdtWriter();
std::unique_ptr<FormatWriter> makeMarkdownWriter();

/// Writes `data` to `path` atomically (each chunk reaches the step hook); a failure carries
/// the export's message and the system's reason.
Result writeExportFile(const QString& path, const QByteArray& data);

/// Finishes `zip` and writes the archive to `path` as writeExportFile does.
Result writeExportArchive(const QString& path, ZipWriter& zip);

/// The present moment in UTC as W3C date-time ("2026-12-07T18:52:00Z"), the form both the DOCX
/// properties and the EPUB package's modified date take.
QString w3cDateTimeNow();

/// The level a heading inside a section's content takes in the book: two below its own, so
/// chapters and sections stay above it, at most `deepest`.
inline int contentHeadingLevel(int level, int deepest)
{
    return std::min(level + 2, deepest);
}

/// Opens and closes nested lists around list items, for formats that nest list elements.
class ListNesting {
public:
    struct Calls {
        std::function<void(bool ordered, int level)> openList;
        std::function<void()> closeList;
        std::function<void()> openItem;
        std::function<void()> closeItem;
    };
    explicit ListNesting(Calls calls) : m_calls(std::move(calls)) {}

    /// Before a list item of depth `level` (1..): closes deeper lists, opens missing ones.
    void item(int level, bool ordered);
    /// Before anything that is not a list item: closes every open list.
    void closeAll() { closeTo(0); }
    bool isOpen() const { return !m_open.isEmpty(); }

private:
    struct Open {
        bool ordered;
        bool itemOpen;
    };
    void closeTo(qsizetype depth);
    Calls m_calls;
    QList<Open> m_open;
};

} // namespace folioneer::publish
