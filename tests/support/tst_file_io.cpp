// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/file_io.h"

#include "common/test_support.h"
#include "support/step_hook.h"
#include "support/text_codec.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace folioneer;
using folioneer::test::FileSizeLimit;

namespace {

QStringList entriesOf(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                                  QDir::Name);
}

} // namespace

class tst_FileIo : public QObject {
    Q_OBJECT

private slots:
    void decodeText_data();
    void decodeText();
    void encodeTextHasNoBom();
    void writeReplacesAtomically();
    void writeFailures_data();
    void writeFailures();
    void readWholeFile_data();
    void readWholeFile();
};

void tst_FileIo::decodeText_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");

    QTest::newRow("ASCII") << QByteArray("abc\r\n") << "abc\r\n";
    QTest::newRow("UTF-8") << QByteArray("\xC3\xA9\xE2\x82\xAC\xF0\x9F\x93\x96")
                           << QString::fromUtf8("\u00e9\u20ac\U0001F4D6");
    QTest::newRow("BOM skipped") << QByteArray("\xEF\xBB\xBFx") << "x";
    QTest::newRow("only a BOM") << QByteArray("\xEF\xBB\xBF") << "";
    QTest::newRow("second BOM kept") << QByteArray("\xEF\xBB\xBF\xEF\xBB\xBFx")
                                     << QString(QChar(0xFEFF)) + "x";
    QTest::newRow("Windows-1252") << QByteArray("\x80\x85\x93\x94\x99\xE9\xFF")
                                  << QString::fromUtf8("\u20ac\u2026\u201c\u201d\u2122\u00e9\u00ff");
    QTest::newRow("unassigned 1252 bytes kept")
        << QByteArray("\x81\x8D\x8F\x90\x9D") << QString::fromUtf8("\u0081\u008d\u008f\u0090\u009d");
    // One invalid byte makes the whole file Windows-1252: no mixture of both.
    QTest::newRow("UTF-8 with one stray byte")
        << QByteArray("\xC3\xA9 \xE9") << QString::fromUtf8("\u00c3\u00a9 \u00e9");
    QTest::newRow("BOM then invalid")
        << QByteArray("\xEF\xBB\xBF\xE9") << QString::fromUtf8("\u00ef\u00bb\u00bf\u00e9");
    QTest::newRow("NUL kept") << QByteArray("a\0b", 3) << QString("a") + QChar(0) + "b";
}

void tst_FileIo::decodeText()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QCOMPARE(folioneer::decodeText(bytes), text);
}

void tst_FileIo::encodeTextHasNoBom()
{
    QCOMPARE(encodeText(QString::fromUtf8("\u00e9\r\n")), QByteArray("\xC3\xA9\r\n"));
    QCOMPARE(encodeText(QString()), QByteArray());
}

void tst_FileIo::writeReplacesAtomically()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("content.txt");
    QVERIFY(test::writeFile(path, "old"));
    const QByteArray data(200 * 1024 + 7, 'n');
    QList<qint64> reported;
    setStepHook([&](const Step& step) {
        QCOMPARE(QByteArray(step.kind), QByteArray("write-chunk"));
        reported.append(step.bytesWritten);
        // While the save runs, the target still holds the old content whole.
        QCOMPARE(test::readFile(path), QByteArray("old"));
    });
    const Result status = writeFileAtomically(path, data);
    setStepHook({});
    QVERIFY2(status.ok(), qPrintable(status.reason()));
    QCOMPARE(test::readFile(path), data);
    QCOMPARE(reported.size(), 4);
    QCOMPARE(reported.last(), data.size());
    QVERIFY(std::is_sorted(reported.begin(), reported.end()));
    QCOMPARE(entriesOf(dir.path()), QStringList{"content.txt"});

    const QString fresh = dir.filePath("new.txt");
    QVERIFY(writeFileAtomically(fresh, "").ok());
    QVERIFY(QFile::exists(fresh));
    QCOMPARE(QFile(fresh).size(), 0);
}

void tst_FileIo::writeFailures_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("read-only file") << "read-only";
    QTest::newRow("missing folder") << "missing folder";
    QTest::newRow("folder in the way") << "folder";
    QTest::newRow("file-size limit") << "size limit";
}

void tst_FileIo::writeFailures()
{
    QFETCH(QString, kind);
    QTemporaryDir dir;
    QString path = dir.filePath("content.txt");
    const QByteArray old("old content");
    const QByteArray data(300 * 1024, 'n');
    Result status;
    if (kind == "read-only") {
        QVERIFY(test::writeFile(path, old));
        QVERIFY(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadGroup));
        QVERIFY(isReadOnlyFile(path));
        status = writeFileAtomically(path, data);
    } else if (kind == "missing folder") {
        path = dir.filePath("gone/content.txt");
        status = writeFileAtomically(path, data);
    } else if (kind == "folder") {
        QVERIFY(QDir(dir.path()).mkdir("content.txt"));
        status = writeFileAtomically(path, data);
    } else {
        QVERIFY(test::writeFile(path, old));
        const FileSizeLimit limit(100 * 1024);
        status = writeFileAtomically(path, data);
    }
    QVERIFY(!status.ok());
    QVERIFY(!status.reason().isEmpty());
    if (kind == "read-only" || kind == "size limit") {
        QCOMPARE(test::readFile(path), old);
        QCOMPARE(entriesOf(dir.path()), QStringList{"content.txt"}); // no temporary file left
    }
    if (kind == "missing folder") {
        QVERIFY(!QFile::exists(dir.filePath("gone")));
    }
}

void tst_FileIo::readWholeFile_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("ok");
    QTest::newRow("within the limit") << "small" << true;
    QTest::newRow("over the limit") << "large" << false;
    QTest::newRow("missing") << "missing" << false;
    QTest::newRow("folder") << "folder" << false;
    QTest::newRow("named pipe is not read") << "fifo" << false;
}

void tst_FileIo::readWholeFile()
{
    QFETCH(QString, kind);
    QFETCH(bool, ok);
    QTemporaryDir dir;
    const QString path = dir.filePath("f");
    if (kind == "small") {
        QVERIFY(test::writeFile(path, "0123456789"));
    } else if (kind == "large") {
        QVERIFY(test::writeFile(path, "01234567890"));
    } else if (kind == "folder") {
        QVERIFY(QDir(dir.path()).mkdir("f"));
    } else if (kind == "fifo") {
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0644), 0);
    }
    const ResultOf<QByteArray> read = folioneer::readWholeFile(path, 10);
    QCOMPARE(read.ok(), ok);
    QCOMPARE(read.value(), ok ? QByteArray("0123456789") : QByteArray());
}

QTEST_GUILESS_MAIN(tst_FileIo)
#include "tst_file_io.moc"
