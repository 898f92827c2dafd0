// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "publish/section_reader.h"

#include <QThread>

namespace folioneer::publish {

SectionReader::SectionReader(const Book& book, int workers, Drafter drafter) : m_drafter(std::move(drafter))
{
    for (int c = 0; c < book.chapters.size(); ++c) {
        const BookChapter& chapter = book.chapters.at(c);
        for (int s = 0; s < chapter.sections.size(); ++s) {
            m_sections.append({c, s, &chapter.sections.at(s)});
        }
    }
    if (workers > 0) {
        // A private pool: its threads end with the export, so nothing is left running in a
        // process that forks afterwards.
        m_pool.setMaxThreadCount(workers);
        m_window = 2 * qsizetype(workers);
        m_done.resize(m_sections.size());
    }
}

SectionReader::~SectionReader()
{
    m_pool.clear();
    m_pool.waitForDone();
}

int SectionReader::defaultWorkers()
{
    return std::max(1, QThread::idealThreadCount());
}

SectionReader::Section SectionReader::read(const Place& place) const
{
    Section read;
    read.result = readSectionFlow(*place.content, read.flow);
    if (read.result && m_drafter) {
        read.draft = m_drafter(place.chapter, place.section, read.flow);
    }
    return read;
}

SectionReader::Section SectionReader::next()
{
    const qsizetype index = m_nextToHand++;
    if (m_window == 0) {
        return read(m_sections.at(index));
    }
    QMutexLocker lock(&m_mutex);
    startReads();
    while (!m_done.at(index)) {
        m_ready.wait(&m_mutex);
    }
    Section section = std::move(*m_done[index]);
    m_done[index].reset();
    startReads();
    return section;
}

// Called with the mutex held.
void SectionReader::startReads()
{
    while (m_nextToStart < m_sections.size() && m_nextToStart - m_nextToHand < m_window) {
        const qsizetype index = m_nextToStart++;
        m_pool.start([this, index] {
            Section section = read(m_sections.at(index));
            QMutexLocker lock(&m_mutex);
            m_done[index] = std::move(section);
            m_ready.wakeAll();
        });
    }
}

} // namespace folioneer::publish
