// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "main_window_fixture.h"

#include "app/book_search_window.h"
#include "app/find_bar.h"
#include "app/focus_window.h"
#include "app/spell_highlighter.h"
#include "app/spelling.h"
#include "app/word_count_strip.h"
#include "app/writing_tools.h"
#include "rtf/rtf.h"
#include "writing/spelling_settings.h"

#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QScreen>
#include <QTextBlock>
#include <QTextLayout>
#include <QtTest>

using namespace folioneer;
using namespace folioneer::test;

namespace {

const QByteArray kToc = "Chapter: Harbour\r\n"
                        "Subchapter: Morning\r\n"
                        "Subchapter: Boats\r\n"
                        "Chapter: Inland\r\n"
                        "Subchapter: Roads\r\n";

QByteArray rtfOf(const char* text)
{
    return QByteArray("{\\rtf1\\ansi ") + text + "\\par}";
}

QStringList markedWords(const QTextDocument& document)
{
    QStringList words;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (const QTextLayout::FormatRange& range : block.layout()->formats()) {
            // A mark is a red wave; anything else shows up as a wrong word.
            const bool wave = range.format.underlineStyle() == QTextCharFormat::SpellCheckUnderline &&
                              range.format.underlineColor() == QColor(Qt::red);
            words.append(wave ? block.text().mid(range.start, range.length)
                              : QStringLiteral("(not a red wave)"));
        }
    }
    return words;
}

QAction* actionNamed(const QMenu& menu, const QString& text)
{
    for (QAction* action : menu.actions()) {
        if (action->text() == text) {
            return action;
        }
    }
    return nullptr;
}

} // namespace

// Spelling, word counts, find in the section and in the book, and focus mode, as wired into
// the main window.
class tst_writing_tools : public QObject {
    Q_OBJECT

private slots:
    void init();
    void openingLeavesSectionUnchangedWhileMarking();
    void contextMenuSuggestsAddsAndIgnores();
    void noDictionary();
    void countsFollowEditsSavesAndFiles();
    void findBarAndReplaceAllAsOneUndoStep();
    void hitInAnotherSection_data();
    void hitInAnotherSection();
    void focusModeKeepsTheMainWindow();

private:
    WritingTools& tools() const { return m_f->window->writingTools(); }
    void openSection(int chapter, int section);
    QString path(const char* fileName) const { return m_project + u'/' + QString::fromLatin1(fileName); }

    std::unique_ptr<MainWindowFixture> m_f;
    QString m_project;
};

void tst_writing_tools::init()
{
    m_f = std::make_unique<MainWindowFixture>();
    m_project = m_f->program.makeProject(QStringLiteral("Sea"), kToc, "The sea\r\n");
    QVERIFY(writeFile(path("harbour---morning.txt"), rtfOf("Helo wrold, hello world. Hello book zorp.")));
    QVERIFY(writeFile(path("harbour---boats.txt"), rtfOf("book writer")));
    QVERIFY(writeFile(path("inland---roads.txt"), rtfOf("world book hello")));
    QVERIFY(writeLanguageChoice(m_f->program.path(), QStringLiteral("xx_TEST")).ok());
    tools().setDictionaryFolder(sourceDir() + QStringLiteral("/tests/data/hunspell"));
    QVERIFY(m_f->showWindow());
    m_f->window->LoadProject(m_project);
}

void tst_writing_tools::openSection(int chapter, int section)
{
    m_f->click(m_f->node(chapter, section));
    QTRY_VERIFY(tools().spelling().isReady());
    tools().highlighter().checkAll();
}

void tst_writing_tools::openingLeavesSectionUnchangedWhileMarking()
{
    openSection(0, 0);
    QCOMPARE(markedWords(*m_f->content()->document()), (QStringList{"Helo", "wrold", "zorp"}));
    QTest::qWait(50);
    QVERIFY(!m_f->saveShown());
    QVERIFY(!m_f->content()->document()->isUndoAvailable());

    // Each new document is checked again, and a typed word is checked as it is typed.
    openSection(0, 1);
    QCOMPARE(markedWords(*m_f->content()->document()), QStringList());
    QVERIFY(!m_f->saveShown());
    m_f->content()->moveCursor(QTextCursor::End);
    QTest::keyClicks(m_f->content(), QStringLiteral(" hello bok"));
    QCOMPARE(markedWords(*m_f->content()->document()), QStringList{"bok"});
    QVERIFY(m_f->saveShown());
}

void tst_writing_tools::contextMenuSuggestsAddsAndIgnores()
{
    openSection(0, 0);
    RichTextBox* editor = m_f->content();
    auto menuAt = [this, editor](int position) {
        QTextCursor cursor(editor->document());
        cursor.setPosition(position);
        auto menu = std::make_unique<QMenu>();
        menu->addAction(QStringLiteral("Standard"));
        tools().spelling().addToContextMenu(*menu, *editor, editor->cursorRect(cursor).center());
        return menu;
    };

    // A suggestion replaces the word and is an edit of the section.
    auto menu = menuAt(7);
    QAction* world = actionNamed(*menu, QStringLiteral("world"));
    QVERIFY(world);
    QVERIFY(menu->actions().size() <= 8 + 6);
    world->trigger();
    QCOMPARE(editor->toPlainText(), QStringLiteral("Helo world, hello world. Hello book zorp."));
    QVERIFY(m_f->saveShown());

    // "Add to Dictionary" is kept in the program folder; "Ignore" lasts while the program runs.
    actionNamed(*menuAt(1), QStringLiteral("Add to Dictionary"))->trigger();
    actionNamed(*menuAt(38), QStringLiteral("Ignore"))->trigger();
    tools().highlighter().checkAll();
    QCOMPARE(markedWords(*editor->document()), QStringList());
    QCOMPARE(readPersonalWords(m_f->program.path()), QStringList{"Helo"});
    // A correct word offers no spelling entries, only the language choice.
    QCOMPARE(menuAt(14)->actions().first()->text(), QStringLiteral("Spelling Language"));
}

void tst_writing_tools::noDictionary()
{
    QTemporaryDir empty;
    tools().setDictionaryFolder(empty.path());
    openSection(0, 0);
    QVERIFY(!tools().spelling().isChecking());
    QCOMPARE(markedWords(*m_f->content()->document()), QStringList());
    QMenu menu;
    tools().spelling().addToContextMenu(menu, *m_f->content(), QPoint(5, 5));
    QCOMPARE(menu.actions().first()->text(), QStringLiteral("Spelling: no dictionary is installed"));
    QVERIFY(m_f->boxes.shown.isEmpty());
}

void tst_writing_tools::countsFollowEditsSavesAndFiles()
{
    QLabel* strip = m_f->control<QLabel>("lblWordCounts");
    QCOMPARE(strip->geometry(), QRect(363, 619, 850, 21));
    QCOMPARE(strip->text(), QString::fromUtf8("Book: 12 words"));
    QCOMPARE(m_f->node(0)->toolTip(0), QStringLiteral("9 words"));

    openSection(0, 1);
    QCOMPARE(strip->text(),
             QString::fromUtf8("Section: 2 words \u00B7 Chapter: 9 words \u00B7 Book: 12 words"));
    m_f->content()->moveCursor(QTextCursor::End);
    QTest::keyClicks(m_f->content(), QStringLiteral(" and three more"));
    QTRY_COMPARE_WITH_TIMEOUT(
        strip->text(), QString::fromUtf8("Section: 5 words \u00B7 Chapter: 12 words \u00B7 Book: 15 words"),
        1000);
    m_f->window->cmdSaveChanges_Click();
    QCOMPARE(strip->text(),
             QString::fromUtf8("Section: 5 words \u00B7 Chapter: 12 words \u00B7 Book: 15 words"));

    // Another program changes a content file: the next selection counts it.
    QVERIFY(writeFile(path("inland---roads.txt"), rtfOf("one two three four five six seven eight nine ten")));
    QFile roads(path("inland---roads.txt"));
    QVERIFY(roads.open(QIODevice::ReadWrite));
    QVERIFY(roads.setFileTime(QDateTime::currentDateTime().addSecs(60), QFileDevice::FileModificationTime));
    openSection(1, 0);
    QCOMPARE(strip->text(),
             QString::fromUtf8("Section: 10 words \u00B7 Chapter: 10 words \u00B7 Book: 22 words"));
    QCOMPARE(m_f->node(1)->toolTip(0), QStringLiteral("10 words"));
}

void tst_writing_tools::findBarAndReplaceAllAsOneUndoStep()
{
    openSection(0, 0);
    RichTextBox* editor = m_f->content();
    editor->setFocus();
    QTest::keySequence(m_f->window.get(), QKeySequence::Find);
    FindBar* bar = m_f->control<FindBar>("FindBar");
    QVERIFY(bar->isVisible());
    QCOMPARE(bar->geometry(), QRect(655, 316, m_f->window->width() - 655, 41));
    QLineEdit* query = m_f->control<QLineEdit>("txtFind");
    QVERIFY(query->hasFocus());
    QTest::keyClicks(query, QStringLiteral("hello"));
    QTest::keyClick(query, Qt::Key_Return);
    QCOMPARE(editor->textCursor().selectionStart(), 12);
    QTest::keyClick(m_f->window.get(), Qt::Key_F3);
    QCOMPARE(editor->textCursor().selectionStart(), 25);
    QTest::keyClick(m_f->window.get(), Qt::Key_F3);
    QCOMPARE(editor->textCursor().selectionStart(), 12); // wrapped around
    QTest::keyClick(m_f->window.get(), Qt::Key_F3, Qt::ShiftModifier);
    QCOMPARE(editor->textCursor().selectionStart(), 25);
    m_f->control<QCheckBox>("chkMatchCase")->setChecked(true);
    QTest::keyClick(m_f->window.get(), Qt::Key_F3);
    QCOMPARE(editor->textCursor().selectionStart(), 12);
    QVERIFY(!m_f->saveShown());

    QTest::keySequence(m_f->window.get(), QKeySequence(Qt::CTRL | Qt::Key_H));
    QVERIFY(m_f->control("ReplaceRow")->isVisible());
    m_f->control<QCheckBox>("chkMatchCase")->setChecked(false);
    m_f->control<QLineEdit>("txtReplace")->setText(QStringLiteral("goodbye"));
    m_f->clickControl("cmdReplaceAll");
    QCOMPARE(editor->toPlainText(), QStringLiteral("Helo wrold, goodbye world. goodbye book zorp."));
    QVERIFY(m_f->saveShown());
    editor->undo();
    QCOMPARE(editor->toPlainText(), QStringLiteral("Helo wrold, hello world. Hello book zorp."));
    QVERIFY(!editor->document()->isUndoAvailable());
}

void tst_writing_tools::hitInAnotherSection_data()
{
    QTest::addColumn<bool>("edited");
    QTest::addColumn<MessageAnswer>("answer");
    QTest::addColumn<bool>("readOnly");
    QTest::addColumn<bool>("moves");
    QTest::addColumn<QString>("savedText");
    const QString before = QStringLiteral("book writer");
    const QString after = QStringLiteral("book writer!");
    QTest::newRow("no unsaved edits") << false << MessageAnswer::Ok << false << true << before;
    QTest::newRow("save") << true << MessageAnswer::Save << false << true << after;
    QTest::newRow("save fails") << true << MessageAnswer::Save << true << false << before;
    QTest::newRow("discard") << true << MessageAnswer::Discard << false << true << before;
    QTest::newRow("cancel") << true << MessageAnswer::Cancel << false << false << before;
}

void tst_writing_tools::hitInAnotherSection()
{
    QFETCH(bool, edited);
    QFETCH(MessageAnswer, answer);
    QFETCH(bool, readOnly);
    QFETCH(bool, moves);
    QFETCH(QString, savedText);

    openSection(0, 1);
    if (edited) {
        m_f->content()->moveCursor(QTextCursor::End);
        QTest::keyClicks(m_f->content(), QStringLiteral("!"));
    }
    if (readOnly) {
        QFile::setPermissions(path("harbour---boats.txt"), QFile::ReadOwner);
    }
    m_f->boxes.answers = {answer};

    QTest::keySequence(m_f->window.get(), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F));
    BookSearchWindow* search = tools().bookSearchWindow();
    QVERIFY(search && search->isVisible());
    QCOMPARE(search->windowTitle(), QStringLiteral("Find in Book"));
    QLineEdit* query = search->findChild<QLineEdit*>(QStringLiteral("txtBookQuery"));
    QCOMPARE(search->focusWidget(), query);
    QTest::keyClicks(query, QStringLiteral("hello"));
    QTest::keyClick(query, Qt::Key_Return);
    auto* hits = search->findChild<QListWidget*>(QStringLiteral("lstBookHits"));
    QCOMPARE(hits->count(), 3);
    QCOMPARE(hits->item(1)->text(),
             QString::fromUtf8("Harbour \u203A Morning: Helo wrold, hello world. Hello book zorp."));
    QCOMPARE(search->focusWidget(), hits);
    hits->setCurrentRow(1);
    QTest::keyClick(hits, Qt::Key_Return);

    QCOMPARE(m_f->boxes.shown.size(), edited ? (readOnly ? 2 : 1) : 0);
    if (edited) {
        const Message& question = m_f->boxes.shown.first();
        QCOMPARE(question.title, QStringLiteral("Unsaved Changes"));
        QCOMPARE(question.text, QStringLiteral("This section has changes that are not saved."));
        QCOMPARE(question.icon, MessageIcon::Question);
        QCOMPARE(question.buttons, MessageButtons::SaveDiscardCancel);
    }
    QCOMPARE(rtf::plainTextFromRtf(readFile(path("harbour---boats.txt"))).text, savedText);
    if (moves) {
        QCOMPARE(m_f->caption("lblSelectedItem"), QStringLiteral("Morning\r"));
        QCOMPARE(m_f->content()->textCursor().selectedText(), QStringLiteral("Hello"));
        QCOMPARE(m_f->content()->textCursor().selectionStart(), 25);
        QVERIFY(!m_f->saveShown());
    } else {
        QCOMPARE(m_f->caption("lblSelectedItem"), QStringLiteral("Boats\r"));
        QCOMPARE(m_f->content()->toPlainText(), QStringLiteral("book writer!"));
        QVERIFY(m_f->saveShown());
    }
    QFile::setPermissions(path("harbour---boats.txt"), QFile::ReadOwner | QFile::WriteOwner);
}

void tst_writing_tools::focusModeKeepsTheMainWindow()
{
    openSection(0, 0);
    const QSize designSize = m_f->window->size();
    const QRect contentGeometry = m_f->content()->geometry();
    const qreal textWidth = m_f->content()->document()->textWidth();
    QTest::keyClick(m_f->window.get(), Qt::Key_F11);
    FocusWindow* focus = tools().focusWindow();
    QVERIFY(focus);
    QVERIFY(QTest::qWaitForWindowExposed(focus));
    QCOMPARE(focus->geometry(), m_f->window->screen()->geometry());
    QCOMPARE(focus->editor()->document(), m_f->content()->document());

    // Typing there is an edit of the section, checked as it is typed.
    focus->editor()->moveCursor(QTextCursor::End);
    QTest::keyClicks(focus->editor(), QStringLiteral(" qwzx"));
    QVERIFY(m_f->saveShown());
    QCOMPARE(markedWords(*m_f->content()->document()), (QStringList{"Helo", "wrold", "zorp", "qwzx"}));

    QTest::keyClick(focus, Qt::Key_Escape);
    QTRY_VERIFY(!tools().focusWindow());
    QCOMPARE(m_f->window->size(), designSize);
    QCOMPARE(m_f->content()->geometry(), contentGeometry);
    QCOMPARE(m_f->content()->document()->textWidth(), textWidth);
    QVERIFY(m_f->content()->toPlainText().endsWith(QStringLiteral("zorp. qwzx")));

    // Closing the program with focus mode open takes both windows down cleanly.
    QTest::keyClick(m_f->window.get(), Qt::Key_F11);
    QVERIFY(tools().focusWindow());
    m_f->window.reset();
}

QTEST_MAIN(tst_writing_tools)
#include "tst_writing_tools.moc"
