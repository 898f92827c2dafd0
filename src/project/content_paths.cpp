// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "project/content_paths.h"

#include "project/toc.h"
#include "support/trellis.h"

#include <QFile>

#include <sys/stat.h>

namespace folioneer {

namespace {

const QString kCr = QStringLiteral("\r");
const QString kBlank = QStringLiteral(" ");
const QString kHyphen = QStringLiteral("-");

QString fileNamePart(const QString& title)
{
    QString part = ReplaceText(title.toLower(), kCr, QString());
    part = ReplaceText(part, kBlank, kHyphen);
    // No title may reach into another folder: "/" cannot be part of a file name.
    return ReplaceText(part, QStringLiteral("/"), QString(QChar(kSlashStandIn)));
}

} // namespace

QString ContentFilePath(const QString& projectPath, const QString& chapterTitle, const QString& sectionTitle)
{
    const QString section = fileNamePart(sectionTitle);
    // The chapter is trimmed before its CR is removed, so a blank in front of that CR survives
    // and becomes a trailing "-" ("getting-started----setup.txt").
    const QString chapter = fileNamePart(trimBlanks(chapterTitle));
    const QString fileName = chapter + QStringLiteral("---") + trimBlanks(section) + QStringLiteral(".txt");
    // Only the file name is lower-cased: on a case-sensitive file system the project folder
    // must keep the case the user gave it.
    return projectPath + QLatin1Char('/') + trimBlanks(fileName.toLower());
}

bool ArchivoExiste(const QString& path)
{
    if (path.isEmpty() || path.contains(QChar(0))) {
        return false;
    }
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0) {
        return false;
    }
    return S_ISREG(info.st_mode);
}

} // namespace folioneer
