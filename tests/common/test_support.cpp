// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/test_support.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <csignal>

namespace folioneer::test {

QString sharedDir()
{
    return qEnvironmentVariable("FOLIONEER_SHARED_DIR");
}

bool sharedMaterialRequired()
{
    return qEnvironmentVariable("CI") == QLatin1String("true");
}

QByteArray missingSharedMessage(const QString& path)
{
    const QString where = path.isEmpty() ? QStringLiteral("(FOLIONEER_SHARED_DIR is not set)") : path;
    if (sharedMaterialRequired()) {
        return QStringLiteral("the shared test material %1 is missing; CI needs it: check out ../shared "
                              "beside the clone")
            .arg(where)
            .toUtf8();
    }
    return QStringLiteral("the shared test material %1 is not there").arg(where).toUtf8();
}

qint64 timeBudgetMs(qint64 ms)
{
    for (const char* name : {"FOLIONEER_TIME_FACTOR", "FOLIONEER_CONFIGURED_TIME_FACTOR"}) {
        bool ok = false;
        const double factor = qEnvironmentVariable(name).toDouble(&ok);
        if (ok && factor > 0) {
            return qint64(double(ms) * factor);
        }
    }
    return ms;
}

QString sourceDir()
{
    return qEnvironmentVariable("FOLIONEER_SOURCE_DIR");
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        return false;
    }
    return file.write(bytes) == bytes.size();
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return file.readAll();
}

QByteArray garbage(qsizetype size, quint32 seed)
{
    QRandomGenerator generator(seed);
    QByteArray bytes(size, Qt::Uninitialized);
    for (char& byte : bytes) {
        byte = char(generator.bounded(256));
    }
    return bytes;
}

QStringList treeListing(const QString& folder)
{
    QStringList entries;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        entries.append(it.next().mid(folder.size() + 1));
    }
    entries.sort();
    return entries;
}

FileSizeLimit::FileSizeLimit(rlim_t bytes)
{
    getrlimit(RLIMIT_FSIZE, &m_old);
    m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = m_old;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
}

FileSizeLimit::~FileSizeLimit()
{
    setrlimit(RLIMIT_FSIZE, &m_old);
    std::signal(SIGXFSZ, m_oldHandler);
}

TempProgramFolder::TempProgramFolder()
{
    const QString data = sourceDir() + QStringLiteral("/data");
    QDirIterator it(data, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString from = it.next();
        const QString to = m_dir.path() + from.mid(data.size());
        QDir().mkpath(QFileInfo(to).absolutePath());
        QFile::copy(from, to);
    }
    QDir().mkpath(m_dir.path() + QStringLiteral("/projects"));
}

QString TempProgramFolder::makeProject(const QString& name, const QByteArray& toc,
                                       const QByteArray& mainTopic)
{
    const QString folder = m_dir.path() + QStringLiteral("/projects/") + name;
    QDir().mkpath(folder);
    writeFile(folder + QStringLiteral("/--toc.txt"), toc);
    writeFile(folder + QStringLiteral("/--maintopic.txt"), mainTopic);
    return folder;
}

} // namespace folioneer::test
