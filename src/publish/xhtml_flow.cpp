// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "publish/xhtml_flow.h"

#include "publish/format_writer.h"

#include <QXmlStreamWriter>

namespace folioneer::publish {

namespace {

constexpr int kDeepestHeading = 6;

QString alignmentStyle(Qt::Alignment alignment)
{
    if (alignment & Qt::AlignHCenter) {
        return QStringLiteral("text-align:center");
    }
    if (alignment & Qt::AlignJustify) {
        return QStringLiteral("text-align:justify");
    }
    if (alignment & (Qt::AlignRight | Qt::AlignTrailing)) {
        return QStringLiteral("text-align:end");
    }
    return {};
}

class FlowWriter {
public:
    FlowWriter(QXmlStreamWriter& xml, const PictureSource& source) : m_xml(xml), m_source(source) {}

    void blocks(const QList<Block>& blocks)
    {
        ListNesting lists({[this](bool ordered, int) {
                               m_xml.writeStartElement(ordered ? QStringLiteral("ol") : QStringLiteral("ul"));
                           },
                           [this] { endElement(m_xml); },
                           [this] { m_xml.writeStartElement(QStringLiteral("li")); },
                           [this] { endElement(m_xml); }});
        for (const Block& block : blocks) {
            if (block.table) {
                lists.closeAll();
                table(*block.table);
                continue;
            }
            const Paragraph& p = block.paragraph;
            if (p.listLevel > 0) {
                lists.item(p.listLevel, p.ordered);
                runs(p.runs);
                continue;
            }
            lists.closeAll();
            if (p.isEmpty()) {
                continue;
            }
            const QString name =
                p.headingLevel > 0
                    ? QStringLiteral("h%1").arg(contentHeadingLevel(p.headingLevel, kDeepestHeading))
                    : QStringLiteral("p");
            m_xml.writeStartElement(name);
            if (p.rightToLeft) {
                m_xml.writeAttribute(QStringLiteral("dir"), QStringLiteral("rtl"));
            }
            const QString align = alignmentStyle(p.alignment);
            if (!align.isEmpty()) {
                m_xml.writeAttribute(QStringLiteral("style"), align);
            }
            runs(p.runs);
            endElement(m_xml);
        }
        lists.closeAll();
    }

private:
    void table(const Table& table)
    {
        m_xml.writeStartElement(QStringLiteral("table"));
        m_xml.writeAttribute(QStringLiteral("style"), QStringLiteral("border-collapse:collapse"));
        m_xml.writeStartElement(QStringLiteral("tbody"));
        // A merged cell is written where it begins; the places it covers have no cell.
        for (const QList<TableCell>& row : table.rows) {
            m_xml.writeStartElement(QStringLiteral("tr"));
            for (const TableCell& cell : row) {
                m_xml.writeStartElement(QStringLiteral("td"));
                if (cell.columnSpan > 1) {
                    m_xml.writeAttribute(QStringLiteral("colspan"), QString::number(cell.columnSpan));
                }
                if (cell.rowSpan > 1) {
                    m_xml.writeAttribute(QStringLiteral("rowspan"), QString::number(cell.rowSpan));
                }
                m_xml.writeAttribute(QStringLiteral("style"),
                                     QStringLiteral("border:1px solid gray;padding:0.2em"));
                blocks(cell.blocks);
                endElement(m_xml);
            }
            endElement(m_xml);
        }
        endElement(m_xml);
        endElement(m_xml);
    }

    void runs(const QList<Run>& runs)
    {
        for (const Run& run : runs) {
            if (run.picture >= 0) {
                m_xml.writeEmptyElement(QStringLiteral("img"));
                m_xml.writeAttribute(QStringLiteral("src"), m_source(run.picture));
                m_xml.writeAttribute(QStringLiteral("alt"), QStringLiteral(""));
                continue;
            }
            int opened = 0;
            const auto open = [&](const QString& name) {
                m_xml.writeStartElement(name);
                ++opened;
            };
            if (!run.href.isEmpty()) {
                open(QStringLiteral("a"));
                m_xml.writeAttribute(QStringLiteral("href"), run.href);
            }
            if (run.bold) {
                open(QStringLiteral("strong"));
            }
            if (run.italic) {
                open(QStringLiteral("em"));
            }
            if (run.underline) {
                open(QStringLiteral("u"));
            }
            if (run.strike) {
                open(QStringLiteral("s"));
            }
            QStringList style;
            if (run.pointSize > 0) {
                style << QStringLiteral("font-size:%1pt").arg(run.pointSize);
            }
            if (run.color.isValid()) {
                style << QStringLiteral("color:%1").arg(run.color.name());
            }
            if (!style.isEmpty()) {
                open(QStringLiteral("span"));
                m_xml.writeAttribute(QStringLiteral("style"), style.join(QLatin1Char(';')));
            }
            const QStringList lines = run.text.split(QChar::LineSeparator);
            for (qsizetype i = 0; i < lines.size(); ++i) {
                if (i > 0) {
                    m_xml.writeEmptyElement(QStringLiteral("br"));
                }
                m_xml.writeCharacters(lines.at(i));
            }
            for (int i = 0; i < opened; ++i) {
                endElement(m_xml);
            }
        }
    }

    QXmlStreamWriter& m_xml;
    const PictureSource& m_source;
};

} // namespace

void endElement(QXmlStreamWriter& xml)
{
    // Writing (no) characters ends an open start tag, so the end tag follows.
    xml.writeCharacters(QString());
    xml.writeEndElement();
}

void writeXhtmlFlow(QXmlStreamWriter& xml, const Flow& flow, const PictureSource& pictureSource)
{
    FlowWriter(xml, pictureSource).blocks(flow.blocks);
}

} // namespace folioneer::publish
