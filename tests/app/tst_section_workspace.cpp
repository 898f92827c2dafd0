// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "main_window_fixture.h"

#include "export/book_export.h"
#include "project/content_paths.h"
#include "rtf/rtf.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>
#include <QtTest>

#include <optional>

using namespace folioneer;
using namespace folioneer::test;

namespace {

const QByteArray kToc = "Chapter: The Basics\r\n"
                        "Subchapter: Soil\r\n"
                        "Subchapter: Water\r\n"
                        "Chapter: Growing\r\n"
                        "Subchapter: Seeds\r\n"
                        "Chapter: Harvest\r\n"
                        "Subchapter: Wait.. Why\r\n"
                        "Subchapter: Wait... Why\r\n"
                        "Subchapter: Input/Output\r\n";

const QString kPlaceholder = QStringLiteral("-- Please Select a Sub Chapter ---");

QString clipboardText()
{
    return QGuiApplication::clipboard()->text();
}

QStringList clipboardFormats()
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    return data ? data->formats() : QStringList();
}

QString plainTextOfFile(const QString& path)
{
    return rtf::plainTextFromRtf(readFile(path)).text;
}

QTextCharFormat formatOf(QTextDocument* document, const QString& text)
{
    const QTextCursor found = document->find(text);
    return found.isNull() ? QTextCharFormat() : found.charFormat();
}

} // namespace

// The section workspace as the user drives it: choosing a section by mouse or keyboard, its
// content prompt, editing, pasting, saving (also when saving fails or is killed), the copy
// actions and the whole-book export.
class tst_section_workspace : public QObject {
    Q_OBJECT

private slots:
    void init();
    void contentPrompt_data();
    void contentPrompt();
    void chapterEmptiesTheWorkspace();
    void saveAndReselect();
    void formattingSurvivesSaveAndReselect();
    void paste_data();
    void paste();
    void copyActions();
    void keyboard();
    void editorClipboardKeepsFormattingAndPictures();
    void existingContentFile_data();
    void existingContentFile();
    void saveFailures_data();
    void saveFailures();
    void killedSaveLeavesTheOldFile();
    void hostileTitles_data();
    void hostileTitles();
    void exportToClipboard();

private:
    std::unique_ptr<MainWindowFixture> m_f;
    QString m_project;
};

void tst_section_workspace::init()
{
    m_f = std::make_unique<MainWindowFixture>();
    m_project = m_f->program.makeProject(QStringLiteral("Garden"), kToc, "Gardening\r\n");
    QVERIFY(m_f->showWindow());
    m_f->window->LoadProject(m_project);
    QVERIFY(m_f->boxes.shown.isEmpty());
}

void tst_section_workspace::contentPrompt_data()
{
    QTest::addColumn<int>("chapter");
    QTest::addColumn<int>("section");
    QTest::addColumn<QString>("prompt");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("fileName");

    const QString head = QStringLiteral("I'm creating a book for the following topic: Gardening\r\n"
                                        ". I'm now working in the following chapter: \"");
    const QString middle = QStringLiteral(" and i need content for the following section of the chapter: \"");
    QTest::newRow("Soil of The Basics")
        << 0 << 0 << head + QStringLiteral("The Basics\r\"") + middle + QStringLiteral("Soil\r\".")
        << QStringLiteral("Soil\r") << QStringLiteral("the-basics---soil.txt");
    QTest::newRow("two full stops become one in the prompt only")
        << 2 << 0 << head + QStringLiteral("Harvest\r\"") + middle + QStringLiteral("Wait. Why\r\".")
        << QStringLiteral("Wait.. Why\r") << QStringLiteral("harvest---wait..-why.txt");
    QTest::newRow("three full stops: one pass")
        << 2 << 1 << head + QStringLiteral("Harvest\r\"") + middle + QStringLiteral("Wait.. Why\r\".")
        << QStringLiteral("Wait... Why\r") << QStringLiteral("harvest---wait...-why.txt");
    QTest::newRow("slash in a title is stored as a division slash")
        << 2 << 2 << head + QStringLiteral("Harvest\r\"") + middle + QStringLiteral("Input/Output\r\".")
        << QStringLiteral("Input/Output\r") << QStringLiteral("harvest---input\u2215output.txt");
}

void tst_section_workspace::contentPrompt()
{
    QFETCH(int, chapter);
    QFETCH(int, section);
    QFETCH(QString, prompt);
    QFETCH(QString, label);
    QFETCH(QString, fileName);

    m_f->click(m_f->node(chapter, section));
    QCOMPARE(m_f->prompt()->text(), prompt);
    QCOMPARE(m_f->caption("lblSelectedItem"), label);
    QCOMPARE(m_f->caption("lblParentNode"),
             chapter == 0 ? QStringLiteral("The Basics\r") : QStringLiteral("Harvest\r"));
    QVERIFY(m_f->content()->isEnabled());
    QVERIFY(!m_f->saveShown());

    // The file name keeps the title's characters; saving creates exactly that file.
    QTest::keyClicks(m_f->content(), QStringLiteral("Text"));
    m_f->window->cmdSaveChanges_Click();
    QVERIFY(m_f->boxes.shown.isEmpty());
    QCOMPARE(QDir(m_project).entryList({QStringLiteral("*---*")}, QDir::Files), QStringList{fileName});
    QCOMPARE(plainTextOfFile(m_project + u'/' + fileName), QStringLiteral("Text"));
}

void tst_section_workspace::chapterEmptiesTheWorkspace()
{
    m_f->click(m_f->node(0, 1));
    QTest::keyClicks(m_f->content(), QStringLiteral("unsaved"));
    setClipboardText(QStringLiteral("sentinel"));

    m_f->click(m_f->node(1));
    QCOMPARE(m_f->caption("lblParentNode"), QStringLiteral("The Basics\r"));
    QCOMPARE(m_f->caption("lblSelectedItem"), kPlaceholder);
    QCOMPARE(m_f->prompt()->text(), QString());
    QVERIFY(!m_f->content()->isEnabled());
    QVERIFY(m_f->content()->toPlainText().isEmpty());
    QVERIFY(!m_f->saveShown());

    // With a chapter selected, the three clipboard actions do nothing at all.
    m_f->clickControl("lblPaste");
    m_f->clickControl("lblCopy");
    m_f->clickControl("lblCopyContent");
    QVERIFY(m_f->content()->toPlainText().isEmpty());
    QVERIFY(!m_f->saveShown());
    QVERIFY(m_f->boxes.shown.isEmpty());
    QCOMPARE(clipboardText(), QStringLiteral("sentinel"));
}

void tst_section_workspace::saveAndReselect()
{
    QTreeWidgetItem* soil = m_f->node(0, 0);
    const QString path = m_project + QStringLiteral("/the-basics---soil.txt");
    m_f->click(soil);
    QVERIFY(m_f->content()->isEnabled());
    QVERIFY(m_f->content()->toPlainText().isEmpty());
    QCOMPARE(OutlineTree::image(soil), 2);

    QTest::keyClicks(m_f->content(), QStringLiteral("Hello"));
    QVERIFY(m_f->saveShown());
    m_f->content()->setFocus();
    QTest::keySequence(m_f->content(), QKeySequence::Save);
    QVERIFY(!m_f->saveShown());
    QCOMPARE(OutlineTree::image(soil), 3);
    QCOMPARE(plainTextOfFile(path), QStringLiteral("Hello"));
    const QByteArray saved = readFile(path);
    m_f->window->cmdSaveChanges_Click();
    QCOMPARE(readFile(path), saved);

    // Unsaved edits are lost when another entry, or the same one, is chosen.
    QTest::keyClicks(m_f->content(), QStringLiteral(" world"));
    m_f->click(m_f->node(0, 1));
    QVERIFY(m_f->content()->toPlainText().isEmpty());
    m_f->click(soil);
    QCOMPARE(m_f->content()->toPlainText(), QStringLiteral("Hello"));
    QVERIFY(!m_f->saveShown());
    QTest::keyClicks(m_f->content(), QStringLiteral("!"));
    m_f->click(soil);
    QCOMPARE(m_f->content()->toPlainText(), QStringLiteral("Hello"));
    QVERIFY(!m_f->saveShown());
    // The undo history starts afresh with each load.
    QVERIFY(!m_f->content()->document()->isUndoAvailable());
    QCOMPARE(m_f->content()->document()->defaultFont().pointSizeF(), 10.0);

    // A content file added after the load is found on the next click.
    QTreeWidgetItem* water = m_f->node(0, 1);
    QVERIFY(writeFile(m_project + QStringLiteral("/the-basics---water.txt"), "{\\rtf1 Rain\\par}"));
    m_f->click(water);
    QCOMPARE(OutlineTree::image(water), 3);
    QCOMPARE(m_f->content()->toPlainText(), QStringLiteral("Rain"));
    QVERIFY(m_f->boxes.shown.isEmpty());
}

void tst_section_workspace::formattingSurvivesSaveAndReselect()
{
    m_f->click(m_f->node(0, 0));
    QTextCursor cursor(m_f->content()->document());
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    cursor.insertText(QStringLiteral("bold"), bold);
    QTextCharFormat italic;
    italic.setFontItalic(true);
    cursor.insertText(QStringLiteral(" italic"), italic);
    QTextCharFormat red;
    red.setForeground(QColor(200, 0, 0));
    cursor.insertText(QStringLiteral(" red"), red);
    QTextCharFormat big;
    big.setFontPointSize(20);
    cursor.insertText(QStringLiteral(" big"), big);
    cursor.insertBlock(QTextBlockFormat(), QTextCharFormat());
    cursor.createList(QTextListFormat::ListDisc);
    cursor.insertText(QStringLiteral("first item"));
    cursor.insertBlock();
    cursor.insertText(QStringLiteral("second item"));
    QVERIFY(m_f->saveShown());
    m_f->window->cmdSaveChanges_Click();
    QVERIFY(m_f->boxes.shown.isEmpty());

    m_f->click(m_f->node(0, 1));
    m_f->click(m_f->node(0, 0));
    QTextDocument* document = m_f->content()->document();
    QCOMPARE(formatOf(document, QStringLiteral("bold")).fontWeight(), int(QFont::Bold));
    QVERIFY(formatOf(document, QStringLiteral("italic")).fontItalic());
    QCOMPARE(formatOf(document, QStringLiteral("red")).foreground().color(), QColor(200, 0, 0));
    QCOMPARE(formatOf(document, QStringLiteral("big")).fontPointSize(), 20.0);
    QVERIFY(formatOf(document, QStringLiteral("italic")).fontWeight() != QFont::Bold);
    const QTextBlock item = document->find(QStringLiteral("second item")).block();
    QVERIFY(item.textList());
    QCOMPARE(item.textList()->count(), 2);
    QVERIFY(!m_f->saveShown());
}

void tst_section_workspace::paste_data()
{
    QTest::addColumn<bool>("textOnClipboard");
    QTest::addColumn<QString>("clipboard");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("boldWord");

    QTest::newRow("rtf document with non-ASCII text")
        << true
        << QStringLiteral(
               "{\\rtf1\\ansi\\ansicpg1252 Gr\\'fcn und \\b fett\\b0  \\u8364? \u00e9t\u00e9\\par}")
        << QStringLiteral("Grün und fett € été") << QStringLiteral("fett");
    QTest::newRow("plain text") << true << QStringLiteral("Line one\nLine two \u00e9")
                                << QStringLiteral("Line one\nLine two é") << QString();
    QTest::newRow("text that mentions rtf later")
        << true << QStringLiteral("see {\\rtf1 x}") << QStringLiteral("see {\\rtf1 x}") << QString();
    QTest::newRow("no text on the clipboard") << false << QString() << QString() << QString();
}

void tst_section_workspace::paste()
{
    QFETCH(bool, textOnClipboard);
    QFETCH(QString, clipboard);
    QFETCH(QString, shown);
    QFETCH(QString, boldWord);

    m_f->click(m_f->node(0, 0));
    QTest::keyClicks(m_f->content(), QStringLiteral("Old content"));
    m_f->window->cmdSaveChanges_Click();
    QVERIFY(!m_f->saveShown());

    if (textOnClipboard) {
        setClipboardText(clipboard);
    } else {
        auto* data = new QMimeData;
        data->setImageData(QImage(4, 4, QImage::Format_RGB32));
        QGuiApplication::clipboard()->setMimeData(data);
    }
    m_f->clickControl("lblPaste");
    QCOMPARE(m_f->content()->toPlainText(), shown);
    QVERIFY(m_f->saveShown());
    QVERIFY(m_f->boxes.shown.isEmpty());
    if (!boldWord.isEmpty()) {
        QCOMPARE(formatOf(m_f->content()->document(), boldWord).fontWeight(), int(QFont::Bold));
    }
    m_f->window->cmdSaveChanges_Click();
    m_f->click(m_f->node(0, 1));
    m_f->click(m_f->node(0, 0));
    QCOMPARE(m_f->content()->toPlainText(), shown);
}

void tst_section_workspace::copyActions()
{
    // Nothing selected: both copies have an empty source and do nothing.
    setClipboardText(QStringLiteral("sentinel"));
    m_f->clickControl("lblCopy");
    m_f->clickControl("lblCopyContent");
    QCOMPARE(clipboardText(), QStringLiteral("sentinel"));
    QVERIFY(m_f->boxes.shown.isEmpty());

    m_f->click(m_f->node(0, 0));
    m_f->clickControl("lblCopyContent");
    QCOMPARE(clipboardText(), QStringLiteral("sentinel"));
    QVERIFY(m_f->boxes.shown.isEmpty());

    m_f->clickControl("lblCopy");
    QCOMPARE(clipboardText(), m_f->prompt()->text());
    QCOMPARE(clipboardFormats(), QStringList{QStringLiteral("text/plain")});
    QCOMPARE(m_f->boxes.shown.size(), 1);
    QCOMPARE(m_f->boxes.shown.last().text, QStringLiteral("Done. Info copied to clipboard."));
    QCOMPARE(m_f->boxes.shown.last().title, QStringLiteral("Done"));
    QCOMPARE(m_f->boxes.shown.last().icon, MessageIcon::Information);

    // Formatted content with a list: the copy is the plain text the export takes from the file.
    QTextCursor cursor(m_f->content()->document());
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    cursor.insertText(QStringLiteral("Intro \u00e9"), bold);
    cursor.insertBlock();
    cursor.createList(QTextListFormat::ListDecimal);
    cursor.insertText(QStringLiteral("one"));
    cursor.insertBlock();
    cursor.insertText(QStringLiteral("two"));
    m_f->clickControl("lblCopyContent");
    QCOMPARE(m_f->boxes.shown.size(), 2);
    QCOMPARE(m_f->boxes.shown.last().text, QStringLiteral("Done. Content copied to clipboard."));
    QCOMPARE(m_f->boxes.shown.last().title, QStringLiteral("Done"));
    QCOMPARE(clipboardFormats(), QStringList{QStringLiteral("text/plain")});
    const QString copied = clipboardText();
    QVERIFY(copied.startsWith(QStringLiteral("Intro \u00e9\r\n")));
    QVERIFY(copied.contains(QStringLiteral("one\r\n")));

    m_f->window->cmdSaveChanges_Click();
    const BookText book = buildBookText(m_project + QStringLiteral("/--toc.txt"), m_project);
    QVERIFY(book.ok());
    const QString separator(69, u'-');
    QVERIFY(book.text.contains(QStringLiteral("Subchapter: Soil\r\n") + separator +
                               QStringLiteral("\r\n\r\n\r\n") + copied + QStringLiteral("\r\n\r\n")));
}

void tst_section_workspace::keyboard()
{
    OutlineTree* tree = m_f->tree();
    tree->setFocus();
    QTRY_VERIFY(tree->hasFocus());
    // Gaining the focus chooses nothing.
    QVERIFY(!tree->currentItem());
    QCOMPARE(m_f->caption("lblSelectedItem"), QString());

    QTest::keyClick(tree, Qt::Key_Down);
    QCOMPARE(tree->currentItem(), m_f->node(0));
    QVERIFY(m_f->node(0)->isSelected());
    QCOMPARE(m_f->caption("lblSelectedItem"), kPlaceholder);

    QTest::keyClick(tree, Qt::Key_Right);
    QVERIFY(m_f->node(0)->isExpanded());
    QCOMPARE(tree->currentItem(), m_f->node(0));
    QTest::keyClick(tree, Qt::Key_Down);
    QCOMPARE(m_f->caption("lblSelectedItem"), QStringLiteral("Soil\r"));
    QVERIFY(!m_f->prompt()->text().isEmpty());
    QVERIFY(m_f->content()->isEnabled());

    QTest::keyClick(tree, Qt::Key_End);
    QCOMPARE(tree->currentItem(), m_f->node(2));
    QCOMPARE(m_f->caption("lblSelectedItem"), kPlaceholder);
    QTest::keyClick(tree, Qt::Key_Home);
    QCOMPARE(tree->currentItem(), m_f->node(0));
    QTest::keyClick(tree, Qt::Key_Left);
    QVERIFY(!m_f->node(0)->isExpanded());

    // Type-ahead ignores the blank the chapter titles begin with.
    QTest::keyClicks(tree, QStringLiteral("gr"));
    QCOMPARE(tree->currentItem(), m_f->node(1));
    QTest::qWait(QApplication::keyboardInputInterval() + 50);
    QTest::keyClick(tree, Qt::Key_Right);
    QTest::keyClicks(tree, QStringLiteral("s"));
    QCOMPARE(tree->currentItem(), m_f->node(1, 0));
    QCOMPARE(m_f->caption("lblSelectedItem"), QStringLiteral("Seeds\r"));

    // In the editor: Tab inserts a tab, Ctrl+B/I/U format the selection and count as edits.
    m_f->content()->setFocus();
    QTRY_VERIFY(m_f->content()->hasFocus());
    QTest::keyClicks(m_f->content(), QStringLiteral("ab"));
    QTest::keyClick(m_f->content(), Qt::Key_Tab);
    QCOMPARE(m_f->content()->toPlainText(), QStringLiteral("ab\t"));
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(m_f->content()));
    m_f->window->cmdSaveChanges_Click();
    QVERIFY(!m_f->saveShown());
    QTest::keySequence(m_f->content(), QKeySequence::SelectAll);
    QTest::keyClick(m_f->content(), Qt::Key_B, Qt::ControlModifier);
    QTest::keyClick(m_f->content(), Qt::Key_I, Qt::ControlModifier);
    QTest::keyClick(m_f->content(), Qt::Key_U, Qt::ControlModifier);
    QVERIFY(m_f->saveShown());
    const QTextCharFormat format = formatOf(m_f->content()->document(), QStringLiteral("ab"));
    QCOMPARE(format.fontWeight(), int(QFont::Bold));
    QVERIFY(format.fontItalic());
    QVERIFY(format.fontUnderline());
    QTest::keyClick(m_f->content(), Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(!formatOf(m_f->content()->document(), QStringLiteral("ab")).fontUnderline());
}

void tst_section_workspace::editorClipboardKeepsFormattingAndPictures()
{
    m_f->click(m_f->node(0, 0));
    RichTextBox* box = m_f->content();
    box->setFocus();
    QTextCursor cursor(box->document());
    cursor.insertText(QStringLiteral("plain "));
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    cursor.insertText(QStringLiteral("strong"), bold);

    box->setTextCursor(box->document()->find(QStringLiteral("strong")));
    QTest::keySequence(box, QKeySequence::Copy);
    QVERIFY(clipboardFormats().contains(QStringLiteral("text/rtf")));
    QCOMPARE(clipboardText(), QStringLiteral("strong"));
    box->moveCursor(QTextCursor::End);
    QTest::keySequence(box, QKeySequence::Paste);
    QCOMPARE(box->toPlainText(), QStringLiteral("plain strongstrong"));
    QTextCursor second = box->document()->find(QStringLiteral("strong"), 10);
    QCOMPARE(second.charFormat().fontWeight(), int(QFont::Bold));

    // A picture from another program is taken in, saved and read back.
    QImage picture(8, 6, QImage::Format_RGB32);
    picture.fill(QColor(0, 128, 0));
    auto* data = new QMimeData;
    data->setImageData(picture);
    QGuiApplication::clipboard()->setMimeData(data);
    QTest::keySequence(box, QKeySequence::Paste);
    QTest::keySequence(box, QKeySequence::Save);
    QVERIFY(!m_f->saveShown());
    QVERIFY(m_f->boxes.shown.isEmpty());

    m_f->click(m_f->node(0, 1));
    m_f->click(m_f->node(0, 0));
    QTextDocument* document = m_f->content()->document();
    QString pictureName;
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            if (it.fragment().charFormat().isImageFormat()) {
                pictureName = it.fragment().charFormat().toImageFormat().name();
            }
        }
    }
    QVERIFY(!pictureName.isEmpty());
    const QImage reloaded =
        qvariant_cast<QImage>(document->resource(QTextDocument::ImageResource, QUrl(pictureName)));
    QCOMPARE(reloaded.size(), QSize(8, 6));
    QCOMPARE(QColor(reloaded.pixel(3, 3)), QColor(0, 128, 0));
}

void tst_section_workspace::existingContentFile_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("readable");
    QTest::addColumn<QString>("shown");

    QTest::newRow("not rtf") << QByteArray("just words, no rtf") << false << QString();
    QTest::newRow("binary garbage") << QByteArray("\x00\xff\x01{\\rtf", 8) << false << QString();
    QTest::newRow("empty file") << QByteArray() << true << QString();
    QTest::newRow("truncated rtf") << QByteArray("{\\rtf1\\ansi Half a sent") << true
                                   << QStringLiteral("Half a sent");
    QTest::newRow("large binary garbage") << garbage(256 * 1024, 3) << false << QString();
    QTest::newRow("10000-level nesting")
        << "{\\rtf1 " + QByteArray(10000, '{') + "Deep" + QByteArray(10000, '}') + " end}" << true
        << QStringLiteral("Deep end");
    QTest::newRow("NUL bytes inside rtf")
        << "{\\rtf1 A" + QByteArray(4096, '\0') + "B}" << true << QStringLiteral("AB");
    QTest::newRow("512 KB word") << "{\\rtf1 " + QByteArray(1 << 19, 'w') + "}" << true
                                 << QString(1 << 19, u'w');
}

void tst_section_workspace::existingContentFile()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, readable);
    QFETCH(QString, shown);

    const QString path = m_project + QStringLiteral("/the-basics---soil.txt");
    QVERIFY(writeFile(path, bytes));
    QElapsedTimer opening;
    opening.start();
    m_f->click(m_f->node(0, 0));
    // Shown without freezing the window, however the content is laid out.
    QVERIFY2(opening.elapsed() < timeBudgetMs(2000),
             qPrintable(QStringLiteral("opening took %1 ms").arg(opening.elapsed())));
    QCOMPARE(OutlineTree::image(m_f->node(0, 0)), 3);
    QCOMPARE(m_f->content()->isEnabled(), readable);
    QCOMPARE(m_f->content()->toPlainText(), shown);
    QVERIFY(!m_f->saveShown());
    if (readable) {
        QVERIFY(m_f->boxes.shown.isEmpty());
        QTest::keyClicks(m_f->content(), QStringLiteral("+"));
        QVERIFY(m_f->saveShown());
        return;
    }
    QCOMPARE(m_f->boxes.shown.size(), 1);
    QCOMPARE(m_f->boxes.shown.first().title, QStringLiteral("Error"));
    QCOMPARE(m_f->boxes.shown.first().icon, MessageIcon::Exclamation);
    QVERIFY(m_f->boxes.shown.first().text.startsWith(
        QStringLiteral("The content of this section could not be read.")));
    // Nothing the user could not see can be written over it.
    setClipboardText(QStringLiteral("replacement"));
    m_f->clickControl("lblPaste");
    m_f->window->cmdSaveChanges_Click();
    QCOMPARE(readFile(path), bytes);
}

void tst_section_workspace::saveFailures_data()
{
    QTest::addColumn<QString>("fault");
    QTest::newRow("read-only content file") << QStringLiteral("read-only");
    QTest::newRow("project folder deleted while open") << QStringLiteral("deleted");
    QTest::newRow("file-size limit as a full disk") << QStringLiteral("limit");
}

void tst_section_workspace::saveFailures()
{
    QFETCH(QString, fault);
    const QString path = m_project + QStringLiteral("/the-basics---soil.txt");
    const QByteArray old = "{\\rtf1 Old words\\par}";
    QVERIFY(writeFile(path, old));
    m_f->click(m_f->node(0, 0));
    QString big;
    for (int i = 0; i < 2000; ++i) {
        big += QStringLiteral("A long paragraph of new content number %1.\n").arg(i);
    }
    setClipboardText(big);
    m_f->clickControl("lblPaste");
    QVERIFY(m_f->saveShown());

    std::optional<FileSizeLimit> limit;
    if (fault == QStringLiteral("read-only")) {
        QVERIFY(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadGroup |
                                                QFileDevice::ReadOther));
    } else if (fault == QStringLiteral("deleted")) {
        QVERIFY(QDir(m_project).removeRecursively());
    } else {
        limit.emplace(16 * 1024);
    }
    m_f->window->cmdSaveChanges_Click();
    limit.reset();

    QCOMPARE(m_f->boxes.shown.size(), 1);
    const Message& message = m_f->boxes.shown.first();
    QCOMPARE(message.title, QStringLiteral("Error"));
    QCOMPARE(message.icon, MessageIcon::Exclamation);
    QVERIFY2(message.text.startsWith(QStringLiteral("The section could not be saved.\n\nSoil\n\n")),
             qPrintable(message.text));
    QVERIFY(message.text.size() > QStringLiteral("The section could not be saved.\n\nSoil\n\n").size());
    QVERIFY(m_f->saveShown());
    QCOMPARE(m_f->content()->toPlainText(), big);
    if (fault == QStringLiteral("deleted")) {
        QVERIFY(!QFileInfo::exists(m_project));
    } else {
        QCOMPARE(readFile(path), old);
        QCOMPARE(QDir(m_project).entryList(QDir::Files | QDir::Hidden).size(), 3);
    }
}

void tst_section_workspace::killedSaveLeavesTheOldFile()
{
    const QString path = m_project + QStringLiteral("/the-basics---soil.txt");
    const QByteArray old = "{\\rtf1 Old words\\par}";
    QVERIFY(writeFile(path, old));

    for (const qint64 killAfter : {qint64(1), qint64(64 * 1024), qint64(512 * 1024)}) {
        QProcess helper;
        helper.start(QStringLiteral(SAVE_KILL_HELPER),
                     {m_f->program.path(), m_project, QString::number(killAfter)});
        QVERIFY(helper.waitForFinished(60000));
        QCOMPARE(helper.exitStatus(), QProcess::CrashExit);
        QCOMPARE(readFile(path), old);
    }

    QProcess helper;
    helper.start(QStringLiteral(SAVE_KILL_HELPER), {m_f->program.path(), m_project, QStringLiteral("-1")});
    QVERIFY(helper.waitForFinished(60000));
    QCOMPARE(helper.exitStatus(), QProcess::NormalExit);
    QCOMPARE(helper.exitCode(), 0);
    const QString saved = plainTextOfFile(path);
    QVERIFY(saved.startsWith(QStringLiteral("Paragraph 0 of the new content")));
    QVERIFY(saved.contains(QStringLiteral("Paragraph 19999 of the new content")));
}

void tst_section_workspace::hostileTitles_data()
{
    QTest::addColumn<QByteArray>("toc");
    QTest::addColumn<QString>("fileName"); // empty: the save must be refused with a message

    const QString slash = QString(QChar(kSlashStandIn));
    QTest::newRow("section title ..") << QByteArray("Chapter: Dots\r\nSubchapter: ..\r\n") << "dots---...txt";
    QTest::newRow("section title climbing out with ../")
        << QByteArray("Chapter: Dots\r\nSubchapter: ../../../outside\r\n")
        << "dots---.." + slash + ".." + slash + ".." + slash + "outside.txt";
    QTest::newRow("chapter title with a leading dot")
        << QByteArray("Chapter: .hidden\r\nSubchapter: A\r\n") << ".hidden---a.txt";
    QTest::newRow("chapter title as an absolute path")
        << QByteArray("Chapter: /tmp\r\nSubchapter: x\r\n") << slash + "tmp---x.txt";
    QTest::newRow("control characters in a title")
        << QByteArray("Chapter: C\r\nSubchapter: Bell\x07 Esc\x1b Del\x7f\r\n")
        << "c---bell\x07-esc\x1b-del\x7f.txt";
    QTest::newRow("file name at the 255-byte limit")
        << "Chapter: A\r\nSubchapter: " + QByteArray(247, 'l') + "\r\n"
        << "a---" + QString(247, u'l') + ".txt";
    QTest::newRow("file name one byte over the limit")
        << "Chapter: A\r\nSubchapter: " + QByteArray(248, 'l') + "\r\n"
        << QString();
    QTest::newRow("very long title of multi-byte characters")
        << "Chapter: A\r\nSubchapter: " + QString(200, QChar(0xE9)).toUtf8() + "\r\n"
        << QString();
    QTest::newRow("NUL byte in a title") << "Chapter: A\r\nSubchapter: B" + QByteArray(1, '\0') + "C\r\n"
                                         << QString();
}

void tst_section_workspace::hostileTitles()
{
    QFETCH(QByteArray, toc);
    QFETCH(QString, fileName);
    const QString project = m_f->program.makeProject(QStringLiteral("Hostile"), toc, "Topic\r\n");
    m_f->window->LoadProject(project);
    QVERIFY(m_f->boxes.shown.isEmpty());
    QCOMPARE(m_f->tree()->topLevelItemCount(), 1);
    const QStringList before = treeListing(m_f->program.path());

    m_f->click(m_f->node(0, 0));
    setClipboardText(QStringLiteral("Hostile words"));
    m_f->clickControl("lblPaste");
    m_f->clickControl("cmdSaveChanges");

    QStringList expected = before;
    if (fileName.isEmpty()) {
        // Refused with the reason; the edits stay and stay marked as unsaved.
        QCOMPARE(m_f->boxes.shown.size(), 1);
        QVERIFY2(m_f->boxes.shown.first().text.startsWith(QStringLiteral("The section could not be saved.")),
                 qPrintable(m_f->boxes.shown.first().text));
        QVERIFY(m_f->saveShown());
    } else {
        QVERIFY2(m_f->boxes.shown.isEmpty(), qPrintable(m_f->boxes.shown.value(0).text));
        QCOMPARE(plainTextOfFile(project + u'/' + fileName), QStringLiteral("Hostile words"));
        expected.append(QStringLiteral("projects/Hostile/") + fileName);
        expected.sort();
        // The saved file is found again: by the outline icon, on reopening and by the export.
        m_f->window->LoadProject(project);
        QCOMPARE(OutlineTree::image(m_f->node(0, 0)), 3);
        m_f->click(m_f->node(0, 0));
        QCOMPARE(m_f->content()->toPlainText(), QStringLiteral("Hostile words"));
        m_f->clickControl("cmdCopyEverything");
        QVERIFY(clipboardText().contains(QStringLiteral("Hostile words")));
    }
    // Nothing written anywhere but the section's own file inside the project folder.
    QCOMPARE(treeListing(m_f->program.path()), expected);
}

void tst_section_workspace::exportToClipboard()
{
    // No project open: nothing happens.
    {
        MainWindowFixture empty;
        setClipboardText(QStringLiteral("sentinel"));
        empty.clickControl("cmdCopyEverything");
        QVERIFY(empty.boxes.shown.isEmpty());
        QCOMPARE(clipboardText(), QStringLiteral("sentinel"));
    }

    const QString folder = m_f->program.makeProject(
        QStringLiteral("Example"), "Chapter: One\r\nSubchapter: A\r\nSubchapter: B\r\n", "T\r\n");
    m_f->window->LoadProject(folder);
    m_f->click(m_f->node(0, 0));
    setClipboardText(QStringLiteral("Hello"));
    m_f->clickControl("lblPaste");
    m_f->clickControl("cmdSaveChanges");
    QVERIFY(m_f->boxes.shown.isEmpty());

    m_f->clickControl("cmdCopyEverything");
    const QString separator(69, u'-');
    const QString expected = QStringLiteral("\r\nChapter: One\r\n") + separator +
                             QStringLiteral("\r\n\r\n\r\n") + QStringLiteral("\r\nSubchapter: A\r\n") +
                             separator + QStringLiteral("\r\n\r\n\r\n") + QStringLiteral("Hello\r\n\r\n") +
                             QStringLiteral("\r\nSubchapter: B\r\n") + separator +
                             QStringLiteral("\r\n\r\n\r\n");
    QCOMPARE(clipboardText(), expected);
    QCOMPARE(clipboardFormats(), QStringList{QStringLiteral("text/plain")});
    QCOMPARE(m_f->boxes.shown.size(), 1);
    QCOMPARE(m_f->boxes.shown.last().text, QStringLiteral("Done. Project copied to clipboard."));
    QCOMPARE(m_f->boxes.shown.last().title, QStringLiteral("Done"));
    QCOMPARE(m_f->boxes.shown.last().icon, MessageIcon::Information);

    QVERIFY(QFile::remove(folder + QStringLiteral("/--toc.txt")));
    m_f->clickControl("cmdCopyEverything");
    QCOMPARE(m_f->boxes.shown.size(), 2);
    QCOMPARE(m_f->boxes.shown.last().text, QStringLiteral("Error: The active project has been damaged."));
    QCOMPARE(m_f->boxes.shown.last().title, QStringLiteral("Error"));
    QCOMPARE(m_f->boxes.shown.last().icon, MessageIcon::Exclamation);
    QVERIFY(clipboardText().isEmpty());
}

QTEST_MAIN(tst_section_workspace)
#include "tst_section_workspace.moc"
