// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Photographs the real program for the user manual and the README, so the pictures always show
// the windows as they are: a sample book is prepared in a private program folder, the program
// runs on a private Xvfb, and each window and panel is captured after the clicks a user makes.
// Usage: e2e_screenshots OUTPUT_FOLDER [PROGRAM_FOLDER]
// Writes project-manager-open.png, project-manager-create.png, sequel-panel.png, main-window.png.
#include "e2e/e2e_harness.h"

#include "project/content_paths.h"
#include "project/toc.h"
#include "rtf/rtf.h"
#include "widgets/layout_units.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTextCursor>
#include <QTextDocument>
#include <QThread>

#include <cstdio>

using namespace folioneer;
using folioneer::e2e::Session;
using folioneer::e2e::WindowId;

namespace {

const QByteArray kToc = "Chapter: 1. Planning Your Garden\r\n"
                        "Subchapter: 1.1 Choosing the Right Spot\r\n"
                        "Subchapter: 1.2 Deciding What to Grow\r\n"
                        "Subchapter: 1.3 Tools You Will Need\r\n"
                        "Chapter: 2. Preparing the Soil\r\n"
                        "Subchapter: 2.1 Testing Your Soil\r\n"
                        "Subchapter: 2.2 Compost and Organic Matter\r\n"
                        "Chapter: 3. Planting and Care\r\n"
                        "Subchapter: 3.1 Sowing Seeds Indoors\r\n"
                        "Subchapter: 3.2 Watering Wisely\r\n"
                        "Subchapter: 3.3 Keeping Pests Away\r\n"
                        "Chapter: 4. Harvest Time\r\n"
                        "Subchapter: 4.1 Knowing When to Pick\r\n"
                        "Subchapter: 4.2 Storing Your Crops\r\n";
const QByteArray kMainTopic = "Home vegetable gardening for complete beginners";
const QString kProject = QStringLiteral("Home Vegetable Gardening");

// Frames of the project manager, in twips of its client area.
const QPoint kOpenPanel(4635, 675);
const QPoint kCreatePanel = kOpenPanel; // the creation panel takes the open panel's place
const QPoint kSequelPanel(4635, 180);   // the sequel panel covers the mode selector too

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

// The content files of the first two sections, so the outline shows both section icons.
bool writeSampleContent(const QString& projectFolder)
{
    const Outline outline = buildOutline(SplitLines(QString::fromUtf8(kToc)));
    const QStringList paragraphs{
        QStringLiteral(
            "The best spot for a vegetable garden gets at least six hours of direct sun a day, "
            "drains well after rain and lies close enough to a tap that watering is never a chore."),
        QStringLiteral("Walk your garden at different times of the day and note where the shadows of the "
                       "house, fences and trees fall. Morning sun dries the leaves early and keeps many "
                       "diseases away."),
    };
    for (int i = 0; i < 2; ++i) {
        QTextDocument document;
        QTextCursor cursor(&document);
        QTextCharFormat bold;
        bold.setFontWeight(QFont::Bold);
        cursor.insertText(outline.chapters.first().sections.at(i).trimmed(), bold);
        for (const QString& paragraph : paragraphs) {
            cursor.insertBlock();
            cursor.insertText(paragraph, QTextCharFormat());
        }
        QFile file(ContentFilePath(projectFolder, outline.chapters.first().title,
                                   outline.chapters.first().sections.at(i)));
        const QByteArray rtf = rtf::writeRtf(document);
        if (!file.open(QIODevice::WriteOnly) || file.write(rtf) != rtf.size()) {
            return false;
        }
    }
    return true;
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
    const QString project = session.makeProject(kProject, kToc, kMainTopic);
    if (!writeSampleContent(project)) {
        std::fprintf(stderr, "e2e_screenshots: cannot write the sample content files\n");
        return 1;
    }
    if (!session.startProgram()) {
        die(session, "start");
    }

    // The project manager opens in "Open Project" because a project exists; select it.
    const auto manager = session.waitForWindow(QStringLiteral("Project Manager"));
    if (!manager) {
        die(session, "project manager");
    }
    const WindowId window = *manager;
    auto shoot = [&](const char* name, const WindowId& id) {
        settle();
        if (!session.screenshot(output + QLatin1Char('/') + QLatin1String(name), id)) {
            die(session, name);
        }
        std::printf("wrote %s/%s\n", qPrintable(output), name);
    };
    // A point given in twips of a window's client area.
    auto at = [](int xTwips, int yTwips) { return QPoint(twipsToPixels(xTwips), twipsToPixels(yTwips)); };
    auto click = [&](const WindowId& id, QPoint point, const char* what) {
        if (!session.click(id, point)) {
            die(session, what);
        }
        QThread::msleep(300);
    };

    // lstProjects (585, 630 in the open panel): its first row.
    click(window, at(kOpenPanel.x() + 585 + 600, kOpenPanel.y() + 630 + 150), "select the project");
    shoot("project-manager-open.png", window);

    // optMenu(1) "Create Project" (6615, 180, 2760, 465), then steps 1 to 4 as a user fills them.
    click(window, at(6615 + 300, 180 + 232), "Create Project");
    click(window, at(kCreatePanel.x() + 135 + 2000, kCreatePanel.y() + 720 + 255), "main topic");
    if (!session.type(window, QString::fromUtf8(kMainTopic))) {
        die(session, "type the main topic");
    }
    if (!session.setClipboard(kToc)) {
        die(session, "clipboard");
    }
    click(window, at(kCreatePanel.x() + 8280 + 700, kCreatePanel.y() + 3420 + 165), "Paste Results");
    click(window, at(kCreatePanel.x() + 4545 + 1500, kCreatePanel.y() + 5715 + 255), "project name");
    if (!session.type(window, QStringLiteral("Vegetable Gardening"))) {
        die(session, "type the project name");
    }
    shoot("project-manager-create.png", window);

    // "Create Sequel For Public Domain Title" (5625, 315, 4065, 240 in the creation panel), then the
    // first idea of the first title in lstPrompts (180, 2160 in the sequel panel).
    click(window, at(kCreatePanel.x() + 5625 + 2000, kCreatePanel.y() + 315 + 120), "sequel link");
    click(window, at(kSequelPanel.x() + 180 + 1500, kSequelPanel.y() + 2160 + 150), "first idea");
    shoot("sequel-panel.png", window);

    // "Cancel" (5400, 6930, 2175, 645), back to "Open Project" (4635, 180), select the book and
    // "Load Project" (1080, 6345, 3435, 690 in the open panel).
    click(window, at(kSequelPanel.x() + 5400 + 1087, kSequelPanel.y() + 6930 + 322), "Cancel");
    click(window, at(4635 + 300, 180 + 232), "Open Project");
    click(window, at(kOpenPanel.x() + 585 + 600, kOpenPanel.y() + 630 + 150), "select the project again");
    click(window, at(kOpenPanel.x() + 1080 + 1717, kOpenPanel.y() + 6345 + 345), "Load Project");
    if (!session.waitForWindowGone(window)) {
        die(session, "project manager closing");
    }
    const auto main = session.waitForWindowMatching(QRegularExpression(QStringLiteral("Folioneer Pro .*")));
    if (!main) {
        die(session, "main window");
    }
    // The outline has the focus: the first chapter, open it, its first section.
    settle();
    if (!session.key(main->id, {QStringLiteral("Down"), QStringLiteral("Right"), QStringLiteral("Down")})) {
        die(session, "outline keys");
    }
    shoot("main-window.png", main->id);
    return 0;
}
