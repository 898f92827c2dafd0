// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "e2e/e2e_harness.h"

#include <QTest>

using namespace folioneer::e2e;

namespace {

const QSize kManagerClient(1009, 557);
const QSize kMainClient(1231, 640);

// The program centres its windows itself: no window manager runs on the test display.
bool isCentred(const QRect& client)
{
    const QPoint expected((Session::kScreenSize.width() - client.width()) / 2,
                          (Session::kScreenSize.height() - client.height()) / 2);
    return qAbs(client.x() - expected.x()) <= 1 && qAbs(client.y() - expected.y()) <= 1;
}

QStringList titles(const QList<Window>& windows)
{
    QStringList result;
    for (const Window& window : windows) {
        result.append(window.title);
    }
    return result;
}

} // namespace

// Start-up as the user sees it: the project manager alone first, the main window after it.
class TestStartup : public QObject {
    Q_OBJECT

private slots:
    void managerFirstThenMainWindow_data();
    void managerFirstThenMainWindow();
    void projectManagerLinkOpensManagerAgain();
    void closingMainWindowEndsProgram();

private:
    // Starts the program and closes the start-up project manager; the main window's id.
    std::optional<WindowId> startToMainWindow(Session& session);
};

std::optional<WindowId> TestStartup::startToMainWindow(Session& session)
{
    if (!session.startProgram()) {
        return std::nullopt;
    }
    const auto manager = session.waitForWindow(kManagerTitle);
    if (!manager || !session.key(*manager, {QStringLiteral("Escape")}) ||
        !session.waitForWindowGone(*manager)) {
        return std::nullopt;
    }
    const auto main = session.waitForWindowMatching(kMainTitle);
    return main ? std::optional<WindowId>(main->id) : std::nullopt;
}

void TestStartup::managerFirstThenMainWindow_data()
{
    QTest::addColumn<bool>("closeBox");
    QTest::newRow("manager closed with Escape") << false;
    QTest::newRow("manager closed with its close box") << true;
}

void TestStartup::managerFirstThenMainWindow()
{
    QFETCH(bool, closeBox);
    Session session;
    QVERIFY2(session.isValid(), qPrintable(session.lastError()));
    QVERIFY2(session.startProgram(), qPrintable(session.lastError()));

    const auto manager = session.waitForWindow(kManagerTitle);
    QVERIFY2(manager, qPrintable(session.lastError() + "\n" + session.programOutput()));
    const auto managerClient = session.clientGeometry(*manager);
    QVERIFY(managerClient);
    QCOMPARE(managerClient->size(), kManagerClient);
    QVERIFY2(isCentred(*managerClient),
             qPrintable(QStringLiteral("at %1,%2").arg(managerClient->x()).arg(managerClient->y())));
    // The main window is not mapped while the modal project manager is open.
    QCOMPARE(titles(session.visibleWindows()), QStringList{kManagerTitle});
    QCOMPARE(session.focusedWindow(), manager);

    // Closing the project manager without choosing a project, by key or by the close box.
    if (closeBox) {
        QVERIFY2(session.requestClose(*manager), qPrintable(session.lastError()));
    } else {
        QVERIFY2(session.key(*manager, {QStringLiteral("Escape")}), qPrintable(session.lastError()));
    }
    QVERIFY2(session.waitForWindowGone(*manager), qPrintable(session.lastError()));

    const auto main = session.waitForWindowMatching(kMainTitle);
    QVERIFY2(main, qPrintable(session.lastError() +
                              "\nshown: " + titles(session.visibleWindows()).join(QStringLiteral(" | "))));
    const auto mainClient = session.clientGeometry(main->id);
    QVERIFY(mainClient);
    QCOMPARE(mainClient->size(), kMainClient);
    QVERIFY2(isCentred(*mainClient),
             qPrintable(QStringLiteral("at %1,%2").arg(mainClient->x()).arg(mainClient->y())));
    QCOMPARE(titles(session.visibleWindows()), QStringList{main->title});
    // The main window activates itself: it takes the keyboard focus without a window manager.
    QVERIFY(waitUntil([&] { return session.focusedWindow() == main->id; }, 5000));
    QVERIFY(session.programRunning());
}

void TestStartup::projectManagerLinkOpensManagerAgain()
{
    Session session;
    QVERIFY2(session.isValid(), qPrintable(session.lastError()));
    const auto main = startToMainWindow(session);
    QVERIFY2(main, qPrintable(session.lastError()));

    // lblProjectManager: 3150, 1260, 2130, 285 twips.
    QVERIFY2(session.clickTwips(*main, 3150, 1260, 2130, 285), qPrintable(session.lastError()));
    const auto manager = session.waitForWindow(kManagerTitle);
    QVERIFY2(manager, qPrintable(session.lastError()));
    QVERIFY(session.isViewable(*main));
    QVERIFY2(session.key(*manager, {QStringLiteral("Escape")}), qPrintable(session.lastError()));
    QVERIFY2(session.waitForWindowGone(*manager), qPrintable(session.lastError()));
    QVERIFY(session.isViewable(*main));
    QVERIFY(session.programRunning());
}

void TestStartup::closingMainWindowEndsProgram()
{
    Session session;
    QVERIFY2(session.isValid(), qPrintable(session.lastError()));
    const auto main = startToMainWindow(session);
    QVERIFY2(main, qPrintable(session.lastError()));
    // Once the window has taken the focus the program has handled its mapping.
    QVERIFY(waitUntil([&] { return session.focusedWindow() == main; }, 5000));
    QVERIFY2(session.requestClose(*main), qPrintable(session.lastError()));
    QCOMPARE(session.waitForProgramExit(), std::optional<int>(0));
}

QTEST_GUILESS_MAIN(TestStartup)
#include "tst_startup.moc"
