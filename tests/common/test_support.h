// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QDir>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <sys/resource.h>

namespace folioneer::test {

// Helpers every test may use. Each test works in its own temporary folder; nothing is
// written into the source or working tree.

/// The read-only shared material beside the clone (empty when it is not there).
QString sharedDir();

/// True in CI (CI=true), where the shared material must be there: a test that needs it fails
/// instead of skipping.
bool sharedMaterialRequired();

/// The message for a missing shared folder `path`.
QByteArray missingSharedMessage(const QString& path);

/// In a test function: skips the test when the shared folder `path` (for example
/// sharedDir() + "/rtf-corpus") is missing, or fails it in CI.
#define FOLIONEER_REQUIRE_SHARED_FOLDER(path)                                                                \
    do {                                                                                                     \
        const QString folioneerSharedPath = (path);                                                          \
        if (folioneer::test::sharedDir().isEmpty() || !QDir(folioneerSharedPath).exists()) {                 \
            if (folioneer::test::sharedMaterialRequired()) {                                                 \
                QFAIL(folioneer::test::missingSharedMessage(folioneerSharedPath).constData());               \
            }                                                                                                \
            QSKIP(folioneer::test::missingSharedMessage(folioneerSharedPath).constData());                   \
        }                                                                                                    \
    } while (false)

/// A wall-clock budget of `ms` milliseconds scaled for this build and machine: multiplied by
/// FOLIONEER_TIME_FACTOR from the environment, or else by the factor the build was configured
/// with (larger under sanitizers).
qint64 timeBudgetMs(qint64 ms);

/// The project's source folder (for the shipped data files).
QString sourceDir();

/// Writes bytes to a file, creating its folder; fails the test on error (returns false).
bool writeFile(const QString& path, const QByteArray& bytes);

/// The whole content of a file (empty when it cannot be read).
QByteArray readFile(const QString& path);

/// `size` bytes of reproducible binary garbage (the same for the same seed), for feeding to
/// readers as a broken file would.
QByteArray garbage(qsizetype size, quint32 seed);

/// Every file and folder under `folder`, hidden ones and links included, as paths relative to
/// it, sorted. Tests compare two listings to prove that nothing was written elsewhere.
QStringList treeListing(const QString& folder);

/// Limits the size of files this process may write while it lives, standing in for a full
/// disk. SIGXFSZ is ignored meanwhile, so a write past the limit fails with an error instead of
/// ending the process.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit m_old{};
    void (*m_oldHandler)(int) = nullptr;
};

/// A temporary program folder laid out like the real one: "projects/", the three icons, the
/// templates and the catalogue copied from the source tree's data folder.
class TempProgramFolder {
public:
    TempProgramFolder();
    bool isValid() const { return m_dir.isValid(); }
    QString path() const { return m_dir.path(); }
    /// Creates projects/<name> with the given table of contents and main topic (raw bytes).
    QString makeProject(const QString& name, const QByteArray& toc, const QByteArray& mainTopic);

private:
    QTemporaryDir m_dir;
};

} // namespace folioneer::test
