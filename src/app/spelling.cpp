// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/spelling.h"

#include "writing/spell_checker.h"
#include "writing/spell_words.h"
#include "writing/spelling_settings.h"

#include <QActionGroup>
#include <QCoreApplication>
#include <QFont>
#include <QLocale>
#include <QMenu>
#include <QPointer>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>
#include <QThreadPool>

namespace folioneer {

namespace {

constexpr int kMaxSuggestions = 8;

struct WordAt {
    QTextCursor cursor; ///< selects the word; null when there is none at the point
    QString word;
};

WordAt wordAt(QTextEdit& editor, const QPoint& position)
{
    const QTextCursor at = editor.cursorForPosition(position);
    const QTextBlock block = at.block();
    const QString text = block.text();
    const int inBlock = at.positionInBlock();
    for (const WordSpan& span : wordsToCheck(text)) {
        if (inBlock >= span.start && inBlock <= span.start + span.length) {
            QTextCursor cursor(block);
            cursor.setPosition(block.position() + int(span.start));
            cursor.setPosition(block.position() + int(span.start + span.length), QTextCursor::KeepAnchor);
            return {cursor, text.mid(span.start, span.length)};
        }
    }
    return {};
}

} // namespace

Spelling::Spelling(const QString& programFolder, const QString& dictionaryFolder, QObject* parent)
    : QObject(parent), m_programFolder(programFolder), m_dictionaryFolder(dictionaryFolder)
{
}

Spelling::~Spelling()
{
    // A load still running delivers to nobody: its result is dropped by the pointer guard.
}

bool Spelling::isChecking() const
{
    return m_checker && m_checker->isLoaded();
}

void Spelling::ensureLoaded()
{
    if (m_ready || m_loading) {
        return;
    }
    const QStringList installed = SpellChecker::installedLanguages(m_dictionaryFolder);
    startLoading(
        folioneer::chooseLanguage(installed, readLanguageChoice(m_programFolder), QLocale::system().name()));
}

void Spelling::startLoading(const QString& language)
{
    m_loading = true;
    const quint64 generation = ++m_generation;
    QPointer<Spelling> self(this);
    const QString folder = m_dictionaryFolder;
    const QString programFolder = m_programFolder;
    QThreadPool::globalInstance()->start([self, folder, programFolder, language, generation] {
        auto checker = std::make_unique<SpellChecker>();
        if (checker->load(folder, language)) {
            addPersonalWords(*checker, programFolder);
        }
        SpellChecker* loaded = checker.release();
        const bool delivered = QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [self, loaded, generation] {
                if (self) {
                    self->finishLoading(loaded, generation);
                } else {
                    delete loaded;
                }
            },
            Qt::QueuedConnection);
        if (!delivered) {
            delete loaded;
        }
    });
}

void Spelling::finishLoading(SpellChecker* checker, quint64 generation)
{
    std::unique_ptr<SpellChecker> owned(checker);
    if (generation != m_generation) {
        return; // a later choice of language overtook this load
    }
    m_checker = std::move(owned);
    m_known.clear();
    m_loading = false;
    m_ready = true;
    emit changed();
}

bool Spelling::isAcceptable(const QString& word)
{
    if (!isChecking() || m_ignored.contains(word)) {
        return true;
    }
    const auto known = m_known.constFind(word);
    if (known != m_known.cend()) {
        return *known;
    }
    const bool correct = m_checker->isCorrect(word);
    if (m_known.size() > 200000) {
        m_known.clear();
    }
    m_known.insert(word, correct);
    return correct;
}

void Spelling::chooseLanguage(const QString& language)
{
    // The choice is remembered even if writing it fails; it then holds until the program closes.
    (void)writeLanguageChoice(m_programFolder, language);
    m_ready = false;
    startLoading(language);
}

void Spelling::addToContextMenu(QMenu& menu, QTextEdit& editor, const QPoint& position)
{
    QAction* first = menu.actions().value(0);
    auto insert = [&menu, first](QAction* action) { menu.insertAction(first, action); };
    auto separator = [&menu, first] { menu.insertSeparator(first); };

    if (m_ready && !isChecking()) {
        auto* none = new QAction(tr("Spelling: no dictionary is installed"), &menu);
        none->setEnabled(false);
        insert(none);
        separator();
        return;
    }
    if (!isChecking()) {
        return;
    }
    const WordAt at = wordAt(editor, position);
    if (!at.cursor.isNull() && !isAcceptable(at.word)) {
        const QStringList suggestions = m_checker->suggest(at.word, kMaxSuggestions);
        if (suggestions.isEmpty()) {
            auto* nothing = new QAction(tr("(no suggestions)"), &menu);
            nothing->setEnabled(false);
            insert(nothing);
        }
        for (const QString& suggestion : suggestions) {
            auto* action = new QAction(suggestion, &menu);
            QFont bold = action->font();
            bold.setBold(true);
            action->setFont(bold);
            QTextCursor cursor = at.cursor;
            connect(action, &QAction::triggered, &editor,
                    [cursor, suggestion]() mutable { cursor.insertText(suggestion); });
            insert(action);
        }
        separator();
        auto* add = new QAction(tr("Add to Dictionary"), &menu);
        const QString word = at.word;
        connect(add, &QAction::triggered, this, [this, word] {
            (void)addPersonalWord(m_programFolder, word);
            if (m_checker) {
                m_checker->addWord(word);
            }
            m_known.remove(word);
            emit changed();
        });
        insert(add);
        auto* ignore = new QAction(tr("Ignore"), &menu);
        connect(ignore, &QAction::triggered, this, [this, word] {
            m_ignored.insert(word);
            emit changed();
        });
        insert(ignore);
        separator();
    }
    const QStringList installed = SpellChecker::installedLanguages(m_dictionaryFolder);
    if (installed.size() > 1) {
        auto* languages = new QMenu(tr("Spelling Language"), &menu);
        auto* group = new QActionGroup(languages);
        for (const QString& language : installed) {
            QAction* action = languages->addAction(language);
            action->setCheckable(true);
            action->setChecked(language == m_checker->language());
            group->addAction(action);
            connect(action, &QAction::triggered, this, [this, language] { chooseLanguage(language); });
        }
        menu.insertMenu(first, languages);
        separator();
    }
}

} // namespace folioneer
