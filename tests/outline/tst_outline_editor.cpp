// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "outline/outline_editor.h"

#include "outline/toc_writer.h"
#include "outline/trash.h"
#include "outline_fixture.h"
#include "project/toc.h"
#include "support/lines.h"
#include "support/text_codec.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

using namespace folioneer;
using namespace folioneer::test;

namespace {

const QByteArray kToc =
    "Chapter: One\r\nSubchapter: Alpha\r\nSubchapter: Beta\r\nChapter: Two\r\nSubchapter: Gamma\r\n";
const QStringList kTexts{"one---alpha.txt", "two---gamma.txt"};

/// Runs one edit written as "name|argument|...".
Result runEdit(OutlineEditor& editor, const QString& edit)
{
    const QStringList a = edit.split(QLatin1Char('|'));
    const auto n = [&a](int i) { return a.at(i).toInt(); };
    const QString& name = a.at(0);
    if (name == QLatin1String("addSection")) {
        return editor.addSection(n(1), n(2), a.at(3));
    }
    if (name == QLatin1String("addChapter")) {
        return editor.addChapter(n(1), a.at(2));
    }
    if (name == QLatin1String("renameChapter")) {
        return editor.renameChapter(n(1), a.at(2));
    }
    if (name == QLatin1String("renameSection")) {
        return editor.renameSection(n(1), n(2), a.at(3));
    }
    if (name == QLatin1String("deleteChapter")) {
        return editor.deleteChapter(n(1));
    }
    if (name == QLatin1String("deleteSection")) {
        return editor.deleteSection(n(1), n(2));
    }
    if (name == QLatin1String("moveSection")) {
        return editor.moveSection(n(1), n(2), n(3), n(4));
    }
    if (name == QLatin1String("moveUp")) {
        return editor.moveUp(n(1), n(2));
    }
    if (name == QLatin1String("moveDown")) {
        return editor.moveDown(n(1), n(2));
    }
    return Result::failure(QStringLiteral("unknown edit ") + name);
}

/// A random title with the characters that break naive writers (possibly blank only).
QString randomTitle(QRandomGenerator& random)
{
    static const QStringList pieces{
        "Chapter:",         "Subchapter:", "/",  "..", " ",     "\t", "\x01", "\x1f", "\xc3\xa9",
        "\xf0\x9f\x98\x80", "\r",          "\n", "a",  "Title", "\\", "*",    "-",    "  x  "};
    QString title;
    const int count = random.bounded(1, 8);
    for (int i = 0; i < count; ++i) {
        title += pieces.at(random.bounded(int(pieces.size())));
    }
    if (random.bounded(20) == 0) {
        title += QString(random.bounded(100, 2000), QLatin1Char('w'));
    }
    return title;
}

/// A hostile title the editor accepts: not blank once typed.
QString hostileTitle(QRandomGenerator& random)
{
    QString title;
    while (visibleTitle(title).isEmpty()) {
        title = randomTitle(random);
    }
    return title;
}

} // namespace

class tst_OutlineEditor : public QObject {
    Q_OBJECT

private slots:
    void editAndUndo_data();
    void editAndUndo();
    void refusedEditsChangeNothing_data();
    void refusedEditsChangeNothing();
    void writtenTocIsGrammarFormAndOriginalIsKept();
    void sharedFileIsCopiedOrLeft();
    void unplacedTextInTheWayGoesToTrash();
    void editingRefusedAfterLoadError();
    void restoreFromTrash();
    void tocRoundTripOverRandomOutlines();
};

void tst_OutlineEditor::editAndUndo_data()
{
    QTest::addColumn<QString>("edit");
    QTest::addColumn<QStringList>("titles");
    QTest::addColumn<QStringList>("texts");

    const QString alpha = QStringLiteral("text of one---alpha.txt");
    const QString gamma = QStringLiteral("text of two---gamma.txt");
    QTest::newRow("rename section moves its text")
        << "renameSection|0|0|Alpha Prime" << QStringList{"One/Alpha Prime", "One/Beta", "Two/Gamma"}
        << QStringList{"one---alpha-prime.txt=" + alpha, "two---gamma.txt=" + gamma};
    QTest::newRow("rename trims the typed title")
        << "renameSection|0|0|   Alpha  " << QStringList{"One/Alpha", "One/Beta", "Two/Gamma"}
        << QStringList{"one---alpha.txt=" + alpha, "two---gamma.txt=" + gamma};
    QTest::newRow("slash in a title stays inside the folder")
        << "renameSection|0|0|A/B" << QStringList{"One/A/B", "One/Beta", "Two/Gamma"}
        << QStringList{QString::fromUtf8("one---a\u2215b.txt=") + alpha, "two---gamma.txt=" + gamma};
    QTest::newRow("rename chapter moves its sections' texts")
        << "renameChapter|1|Second Part" << QStringList{"One/Alpha", "One/Beta", "Second Part/Gamma"}
        << QStringList{"one---alpha.txt=" + alpha, "second-part---gamma.txt=" + gamma};
    QTest::newRow("move down across the chapter edge")
        << "moveDown|0|1" << QStringList{"One/Alpha", "Two/Beta", "Two/Gamma"}
        << QStringList{"one---alpha.txt=" + alpha, "two---gamma.txt=" + gamma};
    QTest::newRow("move up across the chapter edge takes the text")
        << "moveUp|1|0" << QStringList{"One/Alpha", "One/Beta", "One/Gamma", "Two/"}
        << QStringList{"one---alpha.txt=" + alpha, "one---gamma.txt=" + gamma};
    QTest::newRow("move within a chapter")
        << "moveDown|0|0" << QStringList{"One/Beta", "One/Alpha", "Two/Gamma"}
        << QStringList{"one---alpha.txt=" + alpha, "two---gamma.txt=" + gamma};
    QTest::newRow("drag a section into another chapter")
        << "moveSection|0|0|1|1" << QStringList{"One/Beta", "Two/Gamma", "Two/Alpha"}
        << QStringList{"two---alpha.txt=" + alpha, "two---gamma.txt=" + gamma};
    QTest::newRow("move chapter up") << "moveUp|1|-1" << QStringList{"Two/Gamma", "One/Alpha", "One/Beta"}
                                     << QStringList{"one---alpha.txt=" + alpha, "two---gamma.txt=" + gamma};
    QTest::newRow("delete section with text") << "deleteSection|0|0" << QStringList{"One/Beta", "Two/Gamma"}
                                              << QStringList{"two---gamma.txt=" + gamma, "trash:" + alpha};
    QTest::newRow("delete chapter") << "deleteChapter|0" << QStringList{"Two/Gamma"}
                                    << QStringList{"two---gamma.txt=" + gamma, "trash:" + alpha};
    QTest::newRow("add section after the selected one")
        << "addSection|0|0|New One" << QStringList{"One/Alpha", "One/New One", "One/Beta", "Two/Gamma"}
        << QStringList{"one---alpha.txt=" + alpha, "two---gamma.txt=" + gamma};
    QTest::newRow("add chapter at the end")
        << "addChapter|-1|Three" << QStringList{"One/Alpha", "One/Beta", "Two/Gamma", "Three/"}
        << QStringList{"one---alpha.txt=" + alpha, "two---gamma.txt=" + gamma};
}

void tst_OutlineEditor::editAndUndo()
{
    QFETCH(QString, edit);
    QFETCH(QStringList, titles);
    QFETCH(QStringList, texts);

    QTemporaryDir dir;
    QVERIFY(makeOutlineProject(dir.path(), kToc, kTexts));
    OutlineEditor editor;
    editor.reset(loadProjectOutline(dir.path()));
    const QStringList titlesBefore = outlineTitles(editor.outline());
    const QStringList textsBefore = textsOnDisk(dir.path());

    const Result result = runEdit(editor, edit);
    QVERIFY2(result.ok(), qPrintable(result.text()));
    QCOMPARE(outlineTitles(editor.outline()), titles);
    QCOMPARE(textsOnDisk(dir.path()), texts);
    QCOMPARE(outlineTitles(loadProjectOutline(dir.path())), titles);

    QVERIFY(editor.undo().ok());
    QCOMPARE(outlineTitles(loadProjectOutline(dir.path())), titlesBefore);
    QCOMPARE(textsOnDisk(dir.path()), textsBefore);

    QVERIFY(editor.redo().ok());
    QCOMPARE(outlineTitles(loadProjectOutline(dir.path())), titles);
    QCOMPARE(textsOnDisk(dir.path()), texts);
}

void tst_OutlineEditor::refusedEditsChangeNothing_data()
{
    QTest::addColumn<QByteArray>("toc");
    QTest::addColumn<QString>("edit");
    QTest::addColumn<QString>("refusal");

    const QString collision = QString::fromLatin1(kCollisionRefusal);
    QTest::newRow("rename onto a sibling") << kToc << "renameSection|0|1|Alpha" << collision;
    QTest::newRow("rename onto a sibling in other case") << kToc << "renameSection|0|1|ALPHA" << collision;
    QTest::newRow("titles mapping to one file name") << kToc << "renameSection|0|1|alpha " << collision;
    QTest::newRow("add a section that exists") << kToc << "addSection|1|-1|Gamma" << collision;
    QTest::newRow("move into a chapter holding the title")
        << QByteArray("Chapter: One\r\nSubchapter: Alpha\r\nChapter: Two\r\nSubchapter: Alpha\r\n")
        << "moveUp|1|0" << collision;
    QTest::newRow("chapter renamed onto a chapter with the same section")
        << QByteArray(kToc + "Chapter: Three\r\nSubchapter: Gamma\r\n") << "renameChapter|2|Two" << collision;
    QTest::newRow("table of contents past 32,767 characters")
        << kToc << "renameChapter|0|" + QString(32700, QLatin1Char('x'))
        << QString::fromLatin1(kLengthRefusal);
    QTest::newRow("file name past 255 bytes")
        << kToc << "renameSection|0|0|" + QString(130, QChar(0xe9)) << QString::fromLatin1(kFileNameRefusal);
}

void tst_OutlineEditor::refusedEditsChangeNothing()
{
    QFETCH(QByteArray, toc);
    QFETCH(QString, edit);
    QFETCH(QString, refusal);

    QTemporaryDir dir;
    QVERIFY(makeOutlineProject(dir.path(), toc, kTexts));
    OutlineEditor editor;
    editor.reset(loadProjectOutline(dir.path()));
    const QStringList titles = outlineTitles(editor.outline());
    const QStringList listing = treeListing(dir.path());

    const Result result = runEdit(editor, edit);
    QVERIFY(!result.ok());
    QCOMPARE(result.text(), refusal);
    QCOMPARE(outlineTitles(editor.outline()), titles);
    QCOMPARE(treeListing(dir.path()), listing);
    QCOMPARE(readFile(dir.path() + "/--toc.txt"), toc);
    QVERIFY(!editor.canUndo());
}

void tst_OutlineEditor::writtenTocIsGrammarFormAndOriginalIsKept()
{
    QTemporaryDir dir;
    const QByteArray original =
        "Intro line the grammar ignores\nChapter:One\nSubchapter:   Alpha\n\nSubchapter: Beta";
    QVERIFY(makeOutlineProject(dir.path(), original, {"one---alpha.txt"}));
    OutlineEditor editor;
    editor.reset(loadProjectOutline(dir.path()));
    QVERIFY(editor.renameSection(0, 1, QStringLiteral("Beta Two")).ok());
    QCOMPARE(readFile(dir.path() + "/--toc.txt"),
             QByteArray("Chapter: One\r\nSubchapter: Alpha\r\nSubchapter: Beta Two\r\n"));
    QCOMPARE(readFile(dir.path() + "/.history/--toc.txt"), original);
    QVERIFY(editor.renameSection(0, 1, QStringLiteral("Beta Three")).ok());
    QCOMPARE(readFile(dir.path() + "/.history/--toc.txt"), original);
    // The journal and its staging folder are gone once an edit is done.
    QVERIFY(!QFileInfo::exists(dir.path() + "/.outline-journal"));
    QVERIFY(!QFileInfo::exists(dir.path() + "/.outline-staging"));
    QCOMPARE(textsOnDisk(dir.path()), QStringList{"one---alpha.txt=text of one---alpha.txt"});
}

void tst_OutlineEditor::sharedFileIsCopiedOrLeft()
{
    QTemporaryDir dir;
    const QByteArray toc = "Chapter: One\r\nSubchapter: Same\r\nSubchapter: Same\r\n";
    QVERIFY(makeOutlineProject(dir.path(), toc, {"one---same.txt"}));
    OutlineEditor editor;
    editor.reset(loadProjectOutline(dir.path()));

    QVERIFY(editor.renameSection(0, 1, QStringLiteral("Other")).ok());
    QCOMPARE(textsOnDisk(dir.path()), (QStringList{"one---other.txt=text of one---same.txt",
                                                   "one---same.txt=text of one---same.txt"}));
    // Undone, the copy may hold edits of its own: it goes to the trash, not away.
    QVERIFY(editor.undo().ok());
    const QStringList shared{"one---same.txt=text of one---same.txt", "trash:text of one---same.txt"};
    QCOMPARE(textsOnDisk(dir.path()), shared);

    QVERIFY(editor.deleteSection(0, 0).ok());
    QCOMPARE(textsOnDisk(dir.path()), shared);
    QCOMPARE(outlineTitles(editor.outline()), QStringList{"One/Same"});
}

void tst_OutlineEditor::unplacedTextInTheWayGoesToTrash()
{
    QTemporaryDir dir;
    QVERIFY(makeOutlineProject(dir.path(), kToc, kTexts + QStringList{"one---new.txt"}));
    OutlineEditor editor;
    editor.reset(loadProjectOutline(dir.path()));
    QVERIFY(editor.renameSection(0, 0, QStringLiteral("New")).ok());
    QCOMPARE(textsOnDisk(dir.path()),
             (QStringList{"one---new.txt=text of one---alpha.txt", "two---gamma.txt=text of two---gamma.txt",
                          "trash:text of one---new.txt"}));
}

void tst_OutlineEditor::editingRefusedAfterLoadError()
{
    QTemporaryDir dir;
    QVERIFY(makeOutlineProject(dir.path(), "Subchapter: Before\r\nChapter: One\r\n", {}));
    OutlineEditor editor;
    editor.reset(loadProjectOutline(dir.path()));
    QVERIFY(!editor.outline().editable());
    QVERIFY(!editor.addChapter(-1, QStringLiteral("Two")).ok());
    QCOMPARE(readFile(dir.path() + "/--toc.txt"), QByteArray("Subchapter: Before\r\nChapter: One\r\n"));
}

void tst_OutlineEditor::restoreFromTrash()
{
    QTemporaryDir dir;
    QVERIFY(makeOutlineProject(dir.path(), kToc, kTexts));
    OutlineEditor editor;
    editor.reset(loadProjectOutline(dir.path()));
    QVERIFY(editor.deleteChapter(0).ok());
    const QList<TrashItem> items = trashItems(dir.path());
    QCOMPARE(items.size(), 1);
    QCOMPARE(items.first().title, QStringLiteral("Alpha"));
    QCOMPARE(items.first().chapter, QStringLiteral("One"));

    QVERIFY(editor.restoreFromTrash(items.first(), -1).ok());
    QCOMPARE(outlineTitles(editor.outline()), (QStringList{"Two/Gamma", "One/Alpha"}));
    QCOMPARE(textsOnDisk(dir.path()), (QStringList{"one---alpha.txt=text of one---alpha.txt",
                                                   "two---gamma.txt=text of two---gamma.txt"}));
    QVERIFY(trashItems(dir.path()).isEmpty());
    QVERIFY(editor.undo().ok());
    QVERIFY(editor.restoreFromTrash(trashItems(dir.path()).first(), 0).ok());
    QCOMPARE(outlineTitles(editor.outline()), (QStringList{"Two/Gamma", "Two/Alpha"}));
    QCOMPARE(textsOnDisk(dir.path()), (QStringList{"two---alpha.txt=text of one---alpha.txt",
                                                   "two---gamma.txt=text of two---gamma.txt"}));

    QVERIFY(editor.deleteSection(0, 1).ok());
    QVERIFY(emptyTrash(dir.path()).ok());
    QVERIFY(trashItems(dir.path()).isEmpty());
    QCOMPARE(textsOnDisk(dir.path()), QStringList{"two---gamma.txt=text of two---gamma.txt"});
}

void tst_OutlineEditor::tocRoundTripOverRandomOutlines()
{
    QRandomGenerator random(20261207);
    for (int round = 0; round < 300; ++round) {
        ProjectOutline outline;
        const int chapters = random.bounded(1, 6);
        for (int c = 0; c < chapters; ++c) {
            OutlineChapterEntry chapter{outline.newId(), hostileTitle(random), {}};
            const int sections = random.bounded(0, 5);
            for (int s = 0; s < sections; ++s) {
                chapter.sections.append({outline.newId(), hostileTitle(random), {}, false});
            }
            outline.chapters.append(chapter);
        }
        storeTitles(outline);
        const Outline read = buildOutline(splitAtLineFeeds(decodeText(encodeText(tocText(outline)))));
        QCOMPARE(read.error, OutlineError::None);
        QCOMPARE(read.chapters.size(), outline.chapters.size());
        for (qsizetype c = 0; c < read.chapters.size(); ++c) {
            QCOMPARE(read.chapters.at(c).title, outline.chapters.at(c).title);
            QStringList sections;
            for (const OutlineSection& section : outline.chapters.at(c).sections) {
                sections.append(section.title);
            }
            QCOMPARE(read.chapters.at(c).sections, sections);
        }
    }
}

QTEST_GUILESS_MAIN(tst_OutlineEditor)
#include "tst_outline_editor.moc"
