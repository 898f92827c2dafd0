// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QTextDocument>
#include <QTimer>

class QTextBlock;
class QTextEdit;

namespace folioneer {

class Spelling;

// Marks misspelt words of an editor's document with a red wavy underline. The marks live in
// the blocks' layouts, not in the text: they are no edit, add nothing to undo and never make
// the section look changed. Follows the editor to every new document it is given. The visible
// text is checked first, the rest in slices while the program is idle; an edit rechecks only
// the paragraphs it touched. Further views of the same document (focus mode) share the marks.
class SpellHighlighter : public QObject {
    Q_OBJECT
public:
    SpellHighlighter(QTextEdit& editor, Spelling& spelling);

    /// A further view of the editor's document that must be repainted when marks change.
    void addView(QTextEdit* view);
    void removeView(QTextEdit* view);

    /// Checks every paragraph not yet checked now, at once (tests and benchmarks).
    void checkAll();
    /// True while paragraphs are waiting to be checked.
    bool isPending() const { return m_next >= 0 || m_newDocument.isActive(); }

private:
    void attach();
    void recheckAll();
    void contentsChanged(int position, int removed, int added);
    void checkVisible();
    void checkSlice();
    void check(const QTextBlock& block);
    void checkVisibleIn(QTextEdit& view);

    QTextEdit& m_editor;
    Spelling& m_spelling;
    QPointer<QTextDocument> m_document;
    QList<QPointer<QTextEdit>> m_views;
    QTimer m_slices;
    QTimer m_newDocument; // the first check of a new document waits for the editor to lay it out
    int m_generation = 1; // paragraphs checked against the current words carry this state
    int m_next = -1;      // the block number the idle slices continue from; -1 when done
    bool m_applying = false;
};

} // namespace folioneer
