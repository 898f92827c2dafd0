// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "paste/markdown_reader.h"

#include "paste/html_reader.h"

#include <QRegularExpression>
#include <QTextDocument>

#include <md4c.h>

namespace folioneer::paste {

namespace {

// GitHub's dialect with raw HTML off: HTML in a chat answer is shown as text, never imported.
constexpr unsigned kFlags = MD_DIALECT_GITHUB | MD_FLAG_NOHTML;

QString attributeText(const MD_ATTRIBUTE& attribute)
{
    return QString::fromUtf8(attribute.text, static_cast<qsizetype>(attribute.size));
}

// What md4c found, for the question whether a text is Markdown at all.
struct Findings {
    int headings = 0;
    int fencedBlocks = 0;
    int tables = 0;
    int spans = 0;
};

int countBlock(MD_BLOCKTYPE type, void* detail, void* userdata)
{
    auto* findings = static_cast<Findings*>(userdata);
    switch (type) {
    case MD_BLOCK_H:
        ++findings->headings;
        break;
    case MD_BLOCK_CODE:
        if (static_cast<MD_BLOCK_CODE_DETAIL*>(detail)->fence_char != 0) {
            ++findings->fencedBlocks;
        }
        break;
    case MD_BLOCK_TABLE:
        ++findings->tables;
        break;
    default:
        break;
    }
    return 0;
}

int countSpan(MD_SPANTYPE type, void*, void* userdata)
{
    if (type == MD_SPAN_EM || type == MD_SPAN_STRONG || type == MD_SPAN_CODE) {
        ++static_cast<Findings*>(userdata)->spans;
    }
    return 0;
}

int ignoreBlock(MD_BLOCKTYPE, void*, void*)
{
    return 0;
}

int ignoreSpan(MD_SPANTYPE, void*, void*)
{
    return 0;
}

int ignoreText(MD_TEXTTYPE, const MD_CHAR*, MD_SIZE, void*)
{
    return 0;
}

// md4c reports setext headings and unclosed fences like the others; the rule counts only ATX
// headings and fences that close, which these line checks tell apart.
bool hasAtxHeadingLine(const QString& text)
{
    static const QRegularExpression atx(QStringLiteral("(?:^|\\n) {0,3}#{1,6}[ \\t]"));
    return text.contains(atx);
}

bool hasClosedFence(const QString& text)
{
    static const QRegularExpression fence(QStringLiteral("^ {0,3}(`{3,}|~{3,})"));
    QString open;
    for (const QStringView line : QStringView(text).split(u'\n')) {
        const QRegularExpressionMatch match = fence.match(line);
        if (!match.hasMatch()) {
            continue;
        }
        const QString marker = match.captured(1);
        if (open.isEmpty()) {
            open = marker;
        } else if (marker.at(0) == open.at(0) && marker.size() >= open.size() &&
                   line.mid(match.capturedEnd(1)).trimmed().isEmpty()) {
            return true;
        }
    }
    return false;
}

// Feeds md4c's events to the document builder.
class MarkdownWalker {
public:
    explicit MarkdownWalker(DocumentBuilder& builder) : m_builder(builder) {}

    static int enterBlock(MD_BLOCKTYPE type, void* detail, void* self)
    {
        static_cast<MarkdownWalker*>(self)->block(type, detail, true);
        return 0;
    }
    static int leaveBlock(MD_BLOCKTYPE type, void* detail, void* self)
    {
        static_cast<MarkdownWalker*>(self)->block(type, detail, false);
        return 0;
    }
    static int enterSpan(MD_SPANTYPE type, void* detail, void* self)
    {
        static_cast<MarkdownWalker*>(self)->span(type, detail, true);
        return 0;
    }
    static int leaveSpan(MD_SPANTYPE type, void* detail, void* self)
    {
        static_cast<MarkdownWalker*>(self)->span(type, detail, false);
        return 0;
    }
    static int text(MD_TEXTTYPE type, const MD_CHAR* text, MD_SIZE size, void* self)
    {
        static_cast<MarkdownWalker*>(self)->addText(type,
                                                    QString::fromUtf8(text, static_cast<qsizetype>(size)));
        return 0;
    }

    void flush()
    {
        if (m_pending.isEmpty()) {
            return;
        }
        // Raw HTML is text, except a line break, which chat tools put into table cells.
        static const QRegularExpression lineBreak(QStringLiteral("<br\\s*/?>"),
                                                  QRegularExpression::CaseInsensitiveOption);
        if (!m_pending.contains(u'<')) {
            m_builder.text(m_pending, false);
            m_pending.clear();
            return;
        }
        qsizetype start = 0;
        for (const QRegularExpressionMatch& match : lineBreak.globalMatch(m_pending)) {
            m_builder.text(QStringView(m_pending).mid(start, match.capturedStart() - start), false);
            m_builder.lineBreak();
            start = match.capturedEnd();
        }
        m_builder.text(QStringView(m_pending).mid(start), false);
        m_pending.clear();
    }

private:
    void block(MD_BLOCKTYPE type, void* detail, bool enter)
    {
        flush();
        switch (type) {
        case MD_BLOCK_QUOTE:
            enter ? m_builder.beginQuote() : m_builder.endQuote();
            break;
        case MD_BLOCK_UL:
            enter ? m_builder.beginList(false, 1) : m_builder.endList();
            break;
        case MD_BLOCK_OL:
            if (enter) {
                m_builder.beginList(true, static_cast<int>(static_cast<MD_BLOCK_OL_DETAIL*>(detail)->start));
            } else {
                m_builder.endList();
            }
            break;
        case MD_BLOCK_LI:
            enter ? m_builder.beginListItem() : m_builder.endListItem();
            break;
        case MD_BLOCK_H:
            if (enter) {
                m_builder.beginHeading(static_cast<int>(static_cast<MD_BLOCK_H_DETAIL*>(detail)->level));
            } else {
                m_builder.endHeading();
            }
            break;
        case MD_BLOCK_CODE:
            enter ? m_builder.beginCodeBlock() : m_builder.endCodeBlock();
            break;
        case MD_BLOCK_P:
        case MD_BLOCK_HTML:
        case MD_BLOCK_HR:
            enter ? m_builder.beginParagraph() : m_builder.endParagraph();
            break;
        case MD_BLOCK_TABLE:
            enter ? m_builder.beginTable() : m_builder.endTable();
            break;
        case MD_BLOCK_TR:
            enter ? m_builder.beginRow() : m_builder.endRow();
            break;
        case MD_BLOCK_TH:
        case MD_BLOCK_TD:
            enter ? m_builder.beginCell(type == MD_BLOCK_TH) : m_builder.endCell();
            break;
        default:
            break;
        }
    }

    void span(MD_SPANTYPE type, void* detail, bool enter)
    {
        flush();
        using Inline = DocumentBuilder::Inline;
        const auto toggle = [&](Inline kind) {
            enter ? m_builder.beginInline(kind) : m_builder.endInline(kind);
        };
        switch (type) {
        case MD_SPAN_EM:
            toggle(Inline::Italic);
            break;
        case MD_SPAN_STRONG:
            toggle(Inline::Bold);
            break;
        case MD_SPAN_CODE:
            toggle(Inline::Code);
            break;
        case MD_SPAN_DEL:
            toggle(Inline::Strike);
            break;
        case MD_SPAN_U:
            toggle(Inline::Underline);
            break;
        case MD_SPAN_A:
            if (enter) {
                m_builder.beginLink(attributeText(static_cast<MD_SPAN_A_DETAIL*>(detail)->href));
            } else {
                m_builder.endLink();
            }
            break;
        case MD_SPAN_IMG:
            // The picture's description is not part of the text; only a picture carried in the
            // data itself is kept.
            if (enter) {
                if (m_imageDepth++ == 0) {
                    m_builder.image(attributeText(static_cast<MD_SPAN_IMG_DETAIL*>(detail)->src));
                }
            } else {
                --m_imageDepth;
            }
            break;
        default:
            break;
        }
    }

    void addText(MD_TEXTTYPE type, const QString& text)
    {
        if (m_imageDepth > 0) {
            return;
        }
        switch (type) {
        case MD_TEXT_NULLCHAR:
            m_pending += QChar(QChar::ReplacementCharacter);
            break;
        case MD_TEXT_BR:
            flush();
            m_builder.lineBreak();
            break;
        case MD_TEXT_SOFTBR:
            m_pending += u' ';
            break;
        case MD_TEXT_ENTITY:
            m_pending += decodeHtmlEntity(text);
            break;
        case MD_TEXT_CODE:
            flush();
            m_builder.text(text, false);
            break;
        default:
            m_pending += text;
            break;
        }
    }

    DocumentBuilder& m_builder;
    QString m_pending;
    int m_imageDepth = 0;
};

} // namespace

bool looksLikeMarkdown(const QString& text)
{
    const QByteArray utf8 = text.toUtf8();
    Findings findings;
    MD_PARSER parser{};
    parser.abi_version = 0;
    parser.flags = kFlags;
    parser.enter_block = countBlock;
    parser.leave_block = ignoreBlock;
    parser.enter_span = countSpan;
    parser.leave_span = ignoreSpan;
    parser.text = ignoreText;
    md_parse(utf8.constData(), static_cast<MD_SIZE>(utf8.size()), &parser, &findings);
    return (findings.headings > 0 && hasAtxHeadingLine(text)) ||
           (findings.fencedBlocks > 0 && hasClosedFence(text)) || findings.tables > 0 || findings.spans >= 2;
}

void readMarkdown(const QString& text, QTextDocument& document, const PasteOptions& options)
{
    const QByteArray utf8 = text.toUtf8();
    DocumentBuilder builder(document, options);
    MarkdownWalker walker(builder);
    MD_PARSER parser{};
    parser.abi_version = 0;
    parser.flags = kFlags;
    parser.enter_block = MarkdownWalker::enterBlock;
    parser.leave_block = MarkdownWalker::leaveBlock;
    parser.enter_span = MarkdownWalker::enterSpan;
    parser.leave_span = MarkdownWalker::leaveSpan;
    parser.text = MarkdownWalker::text;
    md_parse(utf8.constData(), static_cast<MD_SIZE>(utf8.size()), &parser, &walker);
    walker.flush();
    builder.finish();
}

} // namespace folioneer::paste
