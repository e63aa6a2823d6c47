#!/usr/bin/env python3
"""Checks a release archive as a Windows user would receive it, independently of the code that
wrote it: the entries, their order and how their names are stored, the program's size, time
stamp and imports, the read-me's encoding and line ends, and the checksum list; and the setup.

Usage: check.py ARCHIVE.zip TESTED.exe [SETUP.exe]   (TESTED.exe: the program the test suites ran)
"""
import hashlib
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


def imported_dlls(path):
    dump = subprocess.run(["i686-w64-mingw32-objdump", "-p", path], check=True,
                          capture_output=True, text=True).stdout
    return {line.split(":", 1)[1].strip().lower() for line in dump.splitlines()
            if line.strip().startswith("DLL Name:")}


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
    foreign = imported_dlls(tested_path) - SYSTEM_DLLS
    if foreign:
        faults.append(f"{EXE} imports {sorted(foreign)}")

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
