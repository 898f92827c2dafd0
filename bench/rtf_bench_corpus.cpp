// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "rtf_bench_corpus.h"

#include <QRandomGenerator>

namespace folioneer::bench {

namespace {

const char* const kWords[] = {
    "the",   "book",     "chapter", "writing", "a",      "of",     "and",    "to",      "in",       "is",
    "that",  "it",       "with",    "as",      "for",    "was",    "on",     "are",     "history",  "river",
    "city",  "people",   "idea",    "result",  "method", "page",   "number", "section", "question", "answer",
    "north", "mountain", "garden",  "letter",  "report", "market", "winter", "summer",  "evidence", "reader",
};
// Text that takes the reader's slower paths: code-page escapes, \uN with fallbacks, symbols.
const char* const kSpecial[] = {
    "caf\\'e9",         "na\\'efve",
    "\\'93quoted\\'94", "\\u1078?\\u1080?\\u1074?",
    "\\u8364\\'80",     "\\ldblquote x\\rdblquote",
    "\\emdash",         "\\~",
    "\\tab ",           "\\u-10179?\\u-8704?",
    "a\\\\b",           "\\{x\\}",
    "\\line ",          "{\\f2 \\'c4\\'e0}",
    "\\u233\\'e9",
};

class Writer {
public:
    Writer(quint32 seed, qsizetype target) : m_random(seed), m_target(target)
    {
        m_out.reserve(target + 4096);
    }

    QByteArray document()
    {
        m_out += "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1\r\n"
                 "{\\fonttbl{\\f0\\froman\\fcharset0 Times New Roman;}{\\f1\\fswiss\\fcharset0 Arial;}"
                 "{\\f2\\fnil\\fcharset204 Arial CYR;}{\\f3\\fmodern\\fcharset0 Courier New;}"
                 "{\\f4\\fnil\\fcharset2 Symbol;}}\r\n"
                 "{\\colortbl;\\red0\\green0\\blue0;\\red192\\green0\\blue0;\\red0\\green96\\blue160;}\r\n"
                 "{\\stylesheet{\\s0 Normal;}{\\s1\\b\\fs32 Heading 1;}}\r\n"
                 "{\\*\\generator Bench;}{\\info{\\title Generated}{\\author Bench}}\r\n";
        while (m_out.size() < m_target) {
            paragraph();
        }
        m_out += "}\r\n";
        return m_out;
    }

private:
    int pick(int n) { return static_cast<int>(m_random.bounded(n)); }

    void words(int count)
    {
        for (int i = 0; i < count; ++i) {
            if (pick(12) == 0) {
                m_out += kSpecial[pick(std::size(kSpecial))];
            } else {
                m_out += kWords[pick(std::size(kWords))];
            }
            m_out += ' ';
        }
    }

    void run()
    {
        switch (pick(10)) {
        case 0:
            m_out += "{\\b ";
            break;
        case 1:
            m_out += "{\\i ";
            break;
        case 2:
            m_out += "{\\ul ";
            break;
        case 3:
            m_out += "{\\f1\\fs20 ";
            break;
        case 4:
            m_out += "{\\cf2 ";
            break;
        case 5:
            m_out += "{\\f3\\highlight3 ";
            break;
        case 6:
            m_out += "{\\v ";
            break;
        case 7:
            m_out += "{\\super ";
            break;
        default:
            words(3 + pick(10));
            return;
        }
        words(1 + pick(6));
        m_out += '}';
    }

    void paragraph()
    {
        switch (pick(20)) {
        case 0: // heading
            m_out += "\\pard\\s1\\sb240\\sa120\\b\\fs32 ";
            words(3 + pick(5));
            m_out += "\\b0\\fs24\\par\r\n";
            return;
        case 1: // bullet item
            m_out += "\\pard{\\pntext\\f4\\'b7\\tab}{\\*\\pn\\pnlvlblt\\pnf4\\pnindent0{\\pntxtb\\'b7}}\\fi-"
                     "360\\li720 ";
            words(5 + pick(15));
            m_out += "\\par\r\n";
            return;
        case 2: // table row
            m_out += "\\trowd\\trgaph108\\cellx3000\\cellx6000\\cellx9000\r\n";
            for (int c = 0; c < 3; ++c) {
                m_out += "\\pard\\intbl ";
                words(1 + pick(4));
                m_out += "\\cell ";
            }
            m_out += "\\row\r\n";
            return;
        case 3: // link
            m_out += "\\pard See {\\field{\\*\\fldinst{HYPERLINK "
                     "\"https://example.org/page\"}}{\\fldrslt{\\ul\\cf3 ";
            words(2);
            m_out += "}}} for more.\\par\r\n";
            return;
        case 4: // a skipped destination
            m_out += "{\\*\\bkmkstart b}{\\*\\bkmkend b}{\\footnote\\chftn ";
            words(6);
            m_out += "}";
            break;
        default:
            break;
        }
        m_out += pick(4) == 0 ? "\\pard\\qj\\sl276\\slmult1 " : "\\pard ";
        const int runs = 4 + pick(12);
        for (int r = 0; r < runs; ++r) {
            run();
        }
        m_out += "\\par\r\n";
    }

    QRandomGenerator m_random;
    qsizetype m_target;
    QByteArray m_out;
};

} // namespace

QByteArray generateRtfDocument(quint32 seed, qsizetype targetBytes)
{
    return Writer(seed, targetBytes).document();
}

QList<QByteArray> generateRtfCorpus(quint32 seed, int count)
{
    QRandomGenerator sizes(seed);
    QList<QByteArray> corpus;
    corpus.reserve(count);
    for (int i = 0; i < count; ++i) {
        const qsizetype target = 20 * 1024 + sizes.bounded(39 * 1024); // ends within 20-60 KB
        corpus.append(generateRtfDocument(seed + 1 + static_cast<quint32>(i), target));
    }
    return corpus;
}

} // namespace folioneer::bench
