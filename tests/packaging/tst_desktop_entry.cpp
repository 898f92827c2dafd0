// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/test_support.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace folioneer::test;

namespace {

// Undoes the string escapes of a desktop entry value (\s \n \t \r \\).
QString unescapeString(const QString& value)
{
    QString out;
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value[i] == QLatin1Char('\\') && i + 1 < value.size()) {
            const QChar next = value[++i];
            out += next == QLatin1Char('s')   ? QStringLiteral(" ")
                   : next == QLatin1Char('n') ? QStringLiteral("\n")
                   : next == QLatin1Char('t') ? QStringLiteral("\t")
                   : next == QLatin1Char('r') ? QStringLiteral("\r")
                                              : QString(next);
        } else {
            out += value[i];
        }
    }
    return out;
}

// Splits an Exec value (already string-unescaped) into arguments the way a desktop launcher does:
// double quotes group and a backslash inside them escapes " ` $ \ (field codes: see below).
QStringList execArguments(const QString& exec)
{
    QStringList arguments;
    QString current;
    bool quoted = false;
    bool any = false;
    for (qsizetype i = 0; i < exec.size(); ++i) {
        const QChar c = exec[i];
        if (quoted && c == QLatin1Char('\\') && i + 1 < exec.size()) {
            current += exec[++i];
        } else if (c == QLatin1Char('"')) {
            quoted = !quoted;
            any = true;
        } else if (c == QLatin1Char('%') && i + 1 < exec.size()) {
            // %% is a percent sign; any other % starts a field code, which a launcher started
            // without files replaces by nothing.
            if (exec[++i] == QLatin1Char('%')) {
                current += QLatin1Char('%');
            }
        } else if (c == QLatin1Char(' ') && !quoted) {
            if (any || !current.isEmpty()) {
                arguments.append(current);
            }
            current.clear();
            any = false;
        } else {
            current += c;
        }
    }
    if (any || !current.isEmpty()) {
        arguments.append(current);
    }
    return arguments;
}

QMap<QString, QString> readEntry(const QByteArray& bytes)
{
    QMap<QString, QString> keys;
    for (const QByteArray& line : bytes.split('\n')) {
        const qsizetype eq = line.indexOf('=');
        if (eq > 0) {
            keys.insert(QString::fromUtf8(line.left(eq)), QString::fromUtf8(line.mid(eq + 1)));
        }
    }
    return keys;
}

} // namespace

// install-desktop-entry.sh: the menu entry it writes starts the program in the folder the
// archive was unpacked to, whatever characters that folder's name holds.
class TestDesktopEntry : public QObject {
    Q_OBJECT

private slots:
    void entryPointsAtUnpackedFolder_data();
    void entryPointsAtUnpackedFolder();
    void refusesFolderWithLineBreak();
    void removeTakesEntryAway();

private:
    // Lays out a program folder with the script and a stand-in executable that records its start.
    bool makeProgramFolder(const QString& folder);
    int runScript(const QString& folder, const QString& home, const QStringList& arguments = {});
};

bool TestDesktopEntry::makeProgramFolder(const QString& folder)
{
    const QString script = sourceDir() + QStringLiteral("/packaging/install-desktop-entry.sh");
    return QDir().mkpath(folder) &&
           QFile::copy(script, folder + QStringLiteral("/install-desktop-entry.sh")) &&
           writeFile(folder + QStringLiteral("/folioneer"),
                     "#!/bin/sh\ntouch \"$(dirname \"$0\")/started\"\n") &&
           QFile::setPermissions(folder + QStringLiteral("/folioneer"),
                                 QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

int TestDesktopEntry::runScript(const QString& folder, const QString& home, const QStringList& arguments)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("HOME"), home);
    environment.insert(QStringLiteral("XDG_DATA_HOME"), home + QStringLiteral("/data"));
    process.setProcessEnvironment(environment);
    // Started through a relative path from the folder above, as a user in a terminal might.
    process.setWorkingDirectory(QFileInfo(folder).absolutePath());
    process.start(QStringLiteral("bash"), QStringList{QStringLiteral("./") + QFileInfo(folder).fileName() +
                                                      QStringLiteral("/install-desktop-entry.sh")} +
                                              arguments);
    if (!process.waitForFinished(30000)) {
        return -1;
    }
    return process.exitCode();
}

void TestDesktopEntry::entryPointsAtUnpackedFolder_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("plain") << QStringLiteral("Folioneer");
    QTest::newRow("spaces") << QStringLiteral("My Books  Folioneer 0.1");
    QTest::newRow("quotes and dollar") << QStringLiteral("Tom's \"best\" $HOME");
    QTest::newRow("backtick and backslash") << QStringLiteral("a`b\\c\\\\d");
    QTest::newRow("percent") << QStringLiteral("100% %f done");
    QTest::newRow("tab") << QStringLiteral("tab\there");
    QTest::newRow("non-ASCII") << QStringLiteral("B\u00fccher \u2215 Libros");
}

void TestDesktopEntry::entryPointsAtUnpackedFolder()
{
    QFETCH(QString, name);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString folder = dir.path() + QStringLiteral("/unpacked/") + name;
    QVERIFY(makeProgramFolder(folder));
    QCOMPARE(runScript(folder, dir.path() + QStringLiteral("/home")), 0);

    const QByteArray bytes =
        readFile(dir.path() + QStringLiteral("/home/data/applications/folioneer.desktop"));
    QVERIFY(bytes.startsWith("[Desktop Entry]\n"));
    const auto keys = readEntry(bytes);
    QCOMPARE(keys.value(QStringLiteral("Type")), QStringLiteral("Application"));
    const QString canonical = QFileInfo(folder).canonicalFilePath();
    const QStringList exec = execArguments(unescapeString(keys.value(QStringLiteral("Exec"))));
    QCOMPARE(exec, QStringList{canonical + QStringLiteral("/folioneer")});
    QCOMPARE(unescapeString(keys.value(QStringLiteral("Path"))), canonical);
    QCOMPARE(unescapeString(keys.value(QStringLiteral("Icon"))),
             canonical + QStringLiteral("/folioneer.png"));

    // The command the launcher would run starts the program in that folder.
    QCOMPARE(QProcess::execute(exec.first(), {}), 0);
    QVERIFY(QFile::exists(folder + QStringLiteral("/started")));
}

void TestDesktopEntry::refusesFolderWithLineBreak()
{
    QTemporaryDir dir;
    const QString folder = dir.path() + QStringLiteral("/two\nlines");
    QVERIFY(makeProgramFolder(folder));
    QVERIFY(runScript(folder, dir.path() + QStringLiteral("/home")) != 0);
    QVERIFY(!QFile::exists(dir.path() + QStringLiteral("/home/data/applications/folioneer.desktop")));
}

void TestDesktopEntry::removeTakesEntryAway()
{
    QTemporaryDir dir;
    const QString folder = dir.path() + QStringLiteral("/Folioneer");
    const QString entry = dir.path() + QStringLiteral("/home/data/applications/folioneer.desktop");
    QVERIFY(makeProgramFolder(folder));
    QCOMPARE(runScript(folder, dir.path() + QStringLiteral("/home")), 0);
    QVERIFY(QFile::exists(entry));
    QCOMPARE(runScript(folder, dir.path() + QStringLiteral("/home"), {QStringLiteral("--remove")}), 0);
    QVERIFY(!QFile::exists(entry));
}

QTEST_GUILESS_MAIN(TestDesktopEntry)
#include "tst_desktop_entry.moc"
