// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "rtf/rtf.h"

#include <QTextEdit>

#include <functional>

namespace folioneer {

// The section's content editor: a rich-text box whose clipboard exchange inside the program
// keeps formatting (RTF and HTML in, RTF, HTML and plain text out) and takes pictures. Tab
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

    int m_pastedImages = 0;
};

/// The RTF a clipboard offers, if any (the formats other programs use for it).
QByteArray rtfFromMimeData(const QMimeData& source);

} // namespace folioneer
