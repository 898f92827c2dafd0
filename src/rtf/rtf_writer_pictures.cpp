// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Pictures as the writer saves them: PNG data in a {\pict\pngblip} group with its own size and
// the size it is shown at.

#include "rtf/rtf_writer_parts.h"

#include <QBuffer>
#include <QImage>
#include <QPixmap>
#include <QTextDocument>
#include <QTextImageFormat>
#include <QUrl>

namespace folioneer::rtf {

WrittenPicture pictureOf(const QTextDocument& document, const QTextImageFormat& format)
{
    QByteArray png;
    QSize pixels;
    const QVariant resource = document.resource(QTextDocument::ImageResource, QUrl(format.name()));
    QImage image;
    switch (resource.typeId()) {
    case QMetaType::QImage:
        image = resource.value<QImage>();
        break;
    case QMetaType::QPixmap:
        image = resource.value<QPixmap>().toImage();
        break;
    case QMetaType::QByteArray: {
        const QByteArray bytes = resource.toByteArray();
        if (bytes.startsWith("\x89PNG\r\n\x1a\n") && bytes.size() >= 24) {
            // Already PNG: keep the bytes; the size is in the IHDR chunk.
            const auto* b = reinterpret_cast<const unsigned char*>(bytes.constData());
            const auto be32 = [b](int at) {
                return static_cast<int>((quint32(b[at]) << 24) | (quint32(b[at + 1]) << 16) |
                                        (quint32(b[at + 2]) << 8) | quint32(b[at + 3]));
            };
            png = bytes;
            pixels = QSize(be32(16), be32(20));
        } else {
            image.loadFromData(bytes);
        }
        break;
    }
    default:
        break;
    }
    if (png.isEmpty()) {
        if (image.isNull()) {
            return {};
        }
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        if (!image.save(&buffer, "PNG")) {
            return {};
        }
        pixels = image.size();
    }
    if (pixels.width() <= 0 || pixels.height() <= 0) {
        return {};
    }
    // The shown size: the format's where it has one (the other side keeps the aspect
    // ratio), else the image's own.
    double width = format.width();
    double height = format.height();
    if (width <= 0 && height <= 0) {
        width = pixels.width();
        height = pixels.height();
    } else if (width <= 0) {
        width = height * pixels.width() / pixels.height();
    } else if (height <= 0) {
        height = width * pixels.height() / pixels.width();
    }
    return {png, pixels, QSizeF(width, height)};
}

void writePicture(Emitter& out, const WrittenPicture& picture)
{
    out.open();
    out.word("\\pict");
    out.word("\\pngblip");
    out.word("\\picw", picture.pixels.width());
    out.word("\\pich", picture.pixels.height());
    out.word("\\picwgoal", toTwips(picture.shown.width()));
    out.word("\\pichgoal", toTwips(picture.shown.height()));
    out.hex(picture.png);
    out.close();
}

} // namespace folioneer::rtf
