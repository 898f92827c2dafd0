// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "paste/document_builder.h"
#include "rtf/rtf.h"

#include <QTextEdit>

#include <functional>

namespace folioneer {

// The section's content editor: a rich-text box whose clipboard exchange keeps formatting (RTF,
// HTML and Markdown in, read by the program's own readers; RTF, HTML and plain text out) and
// takes pictures. Its document shows only pictures it holds and never loads anything. Tab
// inserts a tab; Ctrl+B, Ctrl+I and Ctrl+U toggle bold, italic and underline. It knows nothing
// about files or sections.
class RichTextBox : public QTextEdit {
    Q_OBJECT
public:
    explicit RichTextBox(QWidget* parent = nullptr);

    /// Replaces the whole content with the RTF document `rtf`, read with `defaultFont` as the
    /// document's default font. On NotRtf the content is left as it was. The document is read
    /// away from the screen and swapped in whole: laying out a large document while it grows
    /// costs many times the reading.
    rtf::ReadStatus loadRtf(const QByteArray& rtf, const QFont& defaultFont);
    /// As loadRtf, for an RTF document that arrived as text (the clipboard).
    rtf::ReadStatus loadRtfText(const QString& rtfText);
    /// Replaces the whole content with plain text.
    void loadPlainText(const QString& text);
    /// Replaces the whole content with the richest usable form of a clipboard: RTF, HTML,
    /// Markdown-shaped text, else its plain text (a clipboard holding only a picture, or none,
    /// empties the box).
    void loadClipboard(const QMimeData* source);
    /// Inserts the clipboard's plain text at the caret exactly as it is (Ctrl+Shift+V).
    void pastePlainText();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;
    QMimeData* createMimeDataFromSelection() const override;

private:
    rtf::ReadStatus replaceDocument(const QFont& defaultFont,
                                    const std::function<rtf::ReadStatus(QTextDocument&)>& read);
    /// Lets lines break anywhere once `incoming` text holds a run too long to find word
    /// boundaries in; a new document starts again from word wrapping.
    void wrapFor(QStringView incoming, bool newDocument);
    void toggleBold();
    void toggleItalic();
    void toggleUnderline();
    void insertPlainText(const QString& text);
    paste::PasteOptions pasteOptions() const;

    int m_pastedImages = 0;
};

} // namespace folioneer
