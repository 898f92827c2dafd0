// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "rtf/rtf_writer.h"

#include "rtf/rtf_list_markers.h"
#include "rtf/rtf_units.h"
#include "support/text_codec.h"

#include <QBuffer>
#include <QColor>
#include <QCoreApplication>
#include <QFileDevice>
#include <QHash>
#include <QIODevice>
#include <QImage>
#include <QPixmap>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextList>
#include <QTextTable>
#include <QUrl>

#include <cmath>

#ifndef FOLIONEER_VERSION_STRING
#define FOLIONEER_VERSION_STRING "0"
#endif

namespace folioneer::rtf {

namespace {

// Lines are broken once they pass the soft length, at the next place where a line break cannot
// change the meaning: before a control word or brace, or after a space in text. Text without
// spaces is broken between two characters at the hard length. No unit of output is longer than
// a few dozen bytes, so lines stay short.
constexpr qsizetype kSoftLineLength = 160;
constexpr qsizetype kHardLineLength = 200;
constexpr int kHexBytesPerLine = 64;
// The text width of a Letter or A4 page with the usual margins, for tables without fixed widths.
constexpr double kTableWidthTwips = 9360.0;

QString tr(const char* text)
{
    return QCoreApplication::translate("RtfWriter", text);
}

constexpr char kHexDigits[] = "0123456789abcdef";

int toTwips(qreal pixels)
{
    return static_cast<int>(std::lround(pixels * kTwipsPerPixel));
}

// Appends RTF to a buffer and keeps the two lexical rules that make output safe to read:
// a control word is followed by a delimiter space only when the next character would
// otherwise extend it (a letter, digit, space or '-'), and a line break goes only where a
// reader ignores it (before '\', '{' or '}', or between two text characters).
class Emitter {
public:
    explicit Emitter(qsizetype expectedSize) { m_out.reserve(expectedSize); }

    void word(const char* name)
    {
        breakIfLong();
        m_out.append(name);
        m_afterWord = true;
    }

    void word(const char* name, qint64 parameter)
    {
        breakIfLong();
        m_out.append(name);
        appendNumber(parameter);
        m_afterWord = true;
    }

    /// A prepared sequence of control words (each starting with '\').
    void words(const QByteArray& sequence)
    {
        if (sequence.isEmpty()) {
            return;
        }
        breakIfLong();
        m_out.append(sequence);
        m_afterWord = true;
    }

    void open()
    {
        breakIfLong();
        m_out.append('{');
        m_afterWord = false;
    }

    void close()
    {
        breakIfLong();
        m_out.append('}');
        m_afterWord = false;
    }

    void newline()
    {
        m_out.append("\r\n", 2);
        m_lineStart = m_out.size();
        m_afterWord = false;
    }

    /// A control symbol or another self-delimiting sequence such as \'hh.
    void symbol(const char* sequence)
    {
        breakIfLong();
        m_out.append(sequence);
        m_afterWord = false;
    }

    /// Text as RTF: escapes, special characters as control symbols, non-ASCII as \uN with a
    /// one-character fallback (\uc1 is in force everywhere we write).
    void text(QStringView text)
    {
        const char16_t* p = reinterpret_cast<const char16_t*>(text.data());
        const char16_t* end = p + text.size();
        for (; p != end; ++p) {
            const char16_t c = *p;
            if (c >= 0x20 && c < 0x7F) {
                if (c == u'\\' || c == u'{' || c == u'}') {
                    breakIfLong();
                    m_out.append('\\');
                    m_out.append(static_cast<char>(c));
                    m_afterWord = false;
                    continue;
                }
                if (m_afterWord) {
                    if (needsDelimiter(c)) {
                        m_out.append(' ');
                    }
                    m_afterWord = false;
                } else if (const qsizetype length = m_out.size() - m_lineStart;
                           length >= kHardLineLength || (length >= kSoftLineLength && m_out.back() == ' ')) {
                    newline();
                }
                m_out.append(static_cast<char>(c));
                continue;
            }
            switch (c) {
            case u'\t':
                word("\\tab");
                continue;
            case 0x00A0:
                symbol("\\~");
                continue;
            case 0x00AD:
                symbol("\\-");
                continue;
            case 0x2011:
                symbol("\\_");
                continue;
            case 0x2028:
                word("\\line");
                continue;
            case 0x2029:                            // paragraph separators are written by the caller
            case QChar::ObjectReplacementCharacter: // objects are written by the caller
            case 0xFDD0:                            // frame start and end marks of QTextDocument
            case 0xFDD1:
                continue;
            default:
                break;
            }
            if (c < 0x20) {
                continue; // other C0 controls have no place in a document
            }
            if (QChar::isHighSurrogate(c) && p + 1 != end && QChar::isLowSurrogate(p[1])) {
                unicode(c, 0);
                ++p;
                unicode(*p, 0);
                continue;
            }
            if (QChar::isSurrogate(c)) {
                unicode(0xFFFD, 0); // a lone surrogate is not a character
                continue;
            }
            unicode(c, windows1252Byte(c));
        }
    }

    /// Binary data as hex in lines of their own (inside a \pict destination, where line
    /// breaks are ignored).
    void hex(const QByteArray& data)
    {
        const auto* bytes = reinterpret_cast<const unsigned char*>(data.constData());
        const qsizetype n = data.size();
        m_out.reserve(m_out.size() + n * 2 + (n / kHexBytesPerLine + 2) * 2 + 1);
        if (m_afterWord) {
            m_out.append(' '); // some readers take a line end after a control word as part of it
        }
        for (qsizetype i = 0; i < n; i += kHexBytesPerLine) {
            newline();
            const qsizetype lineEnd = std::min(n, i + kHexBytesPerLine);
            for (qsizetype j = i; j < lineEnd; ++j) {
                m_out.append(kHexDigits[bytes[j] >> 4]);
                m_out.append(kHexDigits[bytes[j] & 0xF]);
            }
        }
        newline();
    }

    QByteArray& buffer() { return m_out; }

private:
    static bool needsDelimiter(char16_t c)
    {
        return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') ||
               c == u' ' || c == u'-';
    }

    void breakIfLong()
    {
        if (m_out.size() - m_lineStart >= kSoftLineLength) {
            newline();
        }
    }

    // \uN with N as a signed 16-bit number, then exactly one fallback character: the
    // Windows-1252 byte where there is one, else '?'. Written as one unit so that no line
    // break separates a \u from its fallback.
    void unicode(char16_t unit, unsigned char fallback)
    {
        breakIfLong();
        m_out.append("\\u", 2);
        appendNumber(static_cast<int16_t>(unit));
        if (fallback != 0) {
            m_out.append("\\'", 2);
            m_out.append(kHexDigits[fallback >> 4]);
            m_out.append(kHexDigits[fallback & 0xF]);
        } else {
            m_out.append('?');
        }
        m_afterWord = false;
    }

    void appendNumber(qint64 value)
    {
        char digits[24];
        int length = 0;
        const bool negative = value < 0;
        quint64 magnitude = negative ? 0 - static_cast<quint64>(value) : static_cast<quint64>(value);
        do {
            digits[length++] = static_cast<char>('0' + magnitude % 10);
            magnitude /= 10;
        } while (magnitude != 0);
        if (negative) {
            m_out.append('-');
        }
        while (length > 0) {
            m_out.append(digits[--length]);
        }
    }

    QByteArray m_out;
    qsizetype m_lineStart = 0;
    bool m_afterWord = false;
};

// True when `text` has a character the writer puts out (see Emitter::text): runs without one
// are left out whole, so that no font, colour or empty group is written for them.
bool hasWritableText(QStringView text)
{
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if ((u >= 0x20 || u == u'\t') && u != 0x2029 && u != QChar::ObjectReplacementCharacter &&
            u != 0xFDD0 && u != 0xFDD1) {
            return true;
        }
    }
    return false;
}

// What a character format turns into, computed once per format of the document.
struct RunFormat {
    QByteArray words; ///< control words of the run, empty for default text
    QString href;     ///< hyperlink target, empty when the run is no link
};

QString firstFamily(const QTextCharFormat& format)
{
    const QStringList families = format.fontFamilies().toStringList();
    if (!families.isEmpty() && !families.first().isEmpty()) {
        return families.first();
    }
    return format.property(QTextFormat::FontFamily).toString(); // set by older code paths
}

// The font family of the first text of a document, empty when it has none or names none.
QString firstTextFamily(const QTextDocument& document)
{
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (fragment.isValid() && !fragment.charFormat().isImageFormat() &&
                hasWritableText(fragment.text())) {
                return firstFamily(fragment.charFormat()).trimmed();
            }
        }
    }
    return {};
}

// Writes one document. The body is written first, collecting fonts and colours as they are
// met; the header with the font and colour tables is put in front of it at the end.
class DocumentWriter {
public:
    DocumentWriter(const QTextDocument& document, const WriteOptions& options)
        : m_document(document), m_options(options), m_body(document.characterCount() + 4096)
    {
        const QFont font = document.defaultFont();
        m_defaultFamily = font.family().trimmed();
        m_defaultPointSize = font.pointSizeF() > 0 ? font.pointSizeF() : 12.0;
        // \f0 is the font of the document's first text: usually the default font, and when a
        // reader names every run's font (ours does), still the same font after a round trip,
        // so that saving a document read from our own output repeats that output exactly.
        const QString first = firstTextFamily(document);
        const QString f0 = first.isEmpty() ? m_defaultFamily : first;
        m_fonts.append(f0);
        m_fontIndex.insert(f0, 0);
    }

    QByteArray write()
    {
        m_lastBlock = m_document.lastBlock();
        writeFrame(m_document.rootFrame());
        return assemble();
    }

private:
    void writeFrame(const QTextFrame* frame)
    {
        for (auto it = frame->begin(); !it.atEnd(); ++it) {
            if (const QTextFrame* child = it.currentFrame()) {
                if (const auto* table = qobject_cast<const QTextTable*>(child)) {
                    writeTable(*table);
                } else {
                    writeFrame(child); // other frames only group blocks; their blocks are kept
                }
                continue;
            }
            const QTextBlock block = it.currentBlock();
            if (!block.isValid()) {
                continue;
            }
            writeBlock(block, false);
            // In a file the last paragraph has its \par too; on the clipboard it has none, so
            // that pasting does not add an empty paragraph.
            if (!(m_options.clipboard && block == m_lastBlock)) {
                m_body.word("\\par");
            }
            m_body.newline();
        }
    }

    void writeTable(const QTextTable& table)
    {
        const int rows = table.rows();
        const int columns = table.columns();
        const QList<int> edges = columnEdges(table);
        for (int r = 0; r < rows; ++r) {
            m_body.word("\\trowd");
            m_body.word("\\trgaph", 108);
            m_body.word("\\trleft", 0);
            for (int c = 0; c < columns; ++c) {
                const QTextTableCell cell = table.cellAt(r, c);
                if (cell.column() != c) {
                    continue; // covered by a cell spanning columns
                }
                if (cell.rowSpan() > 1) {
                    m_body.word(cell.row() == r ? "\\clvmgf" : "\\clvmrg");
                }
                m_body.word("\\cellx", edges[std::min(columns, c + cell.columnSpan())]);
            }
            for (int c = 0; c < columns; ++c) {
                const QTextTableCell cell = table.cellAt(r, c);
                if (cell.column() != c) {
                    continue;
                }
                if (cell.row() != r) {
                    // The continuation of a cell spanning rows: an empty cell.
                    m_body.word("\\pard");
                    m_body.word("\\intbl");
                    m_body.word("\\cell");
                    continue;
                }
                QList<QTextBlock> blocks;
                collectBlocks(cell.begin(), cell.end(), blocks);
                for (qsizetype i = 0; i < blocks.size(); ++i) {
                    writeBlock(blocks[i], true);
                    m_body.word(i + 1 < blocks.size() ? "\\par" : "\\cell");
                }
            }
            m_body.word("\\row");
            m_body.newline();
        }
    }

    // The right edges of the columns in twips, from the table's width constraints where it
    // has them; edges[0] is the left edge.
    static QList<int> columnEdges(const QTextTable& table)
    {
        const int columns = std::max(1, table.columns());
        const QList<QTextLength> constraints = table.format().columnWidthConstraints();
        QList<double> widths(columns, -1.0);
        double fixed = 0.0;
        int variable = 0;
        for (int c = 0; c < columns; ++c) {
            if (c < constraints.size() && constraints[c].type() == QTextLength::FixedLength) {
                widths[c] = constraints[c].rawValue() * kTwipsPerPixel;
            } else if (c < constraints.size() && constraints[c].type() == QTextLength::PercentageLength) {
                widths[c] = constraints[c].rawValue() * kTableWidthTwips / 100.0;
            }
            if (widths[c] > 0) {
                fixed += widths[c];
            } else {
                ++variable;
            }
        }
        const double share =
            variable > 0 ? std::max(kTableWidthTwips - fixed, 360.0 * variable) / variable : 0;
        QList<int> edges{0};
        double edge = 0.0;
        for (int c = 0; c < columns; ++c) {
            edge += widths[c] > 0 ? widths[c] : share;
            edges.append(std::max(edges.last() + 1, static_cast<int>(std::lround(edge))));
        }
        return edges;
    }

    // The blocks of a table cell in order; a table nested in the cell gives its cells' blocks
    // (tables are written one level deep).
    static void collectBlocks(QTextFrame::iterator it, const QTextFrame::iterator& end,
                              QList<QTextBlock>& blocks)
    {
        for (; it != end; ++it) {
            if (const QTextFrame* child = it.currentFrame()) {
                if (const auto* table = qobject_cast<const QTextTable*>(child)) {
                    for (int r = 0; r < table->rows(); ++r) {
                        for (int c = 0; c < table->columns(); ++c) {
                            const QTextTableCell cell = table->cellAt(r, c);
                            if (cell.row() == r && cell.column() == c) {
                                collectBlocks(cell.begin(), cell.end(), blocks);
                            }
                        }
                    }
                } else {
                    collectBlocks(child->begin(), child->end(), blocks);
                }
            } else if (it.currentBlock().isValid()) {
                blocks.append(it.currentBlock());
            }
        }
    }

    void writeBlock(const QTextBlock& block, bool inTable)
    {
        m_body.word("\\pard");
        if (inTable) {
            m_body.word("\\intbl");
        }
        m_body.words(paragraphWords(block.blockFormat(), block.textList() != nullptr));
        if (const QTextList* list = block.textList()) {
            writeListMarker(*list, block);
        }

        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.isValid()) {
                continue;
            }
            const QString text = fragment.text();
            if (fragment.charFormat().isImageFormat()) {
                const QTextImageFormat image = fragment.charFormat().toImageFormat();
                const Picture picture = pictureOf(image);
                if (picture.png.isEmpty()) {
                    continue; // nothing we can save: the image is dropped rather than the document
                }
                switchLink(runFormat(fragment).href);
                switchRun({});
                for (const QChar c : text) {
                    if (c == QChar::ObjectReplacementCharacter) {
                        writePicture(picture);
                    }
                }
                continue;
            }
            if (!hasWritableText(text)) {
                continue;
            }
            const RunFormat& run = runFormat(fragment);
            switchLink(run.href);
            switchRun(run.words);
            m_body.text(text);
        }
        switchRun({});
        switchLink({});
    }

    void switchRun(const QByteArray& words)
    {
        if (words == m_openRun) {
            return;
        }
        if (!m_openRun.isEmpty()) {
            m_body.close();
        }
        m_openRun = words;
        if (!words.isEmpty()) {
            m_body.open();
            m_body.words(words);
        }
    }

    // Links are HYPERLINK fields whose result holds the link's runs.
    void switchLink(const QString& href)
    {
        if (href == m_openLink) {
            return;
        }
        switchRun({});
        if (!m_openLink.isEmpty()) {
            m_body.close();
            m_body.close();
        }
        m_openLink = href;
        if (href.isEmpty()) {
            return;
        }
        QString target = href;
        // Field instructions quote their argument and treat '\' as an escape: keep both out.
        target.replace(u'"', QLatin1String("%22")).replace(u'\\', QLatin1String("%5C"));
        m_body.open();
        m_body.word("\\field");
        m_body.open();
        m_body.word("\\*");
        m_body.word("\\fldinst");
        m_body.open();
        m_body.text(QString(QLatin1String("HYPERLINK \"") + target + u'"'));
        m_body.close();
        m_body.close();
        m_body.open();
        m_body.word("\\fldrslt");
    }

    // The legacy list form that Word, LibreOffice and the Windows rich-text controls all
    // read: the marker as shown ({\pntext}) and the numbering it comes from ({\*\pn}).
    void writeListMarker(const QTextList& list, const QTextBlock& block)
    {
        const QTextListFormat format = list.format();
        // The marker exactly as the plain text shows it, so the export of a saved section
        // keeps it; the numbering behind it goes to {\*\pn} for word processors.
        QString marker = listItemMarker(block);
        if (marker.isEmpty()) {
            marker = list.itemText(block);
        }
        const NumberFormat numbering = writtenNumbering(format, marker);
        const bool numbered = numbering != NumberFormat::Bullet;
        if (marker.isEmpty()) {
            marker = QString(QChar(0x2022));
        }
        // The usual bullet goes as the Symbol font's bullet, which every reader maps back.
        const bool symbolBullet = !numbered && marker == QString(QChar(0x2022));
        const auto writeMarker = [&] {
            if (symbolBullet) {
                m_body.symbol("\\'b7");
            } else {
                m_body.text(marker);
            }
        };
        // Nesting: the reader builds one list per level, and Qt indents each level by itself.
        if (format.indent() > 1) {
            m_body.word("\\ilvl", std::min(format.indent() - 1, 8));
        }
        m_body.open();
        m_body.word("\\pntext");
        m_body.word("\\f", symbolBullet ? symbolFont() : 0);
        writeMarker();
        m_body.word("\\tab");
        m_body.close();

        m_body.open();
        m_body.word("\\*");
        m_body.word("\\pn");
        if (!numbered) {
            m_body.word("\\pnlvlblt");
            m_body.word("\\pnf", symbolBullet ? symbolFont() : 0);
            m_body.word("\\pnindent", 0);
            m_body.open();
            m_body.word("\\pntxtb");
            writeMarker();
            m_body.close();
        } else {
            m_body.word("\\pnlvlbody");
            m_body.word("\\pnf", 0);
            m_body.word("\\pnindent", 0);
            m_body.word("\\pnstart", 1);
            switch (numbering) {
            case NumberFormat::LowerLetter:
                m_body.word("\\pnlcltr");
                break;
            case NumberFormat::UpperLetter:
                m_body.word("\\pnucltr");
                break;
            case NumberFormat::LowerRoman:
                m_body.word("\\pnlcrm");
                break;
            case NumberFormat::UpperRoman:
                m_body.word("\\pnucrm");
                break;
            default:
                m_body.word("\\pndec");
                break;
            }
            const ListAffixes affixes = writtenAffixes(format);
            if (!affixes.prefix.isEmpty()) {
                m_body.open();
                m_body.word("\\pntxtb");
                m_body.text(affixes.prefix);
                m_body.close();
            }
            if (!affixes.suffix.isEmpty()) {
                m_body.open();
                m_body.word("\\pntxta");
                m_body.text(affixes.suffix);
                m_body.close();
            }
        }
        m_body.close();
    }

    struct Picture {
        QByteArray png; ///< empty when the image cannot be saved
        QSize pixels;   ///< the PNG's own size
        QSizeF shown;   ///< the size it is shown at, in pixels
    };

    // The image of a format as PNG with its sizes; an empty picture when the document has no
    // such image or it cannot be encoded.
    Picture pictureOf(const QTextImageFormat& format) const
    {
        QByteArray png;
        QSize pixels;
        const QVariant resource = m_document.resource(QTextDocument::ImageResource, QUrl(format.name()));
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

    void writePicture(const Picture& picture)
    {
        m_body.open();
        m_body.word("\\pict");
        m_body.word("\\pngblip");
        m_body.word("\\picw", picture.pixels.width());
        m_body.word("\\pich", picture.pixels.height());
        m_body.word("\\picwgoal", toTwips(picture.shown.width()));
        m_body.word("\\pichgoal", toTwips(picture.shown.height()));
        m_body.hex(picture.png);
        m_body.close();
    }

    const RunFormat& runFormat(const QTextFragment& fragment)
    {
        const int index = fragment.charFormatIndex();
        auto it = m_runFormats.find(index);
        if (it == m_runFormats.end()) {
            it = m_runFormats.insert(index, makeRunFormat(fragment.charFormat()));
        }
        return *it;
    }

    RunFormat makeRunFormat(const QTextCharFormat& format)
    {
        RunFormat run;
        if (format.isAnchor()) {
            run.href = format.anchorHref();
        }
        if (format.isImageFormat()) {
            return run; // a picture's own words are written with the picture
        }
        QByteArray& w = run.words;
        // Readers trim font names, so names are written trimmed.
        QString family = firstFamily(format).trimmed();
        if (family.isEmpty()) {
            family = m_defaultFamily;
        }
        const int font = fontIndex(family);
        if (font != 0) {
            w += "\\f" + QByteArray::number(font);
        }
        const double points = format.fontPointSize() > 0 ? format.fontPointSize() : m_defaultPointSize;
        const int halfPoints =
            std::clamp(static_cast<int>(std::lround(points * 2)), kMinHalfPoints, kMaxHalfPoints);
        if (halfPoints != kDefaultHalfPoints) {
            w += "\\fs" + QByteArray::number(halfPoints);
        }
        if (format.fontWeight() >= QFont::DemiBold) {
            w += "\\b";
        }
        if (format.fontItalic()) {
            w += "\\i";
        }
        switch (format.underlineStyle()) {
        case QTextCharFormat::SingleUnderline:
            w += "\\ul";
            break;
        case QTextCharFormat::DashUnderline:
            w += "\\uldash";
            break;
        case QTextCharFormat::DotLine:
            w += "\\uld";
            break;
        case QTextCharFormat::DashDotLine:
            w += "\\uldashd";
            break;
        case QTextCharFormat::DashDotDotLine:
            w += "\\uldashdd";
            break;
        case QTextCharFormat::WaveUnderline:
            w += "\\ulwave";
            break;
        default:
            break; // none, and the spell checker's marks, which are not part of the text
        }
        if (format.fontStrikeOut()) {
            w += "\\strike";
        }
        switch (format.fontCapitalization()) {
        case QFont::AllUppercase:
            w += "\\caps";
            break;
        case QFont::SmallCaps:
            w += "\\scaps";
            break;
        default:
            break;
        }
        switch (format.verticalAlignment()) {
        case QTextCharFormat::AlignSuperScript:
            w += "\\super";
            break;
        case QTextCharFormat::AlignSubScript:
            w += "\\sub";
            break;
        default:
            break;
        }
        if (format.hasProperty(QTextFormat::ForegroundBrush) && format.foreground().style() != Qt::NoBrush) {
            w += "\\cf" + QByteArray::number(colorIndex(format.foreground().color()));
        }
        if (format.hasProperty(QTextFormat::BackgroundBrush) && format.background().style() != Qt::NoBrush) {
            w += "\\highlight" + QByteArray::number(colorIndex(format.background().color()));
        }
        return run;
    }

    QByteArray paragraphWords(const QTextBlockFormat& format, bool inList)
    {
        QByteArray w;
        switch (format.alignment() & Qt::AlignHorizontal_Mask) {
        case Qt::AlignHCenter:
            w += "\\qc";
            break;
        case Qt::AlignRight:
        case Qt::AlignRight | Qt::AlignAbsolute:
            w += "\\qr";
            break;
        case Qt::AlignJustify:
            w += "\\qj";
            break;
        default:
            break;
        }
        // Indentation levels are folded into the left indent, the only form RTF has. A list
        // item's level is its list's (\ilvl); the block level Qt leaves on an item that moved
        // between lists is not written, or every save would indent the item further.
        const qreal left = format.leftMargin() + (inList ? 0 : format.indent() * m_document.indentWidth());
        const auto twips = [&w](const char* name, qreal pixels) {
            const int value = std::clamp(toTwips(pixels), -kMaxParagraphTwips, kMaxParagraphTwips);
            if (value != 0) {
                w += name + QByteArray::number(value);
            }
        };
        twips("\\li", left);
        twips("\\ri", format.rightMargin());
        twips("\\fi", format.textIndent());
        twips("\\sb", format.topMargin());
        twips("\\sa", format.bottomMargin());
        const qreal height = format.lineHeight();
        switch (format.lineHeightType()) {
        case QTextBlockFormat::ProportionalHeight:
            if (height > 0 && std::lround(height) != 100) {
                w += "\\sl" +
                     QByteArray::number(std::clamp(std::lround(height * kLineSpacingPerLine / 100.0), 1L,
                                                   long(kMaxParagraphTwips))) +
                     "\\slmult1";
            }
            break;
        case QTextBlockFormat::MinimumHeight:
            if (height > 0) {
                w += "\\sl" + QByteArray::number(std::clamp(toTwips(height), 1, kMaxParagraphTwips)) +
                     "\\slmult0";
            }
            break;
        case QTextBlockFormat::FixedHeight:
            if (height > 0) {
                w += "\\sl-" + QByteArray::number(std::clamp(toTwips(height), 1, kMaxParagraphTwips)) +
                     "\\slmult0";
            }
            break;
        default:
            break;
        }
        return w;
    }

    int fontIndex(const QString& family)
    {
        const auto it = m_fontIndex.constFind(family);
        if (it != m_fontIndex.constEnd()) {
            return *it;
        }
        const int index = static_cast<int>(m_fonts.size());
        m_fonts.append(family);
        m_fontIndex.insert(family, index);
        return index;
    }

    int symbolFont()
    {
        if (m_symbolFont < 0) {
            m_symbolFont = static_cast<int>(m_fonts.size());
            m_fonts.append(QString()); // written as the Symbol font with its own character set
        }
        return m_symbolFont;
    }

    // Colour 0 is the empty "automatic" entry, so real colours start at 1.
    int colorIndex(const QColor& color)
    {
        const QRgb rgb = color.rgb() & 0xFFFFFF;
        const auto it = m_colorIndex.constFind(rgb);
        if (it != m_colorIndex.constEnd()) {
            return *it;
        }
        m_colors.append(rgb);
        const int index = static_cast<int>(m_colors.size());
        m_colorIndex.insert(rgb, index);
        return index;
    }

    QByteArray assemble()
    {
        Emitter head(1024);
        head.word("{\\rtf1");
        head.word("\\ansi");
        head.word("\\ansicpg", 1252);
        head.word("\\deff", 0);
        head.word("\\uc", 1);
        head.newline();
        head.open();
        head.word("\\fonttbl");
        for (qsizetype i = 0; i < m_fonts.size(); ++i) {
            head.open();
            head.word("\\f", i);
            if (i == m_symbolFont) {
                head.word("\\ftech");
                head.word("\\fcharset", 2);
                head.text(u"Symbol;");
            } else {
                head.word("\\fnil");
                head.word("\\fcharset", 0);
                QString name = m_fonts[i];
                name.remove(u';');
                head.text(QString(name + u';'));
            }
            head.close();
        }
        head.close();
        head.newline();
        if (!m_colors.isEmpty()) {
            head.open();
            head.word("\\colortbl");
            head.text(u";");
            for (const QRgb rgb : std::as_const(m_colors)) {
                head.word("\\red", qRed(rgb));
                head.word("\\green", qGreen(rgb));
                head.word("\\blue", qBlue(rgb));
                head.text(u";");
            }
            head.close();
            head.newline();
        }
        head.open();
        head.word("\\*");
        head.word("\\generator");
        head.text(u"Folioneer " FOLIONEER_VERSION_STRING ";");
        head.close();
        head.newline();

        QByteArray out = std::move(head.buffer());
        out.append(m_body.buffer());
        out.append("}\r\n");
        return out;
    }

    const QTextDocument& m_document;
    const WriteOptions m_options;
    Emitter m_body;
    QTextBlock m_lastBlock;
    QString m_defaultFamily;
    double m_defaultPointSize = 12.0;

    QList<QString> m_fonts;
    QHash<QString, int> m_fontIndex;
    int m_symbolFont = -1;
    QList<QRgb> m_colors;
    QHash<QRgb, int> m_colorIndex;
    QHash<int, RunFormat> m_runFormats;

    QByteArray m_openRun;
    QString m_openLink;
};

} // namespace

QByteArray writeRtf(const QTextDocument& document, const WriteOptions& options)
{
    return DocumentWriter(document, options).write();
}

FileStatus writeRtf(const QTextDocument& document, QIODevice& device, const WriteOptions& options)
{
    if (!device.isOpen() || !device.isWritable()) {
        return {tr("The RTF data could not be written: the output is not open for writing.")};
    }
    const QByteArray data = writeRtf(document, options);
    qint64 written = 0;
    while (written < data.size()) {
        const qint64 n = device.write(data.constData() + written, data.size() - written);
        if (n <= 0) {
            const QString reason = device.errorString();
            return {reason.isEmpty() ? tr("The RTF data could not be written.")
                                     : tr("The RTF data could not be written: %1").arg(reason)};
        }
        written += n;
    }
    if (auto* file = qobject_cast<QFileDevice*>(&device); file != nullptr && !file->flush()) {
        return {tr("The RTF data could not be written: %1").arg(file->errorString())};
    }
    return {};
}

} // namespace folioneer::rtf
