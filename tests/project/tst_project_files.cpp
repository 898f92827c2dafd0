// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "project/project_files.h"

#include "project/toc.h"
#include "common/test_support.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace folioneer;

namespace {

const QByteArray kBom("\xEF\xBB\xBF");

} // namespace

class tst_ProjectFiles : public QObject {
    Q_OBJECT

private slots:
    void tableOfContents_data();
    void tableOfContents();
    void hugeFileRefusedWithoutReading();
    void missingOrFolder_data();
    void missingOrFolder();
    void mainTopic_data();
    void mainTopic();
};

void tst_ProjectFiles::tableOfContents_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("text"); // checked when ok and not empty

    const QByteArray euro("\xE2\x82\xAC");      // one UTF-16 unit in three bytes
    const QByteArray emoji("\xF0\x9F\x93\x96"); // two UTF-16 units in four bytes

    QTest::newRow("UTF-8") << QByteArray("Chapter: \xC3\x89t\xC3\xA9\r\n") << true
                           << QString::fromUtf8("Chapter: \u00c9t\u00e9\r\n");
    QTest::newRow("UTF-8 with BOM") << kBom + "Chapter: A\r\n" << true << "Chapter: A\r\n";
    QTest::newRow("Windows-1252") << QByteArray("Chapter: Caf\xE9 \x93quoted\x94 \x80\r\n") << true
                                  << QString::fromUtf8("Chapter: Caf\u00e9 \u201cquoted\u201d \u20ac\r\n");
    QTest::newRow("32767 ASCII") << QByteArray(32767, 'a') << true << QString();
    QTest::newRow("32768 ASCII") << QByteArray(32768, 'a') << false << QString();
    QTest::newRow("BOM not counted") << kBom + QByteArray(32767, 'a') << true << QString();
    QTest::newRow("32767 three-byte characters") << euro.repeated(32767) << true << QString();
    QTest::newRow("32768 three-byte characters") << euro.repeated(32768) << false << QString();
    QTest::newRow("32767 code units with pairs") << emoji.repeated(16383) + "a" << true << QString();
    QTest::newRow("32768 code units with pairs") << emoji.repeated(16384) << false << QString();
    QTest::newRow("32767 Windows-1252 bytes") << QByteArray(32766, 'a') + "\xE9" << true << QString();
    QTest::newRow("32768 Windows-1252 bytes") << QByteArray(32767, 'a') + "\xE9" << false << QString();
    QTest::newRow("empty file") << QByteArray() << true << QString();
}

void tst_ProjectFiles::tableOfContents()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, ok);
    QFETCH(QString, text);
    QTemporaryDir dir;
    QVERIFY(test::writeFile(dir.filePath("--toc.txt"), bytes));
    const ResultOf<QString> read = readTableOfContents(dir.path());
    QCOMPARE(read.ok(), ok);
    if (!ok) {
        QVERIFY(read.value().isEmpty());
        return;
    }
    QVERIFY(read.value().size() <= kMaxTocCharacters);
    if (!text.isEmpty()) {
        QCOMPARE(read.value(), text);
    }
}

void tst_ProjectFiles::hugeFileRefusedWithoutReading()
{
    QTemporaryDir dir;
    QFile file(dir.filePath("--toc.txt"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    QVERIFY(file.resize(qint64(8) << 30)); // sparse: 8 GiB that take no disk space
    file.close();
    QElapsedTimer timer;
    timer.start();
    QVERIFY(!readTableOfContents(dir.path()).ok());
    QVERIFY2(timer.elapsed() < test::timeBudgetMs(1000), "the file was read instead of refused by its size");
}

void tst_ProjectFiles::missingOrFolder_data()
{
    QTest::addColumn<bool>("asFolder");
    QTest::newRow("missing") << false;
    QTest::newRow("folder of that name") << true;
}

void tst_ProjectFiles::missingOrFolder()
{
    QFETCH(bool, asFolder);
    QTemporaryDir dir;
    if (asFolder) {
        QVERIFY(QDir(dir.path()).mkdir("--toc.txt"));
        QVERIFY(QDir(dir.path()).mkdir("--maintopic.txt"));
    }
    const ResultOf<QString> toc = readTableOfContents(dir.path());
    const ResultOf<QString> topic = readMainTopic(dir.path());
    QVERIFY(!toc.ok());
    QVERIFY(!toc.reason().isEmpty());
    QVERIFY(!topic.ok());
}

void tst_ProjectFiles::mainTopic_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");

    QTest::newRow("final CR LF kept") << QByteArray("Gardening\r\n") << "Gardening\r\n";
    QTest::newRow("UTF-8 with BOM") << kBom + "Jard\xC3\xADn\r\n" << QString::fromUtf8("Jard\u00edn\r\n");
    QTest::newRow("Windows-1252") << QByteArray("Jard\xEDn\r\n") << QString::fromUtf8("Jard\u00edn\r\n");
    QTest::newRow("long topic not limited") << QByteArray(40000, 'x') << QString(40000, QLatin1Char('x'));
}

void tst_ProjectFiles::mainTopic()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QTemporaryDir dir;
    QVERIFY(test::writeFile(dir.filePath("--maintopic.txt"), bytes));
    const ResultOf<QString> read = readMainTopic(dir.path());
    QVERIFY(read.ok());
    QCOMPARE(read.value(), text);
}

QTEST_GUILESS_MAIN(tst_ProjectFiles)
#include "tst_project_files.moc"
