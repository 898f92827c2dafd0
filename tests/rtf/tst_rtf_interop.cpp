// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "rtf/rtf.h"
#include "rtf/rtf_writer.h"
#include "support/file_io.h"

#include <QDir>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>
#include <QTextTable>

#include <functional>

using namespace folioneer;
using namespace Qt::StringLiterals;

namespace {

// Documents written by our writer and read by a word processor (LibreOffice, headless) must
// show the same words: this is what a user sees when a section file is opened elsewhere.

struct Sample {
    QString name;
    std::function<void(QTextDocument&)> build;
};

QList<Sample> samples()
{
    QList<Sample> list;
    list.append({u"formats"_s, [](QTextDocument& d) {
                     QTextCursor c(&d);
                     QTextCharFormat f;
                     c.insertText(u"Plain start, "_s);
                     f.setFontWeight(QFont::Bold);
                     c.insertText(u"bold words, "_s, f);
                     f.setFontItalic(true);
                     f.setUnderlineStyle(QTextCharFormat::WaveUnderline);
                     f.setForeground(QColor(200, 0, 0));
                     c.insertText(u"styled and red, "_s, f);
                     QTextCharFormat g;
                     g.setFontFamilies({u"DejaVu Sans Mono"_s});
                     g.setFontPointSize(9.5);
                     g.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
                     c.insertText(u"small mono raised"_s, g);
                     c.insertText(u" end."_s, QTextCharFormat());
                 }});
    list.append({u"characters"_s, [](QTextDocument& d) {
                     QTextCursor c(&d);
                     c.insertText(u"Braces {like} these, back\\slash, tab\there, no\u00A0break."_s);
                     c.insertBlock();
                     c.insertText(u"Café “quoted” – dashes — € ™ Привет мир ελληνικά 日本語 emoji 😀 done"_s);
                     c.insertBlock();
                     c.insertText(u"Line one\u2028line two"_s);
                 }});
    list.append({u"paragraphs"_s, [](QTextDocument& d) {
                     QTextCursor c(&d);
                     QTextBlockFormat b;
                     b.setAlignment(Qt::AlignHCenter);
                     c.setBlockFormat(b);
                     c.insertText(u"Centred title"_s);
                     b = QTextBlockFormat();
                     b.setLeftMargin(40);
                     b.setTextIndent(-20);
                     b.setLineHeight(150, QTextBlockFormat::ProportionalHeight);
                     c.insertBlock(b);
                     c.insertText(u"Indented paragraph with a hanging first line."_s);
                     c.insertBlock(QTextBlockFormat());
                     c.insertBlock();
                     c.insertText(u"After an empty paragraph."_s);
                 }});
    list.append({u"lists"_s, [](QTextDocument& d) {
                     QTextCursor c(&d);
                     c.insertText(u"Shopping"_s);
                     c.insertList(QTextListFormat::ListDisc);
                     c.insertText(u"flour"_s);
                     c.insertBlock();
                     c.insertText(u"salt"_s);
                     c.insertBlock(QTextBlockFormat());
                     c.insertText(u"Steps"_s);
                     c.insertList(QTextListFormat::ListDecimal);
                     c.insertText(u"mix"_s);
                     c.insertBlock();
                     c.insertText(u"bake"_s);
                 }});
    list.append({u"link and image"_s, [](QTextDocument& d) {
                     QImage image(4, 4, QImage::Format_RGB32);
                     image.fill(Qt::blue);
                     d.addResource(QTextDocument::ImageResource, QUrl(u"img"_s), image);
                     QTextCursor c(&d);
                     c.insertText(u"Visit "_s);
                     QTextCharFormat link;
                     link.setAnchor(true);
                     link.setAnchorHref(u"https://example.org/"_s);
                     c.insertText(u"the example site"_s, link);
                     c.insertText(u" and see "_s, QTextCharFormat());
                     QTextImageFormat picture;
                     picture.setName(u"img"_s);
                     c.insertImage(picture);
                     c.insertText(u" the picture."_s);
                 }});
    list.append({u"table"_s, [](QTextDocument& d) {
                     QTextCursor c(&d);
                     c.insertText(u"Before the table"_s);
                     QTextTable* t = c.insertTable(2, 2);
                     t->cellAt(0, 0).firstCursorPosition().insertText(u"north"_s);
                     t->cellAt(0, 1).firstCursorPosition().insertText(u"south"_s);
                     t->cellAt(1, 0).firstCursorPosition().insertText(u"east"_s);
                     t->cellAt(1, 1).firstCursorPosition().insertText(u"west"_s);
                     c.movePosition(QTextCursor::End);
                     c.insertText(u"After the table"_s);
                 }});
    return list;
}

QStringList wordsOf(QString text)
{
    if (text.startsWith(QChar(0xFEFF))) {
        text.remove(0, 1);
    }
    static const QRegularExpression spaces(u"\\s+"_s, QRegularExpression::UseUnicodePropertiesOption);
    return text.split(spaces, Qt::SkipEmptyParts);
}

} // namespace

class tst_rtf_interop : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void sameWordsInLibreOffice_data();
    void sameWordsInLibreOffice();

private:
    QTemporaryDir m_dir;
    QHash<QString, QString> m_ours;
    QHash<QString, QString> m_theirs;
};

void tst_rtf_interop::initTestCase()
{
    const QString soffice = QStandardPaths::findExecutable(u"soffice"_s);
    if (soffice.isEmpty()) {
        QSKIP("LibreOffice (soffice) is not installed");
    }
    QVERIFY(m_dir.isValid());
    const QDir dir(m_dir.path());
    QStringList files;
    for (const Sample& sample : samples()) {
        QTextDocument document;
        document.setDefaultFont(QFont(u"DejaVu Serif"_s, 12));
        sample.build(document);
        const QString path = dir.filePath(QString(sample.name).replace(u' ', u'-') + u".rtf"_s);
        QVERIFY(writeFileAtomically(path, rtf::writeRtf(document)).ok());
        files.append(path);
        m_ours.insert(sample.name, rtf::plainTextOfDocument(document));
    }

    // A profile of its own, so that the run neither depends on nor disturbs anybody's settings.
    QStringList arguments{u"-env:UserInstallation="_s +
                              QUrl::fromLocalFile(dir.filePath(u"profile"_s)).toString(),
                          u"--headless"_s,
                          u"--convert-to"_s,
                          u"txt:Text (encoded):UTF8"_s,
                          u"--outdir"_s,
                          dir.filePath(u"out"_s)};
    arguments += files;
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(soffice, arguments);
    QVERIFY2(process.waitForFinished(240000), "LibreOffice did not finish in time");
    QVERIFY2(process.exitCode() == 0, process.readAll().constData());

    for (const Sample& sample : samples()) {
        QFile out(dir.filePath(u"out/"_s + QString(sample.name).replace(u' ', u'-') + u".txt"_s));
        QVERIFY2(out.open(QIODevice::ReadOnly), qPrintable(out.fileName()));
        m_theirs.insert(sample.name, QString::fromUtf8(out.readAll()));
    }
}

void tst_rtf_interop::sameWordsInLibreOffice_data()
{
    QTest::addColumn<QString>("name");
    for (const Sample& sample : samples()) {
        QTest::newRow(qPrintable(sample.name)) << sample.name;
    }
}

void tst_rtf_interop::sameWordsInLibreOffice()
{
    QFETCH(QString, name);
    const QStringList ours = wordsOf(m_ours.value(name));
    const QStringList theirs = wordsOf(m_theirs.value(name));
    QVERIFY(!ours.isEmpty());
    for (qsizetype i = 0; i < std::min(ours.size(), theirs.size()); ++i) {
        QCOMPARE(theirs[i], ours[i]);
    }
    QCOMPARE(theirs.size(), ours.size());
}

QTEST_MAIN(tst_rtf_interop)
#include "tst_rtf_interop.moc"
