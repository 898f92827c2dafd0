// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "prompts/catalogue.h"

#include "project/program_paths.h"
#include "support/file_io.h"
#include "support/lines.h"
#include "support/text_codec.h"
#include "support/trellis.h"

namespace folioneer {

namespace {

const QString kTxt = QStringLiteral(".txt");

} // namespace

QStringList catalogueTitles(const QString& programFolder)
{
    QStringList files;
    ListFolderFiles(programPath(programFolder, paths::kCatalogue), files);
    QStringList titles;
    titles.reserve(files.size());
    for (const QString& file : std::as_const(files)) {
        // Every ".txt" goes, not only the last: "a.txt.txt" is listed as "a".
        titles.append(ReplaceText(CleanName(FileNameOf(file)), kTxt, QString()));
    }
    return titles;
}

QString titleFilePath(const QString& programFolder, const QString& title)
{
    return programPath(programFolder, paths::kCatalogue) + QLatin1Char('/') + title + kTxt;
}

QStringList readCatalogueEntries(const QString& titleFile)
{
    const ResultOf<QByteArray> read = readWholeFile(titleFile);
    if (!read.ok()) {
        return {};
    }
    QStringList entries = splitAtAnyLineEnd(decodeText(read.value()));
    entries.removeAll(QString());
    return entries;
}

QString removeNumbering(const QString& entry)
{
    // One pass per number, from 100 down to 1, each over the whole text. The order has odd but
    // settled effects: "150. " loses only "50. " and "1815. " only "15. ".
    QString text = entry;
    for (int n = 100; n >= 1; --n) {
        text = ReplaceText(text, QString::number(n) + QStringLiteral(". "), QString());
    }
    return text;
}

QString sequelSentence(const QString& title, const QString& idea)
{
    return QLatin1Char('"') + title + QLatin1Char('"') + QStringLiteral(". The sequel describes ") + idea;
}

QString fillTemplate(const QString& templateText, const QString& topic)
{
    return ReplaceText(templateText, QStringLiteral("#TOPIC#"), topic);
}

} // namespace folioneer
