// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/book_export.h"

#include "common/test_support.h"
#include "rtf/rtf.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>

using namespace folioneer;

namespace {

using ContentFiles = QMap<QString, QByteArray>; // file name in the project folder -> bytes

const QString kSeparator(69, QLatin1Char('-'));

// A heading block as the export writes it: an empty line, the heading, the separator line and
// two empty lines, every line ended by CR LF.
QString block(const QString& heading)
{
    return "\r\n" + heading + "\r\n" + kSeparator + "\r\n\r\n\r\n";
}

QString content(const QString& plain)
{
    return plain + "\r\n\r\n";
}

// The book exported from a project folder holding `toc` and the content files.
BookText exportProject(const QByteArray& toc, const ContentFiles& files)
{
    QTemporaryDir dir;
    const QString project = dir.filePath("projects/Garden Book");
    test::writeFile(project + "/--toc.txt", toc);
    for (auto it = files.begin(); it != files.end(); ++it) {
        test::writeFile(project + QLatin1Char('/') + it.key(), it.value());
    }
    return buildBookText(project + "/--toc.txt", project);
}

} // namespace

class tst_BookExport : public QObject {
    Q_OBJECT

private slots:
    void workedExample();
    void book_data();
    void book();
    void failures_data();
    void failures();
    void savedSectionExportsItsText();
    void twoExportsIdentical();
};

void tst_BookExport::workedExample()
{
    const BookText book = exportProject("Chapter: One\r\nSubchapter: A\r\nSubchapter: B\r\n",
                                        {{"one---a.txt", "{\\rtf1\\ansi Hello}"}});
    QVERIFY2(book.ok(), qPrintable(book.error));
    const QStringList lines{
        "", "Chapter: One",  kSeparator, "", "", "", "Subchapter: A", kSeparator, "", "", "Hello", "",
        "", "Subchapter: B", kSeparator, "", ""};
    QCOMPARE(lines.size(), 17);
    QCOMPARE(book.text, lines.join("\r\n") + "\r\n");
}

void tst_BookExport::book_data()
{
    QTest::addColumn<QByteArray>("toc");
    QTest::addColumn<ContentFiles>("files");
    QTest::addColumn<QString>("text");

    const ContentFiles hello{{"one---a.txt", "{\\rtf1\\ansi Hello}"}};
    const QString example =
        block("Chapter: One") + block("Subchapter: A") + content("Hello") + block("Subchapter: B");

    QTest::newRow("blank and indented lines")
        << QByteArray(
               "\r\n   \r\n  Chapter: One\r\n\r\n      Subchapter: A\r\n\r\n   Subchapter: B   \r\n\r\n")
        << hello << example;
    QTest::newRow("LF line ends") << QByteArray("Chapter: One\nSubchapter: A\nSubchapter: B\n") << hello
                                  << example;
    QTest::newRow("CR line ends") << QByteArray("Chapter: One\rSubchapter: A\rSubchapter: B") << hello
                                  << example;
    QTest::newRow("no blank after colon")
        << QByteArray("Chapter:One\r\nSubchapter:A\r\n") << ContentFiles{{"one---a.txt", "{\\rtf1 Hi}"}}
        << block("Chapter: One") + block("Subchapter: A") + content("Hi");
    QTest::newRow("blanks before the line end")
        << QByteArray("Chapter:  Getting Started \r\nSubchapter: Setup  \r\n")
        << ContentFiles{{"getting-started----setup--.txt", "{\\rtf1 Found}"}}
        << block("Chapter: Getting Started") + block("Subchapter: Setup") + content("Found");
    QTest::newRow("blanks before LF line end")
        << QByteArray("Chapter:  Getting Started \nSubchapter: Setup  \n")
        << ContentFiles{{"getting-started---setup.txt", "{\\rtf1 Found}"}}
        << block("Chapter: Getting Started") + block("Subchapter: Setup") + content("Found");
    QTest::newRow("keywords in other case or form skipped")
        << QByteArray("chapter: x\r\nSub-chapter: y\r\n\tChapter: tab\r\nChapter 1: z\r\nChapter:\r\n")
        << ContentFiles{} << block("Chapter: ");
    QTest::newRow("section without title")
        << QByteArray("Chapter: One\r\nSubchapter:\r\n")
        << ContentFiles{{"one---.txt", "{\\rtf1 Empty title}"}}
        << block("Chapter: One") + block("Subchapter: ") + content("Empty title");
    QTest::newRow("section before any chapter")
        << QByteArray("Subchapter: A\r\nChapter: One\r\n") << ContentFiles{{"---a.txt", "{\\rtf1 Early}"}}
        << block("Subchapter: A") + content("Early") + block("Chapter: One");
    QTest::newRow("shared content file")
        << QByteArray("Chapter: X\r\nSubchapter: A\r\nChapter: X\r\nSubchapter: A\r\n")
        << ContentFiles{{"x---a.txt", "{\\rtf1 Twice}"}}
        << block("Chapter: X") + block("Subchapter: A") + content("Twice") + block("Chapter: X") +
               block("Subchapter: A") + content("Twice");
    QTest::newRow("formatting dropped, paragraphs CR LF")
        << QByteArray("Chapter: One\r\nSubchapter: A\r\n")
        << ContentFiles{{"one---a.txt", "{\\rtf1\\ansi{\\fonttbl{\\f0 Verdana;}}\\f0\\fs20 {\\b Bold} "
                                        "{\\i it}\\par Second}"}}
        << block("Chapter: One") + block("Subchapter: A") + content("Bold it\r\nSecond");
    QTest::newRow("truncated content as far as it reads")
        << QByteArray("Chapter: One\r\nSubchapter: A\r\n") << ContentFiles{{"one---a.txt", "{\\rtf1 Cut sh"}}
        << block("Chapter: One") + block("Subchapter: A") + content("Cut sh");
    QTest::newRow("Windows-1252 table of contents")
        << QByteArray("Chapter: \xC9t\xE9\r\nSubchapter: Caf\xE9\r\n")
        << ContentFiles{{QString::fromUtf8("\u00e9t\u00e9---caf\u00e9.txt"), "{\\rtf1 Yes}"}}
        << block(QString::fromUtf8("Chapter: \u00c9t\u00e9")) +
               block(QString::fromUtf8("Subchapter: Caf\u00e9")) + content("Yes");
    QTest::newRow("slash in a title")
        << QByteArray("Chapter: In/Out\r\nSubchapter: A/B\r\n")
        << ContentFiles{{QString::fromUtf8("in\u2215out---a\u2215b.txt"), "{\\rtf1 Slash}"}}
        << block("Chapter: In/Out") + block("Subchapter: A/B") + content("Slash");
    QTest::newRow("empty content file is an empty section")
        << QByteArray("Chapter: One\r\nSubchapter: A\r\n") << ContentFiles{{"one---a.txt", ""}}
        << block("Chapter: One") + block("Subchapter: A") + content("");
    QTest::newRow("empty table of contents") << QByteArray() << ContentFiles{} << QString();
    QTest::newRow("binary garbage as the table of contents")
        << test::garbage(4096, 4) << ContentFiles{{"one---a.txt", "{\\rtf1 Never}"}} << QString();
    QTest::newRow("NUL bytes in titles")
        << "Chapter: A" + QByteArray(3, '\0') + "B\r\nSubchapter: C\r\n"
        << ContentFiles{}
        << block(QStringLiteral("Chapter: A") + QString(3, QChar(0)) + QStringLiteral("B")) +
               block("Subchapter: C");
    QTest::newRow("1 MB single-line table of contents")
        << "Chapter: " + QByteArray(1 << 20, 'x') << ContentFiles{}
        << block("Chapter: " + QString(1 << 20, u'x'));
    QTest::newRow("10000-level nesting in a content file")
        << QByteArray("Chapter: One\r\nSubchapter: A\r\n")
        << ContentFiles{{"one---a.txt",
                         "{\\rtf1 " + QByteArray(10000, '{') + "Deep" + QByteArray(10000, '}') + "}"}}
        << block("Chapter: One") + block("Subchapter: A") + content("Deep");
}

void tst_BookExport::book()
{
    QFETCH(QByteArray, toc);
    QFETCH(ContentFiles, files);
    QFETCH(QString, text);
    const BookText book = exportProject(toc, files);
    QVERIFY2(book.ok(), qPrintable(book.error));
    QCOMPARE(book.text, text);
}

void tst_BookExport::failures_data()
{
    QTest::addColumn<bool>("deleteToc");
    QTest::addColumn<QByteArray>("contentBytes");
    QTest::newRow("deleted table of contents") << true << QByteArray();
    QTest::newRow("content file not RTF") << false << QByteArray("Just plain text");
    QTest::newRow("content file of binary garbage") << false << test::garbage(64 * 1024, 5);
}

void tst_BookExport::failures()
{
    QFETCH(bool, deleteToc);
    QFETCH(QByteArray, contentBytes);
    QTemporaryDir dir;
    const QString project = dir.filePath("P");
    QVERIFY(test::writeFile(project + "/--toc.txt", "Chapter: One\r\nSubchapter: A\r\nSubchapter: B\r\n"));
    QVERIFY(test::writeFile(project + "/one---a.txt", "{\\rtf1 fine}"));
    QVERIFY(test::writeFile(project + "/one---b.txt", contentBytes));
    if (deleteToc) {
        QVERIFY(QFile::remove(project + "/--toc.txt"));
    }
    const BookText book = buildBookText(project + "/--toc.txt", project);
    QVERIFY(!book.ok());
    QVERIFY(book.text.isEmpty());
}

void tst_BookExport::savedSectionExportsItsText()
{
    // A section as the program saves it comes out as the text the user typed.
    QTextDocument document;
    document.setPlainText(QString::fromUtf8("First paragraph \u00e9\u20ac\nSecond"));
    const QByteArray saved = rtf::writeRtf(document);
    const BookText book = exportProject("Chapter: One\r\nSubchapter: A\r\n", {{"one---a.txt", saved}});
    QVERIFY2(book.ok(), qPrintable(book.error));
    QCOMPARE(book.text, block("Chapter: One") + block("Subchapter: A") +
                            content(QString::fromUtf8("First paragraph \u00e9\u20ac\r\nSecond")));
}

void tst_BookExport::twoExportsIdentical()
{
    QTemporaryDir dir;
    const QString project = dir.filePath("P");
    QVERIFY(test::writeFile(project + "/--toc.txt", "Chapter: One\r\nSubchapter: A\r\nSubchapter: B\r\n"));
    QVERIFY(test::writeFile(project + "/one---a.txt", "{\\rtf1 {\\b A}\\par B}"));
    const BookText first = buildBookText(project + "/--toc.txt", project);
    const BookText second = buildBookText(project + "/--toc.txt", project);
    QVERIFY(first.ok() && second.ok());
    QCOMPARE(second.text, first.text);
    QVERIFY(!first.text.isEmpty());
}

QTEST_GUILESS_MAIN(tst_BookExport)
#include "tst_book_export.moc"
