// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "manager/frm_new.h"
#include "manager_fixture.h"

#include <QApplication>
#include <QFrame>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <sys/stat.h>

using namespace folioneer;
using namespace folioneer::test;

// The project manager's modes, project list, opening and deleting, driven through its controls.
class tst_manager_projects : public QObject {
    Q_OBJECT

private:
    static QStringList listed(ManagerFixture& f)
    {
        QStringList names;
        auto* list = f.control<QListWidget>("lstProjects");
        for (int i = 0; i < list->count(); ++i) {
            names.append(list->item(i)->text());
        }
        return names;
    }
    static void select(ManagerFixture& f, const QString& name)
    {
        auto* list = f.control<QListWidget>("lstProjects");
        const QList<QListWidgetItem*> items = list->findItems(name, Qt::MatchExactly);
        QTEST_ASSERT(items.size() == 1);
        list->setCurrentItem(items.first());
    }
    static bool createMode(ManagerFixture& f)
    {
        return f.control<QRadioButton>("optMenu_1")->isChecked() && !f.control<QFrame>("frNew")->isHidden() &&
               f.control<QFrame>("frLoad")->isHidden();
    }

private slots:
    void startingModeAndList_data()
    {
        QTest::addColumn<QStringList>("folders");
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<bool>("removeProjects");
        QTest::addColumn<QStringList>("expected");

        QTest::newRow("two folders and a file") << QStringList{"Zoo", "Apples"} << QStringList{"notes.txt"}
                                                << false << QStringList{"Apples", "Zoo"};
        // Sorted in the user's language (English here; the tests' C locale has no collation).
        QTest::newRow("accents and case, English")
            << QStringList{"zeta", "Élan", "beta", "alpha", "Alpha"} << QStringList{} << false
            << QStringList{"Alpha", "alpha", "beta", "Élan", "zeta"};
        QTest::newRow("hidden folder only")
            << QStringList{".cache"} << QStringList{} << false << QStringList{};
        QTest::newRow("empty projects folder") << QStringList{} << QStringList{} << false << QStringList{};
        QTest::newRow("missing projects folder") << QStringList{} << QStringList{} << true << QStringList{};
    }
    void startingModeAndList()
    {
        QFETCH(QStringList, folders);
        QFETCH(QStringList, files);
        QFETCH(bool, removeProjects);
        QFETCH(QStringList, expected);
        QLocale::setDefault(QString::fromLatin1(QTest::currentDataTag()).endsWith(QLatin1String("English"))
                                ? QLocale(QLocale::English, QLocale::UnitedStates)
                                : QLocale::c());
        ManagerFixture f;
        for (const QString& folder : folders) {
            f.makeFolder(QStringLiteral("projects/") + folder);
        }
        for (const QString& name : files) {
            f.write(QStringLiteral("projects/") + name, "x");
        }
        if (removeProjects) {
            QVERIFY(QDir(f.projects()).removeRecursively());
        }
        f.open();

        QCOMPARE(listed(f), expected);
        QCOMPARE(createMode(f), expected.isEmpty());
        QCOMPARE(f.control<QFrame>("frPro")->isHidden(), true);
        QVERIFY(f.boxes.shown.isEmpty());
        if (expected.isEmpty()) {
            // The main-topic box has the focus and comes first among the inputs.
            QCOMPARE(QApplication::focusWidget(), f.control<QLineEdit>("txtMainTopic"));
            QWidget* first = f.window->nextInFocusChain();
            while (first->focusPolicy() == Qt::NoFocus || !first->isVisible()) {
                first = first->nextInFocusChain();
            }
            QCOMPARE(first, f.control<QLineEdit>("txtMainTopic"));
        } else {
            // Open mode: the list has the focus with nothing selected; the first Down picks the first.
            auto* list = f.control<QListWidget>("lstProjects");
            QCOMPARE(QApplication::focusWidget(), list);
            QVERIFY(list->selectedItems().isEmpty());
            f.control<QPushButton>("cmdLoadProject")->click();
            QCOMPARE(f.texts(), QStringList{"Please select a project."});
            QTest::keyClick(list, Qt::Key_Down);
            QCOMPARE(list->selectedItems().size(), 1);
            QCOMPARE(list->selectedItems().first()->text(), expected.first());
        }
    }

    void switchingModes()
    {
        ManagerFixture f;
        f.makeFolder(QStringLiteral("projects/First"));
        f.open();
        auto* open = f.control<QRadioButton>("optMenu_0");
        auto* create = f.control<QRadioButton>("optMenu_1");

        // Typed inputs survive switching back and forth.
        create->click();
        QVERIFY(createMode(f));
        QTest::keyClicks(f.control<QLineEdit>("txtMainTopic"), QStringLiteral("Bees"));
        QTest::keyClicks(f.control<QLineEdit>("txtProjectName"), QStringLiteral("Hive"));
        f.control<QPlainTextEdit>("txtResults")->setFocus();
        QTest::keyClicks(f.control<QPlainTextEdit>("txtResults"), QStringLiteral("Chapter: One"));

        // A folder made while the window is open shows at the next switch to Open Project.
        f.makeFolder(QStringLiteral("projects/Second"));
        QCOMPARE(listed(f), QStringList{"First"});
        open->click();
        QCOMPARE(listed(f), (QStringList{"First", "Second"}));
        QVERIFY(f.control<QPushButton>("cmdDeleteProject")->isEnabled());
        create->click();
        QCOMPARE(f.control<QLineEdit>("txtMainTopic")->text(), QStringLiteral("Bees"));
        QCOMPARE(f.control<QLineEdit>("txtProjectName")->text(), QStringLiteral("Hive"));
        QCOMPARE(f.control<QPlainTextEdit>("txtResults")->toPlainText(), QStringLiteral("Chapter: One"));

        // With every project gone, picking Open Project ends in Create Project, Delete disabled.
        QVERIFY(QDir(f.projects()).removeRecursively());
        QVERIFY(QDir().mkpath(f.projects()));
        open->click();
        QVERIFY(createMode(f));
        QVERIFY(!f.control<QPushButton>("cmdDeleteProject")->isEnabled());
        QVERIFY(f.control<QPushButton>("cmdLoadProject")->isEnabled());
    }

    void openingAProject_data()
    {
        QTest::addColumn<bool>("doubleClick");
        QTest::newRow("Load Project") << false;
        QTest::newRow("double-click") << true;
    }
    void openingAProject()
    {
        QFETCH(bool, doubleClick);
        ManagerFixture f;
        f.makeFolder(QStringLiteral("projects/Alpha"));
        f.makeFolder(QStringLiteral("projects/Beta"));
        f.open();
        select(f, QStringLiteral("Beta"));
        if (doubleClick) {
            auto* list = f.control<QListWidget>("lstProjects");
            const QRect rect = list->visualItemRect(list->currentItem());
            // A real double-click: a click, then the second press that the view sees as a double-click.
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
            QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, rect.center());
        } else {
            f.control<QPushButton>("cmdLoadProject")->click();
        }
        QCOMPARE(f.loaded, QStringList{f.projects() + QStringLiteral("/Beta")});
        QCOMPARE(f.boxes.shown.size(), 1); // only the load, no message of the manager
        QVERIFY(!f.window->isVisible());
        QCOMPARE(f.window->result(), int(QDialog::Accepted));
    }

    void deletingAProject_data()
    {
        QTest::addColumn<MessageAnswer>("answer");
        QTest::addColumn<bool>("readOnlyFile");
        QTest::addColumn<bool>("onlyProject");
        QTest::addColumn<QStringList>("messages");

        const QStringList done{"Confirm delete?", "Done. Projec deleted."};
        QTest::newRow("No keeps it") << MessageAnswer::No << false << false << QStringList{"Confirm delete?"};
        QTest::newRow("nested tree and dot-files") << MessageAnswer::Yes << false << false << done;
        QTest::newRow("last project") << MessageAnswer::Yes << false << true << done;
        QTest::newRow("read-only file")
            << MessageAnswer::Yes << true << false
            << QStringList{"Confirm delete?",
                           "There was an error and the folder cannot be deleted. If the folder "
                           "is open, please close it and try again."};
    }
    void deletingAProject()
    {
        QFETCH(MessageAnswer, answer);
        QFETCH(bool, readOnlyFile);
        QFETCH(bool, onlyProject);
        QFETCH(QStringList, messages);
        ManagerFixture f;
        const QString doomed = f.program.makeProject(QStringLiteral("Doomed"), "Chapter: A\r\n", "Topic\r\n");
        f.write(QStringLiteral("projects/Doomed/.hidden"), "dot");
        f.write(QStringLiteral("projects/Doomed/one/two/deep.txt"), "d");
        f.write(QStringLiteral("projects/Doomed/one/sibling/x.txt"), "x");
        f.write(QStringLiteral("projects/Doomed/three/y.txt"), "y");
        if (readOnlyFile) {
            f.write(QStringLiteral("projects/Doomed/b-locked.txt"), "locked");
            QCOMPARE(::chmod(QFile::encodeName(doomed + QStringLiteral("/b-locked.txt")).constData(), 0444),
                     0);
        }
        if (!onlyProject) {
            f.program.makeProject(QStringLiteral("Kept"), "Chapter: K\r\n", "Kept\r\n");
        }
        f.open();

        // Nothing selected: the delete message, and no question.
        f.control<QPushButton>("cmdDeleteProject")->click();
        QCOMPARE(f.texts(), QStringList{"Please select a project to delete."});
        f.boxes.shown.clear();

        select(f, QStringLiteral("Doomed"));
        f.boxes.answers = {answer};
        f.control<QPushButton>("cmdDeleteProject")->click();
        QCOMPARE(f.texts(), messages);
        QCOMPARE(f.boxes.shown.first().title, QStringLiteral("Confirm"));
        QCOMPARE(f.boxes.shown.first().buttons, MessageButtons::YesNo);
        QCOMPARE(f.boxes.shown.first().icon, MessageIcon::Question);
        QCOMPARE(f.boxes.shown.last().icon, readOnlyFile                  ? MessageIcon::Exclamation
                                            : answer == MessageAnswer::No ? MessageIcon::Question
                                                                          : MessageIcon::Information);

        const bool gone = answer == MessageAnswer::Yes && !readOnlyFile;
        QCOMPARE(QFileInfo::exists(doomed), !gone);
        QCOMPARE(listed(f).contains(QStringLiteral("Doomed")), !gone);
        if (readOnlyFile) {
            // Files before the locked one in name order are gone; the locked one and the rest stay.
            QVERIFY(!QFileInfo::exists(doomed + QStringLiteral("/--toc.txt")));
            QVERIFY(QFileInfo::exists(doomed + QStringLiteral("/b-locked.txt")));
        }
        QCOMPARE(createMode(f), gone && onlyProject);
        QVERIFY(f.window->isVisible());
        QVERIFY(f.loaded.isEmpty());
    }

    void keyboard()
    {
        ManagerFixture f;
        f.open();
        QVERIFY(createMode(f));
        for (QPushButton* button : f.window->findChildren<QPushButton*>()) {
            QVERIFY2(!button->autoDefault() && !button->isDefault(), qPrintable(button->objectName()));
        }
        // Return in a single-line box clicks nothing, even with every input filled in.
        QTest::keyClicks(f.control<QLineEdit>("txtMainTopic"), QStringLiteral("Topic"));
        f.control<QPlainTextEdit>("txtResults")->setPlainText(QStringLiteral("Chapter: A"));
        auto* name = f.control<QLineEdit>("txtProjectName");
        QTest::keyClicks(name, QStringLiteral("Name"));
        QTest::keyClick(name, Qt::Key_Return);
        QVERIFY(f.boxes.shown.isEmpty());
        QVERIFY(!QFileInfo::exists(f.projects() + QStringLiteral("/Name")));
        QVERIFY(f.window->isVisible());
        // Escape closes the window like its close box: nothing loaded, nothing shown.
        QTest::keyClick(name, Qt::Key_Escape);
        QVERIFY(!f.window->isVisible());
        QCOMPARE(f.window->result(), int(QDialog::Rejected));
        QVERIFY(f.boxes.shown.isEmpty());
    }
};

QTEST_MAIN(tst_manager_projects)
#include "tst_manager_projects.moc"
