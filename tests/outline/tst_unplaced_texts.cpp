// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "outline/unplaced_texts.h"
#include "outline_fixture.h"

#include <QTemporaryDir>
#include <QTest>

using namespace folioneer;
using namespace folioneer::test;

class tst_UnplacedTexts : public QObject {
    Q_OBJECT

private slots:
    void foundAttachedAndTrashed();
};

void tst_UnplacedTexts::foundAttachedAndTrashed()
{
    QTemporaryDir dir;
    QVERIFY(makeOutlineProject(dir.path(), "Chapter: One\r\nSubchapter: Alpha\r\nSubchapter: Beta\r\n",
                               {"one---alpha.txt", "one---old-title.txt", "two---gone.txt"}));
    QVERIFY(writeFile(dir.path() + "/notes.txt", "not a content file"));
    QVERIFY(writeFile(dir.path() + "/.hidden---x.txt", "hidden"));
    QVERIFY(writeFile(dir.path() + "/two---gone.txt",
                      "{\\rtf1 The first words of a text that went astray.\\par}"));
    ProjectOutline outline = loadProjectOutline(dir.path());

    QList<UnplacedText> unplaced = unplacedTexts(outline);
    QCOMPARE(unplaced.size(), 2);
    QCOMPARE(unplaced.at(0).fileName, QStringLiteral("one---old-title.txt"));
    QCOMPARE(unplaced.at(1).fileName, QStringLiteral("two---gone.txt"));
    QCOMPARE(unplaced.at(1).firstWords, QStringLiteral("The first words of a text that went astray."));

    // Attached only to a section without text.
    const QString alpha = outline.chapters.at(0).sections.at(0).contentPath;
    const QString beta = outline.chapters.at(0).sections.at(1).contentPath;
    QVERIFY(!attachUnplacedText(dir.path(), "one---old-title.txt", alpha).ok());
    QCOMPARE(readFile(alpha), QByteArray("text of one---alpha.txt"));
    QVERIFY(attachUnplacedText(dir.path(), "one---old-title.txt", beta).ok());
    QCOMPARE(readFile(beta), QByteArray("text of one---old-title.txt"));

    QVERIFY(trashUnplacedText(dir.path(), "two---gone.txt").ok());
    QVERIFY(unplacedTexts(loadProjectOutline(dir.path())).isEmpty());
    QCOMPARE(textsOnDisk(dir.path()),
             (QStringList{"notes.txt=not a content file", "one---alpha.txt=text of one---alpha.txt",
                          "one---beta.txt=text of one---old-title.txt",
                          "trash:{\\rtf1 The first words of a text that went astray.\\par}"}));
    QVERIFY(!trashUnplacedText(dir.path(), "../escape---x.txt").ok());
}

QTEST_GUILESS_MAIN(tst_UnplacedTexts)
#include "tst_unplaced_texts.moc"
