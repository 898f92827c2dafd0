// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "project/program_location.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace folioneer;

namespace {

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

} // namespace

// Where the program folder is (portable beside the executable, or per user when installed) and
// how an installed program's folder is created and seeded from the shared data.
class TestProgramLocation : public QObject {
    Q_OBJECT

private slots:
    void init();
    void locate_data();
    void locate();
    void userDataFolder_data();
    void userDataFolder();
    void firstStartSeedsEverything();
    void laterStartsKeepTheUsersFiles();
    void folderThatCannotBeCreated();

private:
    QString installedExecutableFolder();

    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestProgramLocation::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

// usr/bin beside usr/share/folioneer holding a template, a catalogue title, an icon and an
// empty folder.
QString TestProgramLocation::installedExecutableFolder()
{
    const QString usr = m_dir->path() + QStringLiteral("/usr");
    QDir().mkpath(usr + QStringLiteral("/bin"));
    writeFile(usr + QStringLiteral("/share/folioneer/templates/prompt.txt"), "Write about #TOPIC#\r\n");
    writeFile(usr + QStringLiteral("/share/folioneer/prompts/0/Emma.txt"), "A sequel idea\r\n");
    writeFile(usr + QStringLiteral("/share/folioneer/folder.ico"), QByteArray("\0\0\1\0", 4));
    QDir().mkpath(usr + QStringLiteral("/share/folioneer/empty"));
    return usr + QStringLiteral("/bin");
}

void TestProgramLocation::locate_data()
{
    QTest::addColumn<bool>("projects");   // the executable's folder holds projects/
    QTest::addColumn<bool>("sharedData"); // ../share/folioneer exists
    QTest::addColumn<bool>("installed");
    QTest::newRow("portable folder") << true << false << false;
    QTest::newRow("projects/ wins over shared data") << true << true << false;
    QTest::newRow("installed") << false << true << true;
    QTest::newRow("neither: the executable's folder as always") << false << false << false;
}

void TestProgramLocation::locate()
{
    QFETCH(bool, projects);
    QFETCH(bool, sharedData);
    QFETCH(bool, installed);
    const QString bin = m_dir->path() + QStringLiteral("/usr/bin");
    QVERIFY(QDir().mkpath(bin));
    if (projects) {
        QVERIFY(QDir().mkpath(bin + QStringLiteral("/projects")));
    }
    if (sharedData) {
        QVERIFY(QDir().mkpath(m_dir->path() + QStringLiteral("/usr/share/folioneer")));
    }
    const ProgramFolderPlace place = locateProgramFolder(bin, QStringLiteral("/home/ann/.local/share"));
    QCOMPARE(place.kind, installed ? ProgramFolderKind::Installed : ProgramFolderKind::Portable);
    QCOMPARE(place.folder, installed ? QStringLiteral("/home/ann/.local/share/Folioneer") : bin);
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

void TestProgramLocation::firstStartSeedsEverything()
{
    const QString bin = installedExecutableFolder();
    const QString dataHome = m_dir->path() + QStringLiteral("/home/.local/share");
    const ProgramFolderPlace place = locateProgramFolder(bin, dataHome);
    QVERIFY(prepareProgramFolder(place).ok());

    const QString folder = dataHome + QStringLiteral("/Folioneer");
    QVERIFY(QDir(folder + QStringLiteral("/projects")).isEmpty());
    QVERIFY(QDir(folder + QStringLiteral("/empty")).exists());
    QCOMPARE(readFile(folder + QStringLiteral("/templates/prompt.txt")),
             QByteArray("Write about #TOPIC#\r\n"));
    QCOMPARE(readFile(folder + QStringLiteral("/prompts/0/Emma.txt")), QByteArray("A sequel idea\r\n"));
    QCOMPARE(readFile(folder + QStringLiteral("/folder.ico")), QByteArray("\0\0\1\0", 4));
    // Nothing is written beside the executable.
    QCOMPARE(QDir(bin).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
}

void TestProgramLocation::laterStartsKeepTheUsersFiles()
{
    const QString bin = installedExecutableFolder();
    const QString dataHome = m_dir->path() + QStringLiteral("/data");
    const QString folder = dataHome + QStringLiteral("/Folioneer");
    QVERIFY(writeFile(folder + QStringLiteral("/templates/prompt.txt"), "My own prompt"));
    QVERIFY(writeFile(folder + QStringLiteral("/projects/Bees/--toc.txt"), "Chapter: One\r\n"));

    const ProgramFolder opened = [&] {
        qputenv("XDG_DATA_HOME", dataHome.toLocal8Bit());
        return openProgramFolder(bin);
    }();
    QVERIFY2(opened.status.ok(), qPrintable(opened.status.error));
    QCOMPARE(opened.path, folder);
    QCOMPARE(readFile(folder + QStringLiteral("/templates/prompt.txt")), QByteArray("My own prompt"));
    QCOMPARE(readFile(folder + QStringLiteral("/projects/Bees/--toc.txt")), QByteArray("Chapter: One\r\n"));
    QCOMPARE(readFile(folder + QStringLiteral("/prompts/0/Emma.txt")), QByteArray("A sequel idea\r\n"));
}

void TestProgramLocation::folderThatCannotBeCreated()
{
    // A regular file where a folder must go stops even root.
    const QString bin = installedExecutableFolder();
    const QString file = m_dir->path() + QStringLiteral("/file");
    QVERIFY(writeFile(file, "x"));
    qputenv("XDG_DATA_HOME", (file + QStringLiteral("/data")).toLocal8Bit());
    const ProgramFolder opened = openProgramFolder(bin);
    QCOMPARE(opened.path, file + QStringLiteral("/data/Folioneer"));
    QCOMPARE(opened.status.error, QStringLiteral("The program folder could not be created.\n\n") + file +
                                      QStringLiteral("/data/Folioneer\n\nNot a directory"));
    QCOMPARE(readFile(file), QByteArray("x"));
}

QTEST_GUILESS_MAIN(TestProgramLocation)
#include "tst_program_location.moc"
