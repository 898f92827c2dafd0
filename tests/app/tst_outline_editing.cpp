// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/outline_editing.h"
#include "main_window_fixture.h"
#include "outline/trash.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScopeGuard>
#include <QTimer>

using namespace folioneer;
using namespace folioneer::test;

namespace {

const QByteArray kToc =
    "Chapter: One\r\nSubchapter: Alpha\r\nSubchapter: Beta\r\nChapter: Two\r\nSubchapter: Gamma\r\n";
const QByteArray kAlpha = "{\\rtf1 Alpha text.\\par}";

struct Book : MainWindowFixture {
    Book()
    {
        folder = program.makeProject(QStringLiteral("Book"), kToc, "Topic\r\n");
        writeFile(folder + "/one---alpha.txt", kAlpha);
        window->LoadProject(folder);
    }
    QString file(const char* name) const { return folder + QLatin1Char('/') + QLatin1String(name); }
    void select(int chapter, int section = -1)
    {
        click(node(chapter, section));
        tree()->setFocus();
    }
    void key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(tree(), Qt::Key(key), modifiers);
        QApplication::processEvents();
    }
    QString folder;
};

} // namespace

class tst_OutlineEditing : public QObject {
    Q_OBJECT

private slots:
    void moveByKeyboardAsksAboutUnsavedEditsFirst();
    void ctrlArrowsInTheEditorMoveNothing();
    void renameInPlaceByF2AndTheNextSaveFollows();
    void deleteAsksOnlyForText_data();
    void deleteAsksOnlyForText();
    void refusedRenameShowsTheCollisionBox();
    void undoAndRedoByKeyboard();
    void dropOfASectionOnAChapter();
    void historyRestoreIsAnUnsavedEdit();
    void unplacedTextsGetAQuietNote();
    void trashRestoresAndEmpties();
};

void tst_OutlineEditing::moveByKeyboardAsksAboutUnsavedEditsFirst()
{
    Book book;
    QVERIFY(book.showWindow());
    book.select(0, 0);
    book.content()->setPlainText(QStringLiteral("Edited alpha."));
    QVERIFY(book.saveShown());
    book.tree()->setFocus();
    book.boxes.answers = {MessageAnswer::Cancel};
    book.key(Qt::Key_Down, Qt::ControlModifier);
    QCOMPARE(book.boxes.shown.size(), 1);
    QCOMPARE(book.boxes.shown.first().title, QStringLiteral("Unsaved Changes"));
    QVERIFY(QFileInfo::exists(book.file("one---alpha.txt")));
    QVERIFY(book.saveShown());

    // Save: the edit is written, then the section moves with its text.
    book.key(Qt::Key_Down, Qt::ControlModifier);
    QVERIFY(readFile(book.file("one---alpha.txt")).contains("Edited alpha."));
    QCOMPARE(book.node(0, 1)->text(0), QStringLiteral("Alpha"));
    QVERIFY(book.node(0, 1)->isSelected());
    QVERIFY(book.content()->toPlainText().contains(QStringLiteral("Edited alpha.")));
    book.key(Qt::Key_Down, Qt::ControlModifier);
    QCOMPARE(book.node(1, 0)->text(0), QStringLiteral("Alpha"));
    QVERIFY(!QFileInfo::exists(book.file("one---alpha.txt")));
    QVERIFY(readFile(book.file("two---alpha.txt")).contains("Edited alpha."));
    QCOMPARE(book.caption("lblParentNode"), QStringLiteral("Two\r"));
    QCOMPARE(book.caption("lblSelectedItem"), QStringLiteral("Alpha\r"));
}

void tst_OutlineEditing::ctrlArrowsInTheEditorMoveNothing()
{
    Book book;
    QVERIFY(book.showWindow());
    book.select(0, 0);
    book.content()->setFocus();
    QTest::keyClick(book.content(), Qt::Key_Down, Qt::ControlModifier);
    QCOMPARE(readFile(book.file("--toc.txt")), kToc);
    QCOMPARE(book.node(0, 0)->text(0), QStringLiteral("Alpha"));
}

void tst_OutlineEditing::renameInPlaceByF2AndTheNextSaveFollows()
{
    Book book;
    QVERIFY(book.showWindow());
    book.select(0, 0);
    book.key(Qt::Key_F2);
    auto* editor = book.tree()->findChild<QLineEdit*>();
    QVERIFY(editor);
    editor->setText(QStringLiteral("  Alpha Renamed "));
    QTest::keyClick(editor, Qt::Key_Return);
    QTRY_COMPARE(book.node(0, 0)->text(0), QStringLiteral("Alpha Renamed"));
    QCOMPARE(readFile(book.file("one---alpha-renamed.txt")), kAlpha);
    QVERIFY(!QFileInfo::exists(book.file("one---alpha.txt")));
    QCOMPARE(book.caption("lblSelectedItem"), QStringLiteral("Alpha Renamed\r"));

    book.content()->setPlainText(QStringLiteral("New words."));
    book.window->cmdSaveChanges_Click();
    QVERIFY(readFile(book.file("one---alpha-renamed.txt")).contains("New words."));
    QVERIFY(!QFileInfo::exists(book.file("one---alpha.txt")));
}

void tst_OutlineEditing::deleteAsksOnlyForText_data()
{
    QTest::addColumn<int>("chapter");
    QTest::addColumn<int>("section");
    QTest::addColumn<QString>("question");

    QTest::newRow("section with text")
        << 0 << 0 << "Delete the section \"Alpha\"? Its text will be moved to the trash.";
    QTest::newRow("section without text") << 0 << 1 << "";
    QTest::newRow("chapter")
        << 1 << -1 << "Delete the chapter \"Two\" and its sections? Their texts will be moved to the trash.";
}

void tst_OutlineEditing::deleteAsksOnlyForText()
{
    QFETCH(int, chapter);
    QFETCH(int, section);
    QFETCH(QString, question);

    Book book;
    QVERIFY(book.showWindow());
    book.select(chapter, section);
    book.boxes.shown.clear();
    book.boxes.answers = {MessageAnswer::No};
    book.key(Qt::Key_Delete);
    if (question.isEmpty()) {
        QVERIFY(book.boxes.shown.isEmpty());
        QVERIFY(!readFile(book.file("--toc.txt")).contains("Beta"));
        return;
    }
    QCOMPARE(book.boxes.shown.size(), 1);
    const Message asked = book.boxes.shown.first();
    QCOMPARE(asked.text, question);
    QCOMPARE(asked.title, QStringLiteral("Confirm"));
    QCOMPARE(asked.icon, MessageIcon::Question);
    QCOMPARE(asked.buttons, MessageButtons::YesNo);
    QCOMPARE(readFile(book.file("--toc.txt")), kToc);

    book.key(Qt::Key_Delete);
    QVERIFY(readFile(book.file("--toc.txt")) != kToc);
    QVERIFY(!QFileInfo::exists(book.file("one---alpha.txt")) || chapter == 1);
}

void tst_OutlineEditing::refusedRenameShowsTheCollisionBox()
{
    Book book;
    QVERIFY(book.showWindow());
    book.select(0, 1);
    book.boxes.shown.clear();
    book.window->findChild<OutlineEditing*>()->renameSelected(QStringLiteral("alpha"));
    QCOMPARE(book.boxes.shown.size(), 1);
    QCOMPARE(book.boxes.shown.first().text,
             QStringLiteral("There is already a section with this title in this chapter."));
    QCOMPARE(book.boxes.shown.first().title, QStringLiteral("Error"));
    QCOMPARE(book.boxes.shown.first().icon, MessageIcon::Exclamation);
    QCOMPARE(readFile(book.file("--toc.txt")), kToc);
}

void tst_OutlineEditing::undoAndRedoByKeyboard()
{
    Book book;
    QVERIFY(book.showWindow());
    book.select(0, 0);
    book.key(Qt::Key_Down, Qt::ControlModifier);
    const QByteArray moved = readFile(book.file("--toc.txt"));
    QVERIFY(moved.contains("Beta\r\nSubchapter: Alpha"));
    book.key(Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(readFile(book.file("--toc.txt")).contains("Alpha\r\nSubchapter: Beta"));
    QCOMPARE(readFile(book.file("one---alpha.txt")), kAlpha);
    book.key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(readFile(book.file("--toc.txt")), moved);
}

void tst_OutlineEditing::dropOfASectionOnAChapter()
{
    Book book;
    QVERIFY(book.showWindow());
    book.select(0, 0);
    book.window->findChild<OutlineEditing*>()->handleDrop(book.node(0, 0), book.node(1),
                                                          int(OutlineTree::DropPlace::On));
    QCOMPARE(book.node(1, 1)->text(0), QStringLiteral("Alpha"));
    QCOMPARE(readFile(book.file("two---alpha.txt")), kAlpha);
}

void tst_OutlineEditing::historyRestoreIsAnUnsavedEdit()
{
    Book book;
    QVERIFY(book.showWindow());
    book.select(0, 0);
    book.content()->setPlainText(QStringLiteral("Second words."));
    book.window->cmdSaveChanges_Click();
    QVERIFY(!book.saveShown());

    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        QCOMPARE(dialog->findChild<QListWidget*>(QStringLiteral("lstVersions"))->count(), 1);
        dialog->findChild<QPushButton*>(QStringLiteral("cmdRestore"))->click();
    });
    book.window->showSectionHistory();
    QCOMPARE(book.content()->toPlainText().trimmed(), QStringLiteral("Alpha text."));
    QVERIFY(book.saveShown());
    QVERIFY(readFile(book.file("one---alpha.txt")).contains("Second words."));
}

void tst_OutlineEditing::unplacedTextsGetAQuietNote()
{
    Book book;
    QCOMPARE(book.control<QLabel>("lblUnplaced")->text(), QString());
    QVERIFY(writeFile(book.file("one---old-title.txt"), kAlpha));
    book.boxes.shown.clear();
    book.window->LoadProject(book.folder);
    QVERIFY(book.boxes.shown.isEmpty());
    QVERIFY(book.control<QLabel>("lblUnplaced")->text().startsWith(QStringLiteral("1 text")));
}

void tst_OutlineEditing::trashRestoresAndEmpties()
{
    Book book;
    QVERIFY(book.showWindow());
    auto* editing = book.window->findChild<OutlineEditing*>();
    QVERIFY(editing);
    // Alpha's text goes to the trash; then its chapter goes too, so the restore needs a new one.
    book.select(0, 0);
    book.key(Qt::Key_Delete);
    QVERIFY(book.node(0));
    book.select(0);
    book.key(Qt::Key_Delete);
    QVERIFY(!QFileInfo::exists(book.file("one---alpha.txt")));
    QCOMPARE(readFile(book.file("--toc.txt")), QByteArray("Chapter: Two\r\nSubchapter: Gamma\r\n"));

    const auto inTrashWindow = [](const std::function<void(QDialog*, QListWidget*)>& steps) {
        QTimer::singleShot(0, [steps] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            const auto close = qScopeGuard([dialog] { dialog->reject(); });
            steps(dialog, dialog->findChild<QListWidget*>(QStringLiteral("lstTrash")));
        });
    };
    const auto button = [](QDialog* dialog, const char* name) {
        return dialog->findChild<QPushButton*>(QLatin1String(name));
    };
    inTrashWindow([&](QDialog* dialog, QListWidget* list) {
        QCOMPARE(list->count(), 1);
        QVERIFY(list->item(0)->text().startsWith(QString::fromUtf8("Alpha — One — ")));
        button(dialog, "cmdRestore")->click();
        QCOMPARE(list->count(), 0);
        QVERIFY(!button(dialog, "cmdRestore")->isEnabled());
        QVERIFY(!button(dialog, "cmdEmptyTrash")->isEnabled());
    });
    editing->showTrash();
    QCOMPARE(readFile(book.file("one---alpha.txt")), kAlpha);
    QCOMPARE(readFile(book.file("--toc.txt")),
             QByteArray("Chapter: Two\r\nSubchapter: Gamma\r\nChapter: One\r\nSubchapter: Alpha\r\n"));

    // Emptying asks first; No keeps the text, Yes removes it for good.
    QVERIFY(book.node(1, 0));
    book.select(1, 0);
    book.key(Qt::Key_Delete);
    book.boxes.shown.clear();
    book.boxes.answers = {MessageAnswer::No, MessageAnswer::Yes};
    inTrashWindow([&](QDialog* dialog, QListWidget* list) {
        button(dialog, "cmdEmptyTrash")->click();
        QCOMPARE(list->count(), 1);
        button(dialog, "cmdEmptyTrash")->click();
        QCOMPARE(list->count(), 0);
    });
    editing->showTrash();
    QCOMPARE(book.boxes.shown.size(), 2);
    QCOMPARE(book.boxes.shown.first().text,
             QStringLiteral("Empty the trash? Its texts cannot be restored afterwards."));
    QCOMPARE(book.boxes.shown.first().title, QStringLiteral("Confirm"));
    QCOMPARE(book.boxes.shown.first().icon, MessageIcon::Question);
    QCOMPARE(book.boxes.shown.first().buttons, MessageButtons::YesNo);
    QVERIFY(trashItems(book.folder).isEmpty());
    QVERIFY(!QFileInfo::exists(book.file("one---alpha.txt")));
}

QTEST_MAIN(tst_OutlineEditing)
#include "tst_outline_editing.moc"
