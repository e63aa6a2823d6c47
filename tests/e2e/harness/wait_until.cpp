#include "tests/e2e/harness/wait_until.h"

namespace e2e {

ULONGLONG NowMs() {
    return GetTickCount64();
}

bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs) {
    const ULONGLONG deadline = NowMs() + timeoutMs;
    for (;;) {
        if (done())
            return true;
        if (NowMs() >= deadline)
            return false;
        Sleep(kPollMs);
    }
}

bool HoldsFor(const std::function<bool()>& keeps, DWORD durationMs) {
    const ULONGLONG deadline = NowMs() + durationMs;
    for (;;) {
        if (!keeps())
            return false;
        if (NowMs() >= deadline)
            return true;
        Sleep(kPollMs);
    }
}

} // namespace e2e
