// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/find_bar.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

namespace folioneer {

namespace {

// The document's text with the same positions as its cursors.
QList<TextMatch> matchesIn(const QTextEdit& editor, QStringView query, FindOptions options)
{
    return findAll(editor.document()->toRawText(), query, options);
}

void select(QTextEdit& editor, const TextMatch& match)
{
    QTextCursor cursor(editor.document());
    cursor.setPosition(int(match.start));
    cursor.setPosition(int(match.start + match.length), QTextCursor::KeepAnchor);
    editor.setTextCursor(cursor);
    editor.ensureCursorVisible();
}

QPushButton* button(const QString& text, const char* name, QWidget* parent)
{
    auto* push = new QPushButton(text, parent);
    push->setObjectName(QString::fromLatin1(name));
    push->setAutoDefault(false);
    // Out of the window's Tab order, which stays as designed; the bar is worked with its keys.
    push->setFocusPolicy(Qt::ClickFocus);
    return push;
}

} // namespace

bool selectMatch(QTextEdit& editor, QStringView query, FindOptions options, int index)
{
    const QList<TextMatch> matches = matchesIn(editor, query, options);
    if (index < 0 || index >= matches.size()) {
        return false;
    }
    select(editor, matches[index]);
    return true;
}

ReplaceRow::ReplaceRow(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("ReplaceRow"));
    setAutoFillBackground(true);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 2, 4, 2);
    m_replacement = new QLineEdit(this);
    m_replacement->setObjectName(QStringLiteral("txtReplace"));
    m_replacement->setPlaceholderText(tr("Replace with"));
    m_replacement->setFocusPolicy(Qt::ClickFocus);
    layout->addWidget(m_replacement, 1);
    QPushButton* one = button(tr("Replace"), "cmdReplace", this);
    QPushButton* all = button(tr("Replace All"), "cmdReplaceAll", this);
    layout->addWidget(one);
    layout->addWidget(all);
    connect(one, &QPushButton::clicked, this, &ReplaceRow::replaceRequested);
    connect(all, &QPushButton::clicked, this, &ReplaceRow::replaceAllRequested);
    connect(m_replacement, &QLineEdit::returnPressed, this, &ReplaceRow::replaceRequested);
    hide();
}

FindBar::FindBar(QWidget* parent, ReplaceRow* replaceRow) : QWidget(parent), m_replaceRow(replaceRow)
{
    setObjectName(QStringLiteral("FindBar"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(6, 4, 6, 4);
    m_query = new QLineEdit(this);
    m_query->setObjectName(QStringLiteral("txtFind"));
    m_query->setPlaceholderText(tr("Find"));
    m_query->setClearButtonEnabled(true);
    m_query->setFocusPolicy(Qt::ClickFocus);
    layout->addWidget(m_query, 1);
    QPushButton* previous = button(tr("Previous"), "cmdFindPrevious", this);
    QPushButton* next = button(tr("Next"), "cmdFindNext", this);
    layout->addWidget(previous);
    layout->addWidget(next);
    m_matchCase = new QCheckBox(tr("Match case"), this);
    m_matchCase->setObjectName(QStringLiteral("chkMatchCase"));
    m_wholeWords = new QCheckBox(tr("Whole words"), this);
    m_wholeWords->setObjectName(QStringLiteral("chkWholeWords"));
    m_matchCase->setFocusPolicy(Qt::ClickFocus);
    m_wholeWords->setFocusPolicy(Qt::ClickFocus);
    layout->addWidget(m_matchCase);
    layout->addWidget(m_wholeWords);
    QPushButton* close = button(QStringLiteral("\u00D7"), "cmdFindClose", this);
    close->setToolTip(tr("Close (Esc)"));
    close->setFixedWidth(24);
    layout->addWidget(close);

    connect(m_query, &QLineEdit::returnPressed, this, [this] { findNext(false); });
    connect(m_query, &QLineEdit::textEdited, this, [this] { showFound(true); });
    connect(next, &QPushButton::clicked, this, [this] { findNext(false); });
    connect(previous, &QPushButton::clicked, this, [this] { findNext(true); });
    connect(close, &QPushButton::clicked, this, &FindBar::closeBar);
    if (m_replaceRow) {
        connect(m_replaceRow, &ReplaceRow::replaceRequested, this, &FindBar::replaceOne);
        connect(m_replaceRow, &ReplaceRow::replaceAllRequested, this, &FindBar::replaceAll);
    }
    hide();
}

QString FindBar::query() const
{
    return m_query->text();
}

FindOptions FindBar::options() const
{
    return {m_matchCase->isChecked(), m_wholeWords->isChecked()};
}

void FindBar::openFind()
{
    if (m_editor) {
        const QString selected = m_editor->textCursor().selectedText();
        if (!selected.isEmpty() && !selected.contains(QChar::ParagraphSeparator)) {
            m_query->setText(selected);
        }
    }
    show();
    raise();
    m_query->setFocus();
    m_query->selectAll();
}

void FindBar::openReplace()
{
    openFind();
    if (m_replaceRow) {
        m_replaceRow->show();
        m_replaceRow->raise();
    }
}

void FindBar::closeBar()
{
    hide();
    if (m_replaceRow) {
        m_replaceRow->hide();
    }
    if (m_editor) {
        m_editor->setFocus();
    }
}

void FindBar::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        closeBar();
        return;
    }
    QWidget::keyPressEvent(event);
}

bool FindBar::findNext(bool backward)
{
    if (!m_editor || m_query->text().isEmpty()) {
        return false;
    }
    const QList<TextMatch> matches = matchesIn(*m_editor, m_query->text(), options());
    if (matches.isEmpty()) {
        showFound(false);
        return false;
    }
    const QTextCursor cursor = m_editor->textCursor();
    const TextMatch* chosen = nullptr;
    if (backward) {
        for (auto it = matches.crbegin(); it != matches.crend() && !chosen; ++it) {
            if (it->start < cursor.selectionStart()) {
                chosen = &*it;
            }
        }
        chosen = chosen ? chosen : &matches.last();
    } else {
        for (const TextMatch& match : matches) {
            if (match.start >= cursor.selectionEnd()) {
                chosen = &match;
                break;
            }
        }
        chosen = chosen ? chosen : &matches.first();
    }
    select(*m_editor, *chosen);
    showFound(true);
    return true;
}

void FindBar::replaceOne()
{
    if (!m_editor || !m_replaceRow || m_query->text().isEmpty() || m_editor->isReadOnly() ||
        !m_editor->isEnabled()) {
        return;
    }
    QTextCursor cursor = m_editor->textCursor();
    for (const TextMatch& match : matchesIn(*m_editor, m_query->text(), options())) {
        if (match.start == cursor.selectionStart() && match.start + match.length == cursor.selectionEnd()) {
            cursor.insertText(m_replaceRow->replacement()->text());
            m_editor->setTextCursor(cursor);
            break;
        }
    }
    findNext(false);
}

int FindBar::replaceAll()
{
    if (!m_editor || !m_replaceRow || m_query->text().isEmpty() || m_editor->isReadOnly() ||
        !m_editor->isEnabled()) {
        return 0;
    }
    const QList<TextMatch> matches = matchesIn(*m_editor, m_query->text(), options());
    if (matches.isEmpty()) {
        showFound(false);
        return 0;
    }
    const QString replacement = m_replaceRow->replacement()->text();
    QTextCursor cursor(m_editor->document());
    cursor.beginEditBlock();
    // From the last match back, so that each replacement leaves the earlier positions as found.
    for (auto it = matches.crbegin(); it != matches.crend(); ++it) {
        cursor.setPosition(int(it->start));
        cursor.setPosition(int(it->start + it->length), QTextCursor::KeepAnchor);
        cursor.insertText(replacement);
    }
    cursor.endEditBlock();
    showFound(true);
    return int(matches.size());
}

void FindBar::showFound(bool found)
{
    QPalette palette = m_query->palette();
    palette.setColor(QPalette::Base, found ? QPalette().color(QPalette::Base) : QColor(0xff, 0xd0, 0xd0));
    m_query->setPalette(palette);
}

} // namespace folioneer
