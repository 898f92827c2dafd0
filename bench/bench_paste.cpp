// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Times pasting a chat answer into the content box through the "Paste" link: from the click to
// the text shown, for 20 KB and 200 KB of browser HTML and of Markdown (the size of the
// clipboard payload). Prints the median of several runs of each.

#include "app/rich_text_box.h"
#include "bench_result.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMimeData>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace folioneer;

namespace {

// One section of a chat answer as a browser copies it: inline dark-theme styles on every element.
QByteArray htmlSection(int n)
{
    const QByteArray style =
        " style=\"color: rgb(236, 236, 236); background-color: rgb(33, 33, 33); font-family: "
        "S\xc3\xb6hne, ui-sans-serif, system-ui, sans-serif; font-size: 16px; line-height: 28px;\"";
    const QByteArray number = QByteArray::number(n);
    return "<h2" + style + ">Part " + number + ": Living soil</h2><p" + style + ">Healthy soil is <strong" +
           style + ">alive</strong>: it holds <em>water</em>, air and <code" + style +
           ">organic matter</code>, and it feeds the plants that grow in it.</p><ul" + style + "><li" +
           style + ">Minerals<ul><li>Sand</li><li>Clay</li></ul></li><li" + style +
           ">Organic matter</li></ul><pre" + style + "><code>ph-test --sample " + number +
           "\ncompost add 5kg\n</code></pre><table" + style +
           "><thead><tr><th>Layer</th><th>Depth</th></tr></thead><tbody><tr><td>Topsoil</td><td><strong>5 to "
           "10</strong> cm</td></tr></tbody></table>\n";
}

QByteArray markdownSection(int n)
{
    const QByteArray number = QByteArray::number(n);
    return "## Part " + number +
           ": Living soil\n\nHealthy soil is **alive**: it holds *water*, air and `organic matter`, and it "
           "feeds "
           "the plants that grow in it.\n\n- Minerals\n  - Sand\n  - Clay\n- Organic "
           "matter\n\n```bash\nph-test "
           "--sample " +
           number +
           "\ncompost add 5kg\n```\n\n| Layer | Depth |\n|---|---|\n| Topsoil | **5 to 10** cm |\n\n";
}

template <typename Section> QByteArray payloadOf(qsizetype size, Section section)
{
    QByteArray payload;
    for (int n = 1; payload.size() < size; ++n) {
        payload += section(n);
    }
    return payload;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void measure(RichTextBox& box, const char* key, const char* what, const QMimeData& clipboard, double goal)
{
    std::vector<double> times;
    for (int run = 0; run < 9; ++run) {
        box.loadPlainText(QStringLiteral("before"));
        QApplication::processEvents();
        QElapsedTimer timer;
        timer.start();
        box.loadClipboard(&clipboard);
        box.viewport()->repaint();
        times.push_back(timer.nsecsElapsed() / 1e6);
    }
    const double value = median(times);
    std::printf("%-52s median %8.2f ms  (goal < %.0f ms) %s\n", what, value, goal,
                value < goal ? "ok" : "OVER");
    const QByteArray goalText = "<" + QByteArray::number(goal);
    bench::printResult(key, value, "ms", goalText.constData(),
                       what + QByteArray(", median of ") + QByteArray::number(times.size()) + " runs");
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    RichTextBox box;
    box.setFont(QFont(QStringLiteral("Verdana"), 9));
    box.resize(850, 262); // the content box of the main window
    box.show();
    QApplication::processEvents();

    for (const int kilobytes : {20, 200}) {
        const double goal = kilobytes == 20 ? 50 : 300;
        QMimeData html;
        const QByteArray htmlPayload = payloadOf(kilobytes * 1024, htmlSection);
        html.setHtml(QString::fromUtf8(htmlPayload));
        html.setText(QStringLiteral("the answer as plain text"));
        QMimeData markdown;
        markdown.setText(QString::fromUtf8(payloadOf(kilobytes * 1024, markdownSection)));
        const QByteArray size = QByteArray::number(kilobytes);
        measure(box, ("paste.html_" + size + "k").constData(),
                ("paste " + size + " KB of browser HTML (click to shown)").constData(), html, goal);
        measure(box, ("paste.markdown_" + size + "k").constData(),
                ("paste " + size + " KB of Markdown (click to shown)").constData(), markdown, goal);
    }
    return 0;
}
