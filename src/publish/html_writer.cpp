// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "publish/format_writer.h"
#include "publish/xhtml_flow.h"

#include <QXmlStreamWriter>

namespace folioneer::publish {

namespace {

// One UTF-8 web page: the title and subtitle as styled paragraphs, a linked table of contents,
// then the chapters as <h1> and sections as <h2>. Pictures are embedded as data: URIs, so the
// page is a single file; it needs no stylesheet of ours.
class HtmlWriter : public FormatWriter {
public:
    HtmlWriter() : m_xml(&m_out) {}

    void begin(const Book& book, const QString&) override
    {
        m_book = &book;
        m_xml.writeDTD(QStringLiteral("<!DOCTYPE html>"));
        m_xml.writeStartElement("html");
        m_xml.writeAttribute("lang", "en");
        m_xml.writeStartElement("head");
        m_xml.writeEmptyElement("meta");
        m_xml.writeAttribute("charset", "utf-8");
        m_xml.writeTextElement("title", xmlSafe(book.title));
        if (!book.subtitle.isEmpty()) {
            m_xml.writeEmptyElement("meta");
            m_xml.writeAttribute("name", "description");
            m_xml.writeAttribute("content", xmlSafe(book.subtitle));
        }
        m_xml.writeEndElement();
        m_xml.writeStartElement("body");
        m_xml.writeStartElement("header");
        m_xml.writeStartElement("p");
        m_xml.writeAttribute("class", "title");
        m_xml.writeAttribute("style", "font-size:2em;font-weight:bold");
        m_xml.writeCharacters(xmlSafe(book.title));
        endElement(m_xml);
        if (!book.subtitle.isEmpty()) {
            m_xml.writeStartElement("p");
            m_xml.writeAttribute("class", "subtitle");
            m_xml.writeAttribute("style", "font-size:1.3em;font-style:italic");
            m_xml.writeCharacters(xmlSafe(book.subtitle));
            endElement(m_xml);
        }
        m_xml.writeEndElement();
        if (!book.chapters.isEmpty()) {
            m_xml.writeStartElement("nav");
            m_xml.writeAttribute("id", "contents");
            m_xml.writeStartElement("ul");
            for (int c = 0; c < book.chapters.size(); ++c) {
                const BookChapter& chapter = book.chapters.at(c);
                m_xml.writeStartElement("li");
                link(QLatin1Char('#') + chapterId(c), chapter.title);
                if (!chapter.sections.isEmpty()) {
                    m_xml.writeStartElement("ul");
                    for (int s = 0; s < chapter.sections.size(); ++s) {
                        m_xml.writeStartElement("li");
                        link(QLatin1Char('#') + sectionId(c, s), chapter.sections.at(s).title);
                        m_xml.writeEndElement();
                    }
                    m_xml.writeEndElement();
                }
                m_xml.writeEndElement();
            }
            m_xml.writeEndElement();
            m_xml.writeEndElement();
        }
    }

    void chapter(int c) override
    {
        m_xml.writeStartElement("h1");
        m_xml.writeAttribute("id", chapterId(c));
        m_xml.writeCharacters(headingText(m_book->chapters.at(c).title));
        m_xml.writeEndElement();
    }

    void writeSection(int c, int s, const Flow& flow, const SectionDraft*) override
    {
        m_xml.writeStartElement("h2");
        m_xml.writeAttribute("id", sectionId(c, s));
        m_xml.writeCharacters(headingText(m_book->chapters.at(c).sections.at(s).title));
        m_xml.writeEndElement();
        writeXhtmlFlow(m_xml, flow, [&flow](int picture) {
            return QStringLiteral("data:image/png;base64,") +
                   QString::fromLatin1(flow.pictures.at(picture).png.toBase64());
        });
    }

    Result finish(const QString& path) override
    {
        m_xml.writeEndElement();
        m_xml.writeEndElement();
        m_xml.writeEndDocument();
        m_out.append('\n');
        return writeExportFile(path, m_out);
    }

private:
    static QString chapterId(int c) { return QStringLiteral("c%1").arg(c + 1); }
    static QString sectionId(int c, int s) { return QStringLiteral("c%1-s%2").arg(c + 1).arg(s + 1); }

    void link(const QString& href, const QString& title)
    {
        m_xml.writeStartElement("a");
        m_xml.writeAttribute("href", href);
        m_xml.writeCharacters(headingText(title));
        m_xml.writeEndElement();
    }

    const Book* m_book = nullptr;
    QByteArray m_out;
    QXmlStreamWriter m_xml;
};

} // namespace

std::unique_ptr<FormatWriter> makeHtmlWriter()
{
    return std::make_unique<HtmlWriter>();
}

} // namespace folioneer::publish
