// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "e2e/e2e_harness.h"

#include <QDir>
#include <QTest>

using namespace folioneer::e2e;

namespace {

const QByteArray kSoil = "{\\rtf1\\ansi Loam and clay.\\par}";
const QString kSoilFile = sampleBook::kSoilFile;
const QString kLoamFile = QStringLiteral("projects/Garden/the-basics---loam.txt");
const QString kTocFile = sampleBook::kTocFile;

} // namespace

// Reshaping the outline in the real program: rename a section with text by F2, move it by
// keyboard, undo the move, delete it into the trash and bring it back with Ctrl+Z; the files on
// disk are checked after each step.
class TestE2eOutline : public QObject {
    Q_OBJECT

private slots:
    void reshapeTheOutline();
};

void TestE2eOutline::reshapeTheOutline()
{
    Session session;
    QVERIFY2(session.isValid(), qPrintable(session.lastError()));
    QVERIFY2(session.makeSampleBook(kSoil), qPrintable(session.lastError()));
    const auto main = session.startAndOpenFirstProject();
    QVERIFY2(main, qPrintable(session.lastError()));
    const WindowId window = main->id;
    const auto tocIs = [&](const QByteArray& toc) {
        return waitUntil([&] { return session.readProgramFile(kTocFile) == std::optional<QByteArray>(toc); },
                         Session::kWindowTimeoutMs);
    };

    // Choose "Soil", rename it in place.
    QVERIFY(session.key(window, {QStringLiteral("Down"), QStringLiteral("Right"), QStringLiteral("Down")}));
    QVERIFY(session.key(window, {QStringLiteral("F2"), QStringLiteral("ctrl+a")}));
    QVERIFY(session.type(window, QStringLiteral("Loam")));
    QVERIFY(session.key(window, {QStringLiteral("Return")}));
    QVERIFY(tocIs("Chapter: The Basics\r\nSubchapter: Loam\r\nSubchapter: Water\r\n"));
    QCOMPARE(session.readProgramFile(kLoamFile), std::optional<QByteArray>(kSoil));
    QVERIFY(!session.readProgramFile(kSoilFile));

    // Move it below "Water", then undo the move.
    QVERIFY(session.key(window, {QStringLiteral("ctrl+Down")}));
    QVERIFY(tocIs("Chapter: The Basics\r\nSubchapter: Water\r\nSubchapter: Loam\r\n"));
    QCOMPARE(session.readProgramFile(kLoamFile), std::optional<QByteArray>(kSoil));
    QVERIFY(session.key(window, {QStringLiteral("ctrl+z")}));
    QVERIFY(tocIs("Chapter: The Basics\r\nSubchapter: Loam\r\nSubchapter: Water\r\n"));

    // Delete it: the text goes to the trash; Ctrl+Z brings it back from there.
    QVERIFY(session.key(window, {QStringLiteral("Delete")}));
    QVERIFY2(session.answerMessageBox(QStringLiteral("Confirm"), QStringLiteral("y")),
             qPrintable(session.lastError()));
    QVERIFY(tocIs("Chapter: The Basics\r\nSubchapter: Water\r\n"));
    QVERIFY(!session.readProgramFile(kLoamFile));
    const QString trash = session.programFolder() + QStringLiteral("/projects/Garden/.trash");
    QCOMPARE(QDir(trash).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size(), 1);
    QVERIFY(session.key(window, {QStringLiteral("ctrl+z")}));
    QVERIFY(tocIs("Chapter: The Basics\r\nSubchapter: Loam\r\nSubchapter: Water\r\n"));
    QCOMPARE(session.readProgramFile(kLoamFile), std::optional<QByteArray>(kSoil));
    QCOMPARE(QDir(trash).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size(), 0);
}

QTEST_GUILESS_MAIN(TestE2eOutline)
#include "tst_e2e_outline.moc"
