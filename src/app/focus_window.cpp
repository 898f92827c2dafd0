// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/focus_window.h"

#include "app/find_bar.h"
#include "app/rich_text_box.h"

#include <QCloseEvent>
#include <QScreen>
#include <QShortcut>
#include <QTextDocument>

namespace folioneer {

namespace {

// A column of about 80 characters of the editor's font is comfortable to read and write in.
constexpr int kColumnWidth = 760;
constexpr int kMargin = 40;

} // namespace

FocusWindow::FocusWindow(QTextEdit& mainEditor, std::function<void()> save, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), m_mainEditor(&mainEditor)
{
    setObjectName(QStringLiteral("frmFocus"));
    setWindowTitle(QStringLiteral("Focus"));
    setAttribute(Qt::WA_DeleteOnClose);
    QPalette background = palette();
    background.setColor(QPalette::Window, QColor(0xee, 0xee, 0xea));
    setPalette(background);
    setAutoFillBackground(true);

    m_editor = new RichTextBox(this);
    m_editor->setObjectName(QStringLiteral("txtFocus"));
    m_editor->setFrameShape(QFrame::NoFrame);
    m_editor->setDocument(mainEditor.document());
    m_editor->setTextCursor(mainEditor.textCursor());
    m_findBar = new FindBar(this, nullptr);
    m_findBar->setEditor(m_editor);

    // A bare X server has no window manager to honour a full-screen request: take the screen's
    // geometry directly.
    const QScreen* screen = mainEditor.screen();
    setGeometry(screen ? screen->geometry() : QRect(0, 0, 1280, 800));

    auto shortcut = [this](const QKeySequence& keys, auto slot) {
        auto* key = new QShortcut(keys, this);
        connect(key, &QShortcut::activated, this, slot);
    };
    shortcut(QKeySequence(Qt::Key_Escape), [this] {
        if (m_findBar->isVisible()) {
            m_findBar->closeBar();
        } else {
            close();
        }
    });
    shortcut(QKeySequence(Qt::Key_F11), [this] { close(); });
    shortcut(QKeySequence::Save, [save = std::move(save)] { save(); });
    shortcut(QKeySequence::Find, [this] { m_findBar->openFind(); });
    shortcut(QKeySequence(Qt::Key_F3), [this] { m_findBar->findNext(false); });
    shortcut(QKeySequence(Qt::SHIFT | Qt::Key_F3), [this] { m_findBar->findNext(true); });
    // The main window may be taken apart first: this view lets go of the document while it
    // still exists (the editor's children, the document among them, go after this signal).
    connect(&mainEditor, &QObject::destroyed, this, [this] {
        m_mainEditor = nullptr; // half taken apart already: not to be laid out again
        giveDocumentBack();
    });
    // The main editor may be given another section's document behind this window.
    connect(&mainEditor, &QTextEdit::textChanged, this, [this] {
        if (m_mainEditor && m_mainEditor->document() != m_editor->document()) {
            close();
        }
    });
}

FocusWindow::~FocusWindow()
{
    giveDocumentBack();
}

void FocusWindow::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    const int column = std::min(kColumnWidth, width() - 2 * kMargin);
    const int left = (width() - column) / 2;
    const int barHeight = m_findBar->sizeHint().height();
    m_findBar->setGeometry(left, kMargin / 2 - barHeight / 2 + 4, column, barHeight);
    m_editor->setGeometry(left, kMargin + 8, column, height() - 2 * kMargin - 8);
}

void FocusWindow::closeEvent(QCloseEvent* event)
{
    giveDocumentBack();
    QWidget::closeEvent(event);
    emit closed();
}

void FocusWindow::giveDocumentBack()
{
    if (m_givenBack) {
        return;
    }
    m_givenBack = true;
    // The two views share one layout of the document: this view lets go of it and the main
    // editor lays it out at its own width again, with its cursor where writing stopped.
    const QTextCursor cursor = m_editor->textCursor();
    const bool same = m_mainEditor && m_editor->document() == m_mainEditor->document();
    m_editor->setDocument(new QTextDocument(m_editor));
    if (same) {
        m_mainEditor->document()->setTextWidth(m_mainEditor->viewport()->width());
        m_mainEditor->setTextCursor(cursor);
        m_mainEditor->ensureCursorVisible();
    }
}

} // namespace folioneer
