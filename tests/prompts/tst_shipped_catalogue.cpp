// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/test_support.h"
#include "project/toc.h"
#include "prompts/catalogue.h"
#include "support/lines.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QStringDecoder>
#include <QTest>

using namespace folioneer;

namespace {

// The data files that ship in the program folder, read from the source tree.
QString dataDir()
{
    return test::sourceDir() + QStringLiteral("/data");
}

// Strict UTF-8 check: Qt's decoder reports any malformed sequence.
bool isValidUtf8(const QByteArray& bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    [[maybe_unused]] const QString text = decoder.decode(bytes);
    return !decoder.hasError();
}

// The first line end that is not part of a CR LF pair, or -1.
qsizetype firstBareLineEnd(const QByteArray& bytes)
{
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes.at(i) == '\r' && (i + 1 >= bytes.size() || bytes.at(i + 1) != '\n')) {
            return i;
        }
        if (bytes.at(i) == '\n' && (i == 0 || bytes.at(i - 1) != '\r')) {
            return i;
        }
    }
    return -1;
}

} // namespace

class tst_ShippedCatalogue : public QObject {
    Q_OBJECT

private slots:
    void textFile_data();
    void textFile();
    void catalogueFolder();
    void titleIdeas_data();
    void titleIdeas();
    void promptTemplate_data();
    void promptTemplate();
};

void tst_ShippedCatalogue::textFile_data()
{
    QTest::addColumn<QString>("path");
    QDirIterator it(dataDir(), {QStringLiteral("*.txt")}, QDir::Files, QDirIterator::Subdirectories);
    int rows = 0;
    while (it.hasNext()) {
        const QString path = it.next();
        QTest::newRow(qPrintable(path.mid(dataDir().size() + 1))) << path;
        ++rows;
    }
    QVERIFY2(rows > 0, "no shipped text files found under data/");
}

void tst_ShippedCatalogue::textFile()
{
    QFETCH(QString, path);
    QFile file(path);
    QVERIFY2(file.open(QIODevice::ReadOnly), "not readable");
    const QByteArray bytes = file.readAll();
    QVERIFY2(!bytes.isEmpty(), "empty file");
    QVERIFY2(!bytes.startsWith("\xEF\xBB\xBF"), "starts with a byte-order mark");
    QVERIFY2(isValidUtf8(bytes), "not valid UTF-8");
    const qsizetype bare = firstBareLineEnd(bytes);
    QVERIFY2(bare < 0, qPrintable(QStringLiteral("line end without its CR LF pair at byte %1").arg(bare)));
    QVERIFY2(bytes.endsWith("\r\n"), "last line has no CR LF");
    QVERIFY2(!bytes.contains('\0') && !bytes.contains('\t'), "holds a NUL or tab byte");
}

void tst_ShippedCatalogue::catalogueFolder()
{
    // Read as the program reads it.
    const QStringList titles = catalogueTitles(dataDir());
    QVERIFY2(titles.size() >= 25, qPrintable(QStringLiteral("only %1 titles").arg(titles.size())));

    // Each entry of the folder is found again from its listed title: no ".txt" inside a title,
    // no other kind of file, no sub-folder, no title listed twice.
    QStringList files =
        QDir(dataDir() + QStringLiteral("/prompts/0")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    QStringList expected;
    for (const QString& title : titles) {
        expected.append(QFileInfo(titleFilePath(dataDir(), title)).fileName());
    }
    files.sort();
    expected.sort();
    QCOMPARE(expected, files);

    // Characters no Windows file name may hold, so the catalogue can be copied to any system.
    static const QRegularExpression forbidden(QStringLiteral(R"([<>:"/\\|?*\x00-\x1F])"));
    for (const QString& title : titles) {
        QVERIFY2(!title.contains(forbidden), qPrintable(title));
        QVERIFY2(title == title.trimmed() && !title.endsWith(QLatin1Char('.')), qPrintable(title));
    }

    // An override beside the program would replace both templates for every user.
    QVERIFY(!QFileInfo::exists(dataDir() + QStringLiteral("/prompt.txt")));
}

void tst_ShippedCatalogue::titleIdeas_data()
{
    QTest::addColumn<QString>("title");
    for (const QString& title : catalogueTitles(dataDir())) {
        QTest::newRow(qPrintable(title)) << title;
    }
}

void tst_ShippedCatalogue::titleIdeas()
{
    QFETCH(QString, title);
    const QString path = titleFilePath(dataDir(), title);
    const QStringList lines = splitAtAnyLineEnd(QString::fromUtf8(test::readFile(path)));
    const QStringList entries = readCatalogueEntries(path);
    QCOMPARE(entries.size(), lines.size()); // no empty lines between the ideas
    QVERIFY2(entries.size() >= 12, qPrintable(QStringLiteral("only %1 ideas").arg(entries.size())));

    QSet<QString> seen;
    for (qsizetype i = 0; i < entries.size(); ++i) {
        const QString prefix = QString::number(i + 1) + QStringLiteral(". ");
        const QString& entry = entries.at(i);
        QVERIFY2(entry.startsWith(prefix),
                 qPrintable(QStringLiteral("not numbered %1: %2").arg(prefix, entry)));
        const QString idea = entry.mid(prefix.size());
        QVERIFY2(idea.size() >= 20 && idea == idea.trimmed(), qPrintable(entry));
        // The sequel sentence strips every "<number>. " anywhere in the entry, so an idea must
        // hold none of its own or it would lose words when it is used.
        QCOMPARE(removeNumbering(entry), idea);
        QVERIFY2(!seen.contains(idea.toLower()), qPrintable(QStringLiteral("duplicate idea: ") + idea));
        seen.insert(idea.toLower());
    }
}

void tst_ShippedCatalogue::promptTemplate_data()
{
    QTest::addColumn<QString>("file");
    QTest::newRow("table of contents") << QStringLiteral("/templates/prompt.txt");
    QTest::newRow("sequel") << QStringLiteral("/templates/prompt-publicdomain.txt");
}

void tst_ShippedCatalogue::promptTemplate()
{
    QFETCH(QString, file);
    const QString text = QString::fromUtf8(test::readFile(dataDir() + file));
    QVERIFY(text.contains(QStringLiteral("#TOPIC#")));

    // "#TOPIC#" is the only placeholder the program fills; any other would reach the AI tool as is.
    static const QRegularExpression placeholder(QStringLiteral("#[A-Za-z_]+#"));
    for (auto it = placeholder.globalMatch(text); it.hasNext();) {
        QCOMPARE(it.next().captured(), QStringLiteral("#TOPIC#"));
    }

    // The instructions name both keywords, and the sample answer they show is one the outline
    // loads: chapters with sections under them, no section before the first chapter.
    QVERIFY(text.contains(QStringLiteral("\"Chapter:\"")));
    QVERIFY(text.contains(QStringLiteral("\"Subchapter:\"")));
    const Outline sample = buildOutline(splitAtLineFeeds(text));
    QCOMPARE(sample.error, OutlineError::None);
    QVERIFY(sample.chapters.size() >= 2);
    for (const OutlineChapter& chapter : sample.chapters) {
        QVERIFY2(!chapter.sections.isEmpty(), qPrintable(chapter.title));
    }
}

QTEST_GUILESS_MAIN(tst_ShippedCatalogue)
#include "tst_shipped_catalogue.moc"
