// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <thread>
#include <vector>

namespace folioneer {

/// Calls `work(i)` for every i below `count`, on as many threads as the machine has cores (at
/// most 8), the calling thread among them. Returns when every call has returned. `work` must be
/// safe to run on several threads at once for different i.
template <typename Work> void forEachInParallel(std::size_t count, const Work& work)
{
    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    const std::size_t threadCount = std::min<std::size_t>(std::min(cores, 8u), count);
    std::atomic<std::size_t> next{0};
    auto run = [&work, &next, count] {
        for (std::size_t i = next++; i < count; i = next++) {
            work(i);
        }
    };
    std::vector<std::thread> threads;
    for (std::size_t t = 1; t < threadCount; ++t) {
        threads.emplace_back(run);
    }
    run();
    for (std::thread& thread : threads) {
        thread.join();
    }
}

} // namespace folioneer
