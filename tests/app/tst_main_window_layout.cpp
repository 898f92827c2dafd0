// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "main_window_fixture.h"

#include "widgets/link_label.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QtTest>

#include <functional>

using namespace folioneer;
using namespace folioneer::test;

namespace {

/// Runs `action` on the project manager once it is shown modally (its constructor may let
/// events run while it fills its lists, so a single-shot timer could fire too early).
void whenManagerShown(QObject* context, const std::function<void(QDialog*)>& action)
{
    auto* poll = new QTimer(context);
    poll->setInterval(10);
    QObject::connect(poll, &QTimer::timeout, context, [poll, action] {
        auto* manager = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!manager || !manager->isVisible()) {
            return;
        }
        poll->stop();
        poll->deleteLater();
        action(manager);
    });
    poll->start();
}

} // namespace

// The main window against its design table: size, every control's place, caption, font and
// visibility, the focus order, and the start-up hand-over from the project manager.
class tst_main_window_layout : public QObject {
    Q_OBJECT

private slots:
    void clientSizeIsFixed();
    void controls_data();
    void controls();
    void linkLabelsAreNavyWithUpArrow();
    void focusOrder();
    void startShowsProjectManagerBeforeTheWindow();
    void projectManagerLinkOpensAFreshModalManager();
};

void tst_main_window_layout::clientSizeIsFixed()
{
    MainWindowFixture f;
    QVERIFY(f.showWindow());
    QCOMPARE(f.window->size(), QSize(1231, 640));
    QCOMPARE(f.window->minimumSize(), QSize(1231, 640));
    QCOMPARE(f.window->maximumSize(), QSize(1231, 640));
    QCOMPARE(f.window->windowTitle(), QStringLiteral("Folioneer"));
    auto* band = f.control("Picture1");
    QCOMPARE(band->palette().color(QPalette::Window), QColor(0x00, 0x00, 0x40));
    QVERIFY(band->autoFillBackground());
}

void tst_main_window_layout::controls_data()
{
    QTest::addColumn<QString>("container");
    QTest::addColumn<QRect>("geometry"); // device-independent pixels, 15 twips each
    QTest::addColumn<QString>("caption");
    QTest::addColumn<qreal>("points");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<bool>("underline");
    QTest::addColumn<bool>("visible");

    const QString window = QStringLiteral("frmMain1");
    const QString band = QStringLiteral("Picture1");
    const QString frame = QStringLiteral("Frame1");
    // clang-format off
    QTest::newRow("lblAppName") << band << QRect(18, 27, 271, 22) << "Folioneer" << 12.0 << true << false << true;
    QTest::newRow("lblBy") << band << QRect(255, 28, 271, 22) << "by www.folioneer.app" << 9.75 << false << false << true;
    QTest::newRow("lblProjectFolder") << band << QRect(570, 24, 250, 31) << "" << 9.75 << false << false << false;
    QTest::newRow("Label6") << window << QRect(18, 84, 142, 19) << "Table of Contents:" << 9.75 << true << false << true;
    QTest::newRow("lblProjectManager") << window << QRect(210, 84, 142, 19) << "Project Manager" << 9.0 << false << true << true;
    QTest::newRow("TreeView1") << window << QRect(15, 114, 337, 445) << "" << 9.0 << false << false << true;
    QTest::newRow("cmdCopyEverything") << window << QRect(18, 564, 337, 55) << "Copy Everything to Clipboard" << 9.75 << false << false << true;
    QTest::newRow("lblExportBook") << window << QRect(18, 620, 160, 19) << "Export Book…" << 9.0 << false << true << true;
    QTest::newRow("Frame1") << window << QRect(363, 108, 850, 208) << "" << 9.0 << false << false << true;
    QTest::newRow("Label4") << frame << QRect(21, 21, 121, 19) << "Main Topic:" << 9.75 << true << false << true;
    QTest::newRow("lblMainTopic") << frame << QRect(138, 18, 499, 19) << "" << 9.75 << false << false << true;
    QTest::newRow("Label2") << frame << QRect(21, 48, 100, 19) << "Chapter:" << 9.75 << true << false << true;
    QTest::newRow("lblParentNode") << frame << QRect(138, 45, 499, 19) << "" << 9.75 << false << false << true;
    QTest::newRow("Label1") << frame << QRect(21, 72, 121, 19) << "Sub-Chapter:" << 9.75 << true << false << true;
    QTest::newRow("lblSelectedItem") << frame << QRect(138, 72, 499, 19) << "" << 9.75 << false << false << true;
    QTest::newRow("Label3") << frame << QRect(24, 108, 415, 52) << "Content Creation Prompt For This Section:" << 9.75 << true << false << true;
    QTest::newRow("lblCopy") << frame << QRect(705, 108, 127, 16) << "Copy to Clipboard" << 9.0 << false << true << true;
    QTest::newRow("txtContentPrompt") << frame << QRect(24, 132, 811, 61) << "" << 9.75 << false << false << true;
    QTest::newRow("Label5") << window << QRect(366, 333, 67, 16) << "Content:" << 9.75 << true << false << true;
    QTest::newRow("lblCopyContent") << window << QRect(444, 333, 43, 19) << "Copy" << 9.0 << false << true << true;
    QTest::newRow("lblPaste") << window << QRect(489, 333, 46, 16) << "Paste" << 9.0 << false << true << true;
    QTest::newRow("cmdSaveChanges") << window << QRect(543, 330, 112, 22) << "Save Changes" << 8.25 << false << false << false;
    QTest::newRow("RichTextBox1") << window << QRect(363, 357, 850, 262) << "" << 9.75 << false << false << true;
    // clang-format on
}

void tst_main_window_layout::controls()
{
    QFETCH(QString, container);
    QFETCH(QRect, geometry);
    QFETCH(QString, caption);
    QFETCH(qreal, points);
    QFETCH(bool, bold);
    QFETCH(bool, underline);
    QFETCH(bool, visible);

    MainWindowFixture f;
    QVERIFY(f.showWindow());
    const QByteArray name = QTest::currentDataTag();
    QWidget* widget = f.control(name.constData());
    QVERIFY2(widget, name.constData());
    QCOMPARE(widget->parentWidget()->objectName(), container);
    QCOMPARE(widget->geometry(), geometry);
    QCOMPARE(widget->isVisible(), visible);

    QString shown;
    if (auto* label = qobject_cast<QLabel*>(widget)) {
        shown = label->text();
    } else if (auto* button = qobject_cast<QPushButton*>(widget)) {
        shown = button->text();
    } else if (auto* edit = qobject_cast<QTextEdit*>(widget)) {
        shown = edit->toPlainText();
    } else if (auto* box = qobject_cast<ExactTextEdit*>(widget)) {
        shown = box->text();
    }
    QCOMPARE(shown, caption);

    if (name != "Frame1") {
        QCOMPARE(widget->font().family(), QStringLiteral("Verdana"));
        QCOMPARE(widget->font().pointSizeF(), points);
        QCOMPARE(widget->font().bold(), bold);
        QCOMPARE(widget->font().underline(), underline);
    }
}

void tst_main_window_layout::linkLabelsAreNavyWithUpArrow()
{
    MainWindowFixture f;
    for (const char* name : {"lblProjectManager", "lblCopy", "lblCopyContent", "lblPaste", "lblExportBook"}) {
        auto* link = f.control<LinkLabel>(name);
        QVERIFY2(link, name);
        QCOMPARE(link->cursor().shape(), Qt::UpArrowCursor);
        QCOMPARE(link->palette().color(QPalette::WindowText), QColor(0x00, 0x00, 0x80));
    }
    QCOMPARE(f.control("lblSelectedItem")->palette().color(QPalette::WindowText), QColor(0x00, 0x00, 0x80));
    QCOMPARE(f.control("lblAppName")->palette().color(QPalette::WindowText), QColor(Qt::white));
    QCOMPARE(f.control("lblBy")->palette().color(QPalette::WindowText), QColor(Qt::white));
    QVERIFY(f.tree()->isHeaderHidden());
    QCOMPARE(f.prompt()->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
}

void tst_main_window_layout::focusOrder()
{
    MainWindowFixture f;
    f.saveButton()->show();
    f.content()->setEnabled(true);
    QStringList chain;
    QWidget* widget = f.tree();
    do {
        if (widget->focusPolicy() & Qt::TabFocus) {
            chain << widget->objectName();
        }
        widget = widget->nextInFocusChain();
    } while (widget != f.tree());
    const QStringList expected{QStringLiteral("TreeView1"), QStringLiteral("txtContentPrompt"),
                               QStringLiteral("RichTextBox1"), QStringLiteral("cmdSaveChanges"),
                               QStringLiteral("cmdCopyEverything")};
    QCOMPARE(chain, expected);
}

void tst_main_window_layout::startShowsProjectManagerBeforeTheWindow()
{
    MainWindowFixture f;
    const QString project =
        f.program.makeProject(QStringLiteral("Garden"), "Chapter: One\r\nSubchapter: A\r\n", "Gardening\r\n");
    QString managerTitle;
    bool mainMappedMeanwhile = true;
    // The manager is modal: this runs inside its event loop, before start() shows the window.
    whenManagerShown(f.window.get(), [&](QDialog* manager) {
        managerTitle = manager->windowTitle();
        mainMappedMeanwhile = f.window->isVisible();
        f.window->LoadProject(project);
        manager->close();
    });
    f.window->start();

    QCOMPARE(managerTitle, QStringLiteral("Project Manager"));
    QVERIFY(!mainMappedMeanwhile);
    QVERIFY(f.window->isVisible());
    QCOMPARE(f.window->windowTitle(), QStringLiteral("Folioneer Pro by www.folioneer.app"));
    QCOMPARE(f.control<QLabel>("lblAppName")->text(), QStringLiteral("Folioneer Pro"));
    QCOMPARE(f.control<QLabel>("lblBy")->text(), QStringLiteral("by www.folioneer.app"));
    QCOMPARE(f.tree()->topLevelItemCount(), 1);
    QCOMPARE(f.caption("lblMainTopic"), QStringLiteral("Gardening\r\n"));
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(f.tree()));
    QVERIFY(!f.tree()->currentItem());

    // Centred on the screen; the offscreen test screen is narrower than the window, so only the
    // directions in which the window fits are checked here (the end-to-end test sees it whole).
    const QRect available = f.window->screen()->availableGeometry();
    const QRect frame = f.window->frameGeometry();
    const QPoint offCentre = frame.center() - available.center();
    if (frame.width() <= available.width()) {
        QVERIFY(qAbs(offCentre.x()) <= 1);
    }
    QVERIFY(frame.height() <= available.height());
    QVERIFY(qAbs(offCentre.y()) <= 1);
}

void tst_main_window_layout::projectManagerLinkOpensAFreshModalManager()
{
    MainWindowFixture f;
    QVERIFY(f.showWindow());
    QList<QDialog*> opened;
    QList<bool> modalOverMain;
    for (int round = 0; round < 2; ++round) {
        whenManagerShown(f.window.get(), [&](QDialog* manager) {
            opened.append(manager);
            modalOverMain.append(manager->isModal() && manager->parentWidget() == f.window.get());
            manager->close();
        });
        f.clickControl("lblProjectManager");
    }
    QCOMPARE(opened.size(), 2);
    QCOMPARE(modalOverMain, QList<bool>({true, true}));
    // Each opening creates the manager anew; none is left behind.
    QVERIFY(f.window->findChildren<QDialog*>().isEmpty());
}

QTEST_MAIN(tst_main_window_layout)
#include "tst_main_window_layout.moc"
