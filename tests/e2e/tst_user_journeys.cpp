// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "e2e/e2e_harness.h"

#include "app/frm_main1_design.h"
#include "manager/frm_new_design.h"
#include "rtf/rtf.h"
#include "widgets/layout_units.h"

#include <QDir>
#include <QTest>
#include <QTextCursor>
#include <QTextDocument>

#include <memory>

using namespace folioneer::e2e;

namespace {

// A control of a window's design table, inside a container whose top-left is given in window
// coordinates (twips).
struct Control {
    folioneer::TwipsRect rect;
    folioneer::TwipsPoint container{};
};

// The project manager. The creation and open panels both sit where the open panel is designed;
// the sequel panel covers the mode selector.
namespace manager = folioneer::managerDesign;
const Control kOptCreateProject{manager::optMenu_1};
const Control kLblCreateFromPublicDomainTitles{manager::lblCreateFromPublicDomainTitles,
                                               manager::kCreatePanelLoaded};
const Control kLblCopyPrompt{manager::lblCopyContent, manager::kCreatePanelLoaded};
const Control kLblPasteResults{manager::lblPaste, manager::kCreatePanelLoaded};
const Control kTxtProjectName{manager::txtProjectName, manager::kCreatePanelLoaded};
const Control kCmdOk{manager::cmdOk, manager::kCreatePanelLoaded};
const Control kLstProjects{manager::lstProjects, manager::kOpenPanelLoaded};
const Control kCmdLoadProject{manager::cmdLoadProject, manager::kOpenPanelLoaded};
const Control kCmdDeleteProject{manager::cmdDeleteProject, manager::kOpenPanelLoaded};
const Control kLstPrompts{manager::lstPrompts, manager::kSequelPanelLoaded};
const Control kCmpPromptOk{manager::cmpPromptOk, manager::kSequelPanelLoaded};

// The main window.
namespace mainWindow = folioneer::mainWindowDesign;
const Control kTreeView1{mainWindow::TreeView1};
const Control kCmdCopyEverything{mainWindow::cmdCopyEverything};
const Control kLblCopy{mainWindow::lblCopy, {mainWindow::Frame1.left, mainWindow::Frame1.top}};
const Control kLblCopyContent{mainWindow::lblCopyContent};
const Control kLblPaste{mainWindow::lblPaste};
const Control kCmdSaveChanges{mainWindow::cmdSaveChanges};
const Control kRichTextBox1{mainWindow::RichTextBox1};

// Journey a: a book on a typed topic. The AI tool's table of contents arrives as a browser copies
// it: a title line, an empty line, indented sections, LF line ends and no final line break.
const QByteArray kTopic = "Kitchen gardens: vegetables from a small plot, \xc3\xa0 la fran\xc3\xa7"
                          "aise";
const QString kBook = QStringLiteral("Kitchen Garden");
const QByteArray kToc = "Table of Contents: Kitchen Gardens\n\n"
                        "Chapter: Planning the Garden\n"
                        "    Subchapter: Reading Your Site\n"
                        "    Subchapter: Raised Beds\n"
                        "Chapter: Soil and Compost\n"
                        "    Subchapter: Testing Your Soil";
const QString kSiteFile = QStringLiteral("planning-the-garden---reading-your-site.txt");
const QString kSoilFile = QStringLiteral("soil-and-compost---testing-your-soil.txt");
// The answer for "Reading Your Site", as a word processor offers it.
const QByteArray kSiteRtf = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss Arial;}}"
                            "{\\colortbl;\\red0\\green0\\blue0;}\\pard\\f0\\fs22 Read the light before "
                            "you dig: \\b six hours of sun\\b0  make a bed \\'e0 l\\'e9gumes.\\par "
                            "Note where \\i frost\\i0  settles.\\par}";
const QString kSiteText = QStringLiteral("Read the light before you dig: six hours of sun make a bed "
                                         "\u00e0 l\u00e9gumes.\r\nNote where frost settles.");
const QString kSiteAddition = QStringLiteral(" Dig it over in autumn.");
// "Testing Your Soil" is typed, two paragraphs.
const QStringList kSoilTyped{QStringLiteral("Send a sample to a lab each spring."),
                             QStringLiteral("Aim for a pH near 6.5.")};
const QString kSoilText = QStringLiteral("Send a sample to a lab each spring.\r\nAim for a pH near 6.5.");

// Journey c: a sequel from the shipped catalogue, its answer copied on Windows (CR LF).
const QString kSequelTitle = QStringLiteral("Moby-Dick");
const QString kSequel = QStringLiteral("Rachel Voyage");
const QByteArray kSequelToc = "Chapter: The Rachel Sails On\r\n"
                              "Subchapter: A Captain Without a Son\r\n"
                              "Subchapter: Whispers Below Deck\r\n"
                              "Chapter: The Curse\r\n"
                              "Subchapter: St. Elmo's Fire\r\n";

const QByteArray kCrLf = "\r\n";

QByteArray withCrLf(QByteArray text)
{
    return text.replace("\r\n", "\n").replace("\n", "\r\n");
}

QByteArray filled(QByteArray templateBytes, const QByteArray& topic)
{
    return templateBytes.replace("#TOPIC#", topic);
}

// One heading block of the exported book.
QByteArray heading(const QByteArray& line)
{
    return kCrLf + line + kCrLf + QByteArray(69, '-') + kCrLf + kCrLf + kCrLf;
}

QByteArray content(const QString& text)
{
    return text.toUtf8() + kCrLf + kCrLf;
}

QByteArray gardenBook(const QString& siteText)
{
    return heading("Chapter: Planning the Garden") + heading("Subchapter: Reading Your Site") +
           content(siteText) + heading("Subchapter: Raised Beds") + heading("Chapter: Soil and Compost") +
           heading("Subchapter: Testing Your Soil") + content(kSoilText);
}

QByteArray sequelBook()
{
    return heading("Chapter: The Rachel Sails On") + heading("Subchapter: A Captain Without a Son") +
           heading("Subchapter: Whispers Below Deck") + heading("Chapter: The Curse") +
           heading("Subchapter: St. Elmo's Fire");
}

// Whether the words carry the formatting in the saved RTF document.
bool formatted(const QByteArray& rtf, const QString& words, bool bold, bool italic)
{
    QTextDocument document;
    folioneer::rtf::readRtf(rtf, document);
    const QTextCursor found = document.find(words);
    if (found.isNull()) {
        return false;
    }
    const QTextCharFormat format = found.charFormat();
    return (format.fontWeight() >= QFont::Bold) == bold && format.fontItalic() == italic;
}

} // namespace

// The program used as a person uses it, from the first start to the deletion of a book: four
// journeys, each in a program folder of its own that holds the books it starts from, each
// checked on the clipboard and on disk.
class TestUserJourneys : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void firstBookFromTopic();
    void reopenAndRevise();
    void sequelFromCatalogue();
    void deleteBook();

private:
    bool press(const WindowId& window, const Control& control);
    // Clicks the first row of a list or outline.
    bool pressFirstRow(const WindowId& window, const Control& control);
    // Clicks a copy link or button, answers its "Done" box and gives the clipboard (or why not).
    QByteArray copied(const WindowId& window, const Control& control);
    // Pastes the AI tool's answer into step 3 through the clipboard, names the project and
    // creates it; true once the project manager has closed.
    bool createProject(const WindowId& manager, const QByteArray& toc, const QString& name);
    // Starts the program, opens the first listed project and gives the main window.
    std::optional<WindowId> openFirstProject();
    // Chooses a section with the mouse and the keys: a click below the entries gives the outline
    // the focus (a click on an entry could make a double-click with the one before), Home goes to
    // the first chapter, the chapters before the wanted one are folded and passed, the wanted one
    // unfolded, then Down walks to the section.
    bool openSection(const WindowId& main, int chapter, int section);
    // Saves the garden book's section with "Save Changes" or Ctrl+S and waits for its file to
    // hold the text.
    bool saveAndWait(const WindowId& main, const QString& name, const QString& text, bool shortcut = false);
    bool closeProgram(const WindowId& main);

    // A project file's bytes; empty when it is missing.
    QByteArray file(const QString& project, const QString& name) const;
    // The plain text of a saved content file; empty when it is missing or not a whole RTF document.
    QString savedText(const QString& project, const QString& name) const;
    QStringList entries(const QString& folder) const;
    // The books as the journeys before leave them: the garden book with its two saved sections
    // (the site section formatted as pasted), and the sequel without content.
    void makeGardenBook();
    void makeSequelBook();

    std::unique_ptr<Session> m_s;
    QByteArray m_soilBytes;
};

void TestUserJourneys::init()
{
    m_s = std::make_unique<Session>();
    QVERIFY2(m_s->isValid(), qPrintable(m_s->lastError()));
    QVERIFY(entries(QStringLiteral("projects")).isEmpty());
}

void TestUserJourneys::cleanup()
{
    if (QTest::currentTestFailed()) {
        m_s->reportIfFailed();
    }
    m_s->stopProgram();
    m_s.reset();
}

void TestUserJourneys::makeGardenBook()
{
    m_s->makeProject(kBook, withCrLf(kToc) + kCrLf, kTopic + kCrLf);
    QTextDocument site;
    folioneer::rtf::readRtf(kSiteRtf, site);
    QTextDocument soil;
    soil.setPlainText(kSoilTyped.join(QLatin1Char('\n')));
    m_soilBytes = folioneer::rtf::writeRtf(soil);
    QVERIFY(m_s->writeProgramFile(QStringLiteral("projects/%1/%2").arg(kBook, kSiteFile),
                                  folioneer::rtf::writeRtf(site)));
    QVERIFY(m_s->writeProgramFile(QStringLiteral("projects/%1/%2").arg(kBook, kSoilFile), m_soilBytes));
}

void TestUserJourneys::makeSequelBook()
{
    m_s->makeProject(kSequel, kSequelToc + kCrLf, "\"" + kSequelTitle.toUtf8() + "\". The sequel\r\n");
}

bool TestUserJourneys::press(const WindowId& window, const Control& control)
{
    return m_s->clickTwips(window, control.rect, control.container);
}

bool TestUserJourneys::pressFirstRow(const WindowId& window, const Control& control)
{
    using folioneer::twipsToPixels;
    // Well inside the first row's text whatever the font's height.
    const QPoint row(twipsToPixels(control.container.x + control.rect.left) + 60,
                     twipsToPixels(control.container.y + control.rect.top) + 10);
    return m_s->click(window, row);
}

QByteArray TestUserJourneys::copied(const WindowId& window, const Control& control)
{
    if (!press(window, control) || !m_s->answerMessageBox(QStringLiteral("Done"))) {
        return "(nothing copied: " + m_s->lastError().toUtf8() + ")";
    }
    return m_s->clipboard().value_or("(empty clipboard)");
}

bool TestUserJourneys::createProject(const WindowId& manager, const QByteArray& toc, const QString& name)
{
    return m_s->setClipboard(toc) && press(manager, kLblPasteResults) && press(manager, kTxtProjectName) &&
           m_s->type(manager, name) && press(manager, kCmdOk) &&
           m_s->answerMessageBox(QStringLiteral("Done")) && m_s->waitForWindowGone(manager);
}

std::optional<WindowId> TestUserJourneys::openFirstProject()
{
    const auto main = m_s->startAndOpenFirstProject();
    return main ? std::optional<WindowId>(main->id) : std::nullopt;
}

bool TestUserJourneys::openSection(const WindowId& main, int chapter, int section)
{
    QStringList keys{QStringLiteral("Home")};
    for (int i = 0; i < chapter; ++i) {
        keys << QStringLiteral("KP_Subtract") << QStringLiteral("Down");
    }
    keys << QStringLiteral("KP_Add");
    for (int i = 0; i <= section; ++i) {
        keys << QStringLiteral("Down");
    }
    using folioneer::twipsToPixels;
    const QPoint belowEntries(twipsToPixels(kTreeView1.rect.left) + 60,
                              twipsToPixels(kTreeView1.rect.top + kTreeView1.rect.height) - 20);
    return m_s->click(main, belowEntries) && m_s->key(main, keys);
}

bool TestUserJourneys::saveAndWait(const WindowId& main, const QString& name, const QString& text,
                                   bool shortcut)
{
    const bool saved = shortcut ? m_s->key(main, {QStringLiteral("ctrl+s")}) : press(main, kCmdSaveChanges);
    return saved && waitUntil([&] { return savedText(kBook, name) == text; }, Session::kWindowTimeoutMs);
}

bool TestUserJourneys::closeProgram(const WindowId& main)
{
    return m_s->requestClose(main) && m_s->waitForProgramExit() == 0;
}

QByteArray TestUserJourneys::file(const QString& project, const QString& name) const
{
    return m_s->readProgramFile(QStringLiteral("projects/%1/%2").arg(project, name)).value_or(QByteArray());
}

QString TestUserJourneys::savedText(const QString& project, const QString& name) const
{
    const folioneer::rtf::PlainText plain = folioneer::rtf::plainTextFromRtf(file(project, name));
    return plain.status == folioneer::rtf::ReadStatus::Ok ? plain.text : QString();
}

QStringList TestUserJourneys::entries(const QString& folder) const
{
    return QDir(m_s->programFolder() + QLatin1Char('/') + folder)
        .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
}

void TestUserJourneys::firstBookFromTopic()
{
    QVERIFY2(m_s->startProgram(), qPrintable(m_s->lastError()));
    const auto manager = m_s->waitForWindow(kManagerTitle);
    QVERIFY2(manager, qPrintable(m_s->lastError()));

    // No project yet: the manager waits in Create Project with the focus on the main topic.
    QVERIFY(m_s->type(*manager, QString::fromUtf8(kTopic)));
    const auto templateBytes = m_s->readProgramFile(QStringLiteral("templates/prompt.txt"));
    QVERIFY(templateBytes && templateBytes->contains("#TOPIC#"));
    QCOMPARE(copied(*manager, kLblCopyPrompt), filled(*templateBytes, kTopic));
    QVERIFY2(createProject(*manager, kToc, kBook), qPrintable(m_s->lastError()));
    const auto main = m_s->waitForWindowMatching(kMainTitle);
    QVERIFY2(main, qPrintable(m_s->lastError()));
    const WindowId window = main->id;

    // "Reading Your Site": its prompt to the AI tool, then the answer pasted as RTF and saved.
    QVERIFY(openSection(window, 0, 0));
    QCOMPARE(copied(window, kLblCopy),
             "I'm creating a book for the following topic: " + kTopic +
                 "\r\n. I'm now working in the following chapter: \"Planning the Garden\r\" and i need "
                 "content for the following section of the chapter: \"Reading Your Site\r\".");
    QVERIFY(m_s->setClipboard(kSiteRtf));
    QVERIFY(press(window, kLblPaste));
    QVERIFY2(saveAndWait(window, kSiteFile, kSiteText), qPrintable(savedText(kBook, kSiteFile)));

    // "Testing Your Soil", in the second chapter: typed.
    QVERIFY(openSection(window, 1, 0));
    QVERIFY(press(window, kRichTextBox1));
    QVERIFY(m_s->type(window, kSoilTyped[0]));
    QVERIFY(m_s->key(window, {QStringLiteral("Return")}));
    QVERIFY(m_s->type(window, kSoilTyped[1]));
    QVERIFY2(saveAndWait(window, kSoilFile, kSoilText), qPrintable(savedText(kBook, kSoilFile)));

    QCOMPARE(copied(window, kCmdCopyEverything), gardenBook(kSiteText));
    QVERIFY(closeProgram(window));

    // On disk: the two project files as written at creation, and one RTF file per saved section.
    QCOMPARE(entries(QStringLiteral("projects")), QStringList{kBook});
    QCOMPARE(
        entries(QStringLiteral("projects/") + kBook),
        (QStringList{QStringLiteral("--maintopic.txt"), QStringLiteral("--toc.txt"), kSiteFile, kSoilFile}));
    QCOMPARE(file(kBook, QStringLiteral("--maintopic.txt")), kTopic + kCrLf);
    QCOMPARE(file(kBook, QStringLiteral("--toc.txt")), withCrLf(kToc) + kCrLf);
    QCOMPARE(savedText(kBook, kSiteFile), kSiteText);
    QVERIFY(formatted(file(kBook, kSiteFile), QStringLiteral("six hours of sun"), true, false));
    QVERIFY(formatted(file(kBook, kSiteFile), QStringLiteral("frost"), false, true));
    QCOMPARE(savedText(kBook, kSoilFile), kSoilText);
    m_soilBytes = file(kBook, kSoilFile);
}

void TestUserJourneys::reopenAndRevise()
{
    makeGardenBook();
    const QByteArray tocBefore = file(kBook, QStringLiteral("--toc.txt"));
    const QByteArray siteBefore = file(kBook, kSiteFile);
    const auto window = openFirstProject();
    QVERIFY2(window, qPrintable(m_s->lastError()));

    // The saved section comes back after the restart.
    QVERIFY(openSection(*window, 0, 0));
    QCOMPARE(copied(*window, kLblCopyContent), kSiteText.toUtf8());

    // An edit left unsaved is gone after switching to another section and back.
    QVERIFY(press(*window, kRichTextBox1));
    QVERIFY(m_s->key(*window, {QStringLiteral("ctrl+End")}));
    QVERIFY(m_s->type(*window, QStringLiteral(" Unsaved words.")));
    QCOMPARE(copied(*window, kLblCopyContent), kSiteText.toUtf8() + " Unsaved words.");
    QVERIFY(openSection(*window, 0, 1));
    QVERIFY(openSection(*window, 0, 0));
    QCOMPARE(copied(*window, kLblCopyContent), kSiteText.toUtf8());
    QCOMPARE(file(kBook, kSiteFile), siteBefore);

    // The same edit saved (with Ctrl+S) stays, across a switch and back, with the pasted formatting.
    const QString revised = kSiteText + kSiteAddition;
    QVERIFY(press(*window, kRichTextBox1));
    QVERIFY(m_s->key(*window, {QStringLiteral("ctrl+End")}));
    QVERIFY(m_s->type(*window, kSiteAddition));
    QVERIFY2(saveAndWait(*window, kSiteFile, revised, true), qPrintable(savedText(kBook, kSiteFile)));
    QVERIFY(openSection(*window, 1, 0));
    QVERIFY(openSection(*window, 0, 0));
    QCOMPARE(copied(*window, kLblCopyContent), revised.toUtf8());

    QCOMPARE(copied(*window, kCmdCopyEverything), gardenBook(revised));
    // Closing the program drops an unsaved edit without a question.
    QVERIFY(press(*window, kRichTextBox1));
    QVERIFY(m_s->type(*window, QStringLiteral("Not kept.")));
    QVERIFY(closeProgram(*window));

    // The saves over the site section's text kept its earlier versions in the hidden history.
    QCOMPARE(entries(QStringLiteral("projects/") + kBook),
             (QStringList{QStringLiteral("--maintopic.txt"), QStringLiteral("--toc.txt"),
                          QStringLiteral(".history"), kSiteFile, kSoilFile}));
    QCOMPARE(file(kBook, QStringLiteral("--toc.txt")), tocBefore);
    QCOMPARE(file(kBook, QStringLiteral("--maintopic.txt")), kTopic + kCrLf);
    QCOMPARE(file(kBook, kSoilFile), m_soilBytes);
    QCOMPARE(savedText(kBook, kSiteFile), revised);
    QVERIFY(formatted(file(kBook, kSiteFile), QStringLiteral("six hours of sun"), true, false));
    QVERIFY(formatted(file(kBook, kSiteFile), QStringLiteral("in autumn"), false, false));
}

void TestUserJourneys::sequelFromCatalogue()
{
    makeGardenBook();
    const auto ideas = m_s->readProgramFile(QStringLiteral("prompts/0/%1.txt").arg(kSequelTitle));
    const auto templateBytes = m_s->readProgramFile(QStringLiteral("templates/prompt-publicdomain.txt"));
    QVERIFY(ideas && templateBytes && templateBytes->contains("#TOPIC#"));
    const QByteArray secondIdea = ideas->split('\n').value(1).trimmed();
    QVERIFY2(secondIdea.startsWith("2. "), secondIdea.constData());
    const QByteArray sentence =
        "\"" + kSequelTitle.toUtf8() + "\". The sequel describes " + secondIdea.mid(3);

    QVERIFY2(m_s->startProgram(), qPrintable(m_s->lastError()));
    const auto manager = m_s->waitForWindow(kManagerTitle);
    QVERIFY2(manager, qPrintable(m_s->lastError()));
    // A project exists, so the manager opens in Open Project.
    QVERIFY(press(*manager, kOptCreateProject));
    QVERIFY(press(*manager, kLblCreateFromPublicDomainTitles));
    // The title selector has the focus: "m" picks the only title beginning so; then the first
    // idea is clicked and Down moves to the second.
    QVERIFY(m_s->key(*manager, {QStringLiteral("m")}));
    QVERIFY(pressFirstRow(*manager, kLstPrompts));
    QVERIFY(m_s->key(*manager, {QStringLiteral("Down")}));
    QVERIFY(press(*manager, kCmpPromptOk));
    QCOMPARE(copied(*manager, kLblCopyPrompt), filled(*templateBytes, sentence));
    QVERIFY2(createProject(*manager, kSequelToc, kSequel), qPrintable(m_s->lastError()));

    const auto main = m_s->waitForWindowMatching(kMainTitle);
    QVERIFY2(main, qPrintable(m_s->lastError()));
    QCOMPARE(copied(main->id, kCmdCopyEverything), sequelBook());
    QVERIFY(closeProgram(main->id));

    QCOMPARE(entries(QStringLiteral("projects")), (QStringList{kBook, kSequel}));
    QCOMPARE(entries(QStringLiteral("projects/") + kSequel),
             (QStringList{QStringLiteral("--maintopic.txt"), QStringLiteral("--toc.txt")}));
    QCOMPARE(file(kSequel, QStringLiteral("--maintopic.txt")), sentence + kCrLf);
    QCOMPARE(file(kSequel, QStringLiteral("--toc.txt")), kSequelToc + kCrLf);
    QCOMPARE(entries(QStringLiteral("projects/") + kBook).size(), 4);
}

void TestUserJourneys::deleteBook()
{
    makeGardenBook();
    makeSequelBook();
    QVERIFY2(m_s->startProgram(), qPrintable(m_s->lastError()));
    auto manager = m_s->waitForWindow(kManagerTitle);
    QVERIFY2(manager, qPrintable(m_s->lastError()));

    // The garden book is listed first (the list is alphabetical).
    QVERIFY(pressFirstRow(*manager, kLstProjects));
    QVERIFY(press(*manager, kCmdDeleteProject));
    QVERIFY2(m_s->answerMessageBox(QStringLiteral("Confirm"), QStringLiteral("y")),
             qPrintable(m_s->lastError()));
    QVERIFY2(m_s->answerMessageBox(QStringLiteral("Done")), qPrintable(m_s->lastError()));
    QCOMPARE(entries(QStringLiteral("projects")), QStringList{kSequel});
    QCOMPARE(entries(QStringLiteral("projects/") + kSequel).size(), 2);

    // The list was read again: its first entry is now the sequel, which opens.
    QVERIFY(m_s->isViewable(*manager));
    QVERIFY(pressFirstRow(*manager, kLstProjects));
    QVERIFY(press(*manager, kCmdLoadProject));
    QVERIFY(m_s->waitForWindowGone(*manager));
    const auto main = m_s->waitForWindowMatching(kMainTitle);
    QVERIFY2(main, qPrintable(m_s->lastError()));
    QCOMPARE(copied(main->id, kCmdCopyEverything), sequelBook());
    QVERIFY(closeProgram(main->id));
    QCOMPARE(entries(QStringLiteral("projects")), QStringList{kSequel});
}

QTEST_MAIN(TestUserJourneys)
#include "tst_user_journeys.moc"
