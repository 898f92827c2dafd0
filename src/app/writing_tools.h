// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/focus_window.h"
#include "writing/book_search.h"

#include <QObject>
#include <QPointer>

#include <functional>

class QPushButton;
class QMenu;
class QTreeWidgetItem;
class QWidget;

namespace folioneer {

class BookSearchWindow;
class FindBar;
class OutlineTree;
class ReplaceRow;
class RichTextBox;
class SpellHighlighter;
class Spelling;
class WordCountStrip;

// The writer's tools of the main window: spelling as you type, the word counts below the
// content box, the find bar and its replace row, "Find in Book" and focus mode. Creates their
// controls in the free space of the window and wires them to the outline and the content box;
// the main window only tells it when a project is loaded, a node is shown or a section saved.
class WritingTools : public QObject {
    Q_OBJECT
public:
    struct Window {
        QWidget* window = nullptr;
        OutlineTree* tree = nullptr;
        RichTextBox* editor = nullptr;
        std::function<QString()> projectFolder;
        /// Saves the shown section when it has unsaved edits (Ctrl+S).
        std::function<void()> save;
        /// Asks before leaving a section with unsaved edits; false to stay.
        std::function<bool()> confirmLeaving;
        /// Shows a node as a click in the outline does.
        std::function<void(QTreeWidgetItem*)> showNode;
        /// Adds the window's own actions to an editor's context menu (may be empty).
        std::function<void(QMenu&, RichTextBox&)> addMenuActions;
    };

    WritingTools(const QString& programFolder, Window window, QObject* parent);
    ~WritingTools() override;

    /// The folder the spelling dictionaries come from (tests give their own).
    void setDictionaryFolder(const QString& folder);

    // What the main window reports.
    void projectLoaded();
    void nodeShown();
    void sectionSaved();

    void openFindInBook();
    void runBookSearch();
    void openHit(int row);
    void openFocusMode();
    void closeFocusMode();

    Spelling& spelling() const { return *m_spelling; }
    SpellHighlighter& highlighter() const { return *m_highlighter; }
    WordCountStrip& wordCounts() const { return *m_counts; }
    FindBar& findBar() const { return *m_findBar; }
    BookSearchWindow* bookSearchWindow() const { return m_bookSearch; }
    FocusWindow* focusWindow() const { return m_focus; }

private:
    QList<BookChapter> currentBook() const;
    /// The chapter and section indexes of the node shown in the content box (-1 where none).
    std::pair<int, int> shownNode() const;
    void showContextMenu(RichTextBox& editor, const QPoint& position);
    void setChapterToolTips(const QList<qsizetype>& counts);

    Window m_window;
    Spelling* m_spelling;
    SpellHighlighter* m_highlighter;
    WordCountStrip* m_counts;
    ReplaceRow* m_replaceRow;
    FindBar* m_findBar;
    BookSearchWindow* m_bookSearch = nullptr;
    QPointer<FocusWindow> m_focus;
    BookTextCache m_searchCache;
    QList<BookChapter> m_hitBook;
    QList<BookHit> m_hits;
    QString m_hitQuery;
    FindOptions m_hitOptions;
};

} // namespace folioneer
