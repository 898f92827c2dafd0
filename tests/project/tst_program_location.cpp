// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "project/program_location.h"

#include "common/test_support.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace folioneer;
using test::readFile;
using test::writeFile;

// Where the program folder is (beside the executable, or per user when installed) and how an
// installed program's folder is created and seeded from the shared data.
class TestProgramLocation : public QObject {
    Q_OBJECT

private slots:
    void init();
    void locate_data();
    void locate();
    void userDataFolder_data();
    void userDataFolder();
    void startsSeedMissingFilesOnly();
    void folderThatCannotBeCreated();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_bin;
};

// Each test gets usr/bin beside usr/share/folioneer holding a template, a catalogue title, an
// icon and an empty folder.
void TestProgramLocation::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_bin = m_dir->path() + QStringLiteral("/usr/bin");
    const QString data = m_dir->path() + QStringLiteral("/usr/share/folioneer");
    QVERIFY(QDir().mkpath(m_bin) && QDir().mkpath(data + QStringLiteral("/empty")));
    QVERIFY(writeFile(data + QStringLiteral("/templates/prompt.txt"), "Write about #TOPIC#\r\n"));
    QVERIFY(writeFile(data + QStringLiteral("/prompts/0/Emma.txt"), "A sequel idea\r\n"));
    QVERIFY(writeFile(data + QStringLiteral("/folder.ico"), QByteArray("\0\0\1\0", 4)));
}

void TestProgramLocation::locate_data()
{
    QTest::addColumn<bool>("projects");   // the executable's folder holds projects/
    QTest::addColumn<bool>("sharedData"); // ../share/folioneer is left in place
    QTest::addColumn<bool>("installed");
    QTest::newRow("portable") << true << false << false;
    QTest::newRow("projects/ wins over shared data") << true << true << false;
    QTest::newRow("installed") << false << true << true;
    QTest::newRow("neither: the executable's folder as always") << false << false << false;
}

void TestProgramLocation::locate()
{
    QFETCH(bool, projects);
    QFETCH(bool, sharedData);
    QFETCH(bool, installed);
    if (projects) {
        QVERIFY(QDir().mkpath(m_bin + QStringLiteral("/projects")));
    }
    if (!sharedData) {
        QVERIFY(QDir(m_dir->path() + QStringLiteral("/usr/share")).removeRecursively());
    }
    const ProgramFolderPlace place = locateProgramFolder(m_bin, QStringLiteral("/home/ann/.local/share"));
    QCOMPARE(place.kind, installed ? ProgramFolderKind::Installed : ProgramFolderKind::Portable);
    QCOMPARE(place.folder, installed ? QStringLiteral("/home/ann/.local/share/Folioneer") : m_bin);
    QCOMPARE(place.dataFolder,
             installed ? m_dir->path() + QStringLiteral("/usr/share/folioneer") : QString());
}

void TestProgramLocation::userDataFolder_data()
{
    QTest::addColumn<QString>("xdgDataHome");
    QTest::addColumn<QString>("expected");
    QTest::newRow("set") << QStringLiteral("/data/ann/") << QStringLiteral("/data/ann");
    QTest::newRow("unset") << QString() << QStringLiteral("/home/ann/.local/share");
    QTest::newRow("relative is ignored")
        << QStringLiteral("data") << QStringLiteral("/home/ann/.local/share");
}

void TestProgramLocation::userDataFolder()
{
    QFETCH(QString, xdgDataHome);
    QFETCH(QString, expected);
    QCOMPARE(folioneer::userDataFolder(xdgDataHome, QStringLiteral("/home/ann")), expected);
}

// The first start copies everything; a later one brings back what the user deleted and keeps
// what the user changed or added.
void TestProgramLocation::startsSeedMissingFilesOnly()
{
    const QString dataHome = m_dir->path() + QStringLiteral("/home/.local/share");
    const QString folder = dataHome + QStringLiteral("/Folioneer");
    qputenv("XDG_DATA_HOME", dataHome.toLocal8Bit());
    ProgramFolder opened = openProgramFolder(m_bin);
    QVERIFY2(opened.status.ok(), qPrintable(opened.status.reason()));
    QCOMPARE(opened.path, folder);
    QCOMPARE(test::treeListing(folder),
             QStringList({QStringLiteral("empty"), QStringLiteral("folder.ico"), QStringLiteral("projects"),
                          QStringLiteral("prompts"), QStringLiteral("prompts/0"),
                          QStringLiteral("prompts/0/Emma.txt"), QStringLiteral("templates"),
                          QStringLiteral("templates/prompt.txt")}));
    QCOMPARE(readFile(folder + QStringLiteral("/folder.ico")), QByteArray("\0\0\1\0", 4));
    QVERIFY(QDir(m_bin).isEmpty());

    QVERIFY(writeFile(folder + QStringLiteral("/templates/prompt.txt"), "My own prompt"));
    QVERIFY(writeFile(folder + QStringLiteral("/projects/Bees/--toc.txt"), "Chapter: One\r\n"));
    QVERIFY(QFile::remove(folder + QStringLiteral("/prompts/0/Emma.txt")));
    opened = openProgramFolder(m_bin);
    QVERIFY2(opened.status.ok(), qPrintable(opened.status.reason()));
    QCOMPARE(readFile(folder + QStringLiteral("/templates/prompt.txt")), QByteArray("My own prompt"));
    QCOMPARE(readFile(folder + QStringLiteral("/projects/Bees/--toc.txt")), QByteArray("Chapter: One\r\n"));
    QCOMPARE(readFile(folder + QStringLiteral("/prompts/0/Emma.txt")), QByteArray("A sequel idea\r\n"));
}

void TestProgramLocation::folderThatCannotBeCreated()
{
    // A regular file where a folder must go stops even root.
    const QString file = m_dir->path() + QStringLiteral("/file");
    QVERIFY(writeFile(file, "x"));
    qputenv("XDG_DATA_HOME", (file + QStringLiteral("/data")).toLocal8Bit());
    const ProgramFolder opened = openProgramFolder(m_bin);
    QCOMPARE(opened.status.reason(), QStringLiteral("The program folder could not be created.\n\n") + file +
                                         QStringLiteral("/data/Folioneer\n\nNot a directory"));
    QCOMPARE(readFile(file), QByteArray("x"));
}

QTEST_GUILESS_MAIN(TestProgramLocation)
#include "tst_program_location.moc"
