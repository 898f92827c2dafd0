// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/test_support.h"
#include "writing/spell_checker.h"
#include "writing/spell_words.h"
#include "writing/spelling_settings.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace folioneer;

namespace {

QString dictionaries()
{
    return test::sourceDir() + QStringLiteral("/tests/data/hunspell");
}

} // namespace

class tst_Spelling : public QObject {
    Q_OBJECT
private slots:
    void wordsToCheck_data();
    void wordsToCheck();
    void lookUp_data();
    void lookUp();
    void suggestionsComeBackDecoded();
    void noDictionary();
    void addedWordSurvivesRestart();
    void language_data();
    void language();
};

void tst_Spelling::wordsToCheck_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("words");
    QTest::newRow("plain") << "Hello, world." << QStringList{"Hello", "world"};
    QTest::newRow("web address skipped whole") << "see http://x.org/a-b now" << QStringList{"see", "now"};
    QTest::newRow("www address") << "at www.exampel.com ok" << QStringList{"at", "ok"};
    QTest::newRow("e-mail address") << "mail me.you@exampel.org today" << QStringList{"mail", "today"};
    QTest::newRow("digits and capitals skipped") << "NASA sent B2B 3rd mail" << QStringList{"sent", "mail"};
    QTest::newRow("apostrophes inside, quotes outside")
        << QString::fromUtf8("don't don’t 'quoted' ’tis")
        << QStringList{"don't", QString::fromUtf8("don’t"), "quoted", "tis"};
    QTest::newRow("overlong run") << QString(61, u'w') + QStringLiteral(" and ") + QString(60, u'w')
                                  << QStringList{"and", QString(60, u'w')};
    QTest::newRow("hyphen splits") << "well-known" << QStringList{"well", "known"};
    QTest::newRow("script without case")
        << QString::fromUtf8("中文 Привет")
        << QStringList{QString::fromUtf8("中文"), QString::fromUtf8("Привет")};
}

void tst_Spelling::wordsToCheck()
{
    QFETCH(QString, text);
    QFETCH(QStringList, words);
    QStringList found;
    for (const WordSpan& span : folioneer::wordsToCheck(text)) {
        found.append(text.mid(span.start, span.length));
    }
    QCOMPARE(found, words);
}

void tst_Spelling::lookUp_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("word");
    QTest::addColumn<bool>("correct");
    QTest::newRow("known") << "xx_TEST"
                           << "hello" << true;
    QTest::newRow("misspelt") << "xx_TEST"
                              << "helo" << false;
    QTest::newRow("straight apostrophe") << "xx_TEST"
                                         << "don't" << true;
    QTest::newRow("curly apostrophe") << "xx_TEST" << QString::fromUtf8("don’t") << true;
    QTest::newRow("accent") << "xx_TEST" << QString::fromUtf8("café") << true;
    QTest::newRow("accent missing") << "xx_TEST"
                                    << "cafe" << false;
    QTest::newRow("8-bit known") << "ru_TEST" << QString::fromUtf8("привет") << true;
    QTest::newRow("8-bit misspelt") << "ru_TEST" << QString::fromUtf8("превет") << false;
    QTest::newRow("8-bit cannot hold it") << "ru_TEST" << QString::fromUtf8("中文") << false;
}

void tst_Spelling::lookUp()
{
    QFETCH(QString, language);
    QFETCH(QString, word);
    QFETCH(bool, correct);
    SpellChecker checker;
    QVERIFY(checker.load(dictionaries(), language));
    QCOMPARE(checker.isCorrect(word), correct);
}

void tst_Spelling::suggestionsComeBackDecoded()
{
    SpellChecker checker;
    QVERIFY(checker.load(dictionaries(), QStringLiteral("ru_TEST")));
    QVERIFY(checker.suggest(QString::fromUtf8("превет"), 8).contains(QString::fromUtf8("привет")));
    QVERIFY(checker.load(dictionaries(), QStringLiteral("xx_TEST")));
    const QStringList suggestions = checker.suggest(QStringLiteral("wrter"), 8);
    QVERIFY(suggestions.contains(QStringLiteral("writer")));
    QVERIFY(suggestions.size() <= 8);
}

void tst_Spelling::noDictionary()
{
    QTemporaryDir empty;
    QVERIFY(SpellChecker::installedLanguages(empty.path()).isEmpty());
    SpellChecker checker;
    QVERIFY(!checker.load(empty.path(), QStringLiteral("en_US")));
    QVERIFY(!checker.isLoaded());
    // Without a dictionary nothing is marked and nothing is proposed.
    QVERIFY(checker.isCorrect(QStringLiteral("helo")));
    QVERIFY(checker.suggest(QStringLiteral("helo"), 8).isEmpty());
    QCOMPARE(SpellChecker::installedLanguages(dictionaries()), (QStringList{"ru_TEST", "xx_TEST"}));
}

void tst_Spelling::addedWordSurvivesRestart()
{
    QTemporaryDir program;
    QVERIFY(addPersonalWord(program.path(), QStringLiteral("Folioneer")).ok());
    QVERIFY(addPersonalWord(program.path(), QString::fromUtf8("naïveté")).ok());
    QVERIFY(addPersonalWord(program.path(), QStringLiteral("Folioneer")).ok());
    QCOMPARE(test::readFile(program.path() + QStringLiteral("/dictionary.txt")),
             QString::fromUtf8("Folioneer\nnaïveté\n").toUtf8());

    SpellChecker restarted;
    QVERIFY(restarted.load(dictionaries(), QStringLiteral("xx_TEST")));
    QVERIFY(!restarted.isCorrect(QStringLiteral("Folioneer")));
    addPersonalWords(restarted, program.path());
    QVERIFY(restarted.isCorrect(QStringLiteral("Folioneer")));
    QVERIFY(restarted.isCorrect(QString::fromUtf8("naïveté")));
    QVERIFY(!restarted.isCorrect(QStringLiteral("helo")));
}

void tst_Spelling::language_data()
{
    QTest::addColumn<QString>("remembered");
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("chosen");
    QTest::newRow("locale's dictionary") << ""
                                         << "en_GB"
                                         << "en_GB";
    QTest::newRow("no dictionary for the locale") << ""
                                                  << "de_DE"
                                                  << "en_US";
    QTest::newRow("C locale") << ""
                              << "C"
                              << "en_US";
    QTest::newRow("choice wins") << "en_GB"
                                 << "en_US"
                                 << "en_GB";
    QTest::newRow("choice uninstalled since") << "fr_FR"
                                              << "en_GB"
                                              << "en_GB";
}

void tst_Spelling::language()
{
    QFETCH(QString, remembered);
    QFETCH(QString, locale);
    QFETCH(QString, chosen);
    QCOMPARE(chooseLanguage({"en_GB", "en_US"}, remembered, locale), chosen);

    // The choice is remembered in the program folder.
    QTemporaryDir program;
    QVERIFY(readLanguageChoice(program.path()).isEmpty());
    QVERIFY(writeLanguageChoice(program.path(), chosen).ok());
    QCOMPARE(readLanguageChoice(program.path()), chosen);
    QCOMPARE(test::treeListing(program.path()), QStringList{"spelling-language.txt"});
}

QTEST_GUILESS_MAIN(tst_Spelling)
#include "tst_spelling.moc"
