#!/usr/bin/env python3
"""Times a purge from Linux: the span from the first to the last deletion of a ".txt" name in
one folder, as inotify reports them.

    delete_span.py FOLDER COUNT READY_FILE [TIMEOUT_S]

Creates READY_FILE once the watch is in place, then waits until COUNT such names were deleted
(or TIMEOUT_S passed, 60 by default) and prints "first_to_last_ms=<ms> deleted=<n>".
Exit code 0 when COUNT deletions were seen, 1 otherwise, 2 on a bad command line."""
import ctypes
import os
import select
import struct
import sys
import time

IN_DELETE = 0x00000200
EVENT_HEADER = struct.Struct("iIII")


def main(argv):
    if len(argv) not in (4, 5):
        print(__doc__, file=sys.stderr)
        return 2
    folder, expected, ready = argv[1], int(argv[2]), argv[3]
    timeout_s = float(argv[4]) if len(argv) == 5 else 60.0
    libc = ctypes.CDLL(None, use_errno=True)
    fd = libc.inotify_init()
    if fd < 0 or libc.inotify_add_watch(fd, os.fsencode(folder), IN_DELETE) < 0:
        print(f"delete_span: cannot watch {folder}: {os.strerror(ctypes.get_errno())}",
              file=sys.stderr)
        return 1
    open(ready, "w").close()
    first = last = None
    deleted = 0
    deadline = time.monotonic() + timeout_s
    while deleted < expected:
        left = deadline - time.monotonic()
        if left <= 0 or not select.select([fd], [], [], left)[0]:
            break
        data = os.read(fd, 1 << 20)
        now = time.monotonic()
        offset = 0
        while offset < len(data):
            _, mask, _, length = EVENT_HEADER.unpack_from(data, offset)
            name = data[offset + EVENT_HEADER.size:offset + EVENT_HEADER.size + length]
            offset += EVENT_HEADER.size + length
            if mask & IN_DELETE and b".txt" in name:
                deleted += 1
                first = now if first is None else first
                last = now
    os.close(fd)
    span = (last - first) * 1000.0 if first is not None else -1.0
    print(f"first_to_last_ms={span:.1f} deleted={deleted}")
    return 0 if deleted >= expected else 1


if __name__ == "__main__":
    sys.exit(main(sys.argv))
