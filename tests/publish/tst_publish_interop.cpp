// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "publish/book_publisher.h"

#include "common/test_support.h"
#include "sample_book.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTextDocument>
#include <QTest>

using namespace folioneer;
using namespace folioneer::publish;

namespace {

const QString kEpubcheckJar = QStringLiteral("/usr/share/java/epubcheck.jar");

struct Run {
    int exitCode = -1;
    QString output;
};

Run run(const QString& program, const QStringList& arguments, int timeoutMs = 120000)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished();
        return {-1, QStringLiteral("timed out")};
    }
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAll())};
}

// Words of a text, without what the plain-text export adds around the book's own words: the
// heading keywords, separator lines and list markers.
QStringList words(const QString& text)
{
    static const QRegularExpression marker(
        QStringLiteral("^([\\x{2022}\\x{25E6}\\x{25AA}\\x{00B7}-]|[0-9]+[.)]|[a-z][.)]|[ivx]+[.)])$"));
    QStringList out;
    for (const QString& word : text.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts)) {
        if (word == QLatin1String("Chapter:") || word == QLatin1String("Subchapter:") ||
            word.startsWith(QLatin1String("-----")) || marker.match(word).hasMatch()) {
            continue;
        }
        out << word;
    }
    return out;
}

QStringList linesStartingWith(const QString& text, const QString& prefix)
{
    QStringList out;
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        if (line.startsWith(prefix)) {
            out << line.mid(prefix.size()).trimmed();
        }
    }
    return out;
}

} // namespace

class tst_PublishInterop : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void pandocReadsEveryFormat_data();
    void pandocReadsEveryFormat();
    void libreOfficeReadsTheBooksWords();
    void pandocReadsMergedCells_data();
    void pandocReadsMergedCells();
    void libreOfficeReadsMergedCells();
    void epubcheckFindsNothing();

private:
    QString exported(const QString& suffix) const
    {
        return m_program.path() + QStringLiteral("/garden.") + suffix;
    }

    // The one-section book of a table with merged cells, in the format of `suffix`.
    QString merged(const QString& suffix) const
    {
        return m_program.path() + QStringLiteral("/merged.") + suffix;
    }

    test::TempProgramFolder m_program;
    QString m_project;
};

void tst_PublishInterop::initTestCase()
{
    m_project = test::makeSampleBook(m_program.path(), QStringLiteral("Garden Book"));
    for (const FormatChoice& choice : formatChoices()) {
        const ExportOutcome outcome = exportBook(m_project, exported(choice.suffix), choice.format);
        QVERIFY2(outcome.result.ok(), qPrintable(outcome.result.text()));
        if (choice.format != BookFormat::Text) {
            QTextDocument document;
            test::fillMergedTable(document);
            const Result written = test::writeOneSectionBook(document, choice.format, merged(choice.suffix));
            QVERIFY2(written.ok(), qPrintable(written.text()));
        }
    }
}

void tst_PublishInterop::pandocReadsEveryFormat_data()
{
    QTest::addColumn<QString>("suffix");
    QTest::addColumn<QString>("reader");
    QTest::newRow("docx") << "docx"
                          << "docx";
    QTest::newRow("epub") << "epub"
                          << "epub";
    QTest::newRow("odt") << "odt"
                         << "odt";
    QTest::newRow("markdown") << "md"
                              << "commonmark_x";
    QTest::newRow("html") << "html"
                          << "html";
}

// Chapters are level-1 and sections level-2 headings, in order, with bold and italic marked.
void tst_PublishInterop::pandocReadsEveryFormat()
{
    QFETCH(QString, suffix);
    QFETCH(QString, reader);
    if (QStandardPaths::findExecutable(QStringLiteral("pandoc")).isEmpty()) {
        QSKIP("pandoc is not installed");
    }
    const Run pandoc = run(QStringLiteral("pandoc"),
                           {QStringLiteral("-f"), reader, QStringLiteral("-t"), QStringLiteral("commonmark"),
                            QStringLiteral("--wrap=none"), exported(suffix)});
    QVERIFY2(pandoc.exitCode == 0, qPrintable(pandoc.output));
    QCOMPARE(linesStartingWith(pandoc.output, QStringLiteral("# ")), test::kSampleChapters);
    QCOMPARE(linesStartingWith(pandoc.output, QStringLiteral("## ")), test::kSampleSections);
    QVERIFY2(pandoc.output.contains(QStringLiteral("**") + test::kSampleBold + QStringLiteral("**")),
             qPrintable(pandoc.output));
    QVERIFY2(pandoc.output.contains(QLatin1Char('*') + test::kSampleItalic + QLatin1Char('*')),
             qPrintable(pandoc.output));
    QVERIFY(pandoc.output.contains(QStringLiteral("https://example.org/garden")));
    QVERIFY(pandoc.output.contains(QString::fromUtf8("土と水")));
}

// LibreOffice's text of the DOCX and the ODT ends with the plain-text export's words from the
// first chapter on (the title and the table of contents come before).
void tst_PublishInterop::libreOfficeReadsTheBooksWords()
{
    if (QStandardPaths::findExecutable(QStringLiteral("soffice")).isEmpty()) {
        QSKIP("LibreOffice is not installed");
    }
    const QString out = m_program.path() + QStringLiteral("/lo");
    QVERIFY(
        QFile::copy(exported(QStringLiteral("odt")), m_program.path() + QStringLiteral("/garden-odt.odt")));
    const Run office = run(
        QStringLiteral("soffice"),
        {QStringLiteral("-env:UserInstallation=file://") + m_program.path() + QStringLiteral("/lo-profile"),
         QStringLiteral("--headless"), QStringLiteral("--convert-to"),
         QStringLiteral("txt:Text (encoded):UTF8"), QStringLiteral("--outdir"), out,
         exported(QStringLiteral("docx")), m_program.path() + QStringLiteral("/garden-odt.odt")},
        240000);
    QVERIFY2(office.exitCode == 0, qPrintable(office.output));
    QString plain = QString::fromUtf8(test::readFile(exported(QStringLiteral("txt"))));
    plain = plain.mid(plain.indexOf(QStringLiteral("Chapter:")));
    const QStringList expected = words(plain);
    QVERIFY(expected.size() > 40);
    for (const QString& name : {QStringLiteral("garden.txt"), QStringLiteral("garden-odt.txt")}) {
        const QString text = QString::fromUtf8(test::readFile(out + QLatin1Char('/') + name));
        const QStringList got = words(text);
        QVERIFY2(got.size() >= expected.size(), qPrintable(name + QStringLiteral(": ") + text));
        QCOMPARE(got.mid(got.size() - expected.size()), expected);
    }
}

void tst_PublishInterop::pandocReadsMergedCells_data()
{
    QTest::addColumn<QString>("suffix");
    QTest::addColumn<bool>("spans");
    QTest::newRow("docx") << "docx" << true;
    QTest::newRow("epub") << "epub" << true;
    QTest::newRow("html") << "html" << true;
    // pandoc 2.17 reads an ODT table's covered cells as empty cells of their own.
    QTest::newRow("odt") << "odt" << false;
}

// The merged cells keep their spans and every cell its text, in order.
void tst_PublishInterop::pandocReadsMergedCells()
{
    QFETCH(QString, suffix);
    QFETCH(bool, spans);
    if (QStandardPaths::findExecutable(QStringLiteral("pandoc")).isEmpty()) {
        QSKIP("pandoc is not installed");
    }
    const Run pandoc = run(QStringLiteral("pandoc"),
                           {QStringLiteral("-f"), suffix, QStringLiteral("-t"), QStringLiteral("html"),
                            QStringLiteral("--wrap=none"), merged(suffix)});
    QVERIFY2(pandoc.exitCode == 0, qPrintable(pandoc.output));
    static const QRegularExpression cell(QStringLiteral("<td[^>]*>(?:<p>)?([A-G]?)"));
    QStringList texts;
    for (auto it = cell.globalMatch(pandoc.output); it.hasNext();) {
        const QString text = it.next().captured(1);
        if (!text.isEmpty()) {
            texts << text;
        }
    }
    QCOMPARE(texts.join(QString()), QStringLiteral("ABCDEFG"));
    if (spans) {
        QVERIFY2(pandoc.output.contains(QStringLiteral("colspan=\"2\"")), qPrintable(pandoc.output));
        QVERIFY2(pandoc.output.contains(QStringLiteral("rowspan=\"2\"")), qPrintable(pandoc.output));
    }
}

void tst_PublishInterop::libreOfficeReadsMergedCells()
{
    if (QStandardPaths::findExecutable(QStringLiteral("soffice")).isEmpty()) {
        QSKIP("LibreOffice is not installed");
    }
    const QString out = m_program.path() + QStringLiteral("/lo-merged");
    const QString odt = m_program.path() + QStringLiteral("/merged-odt.odt");
    QVERIFY(QFile::copy(merged(QStringLiteral("odt")), odt));
    const Run office = run(
        QStringLiteral("soffice"),
        {QStringLiteral("-env:UserInstallation=file://") + m_program.path() + QStringLiteral("/lo-profile"),
         QStringLiteral("--headless"), QStringLiteral("--convert-to"), QStringLiteral("html"),
         QStringLiteral("--outdir"), out, merged(QStringLiteral("docx")), odt},
        240000);
    QVERIFY2(office.exitCode == 0, qPrintable(office.output));
    for (const QString& name : {QStringLiteral("merged.html"), QStringLiteral("merged-odt.html")}) {
        const QString html = QString::fromUtf8(test::readFile(out + QLatin1Char('/') + name));
        QVERIFY2(html.contains(QStringLiteral("colspan=\"2\"")), qPrintable(name + QLatin1Char('\n') + html));
        QVERIFY2(html.contains(QStringLiteral("rowspan=\"2\"")), qPrintable(name + QLatin1Char('\n') + html));
    }
}

// The sample book, the merged cells and every edge case, checked in pairs of parallel runs (a run starts a
// JVM).
void tst_PublishInterop::epubcheckFindsNothing()
{
    if (!QFile::exists(kEpubcheckJar) || QStandardPaths::findExecutable(QStringLiteral("java")).isEmpty()) {
        QSKIP("epubcheck or Java is not installed");
    }
    QStringList books{exported(QStringLiteral("epub")), merged(QStringLiteral("epub"))};
    const QList<test::EdgeBook> edges = test::edgeBooks();
    for (int i = 0; i < edges.size(); ++i) {
        const QString project = test::makeBook(m_program.path(), QString::fromLatin1(edges.at(i).name),
                                               edges.at(i).toc, edges.at(i).contents);
        books << m_program.path() + QStringLiteral("/edge-%1.epub").arg(i);
        const ExportOutcome outcome = exportBook(project, books.last(), BookFormat::Epub);
        QVERIFY2(outcome.result.ok(), qPrintable(outcome.result.text()));
    }
    for (qsizetype i = 0; i < books.size(); i += 2) {
        std::vector<std::unique_ptr<QProcess>> checks;
        for (qsizetype j = i; j < std::min(i + 2, books.size()); ++j) {
            auto& check = checks.emplace_back(std::make_unique<QProcess>());
            check->setProcessChannelMode(QProcess::MergedChannels);
            // A short-lived JVM starts faster without the optimising compiler.
            check->start(QStringLiteral("java"),
                         {QStringLiteral("-XX:TieredStopAtLevel=1"), QStringLiteral("-XX:+UseSerialGC"),
                          QStringLiteral("-jar"), kEpubcheckJar, books.at(j)});
        }
        for (std::size_t j = 0; j < checks.size(); ++j) {
            QVERIFY(checks[j]->waitForFinished(600000));
            const QString output = QString::fromUtf8(checks[j]->readAll());
            const QString book = books.at(i + qsizetype(j));
            QVERIFY2(checks[j]->exitCode() == 0, qPrintable(book + QLatin1Char('\n') + output));
            QVERIFY2(!output.contains(QStringLiteral("WARNING")) && !output.contains(QStringLiteral("ERROR")),
                     qPrintable(book + QLatin1Char('\n') + output));
        }
    }
}

QTEST_MAIN(tst_PublishInterop)
#include "tst_publish_interop.moc"
