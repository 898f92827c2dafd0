// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "prompts/prompt_texts.h"

#include "common/test_support.h"
#include "support/text_holder.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace folioneer;

class tst_PromptTexts : public QObject {
    Q_OBJECT

private slots:
    void contentPrompt_data();
    void contentPrompt();
    void tocPromptReadsTemplateEachTime();
    void overrideAppliesToBothTemplates();
    void missingTemplateKeepsHolder();
};

void tst_PromptTexts::contentPrompt_data()
{
    QTest::addColumn<QString>("topic");
    QTest::addColumn<QString>("chapter");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("prompt");

    QTest::newRow("gardening example")
        << "Gardening\r\n"
        << " The Basics\r"
        << "Soil\r"
        << "I'm creating a book for the following topic: Gardening\r\n. I'm now working in the following "
           "chapter: \"The Basics\r\" and i need content for the following section of the chapter: "
           "\"Soil\r\".";
    QTest::newRow("two stops become one")
        << "T"
        << "C"
        << "Wait.. Why"
        << "I'm creating a book for the following topic: T. I'm now working in the following chapter: \"C\" "
           "and i need content for the following section of the chapter: \"Wait. Why\".";
    QTest::newRow("three stops: one pass")
        << "T"
        << "C"
        << "Wait... Why"
        << "I'm creating a book for the following topic: T. I'm now working in the following chapter: \"C\" "
           "and i need content for the following section of the chapter: \"Wait.. Why\".";
    QTest::newRow("topic ending in a stop")
        << "Gardening."
        << "C"
        << "S"
        << "I'm creating a book for the following topic: Gardening. I'm now working in the following "
           "chapter: \"C\" and i need content for the following section of the chapter: \"S\".";
    QTest::newRow("chapter trimmed, blank before CR kept")
        << "T"
        << "  Getting Started \r"
        << "Setup\r"
        << "I'm creating a book for the following topic: T. I'm now working in the following chapter: "
           "\"Getting Started \r\" and i need content for the following section of the chapter: \"Setup\r\".";
}

void tst_PromptTexts::contentPrompt()
{
    QFETCH(QString, topic);
    QFETCH(QString, chapter);
    QFETCH(QString, section);
    QFETCH(QString, prompt);
    QCOMPARE(folioneer::contentPrompt(topic, chapter, section), prompt);
}

void tst_PromptTexts::tocPromptReadsTemplateEachTime()
{
    QTemporaryDir dir;
    const QString templ = dir.filePath("templates/prompt.txt");
    QVERIFY(test::writeFile(templ, "A book about #TOPIC#.\r\nOnly #TOPIC#."));
    TextHolder holder;
    attachPromptOverride(holder, dir.path());

    QCOMPARE(tocPrompt(holder, dir.path(), "Bees"), QString("A book about Bees.\r\nOnly Bees."));
    QCOMPARE(tocPrompt(holder, dir.path(), " "), QString("A book about  .\r\nOnly  ."));
    QVERIFY(test::writeFile(templ, "Changed: #TOPIC#"));
    QCOMPARE(tocPrompt(holder, dir.path(), "Bees"), QString("Changed: Bees"));
    QCOMPARE(tocPrompt(holder, dir.path(), ""), QString());
}

void tst_PromptTexts::overrideAppliesToBothTemplates()
{
    QTemporaryDir dir;
    QVERIFY(test::writeFile(dir.filePath("templates/prompt.txt"), "toc #TOPIC#"));
    QVERIFY(test::writeFile(dir.filePath("templates/prompt-publicdomain.txt"), "sequel #TOPIC#"));
    TextHolder holder;
    attachPromptOverride(holder, dir.path());
    QCOMPARE(sequelPrompt(holder, dir.path(), "S"), QString("sequel S"));

    QVERIFY(test::writeFile(dir.filePath("prompt.txt"), "override #TOPIC#"));
    QSignalSpy changes(&holder, &TextHolder::textChanged);
    QCOMPARE(tocPrompt(holder, dir.path(), "T"), QString("override T"));
    QCOMPARE(changes.count(), 2); // the template, then the override over it
    QCOMPARE(sequelPrompt(holder, dir.path(), "S"), QString("override S"));

    QVERIFY(QFile::remove(dir.filePath("prompt.txt")));
    QCOMPARE(tocPrompt(holder, dir.path(), "T"), QString("toc T"));
}

void tst_PromptTexts::missingTemplateKeepsHolder()
{
    QTemporaryDir dir;
    QVERIFY(test::writeFile(dir.filePath("templates/prompt.txt"), "toc #TOPIC#"));
    TextHolder holder;
    attachPromptOverride(holder, dir.path());
    QCOMPARE(tocPrompt(holder, dir.path(), "T"), QString("toc T"));
    // No sequel template: the holder keeps the last template it held.
    QCOMPARE(sequelPrompt(holder, dir.path(), "S"), QString("toc S"));
}

QTEST_GUILESS_MAIN(tst_PromptTexts)
#include "tst_prompt_texts.moc"
