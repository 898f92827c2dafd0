// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "outline/outline_files.h"
#include "outline/outline_model.h"
#include "outline_fixture.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace folioneer;
using namespace folioneer::test;

namespace {

const QByteArray kToc = "Chapter: One\r\nSubchapter: Alpha\r\nSubchapter: Beta\r\nSubchapter: Delta\r\n"
                        "Chapter: Two\r\nSubchapter: Gamma\r\nSubchapter: Epsilon\r\n";
const QStringList kTexts{"one---alpha.txt", "one---beta.txt", "one---delta.txt", "two---gamma.txt",
                         "two---epsilon.txt"};

/// Every text of the project that a section names, then every trashed text; sorted.
QStringList attachedOrTrashed(const ProjectOutline& outline)
{
    QStringList texts;
    for (const OutlineChapterEntry& chapter : outline.chapters) {
        for (const OutlineSection& section : chapter.sections) {
            if (section.hasContent) {
                texts.append(QString::fromUtf8(readFile(section.contentPath)));
            }
        }
    }
    for (const TrashItem& item : trashItems(outline.projectFolder)) {
        texts.append(QString::fromUtf8(readFile(trashTextPath(outline.projectFolder, item.name))));
    }
    texts.sort();
    return texts;
}

} // namespace

class tst_OutlineJournal : public QObject {
    Q_OBJECT

private slots:
    void killAfterEveryStep_data();
    void killAfterEveryStep();
    void journalPathsLeavingTheProjectAreRefused();
};

void tst_OutlineJournal::killAfterEveryStep_data()
{
    QTest::addColumn<QString>("edit");
    QTest::addColumn<QStringList>("after");

    QTest::newRow("rename chapter") << "rename-chapter"
                                    << QStringList{"First Part/Alpha", "First Part/Beta", "First Part/Delta",
                                                   "Two/Gamma", "Two/Epsilon"};
    QTest::newRow("move section across chapters")
        << "move-section" << QStringList{"One/Alpha", "One/Delta", "Two/Beta", "Two/Gamma", "Two/Epsilon"};
    QTest::newRow("delete chapter") << "delete-chapter" << QStringList{"Two/Gamma", "Two/Epsilon"};
    QTest::newRow("undo a move") << "undo-move"
                                 << QStringList{"One/Alpha", "One/Beta", "One/Delta", "Two/Gamma",
                                                "Two/Epsilon"};
}

void tst_OutlineJournal::killAfterEveryStep()
{
    QFETCH(QString, edit);
    QFETCH(QStringList, after);

    QStringList expectedTexts;
    for (const QString& name : kTexts) {
        expectedTexts.append(QStringLiteral("text of ") + name);
    }
    expectedTexts.sort();

    const QStringList start =
        edit == QLatin1String("undo-move")
            ? QStringList{"One/Alpha", "One/Beta", "Two/Delta", "Two/Gamma", "Two/Epsilon"}
            : QStringList{"One/Alpha", "One/Beta", "One/Delta", "Two/Gamma", "Two/Epsilon"};
    bool finished = false;
    int kills = 0;
    for (int step = 1; !finished && step < 200; ++step) {
        QTemporaryDir dir;
        QVERIFY(makeOutlineProject(dir.path(), kToc, kTexts));
        QProcess helper;
        helper.start(QStringLiteral(OUTLINE_KILL_HELPER), {dir.path(), edit, QString::number(step)});
        QVERIFY(helper.waitForFinished(30000));
        finished = helper.exitStatus() == QProcess::NormalExit;
        if (finished) {
            QCOMPARE(helper.exitCode(), 0);
        } else {
            ++kills;
        }
        const QStringList before = outlineTitles(loadProjectOutline(dir.path()));
        // The load finished the edit cut short, or there was nothing to finish.
        QVERIFY2(!QFileInfo::exists(dir.path() + "/.outline-journal"), qPrintable(QString::number(step)));
        const ProjectOutline loaded = loadProjectOutline(dir.path());
        QCOMPARE(outlineTitles(loaded), before);
        // Before the journal is written nothing has changed; after it, the load completes the edit.
        QVERIFY2(before == after || before == start, qPrintable(before.join(", ")));
        QCOMPARE(attachedOrTrashed(loaded), expectedTexts);
    }
    QVERIFY(finished);
    QVERIFY2(kills >= 5, "the edit should take several durable steps");
}

void tst_OutlineJournal::journalPathsLeavingTheProjectAreRefused()
{
    QTemporaryDir dir;
    QVERIFY(makeOutlineProject(dir.path() + "/book", kToc, {}));
    QVERIFY(writeFile(dir.path() + "/outside.txt", "outside"));
    QVERIFY(writeFile(
        dir.path() + "/book/.outline-journal",
        R"({"steps":[{"kind":"move","from":"../outside.txt","to":"stolen.txt"}],"toc":"Chapter: X\r\n"})"));
    QVERIFY(!completePendingOutlineJournal(dir.path() + "/book").ok());
    QCOMPARE(readFile(dir.path() + "/outside.txt"), QByteArray("outside"));
    QCOMPARE(readFile(dir.path() + "/book/--toc.txt"), kToc);
}

QTEST_GUILESS_MAIN(tst_OutlineJournal)
#include "tst_outline_journal.moc"
