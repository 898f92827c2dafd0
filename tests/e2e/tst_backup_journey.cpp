// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "e2e/e2e_harness.h"

#include "manager/frm_new_design.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace folioneer::e2e;

namespace design = folioneer::managerDesign;

// The real program backs a book up through its save dialog and restores the zip under a new name
// through its open dialog and the name question; the restored project holds the same bytes,
// hidden history included, and is listed.
class TestBackupJourney : public QObject {
    Q_OBJECT

private slots:
    void backUpThenRestore();
};

void TestBackupJourney::backUpThenRestore()
{
    Session session;
    QVERIFY2(session.isValid(), qPrintable(session.lastError()));
    session.makeProject(QStringLiteral("Garden"), "Chapter: Soil\r\nSubchapter: Worms\r\n", "Gardening\r\n");
    const QByteArray worms = "{\\rtf1\\ansi Worms make {\\b rich} soil.\\par}";
    QVERIFY(session.writeProgramFile(QStringLiteral("projects/Garden/soil---worms.txt"), worms));
    QVERIFY(session.writeProgramFile(QStringLiteral("projects/Garden/.history/soil---worms/1.rtf"), "old"));
    QVERIFY2(session.startProgram(), qPrintable(session.lastError()));
    const auto manager = session.waitForWindow(kManagerTitle);
    QVERIFY2(manager, qPrintable(session.lastError() + "\n" + session.programOutput()));

    QTemporaryDir out;
    const QString zip = out.path() + QStringLiteral("/garden.zip");
    QVERIFY(session.key(*manager, {QStringLiteral("Down")}));
    QVERIFY(session.clickTwips(*manager, design::lblBackUpBook, design::kOpenPanelLoaded));
    const auto save = session.waitForWindow(QStringLiteral("Back Up Book"));
    QVERIFY2(save, qPrintable(session.lastError() + "\n" + session.programOutput()));
    QVERIFY(session.key(*save, {QStringLiteral("ctrl+a")}));
    QVERIFY(session.type(*save, zip));
    QVERIFY(session.key(*save, {QStringLiteral("Return")}));
    QVERIFY2(session.answerMessageBox(QStringLiteral("Done")), qPrintable(session.lastError()));
    QVERIFY(QFileInfo(zip).size() > 0);

    QVERIFY(session.clickTwips(*manager, design::lblRestoreBook, design::kOpenPanelLoaded));
    const auto open = session.waitForWindow(QStringLiteral("Restore Book"));
    QVERIFY2(open, qPrintable(session.lastError() + "\n" + session.programOutput()));
    QVERIFY(session.key(*open, {QStringLiteral("ctrl+a")}));
    QVERIFY(session.type(*open, zip));
    QVERIFY(session.key(*open, {QStringLiteral("Return")}));
    const auto name = session.waitForWindow(QStringLiteral("Restored Project Name"));
    QVERIFY2(name, qPrintable(session.lastError() + "\n" + session.programOutput()));
    QVERIFY(session.key(*name, {QStringLiteral("ctrl+a")}));
    QVERIFY(session.type(*name, QStringLiteral("Garden Copy")));
    QVERIFY(session.key(*name, {QStringLiteral("Return")}));
    QVERIFY2(session.answerMessageBox(QStringLiteral("Done")), qPrintable(session.lastError()));

    QCOMPARE(session.readProgramFile(QStringLiteral("projects/Garden Copy/soil---worms.txt")), worms);
    QCOMPARE(session.readProgramFile(QStringLiteral("projects/Garden Copy/.history/soil---worms/1.rtf")),
             QByteArray("old"));
    QCOMPARE(session.readProgramFile(QStringLiteral("projects/Garden Copy/--toc.txt")),
             session.readProgramFile(QStringLiteral("projects/Garden/--toc.txt")));
}

QTEST_GUILESS_MAIN(TestBackupJourney)
#include "tst_backup_journey.moc"
