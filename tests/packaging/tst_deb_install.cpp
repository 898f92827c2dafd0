// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "e2e/e2e_harness.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace folioneer::e2e;

namespace {

// Where the Project Manager lays out its Create Project panel (twips in its client area).
const QPoint kCreatePanel(4635, 675);

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

CommandResult dpkg(const QStringList& arguments)
{
    QProcess process;
    process.start(QStringLiteral("dpkg"), arguments);
    const bool finished = process.waitForFinished(120000) && process.exitStatus() == QProcess::NormalExit;
    return {finished, process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}

} // namespace

// The Debian package installed with dpkg, as a user meets it: the menu entry's command starts
// the program with a fresh home folder, a book lands in that home's program folder, a program
// folder that cannot be created gives its box, and removing the package keeps the books.
// Runs only inside the throwaway root of in-throwaway-root.sh, which CTest starts it in.
class TestDebInstall : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void startsFromTheMenuEntryWithAFreshHome();
    void folderThatCannotBeCreated();
    void removalKeepsTheBooks();

private:
    QTemporaryDir m_home;
    QString m_executable;
};

void TestDebInstall::initTestCase()
{
    // dpkg changes the system it runs on: only ever in the overlay.
    QVERIFY2(QFileInfo::exists(QStringLiteral("/.throwaway-root")),
             "not inside the throwaway root of in-throwaway-root.sh: refusing to install");
    QVERIFY(m_home.isValid());
    const QDir debDir(qEnvironmentVariable("FOLIONEER_DEB_DIR"));
    const QStringList debs = debDir.entryList({QStringLiteral("folioneer_*.deb")}, QDir::Files);
    QCOMPARE(debs.size(), 1);
    const CommandResult installed = dpkg({QStringLiteral("-i"), debDir.filePath(debs.first())});
    QVERIFY2(installed.ok(), installed.out + installed.err);

    // The menu entry's command, found on PATH as the desktop would.
    const QString entry = QString::fromUtf8(
        readFile(QStringLiteral("/usr/share/applications/app.folioneer.Folioneer.desktop")));
    const QRegularExpressionMatch exec = QRegularExpression(QStringLiteral("\\nExec=(\\S+)\\n")).match(entry);
    QVERIFY2(exec.hasMatch(), qPrintable(entry));
    m_executable = QStandardPaths::findExecutable(exec.captured(1));
    QCOMPARE(m_executable, QStringLiteral("/usr/bin/folioneer"));
}

void TestDebInstall::startsFromTheMenuEntryWithAFreshHome()
{
    Session s;
    QVERIFY2(s.isValid(), qPrintable(s.lastError()));
    QProcessEnvironment environment;
    environment.insert(QStringLiteral("HOME"), m_home.path());
    environment.insert(QStringLiteral("XDG_DATA_HOME"), QString());
    QVERIFY2(s.startProgram(m_executable, environment), qPrintable(s.lastError()));
    auto manager = s.waitForWindow(kManagerTitle);
    QVERIFY2(manager, qPrintable(s.lastError() + s.programOutput()));

    const QString folder = m_home.path() + QStringLiteral("/.local/share/Folioneer");
    QCOMPARE(readFile(folder + QStringLiteral("/templates/prompt.txt")),
             readFile(QStringLiteral("/usr/share/folioneer/templates/prompt.txt")));

    // No project yet: Create Project mode with the focus in the main-topic box.
    QVERIFY(s.type(*manager, QStringLiteral("Urban beekeeping")));
    QVERIFY(s.setClipboard("Chapter: Getting started\nSubchapter: Choosing a hive\n"));
    QVERIFY(s.clickTwips(*manager, 8280, 3420, 1455, 330, kCreatePanel)); // Paste Results
    QVERIFY(s.clickTwips(*manager, 4545, 5715, 4380, 510, kCreatePanel)); // txtProjectName
    QVERIFY(s.type(*manager, QStringLiteral("Bees")));
    QVERIFY(s.clickTwips(*manager, 2565, 6345, 3885, 690, kCreatePanel)); // Create Project
    QVERIFY2(s.answerMessageBox(QStringLiteral("Done")), qPrintable(s.lastError() + s.programOutput()));
    QCOMPARE(readFile(folder + QStringLiteral("/projects/Bees/--maintopic.txt")),
             QByteArray("Urban beekeeping\r\n"));
    QVERIFY(!QFileInfo::exists(QStringLiteral("/usr/bin/projects")));
}

void TestDebInstall::folderThatCannotBeCreated()
{
    Session s;
    QVERIFY2(s.isValid(), qPrintable(s.lastError()));
    const QString file = m_home.path() + QStringLiteral("/a-file");
    QFile blocker(file);
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    QProcessEnvironment environment;
    environment.insert(QStringLiteral("HOME"), m_home.path());
    environment.insert(QStringLiteral("XDG_DATA_HOME"), file);
    QVERIFY2(s.startProgram(m_executable, environment), qPrintable(s.lastError()));
    QVERIFY2(s.answerMessageBox(QStringLiteral("Error")), qPrintable(s.lastError() + s.programOutput()));
    QCOMPARE(s.waitForProgramExit(), std::optional<int>(1));
}

void TestDebInstall::removalKeepsTheBooks()
{
    const QString book = m_home.path() + QStringLiteral("/.local/share/Folioneer/projects/Bees/--toc.txt");
    const QByteArray before = readFile(book);
    QVERIFY(before.startsWith("Chapter: Getting started"));
    const CommandResult removed = dpkg({QStringLiteral("-r"), QStringLiteral("folioneer")});
    QVERIFY2(removed.ok(), removed.out + removed.err);
    QVERIFY(!QFileInfo::exists(m_executable));
    QVERIFY(!QFileInfo::exists(QStringLiteral("/usr/share/folioneer")));
    QCOMPARE(readFile(book), before);
}

QTEST_GUILESS_MAIN(TestDebInstall)
#include "tst_deb_install.moc"
