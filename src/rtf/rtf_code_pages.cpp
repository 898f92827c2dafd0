// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "rtf/rtf_code_pages.h"

#include "support/text_codec.h"

#include <QLatin1StringView>

#include <cstring>

namespace folioneer::rtf {

namespace {

// The Symbol font's characters from 0x20 up (0 = no Unicode equivalent: U+F000 + byte).
constexpr char16_t kSymbol[224] = {
    // 0x20
    0x0020,
    0x0021,
    0x2200,
    0x0023,
    0x2203,
    0x0025,
    0x0026,
    0x220B,
    0x0028,
    0x0029,
    0x2217,
    0x002B,
    0x002C,
    0x2212,
    0x002E,
    0x002F,
    // 0x30
    0x0030,
    0x0031,
    0x0032,
    0x0033,
    0x0034,
    0x0035,
    0x0036,
    0x0037,
    0x0038,
    0x0039,
    0x003A,
    0x003B,
    0x003C,
    0x003D,
    0x003E,
    0x003F,
    // 0x40
    0x2245,
    0x0391,
    0x0392,
    0x03A7,
    0x0394,
    0x0395,
    0x03A6,
    0x0393,
    0x0397,
    0x0399,
    0x03D1,
    0x039A,
    0x039B,
    0x039C,
    0x039D,
    0x039F,
    // 0x50
    0x03A0,
    0x0398,
    0x03A1,
    0x03A3,
    0x03A4,
    0x03A5,
    0x03C2,
    0x03A9,
    0x039E,
    0x03A8,
    0x0396,
    0x005B,
    0x2234,
    0x005D,
    0x22A5,
    0x005F,
    // 0x60
    0,
    0x03B1,
    0x03B2,
    0x03C7,
    0x03B4,
    0x03B5,
    0x03C6,
    0x03B3,
    0x03B7,
    0x03B9,
    0x03D5,
    0x03BA,
    0x03BB,
    0x03BC,
    0x03BD,
    0x03BF,
    // 0x70
    0x03C0,
    0x03B8,
    0x03C1,
    0x03C3,
    0x03C4,
    0x03C5,
    0x03D6,
    0x03C9,
    0x03BE,
    0x03C8,
    0x03B6,
    0x007B,
    0x007C,
    0x007D,
    0x223C,
    0,
    // 0x80
    0,
    0,
    0,
    0,
    0,
    0,
    0,
    0,
    0,
    0,
    0,
    0,
    0,
    0,
    0,
    0,
    // 0x90
    0,
    0,
    0,
    0,
    0,
    0,
    0,
    0,
    0,
    0,
    0,
    0,
    0,
    0,
    0,
    0,
    // 0xA0
    0x20AC,
    0x03D2,
    0x2032,
    0x2264,
    0x2044,
    0x221E,
    0x0192,
    0x2663,
    0x2666,
    0x2665,
    0x2660,
    0x2194,
    0x2190,
    0x2191,
    0x2192,
    0x2193,
    // 0xB0
    0x00B0,
    0x00B1,
    0x2033,
    0x2265,
    0x00D7,
    0x221D,
    0x2202,
    0x2022,
    0x00F7,
    0x2260,
    0x2261,
    0x2248,
    0x2026,
    0,
    0,
    0x21B5,
    // 0xC0
    0x2135,
    0x2111,
    0x211C,
    0x2118,
    0x2297,
    0x2295,
    0x2205,
    0x2229,
    0x222A,
    0x2283,
    0x2287,
    0x2284,
    0x2282,
    0x2286,
    0x2208,
    0x2209,
    // 0xD0
    0x2220,
    0x2207,
    0x00AE,
    0x00A9,
    0x2122,
    0x220F,
    0x221A,
    0x22C5,
    0x00AC,
    0x2227,
    0x2228,
    0x21D4,
    0x21D0,
    0x21D1,
    0x21D2,
    0x21D3,
    // 0xE0
    0x25CA,
    0x2329,
    0x00AE,
    0x00A9,
    0x2122,
    0x2211,
    0,
    0,
    0,
    0,
    0,
    0,
    0,
    0,
    0,
    0,
    // 0xF0
    0,
    0x232A,
    0x222B,
    0x2320,
    0,
    0x2321,
    0,
    0,
    0,
    0,
    0,
    0,
    0,
    0,
    0,
    0,
};

// The Wingdings glyphs that list bullets use; 0 for the others.
char16_t wingdingsBullet(unsigned char byte)
{
    switch (byte) {
    case 0x6C:
        return 0x25CF; // black circle
    case 0x6E:
        return 0x25A0; // black square
    case 0x71:
        return 0x2751; // shadowed white square
    case 0x76:
        return 0x2756; // black diamond minus white X
    case 0xA7:
        return 0x25AA; // black small square
    case 0xD8:
        return 0x27A2; // arrowhead
    case 0xFC:
        return 0x2713; // check mark
    default:
        return 0;
    }
}

bool isAscii(QByteArrayView bytes)
{
    const char* p = bytes.data();
    const char* end = p + bytes.size();
    for (; end - p >= 8; p += 8) {
        quint64 word;
        std::memcpy(&word, p, 8);
        if (word & 0x8080808080808080ULL) {
            return false;
        }
    }
    for (; p < end; ++p) {
        if (static_cast<unsigned char>(*p) >= 0x80) {
            return false;
        }
    }
    return true;
}

QString codecName(int codePage)
{
    switch (codePage) {
    case 437:
        return QStringLiteral("IBM437");
    case 850:
        return QStringLiteral("IBM850");
    case 10000:
        return QStringLiteral("macintosh");
    // The Mac East Asian code pages are decoded by their Windows relatives.
    case 10001:
        return QStringLiteral("windows-932");
    case 10002:
        return QStringLiteral("windows-950");
    case 10003:
        return QStringLiteral("windows-949");
    case 10008:
        return QStringLiteral("windows-936");
    case 10006:
        return QStringLiteral("x-mac-greek");
    case 10007:
        return QStringLiteral("x-mac-cyrillic");
    case 10029:
        return QStringLiteral("x-mac-centraleurroman");
    case 10081:
        return QStringLiteral("x-mac-turkish");
    case 65001:
        return QStringLiteral("UTF-8");
    default:
        return QStringLiteral("windows-%1").arg(codePage);
    }
}

} // namespace

int codePageForCharset(int charset)
{
    switch (charset) {
    case 0:
        return 1252;
    case 1:
        return 0;
    case 2:
        return kCodePageSymbol;
    case 77:
        return 10000;
    case 78:
        return 10001;
    case 79:
        return 10003;
    case 80:
        return 10008;
    case 81:
        return 10002;
    case 83:
        return 10005;
    case 84:
        return 10004;
    case 85:
        return 10006;
    case 86:
        return 10081;
    case 87:
        return 10021;
    case 88:
        return 10029;
    case 89:
        return 10007;
    case 128:
        return 932;
    case 129:
        return 949;
    case 130:
        return 1361;
    case 134:
        return 936;
    case 136:
        return 950;
    case 161:
        return 1253;
    case 162:
        return 1254;
    case 163:
        return 1258;
    case 177:
        return 1255;
    case 178:
        return 1256;
    case 186:
        return 1257;
    case 204:
        return 1251;
    case 222:
        return 874;
    case 238:
        return 1250;
    case 254:
        return 437;
    case 255:
        return 850;
    default:
        return 0;
    }
}

QStringDecoder* CodePageDecoders::decoderFor(int codePage)
{
    auto it = m_decoders.constFind(codePage);
    if (it != m_decoders.constEnd()) {
        return it.value().get();
    }
    auto decoder = std::make_shared<QStringDecoder>(codecName(codePage).toLatin1().constData(),
                                                    QStringDecoder::Flag::Stateless);
    if (!decoder->isValid()) {
        decoder.reset();
    }
    m_decoders.insert(codePage, decoder);
    return decoder.get();
}

char16_t symbolFontCharacter(int codePage, unsigned char byte)
{
    char16_t c = 0;
    if (codePage == kCodePageSymbol && byte >= 0x20) {
        c = kSymbol[byte - 0x20];
    } else if (codePage == kCodePageWingdings) {
        c = wingdingsBullet(byte);
    }
    return c != 0 ? c : char16_t(0xF000 + byte);
}

char16_t symbolFontCodePoint(int codePage, char16_t c)
{
    if (c < 0xF020 || c > 0xF0FF || !isSymbolFontCodePage(codePage)) {
        return c;
    }
    return symbolFontCharacter(codePage, static_cast<unsigned char>(c - 0xF000));
}

bool CodePageDecoders::decode(int codePage, QByteArrayView bytes, QString& out)
{
    if (isSymbolFontCodePage(codePage)) {
        for (const char b : bytes) {
            out.append(QChar(symbolFontCharacter(codePage, static_cast<unsigned char>(b))));
        }
        return false;
    }
    if (isAscii(bytes)) {
        out.append(QLatin1StringView(bytes.data(), bytes.size()));
        return true;
    }
    if (codePage != 1252) {
        if (QStringDecoder* decoder = decoderFor(codePage)) {
            out.append(decoder->decode(bytes));
            return false;
        }
    }
    const qsizetype old = out.size();
    out.resize(old + bytes.size());
    QChar* dst = out.data() + old;
    for (const char b : bytes) {
        const auto u = static_cast<unsigned char>(b);
        *dst++ = QChar(windows1252Character(u));
    }
    return false;
}

} // namespace folioneer::rtf
