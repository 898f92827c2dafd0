// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/trellis.h"

#include "common/test_support.h"
#include "support/text_holder.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace folioneer;

class tst_Trellis : public QObject {
    Q_OBJECT

private slots:
    void replaceText_data();
    void replaceText();
    void loadTextFile();
    void listFolderFiles();
    void sortOrder();
};

void tst_Trellis::replaceText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("find");
    QTest::addColumn<QString>("replacement");
    QTest::addColumn<QString>("result");

    QTest::newRow("every occurrence") << "a.b.c"
                                      << "."
                                      << "-"
                                      << "a-b-c";
    QTest::newRow("one pass, left to right") << "..."
                                             << ".."
                                             << "."
                                             << "..";
    QTest::newRow("four stops") << "...."
                                << ".."
                                << "."
                                << "..";
    QTest::newRow("no rescan of inserted text") << "abc"
                                                << "b"
                                                << "bb"
                                                << "abbc";
    QTest::newRow("case-sensitive") << "ABC abc"
                                    << "b"
                                    << "x"
                                    << "ABC axc";
    QTest::newRow("empty replacement deletes") << "1. 1. x"
                                               << "1. "
                                               << ""
                                               << "x";
    QTest::newRow("empty find changes nothing") << "abc"
                                                << ""
                                                << "x"
                                                << "abc";
    QTest::newRow("empty text") << ""
                                << "a"
                                << "b"
                                << "";
    QTest::newRow("CR removed") << "Title\r"
                                << "\r"
                                << ""
                                << "Title";
}

void tst_Trellis::replaceText()
{
    QFETCH(QString, text);
    QFETCH(QString, find);
    QFETCH(QString, replacement);
    QFETCH(QString, result);
    QCOMPARE(ReplaceText(text, find, replacement, 0), result);
}

void tst_Trellis::loadTextFile()
{
    QTemporaryDir dir;
    TextHolder holder;
    QSignalSpy changes(&holder, &TextHolder::textChanged);
    QVERIFY(test::writeFile(dir.filePath("a.txt"), "Caf\xE9\r\n"));
    LoadTextFile(holder, dir.filePath("a.txt"));
    QCOMPARE(holder.text(), QString::fromUtf8("Caf\u00e9\r\n"));
    QCOMPARE(changes.count(), 1);

    LoadTextFile(holder, dir.filePath("a.txt")); // the same text raises no change
    LoadTextFile(holder, dir.filePath("missing.txt"));
    LoadTextFile(holder, dir.path()); // a folder is not readable as a file
    QCOMPARE(holder.text(), QString::fromUtf8("Caf\u00e9\r\n"));
    QCOMPARE(changes.count(), 1);

    QVERIFY(test::writeFile(dir.filePath("empty.txt"), ""));
    LoadTextFile(holder, dir.filePath("empty.txt"));
    QCOMPARE(holder.text(), QString());
    QCOMPARE(changes.count(), 2);
}

void tst_Trellis::listFolderFiles()
{
    QTemporaryDir dir;
    for (const char* name : {"b.txt", "A.txt", ".hidden.txt", "c"}) {
        QVERIFY(test::writeFile(dir.filePath(name), "x"));
    }
    QVERIFY(QDir(dir.path()).mkdir("folder.txt"));
    QVERIFY(QFile::link(dir.path(), dir.filePath("link-to-folder.txt")));

    QStringList listed{"stale entry"};
    ListFolderFiles(dir.path(), listed);
    QCOMPARE(listed, (QStringList{dir.filePath("A.txt"), dir.filePath("b.txt"), dir.filePath("c")}));
    QCOMPARE(FileNameOf(listed.first()), QString("A.txt"));
    QCOMPARE(CleanName("x.txt.txt"), QString("x.txt.txt"));

    ListFolderFiles(dir.filePath("missing"), listed);
    QCOMPARE(listed, QStringList{});
}

void tst_Trellis::sortOrder()
{
    QStringList names{"b", "B", "a", "A", "c"};
    sortNamesForDisplay(names);
    QCOMPARE(names, (QStringList{"A", "a", "B", "b", "c"}));
}

QTEST_GUILESS_MAIN(tst_Trellis)
#include "tst_trellis.moc"
