// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "writing/spelling_settings.h"

#include "project/program_paths.h"
#include "support/text_codec.h"
#include "writing/spell_checker.h"

namespace folioneer {

namespace {

constexpr qint64 kMaxSettingsFile = 16 * 1024 * 1024;

QStringList readLines(const QString& path)
{
    const ResultOf<QByteArray> file = readWholeFile(path, kMaxSettingsFile);
    if (!file.ok()) {
        return {};
    }
    QStringList lines;
    for (const QString& line : decodeText(file.value()).split(u'\n')) {
        const QString word = line.trimmed();
        if (!word.isEmpty()) {
            lines.append(word);
        }
    }
    return lines;
}

} // namespace

QStringList readPersonalWords(const QString& programFolder)
{
    return readLines(programPath(programFolder, paths::kPersonalDictionary));
}

Result addPersonalWord(const QString& programFolder, const QString& word)
{
    QStringList words = readPersonalWords(programFolder);
    if (words.contains(word)) {
        return {};
    }
    words.append(word);
    return writeFileAtomically(programPath(programFolder, paths::kPersonalDictionary),
                               encodeText(words.join(u'\n') + u'\n'));
}

void addPersonalWords(SpellChecker& checker, const QString& programFolder)
{
    for (const QString& word : readPersonalWords(programFolder)) {
        checker.addWord(word);
    }
}

QString readLanguageChoice(const QString& programFolder)
{
    const QStringList lines = readLines(programPath(programFolder, paths::kSpellingLanguage));
    return lines.isEmpty() ? QString() : lines.first();
}

Result writeLanguageChoice(const QString& programFolder, const QString& language)
{
    return writeFileAtomically(programPath(programFolder, paths::kSpellingLanguage),
                               encodeText(language + u'\n'));
}

QString chooseLanguage(const QStringList& installed, const QString& remembered, const QString& localeName)
{
    for (const QString& candidate : {remembered, localeName, QStringLiteral("en_US")}) {
        if (!candidate.isEmpty() && installed.contains(candidate)) {
            return candidate;
        }
    }
    return {};
}

} // namespace folioneer
