// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "rtf/rtf_plain_text_sink.h"

#include <algorithm>
#include <cstdint>

#if defined(Q_OS_LINUX)
#include <sys/mman.h>
#endif

namespace folioneer::rtf {

namespace {

// Buffers from this size on live in memory of their own that the kernel maps page by page on
// first touch; with 4 KB pages that costs far more than copying the text into them.
constexpr qsizetype kLargeBufferChars = 4 * 1024 * 1024;

// Reserves room for `capacity` characters; for a large buffer, asks for huge pages so that
// filling it takes one page fault per 2 MB instead of one per 4 KB.
void reserveText(QString& text, qsizetype capacity)
{
    text.reserve(capacity);
#if defined(Q_OS_LINUX) && defined(MADV_HUGEPAGE)
    if (capacity >= kLargeBufferChars) {
        constexpr std::uintptr_t hugePage = std::uintptr_t(2) * 1024 * 1024;
        std::uintptr_t begin = reinterpret_cast<std::uintptr_t>(text.data() + text.size());
        std::uintptr_t end = reinterpret_cast<std::uintptr_t>(text.data()) +
                             static_cast<std::uintptr_t>(text.capacity()) * sizeof(QChar);
        begin = (begin + hugePage - 1) & ~(hugePage - 1);
        end &= ~(hugePage - 1);
        if (end > begin) {
            // Only advice: without huge pages the text is still written, only more slowly.
            (void)madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
        }
    }
#endif
}

} // namespace

PlainTextSink::PlainTextSink(qsizetype expectedSize, bool listMarkers) : m_listMarkers(listMarkers)
{
    // Markup makes up most of a typical file, so a small document's text starts at a quarter of
    // its size. A large document's text gets room for as many characters as the file has bytes
    // at once: untouched room costs no memory, while growing would copy the text again.
    reserveText(m_text, expectedSize >= kLargeBufferChars ? expectedSize + 16 : expectedSize / 4 + 16);
}

void PlainTextSink::append(QStringView text)
{
    const qsizetype needed = m_text.size() + text.size();
    if (needed > m_text.capacity()) {
        reserveText(m_text, std::max(needed, m_text.capacity() * 2));
    }
    m_text.append(text);
}

void PlainTextSink::text(QStringView text, const CharFormat&)
{
    append(text);
}

void PlainTextSink::lineBreak(const CharFormat&)
{
    append(u"\r\n");
}

void PlainTextSink::listMarker(const ListMarker& marker, const CharFormat&)
{
    if (!m_listMarkers) {
        return;
    }
    append(marker.text);
    append(u"\t");
}

void PlainTextSink::paragraphEnd(const ParagraphFormat&)
{
    append(u"\r\n");
}

void PlainTextSink::finish(const ParagraphFormat&, bool endedWithParagraphMark)
{
    if (endedWithParagraphMark && m_text.endsWith(QLatin1String("\r\n"))) {
        m_text.chop(2);
    }
}

} // namespace folioneer::rtf
