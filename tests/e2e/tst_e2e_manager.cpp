// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "e2e/e2e_harness.h"

#include "app/frm_main1_design.h"
#include "manager/frm_new_design.h"

#include <QDir>
#include <QTest>

using namespace folioneer::e2e;

namespace {

namespace manager = folioneer::managerDesign;
namespace mainWindow = folioneer::mainWindowDesign;
// Where the load places the panels (twips in the window's client area).
constexpr folioneer::TwipsPoint kCreatePanel = manager::kCreatePanelLoaded;
constexpr folioneer::TwipsPoint kOpenPanel = manager::kOpenPanelLoaded;
constexpr folioneer::TwipsPoint kSequelPanel = manager::kSequelPanelLoaded;

QByteArray filled(const QByteArray& templateBytes, const QByteArray& topic)
{
    QByteArray text = templateBytes;
    return text.replace("#TOPIC#", topic);
}

} // namespace

// The project manager as a person uses it: a project made from a typed topic and a pasted
// table of contents, opened again by double-click and deleted; and a sequel prompt picked from
// the catalogue with mouse and keys.
class tst_e2e_manager : public QObject {
    Q_OBJECT

private slots:
    void createOpenAndDelete();
    void sequelPrompt();
};

void tst_e2e_manager::createOpenAndDelete()
{
    Session s;
    QVERIFY2(s.isValid(), qPrintable(s.lastError()));
    QVERIFY(QDir(s.programFolder() + QStringLiteral("/projects")).isEmpty());
    QVERIFY2(s.startProgram(), qPrintable(s.lastError()));
    auto manager = s.waitForWindow(kManagerTitle);
    QVERIFY2(manager, qPrintable(s.lastError() + s.programOutput()));

    // No project: Create Project mode with the focus in the main-topic box.
    const QByteArray topic = "Urban beekeeping for beginners";
    QVERIFY(s.type(*manager, QString::fromUtf8(topic)));
    QVERIFY(s.clickTwips(*manager, manager::lblCopyContent, kCreatePanel));
    QVERIFY2(s.answerMessageBox(QStringLiteral("Done")), qPrintable(s.lastError()));
    const auto templateBytes = s.readProgramFile(QStringLiteral("templates/prompt.txt"));
    QVERIFY(templateBytes && templateBytes->contains("#TOPIC#"));
    QCOMPARE(s.clipboard(), filled(*templateBytes, topic));

    // The AI tool's answer arrives with bare LF line ends; the file gets CR LF.
    const QByteArray answer = "Chapter: Getting started\nSubchapter: Choosing a hive\nSubchapter: Tools\n"
                              "Chapter: The first season\nSubchapter: Feeding\n";
    QVERIFY(s.setClipboard(answer));
    QVERIFY(s.clickTwips(*manager, manager::lblPaste, kCreatePanel));
    QVERIFY(s.clickTwips(*manager, manager::txtProjectName, kCreatePanel));
    QVERIFY(s.type(*manager, QStringLiteral("Bees")));
    QVERIFY(s.clickTwips(*manager, manager::cmdOk, kCreatePanel));
    QVERIFY2(s.answerMessageBox(QStringLiteral("Done")), qPrintable(s.lastError() + s.programOutput()));
    QVERIFY(s.waitForWindowGone(*manager));

    QCOMPARE(s.readProgramFile(QStringLiteral("projects/Bees/--maintopic.txt")), topic + "\r\n");
    QByteArray tocBytes = answer;
    tocBytes.replace("\n", "\r\n");
    QCOMPARE(s.readProgramFile(QStringLiteral("projects/Bees/--toc.txt")), tocBytes + "\r\n");

    // The main window holds the new project: its whole-book export lists the outline.
    const auto main = s.waitForWindowMatching(kMainTitle);
    QVERIFY2(main, qPrintable(s.lastError()));
    QVERIFY(s.clickTwips(main->id, mainWindow::cmdCopyEverything));
    QVERIFY2(s.answerMessageBox(QStringLiteral("Done")), qPrintable(s.lastError()));
    const auto book = s.clipboard();
    QVERIFY(book);
    for (const char* heading : {"Chapter: Getting started", "Subchapter: Choosing a hive",
                                "Subchapter: Tools", "Chapter: The first season", "Subchapter: Feeding"}) {
        QVERIFY2(book->contains(heading), heading);
    }

    // Reopen the manager and open the project by double-clicking its entry, the first in the list.
    QVERIFY(s.clickTwips(main->id, mainWindow::lblProjectManager));
    manager = s.waitForWindow(kManagerTitle);
    QVERIFY(manager);
    const QPoint firstEntry(folioneer::twipsToPixels(kOpenPanel.x + manager::lstProjects.left) + 40,
                            folioneer::twipsToPixels(kOpenPanel.y + manager::lstProjects.top) + 10);
    // Both clicks in one xdotool run, well inside the double-click interval even on a busy machine.
    const auto client = s.clientGeometry(*manager);
    QVERIFY(client);
    const QPoint at = client->topLeft() + firstEntry;
    QVERIFY(s.run(QStringLiteral("xdotool"),
                  {QStringLiteral("mousemove"), QString::number(at.x()), QString::number(at.y()),
                   QStringLiteral("sleep"), QStringLiteral("0.1"), QStringLiteral("click"),
                   QStringLiteral("--repeat"), QStringLiteral("2"), QStringLiteral("--delay"),
                   QStringLiteral("80"), QStringLiteral("1")})
                .ok());
    QVERIFY2(s.waitForWindowGone(*manager), "a double-click on the project did not open it");
    QVERIFY(s.isViewable(main->id));

    // Reopen and delete it: select, Delete Project, Yes, Done; the manager switches to Create.
    QVERIFY(s.clickTwips(main->id, mainWindow::lblProjectManager));
    manager = s.waitForWindow(kManagerTitle);
    QVERIFY(manager);
    QVERIFY(s.click(*manager, firstEntry));
    QVERIFY(s.clickTwips(*manager, manager::cmdDeleteProject, kOpenPanel));
    QVERIFY2(s.answerMessageBox(QStringLiteral("Confirm"), QStringLiteral("y")), qPrintable(s.lastError()));
    QVERIFY2(s.answerMessageBox(QStringLiteral("Done")), qPrintable(s.lastError()));
    QVERIFY(!QFileInfo::exists(s.programFolder() + QStringLiteral("/projects/Bees")));
    QVERIFY(s.isViewable(*manager));
    QVERIFY(s.key(*manager, {QStringLiteral("Escape")}));
    QVERIFY(s.waitForWindowGone(*manager));
    QVERIFY(s.programRunning());
}

void tst_e2e_manager::sequelPrompt()
{
    Session s;
    QVERIFY2(s.isValid(), qPrintable(s.lastError()));
    // A catalogue of two titles of our own, so the test knows what it picks.
    QVERIFY(QDir(s.programFolder() + QStringLiteral("/prompts/0")).removeRecursively());
    QVERIFY(s.writeProgramFile(QStringLiteral("prompts/0/Alpha Tale.txt"),
                               "1. First idea\r\n2. Second idea\r\n"));
    QVERIFY(s.writeProgramFile(QStringLiteral("prompts/0/Beta Story.txt"),
                               "1. The heir returns\r\n2. A storm in 1815. Ships lost\r\n3. Last\r\n"));
    QVERIFY2(s.startProgram(), qPrintable(s.lastError()));
    const auto manager = s.waitForWindow(kManagerTitle);
    QVERIFY2(manager, qPrintable(s.lastError()));

    // The idea list, in client pixels.
    const QRect ideas = folioneer::twipsRect(kSequelPanel.x + manager::lstPrompts.left,
                                             kSequelPanel.y + manager::lstPrompts.top,
                                             manager::lstPrompts.width, manager::lstPrompts.height);
    const auto creationPanel = s.grab(*manager);
    QVERIFY2(creationPanel, qPrintable(s.lastError()));
    QVERIFY(s.clickTwips(*manager, manager::lblCreateFromPublicDomainTitles, kCreatePanel));
    QVERIFY2(s.waitForRegionChange(*manager, ideas, *creationPanel), qPrintable(s.lastError()));
    // Pick the second title with the mouse and the keyboard, then an idea with the keys, once
    // the idea list shows the second title's ideas.
    const auto firstTitleIdeas = s.grab(*manager);
    QVERIFY2(firstTitleIdeas, qPrintable(s.lastError()));
    QVERIFY(s.clickTwips(*manager, manager::cboSuboptions, kSequelPanel)); // the list opens
    QVERIFY(s.key(*manager, {QStringLiteral("Down"), QStringLiteral("Return")}));
    QVERIFY2(s.waitForRegionChange(*manager, ideas, *firstTitleIdeas), qPrintable(s.lastError()));
    QVERIFY(s.clickTwips(*manager,
                         {manager::lstPrompts.left, manager::lstPrompts.top, manager::lstPrompts.width, 300},
                         kSequelPanel)); // first idea
    QVERIFY(s.key(*manager, {QStringLiteral("Down")}));
    QVERIFY(s.clickTwips(*manager, manager::cmpPromptOk, kSequelPanel));
    QVERIFY(s.clickTwips(*manager, manager::lblCopyContent, kCreatePanel));
    QVERIFY2(s.answerMessageBox(QStringLiteral("Done")), qPrintable(s.lastError()));

    const auto templateBytes = s.readProgramFile(QStringLiteral("templates/prompt-publicdomain.txt"));
    QVERIFY(templateBytes && templateBytes->contains("#TOPIC#"));
    const QByteArray sentence = "\"Beta Story\". The sequel describes A storm in 18Ships lost";
    QCOMPARE(s.clipboard(), filled(*templateBytes, sentence));
    QVERIFY(s.key(*manager, {QStringLiteral("Escape")}));
    QVERIFY(s.waitForWindowGone(*manager));
}

QTEST_GUILESS_MAIN(tst_e2e_manager)
#include "tst_e2e_manager.moc"
