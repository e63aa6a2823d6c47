#!/usr/bin/env python3
"""Checks a release archive as a Windows user would receive it, independently of the code that
wrote it: the entries, their order and how their names are stored, the program's size, time
stamp and imports (each one present on Windows 2000, as package/win2000_imports.txt lists
them), the PE header's system versions, the read-me's encoding and line ends, the checksum list;
and the setup.

Usage: check.py ARCHIVE.zip TESTED.exe [SETUP.exe]   (TESTED.exe: the program the test suites ran)
"""
import hashlib
import os
import re
import struct
import subprocess
import sys
import zipfile

EXE, README, SUMS = "Wispfold.exe", "読んでください.txt", "SHA256SUMS"
MAX_EXE_BYTES = 256 * 1024
MAX_SETUP_BYTES = 256 * 1024
SYSTEM_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "advapi32.dll", "shell32.dll",
               "ole32.dll", "oleaut32.dll", "comdlg32.dll", "comctl32.dll", "shlwapi.dll",
               "version.dll", "msvcrt.dll"}


def pe_time_stamp(exe):
    (pe_offset,) = struct.unpack_from("<I", exe, 0x3C)
    if exe[:2] != b"MZ" or exe[pe_offset:pe_offset + 4] != b"PE\0\0":
        raise ValueError("not a PE program")
    return struct.unpack_from("<I", exe, pe_offset + 8)[0]


def imports(path):
    """The (dll, function) pairs the program imports, dll names in lower case; a function
    imported by ordinal reads as "#ordinal"."""
    dump = subprocess.run(["i686-w64-mingw32-objdump", "-p", path], check=True,
                          capture_output=True, text=True).stdout
    found, dll = set(), None
    for line in dump.splitlines():
        if m := re.match(r"\s*DLL Name:\s*(\S+)", line):
            dll = m.group(1).lower()
        elif dll and (m := re.match(r"\t[0-9a-f]+\t\s*(\d+)(?:\s+(\S+))?\s*$", line)):
            found.add((dll, m.group(2) or f"#{m.group(1)}"))
        elif not line.strip():
            continue
        elif not line.startswith("\t"):
            dll = None
    return found


# The oldest system the program supports: Windows 2000, NT 5.0.
OLDEST_WINDOWS = (5, 0)
RUNTIME_MINIMUM = {"vc6": (5, 0), "vc7": (5, 1)}
IMPORTS_LIST = os.path.join(os.path.dirname(os.path.abspath(__file__)), "win2000_imports.txt")


def known_minimums():
    """(dll, function) -> the oldest Windows (major, minor) that has it, from the kept list."""
    minimums = {}
    with open(IMPORTS_LIST, encoding="ascii") as f:
        for line in f:
            if not line.strip() or line.startswith("#"):
                continue
            dll, function, minimum = line.split()
            version = RUNTIME_MINIMUM.get(minimum) or tuple(int(n) for n in minimum.split("."))
            minimums[(dll.lower(), function)] = version
    return minimums


def pe_versions(exe):
    """The PE header's operating-system and subsystem versions, as (major, minor) each."""
    (pe_offset,) = struct.unpack_from("<I", exe, 0x3C)
    optional = pe_offset + 24
    os_version = struct.unpack_from("<HH", exe, optional + 40)
    subsystem_version = struct.unpack_from("<HH", exe, optional + 48)
    return os_version, subsystem_version


def oldest_windows_faults(exe, exe_path):
    """What would keep the program from starting on Windows 2000: an import the system lacks
    (or one nobody has looked up), or a PE header asking for a newer system."""
    faults = []
    minimums = known_minimums()
    for dll, function in sorted(imports(exe_path)):
        minimum = minimums.get((dll, function))
        if minimum is None:
            faults.append(f"{EXE} imports {dll} {function}, which {IMPORTS_LIST} does not list")
        elif minimum > OLDEST_WINDOWS:
            faults.append(f"{EXE} imports {dll} {function}, missing before Windows "
                          f"{minimum[0]}.{minimum[1]}")
    for what, version in zip(("operating-system", "subsystem"), pe_versions(exe)):
        if version > OLDEST_WINDOWS:
            faults.append(f"{EXE} asks for {what} version {version[0]}.{version[1]}, "
                          "newer than Windows 2000")
    return faults


def check(archive_path, tested_path):
    faults = []
    archive = zipfile.ZipFile(archive_path)
    infos = archive.infolist()
    # zipfile reads a name without the UTF-8 flag as code page 437: these are the stored bytes.
    stored = [(i.filename.encode("cp437") if not i.flag_bits & 0x800 else None) for i in infos]
    expected = [n.encode("cp932") for n in (EXE, README, SUMS)]
    if stored != expected:
        faults.append(f"entries {stored}, expected {expected} without the UTF-8 flag")
    if archive.testzip() is not None:
        faults.append("an entry fails its CRC")
    if len({i.date_time for i in infos}) != 1 or any(i.extra for i in infos):
        faults.append("entries carry differing time stamps or extra fields")
    if any(i.external_attr >> 16 != 0o100644 for i in infos):
        faults.append("permission bits are not rw-r--r--")
    if faults:
        return faults
    files = {name: archive.read(info) for name, info in zip((EXE, README, SUMS), infos)}

    exe = files[EXE]
    with open(tested_path, "rb") as f:
        if f.read() != exe:
            faults.append(f"{EXE} differs from the tested {tested_path}")
    if len(exe) > MAX_EXE_BYTES:
        faults.append(f"{EXE} is {len(exe)} bytes, more than {MAX_EXE_BYTES}")
    if pe_time_stamp(exe) != 0:
        faults.append(f"{EXE} has a link time stamp")
    foreign = {dll for dll, _ in imports(tested_path)} - SYSTEM_DLLS
    if foreign:
        faults.append(f"{EXE} imports {sorted(foreign)}")
    faults += oldest_windows_faults(exe, tested_path)

    readme = files[README]
    try:
        text = readme.decode("cp932")
        if not text.endswith("\r\n") or not text.count("\n") == text.count("\r\n") == text.count("\r"):
            faults.append(f"{README} has line ends other than CRLF")
        if "\ufffd" in text or not text.strip():
            faults.append(f"{README} is empty or has replacement characters")
    except UnicodeDecodeError as e:
        faults.append(f"{README} is not code page 932: {e}")

    expected_sums = b"".join(hashlib.sha256(files[n]).hexdigest().encode() + b"  " +
                             n.encode("cp932") + b"\n" for n in (EXE, README))
    if files[SUMS] != expected_sums:
        faults.append(f"{SUMS} does not list the other two files' digests")
    return faults


def fixed_file_version(exe):
    """The file version of a program's version block (VS_FIXEDFILEINFO), as 1.0.0.1."""
    at = exe.find(struct.pack("<I", 0xFEEF04BD))
    if at < 0:
        return None
    high, low = struct.unpack_from("<II", exe, at + 8)
    return f"{high >> 16}.{high & 0xFFFF}.{low >> 16}.{low & 0xFFFF}"


def check_setup(setup_path, tested_path):
    faults = []
    with open(setup_path, "rb") as f:
        setup = f.read()
    with open(tested_path, "rb") as f:
        program_version = fixed_file_version(f.read())
    if len(setup) > MAX_SETUP_BYTES:
        faults.append(f"the setup is {len(setup)} bytes, more than {MAX_SETUP_BYTES}")
    try:
        pe_time_stamp(setup)
    except (ValueError, struct.error):
        return faults + ["the setup is not a PE program"]
    # Without a manifest that asks for the user's own rights, Vista takes a program named
    # "setup" for an installer and asks for an administrator.
    if b'<requestedExecutionLevel level="asInvoker"' not in setup:
        faults.append("the setup's manifest does not ask to run as the invoking user")
    if fixed_file_version(setup) != program_version:
        faults.append(f"the setup's version {fixed_file_version(setup)} is not the program's "
                      f"{program_version}")
    return faults


def main(argv):
    if len(argv) not in (3, 4):
        sys.exit(__doc__.strip().splitlines()[-1])
    faults = check(argv[1], argv[2])
    if len(argv) == 4:
        faults += check_setup(argv[3], argv[2])
    for fault in faults:
        print(f"check: {fault}", file=sys.stderr)
    sys.exit(1 if faults else 0)


if __name__ == "__main__":
    main(sys.argv)
