// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "e2e/e2e_harness.h"

#include "app/frm_main1_design.h"

#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace folioneer::e2e;

// The real program exports a book through its save dialog: the project is opened from the
// manager, "Export Book…" asks for a file, a typed .html name decides the format, and pandoc
// reads the written page back with its chapters and sections.
class TestExportJourney : public QObject {
    Q_OBJECT

private slots:
    void exportThroughTheDialog();
};

void TestExportJourney::exportThroughTheDialog()
{
    if (QStandardPaths::findExecutable(QStringLiteral("pandoc")).isEmpty()) {
        QSKIP("pandoc is not installed");
    }
    Session session;
    QVERIFY2(session.isValid(), qPrintable(session.lastError()));
    session.makeProject(QStringLiteral("Garden"), "Chapter: Soil\r\nSubchapter: Worms\r\nChapter: Water\r\n",
                        "Gardening\r\n");
    QVERIFY(session.writeProgramFile(QStringLiteral("projects/Garden/soil---worms.txt"),
                                     "{\\rtf1\\ansi Worms make {\\b rich} soil.\\par}"));
    const auto main = session.startAndOpenFirstProject();
    QVERIFY2(main, qPrintable(session.lastError()));

    QTemporaryDir out;
    const QString target = out.path() + QStringLiteral("/garden.html");
    QVERIFY(session.clickTwips(main->id, folioneer::mainWindowDesign::lblExportBook));
    QVERIFY2(session.answerWithText(QStringLiteral("Export Book"), target), qPrintable(session.lastError()));
    QVERIFY2(session.answerMessageBox(QStringLiteral("Done")), qPrintable(session.lastError()));

    const CommandResult pandoc =
        session.run(QStringLiteral("pandoc"), {QStringLiteral("-f"), QStringLiteral("html"),
                                               QStringLiteral("-t"), QStringLiteral("commonmark"), target});
    QVERIFY2(pandoc.ok(), pandoc.err.constData());
    const QString text = QString::fromUtf8(pandoc.out);
    QVERIFY2(text.contains(QStringLiteral("\n# Soil\n")) && text.contains(QStringLiteral("\n## Worms\n")) &&
                 text.contains(QStringLiteral("\n# Water\n")) && text.contains(QStringLiteral("**rich**")),
             qPrintable(text));
}

QTEST_GUILESS_MAIN(TestExportJourney)
#include "tst_export_journey.moc"
