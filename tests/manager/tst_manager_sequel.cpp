// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "manager/frm_new.h"
#include "manager/mod_prompts.h"
#include "manager_fixture.h"
#include "widgets/exact_text.h"
#include "widgets/link_label.h"

#include <QApplication>
#include <QComboBox>
#include <QFrame>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace folioneer;
using namespace folioneer::test;

// The sequel panel: the catalogue in the title selector and entry list, the sequel sentence and
// prompt, Use and Cancel, and a list fill that lets events run without coming to harm.
class tst_manager_sequel : public QObject {
    Q_OBJECT

private:
    // A program folder whose catalogue holds exactly the given files.
    static void catalogue(ManagerFixture& f, const QList<QPair<QString, QByteArray>>& files)
    {
        QTEST_ASSERT(QDir(f.file(QStringLiteral("prompts/0"))).removeRecursively());
        f.makeFolder(QStringLiteral("prompts/0"));
        for (const auto& [name, bytes] : files) {
            f.write(QStringLiteral("prompts/0/") + name, bytes);
        }
    }
    static QStringList items(QListWidget* list)
    {
        QStringList result;
        for (int i = 0; i < list->count(); ++i) {
            result.append(list->item(i)->text());
        }
        return result;
    }
    static QStringList titles(QComboBox* box)
    {
        QStringList result;
        for (int i = 0; i < box->count(); ++i) {
            result.append(box->itemText(i));
        }
        return result;
    }
    // Chooses a title as the user does: the selector's "activated", handled once events run.
    static void choose(ManagerFixture& f, int index)
    {
        auto* box = f.control<QComboBox>("cboSuboptions");
        box->setCurrentIndex(index);
        emit box->activated(index);
        QCoreApplication::processEvents();
        QTRY_VERIFY(box->isEnabled());
    }
    static void openPanel(ManagerFixture& f)
    {
        QTest::mouseClick(f.control<LinkLabel>("lblCreateFromPublicDomainTitles"), Qt::LeftButton);
        QTEST_ASSERT(!f.control<QFrame>("frPro")->isHidden());
    }

private slots:
    void catalogueLoad_data()
    {
        QTest::addColumn<QByteArray>("firstFile");
        QTest::addColumn<QStringList>("entries");

        QTest::newRow("CR LF, empty line, line of blanks")
            << QByteArray("1. One idea\r\n\r\n2. Two ideas\r\n   \r\n")
            << QStringList{"1. One idea", "2. Two ideas", "   "};
        QTest::newRow("LF line ends") << QByteArray("1. A\n2. B\n") << QStringList{"1. A", "2. B"};
        QTest::newRow("CR line ends") << QByteArray("1. A\r2. B") << QStringList{"1. A", "2. B"};
        QTest::newRow("Windows-1252") << QByteArray("1. Caf\xE9\r\n") << QStringList{"1. Café"};
        QTest::newRow("empty file") << QByteArray() << QStringList{};
    }
    void catalogueLoad()
    {
        QFETCH(QByteArray, firstFile);
        QFETCH(QStringList, entries);
        ManagerFixture f;
        catalogue(f, {{"Beta.txt", "1. b\r\n"}, {"alpha.txt", firstFile}, {"Gamma.txt", "1. g\r\n"}});
        f.open();
        auto* box = f.control<QComboBox>("cboSuboptions");
        QCOMPARE(titles(box), (QStringList{"alpha", "Beta", "Gamma"}));
        QCOMPARE(box->currentIndex(), 0);
        QVERIFY(!box->isEditable());
        QVERIFY(box->isEnabled());
        QCOMPARE(items(f.control<QListWidget>("lstPrompts")), entries);
        QVERIFY(f.boxes.shown.isEmpty());
    }

    void titleSelection()
    {
        ManagerFixture f;
        catalogue(f, {{"A.txt", "1. a\r\n"}, {"B.txt", "1. b1\r\n2. b2\r\n"}, {"Odd.txt.txt", "1. odd\r\n"}});
        f.open();
        auto* box = f.control<QComboBox>("cboSuboptions");
        auto* list = f.control<QListWidget>("lstPrompts");
        QCOMPARE(titles(box), (QStringList{"A", "B", "Odd"}));

        choose(f, 1);
        QCOMPARE(items(list), (QStringList{"1. b1", "2. b2"}));
        // Choosing the same title again reads its file again.
        f.write(QStringLiteral("prompts/0/B.txt"), "1. changed\r\n");
        choose(f, 1);
        QCOMPARE(items(list), QStringList{"1. changed"});
        // A title whose file went away empties the list, without a message.
        QVERIFY(QFile::remove(f.file(QStringLiteral("prompts/0/A.txt"))));
        choose(f, 0);
        QCOMPARE(items(list), QStringList{});
        // "Odd.txt.txt" is listed as "Odd" and reads "Odd.txt", which is not there.
        choose(f, 2);
        QCOMPARE(items(list), QStringList{});
        f.write(QStringLiteral("prompts/0/Odd.txt"), "1. single\r\n");
        choose(f, 2);
        QCOMPARE(items(list), QStringList{"1. single"});
        QVERIFY(f.boxes.shown.isEmpty());
    }

    void keyboardStepsThroughTitles()
    {
        ManagerFixture f;
        catalogue(f, {{"A.txt", "1. a\r\n"}, {"B.txt", "1. b\r\n"}, {"C.txt", "1. c\r\n"}});
        f.open();
        f.window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
        openPanel(f);
        auto* box = f.control<QComboBox>("cboSuboptions");
        auto* list = f.control<QListWidget>("lstPrompts");
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(box));
        QCOMPARE(items(list), QStringList{"1. a"});
        // Down, Down, Up as a keyboard user presses them, each to whatever holds the focus: every
        // key picks the next title, never an idea.
        const QList<QPair<Qt::Key, QString>> steps{
            {Qt::Key_Down, "1. b"}, {Qt::Key_Down, "1. c"}, {Qt::Key_Up, "1. b"}};
        for (const auto& [key, idea] : steps) {
            QTest::keyClick(QApplication::focusWidget(), key);
            QTRY_COMPARE(items(list), QStringList{idea});
            QTRY_VERIFY(box->isEnabled());
            QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(box));
            QVERIFY(list->selectedItems().isEmpty());
        }
        QCOMPARE(box->currentText(), QStringLiteral("B"));
        QVERIFY(f.control<ExactTextEdit>("txtSelectedPrompt")->text().isEmpty());
    }

    void noCatalogue_data()
    {
        QTest::addColumn<bool>("removeFolder");
        QTest::newRow("empty folder") << false;
        QTest::newRow("missing folder") << true;
    }
    void noCatalogue()
    {
        QFETCH(bool, removeFolder);
        ManagerFixture f;
        catalogue(f, {});
        if (removeFolder) {
            QVERIFY(QDir(f.file(QStringLiteral("prompts"))).removeRecursively());
        }
        f.open();
        openPanel(f);
        QCOMPARE(f.control<QComboBox>("cboSuboptions")->count(), 0);
        QCOMPARE(f.control<QListWidget>("lstPrompts")->count(), 0);
        f.control<QPushButton>("cmpPromptOk")->click();
        QCOMPARE(f.texts(), QStringList{"Please select an item."});
        QCOMPARE(f.boxes.shown.first().title, QStringLiteral("Required Info"));
        QVERIFY(!f.control<QFrame>("frPro")->isHidden());
    }

    void sequelSentence_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("idea");

        QTest::newRow("12. at the start") << "12. The heir returns"
                                          << "The heir returns";
        QTest::newRow("150. keeps its 1") << "150. Many years on"
                                          << "1Many years on";
        QTest::newRow("1815. ending a sentence") << "Born in 1815. Then war"
                                                 << "Born in 18Then war";
        QTest::newRow("1800. stays whole") << "Born in 1800. Then war"
                                           << "Born in 1800. Then war";
        QTest::newRow("no number") << "A quiet sequel"
                                   << "A quiet sequel";
    }
    void sequelSentence()
    {
        QFETCH(QString, entry);
        QFETCH(QString, idea);
        ManagerFixture f;
        catalogue(f, {{"Moby Dick.txt", "0. first\r\n" + entry.toUtf8() + "\r\n"}});
        f.write(QStringLiteral("templates/prompt-publicdomain.txt"), "Sequel: #TOPIC#\r\n");
        f.open();
        openPanel(f);
        auto* list = f.control<QListWidget>("lstPrompts");
        list->setFocus();
        // Keys move the choice: the first Down picks the first entry, the second the next.
        QTest::keyClick(list, Qt::Key_Down);
        QCOMPARE(list->currentRow(), 0);
        QCOMPARE(f.control<ExactTextEdit>("txtSelectedPrompt")->text(),
                 QStringLiteral("\"Moby Dick\". The sequel describes 0. first"));
        QTest::keyClick(list, Qt::Key_Down);
        QCOMPARE(list->currentRow(), 1);
        const QString sentence = QStringLiteral("\"Moby Dick\". The sequel describes ") + idea;
        QCOMPARE(f.control<ExactTextEdit>("txtSelectedPrompt")->text(), sentence);
        QCOMPARE(f.control<ExactTextEdit>("txtPrompt")->text(),
                 QStringLiteral("Sequel: ") + sentence + "\r\n");
    }

    void useAndCancel()
    {
        ManagerFixture f;
        catalogue(f, {{"Emma.txt", "1. A wedding\r\n2. A journey\r\n"}});
        f.write(QStringLiteral("templates/prompt.txt"), "TOC #TOPIC#");
        f.write(QStringLiteral("templates/prompt-publicdomain.txt"), "SEQ #TOPIC#");
        f.open();
        auto* topic = f.control<QLineEdit>("txtMainTopic");
        auto* prompt = f.control<ExactTextEdit>("txtPrompt");
        auto* sentence = f.control<ExactTextEdit>("txtSelectedPrompt");
        auto* list = f.control<QListWidget>("lstPrompts");
        auto* panel = f.control<QFrame>("frPro");
        topic->setText(QStringLiteral("Old"));

        // Use with an empty sentence: the message, and the panel stays. The controls it covers
        // take no keyboard input meanwhile.
        openPanel(f);
        QVERIFY(!topic->isEnabled());
        QVERIFY(!f.control<QWidget>("optMenu_0")->isEnabled());
        f.control<QPushButton>("cmpPromptOk")->click();
        QCOMPARE(f.texts(), QStringList{"Please select an item."});
        QVERIFY(!panel->isHidden());

        // A sentence typed by hand: Use sets the topic, the prompt stays as it was.
        sentence->setFocus();
        QTest::keyClicks(sentence, QStringLiteral("My own idea"));
        f.control<QPushButton>("cmpPromptOk")->click();
        QVERIFY(panel->isHidden());
        QVERIFY(topic->isEnabled());
        QCOMPARE(topic->text(), QStringLiteral("My own idea"));
        QCOMPARE(prompt->text(), QStringLiteral("TOC Old"));

        // Cancel after choosing an entry keeps the sequel prompt and the old topic.
        openPanel(f);
        list->setCurrentRow(1);
        QCOMPARE(prompt->text(), QStringLiteral("SEQ \"Emma\". The sequel describes A journey"));
        f.control<QPushButton>("cmdPromptCancel")->click();
        QVERIFY(panel->isHidden());
        QCOMPARE(topic->text(), QStringLiteral("My own idea"));
        QCOMPARE(prompt->text(), QStringLiteral("SEQ \"Emma\". The sequel describes A journey"));

        // Use hands the sentence over as the topic and keeps the sequel prompt, and reopening
        // the panel shows the last choice still there.
        openPanel(f);
        QCOMPARE(list->currentRow(), 1);
        list->setCurrentRow(0);
        f.control<QPushButton>("cmpPromptOk")->click();
        QCOMPARE(topic->text(), QStringLiteral("\"Emma\". The sequel describes A wedding"));
        QCOMPARE(prompt->text(), QStringLiteral("SEQ \"Emma\". The sequel describes A wedding"));

        // A later change of the topic rebuilds from the table-of-contents template.
        QTest::keyClicks(topic, QStringLiteral("!"));
        QCOMPARE(prompt->text(), QStringLiteral("TOC \"Emma\". The sequel describes A wedding!"));
        QCOMPARE(f.boxes.shown.size(), 1);
    }

    void overrideAppliesToBothTemplates()
    {
        ManagerFixture f;
        catalogue(f, {{"Emma.txt", "1. A wedding\r\n"}});
        f.write(QStringLiteral("prompt.txt"), "OVR #TOPIC#");
        f.open();
        f.control<QLineEdit>("txtMainTopic")->setText(QStringLiteral("Bees"));
        QCOMPARE(f.control<ExactTextEdit>("txtPrompt")->text(), QStringLiteral("OVR Bees"));
        openPanel(f);
        f.control<QListWidget>("lstPrompts")->setCurrentRow(0);
        QCOMPARE(f.control<ExactTextEdit>("txtPrompt")->text(),
                 QStringLiteral("OVR \"Emma\". The sequel describes A wedding"));
    }

    void eventsDuringTheFill_data()
    {
        QTest::addColumn<QString>("during");
        QTest::newRow("window closed") << "close";
        QTest::newRow("window destroyed") << "destroy";
        QTest::newRow("second title chosen") << "choose";
        QTest::newRow("entry clicked") << "click";
    }
    void eventsDuringTheFill()
    {
        QFETCH(QString, during);
        ManagerFixture f;
        QByteArray many;
        for (int i = 1; i <= 3000; ++i) {
            many += QByteArray::number(i % 100 + 1) + ". idea " + QByteArray::number(i) + "\r\n";
        }
        catalogue(f, {{"A.txt", "1. a\r\n"}, {"Big.txt", many}});
        f.open();
        QPointer<QComboBox> box = f.control<QComboBox>("cboSuboptions");
        QPointer<QListWidget> list = f.control<QListWidget>("lstPrompts");

        // Once the fill of the big title is under way, act as the user would between two lines.
        bool disabledDuringFill = false;
        bool acted = false;
        connect(list->model(), &QAbstractItemModel::rowsInserted, f.window.get(), [&] {
            if (acted || list->count() < 10) {
                return;
            }
            acted = true;
            disabledDuringFill = !box->isEnabled();
            QTimer::singleShot(0, [&] {
                if (during == QLatin1String("close")) {
                    f.window->close();
                } else if (during == QLatin1String("destroy")) {
                    f.window.reset();
                } else if (during == QLatin1String("choose")) {
                    emit box->activated(0);
                    emit box->activated(1);
                } else {
                    list->setCurrentRow(0);
                }
            });
        });
        box->setCurrentIndex(1);
        emit box->activated(1);
        QTRY_VERIFY(list.isNull() || box->isEnabled() || !f.window->isVisible());
        QTest::qWait(50);
        QVERIFY(disabledDuringFill);

        if (during == QLatin1String("destroy")) {
            QVERIFY(list.isNull());
        } else if (during == QLatin1String("close")) {
            QVERIFY(list->count() < 3000); // the fill stopped with the window
        } else {
            // No second fill ran inside the first: every entry once, in file order.
            QTRY_VERIFY(box->isEnabled());
            QCOMPARE(list->count(), 3000);
            QCOMPARE(list->item(2999)->text(), QStringLiteral("1. idea 3000"));
        }
    }

    void listFillerAlone()
    {
        QTemporaryDir dir;
        QVERIFY(writeFile(dir.filePath(QStringLiteral("t.txt")), "1. a\r\n\r\n2. b\n"));
        QListWidget list;
        list.addItem(QStringLiteral("kept"));
        QVERIFY(LoadPromptList(dir.filePath(QStringLiteral("t.txt")), &list));
        QCOMPARE(items(&list), (QStringList{"kept", "1. a", "2. b"}));
        QVERIFY(LoadPromptList(dir.filePath(QStringLiteral("missing.txt")), &list));
        QCOMPARE(list.count(), 3);
        QVERIFY(!LoadPromptList(dir.filePath(QStringLiteral("t.txt")), &list, [] { return true; }));
        QCOMPARE(list.count(), 3);
    }
};

QTEST_MAIN(tst_manager_sequel)
#include "tst_manager_sequel.moc"
