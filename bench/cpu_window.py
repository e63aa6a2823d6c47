#!/usr/bin/env python3
"""The CPU that processes spend over a window of time, from Linux's per-thread run time.

    cpu_window.py SECONDS PID [PID ...]

Prints one figure per process, in ns, separated by blanks: the sum over its threads of what each
ran between its first and its last sample in the window. The threads are sampled every 0.5 s, so
a thread that ends within the window keeps what it ran until its last sample: a sum over the
threads alive at the two ends alone would lose all of it, and could even fall."""
import sys
import time

from delete_span import thread_ns


def main(argv):
    if len(argv) < 3:
        print(__doc__, file=sys.stderr)
        return 2
    seconds, pids = float(argv[1]), argv[2:]
    first = [thread_ns(pid) for pid in pids]
    last = [dict(times) for times in first]
    end = time.monotonic() + seconds
    while True:
        left = end - time.monotonic()
        time.sleep(min(0.5, max(left, 0.0)))
        for pid, start, now in zip(pids, first, last):
            for tid, ns in thread_ns(pid).items():
                start.setdefault(tid, 0)  # a thread born in the window ran all its time in it
                now[tid] = ns
        if left <= 0.5:
            break
    print(" ".join(str(sum(now[t] - start[t] for t in now)) for start, now in zip(first, last)))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
