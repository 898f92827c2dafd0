// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>

#include <memory>

class QMenu;
class QTextEdit;

namespace folioneer {

class SpellChecker;

// The spelling check of the running program: which dictionary is in use, the words ignored
// until the program closes, and the spelling part of an editor's context menu. The dictionary
// is loaded away from the window's thread the first time it is needed, so neither start-up
// nor the first section waits for it.
class Spelling : public QObject {
    Q_OBJECT
public:
    Spelling(const QString& programFolder, const QString& dictionaryFolder, QObject* parent = nullptr);
    ~Spelling() override;

    /// Starts loading the dictionary unless it is loaded or loading.
    void ensureLoaded();
    /// True once a load has finished, with or without a dictionary.
    bool isReady() const { return m_ready; }
    /// True when words are checked (a dictionary is loaded).
    bool isChecking() const;

    /// True when `word` should not be marked (also while nothing is loaded).
    bool isAcceptable(const QString& word);

    /// Puts the spelling entries for the word at `position` (viewport coordinates) of `editor`
    /// at the top of `menu`: suggestions, "Add to Dictionary", "Ignore" and the language choice.
    void addToContextMenu(QMenu& menu, QTextEdit& editor, const QPoint& position);

    /// The folder the dictionaries are looked for in (the system's, unless a test gives one).
    QString dictionaryFolder() const { return m_dictionaryFolder; }
    void setDictionaryFolder(const QString& folder) { m_dictionaryFolder = folder; }

signals:
    /// The words to mark may have changed: a dictionary arrived, a word was added or ignored.
    void changed();

private:
    void startLoading(const QString& language);
    void finishLoading(SpellChecker* checker, quint64 generation);
    void chooseLanguage(const QString& language);

    QString m_programFolder;
    QString m_dictionaryFolder;
    std::unique_ptr<SpellChecker> m_checker;
    QSet<QString> m_ignored;
    QHash<QString, bool> m_known; // looked-up words, forgotten when the dictionary changes
    bool m_ready = false;
    bool m_loading = false;
    quint64 m_generation = 0;
};

} // namespace folioneer
