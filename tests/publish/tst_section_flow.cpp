// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "publish/flow_sink.h"

#include "common/flow_difference.h"
#include "common/test_support.h"
#include "publish/book.h"
#include "rtf/rtf.h"

#include <QDirIterator>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>

using namespace folioneer;
using namespace folioneer::publish;
using folioneer::test::flowDifference;

namespace {

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
    // A colour table that comes after text using it colours what follows it, in both readers,
    // however many other formats come between.
    QByteArray sizes;
    for (int size = 2; size < 140; size += 2) {
        sizes += "{\\fs" + QByteArray::number(size) + " x}";
    }
    QTest::newRow("colour table after its first use")
        << "{\\rtf1 {\\cf1 early}\\par{\\colortbl;\\red200\\green0\\blue0;}" + sizes + "{\\cf1 late}\\par}"
        << 1;
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
