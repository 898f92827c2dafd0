// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/frm_main1.h"
#include "app/outline_tree.h"
#include "app/rich_text_box.h"
#include "common/recording_message_boxes.h"
#include "common/test_support.h"
#include "manager/frm_new.h"
#include "widgets/exact_text.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include <memory>

namespace folioneer::test {

// A main window over a temporary program folder, with recorded message boxes and helpers to
// reach its controls by name and to click outline nodes as the user would.
class MainWindowFixture {
public:
    MainWindowFixture()
        : window(std::make_unique<frmMain1>(
              program.path(), boxes,
              [this](QWidget* parent, const frmMain1::LoadProjectCallback& loadProject) {
                  frmNew manager(program.path(), boxes, loadProject, parent);
                  manager.exec();
              }))
    {
    }

    template <typename T = QWidget> T* control(const char* name) const
    {
        return window->findChild<T*>(QString::fromLatin1(name));
    }

    OutlineTree* tree() const { return control<OutlineTree>("TreeView1"); }
    RichTextBox* content() const { return control<RichTextBox>("RichTextBox1"); }
    ExactTextEdit* prompt() const { return control<ExactTextEdit>("txtContentPrompt"); }
    QPushButton* saveButton() const { return control<QPushButton>("cmdSaveChanges"); }
    QString caption(const char* labelName) const { return control<ExactLabel>(labelName)->caption(); }
    bool saveShown() const { return !saveButton()->isHidden(); }

    /// Shows the window and waits until it can take input.
    bool showWindow()
    {
        window->showActivated();
        return QTest::qWaitForWindowExposed(window.get());
    }

    /// The node of chapter `chapter` (0-based), or of its section `section` when >= 0.
    QTreeWidgetItem* node(int chapter, int section = -1) const
    {
        QTreeWidgetItem* chapterNode = tree()->topLevelItem(chapter);
        if (!chapterNode || section < 0) {
            return chapterNode;
        }
        return chapterNode->child(section);
    }

    /// A left click in the middle of a node's row, expanding its chapter first.
    void click(QTreeWidgetItem* item)
    {
        if (item->parent()) {
            item->parent()->setExpanded(true);
        }
        tree()->scrollToItem(item);
        const QRect rect = tree()->visualItemRect(item);
        QTest::mouseClick(tree()->viewport(), Qt::LeftButton, Qt::NoModifier, rect.center());
    }

    /// Clicks a link label or button by name.
    void clickControl(const char* name) { QTest::mouseClick(control(name), Qt::LeftButton); }

    QString contentPath(const QString& project, const QString& fileName) const
    {
        return program.path() + QStringLiteral("/projects/") + project + QLatin1Char('/') + fileName;
    }

    TempProgramFolder program;
    RecordingMessageBoxes boxes;
    std::unique_ptr<frmMain1> window;
};

/// Replaces the clipboard with `text` in plain form only.
inline void setClipboardText(const QString& text)
{
    auto* data = new QMimeData;
    data->setText(text);
    QGuiApplication::clipboard()->setMimeData(data);
}

} // namespace folioneer::test
