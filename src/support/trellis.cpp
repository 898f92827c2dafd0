// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/trellis.h"

#include "support/file_io.h"
#include "support/text_codec.h"
#include "support/text_holder.h"

#include <QCollator>
#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace folioneer {

QString ReplaceText(const QString& text, const QString& find, const QString& replacement, int mode)
{
    Q_UNUSED(mode);
    if (find.isEmpty()) {
        return text;
    }
    QString result = text;
    result.replace(find, replacement, Qt::CaseSensitive);
    return result;
}

void LoadTextFile(TextHolder& target, const QString& path)
{
    const ResultOf<QByteArray> read = readWholeFile(path);
    if (!read.ok()) {
        return;
    }
    target.setText(decodeText(read.value()));
}

void sortNamesForDisplay(QStringList& names)
{
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    collator.setNumericMode(false);
    std::sort(names.begin(), names.end(), [&collator](const QString& a, const QString& b) {
        const int order = collator.compare(a, b);
        return order != 0 ? order < 0 : a < b;
    });
}

void ListFolderFiles(const QString& folder, QStringList& target)
{
    target.clear();
    const QDir dir(folder);
    if (!dir.exists()) {
        return;
    }
    QStringList names = dir.entryList(QDir::Files | QDir::NoDotAndDotDot, QDir::NoSort);
    sortNamesForDisplay(names);
    for (const QString& name : std::as_const(names)) {
        target.append(dir.filePath(name));
    }
}

QString FileNameOf(const QString& path)
{
    return QFileInfo(path).fileName();
}

QString CleanName(const QString& fileName)
{
    return fileName;
}

void Pause(int count)
{
    Q_UNUSED(count);
}

} // namespace folioneer
