// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "project/project_files.h"

#include "project/program_paths.h"
#include "project/toc.h"
#include "support/file_io.h"
#include "support/text_codec.h"

#include <QCoreApplication>

namespace folioneer {

namespace {

// The most bytes a table of contents within the limit can take on disk: a BOM, then every
// UTF-16 code unit as up to three UTF-8 bytes (a surrogate pair is two units in four bytes).
constexpr qint64 kMaxTocBytes = 3 + 3 * qint64(kMaxTocCharacters);

QString tr(const char* text)
{
    return QCoreApplication::translate("ProjectFiles", text);
}

} // namespace

ResultOf<QString> readTableOfContents(const QString& projectFolder)
{
    const ResultOf<QByteArray> read = readWholeFile(programPath(projectFolder, paths::kToc), kMaxTocBytes);
    if (!read.ok()) {
        return read.result();
    }
    QString text = decodeText(read.value());
    if (text.size() > kMaxTocCharacters) {
        return ResultOf<QString>::failure(
            tr("The table of contents holds more than %1 characters.").arg(kMaxTocCharacters));
    }
    return text;
}

ResultOf<QString> readMainTopic(const QString& projectFolder)
{
    const ResultOf<QByteArray> read = readWholeFile(programPath(projectFolder, paths::kMainTopic));
    if (!read.ok()) {
        return read.result();
    }
    return decodeText(read.value());
}

} // namespace folioneer
