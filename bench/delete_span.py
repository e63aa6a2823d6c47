#!/usr/bin/env python3
"""Times a purge from Linux: the span from the first to the last deletion of a ".txt" name in
one folder, as inotify reports them, and the CPU the deleting process and the wineserver spent
in that span (Linux's per-thread run time, which a busy machine disturbs far less than the span).

    delete_span.py FOLDER COUNT READY_FILE [TIMEOUT_S [PID_FILE SERVER_PID]]

Creates READY_FILE once the watch is in place, then waits until COUNT such names were deleted
(or TIMEOUT_S passed, 60 by default) and prints "first_to_last_ms=<ms> deleted=<n>". When
PID_FILE (holding the Linux pid of the deleting process, read at the first deletion) and
SERVER_PID are given, the line goes on with " process_cpu_ms=<ms> server_cpu_ms=<ms>
busiest_thread_cpu_ms=<ms> threads=<n>" (the busiest thread is the one that deleted).
Exit code 0 when COUNT deletions were seen, 1 otherwise, 2 on a bad command line."""
import ctypes
import glob
import os
import select
import struct
import sys
import time

IN_DELETE = 0x00000200
EVENT_HEADER = struct.Struct("iIII")


def thread_ns(pid):
    """The run time of each thread of the process, in ns, by thread id."""
    times = {}
    for path in glob.glob(f"/proc/{pid}/task/*/schedstat"):
        try:
            with open(path) as stat:
                times[path.split("/")[4]] = int(stat.read().split()[0])
        except (OSError, ValueError, IndexError):
            pass
    return times


def span_ms(before, after, tid=None):
    """The run time between two samples of thread_ns, of one thread or of all, in ms."""
    tids = [tid] if tid is not None else after.keys()
    return sum(after.get(t, 0) - before.get(t, 0) for t in tids) / 1e6


def main(argv):
    if len(argv) not in (4, 5, 7):
        print(__doc__, file=sys.stderr)
        return 2
    folder, expected, ready = argv[1], int(argv[2]), argv[3]
    timeout_s = float(argv[4]) if len(argv) >= 5 else 60.0
    pid_file, server_pid = (argv[5], argv[6]) if len(argv) == 7 else (None, None)
    libc = ctypes.CDLL(None, use_errno=True)
    fd = libc.inotify_init()
    if fd < 0 or libc.inotify_add_watch(fd, os.fsencode(folder), IN_DELETE) < 0:
        print(f"delete_span: cannot watch {folder}: {os.strerror(ctypes.get_errno())}",
              file=sys.stderr)
        return 1
    open(ready, "w").close()
    first = last = None
    pid = None
    cpu_first = cpu_last = ({}, {})
    deleted = 0
    deadline = time.monotonic() + timeout_s
    while deleted < expected:
        left = deadline - time.monotonic()
        if left <= 0 or not select.select([fd], [], [], left)[0]:
            break
        data = os.read(fd, 1 << 20)
        now = time.monotonic()
        seen = deleted
        offset = 0
        while offset < len(data):
            _, mask, _, length = EVENT_HEADER.unpack_from(data, offset)
            name = data[offset + EVENT_HEADER.size:offset + EVENT_HEADER.size + length]
            offset += EVENT_HEADER.size + length
            if mask & IN_DELETE and b".txt" in name:
                deleted += 1
        if deleted == seen:
            continue
        if pid_file is not None:
            if pid is None:
                with open(pid_file) as f:
                    pid = f.read().strip()
            cpu_now = (thread_ns(pid), thread_ns(server_pid))
            cpu_first = cpu_now if first is None else cpu_first
            cpu_last = cpu_now
        first = now if first is None else first
        last = now
    os.close(fd)
    span = (last - first) * 1000.0 if first is not None else -1.0
    line = f"first_to_last_ms={span:.1f} deleted={deleted}"
    if pid_file is not None:
        process = span_ms(cpu_first[0], cpu_last[0])
        server = span_ms(cpu_first[1], cpu_last[1])
        # The thread that deleted is the busiest one; the rest is whatever else the process did.
        busiest = max((span_ms(cpu_first[0], cpu_last[0], t) for t in cpu_last[0]), default=0)
        line += (f" process_cpu_ms={process:.1f} server_cpu_ms={server:.1f}"
                 f" busiest_thread_cpu_ms={busiest:.1f} threads={len(cpu_last[0])}")
    print(line)
    return 0 if deleted >= expected else 1


if __name__ == "__main__":
    sys.exit(main(sys.argv))
