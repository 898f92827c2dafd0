// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "e2e/e2e_harness.h"

#include "common/test_support.h"
#include "rtf/rtf.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextList>
#include <QUrl>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <thread>

using namespace folioneer;
using namespace folioneer::e2e;

namespace {

// A web server on 127.0.0.1 that answers every request with a small PNG and counts requests.
// It stops by itself after `lifetime`, and at the latest when it is destroyed.
class PictureServer {
public:
    explicit PictureServer(std::chrono::seconds lifetime)
    {
        QImage picture(8, 8, QImage::Format_RGB32);
        picture.fill(Qt::darkGreen);
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        picture.save(&buffer, "PNG");
        m_response = "HTTP/1.0 200 OK\r\nContent-Type: image/png\r\nContent-Length: " +
                     QByteArray::number(png.size()) + "\r\nCache-Control: no-store\r\n\r\n" + png;

        m_fd = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (::bind(m_fd, reinterpret_cast<sockaddr*>(&address), length) != 0 || ::listen(m_fd, 16) != 0 ||
            ::getsockname(m_fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
            return;
        }
        m_port = ntohs(address.sin_port);
        const auto end = std::chrono::steady_clock::now() + lifetime;
        m_thread = std::thread([this, end] {
            while (!m_stop && std::chrono::steady_clock::now() < end) {
                pollfd waiting{m_fd, POLLIN, 0};
                if (::poll(&waiting, 1, 100) <= 0) {
                    continue;
                }
                const int client = ::accept(m_fd, nullptr, nullptr);
                if (client < 0) {
                    continue;
                }
                char request[4096];
                if (::recv(client, request, sizeof request, 0) > 0) {
                    ++m_requests;
                    [[maybe_unused]] const auto sent = ::send(
                        client, m_response.constData(), static_cast<size_t>(m_response.size()), MSG_NOSIGNAL);
                }
                ::close(client);
            }
        });
    }
    ~PictureServer()
    {
        m_stop = true;
        if (m_thread.joinable()) {
            m_thread.join();
        }
        ::close(m_fd);
    }
    PictureServer(const PictureServer&) = delete;
    PictureServer& operator=(const PictureServer&) = delete;

    int port() const { return m_port; }
    int requests() const { return m_requests; }

private:
    int m_fd = -1;
    int m_port = 0;
    QByteArray m_response;
    std::atomic<int> m_requests{0};
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

// The words of a text (runs holding a letter), for comparing what two programs read.
QStringList wordsOf(const QString& text)
{
    static const QRegularExpression word(QStringLiteral("[\\w]+"));
    QStringList words;
    for (const QRegularExpressionMatch& match : word.globalMatch(text)) {
        if (match.captured().contains(QRegularExpression(QStringLiteral("[^\\d_]")))) {
            words.append(match.captured());
        }
    }
    return words;
}

} // namespace

// A chat answer copied out of a real browser (Chromium) with the keyboard and pasted into the
// real program while the browser still holds the clipboard: the saved section keeps the
// structure, LibreOffice reads it to the same words, and pasting neither fetches the answer's
// web picture again nor opens its local picture file.
class TestPasteBrowser : public QObject {
    Q_OBJECT

private slots:
    void chatAnswerFromTheBrowser();
};

void TestPasteBrowser::chatAnswerFromTheBrowser()
{
    const QString chromium = QStandardPaths::findExecutable(QStringLiteral("chromium"));
    const QString inotifywait = QStandardPaths::findExecutable(QStringLiteral("inotifywait"));
    const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (chromium.isEmpty() || inotifywait.isEmpty() || soffice.isEmpty()) {
        QSKIP("chromium, inotifywait or soffice is not installed");
    }
    QTemporaryDir work;
    QVERIFY(work.isValid());
    const PictureServer server(std::chrono::seconds(240));
    QVERIFY(server.port() > 0);

    // The page: a chat answer on a dark theme, with a picture on the server and one whose file
    // does not exist yet.
    const QString localPicture = work.filePath(QStringLiteral("pictures/local.png"));
    QVERIFY(QDir().mkpath(work.filePath(QStringLiteral("pictures"))));
    QByteArray page =
        test::readFile(test::sourceDir() + QStringLiteral("/tests/data/paste/chat-answer-page.html"));
    QVERIFY(!page.isEmpty());
    page.replace("REMOTE_IMAGE",
                 QStringLiteral("http://127.0.0.1:%1/remote.png").arg(server.port()).toUtf8());
    page.replace("LOCAL_IMAGE", QUrl::fromLocalFile(localPicture).toEncoded());
    const QString pagePath = work.filePath(QStringLiteral("answer.html"));
    QVERIFY(test::writeFile(pagePath, page));

    Session session;
    QVERIFY2(session.isValid(), qPrintable(session.lastError()));
    QVERIFY2(session.makeSampleBook(), qPrintable(session.lastError()));
    const auto main = session.startAndOpenFirstProject();
    QVERIFY2(main, qPrintable(session.lastError()));
    QVERIFY(session.key(main->id, {QStringLiteral("Down"), QStringLiteral("Right"), QStringLiteral("Down")}));

    // The browser, on the same display, with a profile of its own.
    QProcess browser;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DISPLAY"), session.display());
    browser.setProcessEnvironment(environment);
    browser.setProcessChannelMode(QProcess::MergedChannels);
    browser.start(chromium, {QStringLiteral("--no-sandbox"), QStringLiteral("--no-first-run"),
                             QStringLiteral("--disable-gpu"), QStringLiteral("--password-store=basic"),
                             QStringLiteral("--user-data-dir=") + work.filePath(QStringLiteral("profile")),
                             QStringLiteral("--app=") + QUrl::fromLocalFile(pagePath).toString()});
    const auto closeBrowser = qScopeGuard([&browser] { endProcess(browser); });
    const auto page1 = session.waitForWindow(QStringLiteral("Chat answer ready"), 60000);
    QVERIFY2(page1, qPrintable(session.lastError() + "\n" + browser.readAll()));
    QVERIFY(waitUntil([&] { return server.requests() > 0; }, 30000));

    // Select the answer with the keyboard and copy it.
    QVERIFY(session.click(*page1, QPoint(300, 300)));
    QVERIFY(session.key(*page1, {QStringLiteral("ctrl+a"), QStringLiteral("ctrl+c")}));
    const auto html = session.waitForClipboardChange(std::nullopt, QStringLiteral("text/html"), 20000);
    QVERIFY2(html && html->contains("Soil basics"), qPrintable(session.lastError()));

    // The local picture appears only now, watched for any opening.
    QImage(8, 8, QImage::Format_RGB32).save(localPicture);
    QProcess watch;
    watch.setProcessChannelMode(QProcess::SeparateChannels);
    watch.start(inotifywait, {QStringLiteral("-m"), QStringLiteral("-e"), QStringLiteral("open"),
                              QStringLiteral("-e"), QStringLiteral("access"), localPicture});
    const auto stopWatch = qScopeGuard([&watch] { endProcess(watch); });
    QByteArray watchMessages;
    QVERIFY(waitUntil(
        [&] {
            watch.waitForReadyRead(50);
            watchMessages += watch.readAllStandardError();
            return watchMessages.contains("Watches established");
        },
        10000));
    const int requestsBeforePaste = server.requests();

    // "Paste", then "Save Changes", in the main window brought in front of the browser (no
    // window manager stacks them).
    QVERIFY(session.run(QStringLiteral("xdotool"), {QStringLiteral("windowraise"), main->id}).ok());
    const std::optional<QByteArray> saved = session.pasteAndSave(main->id, sampleBook::kSoilFile);
    QVERIFY2(saved, qPrintable(session.lastError()));
    QTest::qWait(500);
    watch.waitForReadyRead(200);
    QCOMPARE(watch.readAllStandardOutput(), QByteArray());
    QCOMPARE(server.requests(), requestsBeforePaste);

    // The saved section read back: headings, lists, code, table and link; none of the page's
    // colours and no picture.
    QVERIFY(!saved->contains("\\red236\\green236\\blue236"));
    QVERIFY(!saved->contains("\\pict"));
    QTextDocument document;
    QCOMPARE(rtf::readRtf(*saved, document), rtf::ReadStatus::Ok);
    QStringList headings;
    int listItems = 0;
    bool monospace = false;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (block.blockFormat().headingLevel() > 0) {
            headings.append(
                QStringLiteral("h%1 %2").arg(block.blockFormat().headingLevel()).arg(block.text()));
        }
        listItems += block.textList() ? 1 : 0;
        monospace = monospace || (block.text().startsWith(QStringLiteral("ph-test")) &&
                                  block.begin().fragment().charFormat().fontFamilies().toStringList().value(
                                      0) == QStringLiteral("Courier New"));
    }
    QCOMPARE(headings,
             (QStringList{QStringLiteral("h2 Soil basics"), QStringLiteral("h3 What it is made of")}));
    QCOMPARE(listItems, 6);
    QVERIFY(monospace);
    QVERIFY(saved->contains("HYPERLINK \"https://example.org/soil\""));
    const QString ours = rtf::plainTextFromRtf(*saved).text;
    QVERIFY2(ours.contains(QStringLiteral("Topsoil")) && ours.contains(QStringLiteral("compost add 5kg")),
             qPrintable(ours));

    // LibreOffice reads the saved file to the same words.
    const QString rtfPath = work.filePath(QStringLiteral("section.rtf"));
    QVERIFY(test::writeFile(rtfPath, *saved));
    QProcess office;
    office.setProcessChannelMode(QProcess::MergedChannels);
    office.start(soffice, {QStringLiteral("-env:UserInstallation=") +
                               QUrl::fromLocalFile(work.filePath(QStringLiteral("office"))).toString(),
                           QStringLiteral("--headless"), QStringLiteral("--convert-to"),
                           QStringLiteral("txt:Text (encoded):UTF8"), QStringLiteral("--outdir"),
                           work.filePath(QStringLiteral("out")), rtfPath});
    QVERIFY2(office.waitForFinished(240000), "LibreOffice did not finish in time");
    const QString theirs =
        QString::fromUtf8(test::readFile(work.filePath(QStringLiteral("out/section.txt"))));
    QCOMPARE(wordsOf(theirs), wordsOf(ours));
}

QTEST_GUILESS_MAIN(TestPasteBrowser)
#include "tst_paste_browser.moc"
