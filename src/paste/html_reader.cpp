// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "paste/html_reader.h"

#include <QHash>
#include <QTextDocument>

#include <libxml/HTMLparser.h>
#include <libxml/tree.h>

#include <memory>

namespace folioneer::paste {

namespace {

// How far down the element tree the walk follows; libxml2 itself stops at 256 levels.
constexpr int kMaxWalkDepth = 512;

enum class Element {
    Transparent, // unknown or presentational: its children are read
    Dropped,     // read neither the element nor its children
    Block,
    Heading,
    Pre,
    Quote,
    UnorderedList,
    OrderedList,
    ListItem,
    Table,
    Row,
    Cell,
    HeaderCell,
    Break,
    Rule,
    Image,
    Link,
    Bold,
    Italic,
    Strike,
    Underline,
    Code,
    Superscript,
    Subscript,
};

Element elementOf(const char* name)
{
    static const QHash<QByteArray, Element> elements{
        {"script", Element::Dropped},    {"style", Element::Dropped},    {"head", Element::Dropped},
        {"title", Element::Dropped},     {"noscript", Element::Dropped}, {"template", Element::Dropped},
        {"form", Element::Dropped},      {"textarea", Element::Dropped}, {"select", Element::Dropped},
        {"option", Element::Dropped},    {"optgroup", Element::Dropped}, {"input", Element::Dropped},
        {"button", Element::Dropped},    {"svg", Element::Dropped},      {"math", Element::Dropped},
        {"iframe", Element::Dropped},    {"frame", Element::Dropped},    {"frameset", Element::Dropped},
        {"object", Element::Dropped},    {"embed", Element::Dropped},    {"applet", Element::Dropped},
        {"video", Element::Dropped},     {"audio", Element::Dropped},    {"canvas", Element::Dropped},
        {"map", Element::Dropped},       {"link", Element::Dropped},     {"meta", Element::Dropped},
        {"base", Element::Dropped},      {"param", Element::Dropped},    {"source", Element::Dropped},
        {"p", Element::Block},           {"div", Element::Block},        {"section", Element::Block},
        {"article", Element::Block},     {"main", Element::Block},       {"header", Element::Block},
        {"footer", Element::Block},      {"aside", Element::Block},      {"nav", Element::Block},
        {"figure", Element::Block},      {"figcaption", Element::Block}, {"dl", Element::Block},
        {"dt", Element::Block},          {"dd", Element::Block},         {"details", Element::Block},
        {"summary", Element::Block},     {"center", Element::Block},     {"address", Element::Block},
        {"caption", Element::Block},     {"body", Element::Block},       {"html", Element::Block},
        {"h1", Element::Heading},        {"h2", Element::Heading},       {"h3", Element::Heading},
        {"h4", Element::Heading},        {"h5", Element::Heading},       {"h6", Element::Heading},
        {"pre", Element::Pre},           {"listing", Element::Pre},      {"xmp", Element::Pre},
        {"blockquote", Element::Quote},  {"ul", Element::UnorderedList}, {"menu", Element::UnorderedList},
        {"dir", Element::UnorderedList}, {"ol", Element::OrderedList},   {"li", Element::ListItem},
        {"table", Element::Table},       {"tr", Element::Row},           {"td", Element::Cell},
        {"th", Element::HeaderCell},     {"br", Element::Break},         {"hr", Element::Rule},
        {"img", Element::Image},         {"a", Element::Link},           {"b", Element::Bold},
        {"strong", Element::Bold},       {"i", Element::Italic},         {"em", Element::Italic},
        {"cite", Element::Italic},       {"dfn", Element::Italic},       {"var", Element::Italic},
        {"s", Element::Strike},          {"strike", Element::Strike},    {"del", Element::Strike},
        {"u", Element::Underline},       {"ins", Element::Underline},    {"code", Element::Code},
        {"kbd", Element::Code},          {"samp", Element::Code},        {"tt", Element::Code},
        {"sup", Element::Superscript},   {"sub", Element::Subscript},
    };
    return elements.value(QByteArray(name), Element::Transparent);
}

QString attribute(xmlNode* node, const char* name)
{
    xmlChar* value = xmlGetProp(node, reinterpret_cast<const xmlChar*>(name));
    if (!value) {
        return {};
    }
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(value));
    xmlFree(value);
    return text.trimmed();
}

class Walker {
public:
    explicit Walker(DocumentBuilder& builder) : m_builder(builder) {}

    void walkChildren(xmlNode* parent, int depth)
    {
        if (depth > kMaxWalkDepth) {
            return;
        }
        for (xmlNode* child = parent->children; child; child = child->next) {
            walk(child, depth + 1);
        }
    }

    bool sawContent() const { return m_sawContent; }

private:
    void walk(xmlNode* node, int depth)
    {
        if (node->type == XML_TEXT_NODE || node->type == XML_CDATA_SECTION_NODE) {
            const QString text = QString::fromUtf8(reinterpret_cast<const char*>(node->content));
            if (m_preDepth == 0 && text.trimmed().isEmpty()) {
                m_builder.text(text, true);
                return;
            }
            m_sawContent = true;
            m_builder.text(text, m_preDepth == 0);
            return;
        }
        if (node->type != XML_ELEMENT_NODE || !node->name) {
            return; // comments, processing instructions, entity declarations
        }
        const char* name = reinterpret_cast<const char*>(node->name);
        using Inline = DocumentBuilder::Inline;
        switch (elementOf(name)) {
        case Element::Dropped:
            return;
        case Element::Transparent:
            walkChildren(node, depth);
            return;
        case Element::Block:
            m_builder.beginParagraph();
            walkChildren(node, depth);
            m_builder.endParagraph();
            return;
        case Element::Heading:
            m_builder.beginHeading(name[1] - '0');
            walkChildren(node, depth);
            m_builder.endHeading();
            return;
        case Element::Pre:
            m_builder.beginCodeBlock();
            ++m_preDepth;
            walkChildren(node, depth);
            --m_preDepth;
            m_builder.endCodeBlock();
            return;
        case Element::Quote:
            m_builder.beginQuote();
            walkChildren(node, depth);
            m_builder.endQuote();
            return;
        case Element::UnorderedList:
        case Element::OrderedList: {
            const bool ordered = elementOf(name) == Element::OrderedList;
            bool ok = false;
            const int start = attribute(node, "start").toInt(&ok);
            m_builder.beginList(ordered, ok ? start : 1);
            walkChildren(node, depth);
            m_builder.endList();
            return;
        }
        case Element::ListItem:
            m_builder.beginListItem();
            walkChildren(node, depth);
            m_builder.endListItem();
            return;
        case Element::Table:
            m_builder.beginTable();
            walkChildren(node, depth);
            m_builder.endTable();
            return;
        case Element::Row:
            m_builder.beginRow();
            walkChildren(node, depth);
            m_builder.endRow();
            return;
        case Element::Cell:
        case Element::HeaderCell:
            m_builder.beginCell(elementOf(name) == Element::HeaderCell);
            walkChildren(node, depth);
            m_builder.endCell();
            return;
        case Element::Break:
            if (m_preDepth > 0) {
                m_builder.text(u"\n", false);
            } else {
                m_builder.lineBreak();
            }
            return;
        case Element::Rule:
            m_builder.endParagraph();
            return;
        case Element::Image: {
            const QString source = attribute(node, "src");
            if (source.startsWith(u"data:", Qt::CaseInsensitive)) {
                m_sawContent = true;
                m_builder.image(source);
            }
            return;
        }
        case Element::Link:
            m_builder.beginLink(attribute(node, "href"));
            walkChildren(node, depth);
            m_builder.endLink();
            return;
        case Element::Bold:
            inlineElement(node, depth, Inline::Bold);
            return;
        case Element::Italic:
            inlineElement(node, depth, Inline::Italic);
            return;
        case Element::Strike:
            inlineElement(node, depth, Inline::Strike);
            return;
        case Element::Underline:
            inlineElement(node, depth, Inline::Underline);
            return;
        case Element::Code:
            inlineElement(node, depth, Inline::Code);
            return;
        case Element::Superscript:
            inlineElement(node, depth, Inline::Superscript);
            return;
        case Element::Subscript:
            inlineElement(node, depth, Inline::Subscript);
            return;
        }
    }

    void inlineElement(xmlNode* node, int depth, DocumentBuilder::Inline kind)
    {
        m_builder.beginInline(kind);
        walkChildren(node, depth);
        m_builder.endInline(kind);
    }

    DocumentBuilder& m_builder;
    int m_preDepth = 0;
    bool m_sawContent = false;
};

struct DocFree {
    void operator()(xmlDoc* doc) const { xmlFreeDoc(doc); }
};

} // namespace

bool readHtml(const QByteArray& html, QTextDocument& document, const PasteOptions& options)
{
    if (html.isEmpty() || html.size() > INT_MAX) {
        return false;
    }
    // No network, no DTD loading, no messages on the terminal; a broken document gives what
    // could be recovered. Without the huge-document option libxml2 stops at 256 nested
    // elements and at 10 MB in one text node.
    const int flags = HTML_PARSE_RECOVER | HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING | HTML_PARSE_NONET |
                      HTML_PARSE_NODEFDTD;
    const std::unique_ptr<xmlDoc, DocFree> doc(
        htmlReadMemory(html.constData(), static_cast<int>(html.size()), nullptr, "UTF-8", flags));
    if (!doc) {
        return false;
    }
    DocumentBuilder builder(document, options);
    Walker walker(builder);
    walker.walkChildren(reinterpret_cast<xmlNode*>(doc.get()), 0);
    builder.finish();
    return walker.sawContent();
}

QString decodeHtmlEntity(const QString& reference)
{
    if (!reference.startsWith(u'&') || !reference.endsWith(u';') || reference.size() < 3) {
        return reference;
    }
    const QString name = reference.mid(1, reference.size() - 2);
    char32_t value = 0;
    if (name.startsWith(u'#')) {
        bool ok = false;
        const bool hex = name.size() > 1 && (name.at(1) == u'x' || name.at(1) == u'X');
        const uint number = hex ? name.mid(2).toUInt(&ok, 16) : name.mid(1).toUInt(&ok, 10);
        value = ok ? number : 0;
    } else if (const htmlEntityDesc* entity =
                   htmlEntityLookup(reinterpret_cast<const xmlChar*>(name.toUtf8().constData()))) {
        value = entity->value;
    }
    if (value == 0 || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
        return value == 0 && name.startsWith(u'#') ? QString(QChar(QChar::ReplacementCharacter)) : reference;
    }
    return QString::fromUcs4(&value, 1);
}

} // namespace folioneer::paste
