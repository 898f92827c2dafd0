// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPointer>
#include <QWidget>

#include <functional>

class QTextEdit;

namespace folioneer {

class FindBar;
class RichTextBox;

// Focus mode: a top-level window covering the screen with a second view of the open section's
// document in a centred column of readable width, and its own find bar. Edits made here are
// edits of the section. Escape or F11 closes it; the main editor then lays the document out
// at its own width again.
class FocusWindow : public QWidget {
    Q_OBJECT
public:
    /// `mainEditor` is the editor whose document is shown; `save` is what Ctrl+S does.
    FocusWindow(QTextEdit& mainEditor, std::function<void()> save, QWidget* parent);
    ~FocusWindow() override;

    RichTextBox* editor() const { return m_editor; }
    FindBar* findBar() const { return m_findBar; }

signals:
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void giveDocumentBack();

    QPointer<QTextEdit> m_mainEditor; // null once the main window is being taken apart
    RichTextBox* m_editor;
    FindBar* m_findBar;
    bool m_givenBack = false;
};

} // namespace folioneer
