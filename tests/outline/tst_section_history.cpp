// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "outline/outline_editor.h"
#include "outline/section_history.h"
#include "outline_fixture.h"

#include <QTemporaryDir>
#include <QTest>

using namespace folioneer;
using namespace folioneer::test;

class tst_SectionHistory : public QObject {
    Q_OBJECT

private slots:
    void keptNewestFirstAndCapped();
    void nothingKeptWithoutAFile();
    void followsARenameAndItsUndo();
};

void tst_SectionHistory::keptNewestFirstAndCapped()
{
    QTemporaryDir dir;
    const QString content = dir.path() + "/one---alpha.txt";
    for (int i = 1; i <= kMaxSectionVersions + 3; ++i) {
        QVERIFY(writeFile(content, "{\\rtf1 version " + QByteArray::number(i) + " of three words\\par}"));
        QVERIFY(keepSectionVersion(content).ok());
    }
    const QList<SectionVersion> versions = sectionVersions(content);
    QCOMPARE(versions.size(), kMaxSectionVersions);
    // Byte for byte, the newest first; the three oldest are gone.
    QCOMPARE(readFile(versions.first().path), QByteArray("{\\rtf1 version 53 of three words\\par}"));
    QCOMPARE(readFile(versions.last().path), QByteArray("{\\rtf1 version 4 of three words\\par}"));
    QCOMPARE(versions.first().wordCount, 5);
    QVERIFY(versions.first().time.secsTo(QDateTime::currentDateTimeUtc()) < 60);
}

void tst_SectionHistory::nothingKeptWithoutAFile()
{
    QTemporaryDir dir;
    QVERIFY(keepSectionVersion(dir.path() + "/one---new.txt").ok());
    QVERIFY(!QFileInfo::exists(dir.path() + "/.history"));
}

void tst_SectionHistory::followsARenameAndItsUndo()
{
    QTemporaryDir dir;
    QVERIFY(makeOutlineProject(dir.path(), "Chapter: One\r\nSubchapter: Alpha\r\n", {"one---alpha.txt"}));
    QVERIFY(keepSectionVersion(dir.path() + "/one---alpha.txt").ok());
    OutlineEditor editor;
    editor.reset(loadProjectOutline(dir.path()));
    QVERIFY(editor.renameChapter(0, QStringLiteral("First")).ok());
    QCOMPARE(sectionVersions(dir.path() + "/one---alpha.txt").size(), 0);
    const QList<SectionVersion> moved = sectionVersions(dir.path() + "/first---alpha.txt");
    QCOMPARE(moved.size(), 1);
    QCOMPARE(readFile(moved.first().path), QByteArray("text of one---alpha.txt"));
    QVERIFY(editor.undo().ok());
    QCOMPARE(sectionVersions(dir.path() + "/one---alpha.txt").size(), 1);
}

QTEST_GUILESS_MAIN(tst_SectionHistory)
#include "tst_section_history.moc"
