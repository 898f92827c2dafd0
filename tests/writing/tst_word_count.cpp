// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "rtf/rtf.h"
#include "writing/word_count.h"

#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>
#include <QTextTable>
#include <QtTest>

using namespace folioneer;

class tst_WordCount : public QObject {
    Q_OBJECT
private slots:
    void rule_data();
    void rule();
    void listsAndTablesInDocumentAndFile_data();
    void listsAndTablesInDocumentAndFile();
};

void tst_WordCount::rule_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<qsizetype>("words");
    QTest::newRow("hyphenated") << "well-known" << qsizetype(1);
    QTest::newRow("curly apostrophe") << QString::fromUtf8("don’t") << qsizetype(1);
    QTest::newRow("abbreviation") << "U.S.A." << qsizetype(1);
    QTest::newRow("web address") << "http://x.org/a-b" << qsizetype(1);
    QTest::newRow("Han") << QString::fromUtf8("中文字数统计") << qsizetype(6);
    QTest::newRow("Cyrillic with punctuation") << QString::fromUtf8("Привет, как дела?") << qsizetype(3);
    QTest::newRow("kana and Latin mixed") << QString::fromUtf8("ひらがなカタ abc") << qsizetype(7);
    QTest::newRow("punctuation alone") << "-- ... \u2022 | +--+" << qsizetype(0);
    QTest::newRow("digits") << "In 1984, 3.5%" << qsizetype(3);
    QTest::newRow("any white space") << QString::fromUtf8("a\tb\r\nc\u2029d\u00a0e") << qsizetype(5);
    QTest::newRow("empty") << "" << qsizetype(0);
}

void tst_WordCount::rule()
{
    QFETCH(QString, text);
    QFETCH(qsizetype, words);
    QCOMPARE(countWords(text), words);
}

void tst_WordCount::listsAndTablesInDocumentAndFile_data()
{
    QTest::addColumn<QTextListFormat::Style>("style");
    QTest::newRow("numbered list") << QTextListFormat::ListDecimal;
    QTest::newRow("lettered list") << QTextListFormat::ListLowerAlpha;
    QTest::newRow("roman list") << QTextListFormat::ListUpperRoman;
}

void tst_WordCount::listsAndTablesInDocumentAndFile()
{
    QFETCH(QTextListFormat::Style, style);
    QTextDocument document;
    QTextCursor cursor(&document);
    cursor.insertText(QStringLiteral("Two words"));
    cursor.insertBlock();
    QTextList* list = cursor.createList(style);
    cursor.insertText(QStringLiteral("first item"));
    cursor.insertBlock();
    cursor.insertText(QStringLiteral("second"));
    list->add(cursor.block());
    cursor.insertBlock();
    cursor.setBlockFormat(QTextBlockFormat());
    QTextTable* table = cursor.insertTable(1, 3);
    table->cellAt(0, 0).firstCursorPosition().insertText(QStringLiteral("cell"));
    table->cellAt(0, 2).firstCursorPosition().insertText(QStringLiteral("another cell"));

    // The markers ("1.", "a.", "I.") and the cell borders are not words, live or from the file.
    QCOMPARE(countDocumentWords(document), qsizetype(8));
    const rtf::PlainText saved = rtf::plainTextFromRtf(rtf::writeRtf(document), rtf::ListMarkers::Left);
    QVERIFY(saved.ok());
    QCOMPARE(countWords(saved.text), qsizetype(8));
}

QTEST_GUILESS_MAIN(tst_WordCount)
#include "tst_word_count.moc"
