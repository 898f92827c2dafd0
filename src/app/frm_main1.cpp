// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/frm_main1.h"

#include "app/export_book.h"
#include "app/frm_main1_design.h"
#include "app/outline_editing.h"
#include "app/outline_tree.h"
#include "app/rich_text_box.h"
#include "app/section_history_dialog.h"
#include "app/writing_tools.h"
#include "export/book_export.h"
#include "outline/outline_model.h"
#include "outline/section_history.h"
#include "outline/unplaced_texts.h"
#include "project/content_paths.h"
#include "project/program_paths.h"
#include "project/project_files.h"
#include "project/toc.h"
#include "prompts/prompt_texts.h"
#include "rtf/rtf.h"
#include "support/file_io.h"
#include "widgets/exact_text.h"
#include "widgets/layout_units.h"
#include "widgets/link_label.h"

#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QFrame>
#include <QImageReader>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QShortcut>
#include <QTextDocument>

namespace folioneer {

namespace {

namespace design = mainWindowDesign;

const QString kByLine = QStringLiteral("by www.folioneer.app");
const QString kPleaseSelect = QStringLiteral("-- Please Select a Sub Chapter ---");
const QString kLoadError =
    QStringLiteral("There is an error in the project. If you've just created a new project "
                   "and you're getting an error please read the user manual.");

constexpr int kChapterImage = 1;
constexpr int kBlankImage = 2;
constexpr int kDocumentImage = 3;

template <typename Widget>
Widget* place(Widget* widget, const char* name, const QRect& geometry, const QFont& font)
{
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(geometry);
    widget->setFont(font);
    return widget;
}

QLabel* caption(const QString& text, QWidget* parent, const char* name, const QRect& geometry,
                const QFont& font)
{
    auto* label = place(new QLabel(text, parent), name, geometry, font);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

ExactLabel* valueLabel(QWidget* parent, const char* name, const QRect& geometry)
{
    auto* label = place(new ExactLabel(parent), name, geometry, verdana(9.75));
    // A sunken single line, drawn in the frame colours so that a coloured text keeps a plain border.
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setLineWidth(1);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    return label;
}

void setTextColour(QWidget* widget, const QColor& colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colour);
    widget->setPalette(palette);
}

/// Every copy clears the clipboard first and then offers the text in plain form only.
void putPlainTextOnClipboard(const QString& text)
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    auto* data = new QMimeData;
    data->setText(text);
    clipboard->setMimeData(data);
}

/// Every image of an .ico file (one per size), or a null icon when none can be read.
QIcon readIcon(const QString& path)
{
    const ResultOf<QByteArray> file = readWholeFile(path, 16 * 1024 * 1024);
    if (!file.ok()) {
        return {};
    }
    QBuffer buffer;
    buffer.setData(file.value());
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    QIcon icon;
    do {
        const QImage image = reader.read();
        if (!image.isNull()) {
            icon.addPixmap(QPixmap::fromImage(image));
        }
    } while (reader.jumpToNextImage());
    return icon;
}

} // namespace

frmMain1::frmMain1(const QString& programFolder, MessageBoxes& messageBoxes,
                   ProjectManagerOpener openProjectManager, QWidget* parent)
    : QWidget(parent), m_programFolder(programFolder), m_messageBoxes(messageBoxes),
      m_openProjectManager(std::move(openProjectManager))
{
    setObjectName(QStringLiteral("frmMain1"));
    setWindowTitle(QStringLiteral("Folioneer"));
    setFixedSize(twipsToPixels(design::kClient.width), twipsToPixels(design::kClient.height));
    createControls();
}

frmMain1::~frmMain1() = default;

void frmMain1::createControls()
{
    Picture1 = new QWidget(this);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setGeometry(twipsRect(design::Picture1));
    Picture1->setAutoFillBackground(true);
    QPalette band = Picture1->palette();
    band.setColor(QPalette::Window, kBandColour);
    Picture1->setPalette(band);

    lblAppName = caption(QStringLiteral("Folioneer"), Picture1, "lblAppName", twipsRect(design::lblAppName),
                         verdana(12, FontStyle::Bold));
    setTextColour(lblAppName, Qt::white);
    lblBy = caption(kByLine, Picture1, "lblBy", twipsRect(design::lblBy), verdana(9.75));
    setTextColour(lblBy, Qt::white);
    lblProjectFolder = place(new ExactLabel(Picture1), "lblProjectFolder",
                             twipsRect(design::lblProjectFolder), verdana(9.75));
    lblProjectFolder->hide();
    // A quiet note in the free right part of the band, never a box.
    lblUnplaced = caption({}, Picture1, "lblUnplaced", twipsRect(design::lblUnplaced), verdana(8.25));
    lblUnplaced->setAlignment(Qt::AlignRight | Qt::AlignTop);
    setTextColour(lblUnplaced, Qt::white);
    connect(lblProjectFolder, &ExactLabel::captionChanged, this, &frmMain1::lblProjectFolder_Change);

    Label6 = caption(QStringLiteral("Table of Contents:"), this, "Label6", twipsRect(design::Label6),
                     verdana(9.75, FontStyle::Bold));
    lblProjectManager = place(new LinkLabel(QStringLiteral("Project Manager"), this), "lblProjectManager",
                              twipsRect(design::lblProjectManager), verdana(9, FontStyle::Underline));
    connect(lblProjectManager, &LinkLabel::clicked, this, &frmMain1::lblProjectManager_Click);

    TreeView1 = place(new OutlineTree(this), "TreeView1", twipsRect(design::TreeView1), verdana(9));
    connect(TreeView1, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem* node) { TreeView1_NodeClick(node); });
    connect(TreeView1, &OutlineTree::nodeChosenByKeyboard, this, &frmMain1::TreeView1_NodeClick);
    m_outlineEditing = new OutlineEditing(*TreeView1, m_outline, m_messageBoxes,
                                          {[this] { return confirmLeavingEditedSection(); },
                                           [this](int focusId) { showEditedOutline(focusId); },
                                           [this] { return dialogParent(); }},
                                          this);

    cmdCopyEverything = place(new QPushButton(QStringLiteral("Copy Everything to Clipboard"), this),
                              "cmdCopyEverything", twipsRect(design::cmdCopyEverything), verdana(9.75));
    connect(cmdCopyEverything, &QPushButton::clicked, this, &frmMain1::cmdCopyEverything_Click);
    lblExportBook = place(new LinkLabel(QStringLiteral("Export Book…"), this), "lblExportBook",
                          twipsRect(design::lblExportBook), verdana(9, FontStyle::Underline));
    m_exportBook = new ExportBookAction(this, lblExportBook, m_messageBoxes);
    connect(lblProjectFolder, &ExactLabel::captionChanged, m_exportBook,
            [this] { m_exportBook->setProjectFolder(lblProjectFolder->caption()); });

    Frame1 = new QFrame(this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setGeometry(twipsRect(design::Frame1));
    Frame1->setFrameShape(QFrame::Box);
    Frame1->setLineWidth(1);

    const QFont bold = verdana(9.75, FontStyle::Bold);
    Label4 = caption(QStringLiteral("Main Topic:"), Frame1, "Label4", twipsRect(design::Label4), bold);
    lblMainTopic = valueLabel(Frame1, "lblMainTopic", twipsRect(design::lblMainTopic));
    Label2 = caption(QStringLiteral("Chapter:"), Frame1, "Label2", twipsRect(design::Label2), bold);
    lblParentNode = valueLabel(Frame1, "lblParentNode", twipsRect(design::lblParentNode));
    Label1 = caption(QStringLiteral("Sub-Chapter:"), Frame1, "Label1", twipsRect(design::Label1), bold);
    lblSelectedItem = valueLabel(Frame1, "lblSelectedItem", twipsRect(design::lblSelectedItem));
    setTextColour(lblSelectedItem, kNavy);
    Label3 = caption(QStringLiteral("Content Creation Prompt For This Section:"), Frame1, "Label3",
                     twipsRect(design::Label3), bold);
    lblCopy = place(new LinkLabel(QStringLiteral("Copy to Clipboard"), Frame1), "lblCopy",
                    twipsRect(design::lblCopy), verdana(9, FontStyle::Underline));
    connect(lblCopy, &LinkLabel::clicked, this, &frmMain1::lblCopy_Click);
    txtContentPrompt = place(new ExactTextEdit(Frame1), "txtContentPrompt",
                             twipsRect(design::txtContentPrompt), verdana(9.75));
    txtContentPrompt->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    Label5 = caption(QStringLiteral("Content:"), this, "Label5", twipsRect(design::Label5), bold);
    lblCopyContent = place(new LinkLabel(QStringLiteral("Copy"), this), "lblCopyContent",
                           twipsRect(design::lblCopyContent), verdana(9, FontStyle::Underline));
    connect(lblCopyContent, &LinkLabel::clicked, this, &frmMain1::lblCopyContent_Click);
    lblPaste = place(new LinkLabel(QStringLiteral("Paste"), this), "lblPaste", twipsRect(design::lblPaste),
                     verdana(9, FontStyle::Underline));
    connect(lblPaste, &LinkLabel::clicked, this, &frmMain1::lblPaste_Click);
    cmdSaveChanges = place(new QPushButton(QStringLiteral("Save Changes"), this), "cmdSaveChanges",
                           twipsRect(design::cmdSaveChanges), verdana(8.25));
    cmdSaveChanges->hide();
    connect(cmdSaveChanges, &QPushButton::clicked, this, &frmMain1::cmdSaveChanges_Click);

    RichTextBox1 =
        place(new RichTextBox(this), "RichTextBox1", twipsRect(design::RichTextBox1), verdana(9.75));
    // Nothing can be typed before a section of a loaded project is chosen: a save needs both
    // its names, and empty names would point outside any project.
    RichTextBox1->setEnabled(false);
    connect(RichTextBox1, &QTextEdit::textChanged, this, &frmMain1::RichTextBox1_Change);
    auto* save = new QShortcut(QKeySequence::Save, this);
    connect(save, &QShortcut::activated, this, [this] {
        if (!cmdSaveChanges->isHidden()) {
            cmdSaveChanges_Click();
        }
    });

    m_writingTools = new WritingTools(m_programFolder,
                                      {this, TreeView1, RichTextBox1, [this] { return sProjectPath; },
                                       [this] {
                                           if (!cmdSaveChanges->isHidden()) {
                                               cmdSaveChanges_Click();
                                           }
                                       },
                                       [this] { return confirmLeavingEditedSection(); },
                                       [this](QTreeWidgetItem* node) { TreeView1_NodeClick(node); },
                                       [this](QMenu& menu, RichTextBox& editor) {
                                           // History is the main editor's: the focus window
                                           // shows the same section.
                                           menu.addSeparator();
                                           QAction* history = menu.addAction(tr("History…"), this,
                                                                             &frmMain1::showSectionHistory);
                                           history->setEnabled(editor.isEnabled() && !sProjectPath.isEmpty());
                                       }},
                                      this);

    setTabOrder(TreeView1, txtContentPrompt);
    setTabOrder(txtContentPrompt, RichTextBox1);
    setTabOrder(RichTextBox1, cmdSaveChanges);
    setTabOrder(cmdSaveChanges, cmdCopyEverything);
    TreeView1->setFocus();
}

void frmMain1::start()
{
    Form_Load();
    showActivated();
}

void frmMain1::showActivated()
{
    centreOnScreen(*this, screen());
    show();
    // Where a frame is drawn, its size is known only now.
    centreOnScreen(*this, screen());
    raise();
    activateWindow();
    TreeView1->setFocus();
}

void frmMain1::Form_Load()
{
    if (lblProjectFolder->caption().isEmpty() && m_openProjectManager) {
        m_openProjectManager(nullptr, [this](const QString& folder) { LoadProject(folder); });
    }
    lblBy->setText(kByLine);
    lblAppName->setText(QStringLiteral("Folioneer Pro"));
    setWindowTitle(QStringLiteral("Folioneer Pro ") + kByLine);
}

void frmMain1::lblProjectManager_Click()
{
    if (m_openProjectManager) {
        m_openProjectManager(this, [this](const QString& folder) { LoadProject(folder); });
    }
}

void frmMain1::lblProjectFolder_Change()
{
    sProjectPath = lblProjectFolder->caption();
}

void frmMain1::LoadProject(const QString& sProjectFolder)
{
    lblProjectFolder->setCaption(sProjectFolder);
    // Cleared before anything can fail, so that a section of the previous project can never be
    // saved into this folder, whatever happens below.
    clearSectionWorkspace();
    TreeView1->clear();
    m_writingTools->projectLoaded();

    if (!LoadTreeIcons()) {
        showMessage(kLoadError, QStringLiteral("Error"), MessageIcon::Information);
        return;
    }
    ProjectOutline outline = loadProjectOutline(sProjectFolder);
    if (outline.error == OutlineLoadError::TocUnreadable) {
        showMessage(kLoadError, QStringLiteral("Error"), MessageIcon::Information);
        return;
    }
    m_outline.reset(std::move(outline));
    FillOutlineTree();

    const ResultOf<QString> mainTopic = readMainTopic(sProjectFolder);
    if (!mainTopic.ok()) {
        showMessage(kLoadError, QStringLiteral("Error"), MessageIcon::Information);
        return;
    }
    lblMainTopic->setCaption(mainTopic.value());
    m_writingTools->projectLoaded();
}

bool frmMain1::LoadTreeIcons()
{
    ImageList1.clear();
    for (const char* piece : {paths::kFolderIcon, paths::kBlankIcon, paths::kDocumentIcon}) {
        const QIcon icon = readIcon(programPath(m_programFolder, piece));
        if (icon.isNull()) {
            return false;
        }
        ImageList1.append(icon);
    }
    return true;
}

void frmMain1::FillOutlineTree()
{
    const ProjectOutline& outline = m_outline.outline();
    lblUnplaced->clear();
    switch (outline.error) {
    case OutlineLoadError::SectionBeforeChapter:
        showMessage(QStringLiteral("Error: Nodo principal no encontrado."),
                    QString::fromLatin1(kProgramTitle), MessageIcon::None);
        return;
    case OutlineLoadError::NoChapters:
        showMessage(QStringLiteral("Error: No se encontraron nodos principales."),
                    QString::fromLatin1(kProgramTitle), MessageIcon::None);
        return;
    case OutlineLoadError::TocUnreadable:
    case OutlineLoadError::None:
        break;
    }
    QList<QTreeWidgetItem*> chapters;
    chapters.reserve(outline.chapters.size());
    for (const OutlineChapterEntry& chapter : outline.chapters) {
        QTreeWidgetItem* chapterNode = OutlineTree::makeNode(chapter.title, kChapterImage, ImageList1);
        chapterNode->setData(0, OutlineTree::kIdRole, chapter.id);
        for (const OutlineSection& section : chapter.sections) {
            QTreeWidgetItem* sectionNode = OutlineTree::makeNode(
                section.title, section.hasContent ? kDocumentImage : kBlankImage, ImageList1);
            sectionNode->setData(0, OutlineTree::kIdRole, section.id);
            chapterNode->addChild(sectionNode);
        }
        chapters.append(chapterNode);
    }
    // Added in one go: chapters stay collapsed and no node becomes current or selected.
    TreeView1->addTopLevelItems(chapters);
    const qsizetype unplaced = unplacedTexts(outline, false).size();
    if (unplaced > 0) {
        lblUnplaced->setText(
            tr("%n text(s) in the folder belong to no section: Unplaced Texts… in the outline's menu",
               nullptr, int(unplaced)));
    }
}

void frmMain1::showEditedOutline(int focusId)
{
    QList<int> expanded;
    for (int i = 0; i < TreeView1->topLevelItemCount(); ++i) {
        if (TreeView1->topLevelItem(i)->isExpanded()) {
            expanded.append(TreeView1->topLevelItem(i)->data(0, OutlineTree::kIdRole).toInt());
        }
    }
    TreeView1->clear();
    FillOutlineTree();
    QTreeWidgetItem* focus = nullptr;
    for (int i = 0; i < TreeView1->topLevelItemCount(); ++i) {
        QTreeWidgetItem* chapter = TreeView1->topLevelItem(i);
        chapter->setExpanded(expanded.contains(chapter->data(0, OutlineTree::kIdRole).toInt()));
        if (chapter->data(0, OutlineTree::kIdRole).toInt() == focusId) {
            focus = chapter;
        }
        for (int j = 0; j < chapter->childCount(); ++j) {
            if (chapter->child(j)->data(0, OutlineTree::kIdRole).toInt() == focusId) {
                focus = chapter->child(j);
                chapter->setExpanded(true);
            }
        }
    }
    // The workspace shows the edited node, under its new titles: the next save writes the
    // content file those titles name.
    if (focus) {
        TreeView1->setCurrentItem(focus);
        TreeView1_NodeClick(focus);
    } else {
        clearSectionWorkspace();
    }
}

void frmMain1::SetSelectedNodeImage(QTreeWidget* tree, int image)
{
    const QList<QTreeWidgetItem*> selected = tree->selectedItems();
    if (selected.isEmpty()) {
        return;
    }
    QTreeWidgetItem* node = selected.first();
    OutlineTree::setImage(node, image, ImageList1);
    tree->scrollToItem(node);
    tree->viewport()->update();
}

void frmMain1::clearSectionWorkspace()
{
    const bool wasLoading = bLoadingNode;
    bLoadingNode = true;
    lblParentNode->setCaption({});
    lblSelectedItem->setCaption({});
    txtContentPrompt->setText({});
    resetContent();
    setContentEnabled(false);
    RichTextBox1->document()->clearUndoRedoStacks();
    cmdSaveChanges->hide();
    bLoadingNode = wasLoading;
}

void frmMain1::setContentEnabled(bool enabled)
{
    RichTextBox1->setEnabled(enabled);
}

void frmMain1::resetContent()
{
    RichTextBox1->clear();
    RichTextBox1->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
}

void frmMain1::TreeView1_NodeClick(QTreeWidgetItem* Node)
{
    cmdSaveChanges->hide();
    bLoadingNode = true;
    if (Node) {
        if (!Node->isSelected()) {
            TreeView1->setCurrentItem(Node);
        }
        const QString nodeText = OutlineTree::title(Node);
        if (Node->parent()) {
            const QString chapter = trimBlanks(OutlineTree::title(Node->parent()));
            lblSelectedItem->setCaption(nodeText);
            lblParentNode->setCaption(chapter);
            txtContentPrompt->setText(
                contentPrompt(lblMainTopic->caption(), lblParentNode->caption(), lblSelectedItem->caption()));
            setContentEnabled(true);
            const QString path = ContentFilePath(sProjectPath, chapter, nodeText);
            if (ArchivoExiste(path)) {
                SetSelectedNodeImage(TreeView1, kDocumentImage);
                // Replaces the whole content; emptying the box first would only cost time.
                loadSectionContent(path);
            } else {
                resetContent();
            }
        } else {
            lblSelectedItem->setCaption(kPleaseSelect);
            setContentEnabled(false);
            resetContent();
            txtContentPrompt->setText({});
            cmdSaveChanges->hide();
        }
    }
    // Undo never brings back another section's text.
    RichTextBox1->document()->clearUndoRedoStacks();
    bLoadingNode = false;
    m_writingTools->nodeShown();
}

void frmMain1::loadSectionContent(const QString& path)
{
    const ResultOf<QByteArray> file = readWholeFile(path);
    QString reason = file.reason();
    if (file.ok() && file.value().isEmpty()) {
        // An empty file is an empty section.
        resetContent();
        RichTextBox1->document()->setDefaultFont(verdana(10));
    } else if (file.ok() && RichTextBox1->loadRtf(file.value(), verdana(10)) == rtf::ReadStatus::NotRtf) {
        reason = tr("The file is not an RTF document.");
    }
    if (reason.isEmpty()) {
        setContentEnabled(true);
        return;
    }
    // The box stays disabled, so a later save can never overwrite a file the user could not see.
    resetContent();
    setContentEnabled(false);
    showMessage(tr("The content of this section could not be read.") + QStringLiteral("\n\n") + reason,
                QStringLiteral("Error"), MessageIcon::Exclamation);
}

void frmMain1::RichTextBox1_Change()
{
    if (!bLoadingNode) {
        cmdSaveChanges->show();
    }
}

void frmMain1::cmdSaveChanges_Click()
{
    if (!RichTextBox1->isEnabled() || sProjectPath.isEmpty()) {
        return;
    }
    cmdSaveChanges->hide();
    const QString path = ContentFilePath(sProjectPath, lblParentNode->caption(), lblSelectedItem->caption());
    // The file as it was is kept in the section's history before the save replaces it.
    if (const Result kept = keepSectionVersion(path); !kept) {
        cmdSaveChanges->show();
        showMessage(tr("The section could not be saved.") + QStringLiteral("\n\n") +
                        displayTextFor(lblSelectedItem->caption(), true) + QStringLiteral("\n\n") +
                        kept.text(),
                    QStringLiteral("Error"), MessageIcon::Exclamation);
        return;
    }
    const Result status = writeFileAtomically(path, rtf::writeRtf(*RichTextBox1->document()));
    if (!status.ok()) {
        // The edits stay in the box and stay marked as unsaved.
        cmdSaveChanges->show();
        showMessage(tr("The section could not be saved.") + QStringLiteral("\n\n") +
                        displayTextFor(lblSelectedItem->caption(), true) + QStringLiteral("\n\n") +
                        status.reason(),
                    QStringLiteral("Error"), MessageIcon::Exclamation);
        return;
    }
    SetSelectedNodeImage(TreeView1, kDocumentImage);
    m_writingTools->sectionSaved();
}

void frmMain1::showSectionHistory()
{
    if (!RichTextBox1->isEnabled() || sProjectPath.isEmpty()) {
        return;
    }
    SectionHistoryDialog dialog(
        ContentFilePath(sProjectPath, lblParentNode->caption(), lblSelectedItem->caption()), this);
    if (dialog.exec() == QDialog::Accepted && !dialog.chosen().isEmpty()) {
        // An edit like any other: "Save Changes" decides whether it replaces the file.
        RichTextBox1->loadRtf(dialog.chosen(), verdana(10));
    }
}

bool frmMain1::confirmLeavingEditedSection()
{
    if (cmdSaveChanges->isHidden()) {
        return true;
    }
    const MessageAnswer answer = m_messageBoxes.show(
        dialogParent(),
        Message{QStringLiteral("This section has changes that are not saved."),
                QStringLiteral("Unsaved Changes"), MessageIcon::Question, MessageButtons::SaveDiscardCancel});
    switch (answer) {
    case MessageAnswer::Save:
        cmdSaveChanges_Click();
        // A failed save showed its error and left "Save Changes" visible.
        return cmdSaveChanges->isHidden();
    case MessageAnswer::Discard:
        return true;
    default:
        return false;
    }
}

void frmMain1::lblCopy_Click()
{
    const QString text = txtContentPrompt->text();
    if (text.isEmpty()) {
        return;
    }
    putPlainTextOnClipboard(text);
    showMessage(QStringLiteral("Done. Info copied to clipboard."), QStringLiteral("Done"),
                MessageIcon::Information);
}

void frmMain1::lblCopyContent_Click()
{
    // The same plain text the export takes from the saved file.
    const QString text = rtf::plainTextFromRtf(rtf::writeRtf(*RichTextBox1->document())).text;
    if (text.isEmpty()) {
        return;
    }
    putPlainTextOnClipboard(text);
    showMessage(QStringLiteral("Done. Content copied to clipboard."), QStringLiteral("Done"),
                MessageIcon::Information);
}

void frmMain1::lblPaste_Click()
{
    if (!RichTextBox1->isEnabled()) {
        return;
    }
    RichTextBox1->loadClipboard(QGuiApplication::clipboard()->mimeData());
}

void frmMain1::cmdCopyEverything_Click()
{
    if (lblProjectFolder->caption().isEmpty()) {
        return;
    }
    ProcesarArchivo(programPath(lblProjectFolder->caption(), paths::kToc));
}

void frmMain1::ProcesarArchivo(const QString& rutaArchivo)
{
    QGuiApplication::clipboard()->clear();
    const BookText book = buildBookText(rutaArchivo, sProjectPath);
    if (!book.ok()) {
        showMessage(QStringLiteral("Error: The active project has been damaged."), QStringLiteral("Error"),
                    MessageIcon::Exclamation);
        return;
    }
    putPlainTextOnClipboard(book.text);
    showMessage(QStringLiteral("Done. Project copied to clipboard."), QStringLiteral("Done"),
                MessageIcon::Information);
}

void frmMain1::showMessage(const QString& text, const QString& title, MessageIcon icon)
{
    m_messageBoxes.show(dialogParent(), Message{text, title, icon, MessageButtons::Ok});
}

QWidget* frmMain1::dialogParent()
{
    // At start-up the project manager loads a project before this window is shown; its
    // messages then belong to the manager.
    if (isVisible()) {
        return this;
    }
    return QApplication::activeModalWidget();
}

} // namespace folioneer
