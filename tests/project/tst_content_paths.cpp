// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "project/content_paths.h"

#include "common/test_support.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace folioneer;

class tst_ContentPaths : public QObject {
    Q_OBJECT

private slots:
    void contentFilePath_data();
    void contentFilePath();
    void labelAndOutlineGiveSamePath();
    void archivoExiste_data();
    void archivoExiste();
};

void tst_ContentPaths::contentFilePath_data()
{
    QTest::addColumn<QString>("chapter");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("fileName");

    QTest::newRow("worked example") << " The Basics\r"
                                    << "Why Prompts Matter\r"
                                    << "the-basics---why-prompts-matter.txt";
    QTest::newRow("blank before CR: four hyphens") << "  Getting Started \r"
                                                   << "Setup\r"
                                                   << "getting-started----setup.txt";
    QTest::newRow("LF-only titles") << " One"
                                    << "Two Words"
                                    << "one---two-words.txt";
    QTest::newRow("section of CR alone") << " Chapter One\r"
                                         << "\r"
                                         << "chapter-one---.txt";
    QTest::newRow("empty chapter") << "\r"
                                   << "A\r"
                                   << "---a.txt";
    QTest::newRow("slash becomes division slash")
        << " Input/Output\r"
        << "A/B\r" << QString::fromUtf8("input\u2215output---a\u2215b.txt");
    QTest::newRow("backslash is ordinary") << "A\\B"
                                           << "C"
                                           << "a\\b---c.txt";
    QTest::newRow("wildcards and punctuation kept") << "Why?"
                                                    << "All * \"Quoted\": x"
                                                    << "why?---all-*-\"quoted\":-x.txt";
    QTest::newRow("non-ASCII lower-cased")
        << QString::fromUtf8("\u00c9T\u00c9") << QString::fromUtf8("\u00c7a Va")
        << QString::fromUtf8("\u00e9t\u00e9---\u00e7a-va.txt");
    QTest::newRow("double full stop kept") << "X"
                                           << "Wait.. Why\r"
                                           << "x---wait..-why.txt";
    QTest::newRow("tab kept") << "A\tB"
                              << "C"
                              << "a\tb---c.txt";
    QTest::newRow("dot titles stay inside") << ".."
                                            << ".."
                                            << "..---...txt";
}

void tst_ContentPaths::contentFilePath()
{
    QFETCH(QString, chapter);
    QFETCH(QString, section);
    QFETCH(QString, fileName);
    // The project folder keeps its case and its blanks; only the file name is lower-cased.
    const QString project = QStringLiteral("/Home/My Books/projects/Garden Book");
    QCOMPARE(ContentFilePath(project, chapter, section), project + QLatin1Char('/') + fileName);
}

void tst_ContentPaths::labelAndOutlineGiveSamePath()
{
    // The workspace label holds the chapter blank-trimmed; the outline holds it untrimmed.
    QCOMPARE(ContentFilePath("/p", "Getting Started \r", "Setup\r"),
             ContentFilePath("/p", "  Getting Started \r", "Setup\r"));
}

void tst_ContentPaths::archivoExiste_data()
{
    QTest::addColumn<QString>("lookUp"); // relative to a folder holding "Abc.txt", "a1.txt", "dir/"
    QTest::addColumn<bool>("exists");

    QTest::newRow("regular file") << "a1.txt" << true;
    QTest::newRow("link to a file") << "link-to-file" << true;
    QTest::newRow("dangling link") << "dangling" << false;
    QTest::newRow("folder does not count") << "dir" << false;
    QTest::newRow("missing") << "nope.txt" << false;
    QTest::newRow("no wildcard ?") << "a?.txt" << false;
    QTest::newRow("no wildcard *") << "*.txt" << false;
    QTest::newRow("exact case") << "abc.txt" << false;
    QTest::newRow("through a file") << "a1.txt/x" << false;
    QTest::newRow("empty path") << "" << false;
    QTest::newRow("NUL in path") << QString("a1.txt") + QChar(0) << false;
}

void tst_ContentPaths::archivoExiste()
{
    QFETCH(QString, lookUp);
    QFETCH(bool, exists);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(test::writeFile(dir.filePath("Abc.txt"), "x"));
    QVERIFY(test::writeFile(dir.filePath("a1.txt"), "x"));
    QVERIFY(QDir(dir.path()).mkdir("dir"));
    QVERIFY(QFile::link(dir.filePath("a1.txt"), dir.filePath("link-to-file")));
    QVERIFY(QFile::link(dir.filePath("gone.txt"), dir.filePath("dangling")));
    const QString path = lookUp.isEmpty() ? QString() : dir.path() + QLatin1Char('/') + lookUp;
    QCOMPARE(ArchivoExiste(path), exists);
}

QTEST_GUILESS_MAIN(tst_ContentPaths)
#include "tst_content_paths.moc"
