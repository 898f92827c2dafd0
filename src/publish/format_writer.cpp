// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "publish/format_writer.h"

#include "support/file_io.h"
#include "support/zip_archive.h"

#include <QDateTime>
#include <QIODevice>
#include <QXmlStreamWriter>

namespace folioneer::publish {

void SectionDraft::slotAttribute(QXmlStreamWriter& writer, const QString& name, int kind, int index,
                                 const QString& prefix, const QString& suffix)
{
    writer.writeAttribute(name, prefix + suffix);
    // The writer has written the value and its closing quote into xml.
    placeholders.append({xml.size() - 1 - suffix.size(), kind, index});
}

void SectionDraft::join(QIODevice& device, const std::function<QByteArray(const Slot&)>& fill) const
{
    qsizetype done = 0;
    for (const Slot& slot : placeholders) {
        device.write(xml.constData() + done, slot.offset - done);
        device.write(fill(slot));
        done = slot.offset;
    }
    device.write(xml.constData() + done, xml.size() - done);
}

std::shared_ptr<const SectionDraft> FormatWriter::draft(int, int, const Flow&) const
{
    return {};
}

Result writeExportFile(const QString& path, const QByteArray& data)
{
    const Result status = writeFileAtomically(path, data);
    if (!status.ok()) {
        return Result::failure(status.reason(), exportFailedMessage());
    }
    return {};
}

QString w3cDateTimeNow()
{
    return QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ssZ"));
}

Result writeExportArchive(const QString& path, ZipWriter& zip)
{
    const ZipWriter::Archive archive = zip.finish();
    if (!archive.ok()) {
        return Result::failure(archive.error, exportFailedMessage());
    }
    return writeExportFile(path, archive.data);
}

void ListNesting::closeTo(qsizetype depth)
{
    while (m_open.size() > depth) {
        if (m_open.last().itemOpen) {
            m_calls.closeItem();
        }
        m_calls.closeList();
        m_open.removeLast();
    }
}

void ListNesting::item(int level, bool ordered)
{
    closeTo(level);
    if (m_open.size() == level && m_open.last().ordered != ordered) {
        closeTo(level - 1);
    }
    while (m_open.size() < level) {
        // A list nested deeper than its parent item holds it inside an item of its own.
        if (!m_open.isEmpty() && !m_open.last().itemOpen) {
            m_calls.openItem();
            m_open.last().itemOpen = true;
        }
        m_calls.openList(ordered, int(m_open.size()) + 1);
        m_open.append({ordered, false});
    }
    if (m_open.last().itemOpen) {
        m_calls.closeItem();
    }
    m_calls.openItem();
    m_open.last().itemOpen = true;
}

} // namespace folioneer::publish
