// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "publish/book.h"
#include "publish/format_writer.h"
#include "publish/section_flow.h"
#include "support/result.h"

#include <QList>
#include <QMutex>
#include <QThreadPool>
#include <QWaitCondition>

#include <functional>
#include <optional>

namespace folioneer::publish {

// Reads a book's sections into flows on worker threads, a few sections ahead of the writer, has
// each drafted there (the drafter knows the format), and hands them over in reading order, so
// reading the RTF, writing the XML and joining it share the cores. Only a small window of
// sections waits, so memory stays that of a few sections.

class SectionReader {
public:
    /// Drafts a section's content from its flow; called on the thread that read the section.
    using Drafter = std::function<std::shared_ptr<const SectionDraft>(int chapterIndex, int sectionIndex,
                                                                      const Flow& flow)>;

    /// `workers` threads read (and draft) ahead; with 0 every section is read on the calling
    /// thread when it is asked for.
    SectionReader(const Book& book, int workers, Drafter drafter = {});
    /// Waits for the workers; sections read ahead and not taken are dropped.
    ~SectionReader();
    SectionReader(const SectionReader&) = delete;
    SectionReader& operator=(const SectionReader&) = delete;

    struct Section {
        Result result; ///< a content file that cannot be read fails, as readSection says
        Flow flow;
        std::shared_ptr<const SectionDraft> draft; ///< none without a drafter or a draft
    };

    /// The next section in reading order (chapters in order, their sections in order); waits
    /// until it is read. Not to be called more often than the book has sections.
    Section next();

    /// The number of worker threads a machine's export uses: one per core.
    static int defaultWorkers();

private:
    struct Place {
        int chapter;
        int section;
        const BookSection* content;
    };
    Section read(const Place& place) const;
    void startReads();

    QList<Place> m_sections;
    Drafter m_drafter;
    qsizetype m_window = 0; // sections being read or read and waiting, at most
    qsizetype m_nextToStart = 0;
    qsizetype m_nextToHand = 0;
    QMutex m_mutex;
    QWaitCondition m_ready;
    QList<std::optional<Section>> m_done; // by section index, emptied once handed over
    QThreadPool m_pool;
};

} // namespace folioneer::publish
