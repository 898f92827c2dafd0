// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "manager/book_backups.h"
#include "manager_fixture.h"
#include "widgets/link_label.h"

#include <QAction>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

using namespace folioneer;
using namespace folioneer::test;

// The manager's book backups wired to their links and to the delete button: the chosen files
// and names reach the core, refusals and failures reach the message boxes, and a restored book
// appears in the list. The backup and restore rules themselves are tested in tst_book_backup.
class tst_manager_backups : public QObject {
    Q_OBJECT

private:
    // Answers the name question from a queue; an empty queue cancels. Records what was offered.
    struct Names {
        QStringList answers;
        QStringList offered;
        BookBackups::NameAsker asker()
        {
            return [this](QWidget*, const QString& suggested) -> std::optional<QString> {
                offered.append(suggested);
                return answers.isEmpty() ? std::nullopt : std::optional<QString>(answers.takeFirst());
            };
        }
    };

    static BookBackups& backups(ManagerFixture& f) { return *f.control<BookBackups>("BookBackups"); }
    static QListWidget* list(ManagerFixture& f) { return f.control<QListWidget>("lstProjects"); }
    static QStringList listed(ManagerFixture& f)
    {
        QStringList names;
        for (int i = 0; i < list(f)->count(); ++i) {
            names.append(list(f)->item(i)->text());
        }
        return names;
    }
    static void select(ManagerFixture& f, const QString& name)
    {
        list(f)->setCurrentItem(list(f)->findItems(name, Qt::MatchExactly).value(0));
    }
    static void click(ManagerFixture& f, const char* link) { emit f.control<LinkLabel>(link)->clicked(); }

private slots:
    void backUpThenRestoreUnderANewName()
    {
        ManagerFixture f;
        f.program.makeProject(QStringLiteral("Book"), "Chapter: A\r\n", "Topic\r\n");
        f.write(QStringLiteral("projects/Book/.history/a.rtf"), "old");
        f.open();
        QTemporaryDir elsewhere;
        const QString zip = elsewhere.filePath(QStringLiteral("Book.zip"));
        QString suggested;
        backups(f).setSaveFileChooser([&](QWidget*, const QString& path) {
            suggested = path;
            return zip;
        });

        click(f, "lblBackUpBook");
        QCOMPARE(f.texts(), QStringList{"Please select a project to back up."});
        QVERIFY(suggested.isEmpty());
        f.boxes.shown.clear();

        select(f, QStringLiteral("Book"));
        click(f, "lblBackUpBook");
        QCOMPARE(QFileInfo(suggested).fileName(), QStringLiteral("Book ") +
                                                      QDate::currentDate().toString(Qt::ISODate) +
                                                      QStringLiteral(".zip"));
        QCOMPARE(f.texts(), QStringList{QStringLiteral("Done. The book was backed up to %1.").arg(zip)});
        QVERIFY(QFileInfo(zip).size() > 0);
        f.boxes.shown.clear();

        // The zip's name is offered; a name taken or invalid is refused and asked for again.
        Names names{{QStringLiteral("Book"), QStringLiteral("Bad:Name"), QStringLiteral("Copy")}, {}};
        backups(f).setNameAsker(names.asker());
        backups(f).setOpenFileChooser([&](QWidget*) { return zip; });
        click(f, "lblRestoreBook");
        QCOMPARE(names.offered, (QStringList{"Book", "Book", "Bad:Name"}));
        QCOMPARE(f.texts(),
                 (QStringList{"The book could not be restored.\nThere is already a project named \"Book\".",
                              "The book could not be restored.\n\"Bad:Name\" cannot name a project.",
                              "Done. The book was restored as \"Copy\"."}));
        QCOMPARE(f.boxes.shown.first().title, QStringLiteral("Error"));
        QCOMPARE(f.boxes.shown.first().icon, MessageIcon::Exclamation);
        QCOMPARE(listed(f), (QStringList{"Book", "Copy"}));
        QCOMPARE(list(f)->selectedItems().value(0)->text(), QStringLiteral("Copy"));
        QCOMPARE(readFile(f.file(QStringLiteral("projects/Copy/.history/a.rtf"))), QByteArray("old"));

        // Cancelling the name question restores nothing.
        f.boxes.shown.clear();
        click(f, "lblRestoreBook");
        QVERIFY(f.boxes.shown.isEmpty());
        QCOMPARE(listed(f), (QStringList{"Book", "Copy"}));
    }

    void deletingKeepsABackup_data()
    {
        QTest::addColumn<bool>("backupsBlocked");
        QTest::newRow("backed up and deleted") << false;
        QTest::newRow("backups folder blocked") << true;
    }
    void deletingKeepsABackup()
    {
        QFETCH(bool, backupsBlocked);
        ManagerFixture f;
        f.program.makeProject(QStringLiteral("Doomed"), "Chapter: A\r\n", "Topic\r\n");
        f.program.makeProject(QStringLiteral("Kept"), "Chapter: K\r\n", "Kept\r\n");
        if (backupsBlocked) {
            f.write(QStringLiteral("backups"), "a file where the folder belongs");
        }
        f.open();
        Names names;
        backups(f).setNameAsker(names.asker());
        QList<DeletedBook> offered;
        backups(f).setDeletedBookChooser([&](QWidget*, const QList<DeletedBook>& books) {
            offered = books;
            return books.value(0);
        });

        click(f, "lblDeletedBooks");
        QCOMPARE(f.texts(), QStringList{"There are no deleted books to restore."});
        f.boxes.shown.clear();

        select(f, QStringLiteral("Doomed"));
        f.control<QPushButton>("cmdDeleteProject")->click();
        if (backupsBlocked) {
            QCOMPARE(f.texts(),
                     (QStringList{"Confirm delete?",
                                  "The project could not be backed up, so it was not deleted.\nThe "
                                  "folder " +
                                      f.file(QStringLiteral("backups/")) + " could not be created."}));
            QCOMPARE(f.boxes.shown.last().title, QStringLiteral("Error"));
            QCOMPARE(f.boxes.shown.last().icon, MessageIcon::Exclamation);
            QCOMPARE(f.boxes.shown.last().buttons, MessageButtons::Ok);
            QCOMPARE(listed(f), (QStringList{"Doomed", "Kept"}));
            QVERIFY(QFileInfo::exists(f.file(QStringLiteral("projects/Doomed/--toc.txt"))));
            return;
        }
        QCOMPARE(f.texts(), (QStringList{"Confirm delete?", "Done. Projec deleted."}));
        QCOMPARE(listed(f), QStringList{"Kept"});
        f.boxes.shown.clear();

        // "Deleted Books…" offers the backup under the project's name and restores it.
        names.answers = {QStringLiteral("Doomed")};
        click(f, "lblDeletedBooks");
        QCOMPARE(offered.size(), 1);
        QCOMPARE(offered.first().name, QStringLiteral("Doomed"));
        QCOMPARE(names.offered, QStringList{"Doomed"});
        QCOMPARE(f.texts(), QStringList{"Done. The book was restored as \"Doomed\"."});
        QCOMPARE(listed(f), (QStringList{"Doomed", "Kept"}));
        QCOMPARE(readFile(f.file(QStringLiteral("projects/Doomed/--toc.txt"))), QByteArray("Chapter: A\r\n"));
    }

    // Deleting the only book leaves the window in Create Project, where the Open panel's links
    // are hidden; the window's shortcut (and the Create panel's context menu) still restores it.
    void theOnlyBookComesBackFromTheCreatePanel()
    {
        ManagerFixture f;
        f.program.makeProject(QStringLiteral("Only"), "Chapter: A\r\n", "Topic\r\n");
        f.open();
        Names names;
        names.answers = {QStringLiteral("Only")};
        backups(f).setNameAsker(names.asker());
        backups(f).setDeletedBookChooser(
            [](QWidget*, const QList<DeletedBook>& books) { return books.value(0); });
        select(f, QStringLiteral("Only"));
        f.control<QPushButton>("cmdDeleteProject")->click();
        auto* createPanel = f.control<QWidget>("frNew");
        auto* openPanel = f.control<QWidget>("frLoad");
        QVERIFY(openPanel->isHidden() && createPanel->isVisible());

        QCOMPARE(createPanel->contextMenuPolicy(), Qt::ActionsContextMenu);
        QStringList offered;
        for (const QAction* action : createPanel->actions()) {
            offered.append(action->text() + QLatin1Char(' ') + action->shortcut().toString());
        }
        QCOMPARE(offered, (QStringList{"Restore Book… Ctrl+Shift+R", "Deleted Books… Ctrl+Shift+D"}));
        f.window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
        QTest::keyClick(f.window.get(), Qt::Key_D, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(f.texts().last(), QStringLiteral("Done. The book was restored as \"Only\"."));
        QVERIFY(openPanel->isVisible() && createPanel->isHidden());
        QCOMPARE(listed(f), QStringList{"Only"});
        QCOMPARE(list(f)->currentItem()->text(), QStringLiteral("Only"));
    }

    void deletedBooksDialog()
    {
        const QList<DeletedBook> books{
            {QStringLiteral("/b/New.zip"), QStringLiteral("New"), QDateTime::currentDateTime()},
            {QStringLiteral("/b/Old.zip"), QStringLiteral("Old"), QDateTime()}};
        for (int row : {0, 1, -1}) {
            DeletedBooksDialog dialog(books);
            dialog.show();
            auto* list = dialog.findChild<QListWidget*>(QStringLiteral("lstDeletedBooks"));
            QCOMPARE(list->count(), 2);
            QVERIFY(list->item(0)->text().startsWith(QStringLiteral("New (deleted ")));
            list->setCurrentRow(row);
            auto* restore = dialog.findChild<QPushButton*>(QStringLiteral("cmdRestore"));
            QCOMPARE(restore->isEnabled(), row >= 0);
            (row >= 0 ? restore : dialog.findChild<QPushButton*>(QStringLiteral("cmdClose")))->click();
            QCOMPARE(dialog.chosen().has_value(), row >= 0);
            if (row >= 0) {
                QCOMPARE(dialog.chosen()->path, books.at(row).path);
            }
        }
    }
};

QTEST_MAIN(tst_manager_backups)
#include "tst_manager_backups.moc"
