// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "paste/outline_recogniser.h"

#include "support/lines.h"

#include <QList>
#include <QRegularExpression>
#include <QStringList>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextList>

#include <algorithm>

namespace folioneer::paste {

namespace {

// Structural ranks: headings by level, then bold or labelled lines, then list levels. A smaller
// rank is a shallower level.
constexpr int kEmphasisedRank = 7;
constexpr int kListRank = 10;

const QString kCrLf = QStringLiteral("\r\n");

enum class EntryKind { Prose, Heading, Emphasised, ListItem, Keyword };

struct Entry {
    EntryKind kind = EntryKind::ListItem;
    int rank = 0;
    QString title;
};

// A line as the recogniser sees it before ranks are known.
struct Line {
    enum class Kind { Blank, Prose, Heading, Emphasised, Keyword, Bullet, Numbered, Rule } kind = Kind::Prose;
    int level = 0;      ///< heading level
    int indent = 0;     ///< columns before a list marker
    int components = 1; ///< parts of an outline number ("1.2" has two)
    QString title;
};

const QRegularExpression& atxHeading()
{
    static const QRegularExpression re(QStringLiteral("^ {0,3}(#{1,6})[ \\t]+(.*?)(?:[ \\t]+#+)?[ \\t]*$"));
    return re;
}

const QRegularExpression& bulletItem()
{
    static const QRegularExpression re(
        QStringLiteral("^([ \\t]*)[-*+\\x{2022}\\x{00B7}\\x{25AA}\\x{25E6}\\x{2023}][ \\t]+(.*)$"));
    return re;
}

// "1." and "1)" list markers, and outline numbers with sub-numbers ("1.1", "2.3.1.").
const QRegularExpression& numberedItem()
{
    static const QRegularExpression re(QStringLiteral(
        "^([ \\t]*)(?:(\\d{1,9})[.)]|(\\d{1,9}(?:\\.\\d{1,9})+)\\.?|([IVXLCDM]{1,7}|[A-Za-z])[.)])[ "
        "\\t]+(.*)$"));
    return re;
}

const QRegularExpression& ruleLine()
{
    static const QRegularExpression re(
        QStringLiteral("^ {0,3}(?:(?:-[ \\t]*){3,}|(?:\\*[ \\t]*){3,}|(?:_[ \\t]*){3,})$"));
    return re;
}

const QRegularExpression& labelledStart()
{
    static const QRegularExpression re(QStringLiteral(
        "^(?i:chapter|part|section|unit|lesson|module)[ \\t]+(?:\\d+(?:\\.\\d+)*|[IVXLCDMivxlcdm]+|[A-Za-z])"
        "(?=[ \\t:.)\\x{2013}\\x{2014}-]|$)"));
    return re;
}

// Front matter and back matter keep their place among the chapters.
const QRegularExpression& keywordStart()
{
    static const QRegularExpression re(
        QStringLiteral("^(?i:introduction|conclusion|appendix|preface|foreword|prologue|epilogue|afterword)"
                       "(?=[ \\t:.)\\x{2013}\\x{2014}-]|$)"));
    return re;
}

int columns(QStringView blanks)
{
    int width = 0;
    for (const QChar c : blanks) {
        width += c == u'\t' ? 4 - width % 4 : 1;
    }
    return width;
}

QString removeEmphasis(QString title)
{
    for (const QString& marker :
         {QStringLiteral("**"), QStringLiteral("__"), QStringLiteral("*"), QStringLiteral("_")}) {
        const qsizetype count = title.count(marker);
        for (qsizetype i = 0; i < count / 2 * 2; ++i) {
            title.remove(title.indexOf(marker), marker.size());
        }
    }
    return title;
}

bool isContentsTitle(const QString& title)
{
    const QString t = title.trimmed();
    return t.compare(u"Table of Contents", Qt::CaseInsensitive) == 0 ||
           t.compare(u"Contents", Qt::CaseInsensitive) == 0 ||
           t.compare(u"Table of Contents:", Qt::CaseInsensitive) == 0;
}

// Classifies a line of text. `startsBold` tells whether it begins with bold text (Markdown
// "**" or a bold run of a formatted document).
Line classify(const QString& raw, bool startsBold)
{
    QString text = raw;
    if (text.endsWith(u'\r')) {
        text.chop(1);
    }
    Line line;
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty()) {
        line.kind = Line::Kind::Blank;
        return line;
    }
    if (ruleLine().match(text).hasMatch()) {
        line.kind = Line::Kind::Rule;
        return line;
    }
    if (const QRegularExpressionMatch m = atxHeading().match(text); m.hasMatch()) {
        line.kind = Line::Kind::Heading;
        line.level = static_cast<int>(m.capturedLength(1));
        line.title = m.captured(2);
        return line;
    }
    if (const QRegularExpressionMatch m = bulletItem().match(text); m.hasMatch()) {
        line.kind = Line::Kind::Bullet;
        line.indent = columns(m.capturedView(1));
        line.title = m.captured(2);
        return line;
    }
    if (const QRegularExpressionMatch m = numberedItem().match(text); m.hasMatch()) {
        line.kind = Line::Kind::Numbered;
        line.indent = columns(m.capturedView(1));
        // A list marker goes with the list; an outline number stays in the title, where
        // cleaning removes it.
        if (m.capturedLength(3) > 0) {
            line.components = static_cast<int>(m.capturedView(3).count(u'.')) + 1;
            line.title = text.mid(m.capturedStart(3));
        } else {
            line.title = m.captured(5);
        }
        return line;
    }
    line.title = trimmed;
    const bool indented = text.at(0) == u' ' || text.at(0) == u'\t';
    const QString plain = removeEmphasis(trimmed).trimmed();
    if (!indented && keywordStart().match(plain).hasMatch() && plain.size() <= 120) {
        line.kind = Line::Kind::Keyword;
    } else if (!indented && (startsBold || trimmed.startsWith(u"**") || trimmed.startsWith(u"__"))) {
        line.kind = Line::Kind::Emphasised;
    } else if (!indented && labelledStart().match(plain).hasMatch()) {
        line.kind = Line::Kind::Emphasised;
    }
    return line;
}

// Turns classified lines into ranked entries: list depth follows indentation as Markdown
// nests lists, deepened by outline numbers ("1.1" is one level below "1").
class EntryCollector {
public:
    void add(const Line& line)
    {
        switch (line.kind) {
        case Line::Kind::Blank:
            m_lastProse = -1;
            return;
        case Line::Kind::Rule:
            // A line of dashes under prose underlines a heading (setext form).
            if (m_lastProse >= 0 && !m_entries.isEmpty() && m_lastProse == m_entries.size() - 1) {
                m_entries.last().kind = EntryKind::Heading;
                m_entries.last().rank = 2;
            }
            m_lastProse = -1;
            return;
        case Line::Kind::Prose:
            if (isSetextUnderline(line.title)) {
                if (m_lastProse >= 0 && m_lastProse == m_entries.size() - 1) {
                    m_entries.last().kind = EntryKind::Heading;
                    m_entries.last().rank = line.title.startsWith(u'=') ? 1 : 2;
                }
                m_lastProse = -1;
                return;
            }
            // Remembered in case a setext underline follows; dropped otherwise.
            m_entries.append({EntryKind::Prose, -1, line.title});
            m_lastProse = static_cast<int>(m_entries.size() - 1);
            return;
        case Line::Kind::Heading:
            m_indents.clear();
            append(EntryKind::Heading, line.level, line.title);
            return;
        case Line::Kind::Emphasised:
            m_indents.clear();
            append(EntryKind::Emphasised, kEmphasisedRank, line.title);
            return;
        case Line::Kind::Keyword:
            m_indents.clear();
            append(EntryKind::Keyword, kEmphasisedRank, line.title);
            return;
        case Line::Kind::Bullet:
        case Line::Kind::Numbered: {
            while (!m_indents.isEmpty() && m_indents.last() > line.indent) {
                m_indents.removeLast();
            }
            if (m_indents.isEmpty() || m_indents.last() < line.indent) {
                m_indents.append(line.indent);
            }
            const int depth = std::max(static_cast<int>(m_indents.size()) - 1, line.components - 1);
            append(EntryKind::ListItem, kListRank + depth, line.title);
            return;
        }
        }
    }

    void addListItem(int depth, const QString& title)
    {
        append(EntryKind::ListItem, kListRank + depth, title);
    }

    std::optional<QString> result() const;

private:
    static bool isSetextUnderline(const QString& trimmed)
    {
        static const QRegularExpression re(QStringLiteral("^(?:=+|-{2,})$"));
        return re.match(trimmed).hasMatch();
    }

    void append(EntryKind kind, int rank, const QString& title)
    {
        m_entries.append({kind, rank, title});
        m_lastProse = -1;
    }

    QList<Entry> m_entries;
    QList<int> m_indents;
    int m_lastProse = -1;
};

std::optional<QString> EntryCollector::result() const
{
    QList<Entry> entries;
    for (const Entry& entry : m_entries) {
        if (entry.kind == EntryKind::Prose || isContentsTitle(removeEmphasis(entry.title))) {
            continue; // prose, and the "Table of Contents" heading
        }
        entries.append(entry);
    }
    // Front and back matter written as a plain or bold line is a chapter whatever the other
    // lines' levels; written as a heading or list item it takes its place among them.
    const auto ranked = [](const Entry& e) { return e.kind != EntryKind::Keyword; };
    // A single heading above all others (the book's title) is no chapter.
    int top = INT_MAX;
    for (const Entry& entry : entries) {
        if (ranked(entry)) {
            top = std::min(top, entry.rank);
        }
    }
    const auto atTop =
        std::count_if(entries.begin(), entries.end(), [&](const Entry& e) { return e.rank <= top; });
    if (atTop == 1 && top < kListRank) {
        const auto first = std::find_if(entries.begin(), entries.end(), ranked);
        const bool othersFollow = std::any_of(entries.begin(), entries.end(),
                                              [&](const Entry& e) { return ranked(e) && e.rank > top; });
        // "Chapter 1: Soil" is a chapter even when it is the only one.
        const bool labelled =
            first != entries.end() && labelledStart().match(removeEmphasis(first->title)).hasMatch();
        if (first != entries.end() && first->rank == top && othersFollow && !labelled) {
            entries.erase(first);
        }
    }
    QList<int> ranks;
    for (const Entry& entry : entries) {
        if (ranked(entry) && !ranks.contains(entry.rank)) {
            ranks.append(entry.rank);
        }
    }
    std::sort(ranks.begin(), ranks.end());
    const int chapterRank = ranks.value(0, -1);
    const int sectionRank = ranks.value(1, -1);

    QStringList lines;
    int chapters = 0;
    int sections = 0;
    for (const Entry& entry : entries) {
        const QString title = cleanOutlineTitle(entry.title);
        if (title.isEmpty()) {
            continue;
        }
        if (!ranked(entry) || entry.rank == chapterRank) {
            lines.append(QStringLiteral("Chapter: ") + title);
            ++chapters;
        } else if (entry.rank == sectionRank && chapters > 0) {
            lines.append(QStringLiteral("Subchapter: ") + title);
            ++sections;
        }
    }
    if (chapters < 2 && !(chapters == 1 && sections > 0)) {
        return std::nullopt;
    }
    return lines.join(kCrLf);
}

} // namespace

QString cleanOutlineTitle(const QString& title)
{
    const QString plain = removeEmphasis(title).trimmed();
    static const QRegularExpression labelled(
        QStringLiteral("^(?i:chapter|part|section|unit|lesson|module)[ \\t]+"
                       "(?:\\d+(?:\\.\\d+)*|[IVXLCDMivxlcdm]+|[A-Za-z])(?=[ \\t:.)\\x{2013}\\x{2014}-]|$)"
                       "[ \\t]*(?:[:.)\\x{2013}\\x{2014}-][ \\t]*)?"));
    static const QRegularExpression numbered(
        QStringLiteral("^(?:(?:\\d+(?:\\.\\d+)*|[IVXLCDM]+|[A-Za-z])[ \\t]*[:.)\\x{2013}\\x{2014}-][ \\t]+"
                       "|\\d+(?:\\.\\d+)+\\.?[ \\t]+)"));
    QString cleaned = plain;
    if (const QRegularExpressionMatch m = labelled.match(plain); m.hasMatch()) {
        cleaned = plain.mid(m.capturedEnd());
    } else if (const QRegularExpressionMatch n = numbered.match(plain); n.hasMatch()) {
        cleaned = plain.mid(n.capturedEnd());
    }
    cleaned = cleaned.trimmed();
    return cleaned.isEmpty() ? plain : cleaned;
}

std::optional<QString> outlineFromText(const QString& text)
{
    EntryCollector collector;
    // Lines as the grammar cuts them: at LF, a CR before it staying (classify drops it).
    for (const QString& line : splitAtLineFeeds(text)) {
        collector.add(classify(line, false));
    }
    return collector.result();
}

std::optional<QString> outlineFromDocument(const QTextDocument& document)
{
    EntryCollector collector;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        const QString text = block.text();
        if (const int level = block.blockFormat().headingLevel(); level > 0) {
            collector.add({Line::Kind::Heading, level, 0, 1, text.simplified()});
            continue;
        }
        if (const QTextList* list = block.textList()) {
            collector.addListItem(std::max(0, list->format().indent() - 1), text.simplified());
            continue;
        }
        // A paragraph may hold several lines (line breaks); each is read as a line of text,
        // bold when its first letter is bold.
        qsizetype start = 0;
        while (start <= text.size()) {
            qsizetype end = text.indexOf(QChar(QChar::LineSeparator), start);
            if (end < 0) {
                end = text.size();
            }
            const QString line = text.mid(start, end - start);
            bool startsBold = false;
            qsizetype lead = 0;
            while (lead < line.size() && line.at(lead).isSpace()) {
                ++lead;
            }
            const qsizetype firstLetter = start + lead;
            for (auto it = block.begin(); !it.atEnd(); ++it) {
                const QTextFragment fragment = it.fragment();
                const qsizetype offset = fragment.position() - block.position();
                if (firstLetter >= offset && firstLetter < offset + fragment.length()) {
                    startsBold = fragment.charFormat().fontWeight() >= QFont::DemiBold;
                    break;
                }
            }
            collector.add(classify(line, startsBold));
            collector.add(classify(QString(), false));
            start = end + 1;
        }
    }
    return collector.result();
}

} // namespace folioneer::paste
