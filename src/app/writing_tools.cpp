// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/writing_tools.h"

#include "app/book_search_window.h"
#include "app/find_bar.h"
#include "app/focus_window.h"
#include "app/frm_main1_design.h"
#include "widgets/layout_units.h"
#include "app/outline_tree.h"
#include "app/rich_text_box.h"
#include "app/spell_highlighter.h"
#include "app/spelling.h"
#include "app/word_count_strip.h"
#include "project/content_paths.h"
#include "project/toc.h"

#include <QLocale>
#include <QMenu>
#include <QShortcut>
#include <QTextDocument>

namespace folioneer {

namespace {

const QString kSystemDictionaries = QStringLiteral("/usr/share/hunspell");

constexpr int kReplaceRowHeight = 30;

} // namespace

WritingTools::WritingTools(const QString& programFolder, Window window, QObject* parent)
    : QObject(parent), m_window(std::move(window))
{
    QWidget* main = m_window.window;
    RichTextBox* editor = m_window.editor;
    m_spelling = new Spelling(programFolder, kSystemDictionaries, this);
    m_highlighter = new SpellHighlighter(*editor, *m_spelling);

    m_counts = new WordCountStrip(*editor, main);
    m_counts->setObjectName(QStringLiteral("lblWordCounts"));
    m_counts->setGeometry(twipsRect(mainWindowDesign::lblWordCounts));
    m_counts->setFont(verdana(8.25));
    m_counts->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    connect(m_counts, &WordCountStrip::chapterCountsChanged, this, &WritingTools::setChapterToolTips);

    m_replaceRow = new ReplaceRow(main);
    const QRect content = editor->geometry();
    m_replaceRow->setGeometry(content.x() + 1, content.y() + 1, content.width() - 2, kReplaceRowHeight);
    m_replaceRow->setFont(verdana(8.25));
    m_findBar = new FindBar(main, m_replaceRow);
    m_findBar->setGeometry(twipsRect(mainWindowDesign::FindBar));
    m_findBar->setFont(verdana(8.25));
    m_findBar->setEditor(editor);

    editor->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(editor, &QWidget::customContextMenuRequested, this,
            [this, editor](const QPoint& position) { showContextMenu(*editor, position); });

    auto shortcut = [main, this](const QKeySequence& keys, auto slot) {
        auto* key = new QShortcut(keys, main);
        connect(key, &QShortcut::activated, this, slot);
    };
    shortcut(QKeySequence::Find, [this] { m_findBar->openFind(); });
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_H), [this] { m_findBar->openReplace(); });
    shortcut(QKeySequence(Qt::Key_F3), [this] {
        if (m_findBar->query().isEmpty()) {
            m_findBar->openFind();
        } else {
            m_findBar->findNext(false);
        }
    });
    shortcut(QKeySequence(Qt::SHIFT | Qt::Key_F3), [this] { m_findBar->findNext(true); });
    shortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F), [this] { openFindInBook(); });
    shortcut(QKeySequence(Qt::Key_F11), [this] { openFocusMode(); });
}

WritingTools::~WritingTools() = default;

void WritingTools::setDictionaryFolder(const QString& folder)
{
    m_spelling->setDictionaryFolder(folder);
}

QList<BookChapter> WritingTools::currentBook() const
{
    QList<BookChapter> book;
    const QString project = m_window.projectFolder();
    if (project.isEmpty()) {
        return book;
    }
    const OutlineTree& tree = *m_window.tree;
    for (int c = 0; c < tree.topLevelItemCount(); ++c) {
        const QTreeWidgetItem* chapterNode = tree.topLevelItem(c);
        const QString chapterTitle = trimBlanks(OutlineTree::title(chapterNode));
        BookChapter chapter{trimBlanks(chapterNode->text(0)), {}};
        for (int s = 0; s < chapterNode->childCount(); ++s) {
            const QTreeWidgetItem* sectionNode = chapterNode->child(s);
            chapter.sections.append(
                {trimBlanks(sectionNode->text(0)),
                 ContentFilePath(project, chapterTitle, OutlineTree::title(sectionNode))});
        }
        book.append(chapter);
    }
    return book;
}

std::pair<int, int> WritingTools::shownNode() const
{
    QTreeWidgetItem* node = m_window.tree->currentItem();
    if (!node) {
        return {-1, -1};
    }
    if (QTreeWidgetItem* parent = node->parent()) {
        return {m_window.tree->indexOfTopLevelItem(parent), parent->indexOfChild(node)};
    }
    return {m_window.tree->indexOfTopLevelItem(node), -1};
}

void WritingTools::projectLoaded()
{
    m_searchCache.clear();
    m_counts->setBook(currentBook(), -1, -1);
}

void WritingTools::nodeShown()
{
    const auto [chapter, section] = shownNode();
    m_counts->setBook(currentBook(), chapter, section);
}

void WritingTools::sectionSaved()
{
    m_counts->refreshBook();
}

void WritingTools::setChapterToolTips(const QList<qsizetype>& counts)
{
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    for (int c = 0; c < counts.size() && c < m_window.tree->topLevelItemCount(); ++c) {
        m_window.tree->topLevelItem(c)->setToolTip(0, english.toString(counts[c]) +
                                                          (counts[c] == 1 ? tr(" word") : tr(" words")));
    }
}

void WritingTools::showContextMenu(RichTextBox& editor, const QPoint& position)
{
    std::unique_ptr<QMenu> menu(editor.createStandardContextMenu(position));
    m_spelling->addToContextMenu(*menu, editor, position);
    if (m_window.addMenuActions) {
        m_window.addMenuActions(*menu, editor);
    }
    menu->exec(editor.viewport()->mapToGlobal(position));
}

void WritingTools::openFindInBook()
{
    if (!m_bookSearch) {
        m_bookSearch = new BookSearchWindow(m_window.window);
        connect(m_bookSearch, &BookSearchWindow::searchRequested, this, &WritingTools::runBookSearch);
        connect(m_bookSearch, &BookSearchWindow::hitChosen, this, &WritingTools::openHit);
    }
    m_bookSearch->open();
}

void WritingTools::runBookSearch()
{
    m_hitBook = currentBook();
    m_hitQuery = m_bookSearch->query();
    m_hitOptions = m_bookSearch->options();
    OpenSectionText open;
    const auto [chapter, section] = shownNode();
    const bool sectionShown = section >= 0 && m_window.editor->isEnabled();
    if (sectionShown) {
        open.contentPath = m_hitBook[chapter].sections[section].contentPath;
        // The editor's own text, so that a hit's number is the number of the editor's match.
        open.text = m_window.editor->document()->toRawText();
    }
    const BookSearchResult result =
        searchBook(m_hitBook, m_searchCache, m_hitQuery, m_hitOptions, sectionShown ? &open : nullptr);
    m_hits = result.hits;
    QStringList lines;
    lines.reserve(m_hits.size());
    for (const BookHit& hit : std::as_const(m_hits)) {
        lines.append(hitLine(m_hitBook, hit));
    }
    m_bookSearch->showHits(lines, result.truncated);
}

void WritingTools::openHit(int row)
{
    if (row < 0 || row >= m_hits.size()) {
        return;
    }
    const BookHit hit = m_hits[row];
    QTreeWidgetItem* node = m_window.tree->topLevelItem(hit.chapter);
    if (node && hit.section >= 0) {
        node = node->child(hit.section);
    }
    if (!node) {
        return; // the outline changed since the search
    }
    const auto [chapter, section] = shownNode();
    const bool alreadyShown = chapter == hit.chapter && section == hit.section && section >= 0;
    if (!alreadyShown) {
        if (!m_window.confirmLeaving()) {
            return;
        }
        if (node->parent()) {
            node->parent()->setExpanded(true);
        }
        m_window.tree->scrollToItem(node);
        m_window.showNode(node);
    }
    m_window.window->activateWindow();
    if (hit.place == HitPlace::SectionText) {
        selectMatch(*m_window.editor, m_hitQuery, m_hitOptions, hit.matchIndex);
        m_window.editor->setFocus();
    } else {
        m_window.tree->setFocus();
    }
}

void WritingTools::openFocusMode()
{
    if (m_focus) {
        closeFocusMode();
        return;
    }
    RichTextBox* editor = m_window.editor;
    if (!editor->isEnabled()) {
        return;
    }
    m_focus = new FocusWindow(*editor, m_window.save, m_window.window);
    FocusWindow* focus = m_focus;
    m_highlighter->addView(focus->editor());
    focus->editor()->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(focus->editor(), &QWidget::customContextMenuRequested, this,
            [this, focus](const QPoint& position) { showContextMenu(*focus->editor(), position); });
    connect(focus, &FocusWindow::closed, this, [this, focus] {
        m_highlighter->removeView(focus->editor());
        m_window.window->activateWindow();
        m_window.editor->setFocus();
    });
    focus->show();
    focus->raise();
    focus->activateWindow();
    focus->editor()->setFocus();
}

void WritingTools::closeFocusMode()
{
    if (m_focus) {
        m_focus->close();
    }
}

} // namespace folioneer
