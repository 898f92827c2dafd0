// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "publish/book.h"
#include "publish/section_flow.h"
#include "support/result.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <functional>
#include <memory>

class QIODevice;
class QXmlStreamWriter;

namespace folioneer {
class ZipWriter;
}

namespace folioneer::publish {

// A section's content as XML, written ahead on a reader thread (FormatWriter::draft()). The
// numbers a writer counts across the whole book (list, picture and link ids, style names) are
// not known there: the draft keeps the places they go, and the writer fills them in, in order,
// when it joins the draft to its file.
class SectionDraft {
public:
    virtual ~SectionDraft() = default;
    struct Slot {
        qsizetype offset; ///< in xml, where the number goes
        int kind;         ///< what is counted, as the writer names it
        int index;        ///< which one of the section's own
    };
    QByteArray xml;
    QList<Slot> placeholders;

    /// Writes the attribute `name` through `writer` (a writer on `xml`) with the value `prefix`,
    /// a slot, then `suffix`. Prefix and suffix hold nothing XML escapes.
    void slotAttribute(QXmlStreamWriter& writer, const QString& name, int kind, int index,
                       const QString& prefix = {}, const QString& suffix = {});
    /// Writes the XML to `device`, in each slot what `fill` gives for it (ASCII).
    void join(QIODevice& device, const std::function<QByteArray(const Slot&)>& fill) const;
};

// What every file-format writer does: it is told the book, then each chapter and each section's
// content in reading order, then writes its file. Nothing reaches the disk before finish(), and
// finish() writes atomically, so a failed or abandoned export leaves no file behind.

class FormatWriter {
public:
    virtual ~FormatWriter() = default;
    /// `path` is where finish() will write the file.
    virtual void begin(const Book& book, const QString& path) = 0;
    virtual void chapter(int chapterIndex) = 0;
    /// Writes ahead what of a section's content it can, on a reader thread while earlier sections
    /// are still being written: it reads the book and the flow, never the writer's own state.
    /// Without a draft (the default) writeSection() writes all of it.
    virtual std::shared_ptr<const SectionDraft> draft(int chapterIndex, int sectionIndex,
                                                      const Flow& flow) const;
    /// The next section in reading order, with the draft draft() made of it (or none).
    virtual void writeSection(int chapterIndex, int sectionIndex, const Flow& flow,
                              const SectionDraft* draft) = 0;
    /// Drafts the section here and writes it.
    void section(int chapterIndex, int sectionIndex, const Flow& flow)
    {
        writeSection(chapterIndex, sectionIndex, flow, draft(chapterIndex, sectionIndex, flow).get());
    }
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
