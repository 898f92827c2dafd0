// SPDX-FileCopyrightText: 2026 Folioneer developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/step_hook.h"

namespace folioneer {

namespace {

StepHook& installedHook()
{
    static StepHook hook;
    return hook;
}

} // namespace

void setStepHook(StepHook hook)
{
    installedHook() = std::move(hook);
}

void stepReached(const Step& step)
{
    if (const StepHook& hook = installedHook()) {
        hook(step);
    }
}

} // namespace folioneer
