// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "manager/frm_new.h"
#include "manager_fixture.h"
#include "support/text_holder.h"
#include "widgets/layout_units.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QTest>

using namespace folioneer;
using namespace folioneer::test;

// The project manager's controls against the design's geometry table: position and size in
// twips, caption, font and visibility after the window has loaded in Open Project mode.
class tst_manager_layout : public QObject {
    Q_OBJECT

private:
    // One window serves every row: the rows only look at it.
    ManagerFixture m_fixture;

    static QString captionOf(const QWidget* widget)
    {
        if (const auto* label = qobject_cast<const QLabel*>(widget)) {
            return label->text();
        }
        if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) {
            return button->text();
        }
        return {};
    }

private slots:
    void initTestCase()
    {
        m_fixture.program.makeProject(QStringLiteral("Book"), "Chapter: A\r\n", "Topic\r\n");
        m_fixture.open();
    }

    void controls_data()
    {
        QTest::addColumn<QString>("parent");
        QTest::addColumn<QRect>("twips");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<qreal>("points"); // 0: not checked
        QTest::addColumn<int>("style");
        QTest::addColumn<bool>("hidden");

        const int regular = int(FontStyle::Regular), bold = int(FontStyle::Bold);
        const int underline = int(FontStyle::Underline), boldUnderline = int(FontStyle::BoldUnderline);
        auto row = [](const char* name, const char* parent, QRect twips, const QString& caption, qreal points,
                      int style, bool hidden) {
            QTest::newRow(name) << QString::fromLatin1(parent) << twips << caption << points << style
                                << hidden;
        };
        row("Picture1", "frmNew", QRect(0, 0, 4245, 8355), "", 0, regular, false);
        row("Label1", "Picture1", QRect(945, 2520, 2400, 420), "Project Manager", 12, bold, false);
        row("optMenu_0", "frmNew", QRect(4635, 180, 1950, 465), "Open Project", 9.75, bold, false);
        row("optMenu_1", "frmNew", QRect(6615, 180, 2760, 465), "Create Project", 9.75, bold, false);
        // The load puts frNew where frLoad is, and frPro where the mode selector begins.
        row("frNew", "frmNew", QRect(4635, 675, 9960, 7260), "", 0, regular, true);
        row("Label2", "frNew", QRect(135, 315, 4785, 330), "Step 1: Enter Your Main Topic", 9.75, bold,
            false);
        row("lblCreateFromPublicDomainTitles", "frNew", QRect(5625, 315, 4065, 240),
            "Create Sequel For Public Domain Title", 8.25, boldUnderline, false);
        row("txtMainTopic", "frNew", QRect(135, 720, 9600, 510), "", 9.75, regular, false);
        row("Label3", "frNew", QRect(135, 1530, 7215, 555),
            "Step 2: Use the Following Prompt to Generate a Table of Contents and Paste it Inside Your A.I. "
            "Platform (ChatGPT etc):",
            9.75, bold, false);
        row("lblCopyContent", "frNew", QRect(9180, 1665, 600, 285), "Copy", 9, underline, false);
        row("txtPrompt", "frNew", QRect(135, 2115, 9600, 1050), "", 9.75, regular, false);
        row("Label4", "frNew", QRect(135, 3420, 7215, 330),
            "Step 3: Paste the Content That You Get From Your A.I. Tool Below", 9.75, bold, false);
        row("lblPaste", "frNew", QRect(8280, 3420, 1455, 330), "Paste Results", 9, boldUnderline, false);
        row("Label7", "frNew", QRect(135, 3780, 9465, 600),
            "Important: In ChatGPT, don't use the \"Copy\" link. Instead, select the generated Table of "
            "Contents "
            "and manually copy it to the clipboard. Please read the user manual for more details.",
            9, regular, false);
        row("txtResults", "frNew", QRect(135, 4320, 9555, 1140), "", 9.75, regular, false);
        row("lblOutlineConverted", "frNew", QRect(135, 5475, 9555, 300),
            "Converted to Chapter:/Subchapter: lines. Ctrl+Z shows the pasted text.", 9, regular, true);
        row("Label5", "frNew", QRect(90, 5805, 4245, 330), "Step 4: Enter a Name For This Project:", 9.75,
            bold, false);
        row("txtProjectName", "frNew", QRect(4545, 5715, 4380, 510), "", 9.75, regular, false);
        row("cmdOk", "frNew", QRect(2565, 6345, 3885, 690), "Create Project", 9, bold, false);
        row("frLoad", "frmNew", QRect(4635, 675, 9285, 7305), "", 0, regular, false);
        row("Label6", "frLoad", QRect(540, 270, 4785, 330), "Your Projects:", 9.75, bold, false);
        row("lstProjects", "frLoad", QRect(585, 630, 8160, 5580), "", 9.75, regular, false);
        row("cmdLoadProject", "frLoad", QRect(1080, 6345, 3435, 690), "Load Project", 9, bold, false);
        row("cmdDeleteProject", "frLoad", QRect(4680, 6345, 3435, 690), "Delete Project", 9, bold, false);
        row("lblBackUpBook", "frLoad", QRect(5325, 270, 1740, 360), "Back Up Book…", 9, underline, false);
        row("lblRestoreBook", "frLoad", QRect(7065, 270, 1680, 360), "Restore Book…", 9, underline, false);
        row("lblDeletedBooks", "frLoad", QRect(4680, 7035, 3435, 270), "Deleted Books…", 9, underline, false);
        row("frPro", "frmNew", QRect(4635, 180, 10230, 7845), "", 0, regular, true);
        row("Picture2", "frPro", QRect(0, 0, 17490, 870), "", 0, regular, false);
        row("lblAppName", "Picture2", QRect(315, 270, 7755, 420), "Create Sequel For Public Domain Title", 12,
            bold, false);
        row("lblDone", "Picture2", QRect(6525, 225, 3525, 375), "Done. Prompt Copied to Clipboard.", 9.75,
            regular, true);
        row("Label8", "frPro", QRect(180, 1215, 1950, 330), "Select Title:", 9.75, bold, false);
        row("cboSuboptions", "frPro", QRect(180, 1620, 7665, 360), "", 9.75, regular, false);
        row("lstPrompts", "frPro", QRect(180, 2160, 9915, 2220), "", 9.75, regular, false);
        row("Label9", "frPro", QRect(180, 4635, 2670, 330), "Create Sequel For:", 9.75, bold, false);
        row("lblCopyToClipboard", "frPro", QRect(6885, 4590, 3165, 420), "Copy to Clipboard", 9.75, underline,
            true);
        row("txtSelectedPrompt", "frPro", QRect(180, 5040, 9915, 1545), "", 9.75, regular, false);
        row("cmpPromptOk", "frPro", QRect(3060, 6930, 2175, 645), "Use", 9, bold, false);
        row("cmdPromptCancel", "frPro", QRect(5400, 6930, 2175, 645), "Cancel", 9, bold, false);
    }
    void controls()
    {
        QFETCH(QString, parent);
        QFETCH(QRect, twips);
        QFETCH(QString, caption);
        QFETCH(qreal, points);
        QFETCH(int, style);
        QFETCH(bool, hidden);
        const auto* widget = m_fixture.control<QWidget>(QTest::currentDataTag());
        QCOMPARE(widget->parentWidget()->objectName(), parent);
        QCOMPARE(widget->geometry(), twipsRect(twips.x(), twips.y(), twips.width(), twips.height()));
        QCOMPARE(captionOf(widget), caption);
        if (points > 0) {
            QCOMPARE(widget->font().family(), QStringLiteral("Verdana"));
            QCOMPARE(widget->font().pointSizeF(), points);
            QCOMPARE(widget->font().bold(), (style & int(FontStyle::Bold)) != 0);
            QCOMPARE(widget->font().underline(), (style & int(FontStyle::Underline)) != 0);
        }
        QCOMPARE(widget->isHidden(), hidden);
    }

    // The backup links were added in free space of the design: they must stay inside it, in the
    // open panel, so that they hide with it.
    void backupLinksInFreeSpace_data()
    {
        QTest::addColumn<QRect>("freeSpace"); // in window pixels
        QTest::newRow("lblBackUpBook") << QRect(664, 63, 264, 24);
        QTest::newRow("lblRestoreBook") << QRect(664, 63, 264, 24);
        QTest::newRow("lblDeletedBooks") << QRect(309, 514, 619, 18);
    }
    void backupLinksInFreeSpace()
    {
        QFETCH(QRect, freeSpace);
        const auto* link = m_fixture.control<QWidget>(QTest::currentDataTag());
        const QRect inWindow(link->mapTo(m_fixture.window.get(), QPoint(0, 0)), link->size());
        QVERIFY2(freeSpace.contains(inWindow), qPrintable(QStringLiteral("%1,%2 %3x%4")
                                                              .arg(inWindow.x())
                                                              .arg(inWindow.y())
                                                              .arg(inWindow.width())
                                                              .arg(inWindow.height())));
        QVERIFY(link->sizeHint().width() <= link->width()); // the caption is not cut off
        QCOMPARE(link->palette().color(QPalette::WindowText), QColor(0x00, 0x00, 0x80));
        QCOMPARE(link->cursor().shape(), Qt::UpArrowCursor);
    }

    void window()
    {
        ManagerFixture& f = m_fixture;
        frmNew& window = *f.window;
        QCOMPARE(window.windowTitle(), QStringLiteral("Project Manager"));
        QCOMPARE(window.size(), QSize(1009, 557));
        QCOMPARE(window.minimumSize(), window.maximumSize());
        // The template holder is a value, never a control; the selector cannot be typed into.
        QVERIFY(window.findChild<TextHolder*>(QStringLiteral("txtPromptTemplate")) != nullptr);
        QVERIFY(!f.control<QComboBox>("cboSuboptions")->isEditable());
        QVERIFY(f.control<QAbstractButton>("optMenu_0")->isChecked());
        const auto colour = [&](const char* name, QPalette::ColorRole role) {
            return f.control<QWidget>(name)->palette().color(role);
        };
        QCOMPARE(colour("Picture1", QPalette::Window), QColor(0x00, 0x00, 0x40));
        QCOMPARE(colour("Picture2", QPalette::Window), QColor(0x00, 0x00, 0x40));
        QCOMPARE(colour("Label1", QPalette::WindowText), QColor(Qt::white));
        QCOMPARE(colour("lblCreateFromPublicDomainTitles", QPalette::WindowText), QColor(0x00, 0x00, 0xC0));
        QCOMPARE(colour("lblCopyContent", QPalette::WindowText), QColor(0x00, 0x00, 0x80));
        QCOMPARE(colour("lblPaste", QPalette::WindowText), QColor(0x00, 0x40, 0x00));
        QCOMPARE(colour("Label7", QPalette::WindowText), QColor(0x80, 0x80, 0x80));
        QCOMPARE(colour("cboSuboptions", QPalette::Base), QColor(0xFF, 0xFF, 0xC0));
        QCOMPARE(colour("lblDone", QPalette::Window), QColor(0xFF, 0xFF, 0xC0));
        QCOMPARE(f.control<QWidget>("lblCreateFromPublicDomainTitles")->cursor().shape(), Qt::UpArrowCursor);
    }
};

QTEST_MAIN(tst_manager_layout)
#include "tst_manager_layout.moc"
