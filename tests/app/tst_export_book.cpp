// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/export_book.h"

#include "main_window_fixture.h"
#include "widgets/link_label.h"

#include <QFileDialog>
#include <QTimer>

using namespace folioneer;

class tst_ExportBook : public QObject {
    Q_OBJECT

private slots:
    void linkFollowsTheProjectAndCtrlE();
    void exportReports_data();
    void exportReports();
    void dialogAddsTheChosenFiltersSuffix();
};

void tst_ExportBook::linkFollowsTheProjectAndCtrlE()
{
    test::MainWindowFixture f;
    auto* link = f.control<LinkLabel>("lblExportBook");
    QVERIFY(link);
    QVERIFY(!link->isEnabled());
    const QString project =
        f.program.makeProject(QStringLiteral("Garden Book"), "Chapter: Soil\n", "Soil\r\n");
    f.window->LoadProject(project);
    QVERIFY(link->isEnabled());

    QStringList suggested;
    f.window->findChild<ExportBookAction*>()->setFileChooser([&suggested](QWidget*, const QString& name) {
        suggested << name;
        return QString();
    });
    QVERIFY(f.showWindow());
    QTest::keyClick(f.window.get(), Qt::Key_E, Qt::ControlModifier);
    QCOMPARE(suggested, QStringList{QStringLiteral("Garden Book")});
    QVERIFY(f.boxes.shown.isEmpty());
}

void tst_ExportBook::exportReports_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("title");
    QTest::addColumn<int>("icon");
    const int information = int(MessageIcon::Information);
    const int exclamation = int(MessageIcon::Exclamation);
    QTest::newRow("done") << QByteArray("{\\rtf1 Worms.}") << "book.epub"
                          << "Done. Book exported.\n%1"
                          << "Done" << information;
    QTest::newRow("content not RTF")
        << QByteArray("no RTF here") << "book.docx"
        << "The book could not be exported.\nWorms\nThe content file is not an RTF "
           "document."
        << "Error" << exclamation;
    QTest::newRow("folder missing") << QByteArray("{\\rtf1 Worms.}") << "missing/book.odt"
                                    << "The book could not be exported.\n"
                                    << "Error" << exclamation;
}

// The closing message box: exact text, title and icon, through the seam; a file only on success.
void tst_ExportBook::exportReports()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, fileName);
    QFETCH(QString, text);
    QFETCH(QString, title);
    QFETCH(int, icon);
    test::MainWindowFixture f;
    const QString project = f.program.makeProject(QStringLiteral("Garden Book"),
                                                  "Chapter: Soil\nSubchapter: Worms\n", "Soil\r\n");
    QVERIFY(test::writeFile(project + QStringLiteral("/soil---worms.txt"), content));
    f.window->LoadProject(project);
    const QString target = f.program.path() + QLatin1Char('/') + fileName;
    f.window->findChild<ExportBookAction*>()->setFileChooser(
        [&target](QWidget*, const QString&) { return target; });
    f.clickControl("lblExportBook");
    QCOMPARE(f.boxes.shown.size(), 1);
    const Message& shown = f.boxes.shown.first();
    if (text.contains(QLatin1String("%1"))) {
        QCOMPARE(shown.text, text.arg(target));
    } else {
        QVERIFY2(shown.text.startsWith(text), qPrintable(shown.text));
    }
    QCOMPARE(shown.title, title);
    QCOMPARE(int(shown.icon), icon);
    QCOMPARE(QFileInfo::exists(target), icon == int(MessageIcon::Information));
}

// The real dialog: the project's name is offered, and a name typed without an extension gets the
// chosen filter's suffix, which decides the format.
void tst_ExportBook::dialogAddsTheChosenFiltersSuffix()
{
    QTemporaryDir home;
    qputenv("HOME", QFile::encodeName(home.path()));
    QString chosen;
    QTimer::singleShot(0, [&home] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        QCOMPARE(dialog->nameFilters().size(), 6);
        dialog->selectNameFilter(dialog->nameFilters().at(3));
        emit dialog->filterSelected(dialog->nameFilters().at(3));
        dialog->selectFile(home.path() + QStringLiteral("/Garden Book"));
        static_cast<QDialog*>(dialog)->accept();
    });
    chosen = chooseExportFile(nullptr, QStringLiteral("Garden Book"));
    QCOMPARE(chosen, home.path() + QStringLiteral("/Garden Book.md"));
}

QTEST_MAIN(tst_ExportBook)
#include "tst_export_book.moc"
