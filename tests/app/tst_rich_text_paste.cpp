// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/rich_text_box.h"
#include "document_outline.h"
#include "rtf/rtf.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>

#include <sys/inotify.h>
#include <unistd.h>

using namespace folioneer;
using folioneer::test::documentOutline;

// What the content box makes of a paste: Ctrl+V and drops, the "Paste" link (a whole new
// content) and Ctrl+Shift+V (plain text, literally).
class tst_rich_text_paste : public QObject {
    Q_OBJECT

private:
    static void setClipboard(const QString& html, const QString& text)
    {
        auto* mime = new QMimeData;
        if (!html.isEmpty()) {
            mime->setHtml(html);
        }
        mime->setText(text);
        QGuiApplication::clipboard()->setMimeData(mime);
    }

private slots:
    void ctrlVTakesTheRichestForm_data()
    {
        QTest::addColumn<QString>("html");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");

        QTest::newRow("chat html")
            << QStringLiteral("<h2 style=\"color: rgb(236, 236, 236); font-size: 20px\">Soil</h2><p "
                              "style=\"color: rgb(236, 236, 236); background-color: rgb(33, 33, 33)\">It is "
                              "<strong>alive</strong>.</p><ul><li>Clay</li></ul>")
            << QStringLiteral("Soil\nIt is alive.\nClay")
            << QStringLiteral("p|before \nh2|**Soil**\np|It is **alive**.\nli1 disc|Clay");
        QTest::newRow("markdown text")
            << QString() << QStringLiteral("## Soil\n\nIt is **alive** and `busy`.")
            << QStringLiteral("p|before \nh2|**Soil**\np|It is **alive** and `busy`.");
        QTest::newRow("rtf text") << QString() << QStringLiteral("{\\rtf1 {\\i slanted}\\par}")
                                  << QStringLiteral("p|before *slanted*");
    }

    void ctrlVTakesTheRichestForm()
    {
        QFETCH(QString, html);
        QFETCH(QString, text);
        QFETCH(QString, expected);
        RichTextBox box;
        box.setPlainText(QStringLiteral("before "));
        box.moveCursor(QTextCursor::End);
        setClipboard(html, text);
        QTest::keyClick(&box, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(documentOutline(*box.document()), expected);
        QVERIFY(!rtf::writeRtf(*box.document()).contains("\\red236\\green236\\blue236"));
    }

    // The first pasted paragraph keeps its own format in an empty box: a heading stays a
    // heading, a numbered list keeps counting from its first item.
    void firstParagraphKeepsItsFormat()
    {
        RichTextBox box;
        setClipboard(QStringLiteral("<ol><li>one</li><li>two</li></ol><h1>End</h1>"),
                     QStringLiteral("one two End"));
        QTest::keyClick(&box, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(documentOutline(*box.document()),
                 QStringLiteral("li1 decimal|one\nli1 decimal|two\nh1|**End**"));
        QCOMPARE(rtf::plainTextOfDocument(*box.document()), QStringLiteral("1.\tone\r\n2.\ttwo\r\nEnd"));

        box.clear();
        setClipboard(QStringLiteral("<h2>Top</h2><p>body</p>"), QStringLiteral("Top body"));
        QTest::keyClick(&box, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(documentOutline(*box.document()), QStringLiteral("h2|**Top**\np|body"));
        // One Ctrl+Z takes the whole paste back.
        QTest::keyClick(&box, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(box.toPlainText(), QString());
    }

    // Prose that is not Markdown gives the document Qt's own plain-text paste gives.
    void proseStaysPlainText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("arithmetic") << QStringLiteral("3 * 4 = 12\r\nand 5 * 6");
        QTest::newRow("a single emphasis") << QStringLiteral("I *really* mean it.");
        QTest::newRow("dash list") << QStringLiteral("- milk\n- eggs\n");
    }

    void proseStaysPlainText()
    {
        QFETCH(QString, text);
        setClipboard(QString(), text);
        RichTextBox box;
        QTest::keyClick(&box, Qt::Key_V, Qt::ControlModifier);
        QTextEdit plain;
        plain.paste();
        QCOMPARE(rtf::writeRtf(*box.document()), rtf::writeRtf(*plain.document()));
    }

    // The fault this mends: a pasted <img src="file:..."> made the box open that file and save
    // the picture into the section.
    void fileImagesAreNeverOpened()
    {
        QTemporaryDir folder;
        const QString picture = folder.filePath(QStringLiteral("secret.png"));
        QVERIFY(QImage(8, 8, QImage::Format_RGB32).save(picture));
        const int watch = inotify_init1(IN_NONBLOCK);
        inotify_add_watch(watch, folder.path().toLocal8Bit().constData(), IN_OPEN | IN_ACCESS);

        RichTextBox box;
        box.resize(400, 300);
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        for (const QString& source : {QStringLiteral("file://") + picture, picture}) {
            setClipboard(
                QStringLiteral("<p>a<img src=\"%1\">b</p><div style=\"background-image:url('%1')\">c</div>")
                    .arg(source),
                QStringLiteral("a b c"));
            QTest::keyClick(&box, Qt::Key_V, Qt::ControlModifier);
            box.loadClipboard(QGuiApplication::clipboard()->mimeData());
            QTest::qWait(20);
        }
        char events[4096];
        QVERIFY(::read(watch, events, sizeof events) <= 0);
        ::close(watch);
        QVERIFY(!rtf::writeRtf(*box.document()).contains("\\pict"));
        QCOMPARE(box.toPlainText(), QStringLiteral("ab\nc"));
    }

    void linkReplacesTheContent()
    {
        RichTextBox box;
        box.setPlainText(QStringLiteral("old"));
        setClipboard(QStringLiteral("<h1>New</h1>"), QStringLiteral("New"));
        box.loadClipboard(QGuiApplication::clipboard()->mimeData());
        QCOMPARE(documentOutline(*box.document()), QStringLiteral("h1|**New**"));

        // A clipboard with only a picture empties the box, as it always did.
        auto* mime = new QMimeData;
        mime->setImageData(QImage(4, 4, QImage::Format_RGB32));
        QGuiApplication::clipboard()->setMimeData(mime);
        box.loadClipboard(QGuiApplication::clipboard()->mimeData());
        QCOMPARE(box.toPlainText(), QString());
    }

    void ctrlShiftVPastesTheTextLiterally()
    {
        RichTextBox box;
        setClipboard(QStringLiteral("<h1>Rich</h1>"), QStringLiteral("{\\rtf1 **not** read}"));
        QTest::keyClick(&box, Qt::Key_V, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(box.toPlainText(), QStringLiteral("{\\rtf1 **not** read}"));
        QCOMPARE(documentOutline(*box.document()), QStringLiteral("p|{\\rtf1 **not** read}"));
    }
};

QTEST_MAIN(tst_rich_text_paste)
#include "tst_rich_text_paste.moc"
