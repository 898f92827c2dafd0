// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "publish/format_writer.h"

#include "support/file_io.h"
#include "support/zip_archive.h"

#include <QDateTime>

namespace folioneer::publish {

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
