// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "e2e/e2e_harness.h"

#include "common/test_support.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <csignal>

using namespace folioneer::e2e;

// The harness the end-to-end tests stand on: byte-exact clipboard, exact titles, private program
// folder, and nothing left running afterwards.
class TestE2eHarness : public QObject {
    Q_OBJECT

private slots:
    void clipboardKeepsBytes_data();
    void clipboardKeepsBytes();
    void clipboardIsEmptyOnFreshDisplay();
    void windowTitlesMatchExactly();
    void programFolderIsPrivateCopy();
    void copyLeavesOutProjects();
    void stopEndsEveryProcess();
};

void TestE2eHarness::clipboardKeepsBytes_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("target");
    QTest::newRow("plain text") << QByteArray("Chapter: One") << QStringLiteral("UTF8_STRING");
    QTest::newRow("CR LF and trailing line end")
        << QByteArray("a\r\nb\r\n\r\n") << QStringLiteral("UTF8_STRING");
    QTest::newRow("lone CR") << QByteArray("title\r") << QStringLiteral("UTF8_STRING");
    QTest::newRow("UTF-8 and NBSP") << QByteArray("caf\xc3\xa9\xc2\xa0\xe2\x88\x95")
                                    << QStringLiteral("UTF8_STRING");
    QTest::newRow("RTF target") << QByteArray("{\\rtf1\\ansi {\\b bold}\\par}") << QStringLiteral("text/rtf");
}

void TestE2eHarness::clipboardKeepsBytes()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, target);
    Session session;
    QVERIFY2(session.isValid(), qPrintable(session.lastError()));
    QVERIFY2(session.setClipboard(bytes, target), qPrintable(session.lastError()));
    QCOMPARE(session.clipboard(target), std::optional<QByteArray>(bytes));
    // Setting again replaces the first server rather than leaving two owners.
    QVERIFY(session.setClipboard("second", target));
    QCOMPARE(session.clipboard(target), std::optional<QByteArray>("second"));
    QCOMPARE(session.processIds().size(), 2); // Xvfb and one clipboard server
}

void TestE2eHarness::clipboardIsEmptyOnFreshDisplay()
{
    Session session;
    QVERIFY2(session.startDisplay(), qPrintable(session.lastError()));
    QCOMPARE(session.clipboard(), std::nullopt);
    QCOMPARE(session.waitForClipboardChange(std::nullopt, QStringLiteral("UTF8_STRING"), 300), std::nullopt);
}

void TestE2eHarness::windowTitlesMatchExactly()
{
    Session session;
    QVERIFY2(session.startProgram(), qPrintable(session.lastError()));
    const auto window = session.waitForWindow(QStringLiteral("Project Manager"));
    QVERIFY2(window, qPrintable(session.lastError()));
    // Other case or a part of the title is a different window.
    QVERIFY(!session.waitForWindow(QStringLiteral("project manager"), 300));
    QVERIFY(!session.waitForWindow(QStringLiteral("Project"), 300));
    QVERIFY(session.waitForWindowMatching(QRegularExpression(QStringLiteral("Project \\w+")), 300));
    QVERIFY(!session.waitForWindowMatching(QRegularExpression(QStringLiteral("Project")), 300));
    QVERIFY(session.clientGeometry(*window));
    QVERIFY(!session.clientGeometry(QStringLiteral("1")));
}

void TestE2eHarness::programFolderIsPrivateCopy()
{
    const QString built = qEnvironmentVariable("FOLIONEER_PROGRAM_DIR");
    const QStringList projectsBefore =
        QDir(built + QStringLiteral("/projects")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    Session session;
    QVERIFY2(session.isValid(), qPrintable(session.lastError()));
    QVERIFY(session.programFolder() != built);
    const QString project = session.makeProject(QStringLiteral("Book"), "Chapter: One\r\n", "Topic");
    QCOMPARE(project, session.programFolder() + QStringLiteral("/projects/Book"));
    QCOMPARE(session.readProgramFile(QStringLiteral("projects/Book/--toc.txt")),
             std::optional<QByteArray>("Chapter: One\r\n"));
    QCOMPARE(session.readProgramFile(QStringLiteral("projects/Book/--none.txt")), std::nullopt);
    QVERIFY(session.waitForProgramFile(
        QStringLiteral("projects/Book/--maintopic.txt"), [](const auto& bytes) { return bytes == "Topic"; },
        200));
    QVERIFY(!session.waitForProgramFile(
        QStringLiteral("projects/Book/--maintopic.txt"), [](const auto& bytes) { return !bytes; }, 200));
    QVERIFY(QFileInfo(session.programFolder() + QStringLiteral("/folioneer")).isExecutable());
    QCOMPARE(QDir(built + QStringLiteral("/projects")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
             projectsBefore);
}

void TestE2eHarness::copyLeavesOutProjects()
{
    QTemporaryDir built;
    QVERIFY(folioneer::test::writeFile(built.path() + QStringLiteral("/folioneer"), "#!/bin/sh\n"));
    QFile::setPermissions(built.path() + QStringLiteral("/folioneer"), QFile::ReadOwner | QFile::ExeOwner);
    QVERIFY(
        folioneer::test::writeFile(built.path() + QStringLiteral("/projects/Old/--toc.txt"), "Chapter: Old"));
    QVERIFY(folioneer::test::writeFile(built.path() + QStringLiteral("/templates/prompt.txt"), "#TOPIC#"));
    QVERIFY(folioneer::test::writeFile(built.path() + QStringLiteral("/projects-notes.txt"), "kept"));

    Session session(built.path());
    QVERIFY2(session.isValid(), qPrintable(session.lastError()));
    QVERIFY(QDir(session.programFolder() + QStringLiteral("/projects")).isEmpty());
    QCOMPARE(session.readProgramFile(QStringLiteral("templates/prompt.txt")),
             std::optional<QByteArray>("#TOPIC#"));
    QCOMPARE(session.readProgramFile(QStringLiteral("projects-notes.txt")),
             std::optional<QByteArray>("kept"));
}

void TestE2eHarness::stopEndsEveryProcess()
{
    QList<qint64> ids;
    QString socket;
    {
        Session session;
        QVERIFY2(session.startProgram(), qPrintable(session.lastError()));
        QVERIFY(session.setClipboard("x"));
        QVERIFY(session.waitForWindow(QStringLiteral("Project Manager")));
        ids = session.processIds();
        socket = QStringLiteral("/tmp/.X11-unix/X") + session.display().mid(1);
        QVERIFY(QFile::exists(socket));
    }
    QCOMPARE(ids.size(), 3); // Xvfb, the program, xclip
    for (const qint64 id : ids) {
        errno = 0;
        QCOMPARE(::kill(static_cast<pid_t>(id), 0), -1);
        QCOMPARE(errno, ESRCH);
    }
    QVERIFY2(!QFile::exists(socket), qPrintable(socket));
}

QTEST_GUILESS_MAIN(TestE2eHarness)
#include "tst_e2e_harness.moc"
