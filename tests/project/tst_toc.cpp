// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "project/toc.h"

#include "support/lines.h"

#include <QTest>

using namespace folioneer;

namespace {

// An outline as one readable line per node: "C:<title>" for a chapter, "  S:<title>" for a
// section, with a CR shown as "<CR>" so that failures show where it is.
QStringList render(const Outline& outline)
{
    const auto visible = [](QString text) { return text.replace(QLatin1Char('\r'), QStringLiteral("<CR>")); };
    QStringList lines;
    for (const OutlineChapter& chapter : outline.chapters) {
        lines.append(QStringLiteral("C:") + visible(chapter.title));
        for (const QString& section : chapter.sections) {
            lines.append(QStringLiteral("  S:") + visible(section));
        }
    }
    return lines;
}

} // namespace

class tst_Toc : public QObject {
    Q_OBJECT

private slots:
    void classifyLine_data();
    void classifyLine();
    void outline_data();
    void outline();
};

void tst_Toc::classifyLine_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("title");

    const int chapter = int(TocLineKind::Chapter);
    const int section = int(TocLineKind::Section);
    const int other = int(TocLineKind::Other);

    QTest::newRow("chapter keeps blank and CR") << "Chapter: The Basics\r" << chapter << " The Basics\r";
    QTest::newRow("chapter without blank") << "Chapter:Intro\r" << chapter << "Intro\r";
    QTest::newRow("chapter with leading spaces") << "   Chapter: Intro" << chapter << " Intro";
    QTest::newRow("chapter blank before CR kept")
        << "Chapter:  Getting Started \r" << chapter << "  Getting Started \r";
    QTest::newRow("chapter with nothing after") << "Chapter:" << chapter << "";
    QTest::newRow("chapter tab after colon") << "Chapter:\tTabbed" << chapter << "\tTabbed";
    QTest::newRow("lower-case keyword") << "chapter: Intro" << other << "";
    QTest::newRow("upper-case keyword") << "CHAPTER: Intro" << other << "";
    QTest::newRow("numbered chapter") << "Chapter 1: Intro" << other << "";
    QTest::newRow("leading tab") << "\tChapter: Intro" << other << "";
    QTest::newRow("leading no-break space") << QString::fromUtf8("\u00a0Chapter: Intro") << other << "";
    QTest::newRow("keyword not at start") << "The Chapter: Intro" << other << "";
    QTest::newRow("section trimmed, CR kept") << "  Subchapter:   Soil  \r" << section << "Soil  \r";
    QTest::newRow("section plain") << "Subchapter: Why Prompts Matter\r" << section << "Why Prompts Matter\r";
    QTest::newRow("section trailing blanks") << "Subchapter: Soil   " << section << "Soil";
    QTest::newRow("section alone") << "Subchapter:" << other << "";
    QTest::newRow("section of blanks") << "Subchapter:    " << other << "";
    QTest::newRow("section alone with CR") << "Subchapter:\r" << section << "\r";
    QTest::newRow("section blanks and CR") << "Subchapter:   \r" << section << "\r";
    QTest::newRow("hyphenated keyword") << "Sub-chapter: x" << other << "";
    QTest::newRow("empty line") << "" << other << "";
    QTest::newRow("CR only") << "\r" << other << "";
}

void tst_Toc::classifyLine()
{
    QFETCH(QString, line);
    QFETCH(int, kind);
    QFETCH(QString, title);
    const TocLine result = classifyTocLine(line);
    QCOMPARE(int(result.kind), kind);
    QCOMPARE(result.title, title);
}

void tst_Toc::outline_data()
{
    QTest::addColumn<QString>("toc");
    QTest::addColumn<QStringList>("nodes");
    QTest::addColumn<int>("error");

    const int none = int(OutlineError::None);

    QTest::newRow("three chapters, two sections each")
        << "Chapter: One\r\nSubchapter: A\r\nSubchapter: B\r\nChapter: Two\r\nSubchapter: C\r\n"
           "Subchapter: D\r\nChapter: Three\r\nSubchapter: E\r\nSubchapter: F\r\n"
        << QStringList{"C: One<CR>", "  S:A<CR>",    "  S:B<CR>", "C: Two<CR>", "  S:C<CR>",
                       "  S:D<CR>",  "C: Three<CR>", "  S:E<CR>", "  S:F<CR>"}
        << none;

    // What chat tools really answer: a title, blank lines, indented sections, a closing remark.
    QTest::newRow("chat-tool answer")
        << "Gardening for Beginners: A Practical Guide\r\n\r\n"
           "Chapter: The Basics\r\n"
           "    Subchapter: Soil\r\n"
           "    Subchapter: Light and Water\r\n\r\n"
           "Chapter: Planning Your Garden\r\n"
           "\tSubchapter: Choosing a Site\r\n"
           "    Subchapter: Raised Beds vs. In-Ground Beds\r\n\r\n"
           "Let me know if you want me to expand any chapter!\r\n"
        << QStringList{"C: The Basics<CR>", "  S:Soil<CR>", "  S:Light and Water<CR>",
                       "C: Planning Your Garden<CR>", "  S:Raised Beds vs. In-Ground Beds<CR>"}
        << none;

    QTest::newRow("LF line ends, no CR in titles") << "Chapter: One\nSubchapter: A\n"
                                                   << QStringList{"C: One", "  S:A"} << none;

    QTest::newRow("last line without line break")
        << "Chapter: One\r\nSubchapter: A" << QStringList{"C: One<CR>", "  S:A"} << none;

    QTest::newRow("section alone: CR LF adds, last line does not")
        << "Chapter: One\r\nSubchapter:\r\nSubchapter:" << QStringList{"C: One<CR>", "  S:<CR>"} << none;

    QTest::newRow("empty chapter collects sections") << "Chapter:\r\nSubchapter: A\r\n"
                                                     << QStringList{"C:<CR>", "  S:A<CR>"} << none;

    QTest::newRow("duplicate titles kept")
        << "Chapter: X\r\nSubchapter: A\r\nChapter: X\r\nSubchapter: A\r\n"
        << QStringList{"C: X<CR>", "  S:A<CR>", "C: X<CR>", "  S:A<CR>"} << none;

    QTest::newRow("section before chapter stops everything")
        << "Subchapter: A\r\nChapter: B\r\nSubchapter: C\r\n"
        << QStringList{} << int(OutlineError::SectionBeforeChapter);

    // The missing chapter is noticed before the empty title is.
    QTest::newRow("empty section before chapter") << "Subchapter:\nChapter: B\n"
                                                  << QStringList{} << int(OutlineError::SectionBeforeChapter);

    QTest::newRow("no chapter line") << "Intro\r\nchapter: lower\r\n"
                                     << QStringList{} << int(OutlineError::NoChapters);

    QTest::newRow("empty file") << "" << QStringList{} << int(OutlineError::NoChapters);
}

void tst_Toc::outline()
{
    QFETCH(QString, toc);
    QFETCH(QStringList, nodes);
    QFETCH(int, error);
    const Outline outline = buildOutline(splitAtLineFeeds(toc));
    QCOMPARE(render(outline), nodes);
    QCOMPARE(int(outline.error), error);
}

QTEST_GUILESS_MAIN(tst_Toc)
#include "tst_toc.moc"
