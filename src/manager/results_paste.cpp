// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "manager/results_paste.h"

#include "widgets/exact_text.h"
#include "paste/clipboard_reader.h"

#include <QKeyEvent>
#include <QMimeData>
#include <QTextCursor>

namespace folioneer {

namespace {

class EmptyBoxPaste : public QObject {
public:
    EmptyBoxPaste(ExactTextEdit& box, std::function<void()> paste)
        : QObject(&box), m_box(box), m_paste(std::move(paste))
    {
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress &&
            static_cast<QKeyEvent*>(event)->matches(QKeySequence::Paste) && !m_box.isReadOnly() &&
            m_box.text().isEmpty()) {
            m_paste();
            return true;
        }
        return false;
    }

private:
    ExactTextEdit& m_box;
    std::function<void()> m_paste;
};

} // namespace

void pasteResults(ExactTextEdit& box, QWidget& note, const QMimeData* source)
{
    const QString text = source && source->hasText() ? source->text() : QString();
    const QString html = source && source->hasHtml() ? source->html() : QString();
    const paste::ResultsPaste results = paste::resultsFromClipboard(text, html);
    note.hide();
    box.setText(text);
    if (!results.converted) {
        return;
    }
    // The pasted text stays one undo step away; the box hands back every line break as CR LF.
    QTextCursor cursor(box.document());
    cursor.beginEditBlock();
    cursor.select(QTextCursor::Document);
    QString lines = results.text;
    lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    cursor.insertText(lines);
    cursor.endEditBlock();
    note.show();
}

void pasteIntoEmptyBoxWith(ExactTextEdit& box, std::function<void()> paste)
{
    box.installEventFilter(new EmptyBoxPaste(box, std::move(paste)));
}

} // namespace folioneer
