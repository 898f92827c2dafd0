// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

#include <memory>

namespace folioneer {

// One Hunspell dictionary: looks words up and proposes corrections. The only class that sees
// Hunspell; it converts between Qt's strings and the dictionary's own encoding (named by the
// SET line of its .aff file). Knows nothing about documents, files of the program or settings.
class SpellChecker {
public:
    SpellChecker();
    ~SpellChecker();
    SpellChecker(const SpellChecker&) = delete;
    SpellChecker& operator=(const SpellChecker&) = delete;

    /// The languages ("en_US") with both an .aff and a .dic file in `folder`, sorted.
    static QStringList installedLanguages(const QString& folder);

    /// Loads `language` from `folder`. False (and nothing loaded) when its files are missing or
    /// its encoding is unknown. Takes tens of milliseconds for a full dictionary.
    bool load(const QString& folder, const QString& language);
    bool isLoaded() const { return m_engine != nullptr; }
    QString language() const { return m_language; }

    /// True when the dictionary knows `word` (curly apostrophes are read as straight ones), or
    /// when no dictionary is loaded. A word the dictionary's encoding cannot hold is unknown.
    bool isCorrect(QStringView word);
    /// Up to `limit` corrections, best first. Slow (tens of milliseconds): only on request.
    QStringList suggest(QStringView word, int limit);
    /// Accepts `word` from now on, in this checker only.
    void addWord(QStringView word);

private:
    bool encode(QStringView word, std::string& out);

    struct Engine;
    std::unique_ptr<Engine> m_engine; // null when nothing is loaded
    QString m_language;
};

/// The name Qt's converters know for a dictionary encoding as a SET line gives it
/// ("microsoft-cp1251" is "windows-1251"); other names are returned as they are.
QString converterNameForDictionaryEncoding(const QString& setName);

} // namespace folioneer
