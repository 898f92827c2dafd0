// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString kAppId = QStringLiteral("app.folioneer.Folioneer");

struct Run {
    int exitCode = -1;
    QString output;
};

Run run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForFinished(180000) || process.exitStatus() != QProcess::NormalExit) {
        return {-1, program + QStringLiteral(" did not finish: ") + process.errorString()};
    }
    return {process.exitCode(), QString::fromUtf8(process.readAll())};
}

} // namespace

// The Debian package `make deb` builds (made by the test fixture into FOLIONEER_DEB_DIR): what
// it holds, its dependencies, and the verdicts of the checkers the desktop and Debian use.
// lintian owns what Debian requires of every package (manual page, copyright, changelog,
// maintainer address, long description); the rows here cover what it cannot know.
class TestDeb : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void holds_data();
    void holds();
    void controlFields_data();
    void controlFields();
    void oneIdForDesktopIconAndMetainfo();
    void checkersPass_data();
    void checkersPass();

private:
    QString m_deb;
    QTemporaryDir m_dir;
    QString m_root;
};

void TestDeb::initTestCase()
{
    const QDir debDir(qEnvironmentVariable("FOLIONEER_DEB_DIR"));
    const QStringList debs = debDir.entryList({QStringLiteral("folioneer_*.deb")}, QDir::Files);
    QCOMPARE(debs.size(), 1);
    m_deb = debDir.filePath(debs.first());
    QVERIFY(m_dir.isValid());
    m_root = m_dir.path() + QStringLiteral("/root");
    const Run extract = run(QStringLiteral("dpkg-deb"), {QStringLiteral("-x"), m_deb, m_root});
    QVERIFY2(extract.exitCode == 0, qPrintable(extract.output));
}

void TestDeb::holds_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("executable");
    QTest::newRow("program") << QStringLiteral("usr/bin/folioneer") << true;
    QTest::newRow("contents prompt template")
        << QStringLiteral("usr/share/folioneer/templates/prompt.txt") << false;
    QTest::newRow("sequel prompt template")
        << QStringLiteral("usr/share/folioneer/templates/prompt-publicdomain.txt") << false;
    QTest::newRow("catalogue title") << QStringLiteral("usr/share/folioneer/prompts/0/Emma.txt") << false;
    QTest::newRow("outline icon") << QStringLiteral("usr/share/folioneer/document.ico") << false;
    for (const int size : {16, 24, 32, 48, 64, 128, 256}) {
        QTest::addRow("icon %d px", size)
            << QStringLiteral("usr/share/icons/hicolor/%1x%1/apps/%2.png").arg(size).arg(kAppId) << false;
    }
}

void TestDeb::holds()
{
    QFETCH(QString, path);
    QFETCH(bool, executable);
    const QFileInfo info(m_root + QLatin1Char('/') + path);
    QVERIFY2(info.isFile() && info.size() > 0, qPrintable(path));
    QCOMPARE(info.isExecutable(), executable);
    // Nothing of the portable layout: the books never live under /usr.
    QVERIFY(!QFileInfo::exists(m_root + QStringLiteral("/usr/bin/projects")));
    QVERIFY(!QFileInfo::exists(m_root + QStringLiteral("/usr/share/folioneer/projects")));
}

void TestDeb::controlFields_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("pattern");
    QTest::newRow("package") << QStringLiteral("Package") << QStringLiteral("^folioneer$");
    QTest::newRow("Qt from the binary")
        << QStringLiteral("Depends") << QStringLiteral("libqt6widgets6 \\(>=");
    QTest::newRow("the font the windows need")
        << QStringLiteral("Depends") << QStringLiteral("fonts-dejavu-core");
}

void TestDeb::controlFields()
{
    QFETCH(QString, field);
    QFETCH(QString, pattern);
    const Run fields = run(QStringLiteral("dpkg-deb"), {QStringLiteral("-f"), m_deb, field});
    QCOMPARE(fields.exitCode, 0);
    const QString value = fields.output.trimmed();
    QVERIFY2(value.contains(QRegularExpression(pattern)), qPrintable(value));
}

// The desktop matches the menu entry, the icon and the software-centre entry by one id.
void TestDeb::oneIdForDesktopIconAndMetainfo()
{
    QFile desktop(m_root + QStringLiteral("/usr/share/applications/%1.desktop").arg(kAppId));
    QVERIFY(desktop.open(QIODevice::ReadOnly));
    const QString entry = QString::fromUtf8(desktop.readAll());
    QVERIFY(entry.contains(QStringLiteral("\nIcon=%1\n").arg(kAppId)));

    QFile metainfo(m_root + QStringLiteral("/usr/share/metainfo/%1.metainfo.xml").arg(kAppId));
    QVERIFY(metainfo.open(QIODevice::ReadOnly));
    const QString xml = QString::fromUtf8(metainfo.readAll());
    QVERIFY(xml.contains(QStringLiteral("<id>%1</id>").arg(kAppId)));
    QVERIFY(
        xml.contains(QStringLiteral("<launchable type=\"desktop-id\">%1.desktop</launchable>").arg(kAppId)));
}

void TestDeb::checkersPass_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QStringList>("arguments"); // "@" stands for the extracted root
    QTest::newRow("desktop-file-validate")
        << QStringLiteral("desktop-file-validate")
        << QStringList{QStringLiteral("@/usr/share/applications/%1.desktop").arg(kAppId)};
    QTest::newRow("appstreamcli") << QStringLiteral("appstreamcli")
                                  << QStringList{
                                         QStringLiteral("validate"), QStringLiteral("--no-net"),
                                         QStringLiteral("@/usr/share/metainfo/%1.metainfo.xml").arg(kAppId)};
    // A first package without a Debian bug to close: nothing to do outside Debian's archive.
    QTest::newRow("lintian") << QStringLiteral("lintian")
                             << QStringList{QStringLiteral("--fail-on"), QStringLiteral("error,warning"),
                                            QStringLiteral("--suppress-tags"),
                                            QStringLiteral("initial-upload-closes-no-bugs"), m_deb};
}

void TestDeb::checkersPass()
{
    QFETCH(QString, program);
    QFETCH(QStringList, arguments);
    for (QString& argument : arguments) {
        if (argument.startsWith(QLatin1Char('@'))) {
            argument = m_root + argument.mid(1);
        }
    }
    const Run check = run(program, arguments);
    QVERIFY2(check.exitCode == 0, qPrintable(check.output));
    // desktop-file-validate prints its warnings and still exits 0.
    QVERIFY2(!check.output.contains(QStringLiteral("error:")) &&
                 !check.output.contains(QStringLiteral("warning:")),
             qPrintable(check.output));
}

QTEST_GUILESS_MAIN(TestDeb)
#include "tst_deb.moc"
