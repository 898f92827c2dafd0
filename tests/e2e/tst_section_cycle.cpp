// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "e2e/e2e_harness.h"

#include "app/frm_main1_design.h"
#include "manager/frm_new_design.h"
#include "rtf/rtf.h"

#include <QTest>

using namespace folioneer::e2e;

namespace {

const QByteArray kToc = "Chapter: The Basics\r\nSubchapter: Soil\r\nSubchapter: Water\r\n";
const QByteArray kMainTopic = "Gardening\r\n";

namespace mainWindow = folioneer::mainWindowDesign;
constexpr folioneer::TwipsPoint kFrame1{mainWindow::Frame1.left, mainWindow::Frame1.top};

} // namespace

// The whole section cycle in the real program: open a prepared project from the project
// manager, choose a section with the keyboard, copy its prompt, export the book, paste an RTF
// answer and save it.
class TestSectionCycle : public QObject {
    Q_OBJECT

private slots:
    void sectionCycle();
};

void TestSectionCycle::sectionCycle()
{
    Session session;
    QVERIFY2(session.isValid(), qPrintable(session.lastError()));
    session.makeProject(QStringLiteral("Garden"), kToc, kMainTopic);
    QVERIFY2(session.startProgram(), qPrintable(session.lastError()));

    // Open the only project: the list has the focus, Down selects it, "Load Project" opens it.
    const auto manager = session.waitForWindow(kManagerTitle);
    QVERIFY2(manager, qPrintable(session.lastError() + "\n" + session.programOutput()));
    QVERIFY(session.key(*manager, {QStringLiteral("Down")}));
    QVERIFY(session.clickTwips(*manager, folioneer::managerDesign::cmdLoadProject,
                               folioneer::managerDesign::kOpenPanelLoaded));
    QVERIFY(session.waitForWindowGone(*manager));
    const auto main = session.waitForWindowMatching(kMainTitle);
    QVERIFY2(main, qPrintable(session.lastError() + "\n" + session.programOutput()));
    const WindowId window = main->id;

    // The outline has the focus: Down chooses the chapter, Right opens it, Down the first section.
    QVERIFY(session.key(window, {QStringLiteral("Down"), QStringLiteral("Right"), QStringLiteral("Down")}));

    // "Copy to Clipboard": the content prompt, byte for byte.
    QVERIFY(session.clickTwips(window, mainWindow::lblCopy, kFrame1));
    QVERIFY2(session.answerMessageBox(QStringLiteral("Done")), qPrintable(session.lastError()));
    const QByteArray prompt =
        "I'm creating a book for the following topic: Gardening\r\n. I'm now working in the "
        "following chapter: \"The Basics\r\" and i need content for the following section "
        "of the chapter: \"Soil\r\".";
    QCOMPARE(session.clipboard(), std::optional<QByteArray>(prompt));

    // "Paste" of an RTF document, then "Save Changes" writes the content file.
    const QByteArray answer =
        "{\\rtf1\\ansi\\ansicpg1252 Loam and \\b clay\\b0  \\'e0 la carte\\par Second\\par}";
    QVERIFY(session.setClipboard(answer));
    QVERIFY(session.clickTwips(window, mainWindow::lblPaste));
    QVERIFY(session.clickTwips(window, mainWindow::cmdSaveChanges));
    std::optional<QByteArray> saved;
    QVERIFY(waitUntil(
        [&] {
            saved = session.readProgramFile(QStringLiteral("projects/Garden/the-basics---soil.txt"));
            return saved.has_value();
        },
        Session::kWindowTimeoutMs));
    QCOMPARE(folioneer::rtf::plainTextFromRtf(*saved).text,
             QStringLiteral("Loam and clay \u00e0 la carte\r\nSecond"));

    // "Copy Everything to Clipboard": the whole book with the saved section.
    QVERIFY(session.clickTwips(window, mainWindow::cmdCopyEverything));
    QVERIFY2(session.answerMessageBox(QStringLiteral("Done")), qPrintable(session.lastError()));
    const QByteArray separator(69, '-');
    const QByteArray book = "\r\nChapter: The Basics\r\n" + separator + "\r\n\r\n\r\n" +
                            "\r\nSubchapter: Soil\r\n" + separator + "\r\n\r\n\r\n" +
                            "Loam and clay \xc3\xa0 la carte\r\nSecond\r\n\r\n" +
                            "\r\nSubchapter: Water\r\n" + separator + "\r\n\r\n\r\n";
    QCOMPARE(session.clipboard(), std::optional<QByteArray>(book));
}

QTEST_GUILESS_MAIN(TestSectionCycle)
#include "tst_section_cycle.moc"
