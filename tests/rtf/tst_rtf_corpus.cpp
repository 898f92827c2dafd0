// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "rtf/rtf.h"

#include "common/test_support.h"

#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QTextDocument>
#include <QtTest>

using namespace folioneer;
using namespace folioneer::rtf;

// Files written by other programs: the plain text of the files LibreOffice, pandoc and
// rich-text controls wrote must match golden files byte for byte, and the third-party corpus
// must read without crash, in bounded time, with the same words LibreOffice finds apart from
// a listed set of expected differences.
class tst_RtfCorpus : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void goldenPlainText_data();
    void goldenPlainText();
    void realWorld_data();
    void realWorld();
    void everyExpectedDifferenceIsUsed();

private:
    struct Difference {
        QStringList ours;
        QStringList theirs;
    };
    QString m_corpus;
    QHash<QString, QList<Difference>> m_differences;
    QSet<QString> m_usedDifferences;
};

namespace {

QStringList words(QString text)
{
    if (text.startsWith(QChar(0xFEFF))) {
        text.remove(0, 1);
    }
    text = text.normalized(QString::NormalizationForm_C);
    QStringList out;
    qsizetype start = -1;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        const bool space = i == text.size() || text[i].isSpace();
        if (space && start >= 0) {
            out.append(text.mid(start, i - start));
            start = -1;
        } else if (!space && start < 0) {
            start = i;
        }
    }
    return out;
}

// Reads a file through both paths and checks that they agree; returns the plain text.
PlainText readBothWays(const QByteArray& rtf)
{
    const PlainText plain = plainTextFromRtf(rtf);
    QTextDocument document;
    const ReadStatus status = readRtf(rtf, document);
    [&] {
        QCOMPARE(status, plain.status);
        if (status != ReadStatus::NotRtf) {
            QCOMPARE(plainTextOfDocument(document), plain.text);
        }
    }();
    return plain;
}

} // namespace

void tst_RtfCorpus::initTestCase()
{
    const QString shared = test::sharedDir();
    m_corpus = shared + QStringLiteral("/rtf-corpus");
    FOLIONEER_REQUIRE_SHARED_FOLDER(m_corpus);
    const QString table = QString::fromUtf8(
        test::readFile(test::sourceDir() + QStringLiteral("/tests/data/rtf/real-world-differences.tsv")));
    QVERIFY(!table.isEmpty());
    for (const QString& line : table.split(u'\n')) {
        if (line.isEmpty() || line.startsWith(u'#')) {
            continue;
        }
        const QStringList fields = line.split(u'\t');
        QCOMPARE(fields.size(), 4);
        QVERIFY2(!fields[3].trimmed().isEmpty(), qPrintable(line));
        m_differences[fields[0]].append(Difference{words(fields[2]), words(fields[1])});
    }
}

void tst_RtfCorpus::goldenPlainText_data()
{
    QTest::addColumn<QString>("file");
    QDirIterator it(m_corpus + QStringLiteral("/rtf"), {QStringLiteral("*.rtf")}, QDir::Files);
    QStringList files;
    while (it.hasNext()) {
        files.append(it.next());
    }
    files.sort();
    QCOMPARE(files.size(), 23);
    for (const QString& file : files) {
        QTest::newRow(qPrintable(QFileInfo(file).completeBaseName())) << file;
    }
}

void tst_RtfCorpus::goldenPlainText()
{
    QFETCH(QString, file);
    const QString name = QFileInfo(file).completeBaseName();
    const QByteArray golden =
        test::readFile(test::sourceDir() + QStringLiteral("/tests/data/rtf/golden/%1.txt").arg(name));
    QVERIFY2(!golden.isEmpty(), qPrintable(name));

    const PlainText plain = readBothWays(test::readFile(file));
    QCOMPARE(plain.status, name.contains(QLatin1String("unclosed")) ? ReadStatus::Truncated : ReadStatus::Ok);
    QCOMPARE(plain.text.toUtf8(), golden);
}

void tst_RtfCorpus::realWorld_data()
{
    QTest::addColumn<QString>("file");
    const QString root = m_corpus + QStringLiteral("/real-world/");
    QDirIterator it(root, {QStringLiteral("*.rtf")}, QDir::Files, QDirIterator::Subdirectories);
    QStringList files;
    while (it.hasNext()) {
        files.append(it.next().mid(root.size()));
    }
    files.sort();
    QCOMPARE(files.size(), 125);
    for (const QString& file : files) {
        QTest::newRow(qPrintable(file)) << file;
    }
}

void tst_RtfCorpus::realWorld()
{
    QFETCH(QString, file);
    const QByteArray rtf = test::readFile(m_corpus + QStringLiteral("/real-world/") + file);
    QElapsedTimer timer;
    timer.start();
    const PlainText plain = readBothWays(rtf);
    if (QTest::currentTestFailed()) {
        return;
    }
    QVERIFY2(timer.elapsed() < test::timeBudgetMs(5000),
             qPrintable(QStringLiteral("%1 ms").arg(timer.elapsed())));

    const QString textFile =
        m_corpus + QStringLiteral("/real-world-text/") + file.chopped(4) + QStringLiteral(".txt");
    if (!QFileInfo::exists(textFile)) {
        return; // LibreOffice refused it: only the properties above apply
    }
    QStringList expected = words(QString::fromUtf8(test::readFile(textFile)));
    const auto differences = m_differences.value(file);
    qsizetype from = 0;
    for (qsizetype n = 0; n < differences.size(); ++n) {
        const Difference& d = differences[n];
        qsizetype at = -1;
        if (d.theirs.isEmpty()) {
            at = expected.isEmpty() ? 0 : -1;
        } else {
            for (qsizetype i = from; i + d.theirs.size() <= expected.size() && at < 0; ++i) {
                if (expected.mid(i, d.theirs.size()) == d.theirs) {
                    at = i;
                }
            }
        }
        QVERIFY2(at >= 0, qPrintable(QStringLiteral("difference %1 of %2 not found").arg(n + 1).arg(file)));
        expected.remove(at, d.theirs.size());
        for (qsizetype k = 0; k < d.ours.size(); ++k) {
            expected.insert(at + k, d.ours[k]);
        }
        from = at + d.ours.size();
        m_usedDifferences.insert(file);
    }
    const QStringList ours = words(plain.text);
    if (ours != expected) {
        qsizetype i = 0;
        while (i < ours.size() && i < expected.size() && ours[i] == expected[i]) {
            ++i;
        }
        QFAIL(qPrintable(QStringLiteral("words differ at %1: ours \"%2\", LibreOffice \"%3\"")
                             .arg(i)
                             .arg(ours.mid(i, 5).join(u' '), expected.mid(i, 5).join(u' '))));
    }
}

void tst_RtfCorpus::everyExpectedDifferenceIsUsed()
{
    for (auto it = m_differences.cbegin(); it != m_differences.cend(); ++it) {
        QVERIFY2(m_usedDifferences.contains(it.key()), qPrintable(it.key()));
    }
}

QTEST_MAIN(tst_RtfCorpus)
#include "tst_rtf_corpus.moc"
