// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QTest>

#include <algorithm>

// The program folder the build lays out: everything the program reads at run time is there and
// readable the way the program reads it.
class TestProgramFolder : public QObject {
    Q_OBJECT

private slots:
    void layoutIsComplete_data();
    void layoutIsComplete();
    void iconsLoadAtEverySize_data();
    void iconsLoadAtEverySize();

private:
    QString m_program = qEnvironmentVariable("FOLIONEER_PROGRAM_DIR");
};

void TestProgramFolder::layoutIsComplete_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("folder");
    QTest::newRow("executable") << QStringLiteral("folioneer") << false;
    QTest::newRow("projects") << QStringLiteral("projects") << true;
    QTest::newRow("catalogue") << QStringLiteral("prompts/0") << true;
    QTest::newRow("contents prompt template") << QStringLiteral("templates/prompt.txt") << false;
    QTest::newRow("sequel prompt template") << QStringLiteral("templates/prompt-publicdomain.txt") << false;
    QTest::newRow("folder icon") << QStringLiteral("folder.ico") << false;
    QTest::newRow("blank icon") << QStringLiteral("blank.ico") << false;
    QTest::newRow("document icon") << QStringLiteral("document.ico") << false;
}

void TestProgramFolder::layoutIsComplete()
{
    QFETCH(QString, path);
    QFETCH(bool, folder);
    const QFileInfo info(m_program + QLatin1Char('/') + path);
    QVERIFY2(info.exists(), qPrintable(info.filePath()));
    QCOMPARE(info.isDir(), folder);
    if (path == QLatin1String("folioneer")) {
        QVERIFY(info.isExecutable());
    } else if (!folder) {
        QVERIFY(info.size() > 0);
    }
}

void TestProgramFolder::iconsLoadAtEverySize_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("folder") << QStringLiteral("folder.ico");
    QTest::newRow("blank") << QStringLiteral("blank.ico");
    QTest::newRow("document") << QStringLiteral("document.ico");
}

void TestProgramFolder::iconsLoadAtEverySize()
{
    QFETCH(QString, name);
    QImageReader reader(m_program + QLatin1Char('/') + name);
    QCOMPARE(reader.format(), QByteArray("ico"));
    QList<int> sizes;
    do {
        const QImage image = reader.read();
        QVERIFY2(!image.isNull(), qPrintable(reader.errorString()));
        QCOMPARE(image.width(), image.height());
        sizes.append(image.width());
        // A drawn shape on a transparent ground: the corner shows the tree's background, the
        // middle is opaque.
        QVERIFY(image.hasAlphaChannel());
        QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
        QCOMPARE(qAlpha(image.pixel(image.width() / 2, image.height() / 2)), 255);
    } while (reader.jumpToNextImage());
    std::sort(sizes.begin(), sizes.end());
    QCOMPARE(sizes, (QList<int>{16, 24, 32, 48}));
}

QTEST_GUILESS_MAIN(TestProgramFolder)
#include "tst_program_folder.moc"
