// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "e2e/e2e_harness.h"

#include "app/frm_main1_design.h"
#include "rtf/rtf.h"

#include <QTest>

using namespace folioneer::e2e;

namespace {

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
    QVERIFY2(session.makeSampleBook(), qPrintable(session.lastError()));
    const auto main = session.startAndOpenFirstProject();
    QVERIFY2(main, qPrintable(session.lastError()));
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
    const std::optional<QByteArray> saved = session.pasteAndSave(window, sampleBook::kSoilFile);
    QVERIFY2(saved, qPrintable(session.lastError()));
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
