// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "project/book_backup.h"

#include "common/test_support.h"
#include "support/zip_archive.h"

#include <QDir>
#include <QFile>
#include <QTest>
#include <QtEndian>

#include <sys/time.h>
#include <ctime>

using namespace folioneer;
using namespace folioneer::test;

namespace {

// A program folder with the book "Book": its two text files, content files whose names hold a
// colon, a backslash and non-ASCII letters, binary bytes, hidden folders (one of them empty), and
// two links out of the project that a backup must leave out.
struct BookFixture {
    QTemporaryDir dir;
    QTemporaryDir outside;
    QString program() const { return dir.path(); }
    QString projects() const { return dir.path() + QStringLiteral("/projects"); }
    QString book() const { return projects() + QStringLiteral("/Book"); }

    BookFixture()
    {
        QTEST_ASSERT(QDir().mkpath(book() + QStringLiteral("/.empty")));
        const QList<std::pair<QString, QByteArray>> files{
            {QStringLiteral("--toc.txt"), "Chapter: 1: Basics\r\nSubchapter: In\\Out\r\n"},
            {QStringLiteral("--maintopic.txt"), "Topic\r\n"},
            {QStringLiteral("1:-basics---in\\out.txt"), "{\\rtf1 text}"},
            {QString::fromUtf8("über---straße.txt"), garbage(70000, 7)},
            {QStringLiteral(".history/1:-basics---in\\out/0001.rtf"), "{\\rtf1 old}"},
            {QStringLiteral(".trash/item/text.rtf"), "{\\rtf1 gone}"},
            {QStringLiteral(".trash/item/info.json"), "{}"},
            {QStringLiteral(".journal"), ""},
        };
        for (const auto& [name, bytes] : files) {
            QTEST_ASSERT(writeFile(book() + QLatin1Char('/') + name, bytes));
        }
        QTEST_ASSERT(writeFile(outside.path() + QStringLiteral("/secret.txt"), "secret"));
        QTEST_ASSERT(QFile::link(outside.path() + QStringLiteral("/secret.txt"),
                                 book() + QStringLiteral("/link.txt")));
        QTEST_ASSERT(QFile::link(outside.path(), book() + QStringLiteral("/.linked-folder")));
    }
};

qsizetype headerOf(const QByteArray& zip, const QByteArray& signature, int nameAt, const QByteArray& name)
{
    for (qsizetype at = 0; (at = zip.indexOf(signature, at)) >= 0; at += 4) {
        const quint16 length = qFromLittleEndian<quint16>(zip.constData() + at + (nameAt == 30 ? 26 : 28));
        if (zip.mid(at + nameAt, length) == name) {
            return at;
        }
    }
    return -1;
}

// Rewrites the uncompressed size the archive declares for `name`, in both of its headers.
void declareSize(QByteArray& zip, const QByteArray& name, quint32 size)
{
    const qsizetype local = headerOf(zip, "PK\x03\x04", 30, name);
    const qsizetype central = headerOf(zip, "PK\x01\x02", 46, name);
    QTEST_ASSERT(local >= 0 && central >= 0);
    qToLittleEndian<quint32>(size, zip.data() + local + 22);
    qToLittleEndian<quint32>(size, zip.data() + central + 24);
}

// Marks the entry `name` as a symbolic link made on Unix.
void markAsLink(QByteArray& zip, const QByteArray& name)
{
    const qsizetype central = headerOf(zip, "PK\x01\x02", 46, name);
    QTEST_ASSERT(central >= 0);
    zip[central + 5] = 3;
    qToLittleEndian<quint32>(quint32(0120777) << 16, zip.data() + central + 38);
}

QStringList withoutLinks(QStringList listing)
{
    listing.removeAll(QStringLiteral("link.txt"));
    listing.removeAll(QStringLiteral(".linked-folder"));
    return listing;
}

} // namespace

class tst_BookBackup : public QObject {
    Q_OBJECT

private slots:
    void roundTripKeepsEveryByte();
    void zipOfAProjectFolderFromAnotherTool();
    void hostileArchivesAreRefused_data();
    void hostileArchivesAreRefused();
    void namesAreRefused_data();
    void namesAreRefused();
    void failedRestoreLeavesNothing();
    void deleteLeavesABackup_data();
    void deleteLeavesABackup();
    void deletedBooksNewestFirst();
};

void tst_BookBackup::roundTripKeepsEveryByte()
{
    BookFixture f;
    const QString zip = f.dir.filePath(QStringLiteral("book.zip"));
    QVERIFY(writeFile(zip, "an older backup"));
    const Result backup = backupProject(f.program(), QStringLiteral("Book"), zip);
    QVERIFY2(backup.ok(), qPrintable(backup.text()));
    QCOMPARE(QDir(f.dir.path()).entryList({QStringLiteral("*.zip*")}, QDir::Files | QDir::Hidden),
             QStringList{QStringLiteral("book.zip")});

    const Result restore = restoreProject(f.program(), zip, QStringLiteral("Copy"));
    QVERIFY2(restore.ok(), qPrintable(restore.text()));
    const QString copy = f.projects() + QStringLiteral("/Copy");
    const QStringList listing = treeListing(copy);
    QCOMPARE(listing, withoutLinks(treeListing(f.book())));
    QVERIFY(listing.contains(QStringLiteral(".empty")));
    for (const QString& name : listing) {
        QCOMPARE(QFileInfo(copy + QLatin1Char('/') + name).isDir(),
                 QFileInfo(f.book() + QLatin1Char('/') + name).isDir());
        QCOMPARE(readFile(copy + QLatin1Char('/') + name), readFile(f.book() + QLatin1Char('/') + name));
    }
    // No temporary folder is left in the projects folder.
    QCOMPARE(QDir(f.projects()).entryList(QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot),
             (QStringList{QStringLiteral("Book"), QStringLiteral("Copy")}));
}

void tst_BookBackup::zipOfAProjectFolderFromAnotherTool()
{
    QTemporaryDir dir;
    QVERIFY(QDir().mkpath(dir.filePath(QStringLiteral("projects"))));
    ZipWriter writer;
    writer.add(QStringLiteral("Book/"), {});
    writer.add(QStringLiteral("Book/--toc.txt"), "Chapter: A\r\n");
    writer.add(QStringLiteral("Book/.history/a.rtf"), "old");
    const QString zip = dir.filePath(QStringLiteral("Book.zip"));
    QVERIFY(writeFile(zip, writer.finish().data));
    const Result restore = restoreProject(dir.path(), zip, QStringLiteral("Restored"));
    QVERIFY2(restore.ok(), qPrintable(restore.text()));
    QCOMPARE(treeListing(dir.filePath(QStringLiteral("projects/Restored"))),
             (QStringList{QStringLiteral("--toc.txt"), QStringLiteral(".history"),
                          QStringLiteral(".history/a.rtf")}));
}

void tst_BookBackup::hostileArchivesAreRefused_data()
{
    QTest::addColumn<QString>("entry"); // the hostile entry beside a table of contents
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("reason");
    QTest::newRow("parent folder") << "../escaped.txt"
                                   << "plain"
                                   << "outside the book's folder";
    QTest::newRow("parent folder deeper") << "a/../../escaped.txt"
                                          << "plain"
                                          << "outside the book's folder";
    QTest::newRow("absolute path") << "ABSOLUTE"
                                   << "plain"
                                   << "outside the book's folder";
    QTest::newRow("symbolic link") << "link"
                                   << "link"
                                   << "holds a link";
    QTest::newRow("bomb: 100 MB of zeros declared as 1 KB") << "zeros.rtf"
                                                            << "bomb"
                                                            << "more than it declares";
    QTest::newRow("declares more than the cap") << "huge.rtf"
                                                << "huge"
                                                << "more than 2 GB";
    QTest::newRow("no table of contents") << ""
                                          << "plain"
                                          << "no table of contents";
    QTest::newRow("not a zip") << ""
                               << "garbage"
                               << "not a zip file";
}

void tst_BookBackup::hostileArchivesAreRefused()
{
    QFETCH(QString, entry);
    QFETCH(QString, kind);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    QVERIFY(QDir().mkpath(dir.filePath(QStringLiteral("projects/Kept"))));
    QVERIFY(QDir().mkpath(dir.filePath(QStringLiteral("projects/x"))));
    const QString absolute = dir.filePath(QStringLiteral("absolute.txt"));
    entry.replace(QStringLiteral("ABSOLUTE"), absolute);

    ZipWriter writer;
    if (!entry.isEmpty()) {
        writer.add(QStringLiteral("--toc.txt"), "Chapter: A\r\n");
    }
    QByteArray data = "escaped";
    if (kind == QLatin1String("bomb")) {
        data = QByteArray(100 << 20, '\0');
    } else if (kind == QLatin1String("huge")) {
        data = QByteArray(1 << 20, '\0');
    }
    if (!entry.isEmpty()) {
        writer.add(entry, data);
    }
    QByteArray zip = writer.finish().data;
    data.clear();
    if (kind == QLatin1String("bomb")) {
        declareSize(zip, entry.toUtf8(), 1024);
    } else if (kind == QLatin1String("huge")) {
        // Three entries of about 4 GB each, declared; the bytes are never unpacked.
        declareSize(zip, entry.toUtf8(), 0xFFFFFF00u);
    } else if (kind == QLatin1String("link")) {
        markAsLink(zip, entry.toUtf8());
    } else if (kind == QLatin1String("garbage")) {
        zip = garbage(4096, 3);
    }
    const QString zipPath = dir.filePath(QStringLiteral("hostile.zip"));
    QVERIFY(writeFile(zipPath, zip));
    const QStringList before = treeListing(dir.path());

    const Result restore = restoreProject(dir.path(), zipPath, QStringLiteral("Restored"));
    QVERIFY(!restore.ok());
    QCOMPARE(restore.message(), QStringLiteral("The book could not be restored."));
    QVERIFY2(restore.reason().contains(reason), qPrintable(restore.reason()));
    // Nothing written anywhere: no project, no temporary folder, nothing beside the program folder.
    QCOMPARE(treeListing(dir.path()), before);
    QVERIFY(!QFileInfo::exists(dir.filePath(QStringLiteral("escaped.txt"))));
    QVERIFY(!QFileInfo::exists(absolute));
}

void tst_BookBackup::namesAreRefused_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("reason");
    QTest::newRow("existing project") << "Book"
                                      << "There is already a project named \"Book\".";
    QTest::newRow("existing file") << "notes.txt"
                                   << "There is already a project named \"notes.txt\".";
    QTest::newRow("link of that name") << "dangling"
                                       << "There is already a project named \"dangling\".";
    QTest::newRow("empty") << ""
                           << "\"\" cannot name a project.";
    QTest::newRow("hidden") << ".hidden"
                            << "\".hidden\" cannot name a project.";
    QTest::newRow("sub-folder") << "Book/inner"
                                << "\"Book/inner\" cannot name a project.";
    QTest::newRow("parent") << ".."
                            << "\"..\" cannot name a project.";
    QTest::newRow("forbidden character") << "a:b"
                                         << "\"a:b\" cannot name a project.";
}

void tst_BookBackup::namesAreRefused()
{
    QFETCH(QString, name);
    QFETCH(QString, reason);
    BookFixture f;
    QVERIFY(writeFile(f.projects() + QStringLiteral("/notes.txt"), "n"));
    QVERIFY(
        QFile::link(f.dir.filePath(QStringLiteral("nowhere")), f.projects() + QStringLiteral("/dangling")));
    const QString zip = f.dir.filePath(QStringLiteral("book.zip"));
    QVERIFY(backupProject(f.program(), QStringLiteral("Book"), zip).ok());
    const QStringList before = treeListing(f.program());

    QCOMPARE(checkRestoreName(f.program(), name).reason(), reason);
    const Result restore = restoreProject(f.program(), zip, name);
    QCOMPARE(restore.text(), QStringLiteral("The book could not be restored.\n") + reason);
    QCOMPARE(treeListing(f.program()), before);
}

void tst_BookBackup::failedRestoreLeavesNothing()
{
    QTemporaryDir dir;
    QVERIFY(QDir().mkpath(dir.filePath(QStringLiteral("projects"))));
    ZipWriter writer;
    writer.add(QStringLiteral("--toc.txt"), "Chapter: A\r\n");
    writer.add(QStringLiteral("a/b/large.rtf"), garbage(300 * 1024, 1));
    const QString zip = dir.filePath(QStringLiteral("book.zip"));
    QVERIFY(writeFile(zip, writer.finish().data));
    Result restore;
    {
        const FileSizeLimit limit(100 * 1024); // a full disk half-way through
        restore = restoreProject(dir.path(), zip, QStringLiteral("Book"));
    }
    QVERIFY(!restore.ok());
    QVERIFY(!restore.reason().isEmpty());
    QCOMPARE(treeListing(dir.filePath(QStringLiteral("projects"))), QStringList{});

    // What a killed restore leaves: an unpacking folder untouched for two hours goes at the next
    // restore, one of a restore that may still be running stays.
    const QString stale = dir.filePath(QStringLiteral("projects/.restore-old"));
    const QString fresh = dir.filePath(QStringLiteral("projects/.restore-new"));
    QVERIFY(writeFile(stale + QStringLiteral("/--toc.txt"), "Chapter: A\r\n"));
    QVERIFY(QDir().mkpath(fresh));
    const timeval twoHoursAgo[2] = {{time(nullptr) - 7200, 0}, {time(nullptr) - 7200, 0}};
    QCOMPARE(utimes(QFile::encodeName(stale).constData(), twoHoursAgo), 0);
    QVERIFY2(restoreProject(dir.path(), zip, QStringLiteral("Book")).ok(), "the retry succeeds");
    QVERIFY(!QFileInfo::exists(stale));
    QVERIFY(QFileInfo(fresh).isDir());
}

void tst_BookBackup::deleteLeavesABackup_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("reason"); // empty: the delete succeeds
    QTest::newRow("backed up, then deleted") << ""
                                             << "";
    QTest::newRow("a backup of the same second") << "same second"
                                                 << "";
    QTest::newRow("a file in the way of backups") << "file in the way"
                                                  << "could not be created";
    QTest::newRow("file-size limit as a full disk") << "file-size limit"
                                                    << "File too large";
}

void tst_BookBackup::deleteLeavesABackup()
{
    QFETCH(QString, fault);
    QFETCH(QString, reason);
    BookFixture f;
    const QString backups = f.program() + QStringLiteral("/backups");
    const QDateTime now(QDate(2026, 3, 4), QTime(5, 6, 7));
    if (fault == QLatin1String("same second")) {
        QVERIFY(writeFile(backups + QStringLiteral("/Book 2026-03-04 05-06-07.zip"), "earlier"));
    } else if (fault == QLatin1String("file in the way")) {
        QVERIFY(writeFile(backups, "not a folder"));
    }
    const QStringList bookBefore = treeListing(f.book());
    const QStringList backupsBefore = treeListing(backups);

    DeleteProjectResult result;
    {
        std::unique_ptr<FileSizeLimit> limit;
        if (fault == QLatin1String("file-size limit")) {
            limit = std::make_unique<FileSizeLimit>(20 * 1024);
        }
        result = deleteProjectWithBackup(f.program(), QStringLiteral("Book"), now);
    }

    if (!reason.isEmpty()) {
        QCOMPARE(int(result.outcome), int(DeleteProjectOutcome::NotBackedUp));
        QCOMPARE(result.backup.message(),
                 QStringLiteral("The project could not be backed up, so it was not deleted."));
        QVERIFY2(result.backup.reason().contains(reason), qPrintable(result.backup.reason()));
        QCOMPARE(treeListing(f.book()), bookBefore);
        QCOMPARE(treeListing(backups), backupsBefore); // no partial zip left
        return;
    }
    QCOMPARE(int(result.outcome), int(DeleteProjectOutcome::Deleted));
    QVERIFY(!QFileInfo::exists(f.book()));
    QCOMPARE(result.backupPath,
             backups + (fault.isEmpty() ? QStringLiteral("/Book 2026-03-04 05-06-07.zip")
                                        : QStringLiteral("/Book 2026-03-04 05-06-07 (2).zip")));
    QVERIFY(restoreProject(f.program(), result.backupPath, QStringLiteral("Book")).ok());
    QCOMPARE(treeListing(f.book()), withoutLinks(bookBefore));
}

void tst_BookBackup::deletedBooksNewestFirst()
{
    QTemporaryDir dir;
    const QString backups = dir.filePath(QStringLiteral("backups/"));
    QVERIFY(writeFile(backups + QStringLiteral("Old Book 2025-01-02 03-04-05.zip"), "z"));
    QVERIFY(writeFile(backups + QStringLiteral("New 2026-01-02 03-04-05 (2).zip"), "z"));
    QVERIFY(writeFile(backups + QStringLiteral("notes.txt"), "not a backup"));
    const QList<DeletedBook> books = deletedBooks(dir.path());
    QCOMPARE(books.size(), 2);
    QCOMPARE(books[0].name, QStringLiteral("New"));
    QCOMPARE(books[0].time, QDateTime(QDate(2026, 1, 2), QTime(3, 4, 5)));
    QCOMPARE(books[0].path, backups + QStringLiteral("New 2026-01-02 03-04-05 (2).zip"));
    QCOMPARE(books[1].name, QStringLiteral("Old Book"));
    QVERIFY(deletedBooks(dir.filePath(QStringLiteral("missing"))).isEmpty());
}

QTEST_GUILESS_MAIN(tst_BookBackup)
#include "tst_book_backup.moc"
