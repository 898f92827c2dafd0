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
    const QByteArray worms = "{\\rtf1\\ansi Worms make {\\b rich} soil.\\par}";
    QVERIFY2(session.makeSampleBook(worms), qPrintable(session.lastError()));
    QVERIFY(
        session.writeProgramFile(QStringLiteral("projects/Garden/.history/the-basics---soil/1.rtf"), "old"));
    QVERIFY2(session.startProgram(), qPrintable(session.lastError()));
    const auto manager = session.waitForWindow(kManagerTitle);
    QVERIFY2(manager, qPrintable(session.lastError() + "\n" + session.programOutput()));

    QTemporaryDir out;
    const QString zip = out.path() + QStringLiteral("/garden.zip");
    QVERIFY(session.key(*manager, {QStringLiteral("Down")}));
    QVERIFY(session.clickTwips(*manager, design::lblBackUpBook, design::kOpenPanelLoaded));
    QVERIFY2(session.answerWithText(QStringLiteral("Back Up Book"), zip), qPrintable(session.lastError()));
    QVERIFY2(session.answerMessageBox(QStringLiteral("Done")), qPrintable(session.lastError()));
    QVERIFY(QFileInfo(zip).size() > 0);

    QVERIFY(session.clickTwips(*manager, design::lblRestoreBook, design::kOpenPanelLoaded));
    QVERIFY2(session.answerWithText(QStringLiteral("Restore Book"), zip), qPrintable(session.lastError()));
    QVERIFY2(session.answerWithText(QStringLiteral("Restored Project Name"), QStringLiteral("Garden Copy")),
             qPrintable(session.lastError()));
    QVERIFY2(session.answerMessageBox(QStringLiteral("Done")), qPrintable(session.lastError()));

    QCOMPARE(session.readProgramFile(QStringLiteral("projects/Garden Copy/the-basics---soil.txt")), worms);
    QCOMPARE(session.readProgramFile(QStringLiteral("projects/Garden Copy/.history/the-basics---soil/1.rtf")),
             QByteArray("old"));
    QCOMPARE(session.readProgramFile(QStringLiteral("projects/Garden Copy/--toc.txt")),
             session.readProgramFile(sampleBook::kTocFile));
}

QTEST_GUILESS_MAIN(TestBackupJourney)
#include "tst_backup_journey.moc"
