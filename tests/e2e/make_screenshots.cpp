// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Photographs the real program for the user manual and the README, so the pictures always show
// the windows as they are. The sample book is made the way a user makes one: the program starts
// on a private Xvfb with an empty projects folder, the project manager creates the book from a
// typed topic and a pasted table of contents, and the first two sections get their text through
// "Paste" and a save. Each window and panel is captured after the clicks a user makes.
// Usage: e2e_screenshots OUTPUT_FOLDER [PROGRAM_FOLDER]
// Writes project-manager-open.png, project-manager-create.png, sequel-panel.png, main-window.png.
#include "e2e/e2e_harness.h"

#include "app/frm_main1_design.h"
#include "manager/frm_new_design.h"
#include "project/content_paths.h"
#include "rtf/rtf.h"

#include <QDir>
#include <QGuiApplication>
#include <QTextCursor>
#include <QTextDocument>
#include <QThread>

#include <cstdio>

using namespace folioneer;
using folioneer::e2e::Session;
using folioneer::e2e::WindowId;

namespace {

namespace manager = folioneer::managerDesign;
namespace mainWindow = folioneer::mainWindowDesign;

// The table of contents as a chat tool answers it: bare LF line ends. The program stores it with
// CR LF, as it stores every table of contents.
const QByteArray kAnswer = "Chapter: 1. Planning Your Garden\n"
                           "Subchapter: 1.1 Choosing the Right Spot\n"
                           "Subchapter: 1.2 Deciding What to Grow\n"
                           "Subchapter: 1.3 Tools You Will Need\n"
                           "Chapter: 2. Preparing the Soil\n"
                           "Subchapter: 2.1 Testing Your Soil\n"
                           "Subchapter: 2.2 Compost and Organic Matter\n"
                           "Chapter: 3. Planting and Care\n"
                           "Subchapter: 3.1 Sowing Seeds Indoors\n"
                           "Subchapter: 3.2 Watering Wisely\n"
                           "Subchapter: 3.3 Keeping Pests Away\n"
                           "Chapter: 4. Harvest Time\n"
                           "Subchapter: 4.1 Knowing When to Pick\n"
                           "Subchapter: 4.2 Storing Your Crops\n";
const QString kMainTopic = QStringLiteral("Home vegetable gardening for complete beginners");
const QString kProject = QStringLiteral("Home Vegetable Gardening");
const QString kProjectFolder = QStringLiteral("projects/Home Vegetable Gardening");
const QString kChapter = QStringLiteral("1. Planning Your Garden\r");
const QStringList kSections{QStringLiteral("1.1 Choosing the Right Spot\r"),
                            QStringLiteral("1.2 Deciding What to Grow\r")};

[[noreturn]] void die(const Session& session, const char* step)
{
    std::fprintf(stderr, "e2e_screenshots: %s: %s\n%s\n", step, qPrintable(session.lastError()),
                 session.programOutput().constData());
    std::exit(1);
}

void settle()
{
    QThread::msleep(700); // let the program repaint after the last input
}

// What a section's answer brings: its title in bold, then two paragraphs, as RTF.
QByteArray sectionAnswer(const QString& title)
{
    const QStringList paragraphs{
        QStringLiteral(
            "The best spot for a vegetable garden gets at least six hours of direct sun a day, "
            "drains well after rain and lies close enough to a tap that watering is never a chore."),
        QStringLiteral("Walk your garden at different times of the day and note where the shadows of the "
                       "house, fences and trees fall. Morning sun dries the leaves early and keeps many "
                       "diseases away."),
    };
    QTextDocument document;
    QTextCursor cursor(&document);
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    cursor.insertText(title.trimmed(), bold);
    for (const QString& paragraph : paragraphs) {
        cursor.insertBlock();
        cursor.insertText(paragraph, QTextCharFormat());
    }
    return rtf::writeRtf(document);
}

} // namespace

int main(int argc, char* argv[])
{
    QGuiApplication application(argc, argv); // QTextDocument needs fonts; runs on the offscreen platform
    if (argc < 2) {
        std::fprintf(stderr, "usage: e2e_screenshots OUTPUT_FOLDER [PROGRAM_FOLDER]\n");
        return 2;
    }
    const QString output = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
    QDir().mkpath(output);
    Session session(argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString());
    if (!session.isValid()) {
        die(session, "program folder");
    }
    if (!session.startProgram()) {
        die(session, "start");
    }
    auto shoot = [&](const char* name, const WindowId& id) {
        settle();
        if (!session.screenshot(output + QLatin1Char('/') + QLatin1String(name), id)) {
            die(session, name);
        }
        std::printf("wrote %s/%s\n", qPrintable(output), name);
    };
    auto click = [&](const WindowId& id, const TwipsRect& control, TwipsPoint container, const char* what) {
        if (!session.clickTwips(id, control, container)) {
            die(session, what);
        }
        QThread::msleep(300);
    };
    auto key = [&](const WindowId& id, const QStringList& keys, const char* what) {
        if (!session.key(id, keys)) {
            die(session, what);
        }
    };

    // No project yet: the manager opens in "Create Project". Steps 1 to 4 as a user fills them.
    auto window = session.waitForWindow(e2e::kManagerTitle);
    if (!window) {
        die(session, "project manager");
    }
    const TwipsPoint createPanel = manager::kCreatePanelLoaded;
    click(*window, manager::txtMainTopic, createPanel, "main topic");
    if (!session.type(*window, kMainTopic)) {
        die(session, "type the main topic");
    }
    if (!session.setClipboard(kAnswer)) {
        die(session, "clipboard");
    }
    click(*window, manager::lblPaste, createPanel, "Paste Results");
    click(*window, manager::txtProjectName, createPanel, "project name");
    if (!session.type(*window, kProject)) {
        die(session, "type the project name");
    }
    shoot("project-manager-create.png", *window);

    // "Create Project": the program writes the book and opens it in the main window.
    click(*window, manager::cmdOk, createPanel, "Create Project");
    if (!session.answerMessageBox(QStringLiteral("Done")) || !session.waitForWindowGone(*window)) {
        die(session, "project created");
    }
    // Every created project's main topic ends in CR LF, and the prompts show it: a picture of a
    // project made any other way would show a prompt no user ever sees.
    const auto mainTopic = session.readProgramFile(kProjectFolder + QStringLiteral("/--maintopic.txt"));
    if (!mainTopic || *mainTopic != kMainTopic.toUtf8() + "\r\n") {
        std::fprintf(stderr,
                     "e2e_screenshots: the created main topic is not the typed one ending in CR LF\n");
        return 1;
    }
    const auto main = session.waitForWindowMatching(e2e::kMainTitle);
    if (!main) {
        die(session, "main window");
    }

    // The first two sections get their text: chosen in the outline (which keeps the focus: the
    // links take none), "Paste" of an answer, Ctrl+S. Then back to the first one.
    settle();
    key(main->id, {QStringLiteral("Down"), QStringLiteral("Right")}, "open the first chapter");
    for (const QString& section : kSections) {
        key(main->id, {QStringLiteral("Down")}, "choose a section");
        if (!session.setClipboard(sectionAnswer(section), QStringLiteral("text/rtf"))) {
            die(session, "clipboard");
        }
        click(main->id, mainWindow::lblPaste, {}, "Paste");
        key(main->id, {QStringLiteral("ctrl+s")}, "save");
        const QString content = ContentFilePath(kProjectFolder, kChapter, section);
        if (!session.waitForProgramFile(content, [](const auto& bytes) { return bytes.has_value(); })) {
            die(session, "section saved");
        }
    }
    key(main->id, {QStringLiteral("Up")}, "back to the first section");
    shoot("main-window.png", main->id);

    // The manager again, now in "Open Project": the book selected.
    const TwipsPoint openPanel = manager::kOpenPanelLoaded;
    click(main->id, mainWindow::lblProjectManager, {}, "Project Manager");
    window = session.waitForWindow(e2e::kManagerTitle);
    if (!window) {
        die(session, "project manager again");
    }
    click(*window, {manager::lstProjects.left, manager::lstProjects.top, manager::lstProjects.width, 300},
          openPanel, "select the project");
    shoot("project-manager-open.png", *window);

    // "Create Project", then "Create Sequel For Public Domain Title" and the first idea of the
    // first title.
    click(*window, manager::optMenu_1, {}, "Create Project");
    click(*window, manager::lblCreateFromPublicDomainTitles, createPanel, "sequel link");
    click(*window, {manager::lstPrompts.left, manager::lstPrompts.top, manager::lstPrompts.width, 300},
          manager::kSequelPanelLoaded, "first idea");
    shoot("sequel-panel.png", *window);
    return 0;
}
