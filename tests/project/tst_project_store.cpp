// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "project/project_store.h"

#include "common/test_support.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <unistd.h>

using namespace folioneer;
using folioneer::test::FileSizeLimit;

namespace {

bool makeReadOnly(const QString& path)
{
    return QFile::setPermissions(path,
                                 QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther);
}

QStringList allEntries(const QString& folder)
{
    QStringList names;
    QDir dir(folder);
    for (const QFileInfo& info : dir.entryInfoList(
             QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name)) {
        names.append(info.fileName());
        if (info.isDir() && !info.isSymLink()) {
            for (const QString& inner : allEntries(info.filePath())) {
                names.append(info.fileName() + QLatin1Char('/') + inner);
            }
        }
    }
    return names;
}

} // namespace

class tst_ProjectStore : public QObject {
    Q_OBJECT

private slots:
    void projectNames_data();
    void projectNames();
    void listProjects();
    void createFolder_data();
    void createFolder();
    void createProjectOutcomes_data();
    void createProjectOutcomes();
    void projectFileBytes_data();
    void projectFileBytes();
    void mainTopicWrittenFirst();
    void failedWriteLeavesNoFolder_data();
    void failedWriteLeavesNoFolder();
    void deleteNestedTree();
    void deleteStopsAtReadOnlyFile();
    void deleteStopsInsideSubFolder();
    void deleteNeverFollowsLinks_data();
    void deleteNeverFollowsLinks();
    void deleteFailsForMissingOrFile();
};

void tst_ProjectStore::projectNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("valid");

    QTest::newRow("plain") << "Book" << true;
    QTest::newRow("blanks inside") << "My First Book" << true;
    QTest::newRow("non-ASCII") << QString::fromUtf8("Jard\u00edn") << true;
    QTest::newRow("sub-folder") << "a/b" << true;
    QTest::newRow("hyphen and dot inside") << "v1.2-draft" << true;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("dot") << "." << false;
    QTest::newRow("dot dot") << ".." << false;
    QTest::newRow("hidden") << ".book" << false;
    QTest::newRow("up and out") << "../x" << false;
    QTest::newRow("up to projects") << "a/.." << false;
    QTest::newRow("up twice") << "a/../../x" << false;
    QTest::newRow("dot piece") << "a/./b" << false;
    QTest::newRow("hidden piece") << "a/.b" << false;
    QTest::newRow("trailing slash") << "a/" << false;
    QTest::newRow("leading slash") << "/a" << false;
    QTest::newRow("double slash") << "a//b" << false;
    QTest::newRow("ends with blank") << "Book " << false;
    QTest::newRow("piece ends with blank") << "a /b" << false;
    QTest::newRow("ends with dot") << "Book." << false;
    QTest::newRow("less than") << "a<b" << false;
    QTest::newRow("greater than") << "a>b" << false;
    QTest::newRow("colon") << "a:b" << false;
    QTest::newRow("quotation mark") << "a\"b" << false;
    QTest::newRow("bar") << "a|b" << false;
    QTest::newRow("question mark") << "a?b" << false;
    QTest::newRow("star") << "a*b" << false;
    QTest::newRow("backslash") << "a\\b" << false;
    QTest::newRow("tab") << "a\tb" << false;
    QTest::newRow("line feed") << "a\nb" << false;
    QTest::newRow("control character") << "a\x01b" << false;
    QTest::newRow("escape sequence") << "a\x1b[2Jb" << false;
    QTest::newRow("delete character") << "a\x7f" << false;
    QTest::newRow("NUL") << QString("a") + QChar(0) << false;
}

void tst_ProjectStore::projectNames()
{
    QFETCH(QString, name);
    QFETCH(bool, valid);
    QCOMPARE(isValidProjectName(name), valid);
}

void tst_ProjectStore::listProjects()
{
    QTemporaryDir dir;
    // No projects folder at all: nothing listed, and no name can be created.
    QCOMPARE(folioneer::listProjects(dir.path()), QStringList{});
    QCOMPARE(int(createProject(dir.path(), "Book", "T", "Chapter: A").outcome),
             int(CreateProjectOutcome::InvalidName));
    QVERIFY(!QFileInfo::exists(dir.filePath("projects")));
    QDir projects(dir.path());
    QVERIFY(projects.mkdir("projects") && projects.cd("projects"));
    for (const char* name : {"b", "a", "C", "A", ".hidden"}) {
        QVERIFY(projects.mkdir(name));
    }
    QVERIFY(test::writeFile(projects.filePath("a file"), "x"));
    QCOMPARE(folioneer::listProjects(dir.path()), (QStringList{"A", "a", "b", "C"}));
}

void tst_ProjectStore::createFolder_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("result");
    QTest::addColumn<bool>("isFolderAfter");

    QTest::newRow("new") << "new" << int(CreateFolderResult::Creada) << true;
    QTest::newRow("existing folder") << "folder" << int(CreateFolderResult::Existe) << true;
    QTest::newRow("existing file") << "file" << int(CreateFolderResult::Existe) << false;
    QTest::newRow("link to folder") << "link" << int(CreateFolderResult::Existe) << true;
    QTest::newRow("dangling link") << "dangling" << int(CreateFolderResult::Existe) << false;
    QTest::newRow("sub-folder of existing") << "folder/sub" << int(CreateFolderResult::Creada) << true;
    QTest::newRow("missing parent") << "missing/sub" << int(CreateFolderResult::Error) << false;
    QTest::newRow("under a file") << "file/sub" << int(CreateFolderResult::Error) << false;
    QTest::newRow("name too long") << QString(300, QLatin1Char('n')) << int(CreateFolderResult::Error)
                                   << false;
}

void tst_ProjectStore::createFolder()
{
    QFETCH(QString, name);
    QFETCH(int, result);
    QFETCH(bool, isFolderAfter);
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir("folder"));
    QVERIFY(test::writeFile(dir.filePath("file"), "x"));
    QVERIFY(QFile::link(dir.filePath("folder"), dir.filePath("link")));
    QVERIFY(QFile::link(dir.filePath("nowhere"), dir.filePath("dangling")));
    const QString path = dir.path() + QLatin1Char('/') + name;
    QCOMPARE(int(CreateProjectFolder(path)), result);
    QCOMPARE(QFileInfo(path).isDir(), isFolderAfter);
    QVERIFY(!QFileInfo::exists(dir.filePath("missing")));
}

void tst_ProjectStore::createProjectOutcomes_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("outcome");

    QTest::newRow("new") << "New Book" << int(CreateProjectOutcome::Created);
    QTest::newRow("taken by folder") << "Old" << int(CreateProjectOutcome::NameTaken);
    QTest::newRow("taken by file") << "loose file" << int(CreateProjectOutcome::NameTaken);
    QTest::newRow("taken by link") << "link" << int(CreateProjectOutcome::NameTaken);
    QTest::newRow("inside existing project") << "Old/Part Two" << int(CreateProjectOutcome::Created);
    QTest::newRow("inside missing project") << "Nope/Part Two" << int(CreateProjectOutcome::InvalidName);
    QTest::newRow("escaping") << "../x" << int(CreateProjectOutcome::InvalidName);
    QTest::newRow("projects folder itself") << "Old/.." << int(CreateProjectOutcome::InvalidName);
    QTest::newRow("forbidden character") << "a|b" << int(CreateProjectOutcome::InvalidName);
    QTest::newRow("name of 300 characters") << QString(300, u'n') << int(CreateProjectOutcome::InvalidName);
    QTest::newRow("sub-folder of 300 characters")
        << QStringLiteral("Old/") + QString(300, u'n') << int(CreateProjectOutcome::InvalidName);
}

void tst_ProjectStore::createProjectOutcomes()
{
    QFETCH(QString, name);
    QFETCH(int, outcome);
    QTemporaryDir dir;
    const QString projects = dir.filePath("projects");
    QVERIFY(QDir().mkpath(projects + "/Old"));
    QVERIFY(test::writeFile(projects + "/Old/--toc.txt", "old toc"));
    QVERIFY(test::writeFile(projects + "/loose file", "x"));
    QVERIFY(QFile::link(dir.filePath("elsewhere"), projects + "/link"));
    const QStringList before = allEntries(dir.path());

    const CreateProjectResult result = createProject(dir.path(), name, "Topic", "Chapter: A");
    QCOMPARE(int(result.outcome), outcome);
    QCOMPARE(result.folderPath, projects + QLatin1Char('/') + name);
    QCOMPARE(test::readFile(projects + "/Old/--toc.txt"), QByteArray("old toc"));
    if (outcome == int(CreateProjectOutcome::Created)) {
        QCOMPARE(test::readFile(result.folderPath + "/--toc.txt"), QByteArray("Chapter: A\r\n"));
    } else {
        QCOMPARE(allEntries(dir.path()), before);
    }
}

void tst_ProjectStore::projectFileBytes_data()
{
    QTest::addColumn<QString>("topic");
    QTest::addColumn<QString>("toc");
    QTest::addColumn<QByteArray>("topicBytes");
    QTest::addColumn<QByteArray>("tocBytes");

    QTest::newRow("CR LF kept, one CR LF added")
        << "Gardening"
        << "Chapter: A\r\nSubchapter: B" << QByteArray("Gardening\r\n")
        << QByteArray("Chapter: A\r\nSubchapter: B\r\n");
    QTest::newRow("LF becomes CR LF")
        << "T"
        << "Chapter: A\nSubchapter: B\n"
        << QByteArray("T\r\n") << QByteArray("Chapter: A\r\nSubchapter: B\r\n\r\n");
    QTest::newRow("lone CR becomes CR LF") << "T"
                                           << "a\rb" << QByteArray("T\r\n") << QByteArray("a\r\nb\r\n");
    QTest::newRow("blanks kept") << " "
                                 << "  " << QByteArray(" \r\n") << QByteArray("  \r\n");
    QTest::newRow("UTF-8 without BOM")
        << QString::fromUtf8("Jard\u00edn \u20ac") << QString::fromUtf8("Chapter: \u00c9t\u00e9")
        << QByteArray("Jard\xC3\xADn \xE2\x82\xAC\r\n") << QByteArray("Chapter: \xC3\x89t\xC3\xA9\r\n");
}

void tst_ProjectStore::projectFileBytes()
{
    QFETCH(QString, topic);
    QFETCH(QString, toc);
    QFETCH(QByteArray, topicBytes);
    QFETCH(QByteArray, tocBytes);
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir("projects"));
    const CreateProjectResult result = createProject(dir.path(), "P", topic, toc);
    QCOMPARE(int(result.outcome), int(CreateProjectOutcome::Created));
    QCOMPARE(test::readFile(result.folderPath + "/--maintopic.txt"), topicBytes);
    QCOMPARE(test::readFile(result.folderPath + "/--toc.txt"), tocBytes);
    QCOMPARE(QDir(result.folderPath).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).size(),
             2);
}

void tst_ProjectStore::mainTopicWrittenFirst()
{
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir("--toc.txt")); // a folder in the way makes the second write fail
    const Result written = writeProjectFiles(dir.path(), "Topic", "Chapter: A");
    QVERIFY(!written.ok());
    QVERIFY(!written.reason().isEmpty());
    QCOMPARE(test::readFile(dir.filePath("--maintopic.txt")), QByteArray("Topic\r\n"));
}

void tst_ProjectStore::failedWriteLeavesNoFolder_data()
{
    QTest::addColumn<int>("topicSize");
    QTest::addColumn<int>("tocSize");
    QTest::newRow("table of contents too large") << 10 << 5000;
    QTest::newRow("main topic too large") << 5000 << 10;
}

void tst_ProjectStore::failedWriteLeavesNoFolder()
{
    QFETCH(int, topicSize);
    QFETCH(int, tocSize);
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir("projects"));
    CreateProjectResult result;
    {
        const FileSizeLimit limit(1000);
        result = createProject(dir.path(), "P", QString(topicSize, QLatin1Char('t')),
                               QString(tocSize, QLatin1Char('c')));
    }
    QCOMPARE(int(result.outcome), int(CreateProjectOutcome::WriteFailed));
    QVERIFY(!result.result.ok());
    QVERIFY(!result.result.reason().isEmpty());
    QCOMPARE(allEntries(dir.filePath("projects")), QStringList{});
}

void tst_ProjectStore::deleteNestedTree()
{
    QTemporaryDir dir;
    const QString project = dir.filePath("projects/Book");
    for (const char* file : {"--toc.txt", ".hidden", "a/one.txt", "a/.dot", "a/x/deep.txt", "a/y/deep.txt",
                             "b/two.txt", "b/z/deep.txt", "b/z/.dot"}) {
        QVERIFY(test::writeFile(project + QLatin1Char('/') + file, "x"));
    }
    QVERIFY(QDir().mkpath(project + "/c/empty"));
    QVERIFY(DeleteFolderTree(project));
    QVERIFY(!QFileInfo::exists(project));
    QVERIFY(QFileInfo(dir.filePath("projects")).isDir());
}

void tst_ProjectStore::deleteStopsAtReadOnlyFile()
{
    QTemporaryDir dir;
    const QString project = dir.filePath("Book");
    for (const char* file : {"a.txt", "b.txt", "c.txt", "sub/d.txt"}) {
        QVERIFY(test::writeFile(project + QLatin1Char('/') + file, "x"));
    }
    QVERIFY(makeReadOnly(project + "/b.txt"));
    const Result stopped = DeleteFolderTree(project);
    QVERIFY(!stopped.ok());
    QCOMPARE(stopped.reason(), "The file " + project + "/b.txt is read-only.");
    QCOMPARE(allEntries(project), (QStringList{"b.txt", "c.txt", "sub", "sub/d.txt"}));

    // A second attempt after the user made the file writable finishes the job.
    QVERIFY(QFile::setPermissions(project + "/b.txt", QFileDevice::ReadOwner | QFileDevice::WriteOwner));
    QVERIFY(DeleteFolderTree(project));
    QVERIFY(!QFileInfo::exists(project));
}

void tst_ProjectStore::deleteStopsInsideSubFolder()
{
    QTemporaryDir dir;
    const QString project = dir.filePath("Book");
    for (const char* file : {"top.txt", "a/locked.txt", "b/later.txt"}) {
        QVERIFY(test::writeFile(project + QLatin1Char('/') + file, "x"));
    }
    QVERIFY(makeReadOnly(project + "/a/locked.txt"));
    QVERIFY(!DeleteFolderTree(project));
    QCOMPARE(allEntries(project), (QStringList{"a", "a/locked.txt", "b", "b/later.txt"}));
}

void tst_ProjectStore::deleteNeverFollowsLinks_data()
{
    QTest::addColumn<bool>("projectIsLink");
    QTest::addColumn<QString>("suffix");
    QTest::newRow("link inside the project") << false << "";
    QTest::newRow("project folder is a link") << true << "";
    QTest::newRow("project folder is a link, trailing slash") << true << "/";
}

void tst_ProjectStore::deleteNeverFollowsLinks()
{
    QFETCH(bool, projectIsLink);
    QFETCH(QString, suffix);
    QTemporaryDir dir;
    const QString outside = dir.filePath("outside");
    QVERIFY(test::writeFile(outside + "/keep.txt", "keep"));
    QVERIFY(test::writeFile(outside + "/locked.txt", "keep"));
    QVERIFY(makeReadOnly(outside + "/locked.txt"));
    const QString project = dir.filePath("projects/Book");
    if (projectIsLink) {
        QVERIFY(QDir().mkpath(dir.filePath("projects")));
        QVERIFY(QFile::link(outside, project));
    } else {
        QVERIFY(test::writeFile(project + "/--toc.txt", "x"));
        QVERIFY(QFile::link(outside, project + "/folder-link"));
        QVERIFY(QFile::link(outside + "/locked.txt", project + "/file-link"));
    }
    QVERIFY(DeleteFolderTree(project + suffix));
    QVERIFY(!QFileInfo(project).exists() && !QFileInfo(project).isSymLink());
    QCOMPARE(allEntries(outside), (QStringList{"keep.txt", "locked.txt"}));
}

void tst_ProjectStore::deleteFailsForMissingOrFile()
{
    QTemporaryDir dir;
    const Result missing = DeleteFolderTree(dir.filePath("missing"));
    QVERIFY(!missing.ok());
    QCOMPARE(missing.reason(), dir.filePath("missing") + ": No such file or directory");
    QVERIFY(test::writeFile(dir.filePath("file"), "x"));
    QVERIFY(!DeleteFolderTree(dir.filePath("file")));
    QVERIFY(QFileInfo::exists(dir.filePath("file")));
    QVERIFY(!DeleteFolderTree(QString()));

    // A name that is not valid UTF-8 is still deleted by its bytes.
    QVERIFY(QDir(dir.path()).mkdir("odd"));
    const QByteArray odd = QFile::encodeName(dir.filePath("odd")) + "/\xff\xfe.txt";
    const int fd = ::open(odd.constData(), O_CREAT | O_WRONLY, 0644);
    QVERIFY(fd >= 0);
    ::close(fd);
    QVERIFY(DeleteFolderTree(dir.filePath("odd")));
    QVERIFY(!QFileInfo::exists(dir.filePath("odd")));
}

QTEST_GUILESS_MAIN(tst_ProjectStore)
#include "tst_project_store.moc"
