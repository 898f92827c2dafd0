// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/test_support.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace folioneer::test;

using Files = QMap<QString, QByteArray>;

namespace {

struct ScriptRun {
    int exitCode = -1;
    QByteArray output;
};

ScriptRun runScript(const QStringList& arguments, const QProcessEnvironment& environment,
                    int timeoutMs = 60000)
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(QStringLiteral("bash"),
                  QStringList{sourceDir() + QStringLiteral("/scripts/run-program.sh")} + arguments);
    ScriptRun run;
    if (process.waitForFinished(timeoutMs)) {
        run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    } else {
        process.kill();
        process.waitForFinished();
    }
    run.output = process.readAll();
    return run;
}

// Every file below `folder` with its bytes, keyed by relative path.
Files snapshot(const QString& folder)
{
    Files files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        files.insert(path.mid(folder.size() + 1), readFile(path));
    }
    return files;
}

} // namespace

// scripts/run-program.sh, which `make run` uses: installing a new build into PREFIX updates the
// program but never loses what the user wrote or edited there.
class TestRunProgram : public QObject {
    Q_OBJECT

private slots:
    void installKeepsUserData_data();
    void installKeepsUserData();
    void headlessRunWritesScreenshot();

private:
    // A stand-in build: executable, icon, templates, a catalogue file and a stray project.
    void makeBuild(const QString& build, const QByteArray& version);
};

void TestRunProgram::makeBuild(const QString& build, const QByteArray& version)
{
    QVERIFY(writeFile(build + QStringLiteral("/folioneer"), "#!/bin/sh\n# " + version + "\n"));
    QFile::setPermissions(build + QStringLiteral("/folioneer"),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QVERIFY(writeFile(build + QStringLiteral("/folder.ico"), "icon " + version));
    QVERIFY(writeFile(build + QStringLiteral("/templates/prompt.txt"), "template " + version));
    QVERIFY(writeFile(build + QStringLiteral("/prompts/0/Title.txt"), "ideas " + version));
    QVERIFY(writeFile(build + QStringLiteral("/projects/FromBuild/--toc.txt"), "build project"));
}

void TestRunProgram::installKeepsUserData_data()
{
    QTest::addColumn<QString>("prefixName");
    QTest::addColumn<Files>("before");
    QTest::addColumn<Files>("after");

    const Files fresh{{"folioneer", "#!/bin/sh\n# new\n"},
                      {"folder.ico", "icon new"},
                      {"templates/prompt.txt", "template new"},
                      {"prompts/0/Title.txt", "ideas new"}};
    QTest::newRow("empty prefix gets everything but projects")
        << QStringLiteral("Folioneer") << Files{} << fresh;
    QTest::newRow("path with spaces") << QStringLiteral("My Books/Folio neer") << Files{} << fresh;

    const Files edited{{"folioneer", "#!/bin/sh\n# old\n"},
                       {"folder.ico", "icon old"},
                       {"templates/prompt.txt", "my own template"},
                       {"prompts/0/Title.txt", "my ideas"},
                       {"prompts/0/Mine.txt", "my title"},
                       {"prompt.txt", "my override"},
                       {"projects/Book/--toc.txt", "Chapter: Mine\r\n"},
                       {"projects/Book/--maintopic.txt", "Topic"},
                       {"projects/Book/the basics.txt", "{\\rtf1 text}"}};
    Files updated = edited;
    updated["folioneer"] = "#!/bin/sh\n# new\n";
    updated["folder.ico"] = "icon new";
    QTest::newRow("program updated, edits and projects kept")
        << QStringLiteral("Folioneer") << edited << updated;
}

void TestRunProgram::installKeepsUserData()
{
    QFETCH(QString, prefixName);
    QFETCH(Files, before);
    QFETCH(Files, after);
    QTemporaryDir dir;
    const QString build = dir.path() + QStringLiteral("/build/program");
    const QString prefix = dir.path() + QLatin1Char('/') + prefixName;
    makeBuild(build, "new");
    for (auto it = before.cbegin(); it != before.cend(); ++it) {
        QVERIFY(writeFile(prefix + QLatin1Char('/') + it.key(), it.value()));
    }

    const ScriptRun run = runScript({QStringLiteral("--install-only"), build, prefix},
                                    QProcessEnvironment::systemEnvironment());
    QVERIFY2(run.exitCode == 0, run.output.constData());
    QCOMPARE(snapshot(prefix), after);
    QVERIFY(QFileInfo(prefix + QStringLiteral("/projects")).isDir());
    QVERIFY(QFileInfo(prefix + QStringLiteral("/folioneer")).isExecutable());

    // Installing the same build again changes nothing.
    QVERIFY(
        runScript({QStringLiteral("--install-only"), build, prefix}, QProcessEnvironment::systemEnvironment())
            .exitCode == 0);
    QCOMPARE(snapshot(prefix), after);
}

void TestRunProgram::headlessRunWritesScreenshot()
{
    const QString program = qEnvironmentVariable("FOLIONEER_PROGRAM_DIR");
    QVERIFY(QFileInfo(program + QStringLiteral("/folioneer")).isExecutable());
    QTemporaryDir dir;
    const QString prefix = dir.path() + QStringLiteral("/Folioneer");
    const QString picture = dir.path() + QStringLiteral("/shots/first.png");
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    environment.insert(QStringLiteral("TMPDIR"), dir.path());

    const ScriptRun run = runScript({program, prefix, picture}, environment, 120000);
    QVERIFY2(run.exitCode == 0, run.output.constData());
    QVERIFY(run.output.contains("No display found"));
    QVERIFY(run.output.contains(picture.toUtf8()));
    QImageReader reader(picture);
    QCOMPARE(reader.format(), QByteArray("png"));
    QVERIFY(reader.size().width() >= 400 && reader.size().height() >= 300);
    // The script's own working folder is gone, and with it nothing of the X server is left.
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
             (QStringList{QStringLiteral("Folioneer"), QStringLiteral("shots")}));
}

QTEST_GUILESS_MAIN(TestRunProgram)
#include "tst_run_program.moc"
