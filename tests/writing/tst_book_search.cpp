// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/test_support.h"
#include "writing/book_search.h"

#include <QDateTime>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace folioneer;

namespace {

QByteArray rtfOf(const char* text)
{
    return QByteArray("{\\rtf1\\ansi ") + text + "\\par}";
}

// A small book: two chapters, three sections with content files and one without.
struct Book {
    QTemporaryDir dir;
    QList<BookChapter> chapters;

    Book()
    {
        auto path = [this](const char* name) { return dir.filePath(QString::fromLatin1(name)); };
        test::writeFile(path("a1.rtf"), rtfOf("The Harbour at dawn. The harbour wall."));
        test::writeFile(path("a2.rtf"), rtfOf("Boats and harbours\\par Fishing nets"));
        test::writeFile(path("b1.rtf"), rtfOf("Nothing here about it at all"));
        chapters = {
            {QStringLiteral("Harbour Life"),
             {{QStringLiteral("Morning"), path("a1.rtf")}, {QStringLiteral("Boats"), path("a2.rtf")}}},
            {QStringLiteral("Inland"),
             {{QStringLiteral("The harbour road"), path("b1.rtf")},
              {QStringLiteral("Empty"), path("none.rtf")}}}};
    }
    void rewrite(const char* name, const QByteArray& bytes, int secondsLater)
    {
        const QString file = dir.filePath(QString::fromLatin1(name));
        const QDateTime before = QFileInfo(file).lastModified();
        test::writeFile(file, bytes);
        // A fresh time stamp even when the test runs within one tick of the file system clock.
        QFile touched(file);
        QVERIFY(touched.open(QIODevice::ReadWrite));
        QVERIFY(touched.setFileTime(before.addSecs(secondsLater), QFileDevice::FileModificationTime));
    }
};

QStringList lines(const Book& book, const BookSearchResult& result)
{
    QStringList out;
    for (const BookHit& hit : result.hits) {
        out.append(hitLine(book.chapters, hit) + QStringLiteral(" #") + QString::number(hit.matchIndex));
    }
    return out;
}

} // namespace

class tst_BookSearch : public QObject {
    Q_OBJECT
private slots:
    void findInText_data();
    void findInText();
    void hitsInTitlesAndTexts_data();
    void hitsInTitlesAndTexts();
    void openSectionSearchedInItsUnsavedText();
    void countsFollowEditsSavesAndChangesOnDisk();
    void manyHitsAreCut();
};

void tst_BookSearch::findInText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("query");
    QTest::addColumn<bool>("matchCase");
    QTest::addColumn<bool>("wholeWords");
    QTest::addColumn<QList<qsizetype>>("starts");
    QTest::newRow("any case") << "Cat cat CAT"
                              << "cat" << false << false << QList<qsizetype>{0, 4, 8};
    QTest::newRow("match case") << "Cat cat CAT"
                                << "cat" << true << false << QList<qsizetype>{4};
    QTest::newRow("inside words") << "concat cats cat"
                                  << "cat" << false << false << QList<qsizetype>{3, 7, 12};
    QTest::newRow("whole words") << "concat cats cat_x cat."
                                 << "cat" << false << true << QList<qsizetype>{18};
    QTest::newRow("not overlapping") << "aaaa"
                                     << "aa" << false << false << QList<qsizetype>{0, 2};
    QTest::newRow("whole word after a failed try") << "aab ab"
                                                   << "ab" << false << true << QList<qsizetype>{4};
    QTest::newRow("non-Latin case") << QString::fromUtf8("Straße STRASSE straße")
                                    << QString::fromUtf8("STRAßE") << false << false
                                    << QList<qsizetype>{0, 15};
    QTest::newRow("empty query") << "abc"
                                 << "" << false << false << QList<qsizetype>{};
}

void tst_BookSearch::findInText()
{
    QFETCH(QString, text);
    QFETCH(QString, query);
    QFETCH(bool, matchCase);
    QFETCH(bool, wholeWords);
    QFETCH(QList<qsizetype>, starts);
    QList<qsizetype> found;
    for (const TextMatch& match : findAll(text, query, {matchCase, wholeWords})) {
        QCOMPARE(match.length, query.size());
        found.append(match.start);
    }
    QCOMPARE(found, starts);
}

void tst_BookSearch::hitsInTitlesAndTexts_data()
{
    QTest::addColumn<QString>("query");
    QTest::addColumn<bool>("matchCase");
    QTest::addColumn<bool>("wholeWords");
    QTest::addColumn<QStringList>("hits");
    QTest::newRow("any case, inside words")
        << "harbour" << false << false
        << QStringList{"Harbour Life #0",
                       QString::fromUtf8("Harbour Life › Morning: The Harbour at dawn. The harbour wall. #0"),
                       QString::fromUtf8("Harbour Life › Morning: The Harbour at dawn. The harbour wall. #1"),
                       QString::fromUtf8("Harbour Life › Boats: Boats and harbours Fishing nets #0"),
                       QString::fromUtf8("Inland › The harbour road #0")};
    QTest::newRow("match case")
        << "Harbour" << true << false
        << QStringList{
               "Harbour Life #0",
               QString::fromUtf8("Harbour Life › Morning: The Harbour at dawn. The harbour wall. #0")};
    QTest::newRow("whole words") << "harbours" << false << true
                                 << QStringList{QString::fromUtf8(
                                        "Harbour Life › Boats: Boats and harbours Fishing nets #0")};
    QTest::newRow("section title and its text")
        << "boats" << false << true
        << QStringList{QString::fromUtf8("Harbour Life › Boats #0"),
                       QString::fromUtf8("Harbour Life › Boats: Boats and harbours Fishing nets #0")};
    QTest::newRow("nowhere") << "submarine" << false << false << QStringList{};
}

void tst_BookSearch::hitsInTitlesAndTexts()
{
    QFETCH(QString, query);
    QFETCH(bool, matchCase);
    QFETCH(bool, wholeWords);
    QFETCH(QStringList, hits);
    Book book;
    BookTextCache cache;
    QCOMPARE(lines(book, searchBook(book.chapters, cache, query, {matchCase, wholeWords}, nullptr)), hits);
}

void tst_BookSearch::openSectionSearchedInItsUnsavedText()
{
    Book book;
    BookTextCache cache;
    const OpenSectionText open{book.chapters[1].sections[0].contentPath,
                               QStringLiteral("Now a harbour here\u2029and another harbour"), 7};
    const BookSearchResult result =
        searchBook(book.chapters, cache, QStringLiteral("harbour"), {true, true}, &open);
    QCOMPARE(lines(book, result),
             (QStringList{
                 QString::fromUtf8("Harbour Life › Morning: The Harbour at dawn. The harbour wall. #0"),
                 QString::fromUtf8("Inland › The harbour road #0"),
                 QString::fromUtf8("Inland › The harbour road: Now a harbour here and another harbour #0"),
                 QString::fromUtf8("Inland › The harbour road: Now a harbour here and another harbour #1")}));

    const QString longText = QString(100, u'x') + QStringLiteral(" needle ") + QString(100, u'y');
    QCOMPARE(matchContext(longText, {101, 6}, 10), QString::fromUtf8("…xxxxxxxxx needle yyyyyyyyy…"));
}

void tst_BookSearch::countsFollowEditsSavesAndChangesOnDisk()
{
    Book book;
    BookTextCache cache;
    BookCounts counts = countBook(book.chapters, cache, nullptr);
    QCOMPARE(counts.chapters, (QList<qsizetype>{12, 6}));
    QCOMPARE(counts.book, qsizetype(18));

    // Counted again without reading a file.
    QCOMPARE(cache.refresh(book.chapters), 0);

    // The open section's unsaved text stands in for its file.
    const OpenSectionText edited{book.chapters[0].sections[1].contentPath, {}, 10};
    counts = countBook(book.chapters, cache, &edited);
    QCOMPARE(counts.chapters, (QList<qsizetype>{17, 6}));
    QCOMPARE(counts.book, qsizetype(23));

    // A save (or another program) changes a file: only that file is read again.
    book.rewrite("b1.rtf", rtfOf("Short now"), 5);
    QCOMPARE(cache.refresh(book.chapters), 1);
    QCOMPARE(countBook(book.chapters, cache, nullptr).chapters, (QList<qsizetype>{12, 2}));
    // The same size but a new time stamp is a change too.
    book.rewrite("b1.rtf", rtfOf("Brief too"), 10);
    QCOMPARE(cache.refresh(book.chapters), 1);
    QCOMPARE(cache.entry(book.chapters[1].sections[0].contentPath)->text, QStringLiteral("Brief too"));
    // A section whose file appears is counted; one that is not RTF counts nothing.
    test::writeFile(book.chapters[1].sections[1].contentPath, rtfOf("Now it exists"));
    book.rewrite("a1.rtf", "not an RTF file at all", 5);
    counts = countBook(book.chapters, cache, nullptr);
    QCOMPARE(counts.chapters, (QList<qsizetype>{5, 5}));
}

void tst_BookSearch::manyHitsAreCut()
{
    Book book;
    BookTextCache cache;
    const BookSearchResult result = searchBook(book.chapters, cache, QStringLiteral("a"), {}, nullptr, 3);
    QCOMPARE(result.hits.size(), 3);
    QVERIFY(result.truncated);
}

QTEST_GUILESS_MAIN(tst_BookSearch)
#include "tst_book_search.moc"
