// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <functional>

namespace folioneer {

// The one place where multi-step writes report their progress: a chunk written, a file renamed,
// a journal entry made. The program installs no hook; a test installs one to fail or kill the
// process at a chosen step, so a kill at every step of an operation can be replayed
// deterministically. Windows never include this header.

/// What the hook learns about a step: a short name saying which kind of step it was
/// ("write-chunk", "rename", ...) and, for writes, the bytes of the current file written so far.
struct Step {
    const char* kind = "";
    qint64 bytesWritten = 0;
};

using StepHook = std::function<void(const Step& step)>;

/// Installs `hook` for the whole process (an empty hook removes it). Tests only.
void setStepHook(StepHook hook);

/// Called by core operations after each durable step; runs the installed hook, if any.
void stepReached(const Step& step);

} // namespace folioneer
