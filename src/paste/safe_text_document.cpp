// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "paste/safe_text_document.h"

#include <QAbstractTextDocumentLayout>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QTextFormat>
#include <QTextObjectInterface>
#include <QUrl>

namespace folioneer {

namespace {

// The picture a document holds under the format's name; null when it holds none.
QImage residentImage(QTextDocument* document, const QTextImageFormat& format)
{
    const QVariant data = document->resource(QTextDocument::ImageResource, QUrl(format.name()));
    if (data.userType() == QMetaType::QImage) {
        return data.value<QImage>();
    }
    if (data.userType() == QMetaType::QPixmap) {
        return data.value<QPixmap>().toImage();
    }
    return {};
}

// Draws pictures from the document's own resources only; a picture it does not hold is an
// empty frame of the size the format asks for.
class ResidentImageHandler : public QObject, public QTextObjectInterface {
    Q_OBJECT
    Q_INTERFACES(QTextObjectInterface)
public:
    using QObject::QObject;

    QSizeF intrinsicSize(QTextDocument* document, int, const QTextFormat& format) override
    {
        const QTextImageFormat image = format.toImageFormat();
        const QImage picture = residentImage(document, image);
        const QSizeF natural = picture.isNull() ? QSizeF(16, 16) : QSizeF(picture.size());
        const double width = image.width() > 0 ? image.width() : 0;
        const double height = image.height() > 0 ? image.height() : 0;
        if (width > 0 && height > 0) {
            return {width, height};
        }
        if (width > 0) {
            return {width, natural.height() * width / natural.width()};
        }
        if (height > 0) {
            return {natural.width() * height / natural.height(), height};
        }
        return natural;
    }

    void drawObject(QPainter* painter, const QRectF& rect, QTextDocument* document, int,
                    const QTextFormat& format) override
    {
        const QImage picture = residentImage(document, format.toImageFormat());
        if (!picture.isNull()) {
            painter->drawImage(rect, picture);
        }
    }
};

} // namespace

SafeTextDocument::SafeTextDocument(QObject* parent) : QTextDocument(parent) {}

void SafeTextDocument::protectLayout()
{
    documentLayout()->registerHandler(QTextFormat::ImageObject, new ResidentImageHandler(this));
}

QVariant SafeTextDocument::loadResource(int, const QUrl&)
{
    // Resources added to the document are found before this is asked; anything else would
    // be read from a file, the network or the parent widget, and is refused.
    return {};
}

} // namespace folioneer

#include "safe_text_document.moc"
