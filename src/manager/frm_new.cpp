// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "manager/frm_new.h"

#include "manager/book_backups.h"
#include "manager/frm_new_design.h"
#include "manager/mod_prompts.h"
#include "manager/results_paste.h"
#include "project/book_backup.h"
#include "project/program_paths.h"
#include "project/project_store.h"
#include "prompts/catalogue.h"
#include "prompts/prompt_texts.h"
#include "support/text_holder.h"
#include "support/trellis.h"
#include "widgets/exact_text.h"
#include "widgets/layout_units.h"
#include "widgets/link_label.h"
#include "widgets/message_boxes.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>

namespace folioneer {

namespace {

namespace design = managerDesign;

const QColor kWhite{0xFF, 0xFF, 0xFF};
const QColor kLightYellow{0xFF, 0xFF, 0xC0};
const QColor kLinkBlue{0x00, 0x00, 0xC0};
const QColor kDarkGreen{0x00, 0x40, 0x00};
const QColor kGrey{0x80, 0x80, 0x80};

template <typename Widget> Widget* named(Widget* widget, const char* name, const QRect& geometry)
{
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(geometry);
    return widget;
}

QLabel* makeLabel(QWidget* parent, const char* name, const QRect& geometry, const QString& caption,
                  const QFont& font)
{
    auto* label = named(new QLabel(caption, parent), name, geometry);
    label->setTextFormat(Qt::PlainText);
    label->setFont(font);
    return label;
}

LinkLabel* makeLink(QWidget* parent, const char* name, const QRect& geometry, const QString& caption,
                    const QFont& font)
{
    auto* link = named(new LinkLabel(caption, parent), name, geometry);
    link->setFont(font);
    return link;
}

// The window has no default button: Return in a single-line box must click nothing, so no
// button may become the default when it takes the focus either.
QPushButton* makeButton(QWidget* parent, const char* name, const QRect& geometry, const QString& caption)
{
    auto* button = named(new QPushButton(caption, parent), name, geometry);
    button->setFont(verdana(9, FontStyle::Bold));
    button->setAutoDefault(false);
    button->setDefault(false);
    return button;
}

QFrame* makePanel(QWidget* parent, const char* name, const QRect& geometry)
{
    auto* frame = named(new QFrame(parent), name, geometry);
    frame->setFrameShape(QFrame::NoFrame);
    return frame;
}

QWidget* makeBand(QWidget* parent, const char* name, const QRect& geometry)
{
    auto* band = named(new QWidget(parent), name, geometry);
    band->setAutoFillBackground(true);
    QPalette palette = band->palette();
    palette.setColor(QPalette::Window, kBandColour);
    band->setPalette(palette);
    return band;
}

void setColours(QWidget* widget, const QColor& text, const QColor& background = {})
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, text);
    palette.setColor(QPalette::Text, text);
    if (background.isValid()) {
        palette.setColor(QPalette::Window, background);
        palette.setColor(QPalette::Base, background);
        palette.setColor(QPalette::Button, background);
        widget->setAutoFillBackground(true);
    }
    widget->setPalette(palette);
}

} // namespace

frmNew::frmNew(const QString& programFolder, MessageBoxes& messageBoxes, LoadProjectCallback loadProject,
               QWidget* parent)
    : QDialog(parent), m_programFolder(programFolder), m_messageBoxes(messageBoxes),
      m_loadProject(std::move(loadProject))
{
    setObjectName(QStringLiteral("frmNew"));
    setWindowTitle(QStringLiteral("Project Manager"));
    setFixedSize(design::kClientPixels);
    setSizeGripEnabled(false);

    // Centred on the screen by the program itself: the window may be shown on an X server
    // without a window manager, and before the main window is mapped.
    centreOnScreen(*this, parent ? parent->screen() : QGuiApplication::primaryScreen());

    createControls();
    connectControls();
    Form_Load();
}

frmNew::~frmNew() = default;

void frmNew::createControls()
{
    const QFont plain = verdana(9.75);
    const QFont bold = verdana(9.75, FontStyle::Bold);

    // The controls are created in tab order: the main-topic box comes first among the inputs.
    Picture1 = makeBand(this, "Picture1",
                        QRect(0, 0, twipsToPixels(design::kPicture1Width), design::kClientPixels.height()));
    Label1 = makeLabel(Picture1, "Label1", twipsRect(design::Label1), QStringLiteral("Project Manager"),
                       verdana(12, FontStyle::Bold));
    setColours(Label1, kWhite);
    txtPromptTemplate = new TextHolder(this);
    txtPromptTemplate->setObjectName(QStringLiteral("txtPromptTemplate"));

    frNew = makePanel(this, "frNew", twipsRect(design::frNew));
    Label2 = makeLabel(frNew, "Label2", twipsRect(design::Label2),
                       QStringLiteral("Step 1: Enter Your Main Topic"), bold);
    lblCreateFromPublicDomainTitles = makeLink(
        frNew, "lblCreateFromPublicDomainTitles", twipsRect(design::lblCreateFromPublicDomainTitles),
        QStringLiteral("Create Sequel For Public Domain Title"), verdana(8.25, FontStyle::BoldUnderline));
    lblCreateFromPublicDomainTitles->setTextColour(kLinkBlue);
    txtMainTopic = named(new QLineEdit(frNew), "txtMainTopic", twipsRect(design::txtMainTopic));
    txtMainTopic->setFont(plain);
    Label3 = makeLabel(frNew, "Label3", twipsRect(design::Label3),
                       QStringLiteral("Step 2: Use the Following Prompt to Generate a Table of Contents and "
                                      "Paste it Inside Your A.I. Platform (ChatGPT etc):"),
                       bold);
    Label3->setWordWrap(true);
    lblCopyContent = makeLink(frNew, "lblCopyContent", twipsRect(design::lblCopyContent),
                              QStringLiteral("Copy"), verdana(9, FontStyle::Underline));
    txtPrompt = named(new ExactTextEdit(frNew), "txtPrompt", twipsRect(design::txtPrompt));
    txtPrompt->setFont(plain);
    Label4 =
        makeLabel(frNew, "Label4", twipsRect(design::Label4),
                  QStringLiteral("Step 3: Paste the Content That You Get From Your A.I. Tool Below"), bold);
    lblPaste = makeLink(frNew, "lblPaste", twipsRect(design::lblPaste), QStringLiteral("Paste Results"),
                        verdana(9, FontStyle::BoldUnderline));
    lblPaste->setTextColour(kDarkGreen);
    Label7 =
        makeLabel(frNew, "Label7", twipsRect(design::Label7),
                  QStringLiteral("Important: In ChatGPT, don't use the \"Copy\" link. Instead, select the "
                                 "generated Table of Contents and manually copy it to the clipboard. Please "
                                 "read the user manual for more details."),
                  verdana(9));
    Label7->setWordWrap(true);
    setColours(Label7, kGrey);
    txtResults = named(new ExactTextEdit(frNew), "txtResults", twipsRect(design::txtResults));
    txtResults->setFont(plain);
    lblOutlineConverted = makeLabel(
        frNew, "lblOutlineConverted", twipsRect(design::lblOutlineConverted),
        QStringLiteral("Converted to Chapter:/Subchapter: lines. Ctrl+Z shows the pasted text."), verdana(9));
    setColours(lblOutlineConverted, kGrey);
    lblOutlineConverted->hide();
    Label5 = makeLabel(frNew, "Label5", twipsRect(design::Label5),
                       QStringLiteral("Step 4: Enter a Name For This Project:"), bold);
    txtProjectName = named(new QLineEdit(frNew), "txtProjectName", twipsRect(design::txtProjectName));
    txtProjectName->setFont(plain);
    cmdOk = makeButton(frNew, "cmdOk", twipsRect(design::cmdOk), QStringLiteral("Create Project"));
    frNew->hide();

    const QFont optionFont = verdana(9.75, FontStyle::Bold);
    optMenu[0] = named(new QRadioButton(QStringLiteral("Open Project"), this), "optMenu_0",
                       twipsRect(design::optMenu_0));
    optMenu[1] = named(new QRadioButton(QStringLiteral("Create Project"), this), "optMenu_1",
                       twipsRect(design::optMenu_1));
    for (QRadioButton* option : optMenu) {
        option->setFont(optionFont);
    }
    optMenu[0]->setChecked(true);

    frLoad = makePanel(this, "frLoad", twipsRect(design::frLoad));
    Label6 = makeLabel(frLoad, "Label6", twipsRect(design::Label6), QStringLiteral("Your Projects:"), bold);
    lstProjects = named(new QListWidget(frLoad), "lstProjects", twipsRect(design::lstProjects));
    lstProjects->setFont(plain);
    lstProjects->setSelectionMode(QAbstractItemView::SingleSelection);
    cmdLoadProject = makeButton(frLoad, "cmdLoadProject", twipsRect(design::cmdLoadProject),
                                QStringLiteral("Load Project"));
    cmdDeleteProject = makeButton(frLoad, "cmdDeleteProject", twipsRect(design::cmdDeleteProject),
                                  QStringLiteral("Delete Project"));
    const QFont link = verdana(9, FontStyle::Underline);
    lblBackUpBook = makeLink(frLoad, "lblBackUpBook", twipsRect(design::lblBackUpBook),
                             QStringLiteral("Back Up Book…"), link);
    lblRestoreBook = makeLink(frLoad, "lblRestoreBook", twipsRect(design::lblRestoreBook),
                              QStringLiteral("Restore Book…"), link);
    lblDeletedBooks = makeLink(frLoad, "lblDeletedBooks", twipsRect(design::lblDeletedBooks),
                               QStringLiteral("Deleted Books…"), link);
    lblBackUpBook->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lblRestoreBook->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lblDeletedBooks->setAlignment(Qt::AlignCenter);

    // Created last so that it lies above the mode selector and both mode panels when shown.
    frPro = makePanel(this, "frPro", twipsRect(design::frPro));
    frPro->setAutoFillBackground(true);
    Picture2 = makeBand(frPro, "Picture2", twipsRect(design::Picture2));
    lblAppName =
        makeLabel(Picture2, "lblAppName", twipsRect(design::lblAppName),
                  QStringLiteral("Create Sequel For Public Domain Title"), verdana(12, FontStyle::Bold));
    setColours(lblAppName, kWhite);
    lblDone = makeLabel(Picture2, "lblDone", twipsRect(design::lblDone),
                        QStringLiteral("Done. Prompt Copied to Clipboard."), plain);
    setColours(lblDone, Qt::black, kLightYellow);
    lblDone->hide();
    Label8 = makeLabel(frPro, "Label8", twipsRect(design::Label8), QStringLiteral("Select Title:"), bold);
    cboSuboptions = named(new QComboBox(frPro), "cboSuboptions", twipsRect(design::cboSuboptions));
    cboSuboptions->setEditable(false);
    cboSuboptions->setFont(plain);
    setColours(cboSuboptions, Qt::black, kLightYellow);
    lstPrompts = named(new QListWidget(frPro), "lstPrompts", twipsRect(design::lstPrompts));
    lstPrompts->setFont(plain);
    lstPrompts->setSelectionMode(QAbstractItemView::SingleSelection);
    Label9 =
        makeLabel(frPro, "Label9", twipsRect(design::Label9), QStringLiteral("Create Sequel For:"), bold);
    lblCopyToClipboard = makeLink(frPro, "lblCopyToClipboard", twipsRect(design::lblCopyToClipboard),
                                  QStringLiteral("Copy to Clipboard"), verdana(9.75, FontStyle::Underline));
    lblCopyToClipboard->hide();
    txtSelectedPrompt =
        named(new ExactTextEdit(frPro), "txtSelectedPrompt", twipsRect(design::txtSelectedPrompt));
    txtSelectedPrompt->setFont(plain);
    cmpPromptOk = makeButton(frPro, "cmpPromptOk", twipsRect(design::cmpPromptOk), QStringLiteral("Use"));
    cmdPromptCancel =
        makeButton(frPro, "cmdPromptCancel", twipsRect(design::cmdPromptCancel), QStringLiteral("Cancel"));
    frPro->hide();
}

void frmNew::connectControls()
{
    for (int index = 0; index < 2; ++index) {
        connect(optMenu[index], &QRadioButton::toggled, this, [this, index](bool checked) {
            if (checked) {
                optMenu_Click(index);
            }
        });
    }
    connect(cmdLoadProject, &QPushButton::clicked, this, &frmNew::cmdLoadProject_Click);
    connect(lstProjects, &QListWidget::itemDoubleClicked, this, &frmNew::lstProjects_DblClick);
    connect(cmdDeleteProject, &QPushButton::clicked, this, &frmNew::cmdDeleteProject_Click);
    m_backups = new BookBackups(
        this, m_programFolder, m_messageBoxes,
        [this] {
            const QList<QListWidgetItem*> selected = lstProjects->selectedItems();
            return selected.isEmpty() ? QString() : selected.first()->text();
        },
        [this](const QString& name) { showRestoredProject(name); });
    connect(lblBackUpBook, &LinkLabel::clicked, m_backups, &BookBackups::lblBackUpBook_Click);
    connect(lblRestoreBook, &LinkLabel::clicked, m_backups, &BookBackups::lblRestoreBook_Click);
    connect(lblDeletedBooks, &LinkLabel::clicked, m_backups, &BookBackups::lblDeletedBooks_Click);
    // The two restore links live in the Open panel, which is hidden while no project exists,
    // right when a user who deleted their only book wants it back. So restoring also works from
    // the keyboard and from the Create panel's context menu, in either mode.
    const auto addRestoreAction = [this](const QString& text, const QKeySequence& keys, auto slot) {
        auto* action = new QAction(text, this);
        action->setShortcut(keys);
        action->setShortcutContext(Qt::WindowShortcut);
        connect(action, &QAction::triggered, m_backups, slot);
        addAction(action);
        frNew->addAction(action);
    };
    addRestoreAction(QStringLiteral("Restore Book…"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_R),
                     &BookBackups::lblRestoreBook_Click);
    addRestoreAction(QStringLiteral("Deleted Books…"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_D),
                     &BookBackups::lblDeletedBooks_Click);
    frNew->setContextMenuPolicy(Qt::ActionsContextMenu);

    connect(txtMainTopic, &QLineEdit::textChanged, this, &frmNew::txtMainTopic_Change);
    // txtPromptTemplate_Change: whenever the holder's text changes, the override file, where it
    // exists, replaces it before the caller reads the holder.
    attachPromptOverride(*txtPromptTemplate, m_programFolder);

    connect(cmdOk, &QPushButton::clicked, this, &frmNew::cmdOk_Click);
    connect(lblCopyContent, &LinkLabel::clicked, this, &frmNew::lblCopyContent_Click);
    connect(lblPaste, &LinkLabel::clicked, this, &frmNew::lblPaste_Click);
    connect(txtResults, &QPlainTextEdit::textChanged, lblOutlineConverted, &QWidget::hide);
    pasteIntoEmptyBoxWith(*txtResults, [this] { lblPaste_Click(); });

    // "activated" fires also when the title already chosen is chosen again, which must read its
    // file again. Queued, so that the fill (which lets events run) never runs inside the
    // combo box's own signal emission.
    connect(cboSuboptions, &QComboBox::activated, this, &frmNew::cboSuboptions_Click, Qt::QueuedConnection);
    connect(lblCreateFromPublicDomainTitles, &LinkLabel::clicked, this,
            &frmNew::lblCreateFromPublicDomainTitles_Click);
    // Any change of the selected entry, by mouse or keys; emptying the list selects nothing.
    connect(lstPrompts, &QListWidget::itemSelectionChanged, this, [this] {
        if (!lstPrompts->selectedItems().isEmpty()) {
            lstPrompts_Click();
        }
    });
    connect(cmpPromptOk, &QPushButton::clicked, this, &frmNew::cmpPromptOk_Click);
    connect(cmdPromptCancel, &QPushButton::clicked, this, &frmNew::cmdPromptCancel_Click);

    lstProjects->installEventFilter(this);
    lstPrompts->installEventFilter(this);
}

void frmNew::done(int result)
{
    m_closed = true;
    QDialog::done(result);
}

void frmNew::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    m_closed = false;
    if (!m_shownOnce) {
        m_shownOnce = true;
        if (frNew->isHidden()) {
            lstProjects->setFocus(Qt::OtherFocusReason);
        } else {
            txtMainTopic->setFocus(Qt::OtherFocusReason);
        }
    }
    // Bring the window to the front and give it the keyboard also where no window manager does.
    raise();
    activateWindow();
}

bool frmNew::eventFilter(QObject* watched, QEvent* event)
{
    // A list that has the focus but no selected entry may still have a current row (the view
    // sets one on focus-in); the first Down or Up must select the first entry, not the second.
    if (event->type() == QEvent::KeyPress && (watched == lstProjects || watched == lstPrompts)) {
        auto* list = static_cast<QListWidget*>(watched);
        const int key = static_cast<QKeyEvent*>(event)->key();
        if ((key == Qt::Key_Down || key == Qt::Key_Up) && list->selectedItems().isEmpty() &&
            list->count() > 0) {
            list->setCurrentRow(0, QItemSelectionModel::ClearAndSelect);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void frmNew::Form_Load()
{
    frPro->move(optMenu[0]->pos());
    frNew->move(frLoad->pos());
    RefreshProjectList();
    loadCatalogue();
    lblCreateFromPublicDomainTitles->show();
}

void frmNew::RefreshProjectList()
{
    lstProjects->clear();
    lstProjects->addItems(listProjects(m_programFolder));
    if (lstProjects->count() == 0) {
        optMenu_Click(1);
        optMenu[1]->setChecked(true);
        // The main-topic box is the first input in the tab order (it is created first).
        txtMainTopic->setFocus(Qt::OtherFocusReason);
    }
}

void frmNew::optMenu_Click(int index)
{
    if (index == 1) {
        frLoad->hide();
        frNew->show();
        return;
    }
    frLoad->show();
    frNew->hide();
    RefreshProjectList();
    cmdDeleteProject->setEnabled(lstProjects->count() > 0);
}

void frmNew::showMessage(const QString& text, const QString& title)
{
    m_messageBoxes.show(this, Message{text, title, MessageIcon::Information, MessageButtons::Ok});
}

void frmNew::cmdLoadProject_Click()
{
    const QList<QListWidgetItem*> selected = lstProjects->selectedItems();
    if (selected.isEmpty()) {
        showMessage(QStringLiteral("Please select a project."), QStringLiteral("No Selected Project"));
        return;
    }
    const QString folder = projectFolderPath(m_programFolder, selected.first()->text());
    if (m_loadProject) {
        m_loadProject(folder);
    }
    accept();
}

void frmNew::lstProjects_DblClick()
{
    cmdLoadProject_Click();
}

void frmNew::cmdDeleteProject_Click()
{
    const QList<QListWidgetItem*> selected = lstProjects->selectedItems();
    if (selected.isEmpty()) {
        showMessage(QStringLiteral("Please select a project to delete."),
                    QStringLiteral("No Selected Project"));
        return;
    }
    const Message question{QStringLiteral("Confirm delete?"), QStringLiteral("Confirm"),
                           MessageIcon::Question, MessageButtons::YesNo};
    if (m_messageBoxes.show(this, question) != MessageAnswer::Yes) {
        return;
    }
    // The project goes only once its backup is written whole; "Deleted Books…" brings it back.
    const DeleteProjectResult deleted = deleteProjectWithBackup(m_programFolder, selected.first()->text());
    switch (deleted.outcome) {
    case DeleteProjectOutcome::Deleted:
        showMessage(QStringLiteral("Done. Projec deleted."), QStringLiteral("Done"));
        RefreshProjectList();
        return;
    case DeleteProjectOutcome::NotBackedUp:
        m_messageBoxes.show(this, Message{deleted.backup.text(), QStringLiteral("Error"),
                                          MessageIcon::Exclamation, MessageButtons::Ok});
        return;
    case DeleteProjectOutcome::NotDeleted:
        break;
    }
    m_messageBoxes.show(this,
                        Message{QStringLiteral("There was an error and the folder cannot be deleted. If the "
                                               "folder is open, please close it and try again."),
                                QStringLiteral("Error"), MessageIcon::Exclamation, MessageButtons::Ok});
}

void frmNew::showRestoredProject(const QString& name)
{
    // A restore made from the Create panel shows the Open panel with the new project selected.
    if (frLoad->isHidden()) {
        optMenu[0]->setChecked(true);
    }
    RefreshProjectList();
    const QList<QListWidgetItem*> found = lstProjects->findItems(name, Qt::MatchExactly);
    if (!found.isEmpty()) {
        lstProjects->setCurrentItem(found.first(), QItemSelectionModel::ClearAndSelect);
    }
    cmdDeleteProject->setEnabled(lstProjects->count() > 0);
}

void frmNew::txtMainTopic_Change()
{
    // While the sequel panel is up, the prompt it built must stay.
    if (!frPro->isHidden()) {
        return;
    }
    // The template is read from disk on every change: an edited template shows at the next
    // keystroke. The override file applies through the holder's change.
    txtPrompt->setText(tocPrompt(*txtPromptTemplate, m_programFolder, txtMainTopic->text()));
}

void frmNew::cmdOk_Click()
{
    const QString mainTopic = txtMainTopic->text();
    const QString toc = txtResults->text();
    const QString name = txtProjectName->text();
    if (mainTopic.isEmpty()) {
        showMessage(QStringLiteral("Please enter your main topic."), QStringLiteral("Missing Info"));
        return;
    }
    if (toc.isEmpty()) {
        showMessage(QStringLiteral("Please enter the info required on step #3."),
                    QStringLiteral("Missing Info"));
        return;
    }
    if (name.isEmpty()) {
        showMessage(QStringLiteral("Please enter a name for this project."), QStringLiteral("Missing Info"));
        return;
    }
    const CreateProjectResult created = createProject(m_programFolder, name, mainTopic, toc);
    switch (created.outcome) {
    case CreateProjectOutcome::NameTaken:
        showMessage(QStringLiteral("Folder exists. Please try with another project name (step #4)"),
                    QStringLiteral("Folder exists"));
        return;
    case CreateProjectOutcome::InvalidName:
        showMessage(
            QStringLiteral("Ooops, the project name is invalid. Please try with another name (step #4) "
                           "and avoid strange characters."),
            QStringLiteral("Folder exists"));
        return;
    case CreateProjectOutcome::WriteFailed:
        // The folder was removed again; the inputs stay so the user can try again.
        m_messageBoxes.show(
            this, Message{QStringLiteral("The project could not be created.\n\n") + created.result.reason(),
                          QStringLiteral("Error"), MessageIcon::Exclamation, MessageButtons::Ok});
        return;
    case CreateProjectOutcome::Created:
        break;
    }
    if (m_loadProject) {
        m_loadProject(created.folderPath);
    }
    showMessage(QStringLiteral("Done! Project created."), QStringLiteral("Done"));
    accept();
}

void frmNew::lblCopyContent_Click()
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    const QString prompt = txtPrompt->text();
    if (!prompt.isEmpty()) {
        auto* mime = new QMimeData;
        mime->setText(prompt);
        clipboard->setMimeData(mime);
    }
    showMessage(QStringLiteral("Done. Prompt copied to clipboard."), QStringLiteral("Done"));
}

void frmNew::lblPaste_Click()
{
    pasteResults(*txtResults, *lblOutlineConverted, QGuiApplication::clipboard()->mimeData());
}

void frmNew::loadCatalogue()
{
    cboSuboptions->clear();
    cboSuboptions->addItems(catalogueTitles(m_programFolder));
    if (cboSuboptions->count() > 0) {
        cboSuboptions->setCurrentIndex(0);
        cboSuboptions_Click();
    }
}

void frmNew::cboSuboptions_Click()
{
    // The fill lets events run; a second choice must not start a fill inside this one.
    if (m_filling || m_closed) {
        return;
    }
    m_filling = true;
    // Disabling the focused selector would hand the focus to the idea list, where the keyboard
    // user's next Down would pick an idea; the panel holds it during the fill instead, and the
    // selector gets it back when the fill ends.
    const bool selectorHadFocus = cboSuboptions->hasFocus();
    if (selectorHadFocus) {
        frPro->setFocus(Qt::OtherFocusReason);
    }
    cboSuboptions->setEnabled(false);
    const QString path = titleFilePath(m_programFolder, cboSuboptions->currentText());
    lstPrompts->clear();
    const QPointer<frmNew> self(this);
    // While the window loads it is not shown yet: input meant for other windows (a second click
    // on the main window's link) waits until the window is up and modal.
    LoadPromptList(
        path, lstPrompts, [self] { return self.isNull() || self->m_closed; },
        isVisible() ? QEventLoop::AllEvents : QEventLoop::ExcludeUserInputEvents);
    if (self.isNull()) {
        return;
    }
    Pause(1);
    cboSuboptions->setEnabled(true);
    if (selectorHadFocus && frPro->hasFocus()) {
        cboSuboptions->setFocus(Qt::OtherFocusReason);
    }
    m_filling = false;
}

void frmNew::setSequelPanelShown(bool shown)
{
    // The panel covers the mode selector and both mode panels; while it is up, the keyboard
    // cannot reach them either (Tab would otherwise type into boxes nobody can see).
    for (QWidget* beneath : {static_cast<QWidget*>(optMenu[0]), static_cast<QWidget*>(optMenu[1]),
                             static_cast<QWidget*>(frNew), static_cast<QWidget*>(frLoad)}) {
        beneath->setEnabled(!shown);
    }
    frPro->setVisible(shown);
    if (shown) {
        frPro->raise();
        cboSuboptions->setFocus(Qt::OtherFocusReason);
    }
}

void frmNew::lblCreateFromPublicDomainTitles_Click()
{
    setSequelPanelShown(true);
}

void frmNew::lstPrompts_Click()
{
    const QList<QListWidgetItem*> selected = lstPrompts->selectedItems();
    if (selected.isEmpty()) {
        return;
    }
    const QListWidgetItem* entry = selected.first();
    txtSelectedPrompt->setText(sequelSentence(cboSuboptions->currentText(), removeNumbering(entry->text())));
    txtPrompt->setText(sequelPrompt(*txtPromptTemplate, m_programFolder, txtSelectedPrompt->text()));
}

void frmNew::cmpPromptOk_Click()
{
    const QString sentence = txtSelectedPrompt->text();
    if (sentence.isEmpty()) {
        showMessage(QStringLiteral("Please select an item."), QStringLiteral("Required Info"));
        return;
    }
    // Set while the sequel panel is still up, so the sequel prompt in step 2 stays.
    txtMainTopic->setText(sentence);
    setSequelPanelShown(false);
    // The focus lands on the topic; its text must not be selected, or the next key would
    // replace the sentence just handed over.
    txtMainTopic->setFocus(Qt::OtherFocusReason);
    txtMainTopic->deselect();
    txtMainTopic->end(false);
}

void frmNew::cmdPromptCancel_Click()
{
    setSequelPanelShown(false);
}

} // namespace folioneer
