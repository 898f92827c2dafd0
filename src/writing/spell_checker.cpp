// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "writing/spell_checker.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QStringEncoder>

#include <hunspell.hxx>

namespace folioneer {

struct SpellChecker::Engine {
    std::unique_ptr<Hunspell> hunspell;
    QStringEncoder encoder;
    QStringDecoder decoder;
};

namespace {

QString normaliseApostrophes(QStringView word)
{
    QString text = word.toString();
    text.replace(u'\u2019', u'\'');
    return text;
}

} // namespace

QString converterNameForDictionaryEncoding(const QString& setName)
{
    static const QRegularExpression microsoft(QStringLiteral("^microsoft-cp(\\d+)$"),
                                              QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = microsoft.match(setName);
    if (match.hasMatch()) {
        return QStringLiteral("windows-") + match.captured(1);
    }
    if (setName.compare(QLatin1String("TIS620-2533"), Qt::CaseInsensitive) == 0) {
        return QStringLiteral("TIS-620");
    }
    return setName;
}

SpellChecker::SpellChecker() = default;
SpellChecker::~SpellChecker() = default;

QStringList SpellChecker::installedLanguages(const QString& folder)
{
    QStringList languages;
    const QDir dir(folder);
    for (const QFileInfo& aff : dir.entryInfoList({QStringLiteral("*.aff")}, QDir::Files, QDir::Name)) {
        if (QFileInfo::exists(dir.filePath(aff.completeBaseName() + QStringLiteral(".dic")))) {
            languages.append(aff.completeBaseName());
        }
    }
    return languages;
}

bool SpellChecker::load(const QString& folder, const QString& language)
{
    m_engine.reset();
    m_language.clear();
    const QDir dir(folder);
    const QString aff = dir.filePath(language + QStringLiteral(".aff"));
    const QString dic = dir.filePath(language + QStringLiteral(".dic"));
    if (language.isEmpty() || !QFileInfo(aff).isFile() || !QFileInfo(dic).isFile()) {
        return false;
    }
    auto engine = std::make_unique<Engine>();
    engine->hunspell =
        std::make_unique<Hunspell>(QFile::encodeName(aff).constData(), QFile::encodeName(dic).constData());
    const QString encoding =
        converterNameForDictionaryEncoding(QString::fromStdString(engine->hunspell->get_dict_encoding()));
    const QByteArray name = encoding.toLatin1();
    engine->encoder = QStringEncoder(name.constData(), QStringConverter::Flag::Stateless);
    engine->decoder = QStringDecoder(name.constData(), QStringConverter::Flag::Stateless);
    if (!engine->encoder.isValid() || !engine->decoder.isValid()) {
        return false;
    }
    m_engine = std::move(engine);
    m_language = language;
    return true;
}

bool SpellChecker::encode(QStringView word, std::string& out)
{
    m_engine->encoder.resetState();
    const QByteArray bytes = m_engine->encoder.encode(normaliseApostrophes(word));
    if (m_engine->encoder.hasError()) {
        return false;
    }
    out.assign(bytes.constData(), static_cast<size_t>(bytes.size()));
    return true;
}

bool SpellChecker::isCorrect(QStringView word)
{
    if (!m_engine) {
        return true;
    }
    std::string encoded;
    return encode(word, encoded) && m_engine->hunspell->spell(encoded);
}

QStringList SpellChecker::suggest(QStringView word, int limit)
{
    QStringList suggestions;
    std::string encoded;
    if (!m_engine || !encode(word, encoded)) {
        return suggestions;
    }
    for (const std::string& suggestion : m_engine->hunspell->suggest(encoded)) {
        if (suggestions.size() >= limit) {
            break;
        }
        m_engine->decoder.resetState();
        suggestions.append(
            m_engine->decoder.decode(QByteArrayView(suggestion.data(), qsizetype(suggestion.size()))));
    }
    return suggestions;
}

void SpellChecker::addWord(QStringView word)
{
    std::string encoded;
    if (m_engine && encode(word, encoded)) {
        m_engine->hunspell->add(encoded);
    }
}

} // namespace folioneer
