// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/exact_text.h"

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

void ExactTextEdit::setText(const QString& text)
{
    if (text == this->text()) {
        return;
    }
    m_exact = text;
    m_userEdited = false;
    m_settingText = true;
    setPlainText(displayTextFor(text, false));
    m_settingText = false;
    emit changed();
}

void ExactTextEdit::onContentsChanged()
{
    if (m_settingText) {
        return;
    }
    m_userEdited = true;
    emit changed();
}

} // namespace folioneer
