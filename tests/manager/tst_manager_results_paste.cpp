// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/exact_text.h"
#include "widgets/link_label.h"
#include "manager_fixture.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>

using namespace folioneer;
using namespace folioneer::test;

// "Paste Results" with a table of contents in another outline form: the conversion, its note,
// undo in one step, Ctrl+V into the empty box, and the project created from it.
class tst_manager_results_paste : public QObject {
    Q_OBJECT

private:
    ManagerFixture f;
    ExactTextEdit* results() const { return f.control<ExactTextEdit>("txtResults"); }
    QLabel* note() const { return f.control<QLabel>("lblOutlineConverted"); }
    void clickPaste() const { QTest::mouseClick(f.control<LinkLabel>("lblPaste"), Qt::LeftButton); }

    const QString markdownToc = QStringLiteral("# Table of Contents\n## Chapter 1: Soil\n- 1.1 What Soil Is\n"
                                               "## Chapter 2: Water");
    const QString converted = QStringLiteral("Chapter: Soil\r\nSubchapter: What Soil Is\r\nChapter: Water");

private slots:
    void initTestCase()
    {
        f.open();
        f.control<QRadioButton>("optMenu_1")->click();
    }

    void init()
    {
        results()->setText(QString());
        QGuiApplication::clipboard()->clear();
    }

    void convertsAndUndoesInOneStep()
    {
        QGuiApplication::clipboard()->setText(markdownToc);
        clickPaste();
        QCOMPARE(results()->text(), converted);
        QVERIFY(!note()->isHidden());

        results()->setFocus();
        QTest::keyClick(results(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(results()->text(),
                 QStringLiteral("# Table of Contents\r\n## Chapter 1: Soil\r\n- 1.1 What Soil Is\r\n"
                                "## Chapter 2: Water"));
        QVERIFY(note()->isHidden());
    }

    void noteHidesOnEditAndOnTheNextPaste()
    {
        QGuiApplication::clipboard()->setText(markdownToc);
        clickPaste();
        QVERIFY(!note()->isHidden());
        QTest::keyClick(results(), Qt::Key_X);
        QVERIFY(note()->isHidden());

        clickPaste();
        QVERIFY(!note()->isHidden());
        QGuiApplication::clipboard()->setText(QStringLiteral("Chapter: Soil\r\n"));
        clickPaste();
        QCOMPARE(results()->text(), QStringLiteral("Chapter: Soil\r\n"));
        QVERIFY(note()->isHidden());
    }

    void htmlOutlineComesFirst()
    {
        auto* mime = new QMimeData;
        mime->setHtml(
            QStringLiteral("<p><b>Introduction</b></p><h3>Chapter 1: Soil</h3><ol><li>Clay</li></ol>"));
        mime->setText(QStringLiteral("Introduction\nChapter 1: Soil\nClay"));
        QGuiApplication::clipboard()->setMimeData(mime);
        clickPaste();
        QCOMPARE(results()->text(),
                 QStringLiteral("Chapter: Introduction\r\nChapter: Soil\r\nSubchapter: Clay"));
    }

    void ctrlVIntoTheEmptyBoxConverts()
    {
        QGuiApplication::clipboard()->setText(markdownToc);
        results()->setFocus();
        QTest::keyClick(results(), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(results()->text(), converted);
        QVERIFY(!note()->isHidden());

        // Into text already there, Ctrl+V inserts the plain text as it always did.
        QGuiApplication::clipboard()->setText(QStringLiteral("## more"));
        results()->moveCursor(QTextCursor::End);
        QTest::keyClick(results(), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(results()->text(), converted + QStringLiteral("## more"));
    }

    void projectIsCreatedFromTheConversion()
    {
        f.control<QLineEdit>("txtMainTopic")->setText(QStringLiteral("Soil"));
        QGuiApplication::clipboard()->setText(
            QStringLiteral("**Introduction**\n**Chapter 1:** Soil\n- Soil types\n"
                           "**Conclusion**"));
        clickPaste();
        f.control<QLineEdit>("txtProjectName")->setText(QStringLiteral("Garden"));
        f.control<QPushButton>("cmdOk")->click();
        QCOMPARE(readFile(f.projects() + QStringLiteral("/Garden/--toc.txt")),
                 QByteArray("Chapter: Introduction\r\nChapter: Soil\r\nSubchapter: Soil types\r\nChapter: "
                            "Conclusion\r\n"));
    }
};

QTEST_MAIN(tst_manager_results_paste)
#include "tst_manager_results_paste.moc"
