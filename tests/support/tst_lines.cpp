// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/lines.h"

#include <QTest>

using namespace folioneer;

class tst_Lines : public QObject {
    Q_OBJECT

private slots:
    void atLineFeeds_data();
    void atLineFeeds();
    void atAnyLineEnd_data();
    void atAnyLineEnd();
};

void tst_Lines::atLineFeeds_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("lines");

    QTest::newRow("empty text is one empty line") << "" << QStringList{""};
    QTest::newRow("CR LF keeps the CR") << "a\r\nb\r\n" << QStringList{"a\r", "b\r", ""};
    QTest::newRow("no final line break") << "a\nb" << QStringList{"a", "b"};
    QTest::newRow("lone CR does not end a line") << "a\rb\n" << QStringList{"a\rb", ""};
    QTest::newRow("empty lines kept") << "\n\n" << QStringList{"", "", ""};
}

void tst_Lines::atLineFeeds()
{
    QFETCH(QString, text);
    QFETCH(QStringList, lines);
    QCOMPARE(splitAtLineFeeds(text), lines);
}

void tst_Lines::atAnyLineEnd_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("ends"); // one letter a line: C = CR LF, r = CR, n = LF, - = none
    QTest::addColumn<QString>("crLf"); // the text with CR LF line ends

    QTest::newRow("CR LF") << "a\r\nb\r\n"
                           << QStringList{"a", "b"} << "CC"
                           << "a\r\nb\r\n";
    QTest::newRow("LF") << "a\nb\n"
                        << QStringList{"a", "b"} << "nn"
                        << "a\r\nb\r\n";
    QTest::newRow("CR") << "a\rb\r" << QStringList{"a", "b"} << "rr"
                        << "a\r\nb\r\n";
    QTest::newRow("no final break") << "a\r\nb" << QStringList{"a", "b"} << "C-"
                                    << "a\r\nb";
    QTest::newRow("empty lines kept") << "a\r\n\r\n\nb" << QStringList{"a", "", "", "b"} << "CCn-"
                                      << "a\r\n\r\n\r\nb";
    QTest::newRow("LF CR is two breaks") << "a\n\rb" << QStringList{"a", "", "b"} << "nr-"
                                         << "a\r\n\r\nb";
    QTest::newRow("CR CR LF is two breaks") << "a\r\r\nb" << QStringList{"a", "", "b"} << "rC-"
                                            << "a\r\n\r\nb";
    QTest::newRow("mixed") << "a\r\n\nb\r\rc" << QStringList{"a", "", "b", "", "c"} << "Cnrr-"
                           << "a\r\n\r\nb\r\n\r\nc";
    QTest::newRow("empty text") << "" << QStringList{} << ""
                                << "";
}

void tst_Lines::atAnyLineEnd()
{
    QFETCH(QString, text);
    QFETCH(QStringList, lines);
    QFETCH(QString, ends);
    QFETCH(QString, crLf);

    QCOMPARE(splitAtAnyLineEnd(text), lines);
    QString seenEnds;
    for (const EndedLine& line : linesAtAnyLineEnd(text)) {
        switch (line.end) {
        case LineEnd::CrLf:
            seenEnds += QLatin1Char('C');
            break;
        case LineEnd::Cr:
            seenEnds += QLatin1Char('r');
            break;
        case LineEnd::Lf:
            seenEnds += QLatin1Char('n');
            break;
        case LineEnd::None:
            seenEnds += QLatin1Char('-');
            break;
        }
    }
    QCOMPARE(seenEnds, ends);
    QCOMPARE(withCrLfLineEnds(text), crLf);
}

QTEST_GUILESS_MAIN(tst_Lines)
#include "tst_lines.moc"
