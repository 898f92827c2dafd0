// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "main_window_fixture.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QtTest>

using namespace folioneer;
using namespace folioneer::test;

namespace {

const QByteArray kGardenToc = "Chapter: The Basics\r\n"
                              "Subchapter: Soil\r\n"
                              "Subchapter: Water\r\n"
                              "Chapter: Growing\r\n"
                              "Subchapter: Seeds\r\n"
                              "Subchapter: Light\r\n"
                              "Chapter:Harvest\r\n"
                              "Subchapter: Picking\r\n"
                              "Subchapter: Storing\r\n";

const QString kLoadError =
    QStringLiteral("There is an error in the project. If you've just created a new project "
                   "and you're getting an error please read the user manual.");

QStringList nodeTexts(const QTreeWidget* tree)
{
    QStringList texts;
    for (int i = 0; i < tree->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* chapter = tree->topLevelItem(i);
        texts << OutlineTree::title(chapter);
        for (int j = 0; j < chapter->childCount(); ++j) {
            texts << QStringLiteral("  ") + OutlineTree::title(chapter->child(j));
        }
    }
    return texts;
}

} // namespace

// LoadProject against real project folders: the outline and its icons, every failure the user
// can meet, and the section workspace that a load must clear so nothing is saved into the
// wrong project.
class tst_load_project : public QObject {
    Q_OBJECT

private slots:
    void outlineWithIcons();
    void failures_data();
    void failures();
    void tocAtTheCharacterLimitLoads();
    void brokenProjectFiles_data();
    void brokenProjectFiles();
    void replacingOneProjectByAnother();
};

void tst_load_project::outlineWithIcons()
{
    MainWindowFixture f;
    const QString folder = f.program.makeProject(QStringLiteral("Garden"), kGardenToc, "Gardening\r\n");
    QVERIFY(writeFile(folder + QStringLiteral("/growing---light.txt"), "{\\rtf1 Sun\\par}"));
    QVERIFY(f.showWindow());
    f.window->LoadProject(folder);

    QVERIFY(f.boxes.shown.isEmpty());
    QCOMPARE(f.caption("lblProjectFolder"), folder);
    QCOMPARE(f.caption("lblMainTopic"), QStringLiteral("Gardening\r\n"));
    const QStringList expected{
        QStringLiteral(" The Basics\r"), QStringLiteral("  Soil\r"),    QStringLiteral("  Water\r"),
        QStringLiteral(" Growing\r"),    QStringLiteral("  Seeds\r"),   QStringLiteral("  Light\r"),
        QStringLiteral("Harvest\r"),     QStringLiteral("  Picking\r"), QStringLiteral("  Storing\r"),
    };
    QCOMPARE(nodeTexts(f.tree()), expected);

    QTreeWidget* tree = f.tree();
    for (int i = 0; i < tree->topLevelItemCount(); ++i) {
        QTreeWidgetItem* chapter = tree->topLevelItem(i);
        QCOMPARE(OutlineTree::image(chapter), 1);
        QVERIFY(!chapter->isExpanded());
        QVERIFY(!chapter->icon(0).isNull());
        for (int j = 0; j < chapter->childCount(); ++j) {
            const bool light = i == 1 && j == 1;
            QCOMPARE(OutlineTree::image(chapter->child(j)), light ? 3 : 2);
        }
    }
    // The CR is part of the title but is not drawn.
    QCOMPARE(f.node(0)->text(0), QStringLiteral(" The Basics"));
    QCOMPARE(f.node(1, 1)->text(0), QStringLiteral("Light"));
    QVERIFY(!tree->currentItem());
    QVERIFY(tree->selectedItems().isEmpty());
}

void tst_load_project::failures_data()
{
    QTest::addColumn<QByteArray>("toc");
    QTest::addColumn<QString>("breakage");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("title");
    QTest::addColumn<int>("icon");
    QTest::addColumn<int>("chapters");
    QTest::addColumn<QString>("mainTopic");

    const QString programTitle = QStringLiteral("FolioneerPro");
    const QString previous = QStringLiteral("Old topic\r\n");
    const QString loaded = QStringLiteral("New topic\r\n");
    const int info = int(MessageIcon::Information);
    const int none = int(MessageIcon::None);

    QTest::newRow("chapter icon missing")
        << kGardenToc << "remove folder.ico" << kLoadError << "Error" << info << 0 << previous;
    QTest::newRow("blank icon missing")
        << kGardenToc << "remove blank.ico" << kLoadError << "Error" << info << 0 << previous;
    QTest::newRow("document icon not an image")
        << kGardenToc << "garble document.ico" << kLoadError << "Error" << info << 0 << previous;
    QTest::newRow("toc missing") << kGardenToc << "remove --toc.txt" << kLoadError << "Error" << info << 0
                                 << previous;
    QTest::newRow("toc unreadable (a folder)")
        << kGardenToc << "folder --toc.txt" << kLoadError << "Error" << info << 0 << previous;
    QTest::newRow("toc over 32767 characters")
        << QByteArray("Chapter: A\r\n") + QByteArray(32767 - 12 + 1, 'x') << "" << kLoadError << "Error"
        << info << 0 << previous;
    QTest::newRow("main topic missing")
        << kGardenToc << "remove --maintopic.txt" << kLoadError << "Error" << info << 3 << previous;
    QTest::newRow("section before first chapter")
        << QByteArray("Subchapter: A\r\nChapter: B\r\nSubchapter: C\r\n") << ""
        << "Error: Nodo principal no encontrado." << programTitle << none << 0 << loaded;
    QTest::newRow("no chapter line")
        << QByteArray("chapter: lower case\r\nChapter 1: X\r\n\tChapter: tab\r\nCHAPTER: Y") << ""
        << "Error: No se encontraron nodos principales." << programTitle << none << 0 << loaded;
}

void tst_load_project::failures()
{
    QFETCH(QByteArray, toc);
    QFETCH(QString, breakage);
    QFETCH(QString, message);
    QFETCH(QString, title);
    QFETCH(int, icon);
    QFETCH(int, chapters);
    QFETCH(QString, mainTopic);

    MainWindowFixture f;
    QVERIFY(f.showWindow());
    const QString old = f.program.makeProject(QStringLiteral("Old"), kGardenToc, "Old topic\r\n");
    f.window->LoadProject(old);
    // An edited section of the old project, ready to be saved.
    f.click(f.node(0, 0));
    QTest::keyClicks(f.content(), QStringLiteral("typed"));
    QVERIFY(f.saveShown());

    const QString folder = f.program.makeProject(QStringLiteral("New"), toc, "New topic\r\n");
    const QString action = breakage.section(u' ', 0, 0);
    const QString target = breakage.section(u' ', 1);
    const QString targetPath =
        target.endsWith(QStringLiteral(".ico")) ? f.program.path() + u'/' + target : folder + u'/' + target;
    if (action == QStringLiteral("remove")) {
        QVERIFY(QFile::remove(targetPath));
    } else if (action == QStringLiteral("garble")) {
        QVERIFY(writeFile(targetPath, "not an icon at all"));
    } else if (action == QStringLiteral("folder")) {
        QVERIFY(QFile::remove(targetPath));
        QVERIFY(QDir().mkdir(targetPath));
    }

    f.boxes.shown.clear();
    f.window->LoadProject(folder);

    QCOMPARE(f.boxes.shown.size(), 1);
    QCOMPARE(f.boxes.shown.first().text, message);
    QCOMPARE(f.boxes.shown.first().title, title);
    QCOMPARE(int(f.boxes.shown.first().icon), icon);
    QCOMPARE(f.boxes.shown.first().buttons, MessageButtons::Ok);

    QCOMPARE(f.caption("lblProjectFolder"), folder);
    QCOMPARE(f.tree()->topLevelItemCount(), chapters);
    QCOMPARE(f.caption("lblMainTopic"), mainTopic);

    // The old project's section is gone from the workspace, whatever failed.
    QCOMPARE(f.caption("lblParentNode"), QString());
    QCOMPARE(f.caption("lblSelectedItem"), QString());
    QCOMPARE(f.prompt()->text(), QString());
    QVERIFY(f.content()->toPlainText().isEmpty());
    QVERIFY(!f.content()->isEnabled());
    QVERIFY(!f.saveShown());
    f.window->cmdSaveChanges_Click();
    QVERIFY(QDir(folder).entryList({QStringLiteral("*---*")}, QDir::Files).isEmpty());
    QVERIFY(QDir(old).entryList({QStringLiteral("*---*")}, QDir::Files).isEmpty());
}

void tst_load_project::tocAtTheCharacterLimitLoads()
{
    MainWindowFixture f;
    // 32,767 characters counted after decoding: "é" is two bytes in UTF-8 but one character.
    QByteArray toc = "Chapter: A\r\nSubchapter: B\r\n";
    const qsizetype fill = 32767 - toc.size();
    toc += QString(fill, QChar(0xE9)).toUtf8();
    const QString folder = f.program.makeProject(QStringLiteral("Big"), toc, "Topic\r\n");
    f.window->LoadProject(folder);
    QVERIFY(f.boxes.shown.isEmpty());
    QCOMPARE(f.tree()->topLevelItemCount(), 1);
    QCOMPARE(f.node(0)->childCount(), 1);
}

void tst_load_project::brokenProjectFiles_data()
{
    QTest::addColumn<QByteArray>("toc");
    QTest::addColumn<QByteArray>("mainTopic");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("chapters");
    QTest::addColumn<QString>("firstSection");
    QTest::addColumn<int>("topicLength");

    const QByteArray topic = "Topic\r\n";
    const QString noChapters = QStringLiteral("Error: No se encontraron nodos principales.");
    const QByteArray nul("\0", 1);
    // Garbage decodes as Windows-1252, one character per byte.
    QTest::newRow("binary garbage as the table of contents")
        << garbage(4096, 1) << topic << noChapters << 0 << QString() << 7;
    QTest::newRow("binary garbage as the main topic")
        << kGardenToc << garbage(4096, 2) << QString() << 3 << QStringLiteral("Soil\r") << 4096;
    QTest::newRow("NUL bytes in titles")
        << "Chapter: A" + nul + "B\r\nSubchapter: C" + nul + nul + "D\r\n"
        << topic << QString() << 1 << QStringLiteral("C") + QChar(0) + QChar(0) + QStringLiteral("D\r") << 7;
    QTest::newRow("NUL bytes in the main topic") << kGardenToc << "Top" + QByteArray(1000, '\0') + "ic\r\n"
                                                 << QString() << 3 << QStringLiteral("Soil\r") << 1007;
    QTest::newRow("invalid UTF-8 in titles")
        << QByteArray("Chapter: Caf\xC3\x28\r\nSubchapter: \xFF\xFE\xC0\xAF\r\n") << topic << QString() << 1
        << QString::fromUtf8("\u00ff\u00fe\u00c0\u00af\r") << 7;
    QTest::newRow("1 MB single-line table of contents")
        << "Chapter: " + QByteArray(1 << 20, 'x') << topic << kLoadError << 0 << QString() << 0;
    QTest::newRow("512 KB single-line main topic")
        << kGardenToc << QByteArray(1 << 19, 't') << QString() << 3 << QStringLiteral("Soil\r") << (1 << 19);
}

void tst_load_project::brokenProjectFiles()
{
    QFETCH(QByteArray, toc);
    QFETCH(QByteArray, mainTopic);
    QFETCH(QString, message);
    QFETCH(int, chapters);
    QFETCH(QString, firstSection);
    QFETCH(int, topicLength);

    MainWindowFixture f;
    QVERIFY(f.showWindow());
    const QString folder = f.program.makeProject(QStringLiteral("Broken"), toc, mainTopic);
    const QStringList before = treeListing(f.program.path());
    f.window->LoadProject(folder);

    if (message.isEmpty()) {
        QVERIFY(f.boxes.shown.isEmpty());
    } else {
        QCOMPARE(f.boxes.shown.size(), 1);
        QCOMPARE(f.boxes.shown.first().text, message);
    }
    QCOMPARE(f.tree()->topLevelItemCount(), chapters);
    QCOMPARE(f.caption("lblMainTopic").size(), topicLength);
    if (chapters > 0) {
        QCOMPARE(OutlineTree::title(f.node(0, 0)), firstSection);
        // Opening a section made from such a line is an ordinary empty section, and quick.
        QElapsedTimer timer;
        timer.start();
        f.click(f.node(0, 0));
        const qint64 openingMs = timer.elapsed();
        QCOMPARE(f.boxes.shown.size(), 0);
        QVERIFY(f.content()->isEnabled());
        QVERIFY(f.prompt()->text().contains(firstSection));
        QVERIFY2(openingMs < timeBudgetMs(2000),
                 qPrintable(QStringLiteral("opening took %1 ms").arg(openingMs)));
    }
    // Reading a broken project never writes anything.
    QCOMPARE(treeListing(f.program.path()), before);
}

void tst_load_project::replacingOneProjectByAnother()
{
    MainWindowFixture f;
    QVERIFY(f.showWindow());
    const QString first = f.program.makeProject(QStringLiteral("First"), kGardenToc, "Gardening\r\n");
    const QString second = f.program.makeProject(
        QStringLiteral("Second"), "Chapter: The Basics\r\nSubchapter: Soil\r\n", "Cooking\r\n");
    QVERIFY(writeFile(second + QStringLiteral("/the-basics---soil.txt"), "{\\rtf1 Second soil\\par}"));
    f.window->LoadProject(first);
    f.click(f.node(0, 0));
    QTest::keyClicks(f.content(), QStringLiteral("First project's words"));
    QVERIFY(f.saveShown());

    f.window->LoadProject(second);
    QVERIFY(f.boxes.shown.isEmpty());
    QCOMPARE(f.tree()->topLevelItemCount(), 1);
    QCOMPARE(OutlineTree::image(f.node(0, 0)), 3);
    QCOMPARE(f.caption("lblMainTopic"), QStringLiteral("Cooking\r\n"));
    QVERIFY(!f.saveShown());
    QVERIFY(!f.content()->isEnabled());

    // Ctrl+S with nothing selected cannot write the first project's text into the second.
    QTest::keySequence(f.window.get(), QKeySequence::Save);
    f.window->cmdSaveChanges_Click();
    QCOMPARE(readFile(second + QStringLiteral("/the-basics---soil.txt")),
             QByteArray("{\\rtf1 Second soil\\par}"));
    QVERIFY(!QFile::exists(first + QStringLiteral("/the-basics---soil.txt")));

    // Loading the same project again reads its folder afresh.
    QVERIFY(writeFile(first + QStringLiteral("/the-basics---water.txt"), "{\\rtf1 W\\par}"));
    f.window->LoadProject(first);
    QCOMPARE(f.tree()->topLevelItemCount(), 3);
    QCOMPARE(OutlineTree::image(f.node(0, 1)), 3);
    QCOMPARE(f.caption("lblMainTopic"), QStringLiteral("Gardening\r\n"));
}

QTEST_MAIN(tst_load_project)
#include "tst_load_project.moc"
