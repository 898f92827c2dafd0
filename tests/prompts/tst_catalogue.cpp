// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "prompts/catalogue.h"

#include "common/test_support.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace folioneer;

class tst_Catalogue : public QObject {
    Q_OBJECT

private slots:
    void titles();
    void titlesOfEmptyOrMissingFolder();
    void entries_data();
    void entries();
    void removeNumbering_data();
    void removeNumbering();
    void sentenceAndTemplate();
};

void tst_Catalogue::titles()
{
    QTemporaryDir dir;
    const QString folder = dir.filePath("prompts/0");
    for (const char* name : {"b title.txt", "A Title.txt", "c.txt.txt", ".hidden.txt", "notes"}) {
        QVERIFY(test::writeFile(folder + QLatin1Char('/') + name, "1. x\r\n"));
    }
    QVERIFY(QDir(folder).mkdir("sub.txt"));
    const QStringList titles = catalogueTitles(dir.path());
    QCOMPARE(titles, (QStringList{"A Title", "b title", "c", "notes"}));

    // A title read back from a name with ".txt" twice points at a file with it once.
    QCOMPARE(titleFilePath(dir.path(), titles.at(2)), folder + "/c.txt");
    QCOMPARE(readCatalogueEntries(titleFilePath(dir.path(), titles.at(2))), QStringList{});
    QCOMPARE(readCatalogueEntries(titleFilePath(dir.path(), titles.at(0))), QStringList{"1. x"});
}

void tst_Catalogue::titlesOfEmptyOrMissingFolder()
{
    QTemporaryDir dir;
    QCOMPARE(catalogueTitles(dir.path()), QStringList{});
    QVERIFY(QDir().mkpath(dir.filePath("prompts/0")));
    QCOMPARE(catalogueTitles(dir.path()), QStringList{});
}

void tst_Catalogue::entries_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("entries");

    QTest::newRow("numbered, empty line skipped") << QByteArray("1. First idea\r\n\r\n2. Second idea\r\n")
                                                  << QStringList{"1. First idea", "2. Second idea"};
    QTest::newRow("line of blanks listed") << QByteArray("a\r\n   \r\nb") << QStringList{"a", "   ", "b"};
    QTest::newRow("nothing trimmed") << QByteArray("  1. x \t\r\n") << QStringList{"  1. x \t"};
    QTest::newRow("LF line ends") << QByteArray("a\nb\n") << QStringList{"a", "b"};
    QTest::newRow("CR line ends") << QByteArray("a\rb\r") << QStringList{"a", "b"};
    QTest::newRow("UTF-8 with BOM") << QByteArray("\xEF\xBB\xBF"
                                                  "Caf\xC3\xA9\r\n")
                                    << QStringList{QString::fromUtf8("Caf\u00e9")};
    QTest::newRow("Windows-1252") << QByteArray("Caf\xE9 \x93x\x94\r\n")
                                  << QStringList{QString::fromUtf8("Caf\u00e9 \u201cx\u201d")};
}

void tst_Catalogue::entries()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, entries);
    QTemporaryDir dir;
    QVERIFY(test::writeFile(dir.filePath("t.txt"), bytes));
    QCOMPARE(readCatalogueEntries(dir.filePath("t.txt")), entries);
    QCOMPARE(readCatalogueEntries(dir.filePath("missing.txt")), QStringList{});
}

void tst_Catalogue::removeNumbering_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("result");

    QTest::newRow("12") << "12. A lost heir returns"
                        << "A lost heir returns";
    QTest::newRow("100") << "100. Last one"
                         << "Last one";
    QTest::newRow("150 keeps its 1") << "150. Too many"
                                     << "1Too many";
    QTest::newRow("101 loses only 1") << "101. X"
                                      << "10X";
    QTest::newRow("1815 inside a sentence") << "After Waterloo in 1815. The hero"
                                            << "After Waterloo in 18The hero";
    QTest::newRow("1800 stays whole") << "Set in 1800. The hero"
                                      << "Set in 1800. The hero";
    QTest::newRow("every occurrence") << "1. One. Then 2. Two. Then 1. Again"
                                      << "One. Then Two. Then Again";
    QTest::newRow("lower first, revealed later") << "1. 2. X"
                                                 << "X";
    QTest::newRow("no blank after the stop") << "Version 2.5 rules"
                                             << "Version 2.5 rules";
    QTest::newRow("number without stop") << "Chapter 3 begins"
                                         << "Chapter 3 begins";
    QTest::newRow("empty") << ""
                           << "";
}

void tst_Catalogue::removeNumbering()
{
    QFETCH(QString, entry);
    QFETCH(QString, result);
    QCOMPARE(folioneer::removeNumbering(entry), result);
}

void tst_Catalogue::sentenceAndTemplate()
{
    QCOMPARE(sequelSentence("Moby-Dick", "Ishmael returns."),
             QString("\"Moby-Dick\". The sequel describes Ishmael returns."));
    QCOMPARE(sequelSentence("", ""), QString("\"\". The sequel describes "));

    QCOMPARE(fillTemplate("No placeholder.", "Topic"), QString("No placeholder."));
    QCOMPARE(fillTemplate("#TOPIC# and #TOPIC#", "T"), QString("T and T"));
    QCOMPARE(fillTemplate("#topic# stays", "T"), QString("#topic# stays"));
    // The inserted topic is not scanned again, even when it holds the placeholder itself.
    QCOMPARE(fillTemplate("<#TOPIC#>", "#TOPIC#"), QString("<#TOPIC#>"));
    QCOMPARE(fillTemplate("[#TOPIC#]", "  "), QString("[  ]"));
}

QTEST_GUILESS_MAIN(tst_Catalogue)
#include "tst_catalogue.moc"
