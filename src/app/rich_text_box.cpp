// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/rich_text_box.h"

#include "widgets/exact_text.h"

#include "paste/clipboard_reader.h"
#include "paste/safe_text_document.h"
#include "rtf/rtf.h"

#include <QClipboard>
#include <QGuiApplication>

#include <QImage>
#include <QKeyEvent>
#include <QMimeData>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextList>
#include <QUrl>

#include <functional>

namespace folioneer {

namespace {

// Pictures live in a document's resources, not in its text. Moving rich text from one document
// to another must carry them along: every picture `walked` shows is taken from `owner`'s
// resources and added to `to`'s. `rename` gives each a new name in `walked`, so that pictures
// pasted at different times never share one.
void carryImages(QTextDocument& walked, const QTextDocument& owner, QTextDocument& to,
                 const std::function<QString()>& rename)
{
    struct Picture {
        int position;
        int length;
        QTextImageFormat format;
    };
    // Collected first: renaming changes formats, which would upset a running fragment walk.
    QList<Picture> pictures;
    for (QTextBlock block = walked.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (fragment.isValid() && fragment.charFormat().isImageFormat()) {
                pictures.append(
                    {fragment.position(), fragment.length(), fragment.charFormat().toImageFormat()});
            }
        }
    }
    for (Picture& picture : pictures) {
        const QVariant image = owner.resource(QTextDocument::ImageResource, QUrl(picture.format.name()));
        if (!image.isValid()) {
            continue;
        }
        if (rename) {
            picture.format.setName(rename());
            QTextCursor cursor(&walked);
            cursor.setPosition(picture.position);
            cursor.setPosition(picture.position + picture.length, QTextCursor::KeepAnchor);
            cursor.setCharFormat(picture.format);
        }
        to.addResource(QTextDocument::ImageResource, QUrl(picture.format.name()), image);
    }
}

// Inserts a pasted document at the cursor as one undoable edit. Inserting a fragment lets the
// first pasted paragraph take the format of the paragraph it lands in; a heading or list item
// pasted at the start of a line keeps its own, and one pasted behind text on a line starts a
// paragraph of its own.
void insertStructured(QTextCursor& cursor, const QTextDocument& pasted)
{
    const QTextBlock first = pasted.begin();
    const bool structured = first.blockFormat().headingLevel() > 0 || first.textList() != nullptr;
    cursor.beginEditBlock();
    if (cursor.positionInBlock() > 0 && (structured || QTextCursor(first).currentTable())) {
        cursor.insertBlock(QTextBlockFormat(), QTextCharFormat());
    }
    const bool intoEmptyBlock = cursor.block().length() == 1;
    const int start = cursor.position();
    cursor.insertFragment(QTextDocumentFragment(&pasted));
    if (intoEmptyBlock && structured) {
        QTextCursor landed(cursor.document());
        landed.setPosition(start);
        QTextBlockFormat format = first.blockFormat();
        format.clearProperty(QTextFormat::ObjectIndex);
        landed.setBlockFormat(format);
        if (const QTextList* list = first.textList()) {
            QTextList* rest = landed.block().next().textList();
            if (rest && rest->format() == list->format()) {
                rest->add(landed.block());
            } else {
                landed.createList(list->format());
            }
        }
    }
    cursor.endEditBlock();
}

} // namespace

RichTextBox::RichTextBox(QWidget* parent) : QTextEdit(parent)
{
    auto* initial = new SafeTextDocument(this);
    setDocument(initial);
    initial->protectLayout();
    setTabChangesFocus(false);
    setAcceptRichText(true);
}

rtf::ReadStatus RichTextBox::loadRtf(const QByteArray& rtf, const QFont& defaultFont)
{
    return replaceDocument(defaultFont,
                           [&rtf](QTextDocument& document) { return rtf::readRtf(rtf, document); });
}

rtf::ReadStatus RichTextBox::loadRtfText(const QString& rtfText)
{
    return replaceDocument(document()->defaultFont(), [&rtfText](QTextDocument& document) {
        return rtf::readRtfText(rtfText, document);
    });
}

rtf::ReadStatus RichTextBox::replaceDocument(const QFont& defaultFont,
                                             const std::function<rtf::ReadStatus(QTextDocument&)>& read)
{
    auto* replacement = new SafeTextDocument(this);
    replacement->setDefaultFont(defaultFont);
    replacement->setUndoRedoEnabled(false);
    const rtf::ReadStatus status = read(*replacement);
    if (status == rtf::ReadStatus::NotRtf) {
        delete replacement;
        return status;
    }
    replacement->setUndoRedoEnabled(true);
    // The text control deletes the document it made itself; the ones made here are ours, and
    // are let go once the new one is on screen (taking a large document apart takes a while).
    QTextDocument* ours = document()->parent() == this ? document() : nullptr;
    wrapFor(replacement->toRawText(), true);
    setDocument(replacement);
    replacement->protectLayout();
    replacement->setDefaultFont(defaultFont);
    if (ours) {
        ours->deleteLater();
    }
    // Setting a document is a change of content like any other.
    emit textChanged();
    return status;
}

void RichTextBox::loadPlainText(const QString& text)
{
    wrapFor(text, true);
    setPlainText(text);
}

void RichTextBox::loadClipboard(const QMimeData* source)
{
    if (!source) {
        loadPlainText(QString());
        return;
    }
    const paste::PasteOptions options = pasteOptions();
    const rtf::ReadStatus status =
        replaceDocument(document()->defaultFont(), [&](QTextDocument& replacement) {
            return paste::readClipboard(*source, replacement, options) == paste::PastedForm::PlainText
                       ? rtf::ReadStatus::NotRtf
                       : rtf::ReadStatus::Ok;
        });
    if (status == rtf::ReadStatus::NotRtf) {
        loadPlainText(source->text());
    }
}

void RichTextBox::pastePlainText()
{
    if (isReadOnly()) {
        return;
    }
    const QMimeData* source = QGuiApplication::clipboard()->mimeData();
    if (source && source->hasText()) {
        insertPlainText(source->text());
    }
}

void RichTextBox::insertPlainText(const QString& text)
{
    // As the text control pastes plain text, so that it gives the same document it always did.
    QMimeData plain;
    plain.setText(text);
    wrapFor(text, false);
    QTextEdit::insertFromMimeData(&plain);
}

paste::PasteOptions RichTextBox::pasteOptions() const
{
    const double points = document()->defaultFont().pointSizeF();
    return paste::PasteOptions{points > 0 ? points : 9.75};
}

void RichTextBox::wrapFor(QStringView incoming, bool newDocument)
{
    const QTextOption::WrapMode mode = wrapModeFor(incoming);
    if (newDocument || mode == QTextOption::WrapAnywhere) {
        setWordWrapMode(mode);
    }
}

void RichTextBox::keyPressEvent(QKeyEvent* event)
{
    if (event->modifiers() == (Qt::ControlModifier | Qt::ShiftModifier) && event->key() == Qt::Key_V) {
        pastePlainText();
        return;
    }
    if (event->modifiers() == Qt::ControlModifier && !isReadOnly()) {
        switch (event->key()) {
        case Qt::Key_B:
            toggleBold();
            return;
        case Qt::Key_I:
            toggleItalic();
            return;
        case Qt::Key_U:
            toggleUnderline();
            return;
        default:
            break;
        }
    }
    QTextEdit::keyPressEvent(event);
}

void RichTextBox::toggleBold()
{
    QTextCharFormat format;
    format.setFontWeight(currentCharFormat().fontWeight() > QFont::Normal ? QFont::Normal : QFont::Bold);
    mergeCurrentCharFormat(format);
}

void RichTextBox::toggleItalic()
{
    QTextCharFormat format;
    format.setFontItalic(!currentCharFormat().fontItalic());
    mergeCurrentCharFormat(format);
}

void RichTextBox::toggleUnderline()
{
    QTextCharFormat format;
    format.setFontUnderline(!currentCharFormat().fontUnderline());
    mergeCurrentCharFormat(format);
}

bool RichTextBox::canInsertFromMimeData(const QMimeData* source) const
{
    return source->hasImage() || !paste::rtfFromMimeData(*source).isEmpty() ||
           QTextEdit::canInsertFromMimeData(source);
}

void RichTextBox::insertFromMimeData(const QMimeData* source)
{
    if (isReadOnly() || !source) {
        return;
    }
    auto uniqueName = [this] { return QStringLiteral("folioneer-picture-%1").arg(++m_pastedImages); };
    // Pasted HTML and Markdown are read by our own readers, never by Qt's HTML import, which
    // would load files and web addresses the data names.
    SafeTextDocument pasted;
    pasted.setDefaultFont(document()->defaultFont());
    if (paste::readClipboard(*source, pasted, pasteOptions()) != paste::PastedForm::PlainText) {
        carryImages(pasted, pasted, *document(), uniqueName);
        wrapFor(pasted.toRawText(), false);
        QTextCursor cursor = textCursor();
        insertStructured(cursor, pasted);
        setTextCursor(cursor);
        ensureCursorVisible();
        return;
    }
    if (source->hasText()) {
        insertPlainText(source->text());
        return;
    }
    if (source->hasImage()) {
        const QImage image = qvariant_cast<QImage>(source->imageData());
        if (!image.isNull()) {
            const QString name = uniqueName();
            document()->addResource(QTextDocument::ImageResource, QUrl(name), image);
            QTextImageFormat format;
            format.setName(name);
            format.setWidth(image.width());
            format.setHeight(image.height());
            textCursor().insertImage(format);
            ensureCursorVisible();
        }
    }
}

QMimeData* RichTextBox::createMimeDataFromSelection() const
{
    const QTextDocumentFragment selection = textCursor().selection();
    auto* mime = new QMimeData;
    if (selection.isEmpty()) {
        return mime;
    }
    QTextDocument copied;
    QTextCursor(&copied).insertFragment(selection);
    carryImages(copied, *document(), copied, {});
    mime->setText(rtf::plainTextOfDocument(copied));
    mime->setHtml(selection.toHtml());
    mime->setData(QStringLiteral("text/rtf"), rtf::writeRtf(copied, rtf::WriteOptions{true}));
    return mime;
}

} // namespace folioneer
