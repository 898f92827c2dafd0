// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/test_support.h"
#include "project/content_paths.h"
#include "project/toc.h"
#include "support/lines.h"

#include <QRegularExpression>
#include <QTest>

using namespace folioneer;

namespace {

QString manualText()
{
    return QString::fromUtf8(test::readFile(test::sourceDir() + QStringLiteral("/docs/user-manual.md")));
}

// The fenced "text" blocks of the manual, each as its lines.
QList<QStringList> textBlocks(const QString& manual)
{
    QList<QStringList> blocks;
    QStringList* open = nullptr;
    for (const QString& line : manual.split(QLatin1Char('\n'))) {
        if (!open && line == QStringLiteral("```text")) {
            blocks.append(QStringList());
            open = &blocks.last();
        } else if (open && line == QStringLiteral("```")) {
            open = nullptr;
        } else if (open) {
            open->append(line);
        }
    }
    return blocks;
}

} // namespace

// The manual's examples are what users copy and compare against, so they must stay true to the
// program: its sample tables of contents load (or fail) as it says, and its content-file names
// are the ones the program forms.
class tst_UserManual : public QObject {
    Q_OBJECT

private slots:
    void tocExample_data();
    void tocExample();
    void contentFileNames();
};

void tst_UserManual::tocExample_data()
{
    QTest::addColumn<QString>("firstLine");
    QTest::addColumn<OutlineError>("error");
    QTest::addColumn<QList<int>>("sectionsPerChapter");

    QTest::newRow("answer in the required form")
        << "Chapter: Planning a Small Vegetable Garden" << OutlineError::None << QList<int>{3, 3, 3};
    QTest::newRow("chat-style answer with title, blank lines and indents")
        << "Table of Contents: Growing Vegetables in a Small Garden" << OutlineError::None
        << QList<int>{2, 1};
    QTest::newRow("bold numbered chapter")
        << "**Chapter 1: Planning a Small Vegetable Garden**" << OutlineError::NoChapters << QList<int>{};
    QTest::newRow("numbered list without keywords")
        << "1. Planning a Small Vegetable Garden" << OutlineError::NoChapters << QList<int>{};
}

void tst_UserManual::tocExample()
{
    QFETCH(QString, firstLine);
    QFETCH(OutlineError, error);
    QFETCH(QList<int>, sectionsPerChapter);

    QStringList block;
    for (const QStringList& candidate : textBlocks(manualText())) {
        if (!candidate.isEmpty() && candidate.first() == firstLine) {
            block = candidate;
        }
    }
    QVERIFY2(!block.isEmpty(), "example not found in the manual");

    // Written as the program writes "--toc.txt": CR LF line ends.
    const Outline outline =
        buildOutline(splitAtLineFeeds(block.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")));
    QCOMPARE(outline.error, error);
    QList<int> counts;
    for (const OutlineChapter& chapter : outline.chapters) {
        counts.append(int(chapter.sections.size()));
    }
    QCOMPARE(counts, sectionsPerChapter);
}

void tst_UserManual::contentFileNames()
{
    // Rows of the form | `Chapter: ...` | `Subchapter: ...` | `file name` |
    static const QRegularExpression row(
        QStringLiteral(R"(^\| `(Chapter:[^`]*)` \| `(Subchapter:[^`]*)` \| `([^`]+)` \|$)"),
        QRegularExpression::MultilineOption);
    const QString project = QStringLiteral("/home/user/Folioneer/projects/My Book");
    int rows = 0;
    for (auto it = row.globalMatch(manualText()); it.hasNext(); ++rows) {
        const QRegularExpressionMatch match = it.next();
        const TocLine chapter = classifyTocLine(match.captured(1) + QLatin1Char('\r'));
        const TocLine section = classifyTocLine(match.captured(2) + QLatin1Char('\r'));
        QCOMPARE(chapter.kind, TocLineKind::Chapter);
        QCOMPARE(section.kind, TocLineKind::Section);
        QCOMPARE(ContentFilePath(project, chapter.title, section.title),
                 project + QLatin1Char('/') + match.captured(3));
    }
    QVERIFY2(rows >= 3, "the table of content-file names was not found");

    // The four-hyphen example in the text: a blank before the line end stays as a hyphen.
    QVERIFY(manualText().contains(QStringLiteral("`getting-started----setup.txt`")));
    QCOMPARE(ContentFilePath(project, classifyTocLine(QStringLiteral("Chapter:  Getting Started \r")).title,
                             classifyTocLine(QStringLiteral("Subchapter: Setup\r")).title),
             project + QStringLiteral("/getting-started----setup.txt"));
}

QTEST_GUILESS_MAIN(tst_UserManual)
#include "tst_user_manual.moc"
