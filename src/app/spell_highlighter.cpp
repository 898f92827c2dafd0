// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/spell_highlighter.h"

#include "app/spelling.h"
#include "writing/spell_words.h"

#include <QElapsedTimer>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextEdit>
#include <QTextLayout>

namespace folioneer {

namespace {

// One idle slice checks paragraphs for about this long, so typing never waits for more.
constexpr qint64 kSliceMilliseconds = 8;
// An edit touching more paragraphs than this (a paste) is checked in idle slices.
constexpr int kMaxBlocksAtOnce = 64;

bool sameRanges(const QList<QTextLayout::FormatRange>& a, const QList<QTextLayout::FormatRange>& b)
{
    if (a.size() != b.size()) {
        return false;
    }
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (a[i].start != b[i].start || a[i].length != b[i].length) {
            return false;
        }
    }
    return true;
}

} // namespace

SpellHighlighter::SpellHighlighter(QTextEdit& editor, Spelling& spelling)
    : QObject(&editor), m_editor(editor), m_spelling(spelling)
{
    m_slices.setInterval(0);
    connect(&m_slices, &QTimer::timeout, this, &SpellHighlighter::checkSlice);
    m_newDocument.setSingleShot(true);
    m_newDocument.setInterval(0);
    connect(&m_newDocument, &QTimer::timeout, this, &SpellHighlighter::recheckAll);
    // The editor is handed a new document on every load; it announces that as a change of text.
    connect(&m_editor, &QTextEdit::textChanged, this, &SpellHighlighter::attach);
    connect(m_editor.verticalScrollBar(), &QScrollBar::valueChanged, this, &SpellHighlighter::checkVisible);
    connect(&m_spelling, &Spelling::changed, this, &SpellHighlighter::recheckAll);
    attach();
}

void SpellHighlighter::addView(QTextEdit* view)
{
    m_views.append(view);
    connect(view->verticalScrollBar(), &QScrollBar::valueChanged, this, &SpellHighlighter::checkVisible);
    checkVisible();
}

void SpellHighlighter::removeView(QTextEdit* view)
{
    m_views.removeAll(view);
    disconnect(view->verticalScrollBar(), nullptr, this, nullptr);
}

void SpellHighlighter::attach()
{
    QTextDocument* document = m_editor.document();
    if (document == m_document) {
        return;
    }
    if (m_document) {
        disconnect(m_document, nullptr, this, nullptr);
    }
    m_document = document;
    connect(document, &QTextDocument::contentsChange, this, &SpellHighlighter::contentsChanged);
    // Marking a paragraph makes the document lay out again up to it. While the editor is still
    // taking the document in, that would lay out all of it at once; once the editor has shown
    // it, only what is needed is laid out and the rest follows in the background.
    m_next = -1;
    m_slices.stop();
    m_newDocument.start();
}

void SpellHighlighter::recheckAll()
{
    ++m_generation;
    if (!m_document || m_document->isEmpty()) {
        // Nothing to check: the dictionary is not loaded for an empty box (at start-up).
        m_next = -1;
        return;
    }
    m_spelling.ensureLoaded();
    if (!m_spelling.isReady()) {
        return; // Spelling::changed brings us back once the dictionary is there
    }
    checkVisible();
    m_next = 0;
    m_slices.start();
}

void SpellHighlighter::checkAll()
{
    if (m_newDocument.isActive()) {
        m_newDocument.stop();
        recheckAll();
    }
    while (m_next >= 0) {
        checkSlice();
    }
}

void SpellHighlighter::contentsChanged(int position, int removed, int added)
{
    Q_UNUSED(removed);
    if (m_applying || !m_document || m_newDocument.isActive()) {
        return;
    }
    if (!m_spelling.isReady()) {
        if (!m_document->isEmpty()) {
            m_spelling.ensureLoaded(); // the first text typed into an empty section
        }
        return;
    }
    const QTextBlock first = m_document->findBlock(position);
    const QTextBlock last = m_document->findBlock(position + added);
    if (last.blockNumber() - first.blockNumber() > kMaxBlocksAtOnce) {
        recheckAll();
        return;
    }
    for (QTextBlock block = first; block.isValid(); block = block.next()) {
        check(block);
        if (block == last) {
            break;
        }
    }
}

void SpellHighlighter::checkVisible()
{
    if (!m_spelling.isReady() || !m_document) {
        return;
    }
    checkVisibleIn(m_editor);
    for (const QPointer<QTextEdit>& view : std::as_const(m_views)) {
        if (view && view->document() == m_document) {
            checkVisibleIn(*view);
        }
    }
}

void SpellHighlighter::checkVisibleIn(QTextEdit& view)
{
    const QRect area = view.viewport()->rect();
    const QTextBlock first = view.cursorForPosition(area.topLeft()).block();
    const QTextBlock last = view.cursorForPosition(area.bottomRight()).block();
    for (QTextBlock block = first; block.isValid(); block = block.next()) {
        if (block.userState() != m_generation) {
            check(block);
        }
        if (block == last) {
            break;
        }
    }
}

void SpellHighlighter::checkSlice()
{
    if (m_next < 0 || !m_document) {
        m_next = -1;
        m_slices.stop();
        return;
    }
    QElapsedTimer clock;
    clock.start();
    QTextBlock block = m_document->findBlockByNumber(m_next);
    while (block.isValid() && clock.elapsed() < kSliceMilliseconds) {
        for (int i = 0; i < 32 && block.isValid(); ++i, block = block.next()) {
            if (block.userState() != m_generation) {
                check(block);
            }
        }
    }
    if (block.isValid()) {
        m_next = block.blockNumber();
    } else {
        m_next = -1;
        m_slices.stop();
    }
}

void SpellHighlighter::check(const QTextBlock& block)
{
    QTextLayout* layout = block.layout();
    if (!layout) {
        return;
    }
    QList<QTextLayout::FormatRange> marks;
    if (m_spelling.isChecking()) {
        const QString text = block.text();
        for (const WordSpan& span : wordsToCheck(text)) {
            if (!m_spelling.isAcceptable(text.mid(span.start, span.length))) {
                QTextLayout::FormatRange mark;
                mark.start = int(span.start);
                mark.length = int(span.length);
                mark.format.setUnderlineStyle(QTextCharFormat::SpellCheckUnderline);
                // Without a colour the wave is drawn in the text's colour.
                mark.format.setUnderlineColor(Qt::red);
                marks.append(mark);
            }
        }
    }
    QTextBlock changed = block;
    changed.setUserState(m_generation);
    if (sameRanges(layout->formats(), marks)) {
        return;
    }
    layout->setFormats(marks);
    // The marks are drawn once the paragraph is laid out again; this is no change of text.
    m_applying = true;
    m_document->markContentsDirty(block.position(), block.length());
    m_applying = false;
}

} // namespace folioneer
