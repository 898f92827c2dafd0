// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "publish/flow_sink.h"

#include "common/test_support.h"
#include "publish/book.h"
#include "rtf/rtf.h"

#include <QDirIterator>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>

using namespace folioneer;
using namespace folioneer::publish;

namespace {

// Where two flows first differ, field by field; empty when they are equal.
QString blocksDifference(const QList<Block>& a, const QList<Block>& b, const QString& where);

QString runDifference(const Run& a, const Run& b, const QString& where)
{
    const auto field = [&where](const char* name) { return where + QLatin1Char(' ') + QLatin1String(name); };
    if (a.text != b.text) {
        return field("text") + QStringLiteral(": \"%1\" / \"%2\"").arg(a.text, b.text);
    }
    if (a.bold != b.bold || a.italic != b.italic || a.underline != b.underline || a.strike != b.strike) {
        return field("style");
    }
    if (a.pointSize != b.pointSize) {
        return field("size") + QStringLiteral(": %1 / %2").arg(a.pointSize).arg(b.pointSize);
    }
    if (a.color != b.color) {
        return field("color") + QStringLiteral(": %1 / %2").arg(a.color.name(), b.color.name());
    }
    if (a.href != b.href) {
        return field("href");
    }
    return a.picture != b.picture ? field("picture") : QString();
}

QString paragraphDifference(const Paragraph& a, const Paragraph& b, const QString& where)
{
    if (a.headingLevel != b.headingLevel || a.alignment != b.alignment || a.rightToLeft != b.rightToLeft) {
        return where + QStringLiteral(" heading, alignment or direction");
    }
    if (a.listLevel != b.listLevel || a.ordered != b.ordered || a.listId != b.listId) {
        return where + QStringLiteral(" list %1/%2/%3 against %4/%5/%6")
                           .arg(a.listLevel)
                           .arg(a.ordered)
                           .arg(a.listId)
                           .arg(b.listLevel)
                           .arg(b.ordered)
                           .arg(b.listId);
    }
    for (qsizetype r = 0; r < std::min(a.runs.size(), b.runs.size()); ++r) {
        const QString difference =
            runDifference(a.runs[r], b.runs[r], where + QStringLiteral(" run %1").arg(r));
        if (!difference.isEmpty()) {
            return difference;
        }
    }
    return a.runs.size() != b.runs.size()
               ? where + QStringLiteral(" runs: %1 / %2").arg(a.runs.size()).arg(b.runs.size())
               : QString();
}

QString blocksDifference(const QList<Block>& a, const QList<Block>& b, const QString& where)
{
    for (qsizetype i = 0; i < std::min(a.size(), b.size()); ++i) {
        const QString at = where + QStringLiteral("block %1").arg(i);
        if (bool(a[i].table) != bool(b[i].table)) {
            return at + QStringLiteral(" table");
        }
        const QString difference =
            a[i].table ? QString() : paragraphDifference(a[i].paragraph, b[i].paragraph, at);
        if (!difference.isEmpty()) {
            return difference;
        }
    }
    return a.size() != b.size() ? where + QStringLiteral("blocks: %1 / %2").arg(a.size()).arg(b.size())
                                : QString();
}

QString flowDifference(const Flow& a, const Flow& b)
{
    const QString blocks = blocksDifference(a.blocks, b.blocks, {});
    if (!blocks.isEmpty()) {
        return blocks;
    }
    if (a.pictures.size() != b.pictures.size()) {
        return QStringLiteral("pictures: %1 / %2").arg(a.pictures.size()).arg(b.pictures.size());
    }
    for (qsizetype i = 0; i < a.pictures.size(); ++i) {
        if (a.pictures[i].png != b.pictures[i].png || a.pictures[i].size != b.pictures[i].size) {
            return QStringLiteral("picture %1").arg(i);
        }
    }
    return {};
}

// Every RTF file the tests, the fuzzer's seeds and findings, and the shared corpus hold.
QStringList corpusFiles()
{
    QStringList files;
    const QString source = qEnvironmentVariable("FOLIONEER_SOURCE_DIR");
    for (const QString& folder :
         {source + QStringLiteral("/tests"), source + QStringLiteral("/fuzz"),
          qEnvironmentVariable("FOLIONEER_SHARED_DIR") + QStringLiteral("/rtf-corpus")}) {
        QDirIterator it(folder, {QStringLiteral("*.rtf")}, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            files.append(it.next());
        }
    }
    files.sort();
    return files;
}

struct Direct {
    rtf::ReadStatus status;
    bool exact;
    Flow flow;
};

Direct directFlow(const QByteArray& rtf)
{
    FlowSink sink;
    rtf::Interpreter interpreter(sink);
    const rtf::ReadStatus status = interpreter.run(rtf);
    return {status, sink.isExact(), sink.takeFlow()};
}

} // namespace

// The flow an export reads straight from the RTF is the one a document of the same RTF gives,
// for every RTF at hand; where it cannot be, the export reads the document.
class tst_SectionFlow : public QObject {
    Q_OBJECT

private slots:
    void sameFlowAsTheDocument_data();
    void sameFlowAsTheDocument();
    void corpusMostlyReadsDirectly();
};

void tst_SectionFlow::sameFlowAsTheDocument_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<int>("exact"); // 1 direct, 0 through the document, -1 either
    const QByteArray head = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}{\\colortbl;\\red200\\green0\\blue0;}";
    QTest::newRow("numbered list resumed after a bullet")
        << head +
               "{\\listtext 1.\\tab}\\ls1 one\\par{\\listtext 2.\\tab}\\ls1 two\\par"
               "{\\listtext \\'95\\tab}\\ls2 dot\\par{\\listtext 3.\\tab}\\ls1 three\\par\\pard after\\par}"
        << 1;
    QTest::newRow("renumbered list begins anew")
        << head + "{\\listtext 1.\\tab}\\ls1 one\\par{\\listtext 1.\\tab}\\ls1 again\\par}" << 1;
    // The same literal marker declared once as a letter and once as a bullet: two lists.
    QTest::newRow("literal marker declared two ways")
        << head + "{\\pntext o\\tab}{\\*\\pn\\pnlvlbody\\pnlcltr}first\\par"
                  "{\\pntext o\\tab}{\\*\\pn\\pnlvlblt}second\\par}"
        << 1;
    QTest::newRow("lettered list") << head +
                                          "{\\listtext a)\\tab}\\ls1 a\\par{\\listtext b)\\tab}\\ls1 b\\par}"
                                   << 0;
    QTest::newRow("looks, link and heading")
        << head + "\\outlinelevel1\\qc {\\b\\i\\ul\\strike\\cf1\\fs40 big}{\\field{\\*\\fldinst HYPERLINK "
                  "\"x:y\"}"
                  "{\\fldrslt link}}\\par\\pard\\qj soft\\-hyphen\\line next\\tab end\\par}"
        << 1;
    QTest::newRow("right to left") << head + "\\u1488? \\u1489? abc\\par 123 abc\\par}" << 1;
    // The RTF engine drops the document's frame marks, so nothing breaks the block.
    QTest::newRow("frame mark in text") << head + "one\\u-560?two\\par}" << 1;
    QTest::newRow("no paragraph mark") << head + "tail}" << 1;
    QTest::newRow("no paragraph") << head + "}" << 1;
    for (const QString& file : corpusFiles()) {
        QTest::newRow(qPrintable(file.section(QLatin1Char('/'), -2))) << test::readFile(file) << -1;
    }
}

void tst_SectionFlow::sameFlowAsTheDocument()
{
    QFETCH(QByteArray, rtf);
    QFETCH(int, exact);
    QTextDocument document;
    const rtf::ReadStatus status = rtf::readRtf(rtf, document);
    const Direct direct = directFlow(rtf);
    QCOMPARE(direct.status, status);
    if (status == rtf::ReadStatus::NotRtf) {
        return;
    }
    const Flow expected = flowOf(document);
    if (exact >= 0) {
        QCOMPARE(direct.exact, exact == 1);
    }
    if (direct.exact) {
        const QString difference = flowDifference(direct.flow, expected);
        QVERIFY2(difference.isEmpty(), qPrintable(difference));
    }
    // What the export reads, direct or not.
    QTemporaryDir dir;
    const BookSection section{QStringLiteral("s"), dir.filePath(QStringLiteral("s.txt"))};
    QVERIFY(test::writeFile(section.contentPath, rtf));
    Flow read;
    QVERIFY(readSectionFlow(section, read));
    const QString difference = flowDifference(read, expected);
    QVERIFY2(difference.isEmpty(), qPrintable(difference));
}

// Falling back to the document for ordinary RTF would quietly cost the export its speed.
void tst_SectionFlow::corpusMostlyReadsDirectly()
{
    FOLIONEER_REQUIRE_SHARED_FOLDER(test::sharedDir() + QStringLiteral("/rtf-corpus"));
    const QStringList files = corpusFiles();
    int read = 0;
    int direct = 0;
    for (const QString& file : files) {
        const Direct flow = directFlow(test::readFile(file));
        read += flow.status != rtf::ReadStatus::NotRtf;
        direct += flow.status != rtf::ReadStatus::NotRtf && flow.exact;
    }
    qInfo("%d of %d documents read directly", direct, read);
    QVERIFY2(direct * 10 >= read * 9, qPrintable(QStringLiteral("%1 of %2").arg(direct).arg(read)));
}

QTEST_MAIN(tst_SectionFlow)
#include "tst_section_flow.moc"
