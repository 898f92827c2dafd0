// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "rtf/rtf.h"
#include "rtf/rtf_number_format.h"
#include "support/units.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QRgb>
#include <QString>
#include <QStringView>

#include <cstdint>
#include <memory>
#include <vector>

namespace folioneer::rtf {

class Tokenizer;
enum class Word : std::uint8_t;
struct GroupState;

/// Bounds that keep hostile input cheap; tests lower them.
struct ReaderLimits {
    int maxDepth = 1000;                          ///< pushed group levels; deeper braces are only counted
    int maxFonts = 16384;                         ///< font-table entries
    int maxColours = 4096;                        ///< colour-table entries
    int maxLists = 4096;                          ///< list definitions and overrides
    qsizetype maxPictureBytes = 64 * 1024 * 1024; ///< hex digits or binary bytes of one picture
    int maxFieldInstruction = 8192;               ///< characters of a field instruction kept
};

enum class Underline : std::uint8_t {
    None,
    Single,
    Double,
    Dotted,
    Dash,
    DashDot,
    DashDotDot,
    Wave,
    Thick,
    Words
};
enum class VerticalPosition : std::uint8_t { Normal, Super, Sub };
enum class Alignment : std::uint8_t { Left, Center, Right, Justify };
enum class FontFamily : std::uint8_t { Any, Roman, Swiss, Modern, Script, Decor, Tech };

/// The font number of text that uses the document's default font (\deff).
constexpr int kDefaultFont = -2147483647 - 1;

/// Character properties of a run (colour and font are indexes into the document's tables).
struct CharFormat {
    int font = kDefaultFont; ///< font numbers may be negative
    int sizeHalfPoints = kDefaultHalfPoints;
    int foreground = 0; ///< colour-table index, 0 = automatic
    int background = 0; ///< colour-table index, 0 = none
    int link = -1;      ///< index into DocumentTables::links
    Underline underline = Underline::None;
    VerticalPosition vertical = VerticalPosition::Normal;
    bool bold = false;
    bool italic = false;
    bool strike = false;
    bool caps = false;
    bool smallCaps = false;
    bool hidden = false;
    bool deleted = false;
    bool operator==(const CharFormat&) const = default;
};

/// Paragraph properties in effect when a paragraph ends (lengths in twips).
struct ParagraphFormat {
    Alignment alignment = Alignment::Left;
    int leftIndent = 0;
    int rightIndent = 0;
    int firstIndent = 0;
    int spaceBefore = 0;
    int spaceAfter = 0;
    int lineSpacing = 0; ///< \sl: 0 single, >0 at least (or multiple), <0 exactly
    bool lineMultiple = false;
    bool inTable = false;
    int tableLevel = 0;
    int listOverride = 0;    ///< \ls, 0 = none
    bool legacyList = false; ///< numbered or bulleted by an old-style \pn
    int listLevel = 0;
    int outlineLevel = -1; ///< \outlinelevel: 0 for a first-level heading, -1 for body text
    bool operator==(const ParagraphFormat&) const = default;
};

struct FontInfo {
    QString name;
    int charset = -1;
    int codePage = 0; ///< \cpg
    FontFamily family = FontFamily::Any;
};

struct ColourEntry {
    bool automatic = true;
    QRgb rgb = 0;
};

/// The tables a document declares; sinks resolve CharFormat indexes through them.
struct DocumentTables {
    QHash<int, FontInfo> fonts;
    int defaultFont = 0;
    QList<ColourEntry> colours;
    QStringList links;
    /// Counts the changes to the fonts and colours. A document may declare a table after text
    /// that uses it; a sink that keeps resolved formats resolves them again once this changes.
    /// Links only grow, and a format only names a link that exists.
    quint64 revision = 0;
};

struct ListMarker {
    QString text; ///< as shown, without the TAB that follows it
    int listOverride = 0;
    int level = 0;
    /// The number format the document declares for the item.
    NumberFormat numbering = NumberFormat::Unknown;
    /// The text the document declares before and after a numbered item's number (legacy
    /// \pntxtb and \pntxta, at most kMaxListAffixLength characters each).
    QString prefix;
    QString suffix;
};

enum class PictureKind : std::uint8_t { Other, Png, Jpeg };

struct Picture {
    QByteArray data;
    PictureKind kind = PictureKind::Other;
    int width = 0, height = 0;         ///< \picw, \pich
    int widthGoal = 0, heightGoal = 0; ///< twips
    int scaleX = 100, scaleY = 100;    ///< percent
};

// What the interpreter reports. Sinks see the document's visible content in order: tables
// already flattened to tabs, list markers separate from the text, and paragraph ends. The
// interpreter alone decides which characters a document holds, so every sink agrees.
class Sink {
public:
    virtual ~Sink() = default;
    virtual void begin(const DocumentTables& tables) { m_tables = &tables; }
    /// Whether text must be split where character properties change.
    virtual bool wantsFormats() const { return false; }
    /// Whether picture data is wanted (otherwise pictures are skipped unread).
    virtual bool wantsPictures() const { return false; }
    virtual void text(QStringView text, const CharFormat& format) = 0;
    virtual void lineBreak(const CharFormat& format) = 0;
    /// An optional hyphen (\- or U+00AD): shown only where a line breaks, so not in plain text.
    virtual void softHyphen(const CharFormat&) {}
    virtual void listMarker(const ListMarker& marker, const CharFormat& format) = 0;
    virtual void paragraphEnd(const ParagraphFormat& format) = 0;
    virtual void picture(const Picture&, const CharFormat&) {}
    /// The end of the document. When it ended with a paragraph mark, that mark produces no
    /// further (empty) paragraph.
    virtual void finish(const ParagraphFormat& lastParagraph, bool endedWithParagraphMark) = 0;

protected:
    const DocumentTables* m_tables = nullptr;
};

/// Where the RTF document begins in `bytes` (after an optional UTF-8 BOM and white space), or -1.
int rtfStart(const QByteArray& bytes);

// Runs the RTF group and destination rules over a byte buffer and reports the visible content
// to a sink. One explicit stack of group states (no recursion per group), linear in the input.
// It knows nothing about QTextDocument. One interpreter reads one document. Its parts:
// rtf_control_words (which words there are), rtf_font_table (fonts and code pages),
// rtf_list_table and rtf_legacy_numbering (list markers from definitions), and
// rtf_paragraph_assembler (paragraphs, markers and tables as a sink sees them). This class
// keeps the groups and destinations, decodes text, and dispatches words by family
// (rtf_interpreter_words.cpp).
class Interpreter {
public:
    explicit Interpreter(Sink& sink, const ReaderLimits& limits = {});
    ~Interpreter();
    Interpreter(const Interpreter&) = delete;
    Interpreter& operator=(const Interpreter&) = delete;

    /// Reads `rtf`. With rawTextIsUtf8, 8-bit text bytes (not \'hh escapes) are UTF-8: RTF that
    /// arrived as a string whose non-ASCII characters are already themselves.
    ReadStatus run(const QByteArray& rtf, bool rawTextIsUtf8 = false);

private:
    struct Parts;

    // Groups and destinations (rtf_interpreter.cpp).
    void openGroup();
    /// Returns true when the document's outermost group closed.
    bool closeGroup();
    void skipDestination(Tokenizer& tokenizer);
    GroupState& state();

    // Text: bytes decoded through the current font's code page, \u characters, and where the
    // text of each destination goes (rtf_interpreter.cpp).
    void hexByte(std::uint8_t value);
    void addBytes(const char* bytes, int length);
    void flushBytes();
    void emitText(QStringView text);
    void emitChar(char16_t c) { emitText(QStringView(&c, 1)); }
    void emitUnicode(int value);
    void emitDecoded(QStringView text);
    /// A high surrogate waiting for its low half becomes U+FFFD when anything else comes.
    void resolveSurrogate();
    void lineBreak();
    void softHyphen();
    void paragraphBreak();
    void pictureBytes(const char* bytes, int length);
    void pictureBinary(const char* bytes, int length);
    void finishFieldInstruction();

    // Control words and symbols, by family (rtf_interpreter_words.cpp).
    void handleWord(Tokenizer& tokenizer, Word word, bool hasParameter, int parameter);
    void handleSymbol(char symbol);
    void destinationWord(Tokenizer& tokenizer, Word word);
    void listTableWord(Word word, int value);
    void legacyWord(Word word, int value);
    void characterWord(Word word, bool on, bool hasParameter, int value);
    void paragraphWord(Word word, bool on, int value);
    void breakWord(Word word);
    void symbolWord(Word word);
    void encodingWord(Word word, bool hasParameter, int value);
    void colourWord(Word word, int value);
    void pictureWord(Word word, int value);

    Sink& m_sink;
    ReaderLimits m_limits;
    DocumentTables m_tables;
    std::unique_ptr<Parts> m_parts; ///< font table, list tables, paragraph assembler, decoders

    /// The group stack: the document's group at the bottom. Groups deeper than
    /// ReaderLimits::maxDepth are only counted (m_overflow) and share their parent's state.
    std::vector<GroupState> m_stack;
    int m_overflow = 0;
    bool m_star = false;             ///< a \* came: an unknown word next skips its group
    bool m_firstInGroup = false;     ///< nothing but '{' came since the group opened
    bool m_documentClosed = false;   ///< the document's outermost group closed
    bool m_closingAtEnd = false;     ///< closing groups the truncated input left open
    ParagraphFormat m_lastParagraph; ///< properties in force when the document's group closed

    // Text decoding.
    bool m_rawUtf8 = false;
    int m_skip = 0;               ///< fallback characters still to skip after \u
    char16_t m_highSurrogate = 0; ///< a \u high surrogate waiting for its low half
    QByteArray m_bytes;           ///< text bytes not yet decoded, all in m_bytesCodePage
    int m_bytesCodePage = 0;
    QString m_decoded;

    // Destinations read by the interpreter itself.
    QString m_fieldInstruction;
    ColourEntry m_colour;
    QString m_levelText;
    bool m_inListOverride = false;
    Picture m_picture;
    bool m_pictureTooBig = false;
    int m_pictureNibble = -1;
};

} // namespace folioneer::rtf
