// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "publish/format_writer.h"
#include "publish/xhtml_flow.h"
#include "support/zip_archive.h"

#include <QCoreApplication>
#include <QUuid>
#include <QXmlStreamWriter>

namespace folioneer::publish {

namespace {

const QString kXhtmlType = QStringLiteral("application/xhtml+xml");

const QByteArray kStyleSheet =
    "body { font-family: serif; line-height: 1.4; }\n"
    "h1 { page-break-before: always; margin-top: 2em; }\n"
    "p.title { font-size: 2em; font-weight: bold; text-align: center; margin-top: 3em; }\n"
    "p.subtitle { font-size: 1.3em; font-style: italic; text-align: center; }\n"
    "table { border-collapse: collapse; }\n"
    "td { border: 1px solid gray; padding: 0.2em; }\n"
    "img { max-width: 100%; }\n";

QString tr(const char* text)
{
    return QCoreApplication::translate("Publish", text);
}

// Starts an XHTML content document with its head; the caller writes the body's content.
void startXhtml(QXmlStreamWriter& xml, const QString& title)
{
    xml.writeStartDocument();
    xml.writeDTD(QStringLiteral("<!DOCTYPE html>"));
    xml.writeStartElement("html");
    xml.writeAttribute("xmlns", "http://www.w3.org/1999/xhtml");
    xml.writeAttribute("xmlns:epub", "http://www.idpf.org/2007/ops");
    xml.writeAttribute("lang", "en");
    xml.writeAttribute("xml:lang", "en");
    xml.writeStartElement("head");
    xml.writeTextElement("title", title);
    xml.writeEmptyElement("link");
    xml.writeAttribute("rel", "stylesheet");
    xml.writeAttribute("type", "text/css");
    xml.writeAttribute("href", "style.css");
    xml.writeEndElement();
    xml.writeStartElement("body");
}

QByteArray endXhtml(QXmlStreamWriter& xml, QByteArray& out)
{
    xml.writeEndElement();
    xml.writeEndElement();
    xml.writeEndDocument();
    out.append('\n');
    return std::exchange(out, {});
}

// An EPUB 3 book: a title page, a navigation document listing every chapter and section, one
// XHTML file per chapter and the pictures as PNG files. The mimetype entry comes first, stored.
class EpubWriter : public FormatWriter {
public:
    EpubWriter() : m_zip(1)
    {
        m_zip.add(QStringLiteral("mimetype"), "application/epub+zip", ZipWriter::Method::Store);
        m_zip.add(QStringLiteral("META-INF/container.xml"), container());
    }

    void begin(const Book& book, const QString&) override { m_book = &book; }

    void chapter(int c) override
    {
        closeChapter();
        m_chapter = c;
        m_out.clear();
        m_xml = std::make_unique<QXmlStreamWriter>(&m_out);
        const QString title = headingText(m_book->chapters.at(c).title);
        startXhtml(*m_xml, title);
        m_xml->writeStartElement("h1");
        m_xml->writeAttribute("id", QStringLiteral("c%1").arg(c + 1));
        m_xml->writeCharacters(title);
        m_xml->writeEndElement();
    }

    // The section's content needs nothing from the sections before it: it is drafted whole.
    std::shared_ptr<const SectionDraft> draft(int c, int s, const Flow& flow) const override
    {
        auto draft = std::make_shared<SectionDraft>();
        QXmlStreamWriter xml(&draft->xml);
        const QString prefix = picturePrefix(c, s);
        writeXhtmlFlow(xml, flow, [&prefix](int picture) {
            return prefix + QString::number(picture + 1) + QStringLiteral(".png");
        });
        return draft;
    }

    void writeSection(int c, int s, const Flow& flow, const SectionDraft* draft) override
    {
        m_xml->writeStartElement("h2");
        m_xml->writeAttribute("id", QStringLiteral("c%1-s%2").arg(c + 1).arg(s + 1));
        m_xml->writeCharacters(headingText(m_book->chapters.at(c).sections.at(s).title));
        m_xml->writeEndElement();
        const QString prefix = picturePrefix(c, s);
        for (int i = 0; i < flow.pictures.size(); ++i) {
            const QString href = prefix + QString::number(i + 1) + QStringLiteral(".png");
            m_zip.add(QStringLiteral("OEBPS/") + href, flow.pictures.at(i).png, ZipWriter::Method::Store);
            m_pictures.append(href);
        }
        const std::shared_ptr<const SectionDraft> own = draft ? nullptr : this->draft(c, s, flow);
        (draft ? *draft : *own).join(*m_xml->device(), [](const SectionDraft::Slot&) {
            return QByteArray();
        });
    }

    Result finish(const QString& path) override
    {
        closeChapter();
        m_zip.add(QStringLiteral("OEBPS/style.css"), kStyleSheet);
        m_zip.add(QStringLiteral("OEBPS/title.xhtml"), titlePage());
        m_zip.add(QStringLiteral("OEBPS/nav.xhtml"), navigation());
        m_zip.add(QStringLiteral("OEBPS/content.opf"), package());
        return writeExportArchive(path, m_zip);
    }

private:
    static QString chapterFile(int c) { return QStringLiteral("chapter-%1.xhtml").arg(c + 1); }
    static QString picturePrefix(int c, int s)
    {
        return QStringLiteral("images/c%1-s%2-").arg(c + 1).arg(s + 1);
    }

    void closeChapter()
    {
        if (m_chapter < 0) {
            return;
        }
        m_zip.add(QStringLiteral("OEBPS/") + chapterFile(m_chapter), endXhtml(*m_xml, m_out));
        m_chapter = -1;
    }

    QString bookTitle() const { return headingText(m_book->title); }

    // Where a reading system finds the package document.
    static QByteArray container()
    {
        QByteArray out;
        QXmlStreamWriter xml(&out);
        xml.setAutoFormatting(true);
        xml.writeStartDocument();
        xml.writeStartElement("container");
        xml.writeAttribute("version", "1.0");
        xml.writeAttribute("xmlns", "urn:oasis:names:tc:opendocument:xmlns:container");
        xml.writeStartElement("rootfiles");
        xml.writeEmptyElement("rootfile");
        xml.writeAttribute("full-path", "OEBPS/content.opf");
        xml.writeAttribute("media-type", "application/oebps-package+xml");
        xml.writeEndDocument();
        return out;
    }

    QByteArray titlePage()
    {
        QByteArray out;
        QXmlStreamWriter xml(&out);
        startXhtml(xml, bookTitle());
        xml.writeStartElement("section");
        xml.writeAttribute("epub:type", "titlepage");
        xml.writeStartElement("p");
        xml.writeAttribute("class", "title");
        xml.writeCharacters(bookTitle());
        xml.writeEndElement();
        if (!m_book->subtitle.isEmpty()) {
            xml.writeStartElement("p");
            xml.writeAttribute("class", "subtitle");
            xml.writeCharacters(xmlSafe(m_book->subtitle));
            xml.writeEndElement();
        }
        xml.writeEndElement();
        return endXhtml(xml, out);
    }

    void navLink(QXmlStreamWriter& xml, const QString& href, const QString& text)
    {
        xml.writeStartElement("a");
        xml.writeAttribute("href", href);
        xml.writeCharacters(text);
        xml.writeEndElement();
    }

    // The table of contents always begins with the title page, so it is never empty.
    QByteArray navigation()
    {
        QByteArray out;
        QXmlStreamWriter xml(&out);
        startXhtml(xml, tr("Contents"));
        xml.writeStartElement("nav");
        xml.writeAttribute("epub:type", "toc");
        xml.writeAttribute("id", "toc");
        xml.writeTextElement("h1", tr("Contents"));
        xml.writeStartElement("ol");
        xml.writeStartElement("li");
        navLink(xml, QStringLiteral("title.xhtml"), bookTitle());
        xml.writeEndElement();
        for (int c = 0; c < m_book->chapters.size(); ++c) {
            const BookChapter& chapter = m_book->chapters.at(c);
            xml.writeStartElement("li");
            navLink(xml, chapterFile(c) + QStringLiteral("#c%1").arg(c + 1), headingText(chapter.title));
            if (!chapter.sections.isEmpty()) {
                xml.writeStartElement("ol");
                for (int s = 0; s < chapter.sections.size(); ++s) {
                    xml.writeStartElement("li");
                    navLink(xml, chapterFile(c) + QStringLiteral("#c%1-s%2").arg(c + 1).arg(s + 1),
                            headingText(chapter.sections.at(s).title));
                    xml.writeEndElement();
                }
                xml.writeEndElement();
            }
            xml.writeEndElement();
        }
        xml.writeEndElement();
        xml.writeEndElement();
        return endXhtml(xml, out);
    }

    QByteArray package()
    {
        // The same project name gives the same identifier, so a re-exported book replaces the
        // older copy in a reader's library instead of standing beside it.
        static const QUuid kNamespace(QStringLiteral("{5d3c8f0e-6a41-4f7b-9b1e-2f4c7a9d8e10}"));
        const QUuid id = QUuid::createUuidV5(kNamespace, m_book->title);
        QByteArray out;
        QXmlStreamWriter xml(&out);
        xml.setAutoFormatting(true);
        xml.writeStartDocument();
        xml.writeStartElement("package");
        xml.writeAttribute("xmlns", "http://www.idpf.org/2007/opf");
        xml.writeAttribute("version", "3.0");
        xml.writeAttribute("unique-identifier", "book-id");
        xml.writeAttribute("xml:lang", "en");
        xml.writeStartElement("metadata");
        xml.writeAttribute("xmlns:dc", "http://purl.org/dc/elements/1.1/");
        xml.writeStartElement("dc:identifier");
        xml.writeAttribute("id", "book-id");
        xml.writeCharacters(QStringLiteral("urn:uuid:") + id.toString(QUuid::WithoutBraces));
        xml.writeEndElement();
        xml.writeTextElement("dc:title", bookTitle());
        xml.writeTextElement("dc:language", "en");
        if (!m_book->subtitle.isEmpty()) {
            xml.writeTextElement("dc:description", xmlSafe(m_book->subtitle));
        }
        xml.writeStartElement("meta");
        xml.writeAttribute("property", "dcterms:modified");
        xml.writeCharacters(w3cDateTimeNow());
        xml.writeEndElement();
        xml.writeEndElement();

        xml.writeStartElement("manifest");
        const auto item = [&xml](const QString& itemId, const QString& href, const QString& type) {
            xml.writeEmptyElement("item");
            xml.writeAttribute("id", itemId);
            xml.writeAttribute("href", href);
            xml.writeAttribute("media-type", type);
        };
        item(QStringLiteral("nav"), QStringLiteral("nav.xhtml"), kXhtmlType);
        xml.writeAttribute("properties", "nav");
        item(QStringLiteral("title"), QStringLiteral("title.xhtml"), kXhtmlType);
        item(QStringLiteral("css"), QStringLiteral("style.css"), QStringLiteral("text/css"));
        for (int c = 0; c < m_book->chapters.size(); ++c) {
            item(QStringLiteral("c%1").arg(c + 1), chapterFile(c), kXhtmlType);
        }
        for (int i = 0; i < m_pictures.size(); ++i) {
            item(QStringLiteral("p%1").arg(i + 1), m_pictures.at(i), QStringLiteral("image/png"));
        }
        xml.writeEndElement();

        xml.writeStartElement("spine");
        xml.writeEmptyElement("itemref");
        xml.writeAttribute("idref", "title");
        for (int c = 0; c < m_book->chapters.size(); ++c) {
            xml.writeEmptyElement("itemref");
            xml.writeAttribute("idref", QStringLiteral("c%1").arg(c + 1));
        }
        xml.writeEndElement();
        xml.writeEndElement();
        xml.writeEndDocument();
        return out;
    }

    const Book* m_book = nullptr;
    ZipWriter m_zip;
    QByteArray m_out;
    std::unique_ptr<QXmlStreamWriter> m_xml;
    int m_chapter = -1;
    QStringList m_pictures;
};

} // namespace

std::unique_ptr<FormatWriter> makeEpubWriter()
{
    return std::make_unique<EpubWriter>();
}

} // namespace folioneer::publish
