// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "e2e/e2e_harness.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

// The portable archive holds what `cmake --install` lays out; this installs the build into a
// temporary folder and checks that the result is a program folder that runs as it is.
class TestPackage : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void archiveHoldsProgramFolder_data();
    void archiveHoldsProgramFolder();
    void unpackedFolderRuns();

private:
    QTemporaryDir m_dir;
    QString m_folder;
};

void TestPackage::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_folder = m_dir.path() + QStringLiteral("/Folioneer");
    QProcess install;
    install.setProcessChannelMode(QProcess::MergedChannels);
    install.start(QStringLiteral(FOLIONEER_CMAKE_COMMAND),
                  {QStringLiteral("--install"), QStringLiteral(FOLIONEER_BINARY_DIR),
                   QStringLiteral("--prefix"), m_folder});
    QVERIFY(install.waitForFinished(120000));
    QVERIFY2(install.exitCode() == 0, install.readAll().constData());
}

void TestPackage::archiveHoldsProgramFolder_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("kind"); // "program", "file", "empty folder", "folder with files"
    QTest::newRow("executable") << QStringLiteral("folioneer") << QStringLiteral("program");
    QTest::newRow("desktop entry installer")
        << QStringLiteral("install-desktop-entry.sh") << QStringLiteral("program");
    QTest::newRow("README") << QStringLiteral("README.txt") << QStringLiteral("file");
    QTest::newRow("application icon") << QStringLiteral("folioneer.png") << QStringLiteral("file");
    QTest::newRow("folder icon") << QStringLiteral("folder.ico") << QStringLiteral("file");
    QTest::newRow("blank icon") << QStringLiteral("blank.ico") << QStringLiteral("file");
    QTest::newRow("document icon") << QStringLiteral("document.ico") << QStringLiteral("file");
    QTest::newRow("contents prompt template")
        << QStringLiteral("templates/prompt.txt") << QStringLiteral("file");
    QTest::newRow("sequel prompt template")
        << QStringLiteral("templates/prompt-publicdomain.txt") << QStringLiteral("file");
    QTest::newRow("catalogue") << QStringLiteral("prompts/0") << QStringLiteral("folder with files");
    QTest::newRow("projects") << QStringLiteral("projects") << QStringLiteral("empty folder");
}

void TestPackage::archiveHoldsProgramFolder()
{
    QFETCH(QString, path);
    QFETCH(QString, kind);
    const QFileInfo info(m_folder + QLatin1Char('/') + path);
    QVERIFY2(info.exists(), qPrintable(info.filePath()));
    if (kind == QLatin1String("program")) {
        QVERIFY(info.isFile() && info.isExecutable());
    } else if (kind == QLatin1String("file")) {
        QVERIFY(info.isFile() && info.size() > 0);
    } else {
        QVERIFY(info.isDir());
        const bool empty = QDir(info.filePath()).isEmpty();
        QCOMPARE(empty, kind == QLatin1String("empty folder"));
    }
}

void TestPackage::unpackedFolderRuns()
{
    folioneer::e2e::Session session(m_folder);
    QVERIFY2(session.startProgram(), qPrintable(session.lastError()));
    QVERIFY2(session.waitForWindow(QStringLiteral("Project Manager")), qPrintable(session.lastError()));
}

QTEST_GUILESS_MAIN(TestPackage)
#include "tst_package.moc"
