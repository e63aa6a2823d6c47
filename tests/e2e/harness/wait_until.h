#pragma once

#include <windows.h>

#include <functional>

// Polling helpers: every wait in the suite is a condition checked every 50 ms with a deadline,
// never a plain sleep.
namespace e2e {

constexpr DWORD kPollMs = 50;

// Milliseconds since an arbitrary start, for measuring how long something took.
ULONGLONG NowMs();

// Polls until done() holds or timeoutMs has passed; true when it held.
bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs);

// Polls for durationMs; true when keeps() held at every poll, false at the first poll where it
// did not. For "nothing happens during this time" checks.
bool HoldsFor(const std::function<bool()>& keeps, DWORD durationMs);

} // namespace e2e
