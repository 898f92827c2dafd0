// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "manager/frm_new.h"
#include "manager_fixture.h"
#include "widgets/exact_text.h"
#include "widgets/link_label.h"

#include <QClipboard>
#include <QFrame>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace folioneer;
using namespace folioneer::test;

// The creation panel: the table-of-contents prompt built from its template, the Copy and Paste
// Results links, and Create Project with its checks, files and messages.
class tst_manager_create : public QObject {
    Q_OBJECT

private:
    static QString prompt(ManagerFixture& f) { return f.control<ExactTextEdit>("txtPrompt")->text(); }

    // Fills the inputs; the table of contents arrives through the clipboard and Paste Results.
    static void fill(ManagerFixture& f, const QString& topic, const QString& toc, const QString& name)
    {
        f.control<QLineEdit>("txtMainTopic")->setText(topic);
        QGuiApplication::clipboard()->setText(toc);
        QTest::mouseClick(f.control<LinkLabel>("lblPaste"), Qt::LeftButton);
        f.control<QLineEdit>("txtProjectName")->setText(name);
    }

private slots:
    void init() { QGuiApplication::clipboard()->clear(); }

    void promptFollowsEveryKeystroke()
    {
        ManagerFixture f;
        f.open();
        auto* topic = f.control<QLineEdit>("txtMainTopic");
        const QString word = QStringLiteral("Gardening");
        for (int i = 0; i < word.size(); ++i) {
            // The template changes on disk before each keystroke: each rebuild reads it again.
            f.write(QStringLiteral("templates/prompt.txt"), "v" + QByteArray::number(i) + " #TOPIC#\r\n");
            QTest::keyClick(topic, word.at(i).toLatin1());
            QCOMPARE(prompt(f), QStringLiteral("v%1 %2\r\n").arg(i).arg(word.left(i + 1)));
        }
        topic->selectAll();
        QTest::keyClick(topic, Qt::Key_Delete);
        QCOMPARE(prompt(f), QString());
    }

    void promptFromTemplate_data()
    {
        QTest::addColumn<QByteArray>("templateText");
        QTest::addColumn<QByteArray>("overrideText"); // empty: no override file
        QTest::addColumn<QString>("topic");
        QTest::addColumn<QString>("expected");

        QTest::newRow("no placeholder") << QByteArray("Fixed text") << QByteArray() << "Bees"
                                        << "Fixed text";
        QTest::newRow("placeholder twice") << QByteArray("#TOPIC# and #TOPIC#.") << QByteArray() << "Bees"
                                           << "Bees and Bees.";
        QTest::newRow("blank topic used as typed") << QByteArray("[#TOPIC#]") << QByteArray() << "  "
                                                   << "[  ]";
        QTest::newRow("lower-case placeholder left") << QByteArray("#topic# #TOPIC#") << QByteArray() << "x"
                                                     << "#topic# x";
        QTest::newRow("override present")
            << QByteArray("T #TOPIC#") << QByteArray("Override #TOPIC#\r\n") << "Bees"
            << "Override Bees\r\n";
    }
    void promptFromTemplate()
    {
        QFETCH(QByteArray, templateText);
        QFETCH(QByteArray, overrideText);
        QFETCH(QString, topic);
        QFETCH(QString, expected);
        ManagerFixture f;
        f.write(QStringLiteral("templates/prompt.txt"), templateText);
        if (!overrideText.isEmpty()) {
            f.write(QStringLiteral("prompt.txt"), overrideText);
        }
        f.open();
        QTest::keyClicks(f.control<QLineEdit>("txtMainTopic"), topic);
        QCOMPARE(prompt(f), expected);
    }

    void promptLeftAloneUnderSequelPanel()
    {
        ManagerFixture f;
        f.write(QStringLiteral("templates/prompt.txt"), "T #TOPIC#");
        f.open();
        auto* topic = f.control<QLineEdit>("txtMainTopic");
        QTest::keyClicks(topic, QStringLiteral("a"));
        QTest::mouseClick(f.control<LinkLabel>("lblCreateFromPublicDomainTitles"), Qt::LeftButton);
        QVERIFY(!f.control<QFrame>("frPro")->isHidden());
        topic->setText(QStringLiteral("changed"));
        QCOMPARE(prompt(f), QStringLiteral("T a"));
    }

    void copyAndPaste()
    {
        ManagerFixture f;
        f.write(QStringLiteral("templates/prompt.txt"), "Line one\r\n#TOPIC#\u00a0end\r\n");
        f.open();
        auto* copy = f.control<LinkLabel>("lblCopyContent");

        // An empty prompt still "copies": the clipboard ends up empty, the message shows.
        QGuiApplication::clipboard()->setText(QStringLiteral("old"));
        QTest::mouseClick(copy, Qt::LeftButton);
        QCOMPARE(QGuiApplication::clipboard()->text(), QString());
        QCOMPARE(f.texts(), QStringList{"Done. Prompt copied to clipboard."});
        QCOMPARE(f.boxes.shown.last().title, QStringLiteral("Done"));

        QTest::keyClicks(f.control<QLineEdit>("txtMainTopic"), QStringLiteral("Bees"));
        QTest::mouseClick(copy, Qt::LeftButton);
        const QMimeData* data = QGuiApplication::clipboard()->mimeData();
        QCOMPARE(data->formats(), QStringList{"text/plain"});
        QCOMPARE(data->text(), QStringLiteral("Line one\r\nBees\u00a0end\r\n"));

        // Paste Results replaces the box with the clipboard text, unchanged; no text empties it.
        auto* paste = f.control<LinkLabel>("lblPaste");
        auto* results = f.control<ExactTextEdit>("txtResults");
        QGuiApplication::clipboard()->setText(QStringLiteral("first"));
        QTest::mouseClick(paste, Qt::LeftButton);
        QGuiApplication::clipboard()->setText(QStringLiteral("Chapter: A\r\n  Subchapter: B\r"));
        QTest::mouseClick(paste, Qt::LeftButton);
        QCOMPARE(results->text(), QStringLiteral("Chapter: A\r\n  Subchapter: B\r"));
        QGuiApplication::clipboard()->clear();
        QTest::mouseClick(paste, Qt::LeftButton);
        QCOMPARE(results->text(), QString());
        QCOMPARE(f.boxes.shown.size(), 2);
    }

    void refusedCreation_data()
    {
        QTest::addColumn<QString>("topic");
        QTest::addColumn<QString>("toc");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("title");

        const QString topicMissing = "Please enter your main topic.";
        const QString tocMissing = "Please enter the info required on step #3.";
        const QString nameMissing = "Please enter a name for this project.";
        const QString taken = "Folder exists. Please try with another project name (step #4)";
        const QString invalid =
            "Ooops, the project name is invalid. Please try with another name (step #4) and "
            "avoid strange characters.";
        QTest::newRow("all empty") << ""
                                   << ""
                                   << "" << topicMissing << "Missing Info";
        QTest::newRow("topic empty, rest given") << ""
                                                 << "Chapter: A"
                                                 << "N" << topicMissing << "Missing Info";
        QTest::newRow("toc empty") << "T"
                                   << ""
                                   << "N" << tocMissing << "Missing Info";
        QTest::newRow("name empty") << "T"
                                    << "Chapter: A"
                                    << "" << nameMissing << "Missing Info";
        QTest::newRow("taken by a folder") << "T"
                                           << "Chapter: A"
                                           << "Existing" << taken << "Folder exists";
        // Which names are refused is the project store's rule, tested there; here one name per
        // way the window is told: the name rule, a path out of the projects folder, a folder
        // that cannot be made.
        QTest::newRow("forbidden character") << "T"
                                             << "Chapter: A"
                                             << "a<b" << invalid << "Folder exists";
        QTest::newRow("path out of the projects folder") << "T"
                                                         << "Chapter: A"
                                                         << "Existing/../../x" << invalid << "Folder exists";
        QTest::newRow("projects folder missing") << "T"
                                                 << "Chapter: A"
                                                 << "*gone*" << invalid << "Folder exists";
    }
    void refusedCreation()
    {
        QFETCH(QString, topic);
        QFETCH(QString, toc);
        QFETCH(QString, name);
        QFETCH(QString, message);
        QFETCH(QString, title);
        ManagerFixture f;
        const QString existing = f.program.makeProject(QStringLiteral("Existing"), "Chapter: E\r\n", "E\r\n");
        f.write(QStringLiteral("projects/plain.txt"), "file");
        QVERIFY(QFile::link(f.file(QStringLiteral("outside")), f.projects() + QStringLiteral("/link")));
        if (name == QLatin1String("*gone*")) {
            QVERIFY(QDir(f.projects()).removeRecursively());
            name = QStringLiteral("Fresh");
        }
        const QStringList before = QDir(f.program.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
        f.open();
        f.control<QRadioButton>("optMenu_1")->click();
        fill(f, topic, toc, name);
        f.control<QPushButton>("cmdOk")->click();

        QCOMPARE(f.texts(), QStringList{message});
        QCOMPARE(f.boxes.shown.first().title, title);
        QCOMPARE(f.boxes.shown.first().icon, MessageIcon::Information);
        // Nothing made or changed, the window stays open with the inputs as they were.
        QCOMPARE(QDir(f.program.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
        if (QFileInfo::exists(f.projects())) {
            QCOMPARE(QDir(existing).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                     (QStringList{"--maintopic.txt", "--toc.txt"}));
            QCOMPARE(readFile(existing + QStringLiteral("/--toc.txt")), QByteArray("Chapter: E\r\n"));
        }
        QVERIFY(!QFileInfo::exists(f.file(QStringLiteral("outside"))));
        QVERIFY(!QFileInfo::exists(f.file(QStringLiteral("x"))));
        QVERIFY(f.window->isVisible());
        QVERIFY(f.loaded.isEmpty());
        QCOMPARE(f.control<QLineEdit>("txtProjectName")->text(), name);
        QCOMPARE(f.control<QLineEdit>("txtMainTopic")->text(), topic);
        QCOMPARE(f.control<ExactTextEdit>("txtResults")->text(), toc);
    }

    void createsProject_data()
    {
        QTest::addColumn<QString>("topic");
        QTest::addColumn<QString>("toc");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("tocBytes");

        QTest::newRow("LF pasted becomes CR LF")
            << "Bees"
            << "Chapter: One\nSubchapter: A\n"
            << "Bees" << QByteArray("Chapter: One\r\nSubchapter: A\r\n\r\n");
        QTest::newRow("UTF-8 text") << "Café – Ünïcode"
                                    << "Chapter: Crème brûlée"
                                    << "Crème"
                                    << QByteArray("Chapter: Cr\xC3\xA8me br\xC3\xBBl\xC3\xA9\x65\r\n");
        QTest::newRow("blank inputs pass") << " "
                                           << " "
                                           << " x" << QByteArray(" \r\n");
        QTest::newRow("no chapters still created") << "T"
                                                   << "Just some answer"
                                                   << "Plain" << QByteArray("Just some answer\r\n");
        QTest::newRow("sub-folder of a project") << "T"
                                                 << "Chapter: A"
                                                 << "Existing/Part two" << QByteArray("Chapter: A\r\n");
    }
    void createsProject()
    {
        QFETCH(QString, topic);
        QFETCH(QString, toc);
        QFETCH(QString, name);
        QFETCH(QByteArray, tocBytes);
        ManagerFixture f;
        f.program.makeProject(QStringLiteral("Existing"), "Chapter: E\r\n", "E\r\n");
        f.open();
        f.control<QRadioButton>("optMenu_1")->click();
        fill(f, topic, toc, name);
        f.control<QPushButton>("cmdOk")->click();

        const QString folder = f.projects() + QLatin1Char('/') + name;
        QCOMPARE(readFile(folder + QStringLiteral("/--maintopic.txt")), topic.toUtf8() + "\r\n");
        QCOMPARE(readFile(folder + QStringLiteral("/--toc.txt")), tocBytes);
        // The main window loads the project before the done message; then the window closes.
        QCOMPARE(f.texts(), (QStringList{"LoadProject", "Done! Project created."}));
        QCOMPARE(f.loaded, QStringList{folder});
        QCOMPARE(f.boxes.shown.last().title, QStringLiteral("Done"));
        QVERIFY(!f.window->isVisible());
    }

    void writeFailureLeavesNoFolder()
    {
        ManagerFixture f;
        // A folder path just short of the system's path limit: the folder can be made, but no
        // file inside it can be written.
        QString chain;
        while (f.projects().size() + chain.size() + 200 < 3900) {
            chain += QString(200, QLatin1Char('d')) + QLatin1Char('/');
        }
        QVERIFY(QDir().mkpath(f.projects() + QLatin1Char('/') + chain));
        const QString name = chain + QString(4090 - f.projects().size() - 1 - chain.size(), QLatin1Char('n'));
        QCOMPARE(f.projects().size() + 1 + name.size(), 4090);
        f.open();
        fill(f, QStringLiteral("Topic"), QStringLiteral("Chapter: A"), name);
        f.control<QPushButton>("cmdOk")->click();

        QCOMPARE(f.boxes.shown.size(), 1);
        QCOMPARE(f.boxes.shown.first().title, QStringLiteral("Error"));
        QCOMPARE(f.boxes.shown.first().icon, MessageIcon::Exclamation);
        QVERIFY(f.boxes.shown.first().text.startsWith(QStringLiteral("The project could not be created.")));
        QVERIFY(f.boxes.shown.first().text.size() > 40); // the reason follows
        QVERIFY(!QFileInfo::exists(f.projects() + QLatin1Char('/') + name));
        QVERIFY(f.loaded.isEmpty());
        QVERIFY(f.window->isVisible());
        QCOMPARE(f.control<QLineEdit>("txtProjectName")->text(), name);
    }
};

QTEST_MAIN(tst_manager_create)
#include "tst_manager_create.moc"
