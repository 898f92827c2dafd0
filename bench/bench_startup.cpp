// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Start-up time: from starting a program's process to its first top-level window being mapped on
// a private Xvfb (no window manager), measured several times; prints every run, the median and
// the range, and the title of the window that came up. On the first and the last run it also
// lists every window mapped in the first seconds, which shows a first-run dialog.
//   bench_startup [RUNS] [PROGRAM_FOLDER]
//   bench_startup [--runs N] [--program-folder DIR] [--command LABEL PROGRAM [ARGUMENTS...]]
// With --command, another program is measured too, on the same display and alternating run by
// run with ours, so that a change of load on the machine weighs on both alike.
#include "bench_result.h"
#include "e2e/e2e_harness.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <memory>
#include <poll.h>
#include <sys/prctl.h>
#include <xcb/xcb.h>

namespace {

constexpr int kWindowTimeoutMs = 20000;
/// How long the first and the last run keep watching for more windows after the first one.
constexpr int kWatchMs = 2000;

// Watches the screen's root window for top-level windows being mapped.
class MapWatcher {
public:
    explicit MapWatcher(const QString& display)
    {
        m_connection = xcb_connect(display.toLatin1().constData(), nullptr);
        if (xcb_connection_has_error(m_connection)) {
            return;
        }
        m_root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;
        const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_change_window_attributes(m_connection, m_root, XCB_CW_EVENT_MASK, &mask);
        m_netWmName = atom("_NET_WM_NAME");
        m_utf8String = atom("UTF8_STRING");
        m_valid = true;
    }
    ~MapWatcher() { xcb_disconnect(m_connection); }
    bool isValid() const { return m_valid; }

    /// Forgets the events seen so far.
    void drain()
    {
        while (xcb_generic_event_t* event = xcb_poll_for_event(m_connection)) {
            free(event);
        }
    }

    /// Waits until a window is mapped on the root window and returns it; 0 on timeout.
    xcb_window_t waitForMap(int timeoutMs)
    {
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < timeoutMs) {
            while (xcb_generic_event_t* event = xcb_poll_for_event(m_connection)) {
                xcb_window_t window = 0;
                if ((event->response_type & 0x7f) == XCB_MAP_NOTIFY) {
                    window = reinterpret_cast<xcb_map_notify_event_t*>(event)->window;
                }
                free(event);
                if (window) {
                    return window;
                }
            }
            pollfd fd{xcb_get_file_descriptor(m_connection), POLLIN, 0};
            ::poll(&fd, 1, static_cast<int>(std::max<qint64>(1, timeoutMs - timer.elapsed())));
        }
        return 0;
    }

    /// The window's title (_NET_WM_NAME, else WM_NAME); empty when it has none.
    QString title(xcb_window_t window)
    {
        const QByteArray utf8 = property(window, m_netWmName, m_utf8String);
        return utf8.isEmpty() ? QString::fromLatin1(property(window, XCB_ATOM_WM_NAME, XCB_ATOM_STRING))
                              : QString::fromUtf8(utf8);
    }

private:
    xcb_atom_t atom(const char* name)
    {
        const auto cookie = xcb_intern_atom(m_connection, 0, static_cast<uint16_t>(strlen(name)), name);
        std::unique_ptr<xcb_intern_atom_reply_t, decltype(&free)> reply(
            xcb_intern_atom_reply(m_connection, cookie, nullptr), &free);
        return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    }

    QByteArray property(xcb_window_t window, xcb_atom_t name, xcb_atom_t type)
    {
        const auto cookie = xcb_get_property(m_connection, 0, window, name, type, 0, 1024);
        std::unique_ptr<xcb_get_property_reply_t, decltype(&free)> reply(
            xcb_get_property_reply(m_connection, cookie, nullptr), &free);
        if (!reply || reply->format != 8) {
            return {};
        }
        return QByteArray(static_cast<const char*>(xcb_get_property_value(reply.get())),
                          xcb_get_property_value_length(reply.get()));
    }

    xcb_connection_t* m_connection = nullptr;
    xcb_window_t m_root = 0;
    xcb_atom_t m_netWmName = XCB_ATOM_NONE;
    xcb_atom_t m_utf8String = XCB_ATOM_NONE;
    bool m_valid = false;
};

// One program to start again and again. Each gets a home folder of its own (HOME and the XDG
// folders), empty before its first run and kept across its runs, so settings it writes stay
// out of the user's home and a later run sees what the first one left.
struct Subject {
    QString label;
    QString program;
    QStringList arguments;
    QString workingDirectory;
    std::unique_ptr<QTemporaryDir> home;
    std::vector<double> times;
    QStringList titles;
    double firstRunMs = 0;
    QStringList firstRunWindows;
    QStringList lastRunWindows;
};

QProcessEnvironment environmentFor(const Subject& subject, const QString& display)
{
    const QString home = subject.home->path();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    environment.insert(QStringLiteral("DISPLAY"), display);
    environment.insert(QStringLiteral("NO_AT_BRIDGE"), QStringLiteral("1"));
    environment.insert(QStringLiteral("HOME"), home);
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/.config"));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), home + QStringLiteral("/.local/share"));
    environment.insert(QStringLiteral("XDG_STATE_HOME"), home + QStringLiteral("/.local/state"));
    environment.insert(QStringLiteral("XDG_CACHE_HOME"), home + QStringLiteral("/.cache"));
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), home + QStringLiteral("/runtime"));
    return environment;
}

QString quoted(const QString& title)
{
    return title.isEmpty() ? QStringLiteral("(untitled)") : QLatin1Char('"') + title + QLatin1Char('"');
}

/// Starts the subject once and returns the milliseconds to its first mapped window, or a
/// negative number after printing why it failed. `windows` receives the first window's title
/// and, when `watchOn`, the titles of the windows mapped within kWatchMs after it.
double measureOnce(Subject& subject, MapWatcher& watcher, const QString& display, QStringList& windows,
                   bool watchOn)
{
    QProcess process;
    process.setProgram(subject.program);
    process.setArguments(subject.arguments);
    process.setWorkingDirectory(subject.workingDirectory);
    process.setProcessEnvironment(environmentFor(subject, display));
    process.setStandardOutputFile(subject.home->filePath(QStringLiteral("output.log")), QIODevice::Append);
    process.setStandardErrorFile(subject.home->filePath(QStringLiteral("output.log")), QIODevice::Append);
    // Nothing outlives the benchmark, even when it is killed.
    process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });

    watcher.drain();
    QElapsedTimer timer;
    timer.start();
    process.start();
    if (!process.waitForStarted(kWindowTimeoutMs)) {
        std::fprintf(stderr, "bench_startup: cannot start %s: %s\n", qPrintable(subject.program),
                     qPrintable(process.errorString()));
        return -1;
    }
    const xcb_window_t window = watcher.waitForMap(kWindowTimeoutMs);
    const double ms = static_cast<double>(timer.nsecsElapsed()) / 1e6;
    if (!window) {
        folioneer::e2e::endProcess(process);
        QFile log(subject.home->filePath(QStringLiteral("output.log")));
        std::fprintf(stderr, "bench_startup: %s showed no window within %d s\n%s\n",
                     qPrintable(subject.label), kWindowTimeoutMs / 1000,
                     log.open(QIODevice::ReadOnly) ? log.readAll().constData() : "");
        return -1;
    }
    windows = {quoted(watcher.title(window))};
    QElapsedTimer watch;
    watch.start();
    while (watchOn && watch.elapsed() < kWatchMs) {
        if (const xcb_window_t more = watcher.waitForMap(int(kWatchMs - watch.elapsed()))) {
            windows.append(quoted(watcher.title(more)));
        }
    }
    folioneer::e2e::endProcess(process);
    return ms;
}

void report(const Subject& subject)
{
    std::vector<double> sorted = subject.times;
    std::sort(sorted.begin(), sorted.end());
    const std::size_t n = sorted.size();
    const double median = n % 2 ? sorted[n / 2] : (sorted[n / 2 - 1] + sorted[n / 2]) / 2;
    QStringList titles = subject.titles;
    titles.removeDuplicates();
    const QString windowsNote = QStringLiteral("windows mapped within %1 s").arg(kWatchMs / 1000);

    std::printf("start-up of %s (process start to first window mapped, Xvfb, %zu runs):",
                qPrintable(subject.label), n);
    for (const double ms : subject.times) {
        std::printf(" %.1f", ms);
    }
    std::printf(" ms\n  median %.1f ms, range %.1f-%.1f ms; first window %s\n", median, sorted.front(),
                sorted.back(), qPrintable(titles.join(QStringLiteral(", "))));
    std::printf("  first run (empty home folder; left out of the figures): %.1f ms, %s: %s\n",
                subject.firstRunMs, qPrintable(windowsNote), qPrintable(subject.firstRunWindows.join(", ")));
    std::printf("  last run: %s: %s\n", qPrintable(windowsNote),
                qPrintable(subject.lastRunWindows.join(", ")));

    const QByteArray key = "startup." + subject.label.toUtf8();
    const QByteArray runs = QByteArray::number(qulonglong(n));
    using folioneer::bench::printResult;
    printResult((key + ".median").constData(), median, "ms", "-",
                "start-up to first window, median of " + runs + " runs");
    printResult((key + ".min").constData(), sorted.front(), "ms", "-",
                "start-up to first window, fastest run");
    printResult((key + ".max").constData(), sorted.back(), "ms", "-",
                "start-up to first window, slowest run");
    printResult((key + ".first_run").constData(), subject.firstRunMs, "ms", "-",
                "the first, unmeasured run, with an empty home folder");
    // TITLE: the distinct first windows of the measured runs; WINDOWS: every window mapped within
    // kWatchMs of the first, in order.
    std::printf("TITLE %s.runs %s\n", key.constData(), qPrintable(titles.join(QStringLiteral(", "))));
    std::printf("WINDOWS %s.first_run %s\n", key.constData(), qPrintable(subject.firstRunWindows.join(", ")));
    std::printf("WINDOWS %s.last_run %s\n", key.constData(), qPrintable(subject.lastRunWindows.join(", ")));
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    QStringList arguments = application.arguments().mid(1);
    int runs = 9;
    QString programDir = QStringLiteral(FOLIONEER_PROGRAM_DIR_DEFAULT);
    std::vector<std::unique_ptr<Subject>> subjects;
    subjects.push_back(std::make_unique<Subject>());
    subjects.back()->label = QStringLiteral("folioneer");

    int positional = 0;
    while (!arguments.isEmpty()) {
        const QString argument = arguments.takeFirst();
        if (argument == QLatin1String("--runs") && !arguments.isEmpty()) {
            runs = std::max(1, arguments.takeFirst().toInt());
        } else if (argument == QLatin1String("--program-folder") && !arguments.isEmpty()) {
            programDir = arguments.takeFirst();
        } else if (argument == QLatin1String("--command") && arguments.size() >= 2) {
            auto other = std::make_unique<Subject>();
            other->label = arguments.takeFirst();
            other->program = arguments.takeFirst();
            other->arguments = arguments;
            arguments.clear();
            subjects.push_back(std::move(other));
        } else if (!argument.startsWith(QLatin1String("--")) && positional < 2) {
            // The older form: [RUNS] [PROGRAM_FOLDER].
            if (positional++ == 0) {
                runs = std::max(1, argument.toInt());
            } else {
                programDir = argument;
            }
        } else {
            std::fprintf(stderr, "usage: bench_startup [--runs N] [--program-folder DIR] "
                                 "[--command LABEL PROGRAM [ARGUMENTS...]]\n");
            return 2;
        }
    }

    // The session gives the private display and a copy of the program folder with no projects.
    folioneer::e2e::Session session(programDir);
    if (!session.startDisplay()) {
        std::fprintf(stderr, "bench_startup: %s\n", qPrintable(session.lastError()));
        return 1;
    }
    MapWatcher watcher(session.display());
    if (!watcher.isValid()) {
        std::fprintf(stderr, "bench_startup: cannot connect to %s\n", qPrintable(session.display()));
        return 1;
    }
    subjects.front()->program = session.programFolder() + QStringLiteral("/folioneer");
    subjects.front()->workingDirectory = session.programFolder();
    for (auto& subject : subjects) {
        subject->home = std::make_unique<QTemporaryDir>();
        if (!subject->home->isValid() || !QDir(subject->home->path()).mkpath(QStringLiteral("runtime")) ||
            !QFile::setPermissions(subject->home->filePath(QStringLiteral("runtime")),
                                   QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner)) {
            std::fprintf(stderr, "bench_startup: cannot make a temporary home folder\n");
            return 1;
        }
        if (subject->workingDirectory.isEmpty()) {
            subject->workingDirectory = subject->home->path();
        }
    }

    // One unmeasured run of each first, so the executables and libraries come from the page cache
    // like in every later start; it is also the run that meets an empty home folder.
    for (int run = -1; run < runs; ++run) {
        for (auto& subject : subjects) {
            QStringList windows;
            const bool watchOn = run < 0 || run == runs - 1;
            const double ms = measureOnce(*subject, watcher, session.display(), windows, watchOn);
            if (ms < 0) {
                return 1;
            }
            if (run < 0) {
                subject->firstRunMs = ms;
                subject->firstRunWindows = windows;
            } else {
                subject->times.push_back(ms);
                subject->titles.append(windows.front());
                if (watchOn) {
                    subject->lastRunWindows = windows;
                }
            }
        }
    }
    for (const auto& subject : subjects) {
        report(*subject);
    }
    return 0;
}
