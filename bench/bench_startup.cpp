// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Start-up time: from starting the program's process to its first window being mapped on a
// private Xvfb (no window manager), measured several times; prints every run and the median.
// Usage: bench_startup [runs] [program folder]
#include "e2e/e2e_harness.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <optional>
#include <poll.h>
#include <xcb/xcb.h>

namespace {

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
        xcb_flush(m_connection);
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

    /// Waits until a window is mapped on the root window; false on timeout.
    bool waitForMap(int timeoutMs)
    {
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < timeoutMs) {
            while (xcb_generic_event_t* event = xcb_poll_for_event(m_connection)) {
                const bool mapped = (event->response_type & 0x7f) == XCB_MAP_NOTIFY;
                free(event);
                if (mapped) {
                    return true;
                }
            }
            pollfd fd{xcb_get_file_descriptor(m_connection), POLLIN, 0};
            ::poll(&fd, 1, static_cast<int>(std::max<qint64>(1, timeoutMs - timer.elapsed())));
        }
        return false;
    }

private:
    xcb_connection_t* m_connection = nullptr;
    xcb_window_t m_root = 0;
    bool m_valid = false;
};

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 9;
    const QString programDir =
        argc > 2 ? QString::fromLocal8Bit(argv[2]) : QStringLiteral(FOLIONEER_PROGRAM_DIR_DEFAULT);

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

    std::vector<double> times;
    // One unmeasured run first, so the executable and Qt's libraries come from the page cache
    // like in every later start.
    for (int run = -1; run < runs; ++run) {
        watcher.drain();
        QElapsedTimer timer;
        timer.start();
        if (!session.startProgram()) {
            std::fprintf(stderr, "bench_startup: %s\n", qPrintable(session.lastError()));
            return 1;
        }
        if (!watcher.waitForMap(20000)) {
            std::fprintf(stderr, "bench_startup: no window within 20 s\n%s\n",
                         session.programOutput().constData());
            return 1;
        }
        const double ms = static_cast<double>(timer.nsecsElapsed()) / 1e6;
        session.stopProgram();
        if (run >= 0) {
            times.push_back(ms);
        }
    }
    std::printf("start-up to first window (process start to window mapped, Xvfb, %d runs):", runs);
    for (const double ms : times) {
        std::printf(" %.1f", ms);
    }
    std::sort(times.begin(), times.end());
    const double median = times.size() % 2 ? times[times.size() / 2]
                                           : (times[times.size() / 2 - 1] + times[times.size() / 2]) / 2;
    std::printf(" ms\nbench_startup median_ms=%.1f min_ms=%.1f max_ms=%.1f\n", median, times.front(),
                times.back());
    return 0;
}
