// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/test_support.h"
#include "paste/clipboard_reader.h"
#include "paste/outline_recogniser.h"

#include <QtTest>

using namespace folioneer;

// "Paste Results": tables of contents in the outline forms chat answers use become grammar
// lines, byte for byte; grammar input and text that is no outline stay as they came.
class tst_OutlineRecogniser : public QObject {
    Q_OBJECT

private slots:
    void textOutlines_data();
    void textOutlines();
    void htmlOutlines_data();
    void htmlOutlines();
    void titles_data();
    void titles();
};

void tst_OutlineRecogniser::textOutlines_data()
{
    QTest::addColumn<QString>("clipboard");
    QTest::addColumn<QString>("results");
    QTest::addColumn<bool>("converted");

    // The three examples every user meets first.
    QTest::newRow("markdown headings with a title")
        << QStringLiteral("# Table of Contents\n## Chapter 1: Soil\n- 1.1 What Soil Is\n## Chapter 2: Water")
        << QStringLiteral("Chapter: Soil\r\nSubchapter: What Soil Is\r\nChapter: Water") << true;
    QTest::newRow("bold lines")
        << QStringLiteral("**Introduction**\n**Chapter 1:** Soil\n- Soil types\n**Conclusion**")
        << QStringLiteral(
               "Chapter: Introduction\r\nChapter: Soil\r\nSubchapter: Soil types\r\nChapter: Conclusion")
        << true;
    QTest::newRow("numbered with outline numbers")
        << QStringLiteral("1. Soil\n   1.1 Soil types\n2. Water")
        << QStringLiteral("Chapter: Soil\r\nSubchapter: Soil types\r\nChapter: Water") << true;

    // Shapes seen in real chat answers.
    QTest::newRow("chatty answer with bold headings")
        << QStringLiteral(
               "Sure! Here is a table of contents for your book:\r\n\r\n### **Chapter 1: Soil**\r\n"
               "- What soil is\r\n- Soil types\r\n\r\n### **Chapter 2: Water**\r\n- Rain\r\n\r\n"
               "Let me know if you would like any changes!")
        << QStringLiteral(
               "Chapter: Soil\r\nSubchapter: What soil is\r\nSubchapter: Soil types\r\nChapter: Water\r\n"
               "Subchapter: Rain")
        << true;
    QTest::newRow("numbered bold items with nested bullets")
        << QStringLiteral(
               "1. **Introduction**\n   - Why soil matters\n2. **Soil Basics**\n   - What soil is\n"
               "     - Minerals\n3. **Conclusion**")
        << QStringLiteral("Chapter: Introduction\r\nSubchapter: Why soil matters\r\nChapter: Soil Basics\r\n"
                          "Subchapter: What soil is\r\nChapter: Conclusion")
        << true;
    QTest::newRow("parts above chapters")
        << QStringLiteral(
               "# Living Soil\n\n## Part I: Foundations\n### Chapter 1 – Soil\n### Chapter 2 – Water\n"
               "## Part II: Practice\n### Chapter 3 — Compost")
        << QStringLiteral(
               "Chapter: Foundations\r\nSubchapter: Soil\r\nSubchapter: Water\r\nChapter: Practice\r\n"
               "Subchapter: Compost")
        << true;
    QTest::newRow("plain labelled lines")
        << QStringLiteral(
               "Introduction\nChapter 1: Soil\n  \u2022 What soil is\n  \u2022 Soil types\nChapter 2: Water\n"
               "Conclusion\nAppendix A: Glossary")
        << QStringLiteral("Chapter: Introduction\r\nChapter: Soil\r\nSubchapter: What soil is\r\n"
                          "Subchapter: Soil types\r\nChapter: Water\r\nChapter: Conclusion\r\n"
                          "Chapter: Appendix A: Glossary")
        << true;
    QTest::newRow("outline numbers without indentation")
        << QStringLiteral("1. Soil\n1.1 What soil is\n1.2. Soil types\n1.2.1 Clay\n2. Water\n2.1 Rain")
        << QStringLiteral(
               "Chapter: Soil\r\nSubchapter: What soil is\r\nSubchapter: Soil types\r\nChapter: Water\r\n"
               "Subchapter: Rain")
        << true;
    QTest::newRow("roman numerals and letters")
        << QStringLiteral("I. Foundations\n   A. Soil\n   B. Water\nII. Practice\n   A) Compost")
        << QStringLiteral(
               "Chapter: Foundations\r\nSubchapter: Soil\r\nSubchapter: Water\r\nChapter: Practice\r\n"
               "Subchapter: Compost")
        << true;
    QTest::newRow("descriptions under headings")
        << QStringLiteral("## Chapter 1: Soil\nAn overview of what soil is made of.\n\n## Chapter 2: Water\n"
                          "*How water moves through the ground.*")
        << QStringLiteral("Chapter: Soil\r\nChapter: Water") << true;
    QTest::newRow("bold labels with descriptions")
        << QStringLiteral("**Chapter 1: Soil** \u2013 what it is\n**Chapter 2: Water** \u2013 how it moves")
        << QStringLiteral("Chapter: Soil \u2013 what it is\r\nChapter: Water \u2013 how it moves") << true;
    QTest::newRow("underlined headings")
        << QStringLiteral("Table of Contents\n=================\n\nChapter 1: Soil\n---------------\n\n"
                          "- What soil is\n\nChapter 2: Water\n----------------")
        << QStringLiteral("Chapter: Soil\r\nSubchapter: What soil is\r\nChapter: Water") << true;
    QTest::newRow("modules and lessons with tabs")
        << QStringLiteral(
               "Module 1 - Basics\n\t* Lesson 1.1: Soil\n\t* Lesson 1.2: Water\nModule 2 - Advanced\n"
               "\t* Lesson 2.1: Compost")
        << QStringLiteral("Chapter: Basics\r\nSubchapter: Soil\r\nSubchapter: Water\r\nChapter: Advanced\r\n"
                          "Subchapter: Compost")
        << true;

    // Left exactly as the clipboard holds it.
    QTest::newRow("grammar lines") << QStringLiteral("Chapter: Soil\r\nSubchapter: Rocks\r\n")
                                   << QStringLiteral("Chapter: Soil\r\nSubchapter: Rocks\r\n") << false;
    QTest::newRow("grammar line among markdown")
        << QStringLiteral("## Intro\n- one\n  Chapter:Soil")
        << QStringLiteral("## Intro\n- one\n  Chapter:Soil") << false;
    QTest::newRow("prose") << QStringLiteral("Thanks! Here is some advice about soil.\nWater it often.")
                           << QStringLiteral("Thanks! Here is some advice about soil.\nWater it often.")
                           << false;
    QTest::newRow("one item") << QStringLiteral("- milk") << QStringLiteral("- milk") << false;
    QTest::newRow("empty") << QString() << QString() << false;
}

void tst_OutlineRecogniser::textOutlines()
{
    QFETCH(QString, clipboard);
    QFETCH(QString, results);
    QFETCH(bool, converted);
    const paste::ResultsPaste pasted = paste::resultsFromClipboard(clipboard, QString());
    QCOMPARE(pasted.text, results);
    QCOMPARE(pasted.converted, converted);
}

void tst_OutlineRecogniser::htmlOutlines_data()
{
    QTest::addColumn<QString>("html");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("results");

    QTest::newRow("headings and list")
        << QStringLiteral(
               "<h1>Table of Contents</h1><h2 style=\"color:#ececec\">Chapter 1: Soil</h2><ul><li>1.1 "
               "What Soil Is</li></ul><h2>Chapter 2: Water</h2>")
        << QStringLiteral("Table of Contents\nChapter 1: Soil\n1.1 What Soil Is\nChapter 2: Water")
        << QStringLiteral("Chapter: Soil\r\nSubchapter: What Soil Is\r\nChapter: Water");
    QTest::newRow("bold lines joined by breaks")
        << QStringLiteral(
               "<p><strong>Introduction</strong><br><strong>Chapter 1:</strong> Soil</p><ul><li>Soil "
               "types</li></ul><p><b>Conclusion</b></p>")
        << QStringLiteral("Introduction\nChapter 1: Soil\nSoil types\nConclusion")
        << QStringLiteral(
               "Chapter: Introduction\r\nChapter: Soil\r\nSubchapter: Soil types\r\nChapter: Conclusion");
    QTest::newRow("nested ordered lists")
        << QStringLiteral(
               "<ol><li><p><strong>Soil</strong></p><ul><li>Clay</li><li>Sand<ul><li>deep</li></ul></li>"
               "</ul></li><li><p><strong>Water</strong></p></li></ol>")
        << QStringLiteral("Soil\nClay\nSand\ndeep\nWater")
        << QStringLiteral("Chapter: Soil\r\nSubchapter: Clay\r\nSubchapter: Sand\r\nChapter: Water");
    QTest::newRow("html without outline falls back to the text")
        << QStringLiteral("<p>1. Soil<br>   1.1 Soil types<br>2. Water</p><p>more words</p>")
        << QStringLiteral("1. Soil\n   1.1 Soil types\n2. Water")
        << QStringLiteral("Chapter: Soil\r\nSubchapter: Soil types\r\nChapter: Water");
    QTest::newRow("captured from the browser")
        << QString::fromUtf8(
               test::readFile(test::sourceDir() + QStringLiteral("/tests/data/paste/chromium-toc.html")))
        << QStringLiteral("Table of Contents")
        << QStringLiteral(
               "Chapter: Introduction\r\nChapter: Soil\r\nSubchapter: What Soil Is\r\nSubchapter: Soil "
               "Types\r\nChapter: Water\r\nSubchapter: Rain\r\nChapter: Conclusion");
}

void tst_OutlineRecogniser::htmlOutlines()
{
    QFETCH(QString, html);
    QFETCH(QString, text);
    QFETCH(QString, results);
    const paste::ResultsPaste pasted = paste::resultsFromClipboard(text, html);
    QCOMPARE(pasted.text, results);
    QVERIFY(pasted.converted);
}

void tst_OutlineRecogniser::titles_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("cleaned");

    QTest::newRow("label and colon") << QStringLiteral("Chapter 12: Soil") << QStringLiteral("Soil");
    QTest::newRow("emphasis anywhere")
        << QStringLiteral("**Chapter 1:** The *living* __soil__") << QStringLiteral("The living soil");
    QTest::newRow("sub-numbers and dash") << QStringLiteral("Section 2.3.1 - Clay") << QStringLiteral("Clay");
    QTest::newRow("roman part with em dash")
        << QStringLiteral("PART IV \u2014 Practice") << QStringLiteral("Practice");
    QTest::newRow("number alone") << QStringLiteral("3.2 Rain") << QStringLiteral("Rain");
    QTest::newRow("number and parenthesis") << QStringLiteral("4) Rain") << QStringLiteral("Rain");
    QTest::newRow("introduction stays") << QStringLiteral("Introduction") << QStringLiteral("Introduction");
    QTest::newRow("appendix stays") << QStringLiteral("Appendix A: Glossary")
                                    << QStringLiteral("Appendix A: Glossary");
    QTest::newRow("a title starting with a word")
        << QStringLiteral("A Brief History") << QStringLiteral("A Brief History");
    QTest::newRow("a count is no number")
        << QStringLiteral("10 Ways to Compost") << QStringLiteral("10 Ways to Compost");
    QTest::newRow("label alone stays") << QStringLiteral("Chapter 7") << QStringLiteral("Chapter 7");
    QTest::newRow("odd marker stays") << QStringLiteral("5 * 3 rule") << QStringLiteral("5 * 3 rule");
}

void tst_OutlineRecogniser::titles()
{
    QFETCH(QString, title);
    QFETCH(QString, cleaned);
    QCOMPARE(paste::cleanOutlineTitle(title), cleaned);
}

QTEST_MAIN(tst_OutlineRecogniser)
#include "tst_outline_recogniser.moc"
