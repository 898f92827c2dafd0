// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "document_outline.h"
#include "paste/clipboard_reader.h"
#include "paste/html_reader.h"
#include "paste/markdown_reader.h"
#include "paste/safe_text_document.h"
#include "rtf/rtf.h"
#include "common/test_support.h"

#include <QAbstractTextDocumentLayout>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextList>
#include <QtTest>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/inotify.h>
#include <sys/socket.h>
#include <unistd.h>

using namespace folioneer;
using folioneer::test::documentOutline;

// The readers of pasted HTML and Markdown: the structure they keep, what they drop, when plain
// text counts as Markdown, and that hostile input reads in bounded time without touching a file
// or the network.
class tst_PasteReaders : public QObject {
    Q_OBJECT

private slots:
    void htmlAndMarkdownGiveTheSameStructure_data();
    void htmlAndMarkdownGiveTheSameStructure();
    void markdownDetection_data();
    void markdownDetection();
    void clipboardFormOrder_data();
    void clipboardFormOrder();
    void capturedBrowserPayloads_data();
    void capturedBrowserPayloads();
    void headingsSaveAsHeadings();
    void outsideResourcesAreNeverRead_data();
    void outsideResourcesAreNeverRead();
    void hostileInputIsBounded_data();
    void hostileInputIsBounded();
};

namespace {

QString htmlOutline(const QString& html)
{
    QTextDocument document;
    paste::readHtml(html.toUtf8(), document);
    return documentOutline(document);
}

QString markdownOutline(const QString& markdown)
{
    QTextDocument document;
    paste::readMarkdown(markdown, document);
    return documentOutline(document);
}

// A 2x1 PNG as a data: URI.
QString pngDataUri()
{
    QImage image(2, 1, QImage::Format_RGB32);
    image.fill(Qt::red);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return QStringLiteral("data:image/png;base64,") + QString::fromLatin1(png.toBase64());
}

// Reports whether anything opened a file in a folder (Linux inotify).
class OpenWatch {
public:
    explicit OpenWatch(const QString& folder)
    {
        m_fd = inotify_init1(IN_NONBLOCK);
        inotify_add_watch(m_fd, folder.toLocal8Bit().constData(), IN_OPEN | IN_ACCESS);
    }
    ~OpenWatch() { ::close(m_fd); }
    OpenWatch(const OpenWatch&) = delete;
    OpenWatch& operator=(const OpenWatch&) = delete;
    bool sawOpen() const
    {
        char buffer[4096];
        return ::read(m_fd, buffer, sizeof buffer) > 0;
    }

private:
    int m_fd = -1;
};

// A listening socket on 127.0.0.1 that reports whether anything connected to it.
class LocalListener {
public:
    LocalListener()
    {
        m_fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (::bind(m_fd, reinterpret_cast<sockaddr*>(&address), length) == 0 && ::listen(m_fd, 8) == 0 &&
            ::getsockname(m_fd, reinterpret_cast<sockaddr*>(&address), &length) == 0) {
            m_port = ntohs(address.sin_port);
        }
    }
    ~LocalListener() { ::close(m_fd); }
    LocalListener(const LocalListener&) = delete;
    LocalListener& operator=(const LocalListener&) = delete;
    int port() const { return m_port; }
    bool sawConnection() const
    {
        const int client = ::accept(m_fd, nullptr, nullptr);
        if (client >= 0) {
            ::close(client);
            return true;
        }
        return false;
    }

private:
    int m_fd = -1;
    int m_port = 0;
};

} // namespace

void tst_PasteReaders::htmlAndMarkdownGiveTheSameStructure_data()
{
    QTest::addColumn<QString>("markdown");
    QTest::addColumn<QString>("html");
    QTest::addColumn<QString>("expected");

    // Dark-theme colours, fonts and line heights on every element, as a chat page copies.
    const QString dark =
        QStringLiteral(" style=\"color: rgb(236, 236, 236); background-color: rgb(33, 33, 33); "
                       "font-family: Söhne, sans-serif; font-size: 16px; line-height: 28px;\"");
    QTest::newRow("headings and emphasis")
        << QStringLiteral(
               "# Soil\n\nSoil is **alive** and *busy*, with `pH` and ~~dirt~~.\n\n### Layers\n\nTopsoil.")
        << QStringLiteral("<h1%1>Soil</h1>\n<p%1>Soil is <strong%1>alive</strong> and <em>busy</em>, with "
                          "<code%1>pH</code> and <del>dirt</del>.</p>\n<h3%1>Layers</h3><p%1>Topsoil.</p>")
               .arg(dark)
        << QStringLiteral(
               "h1|**Soil**\np|Soil is **alive** and *busy*, with `pH` and ~~dirt~~.\nh3|**Layers**\n"
               "p|Topsoil.");
    QTest::newRow("nested lists")
        << QStringLiteral(
               "- Clay\n- Sand\n  - Coarse\n  - Fine\n    - Silt\n- Loam\n\n1. Dig\n2. Water\n   1. Slowly")
        << QStringLiteral(
               "<ul%1>\n<li%1>Clay</li>\n<li>Sand\n<ul>\n<li>Coarse</li>\n<li>Fine<ul><li>Silt</li></ul></"
               "li>\n"
               "</ul>\n</li>\n<li><p>Loam</p></li>\n</ul>\n<ol><li>Dig</li><li>Water<ol><li>Slowly</li></ol>"
               "</li></ol>")
               .arg(dark)
        << QStringLiteral(
               "li1 disc|Clay\nli1 disc|Sand\nli2 circle|Coarse\nli2 circle|Fine\nli3 square|Silt\n"
               "li1 disc|Loam\nli1 decimal|Dig\nli1 decimal|Water\nli2 decimal|Slowly");
    QTest::newRow("fenced code")
        << QStringLiteral("Run:\n\n```python\nprint(1)\n\n    x = 2\n```\n\nDone.")
        << QStringLiteral("<p>Run:</p><pre%1><div><span>python</span><button>Copy code</button></div>"
                          "<code class=\"language-python\">print(1)\n\n    x = 2\n</code></pre><p>Done.</p>")
               .arg(dark)
               .replace(QStringLiteral("<div><span>python</span><button>Copy code</button></div>"), QString())
        << QStringLiteral("p|Run:\ncode|`print(1)`\ncode|\ncode|`    x = 2`\np|Done.");
    QTest::newRow("table with a line break in a cell")
        << QStringLiteral(
               "| Layer | Depth |\n|---|---|\n| Topsoil | **5–10** cm |\n| Subsoil | deep<br>and dense |")
        << QStringLiteral(
               "<table%1><thead><tr><th>Layer</th><th>Depth</th></tr></thead><tbody><tr><td>Topsoil</td>"
               "<td><strong>5–10</strong> cm</td></tr><tr><td>Subsoil</td><td>deep<br>and dense</td></tr>"
               "</tbody></table>")
               .arg(dark)
        << QStringLiteral("cell 0,0|**Layer**\ncell 0,1|**Depth**\ncell 1,0|Topsoil\ncell 1,1|**5–10** cm\n"
                          "cell 2,0|Subsoil\ncell 2,1|deep\\nand dense");
    QTest::newRow("quote, link and rule")
        << QStringLiteral("> Feed the *soil*.\n\n---\n\nSee [the guide](https://example.org/soil) now.")
        << QStringLiteral("<blockquote%1><p>Feed the <em>soil</em>.</p></blockquote><hr><p>See "
                          "<a href=\"https://example.org/soil\"%1>the guide</a> now.</p>")
               .arg(dark)
        << QStringLiteral("indent1|Feed the *soil*.\np|See [the guide](https://example.org/soil) now.");
}

void tst_PasteReaders::htmlAndMarkdownGiveTheSameStructure()
{
    QFETCH(QString, markdown);
    QFETCH(QString, html);
    QFETCH(QString, expected);
    QCOMPARE(markdownOutline(markdown), expected);
    QCOMPARE(htmlOutline(html), expected);

    // What the saved section gives as plain text ("Copy", the whole-book export) agrees too,
    // and no Markdown marker reaches it.
    QTextDocument fromMarkdown;
    paste::readMarkdown(markdown, fromMarkdown);
    QTextDocument fromHtml;
    paste::readHtml(html.toUtf8(), fromHtml);
    const QString plain = rtf::plainTextFromRtf(rtf::writeRtf(fromMarkdown)).text;
    QCOMPARE(rtf::plainTextFromRtf(rtf::writeRtf(fromHtml)).text, plain);
    for (const char* marker : {"**", "# ", "```", "|---"}) {
        QVERIFY2(!plain.contains(QLatin1String(marker)), marker);
    }
    QVERIFY(!rtf::writeRtf(fromHtml).contains("\\red236\\green236\\blue236"));
}

void tst_PasteReaders::markdownDetection_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("markdown");

    QTest::newRow("asterisks in arithmetic") << QStringLiteral("3 * 4 = 12, and 2*3*4 = 24.") << false;
    QTest::newRow("number sign") << QStringLiteral("We came #2 on the list.\n#3 was close.") << false;
    QTest::newRow("year at a line start") << QStringLiteral("1990. That year the rain came late.") << false;
    QTest::newRow("typed dash list") << QStringLiteral("Buy:\n- milk\n- eggs\n") << false;
    QTest::newRow("a single emphasis") << QStringLiteral("I *really* mean it.") << false;
    QTest::newRow("underlined title") << QStringLiteral("Notes\n-----\nmore") << false;
    QTest::newRow("unclosed fence") << QStringLiteral("```\nnot closed") << false;
    QTest::newRow("atx heading") << QStringLiteral("Intro\n\n## Soil\ntext") << true;
    QTest::newRow("closed fence") << QStringLiteral("Run\n```\nls\n```") << true;
    QTest::newRow("pipe table") << QStringLiteral("| a | b |\n|---|:-:|\n| 1 | 2 |") << true;
    QTest::newRow("two spans") << QStringLiteral("It is **very** `important`.") << true;
}

void tst_PasteReaders::markdownDetection()
{
    QFETCH(QString, text);
    QFETCH(bool, markdown);
    QCOMPARE(paste::looksLikeMarkdown(text), markdown);
}

void tst_PasteReaders::clipboardFormOrder_data()
{
    QTest::addColumn<QString>("rtfType");
    QTest::addColumn<QString>("html");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("form");
    QTest::addColumn<QString>("expected");

    const int rtfForm = static_cast<int>(paste::PastedForm::Rtf);
    const int htmlForm = static_cast<int>(paste::PastedForm::Html);
    const int markdownForm = static_cast<int>(paste::PastedForm::Markdown);
    const int plainForm = static_cast<int>(paste::PastedForm::PlainText);
    QTest::newRow("rtf type first") << QStringLiteral("{\\rtf1 {\\b rich}\\par}")
                                    << QStringLiteral("<p>html</p>") << QStringLiteral("# md") << rtfForm
                                    << QStringLiteral("p|**rich**");
    QTest::newRow("rtf as text") << QString() << QString() << QStringLiteral("{\\rtf1 text\\par}") << rtfForm
                                 << QStringLiteral("p|text");
    QTest::newRow("html before markdown")
        << QString() << QStringLiteral("<h2>html</h2>") << QStringLiteral("# md") << htmlForm
        << QStringLiteral("h2|**html**");
    QTest::newRow("empty html falls through")
        << QString() << QStringLiteral("<script>x()</script><img src=x.png>") << QStringLiteral("# md")
        << markdownForm << QStringLiteral("h1|**md**");
    // The five prose rows: nothing is built, the box pastes the text exactly as before.
    for (const QString& prose :
         {QStringLiteral("3 * 4 = 12"), QStringLiteral("#2 on the list"), QStringLiteral("1990. That year…"),
          QStringLiteral("- milk\r\n- eggs"), QStringLiteral("a single *word*")}) {
        QTest::newRow(qPrintable(QStringLiteral("prose: ") + prose))
            << QString() << QString() << prose << plainForm << QString();
    }
}

void tst_PasteReaders::clipboardFormOrder()
{
    QFETCH(QString, rtfType);
    QFETCH(QString, html);
    QFETCH(QString, text);
    QFETCH(int, form);
    QFETCH(QString, expected);
    QMimeData mime;
    if (!rtfType.isEmpty()) {
        mime.setData(QStringLiteral("text/rtf"), rtfType.toLatin1());
    }
    if (!html.isEmpty()) {
        mime.setHtml(html);
    }
    mime.setText(text);
    QTextDocument document;
    QCOMPARE(static_cast<int>(paste::readClipboard(mime, document)), form);
    QCOMPARE(documentOutline(document), expected);
}

void tst_PasteReaders::capturedBrowserPayloads_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QStringList>("mustHave");

    QTest::newRow("chat answer") << QStringLiteral("chromium-chat-answer.html")
                                 << QStringList{QStringLiteral("h2|**Soil basics**"),
                                                QStringLiteral("li1 disc|"), QStringLiteral("li2 circle|"),
                                                QStringLiteral("code|"), QStringLiteral("cell 1,0|Topsoil")};
    QTest::newRow("table of contents")
        << QStringLiteral("chromium-toc.html")
        << QStringList{QStringLiteral("h2|**Chapter 1: Soil**"), QStringLiteral("li1 disc|1.1 What Soil Is")};
}

void tst_PasteReaders::capturedBrowserPayloads()
{
    QFETCH(QString, file);
    QFETCH(QStringList, mustHave);
    const QByteArray html = test::readFile(test::sourceDir() + QStringLiteral("/tests/data/paste/") + file);
    QVERIFY(!html.isEmpty());
    QTextDocument document;
    QVERIFY(paste::readHtml(html, document));
    const QString outline = documentOutline(document);
    for (const QString& part : mustHave) {
        QVERIFY2(outline.contains(part), qPrintable(part + QStringLiteral(" not in\n") + outline));
    }
    QVERIFY2(!outline.contains(QStringLiteral("{styled}")), qPrintable(outline));
    QVERIFY(!rtf::writeRtf(document).contains("\\red236\\green236\\blue236"));
}

void tst_PasteReaders::headingsSaveAsHeadings()
{
    QTextDocument pasted;
    paste::readMarkdown(QStringLiteral("# Title\n\n## Part\n\nBody"), pasted, paste::PasteOptions{10.0});
    const QByteArray saved = rtf::writeRtf(pasted);
    QVERIFY(saved.contains("\\outlinelevel0"));
    QVERIFY(saved.contains("\\outlinelevel1"));
    QTextDocument reread;
    QCOMPARE(rtf::readRtf(saved, reread), rtf::ReadStatus::Ok);
    const QTextBlock title = reread.begin();
    QCOMPARE(title.blockFormat().headingLevel(), 1);
    QCOMPARE(title.next().blockFormat().headingLevel(), 2);
    QCOMPARE(title.next().next().blockFormat().headingLevel(), 0);
    const QTextCharFormat titleFormat = title.begin().fragment().charFormat();
    QCOMPARE(titleFormat.fontPointSize(), 20.0);
    QCOMPARE(titleFormat.fontWeight(), int(QFont::Bold));
    // Saved again, the file is the same: the level is neither lost nor doubled.
    QCOMPARE(rtf::writeRtf(reread), saved);
}

void tst_PasteReaders::outsideResourcesAreNeverRead_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("payload");

    // %FILE% is a picture that exists on disk, %URL% a picture on a local web server.
    QTest::newRow("html file image") << "html" << QStringLiteral("<p>a<img src=\"file://%FILE%\">b</p>");
    QTest::newRow("html path image") << "html" << QStringLiteral("<p>a<img src=\"%FILE%\">b</p>");
    QTest::newRow("html remote image") << "html" << QStringLiteral("<p>a<img src=\"%URL%\">b</p>");
    QTest::newRow("css import and backgrounds")
        << "html"
        << QStringLiteral(
               "<style>@import url(file://%FILE%); p{background:url(%URL%)}</style>"
               "<div style=\"background-image:url('file://%FILE%')\"><table background=\"file://%FILE%\">"
               "<tr><td background=\"%URL%\">a</td></tr></table><script>fetch('%URL%')</script>b</div>");
    QTest::newRow("frames, forms and objects")
        << "html"
        << QStringLiteral(
               "<iframe src=\"%URL%\"></iframe><object data=\"file://%FILE%\"></object>"
               "<form action=\"%URL%\"><input src=\"%URL%\" type=image><textarea>t</textarea></form>"
               "<svg><image href=\"file://%FILE%\"/></svg><p>a b</p>");
    QTest::newRow("markdown file image") << "markdown" << QStringLiteral("# a\n\n![pic](file://%FILE%) b");
    QTest::newRow("markdown remote image") << "markdown" << QStringLiteral("# a\n\n![pic](%URL%) b");
    QTest::newRow("markdown raw html")
        << "markdown" << QStringLiteral("# a\n\n<img src=\"file://%FILE%\"> b\n\n<style>x</style>");
}

void tst_PasteReaders::outsideResourcesAreNeverRead()
{
    QFETCH(QString, kind);
    QFETCH(QString, payload);
    QTemporaryDir folder;
    const QString picture = folder.filePath(QStringLiteral("picture.png"));
    QImage(4, 4, QImage::Format_RGB32).save(picture);
    const LocalListener server;
    QVERIFY(server.port() > 0);
    payload.replace(QStringLiteral("%FILE%"), picture);
    payload.replace(QStringLiteral("%URL%"), QStringLiteral("http://127.0.0.1:%1/p.png").arg(server.port()));

    const OpenWatch watch(folder.path());
    QMimeData mime;
    if (kind == u"html") {
        mime.setHtml(payload);
    }
    mime.setText(payload);
    SafeTextDocument document;
    paste::readClipboard(mime, document);
    // Laying the document out and saving it is where Qt would load pictures.
    document.protectLayout();
    document.setTextWidth(400);
    document.documentLayout()->documentSize();
    const QByteArray saved = rtf::writeRtf(document);
    QCoreApplication::processEvents();

    QVERIFY(!watch.sawOpen());
    QVERIFY(!server.sawConnection());
    QVERIFY(!saved.contains("\\pict"));
    const QString outline = documentOutline(document);
    QVERIFY2(!outline.contains(QStringLiteral("[image]")), qPrintable(outline));
    QVERIFY2(!outline.contains(QStringLiteral("fetch")) && !outline.contains(QStringLiteral("@import")),
             qPrintable(outline));
    QVERIFY2(outline.contains(u'b'), qPrintable(outline));

    // The document itself refuses what Qt's own importer would fetch.
    SafeTextDocument imported;
    imported.protectLayout();
    imported.setHtml(payload);
    imported.setTextWidth(400);
    imported.documentLayout()->documentSize();
    QVERIFY(!watch.sawOpen());
    QVERIFY(!server.sawConnection());

    // A picture carried in the data itself is kept.
    QTextDocument carried;
    mime.setHtml(QStringLiteral("<p><img src=\"%1\"></p>").arg(pngDataUri()));
    paste::readClipboard(mime, carried);
    QCOMPARE(documentOutline(carried), QStringLiteral("p|[image]"));
    QTextDocument carriedMarkdown;
    paste::readMarkdown(QStringLiteral("![pic](%1) and **x** *y*").arg(pngDataUri()), carriedMarkdown);
    QCOMPARE(documentOutline(carriedMarkdown), QStringLiteral("p|[image] and **x** *y*"));
}

void tst_PasteReaders::hostileInputIsBounded_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QByteArray>("payload");
    QTest::addColumn<QString>("mustHave");

    QTest::newRow("100,000 nested divs")
        << "html" << QByteArray("<div>").repeated(100000) + "deep" + QByteArray("</div>").repeated(100000)
        << QString();
    QTest::newRow("100,000 nested lists")
        << "html" << QByteArray("<ul><li>x").repeated(100000) + QByteArray("</li></ul>").repeated(100000)
        << QStringLiteral("li1 disc|x");
    QTest::newRow("100,000 nested quotes") << "markdown" << QByteArray(100000, '>') + " deep" << QString();
    QTest::newRow("100,000 nested markdown lists")
        << "markdown" << QByteArray("- ").repeated(100000) + "deep" << QString();
    QByteArray browser;
    const QByteArray paragraph =
        "<p style=\"color: rgb(236, 236, 236); font-family: Söhne; line-height: 28px;\">Soil is <strong "
        "style=\"font-weight: 600;\">alive</strong> and <em>busy</em>, with <code>pH</code> values.</p>\n";
    while (browser.size() < 20 * 1024 * 1024) {
        browser += paragraph;
    }
    QTest::newRow("20 MB of browser html") << "html" << browser << QStringLiteral("p|Soil is **alive**");
    QByteArray markdown;
    while (markdown.size() < 20 * 1024 * 1024) {
        markdown += "## Part\n\nSoil is **alive** and *busy*, with `pH`.\n\n- one\n- two\n\n";
    }
    QTest::newRow("20 MB of markdown") << "markdown" << markdown << QStringLiteral("h2|**Part**");
    QTest::newRow("malformed markup")
        << "html"
        << QByteArray(
               "</p><b>bold <i>both</b> italic</i><li>stray item<td>stray cell</tr><table><td><table><tr>"
               "<td>inner<td>cells</table>tail<ol start=x><li><h2>in item<pre>code</ul>&bogus; &#0; "
               "&#xD800;<a href=\"javascript:alert(1)\">link</a><!-- open comment")
        << QStringLiteral("inner cells");
    QTest::newRow("binary garbage") << "html" << test::garbage(1 << 20, 7) << QString();
    QTest::newRow("markdown garbage") << "markdown" << test::garbage(1 << 20, 11) << QString();
}

void tst_PasteReaders::hostileInputIsBounded()
{
    QFETCH(QString, kind);
    QFETCH(QByteArray, payload);
    QFETCH(QString, mustHave);
    QElapsedTimer timer;
    timer.start();
    QTextDocument document;
    if (kind == u"html") {
        paste::readHtml(payload, document);
    } else {
        paste::readMarkdown(QString::fromUtf8(payload), document);
    }
    const QString outline = documentOutline(document);
    // Generous for a loaded machine: a reader that grew with the square of the input would take
    // hours on the 20 MB rows, not minutes.
    QVERIFY2(timer.elapsed() < test::timeBudgetMs(180000), qPrintable(QString::number(timer.elapsed())));
    QVERIFY2(outline.contains(mustHave), qPrintable(outline.left(2000)));
    QVERIFY(!outline.contains(QStringLiteral("javascript")));
    // Lists never nest deeper than the cap.
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (block.textList()) {
            QVERIFY(block.textList()->format().indent() <= paste::kMaxListDepth);
        }
    }
}

QTEST_MAIN(tst_PasteReaders)
#include "tst_paste_readers.moc"
