// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/exact_text.h"

#include <QTextDocument>

namespace folioneer {

QString displayTextFor(const QString& exactText, bool singleLine)
{
    QString shown;
    shown.reserve(exactText.size());
    for (qsizetype i = 0; i < exactText.size(); ++i) {
        const QChar c = exactText.at(i);
        if (c == u'\r') {
            if (i + 1 < exactText.size() && exactText.at(i + 1) == u'\n') {
                shown.append(u'\n');
                ++i;
            }
            continue;
        }
        shown.append(c);
    }
    if (singleLine) {
        while (shown.endsWith(u'\n')) {
            shown.chop(1);
        }
    }
    return shown;
}

ExactLabel::ExactLabel(QWidget* parent) : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
}

void ExactLabel::setCaption(const QString& caption)
{
    if (caption == m_caption) {
        return;
    }
    m_caption = caption;
    QLabel::setText(displayTextFor(caption, true));
    emit captionChanged();
}

ExactTextEdit::ExactTextEdit(QWidget* parent) : QPlainTextEdit(parent)
{
    setTabChangesFocus(true);
    connect(document(), &QTextDocument::contentsChanged, this, &ExactTextEdit::onContentsChanged);
}

QString ExactTextEdit::text() const
{
    if (!m_userEdited) {
        return m_exact;
    }
    // toRawText keeps NBSP and other characters that toPlainText would normalise.
    QString text = document()->toRawText();
    text.replace(QChar(QChar::ParagraphSeparator), QStringLiteral("\r\n"));
    text.replace(QChar(QChar::LineSeparator), QStringLiteral("\r\n"));
    return text;
}

QTextOption::WrapMode wrapModeFor(QStringView text)
{
    // No word is this long: a longer run is pasted data, and breaking it anywhere costs nothing.
    constexpr qsizetype kLongestWord = 2000;
    qsizetype run = 0;
    for (const QChar c : text) {
        run = c.isSpace() ? 0 : run + 1;
        if (run > kLongestWord) {
            return QTextOption::WrapAnywhere;
        }
    }
    return QTextOption::WrapAtWordBoundaryOrAnywhere;
}

void ExactTextEdit::setText(const QString& text)
{
    if (text == this->text()) {
        return;
    }
    m_exact = text;
    m_userEdited = false;
    m_settingText = true;
    const QString shown = displayTextFor(text, false);
    setWordWrapMode(wrapModeFor(shown));
    setPlainText(shown);
    m_settingText = false;
}

void ExactTextEdit::onContentsChanged()
{
    if (m_settingText) {
        return;
    }
    m_userEdited = true;
}

} // namespace folioneer
