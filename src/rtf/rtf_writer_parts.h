// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "rtf/rtf_emitter.h"
#include "support/units.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QRgb>
#include <QSize>
#include <QSizeF>
#include <QString>

#include <cmath>

class QColor;
class QTextBlock;
class QTextBlockFormat;
class QTextCharFormat;
class QTextDocument;
class QTextFragment;
class QTextImageFormat;
class QTextList;

namespace folioneer::rtf {

// The parts of the RTF writer; rtf_writer.cpp walks the document and calls them.

inline int toTwips(qreal pixels)
{
    return static_cast<int>(std::lround(pixels * kTwipsPerPixel));
}

/// True when `text` has a character the writer puts out (see Emitter::text): runs without one
/// are left out whole, so that no font, colour or empty group is written for them.
bool hasWritableText(QStringView text);

/// What a character format turns into, computed once per format of the document.
struct RunFormat {
    QByteArray words; ///< control words of the run, empty for default text
    QString href;     ///< hyperlink target, empty when the run is no link
};

// Character and paragraph formats as control words (rtf_writer_formats.cpp), and the font and
// colour tables they collect as the body is written: \f0 is the font of the document's first
// text, the Symbol font is added when a bullet needs it, colour 0 is "automatic".
class CharacterFormats {
public:
    explicit CharacterFormats(const QTextDocument& document);

    const RunFormat& runFormat(const QTextFragment& fragment);
    /// A paragraph's alignment, indents, spacing and line height (lengths in twips).
    QByteArray paragraphWords(const QTextBlockFormat& format, bool inList) const;
    /// The font number of the Symbol font, added to the table on first use.
    int symbolFont();
    /// The {\fonttbl} and, when a colour was used, the {\colortbl}.
    void writeTables(Emitter& head) const;

private:
    RunFormat makeRunFormat(const QTextCharFormat& format);
    int fontIndex(const QString& family);
    int colorIndex(const QColor& color);

    const QTextDocument& m_document;
    QString m_defaultFamily;
    double m_defaultPointSize = 12.0;
    QList<QString> m_fonts;
    QHash<QString, int> m_fontIndex;
    int m_symbolFont = -1;
    QList<QRgb> m_colors;
    QHash<QRgb, int> m_colorIndex;
    QHash<int, RunFormat> m_runFormats;
};

/// Writes a list item's marker in the legacy form every reader reads ({\pntext} and {\*\pn})
/// (rtf_writer_lists.cpp).
void writeListMarker(Emitter& out, const QTextList& list, const QTextBlock& block, CharacterFormats& formats);

/// An image of the document as the writer saves it (rtf_writer_pictures.cpp).
struct WrittenPicture {
    QByteArray png; ///< empty when the image cannot be saved
    QSize pixels;   ///< the PNG's own size
    QSizeF shown;   ///< the size it is shown at, in pixels
};

/// The image of a format as PNG with its sizes; an empty picture when the document has no such
/// image or it cannot be encoded.
WrittenPicture pictureOf(const QTextDocument& document, const QTextImageFormat& format);
void writePicture(Emitter& out, const WrittenPicture& picture);

} // namespace folioneer::rtf
