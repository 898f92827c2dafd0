// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "support/file_io.h"

#include <QString>
#include <QStringList>

namespace folioneer {

class SpellChecker;

// The spelling check's two small files in the program folder: the personal word list (one word
// a line) and the chosen language, both UTF-8. Nothing is kept anywhere else.

/// The words the user added, in the order added; none when the file is missing or unreadable.
QStringList readPersonalWords(const QString& programFolder);

/// Adds `word` to the personal word list (a word already there is not added twice).
Result addPersonalWord(const QString& programFolder, const QString& word);

/// Teaches `checker` every word of the personal word list.
void addPersonalWords(SpellChecker& checker, const QString& programFolder);

/// The language the user chose last; empty when none was chosen.
QString readLanguageChoice(const QString& programFolder);
Result writeLanguageChoice(const QString& programFolder, const QString& language);

/// The language to check in: the remembered choice when its dictionary is installed, else the
/// system locale's ("en_GB"), else US English, else none (empty).
QString chooseLanguage(const QStringList& installed, const QString& remembered, const QString& localeName);

} // namespace folioneer
