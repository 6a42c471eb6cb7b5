// SPDX-License-Identifier: MIT
#pragma once

#include <chrono>

// A pause for a change that waits while another copy holds the problem file's
// lock: the event loop runs for `step`, so the windows paint and their timers
// fire, under a wait cursor. Input and the close box are dropped meanwhile: the
// change under way is inside a handler, and a second change, a hand-over or the
// end started under it would act on a form and a store that are mid-change.
// Returns how long the pause took.
std::chrono::milliseconds PauseKeepingWindowsAlive(std::chrono::milliseconds step);
