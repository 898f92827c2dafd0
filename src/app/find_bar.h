// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "writing/text_find.h"

#include <QPointer>
#include <QWidget>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QTextEdit;

namespace folioneer {

/// Selects the `index`-th match (0 = first) of `query` in the editor's document and scrolls to
/// it. False when the document has fewer matches.
bool selectMatch(QTextEdit& editor, QStringView query, FindOptions options, int index);

// The replace row of a find bar: replacement text, "Replace" and "Replace All". Shown over the
// top of the editor it works on.
class ReplaceRow : public QWidget {
    Q_OBJECT
public:
    explicit ReplaceRow(QWidget* parent);
    QLineEdit* replacement() const { return m_replacement; }

signals:
    void replaceRequested();
    void replaceAllRequested();

private:
    QLineEdit* m_replacement;
};

// Finds text in one editor: a query, next and previous, match case and whole words, and
// (through its replace row) replacing one match or all of them in one undo step. Works on
// whichever editor it is given; knows nothing about sections.
class FindBar : public QWidget {
    Q_OBJECT
public:
    FindBar(QWidget* parent, ReplaceRow* replaceRow);

    void setEditor(QTextEdit* editor) { m_editor = editor; }
    /// Shows the bar with the focus in its query, which takes a one-line selection of the editor.
    void openFind();
    /// As openFind, and shows the replace row too.
    void openReplace();
    void closeBar();

    /// Selects the next (or previous) match after (before) the editor's selection, wrapping
    /// around at the end. False when there is no match.
    bool findNext(bool backward = false);
    /// Replaces the selected match and selects the next one.
    void replaceOne();
    /// Replaces every match, as one step of undo; returns how many.
    int replaceAll();

    QString query() const;
    FindOptions options() const;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void showFound(bool found);

    QPointer<QTextEdit> m_editor;
    ReplaceRow* m_replaceRow;
    QLineEdit* m_query;
    QCheckBox* m_matchCase;
    QCheckBox* m_wholeWords;
};

} // namespace folioneer
