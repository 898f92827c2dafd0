// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/text_codec.h"

#include <QStringDecoder>

namespace folioneer {

QString decodeWindows1252(const QByteArray& bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    QChar* out = text.data();
    for (const char c : bytes) {
        *out++ = QChar(windows1252Character(static_cast<unsigned char>(c)));
    }
    return text;
}

unsigned char windows1252Byte(char16_t c)
{
    if (c >= 0xA0 && c <= 0xFF) {
        return static_cast<unsigned char>(c);
    }
    for (std::size_t i = 0; i < kWindows1252High.size(); ++i) {
        if (kWindows1252High[i] == c && !(c >= 0x80 && c < 0xA0)) {
            return static_cast<unsigned char>(0x80 + i);
        }
    }
    return 0;
}

QString decodeText(const QByteArray& bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8,
                        QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError()) {
        if (text.startsWith(QChar(0xFEFF))) {
            text.remove(0, 1);
        }
        return text;
    }
    return decodeWindows1252(bytes);
}

QByteArray encodeText(const QString& text)
{
    return text.toUtf8();
}

} // namespace folioneer
