// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "e2e/e2e_harness.h"

#include "rtf/rtf.h"

#include <QImage>
#include <QTemporaryDir>
#include <QTest>

using namespace folioneer::e2e;

namespace {

const QString kSoil = sampleBook::kSoilFile;

// The content box, in pixels of the main window's client area.
const QRect kContentBox(363, 357, 850, 262);

// The wave is drawn thin and smoothed: its pixels are full red mixed with the white behind.
bool isRed(QRgb pixel)
{
    return qRed(pixel) > 200 && qRed(pixel) - qGreen(pixel) > 40 && qRed(pixel) - qBlue(pixel) > 40;
}

// The red underlines in the content box: for each run of red columns, its horizontal centre,
// and the lowest red row seen.
struct Underlines {
    QList<int> centres;
    int bottom = -1;
};

Underlines underlinesIn(const QImage& window)
{
    Underlines found;
    int runStart = -1;
    for (int x = kContentBox.left(); x <= kContentBox.right() + 1; ++x) {
        bool red = false;
        for (int y = kContentBox.top(); x <= kContentBox.right() && y <= kContentBox.bottom(); ++y) {
            if (isRed(window.pixel(x, y))) {
                red = true;
                found.bottom = std::max(found.bottom, y);
            }
        }
        if (red && runStart < 0) {
            runStart = x;
        } else if (!red && runStart >= 0) {
            found.centres.append((runStart + x - 1) / 2);
            runStart = -1;
        }
    }
    return found;
}

} // namespace

// The writer's tools in the real program: a misspelt word underlined and corrected from the
// context menu, a word found in another section through "Find in Book", and focus mode.
class TestWritingJourneys : public QObject {
    Q_OBJECT

private slots:
    void spellingFindAndFocus();
};

void TestWritingJourneys::spellingFindAndFocus()
{
    Session session;
    QVERIFY2(session.isValid(), qPrintable(session.lastError()));
    QVERIFY2(session.makeSampleBook("{\\rtf1\\ansi Helo wrold of loam\\par}",
                                    "{\\rtf1\\ansi Water the garden gently\\par}"),
             qPrintable(session.lastError()));
    QVERIFY(session.writeProgramFile(QStringLiteral("spelling-language.txt"), "en_US\n"));
    const auto main = session.startAndOpenFirstProject();
    QVERIFY2(main, qPrintable(session.lastError()));
    const WindowId window = main->id;
    const auto designGeometry = session.clientGeometry(window);
    QVERIFY(designGeometry);
    QCOMPARE(designGeometry->size(), QSize(1231, 640));

    // The first section: its two misspelt words get red waves once the dictionary is loaded.
    QVERIFY(session.key(window, {QStringLiteral("Down"), QStringLiteral("Right"), QStringLiteral("Down")}));
    QTemporaryDir shots;
    const QString shot = shots.filePath(QStringLiteral("main.png"));
    Underlines underlines;
    QVERIFY2(waitUntil(
                 [&] {
                     if (!session.screenshot(shot, window)) {
                         return false;
                     }
                     underlines = underlinesIn(QImage(shot));
                     return underlines.centres.size() == 2;
                 },
                 Session::kWindowTimeoutMs, 200),
             "the misspelt words were not underlined in red");

    // The context menu of the second word offers "world" first; choosing it is an edit, saved
    // with Ctrl+S.
    QVERIFY(session.click(window, QPoint(underlines.centres[1], underlines.bottom - 6), 3));
    QTest::qWait(500);
    QVERIFY(session
                .run(QStringLiteral("xdotool"),
                     {QStringLiteral("key"), QStringLiteral("Down"), QStringLiteral("Return")})
                .ok());
    QVERIFY(session.key(window, {QStringLiteral("ctrl+s")}));
    QVERIFY(session.waitForProgramFile(kSoil, [](const std::optional<QByteArray>& bytes) {
        return bytes && folioneer::rtf::plainTextFromRtf(*bytes).text == QStringLiteral("Helo world of loam");
    }));

    // "Find in Book" finds a word of the other section and opens it with the word selected.
    QVERIFY(session.key(window, {QStringLiteral("ctrl+shift+f")}));
    const auto find = session.waitForWindow(QStringLiteral("Find in Book"));
    QVERIFY2(find, qPrintable(session.lastError()));
    QVERIFY(session.type(*find, QStringLiteral("gently")));
    QVERIFY(session.key(*find, {QStringLiteral("Return")}));
    QTest::qWait(300);
    QVERIFY(session.key(*find, {QStringLiteral("Return")}));
    QTest::qWait(300);
    QVERIFY(session.key(window, {QStringLiteral("ctrl+c")}));
    QVERIFY(waitUntil([&] { return session.clipboard() == std::optional<QByteArray>("gently"); },
                      Session::kWindowTimeoutMs));

    // Focus mode covers the screen; Esc brings the main window back at its design size.
    QVERIFY(session.key(window, {QStringLiteral("F11")}));
    const auto focus = session.waitForWindow(QStringLiteral("Focus"));
    QVERIFY2(focus, qPrintable(session.lastError()));
    QCOMPARE(session.clientGeometry(*focus), std::optional<QRect>(QRect(QPoint(0, 0), Session::kScreenSize)));
    QVERIFY(session.key(*focus, {QStringLiteral("Escape")}));
    QVERIFY(session.waitForWindowGone(*focus));
    QCOMPARE(session.clientGeometry(window), designGeometry);
}

QTEST_GUILESS_MAIN(TestWritingJourneys)
#include "tst_writing_journeys.moc"
