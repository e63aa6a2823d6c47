#!/usr/bin/env python3
"""Uses Wispfold's setup as a user would, on Wine's shell desktop: silent installs (refused on
Windows 7), a logon, upgrades (keeping the Startup choice; over Wispfold and its About box), an
uninstall (also over the About box), and the wizard by mouse clicks. Built on taskbar_clicks.py.

Each run is one scenario on a desktop of its own; at the end every program it started is ended
and everything the setup or the scenario wrote is removed, also when a check failed half-way.

Usage: setup_scenarios.py SCENARIO SETUP_EXE WISPFOLD_EXE DESKTOP_KEEPER_EXE WINDOW_PROBE_EXE
Needs DISPLAY and Wine's environment for the test prefix (desktop_run.sh provides both).
Set WISPFOLD_SETUP_SHOT to a .png path to keep a photograph of the wizard's component page.
"""
import collections
import filecmp
import glob
import ntpath
import os
import re
import shutil
import subprocess
import sys
import tempfile

import taskbar_clicks as tc
from taskbar_clicks import Failure, log, on_screen, wait_until

UNINSTALL_KEY = r"HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Uninstall\Wispfold"
PUBLISHER_KEY = r"HKEY_CURRENT_USER\Software\Quenmarsh"
PROGRAM_KEY = PUBLISHER_KEY + r"\Wispfold"
SETTING_KEY = PROGRAM_KEY + r"\AppSeting"
PENDING_KEY = r"HKEY_LOCAL_MACHINE\System\CurrentControlSet\Control\Session Manager"
APP_DEFAULTS = "HKEY_CURRENT_USER\\Software\\Wine\\AppDefaults\\"  # + a program's file name
README = "読んでください.txt"
STARTUP_OPTION = "Windows の起動時に Wispfold を起動する"
# A folder of the user's choice (/D=), with a Japanese name as a user here may well choose.
ELSEWHERE = r"C:\ツール\Wispfold"
WINEBOOT = r"C:\windows\system32\wineboot.exe"
# The state images of a setup's component list.
CLEAR, TICKED = 1, 2
# A time no build can carry: marks the program file an upgrade must replace.
OLD_TIME = 978307200  # 2001-01-01

Window = collections.namedtuple("Window", "depth kind text visible check left top right bottom")


def release_fact(function):
    """What the program, the package and the setup share: a function of script/release-env."""
    env = os.path.join(os.path.dirname(os.path.abspath(__file__)), "../../script/release-env")
    return subprocess.run(["bash", "-c", f'source "{env}" && {function}'], check=True,
                          capture_output=True, text=True).stdout.strip()


def linux_path(path):
    """The file behind a Windows path on the prefix's drive C:."""
    if not path.lower().startswith("c:\\"):
        raise Failure(f"{path} is not on drive C:")
    return os.path.join(os.environ["WINEPREFIX"], "drive_c", *path[3:].split("\\"))


def default_folder():
    user = os.path.basename(tc.profile_folder())
    return ntpath.join("C:\\users", user, r"AppData\Local\Wispfold")


def menu_folder():
    return os.path.join(tc.profile_folder(), "AppData", "Roaming", "Microsoft", "Windows",
                        "Start Menu", "Programs", "Wispfold")


def startup_link():
    return os.path.join(os.path.dirname(menu_folder()), "StartUp", "Wispfold.lnk")


def shortcut_target(path):
    """The local path a shell link (.lnk) points at, from its link information."""
    with open(path, "rb") as f:
        data = f.read()
    if data[:4] != b"L\0\0\0":
        raise Failure(f"{path} is not a shell link")
    flags = int.from_bytes(data[0x14:0x18], "little")
    at = 0x4C
    if flags & 1:  # a list of item identifiers comes first
        at += 2 + int.from_bytes(data[at:at + 2], "little")
    if not flags & 2:
        raise Failure(f"{path} has no link information")

    def text(offset):  # in the system's ANSI code page
        start = at + int.from_bytes(data[at + offset:at + offset + 4], "little")
        return data[start:data.index(b"\0", start)].decode("cp932")
    return text(0x10) + text(0x18)  # the local base path and the common suffix


def read_key(key):
    """A registry key's values (name -> text, or number for a DWORD), or None when it is missing."""
    with tempfile.TemporaryDirectory() as folder:
        path = os.path.join(folder, "key.reg")
        tc.run_wine(["regedit", "/E", tc.windows_path(path), key])
        if not os.path.exists(path):
            return None
        with open(path, encoding="utf-16") as f:
            lines = f.read().splitlines()
    values, inside = {}, False
    unescape = lambda t: re.sub(r"\\(.)", r"\1", t)
    for line in lines:
        if line.startswith("["):
            inside = line == f"[{key}]"
            continue
        value = re.fullmatch(r'"((?:[^"\\]|\\.)*)"=(?:"((?:[^"\\]|\\.)*)"|dword:([0-9a-f]{8}))',
                             line)
        if inside and value:
            values[unescape(value[1])] = int(value[3], 16) if value[3] else unescape(value[2])
    return values


def write_setting(start_app_do, *more):
    tc.import_registry([f"[{SETTING_KEY}]", f'"StartAppDo"=dword:{start_app_do:08x}', *more])


def image_file(pid):
    """The program file a process maps as its image (the first .exe of its memory map)."""
    with open(f"/proc/{pid}/maps") as f:
        for line in f:
            fields = line.split(None, 5)
            if len(fields) == 6 and fields[5].strip().lower().endswith(".exe"):
                return os.path.realpath(fields[5].strip())
    return None


def seed_cookies():
    """A few cookie files (name -> content), for checks that they are left alone. (Not
    index.dat: the browser control's own cache index, which Wine rewrites.)"""
    cookies = {name: f"{name} {os.getpid()}\n".encode() for name in
               ("x.txt", "user@example[1].txt", "user@example[2].txt")}
    for name, data in cookies.items():
        with open(os.path.join(tc.cookie_folder(), name), "wb") as f:
            f.write(data)
    return cookies


def cookies_as_seeded(cookies):
    def content(name):
        path = os.path.join(tc.cookie_folder(), name)
        return open(path, "rb").read() if os.path.exists(path) else None
    return all(content(name) == data for name, data in cookies.items())


class SetupDesktop(tc.Desktop):
    """A shell desktop for one scenario of the setup; put_back() removes what any install,
    the program or the scenario may have written."""

    def __init__(self, setup, program, keeper, probe, icon):
        super().__init__(keeper, icon)
        self.setup, self.program, self.probe = setup, program, probe
        self.temporary = set()  # what was in the temporary folder before

    def prepare(self):
        self.temporary = set(self.setups_temporary())
        self.put_back()
        os.makedirs(tc.cookie_folder(), exist_ok=True)

    @staticmethod
    def setups_temporary():
        """What setups keep in the temporary folder: their plug-ins while they run, and the
        copy an uninstaller runs from, which it leaves for the system to remove at its next
        start."""
        return glob.glob(os.path.join(tc.profile_folder(), "Temp", "*ns*.tmp"))

    def put_back(self):
        for folder in (linux_path(default_folder()), os.path.dirname(linux_path(ELSEWHERE)),
                       menu_folder()):
            shutil.rmtree(folder, ignore_errors=True)
        if os.path.lexists(startup_link()):
            os.unlink(startup_link())
        lines = [f"[-{UNINSTALL_KEY}]", f"[-{PUBLISHER_KEY}]",
                 f"[-{APP_DEFAULTS}{os.path.basename(self.setup)}]"]
        # Gone now, the uninstaller's copy, and so is its request to remove it at the next start.
        made = set(self.setups_temporary()) - self.temporary
        for path in made:
            shutil.rmtree(path, ignore_errors=True)
        if any(os.path.basename(path).startswith("~nsu") for path in made):
            lines += [f"[{PENDING_KEY}]", '"PendingFileRenameOperations"=-']
        tc.import_registry(lines)
        if os.path.isdir(tc.cookie_folder()):
            tc.empty_folder(tc.cookie_folder())

    def install(self, *switches):
        self.run("the silent setup", [tc.windows_path(self.setup), "/S", *switches],
                 lasting=("wispfold.exe",))

    def programs(self):
        """The pids of every running Wispfold."""
        return [pid for pid, proc in tc.wine_processes().items()
                if tc.program_name(proc) == "wispfold.exe"]

    def wait_running_from(self, folder):
        """Waits until one Wispfold runs, and checks that its image is the one in `folder`."""
        pid = wait_until("one Wispfold running", lambda: (
            lambda pids: len(pids) == 1 and pids[0])(self.programs()), tc.START_TIMEOUT)
        want = os.path.realpath(os.path.join(linux_path(folder), "Wispfold.exe"))
        if image_file(pid) != want:
            raise Failure(f"Wispfold runs from {image_file(pid)}, not from {want}")
        log(f"Wispfold runs from {folder} (pid {pid})")
        return pid

    def windows(self):
        """Every shown window as window_probe sees it, each top-level one before its own."""
        with tempfile.TemporaryDirectory() as folder:
            out = os.path.join(folder, "windows.txt")
            self.run("the window probe", [tc.windows_path(self.probe), tc.windows_path(out)],
                     quiet=True)
            with open(out, encoding="utf-8") as f:
                return [Window(int(fields[0]), fields[1], fields[2], *map(int, fields[3:]))
                        for fields in (line.split("\t") for line in f.read().splitlines())]

    def open_about_box(self):
        caption = release_fact("wf_main_caption")
        self.run("the About entry", [tc.windows_path(self.probe), "/about", caption], quiet=True)
        wait_until("the About box", lambda: any(w.depth == 0 and "Wispfold" in w.text and
                   w.text != caption for w in self.windows()), tc.START_TIMEOUT)

    def wizard(self):
        """The setup's window as window_probe sees it (itself first), or None."""
        found = current = None
        for window in self.windows():
            if window.depth == 0:
                current = [window] if found is None and "セットアップ" in window.text else None
                found = found or current
            elif current is not None and window.visible:
                current.append(window)
        return found


# --- the scenarios ----------------------------------------------------------------------------

def silent_install(switches, chosen, startup):
    def scenario(s):
        s.install(*switches)
        folder = chosen or default_folder()
        root, exe = linux_path(folder), folder + r"\Wispfold.exe"
        wrong = []
        names = sorted(os.listdir(root)) if os.path.isdir(root) else []
        if names != sorted(["Wispfold.exe", README, "uninstall.exe"]):
            wrong.append(f"{folder} holds {names}")
        elif not filecmp.cmp(os.path.join(root, "Wispfold.exe"), s.program, shallow=False):
            wrong.append("the installed Wispfold.exe is not the release program")
        want = {"Wispfold.lnk": exe, README.replace(".txt", ".lnk"): folder + "\\" + README,
                "Wispfold のアンインストール.lnk": folder + r"\uninstall.exe"}
        links = {name: shortcut_target(os.path.join(menu_folder(), name)) for name in
                 (os.listdir(menu_folder()) if os.path.isdir(menu_folder()) else [])}
        if {k: v.lower() for k, v in links.items()} != {k: v.lower() for k, v in want.items()}:
            wrong.append(f"the Start menu's folder holds {links}, not {want}")
        target = shortcut_target(startup_link()) if os.path.exists(startup_link()) else None
        if (target or "").lower() != (exe.lower() if startup else ""):
            wrong.append(f"the Startup shortcut points at {target}")
        values = read_key(UNINSTALL_KEY) or {}
        for name, value in {"DisplayName": "Wispfold",
                            "DisplayVersion": release_fact("wf_release_version"),
                            "Publisher": "Quenmarsh", "InstallLocation": folder,
                            "UninstallString": f'"{folder}\\uninstall.exe"',
                            "QuietUninstallString": f'"{folder}\\uninstall.exe" /S',
                            "NoModify": 1, "NoRepair": 1}.items():
            if values.get(name) != value:
                wrong.append(f"{name} is {values.get(name)!r}, not {value!r}")
        if values.get("DisplayIcon") not in (exe, exe + ",0"):
            wrong.append(f"DisplayIcon is {values.get('DisplayIcon')!r}")
        kib = sum(os.path.getsize(os.path.join(root, name)) for name in names) / 1024
        size = values.get("EstimatedSize")
        if not isinstance(size, int) or abs(size - kib) > 4:
            wrong.append(f"EstimatedSize is {size!r} (KiB), the files take {kib:.0f} KiB")
        if s.programs():
            wrong.append("a silent install started Wispfold")
        if wrong:
            raise Failure("; ".join(wrong))
    return scenario


def logon(start_app_do):
    def scenario(s):
        s.install()
        write_setting(start_app_do)
        cookies = seed_cookies()
        if s.programs():
            raise Failure("Wispfold runs before the logon")
        # What Wine runs as a session starts: the Run keys and the Startup folder.
        s.run("the session's start", [WINEBOOT], lasting=("wispfold.exe",))
        s.wait_running_from(default_folder())
        s.wait_icon()
        if start_app_do:
            wait_until("the watch deleting x.txt",
                       lambda: "x.txt" not in os.listdir(tc.cookie_folder()))
            tc.holds_for("the dialog hidden", on_screen(
                lambda shot: tc.dialog_hidden(shot, s.taskbar)), 1)
        else:
            wait_until("the dialog shown", on_screen(tc.dialog_visible))
            tc.holds_for("the cookies kept (no watch)", lambda: cookies_as_seeded(cookies), 3)
    return scenario


def refused_on_windows_7(s):
    tc.import_registry([f"[{APP_DEFAULTS}{os.path.basename(s.setup)}]", '"Version"="win7"'])
    # Straight from Wine, for the exit code: a silent refusal shows no window.
    code = subprocess.run(["wine", tc.windows_path(s.setup), "/S"], stdin=subprocess.DEVNULL,
                          stdout=subprocess.DEVNULL, timeout=tc.START_TIMEOUT).returncode
    wrote = [p for p in [linux_path(default_folder()), menu_folder(), startup_link(), *(
        set(s.setups_temporary()) - s.temporary)] if os.path.lexists(p)]
    if code != 3 or wrote or read_key(UNINSTALL_KEY) is not None:
        raise Failure(f"code {code}; wrote {wrote}; Uninstall key {read_key(UNINSTALL_KEY)}")


def kept_startup(chosen):
    """Silent upgrades: without a switch the shortcut stays as the first install left it."""
    def scenario(s):
        first, other = ([], ["/NOSTARTUP"]) if chosen else (["/NOSTARTUP"], ["/STARTUP"])
        for switches, want in ((first, chosen), ([], chosen), (other, not chosen)):
            s.install(*switches)
            exe = shortcut_target(startup_link()) if os.path.exists(startup_link()) else ""
            if exe.lower() != (default_folder().lower() + r"\wispfold.exe" if want else ""):
                raise Failure(f"after the setup {switches} the Startup shortcut is {exe!r}")
    return scenario


def upgrade(s, about_box=False):
    s.install()
    write_setting(1)  # hidden in the notification area with its watch on, as after a logon
    exe = default_folder() + r"\Wispfold.exe"
    os.utime(linux_path(exe), (OLD_TIME, OLD_TIME))
    old = s.start("the installed Wispfold", [exe])
    s.wait_icon()
    if about_box:
        s.open_about_box()
    s.install()
    if tc.alive(old):
        raise Failure("the setup ended with the old Wispfold still running")
    if os.stat(linux_path(exe)).st_mtime == OLD_TIME or not filecmp.cmp(
            linux_path(exe), s.program, shallow=False):
        raise Failure("the setup did not replace the installed program")
    s.wait_running_from(default_folder())


def uninstall(other_program, about_box=False):
    def scenario(s):
        s.install()
        write_setting(0, *([f"[{PUBLISHER_KEY}\\Another]", '"Kept"=dword:00000001']
                           if other_program else []))
        cookies = seed_cookies()
        program = s.start("the installed Wispfold", [default_folder() + r"\Wispfold.exe"])
        wait_until("the dialog shown", on_screen(tc.dialog_visible), tc.START_TIMEOUT)
        if about_box:
            s.open_about_box()
        quiet = (read_key(UNINSTALL_KEY) or {}).get("QuietUninstallString", "")
        command = re.fullmatch(r'"([^"]+)" (/S)', quiet)
        if not command:
            raise Failure(f"QuietUninstallString is {quiet!r}")
        s.run("the silent uninstaller", [command[1], command[2]])
        wait_until("the end of Wispfold", lambda: not tc.alive(program))
        left = []

        def all_gone():
            left[:] = [what for what, there in [
                ("the program's folder", os.path.exists(linux_path(default_folder()))),
                ("the Start menu's folder", os.path.exists(menu_folder())),
                ("the Startup shortcut", os.path.lexists(startup_link())),
                ("the Uninstall key", read_key(UNINSTALL_KEY) is not None),
                ("the program's key", read_key(PROGRAM_KEY) is not None),
                ("the publisher's key", not other_program and read_key(PUBLISHER_KEY) is not None)]
                if there]
            return not left
        # The uninstaller has ended by now; the deadline only covers a slow end of its last step.
        try:
            wait_until("nothing left of the install", all_gone)
        except Failure:
            raise Failure("left after the uninstall: " + ", ".join(left)) from None
        if other_program and read_key(PUBLISHER_KEY + r"\Another") != {"Kept": 1}:
            raise Failure("the uninstaller removed another program's key of the same publisher")
        if not cookies_as_seeded(cookies):
            raise Failure("the uninstall changed the seeded cookies, now "
                          f"{os.listdir(tc.cookie_folder())}")
    return scenario


def title(page):
    """A wizard page's first Japanese text: its title."""
    return next((w.text for w in page or [] if w.kind == "Static" and
                 re.search("[\u3040-\u30ff\u4e00-\u9fff]", w.text)), None)


def centre(w):
    return ((w.left + w.right) // 2, (w.top + w.bottom) // 2)


def wizard_by_clicks(s):
    s.start("the setup's wizard", [tc.windows_path(s.setup)])
    option_cleared = False
    for _ in range(10):  # pages, and the click on the option
        page = wait_until("a page of the setup's wizard with a Japanese title",
                          lambda: (lambda page: title(page) and page)(s.wizard()))
        shown = title(page)
        if any(w.kind == "msctls_progress32" for w in page):
            wait_until("the end of the installation", lambda: title(s.wizard()) not in (
                None, shown), tc.START_TIMEOUT)
            continue
        option = next((w for w in page if w.kind == "TreeItem" and w.text == STARTUP_OPTION), None)
        if option and not option_cleared:
            if option.check != TICKED:
                raise Failure(f"\"{STARTUP_OPTION}\" is not ticked at first (state {option.check})")
            target = os.environ.get("WISPFOLD_SETUP_SHOT")
            if target:
                shot = wait_until("the option drawn", on_screen(lambda shot: shot if sum(
                    shot.at(x, y)[0] < 96 for x in range(option.left, option.right)
                    for y in range(option.top, option.bottom)) > 30 else None))
                shot.save(target, page[0].left, page[0].top, page[0].right, page[0].bottom)
                log(f"photograph of the wizard saved to {target}")
            # The check box sits just left of the item's text.
            tc.click_at((option.left - 9, (option.top + option.bottom) // 2))
            wait_until("the option cleared by the click", lambda: any(
                w.text == STARTUP_OPTION and w.check == CLEAR for w in s.wizard() or []))
            option_cleared = True
            continue
        forward = next((w for w in page if w.kind == "Button" and
                        w.text.startswith(("次へ", "インストール", "完了"))), None)
        if forward is None:
            raise Failure(f"no 次へ, インストール or 完了 on the page {shown!r}")
        edit = next((w for w in page if w.kind == "Edit"), None)
        if edit and edit.text != default_folder():
            raise Failure(f"the wizard offers the folder {edit.text}, not {default_folder()}")
        log(f"page {shown!r}: {forward.text}")
        if forward.text.startswith("完了"):
            run = [w for w in page if w.check >= 0 and "Wispfold" in w.text]
            if [w.check for w in run] != [1]:
                raise Failure(f"the finish page offers no ticked start of Wispfold: {run}")
            tc.click_at(centre(forward))
            break
        tc.click_at(centre(forward))
        wait_until(f"the page after {shown!r}", lambda: title(s.wizard()) not in (None, shown))
    else:
        raise Failure("the wizard did not reach its finish page")
    if not option_cleared:
        raise Failure(f"no page offered \"{STARTUP_OPTION}\"")
    s.wait_running_from(default_folder())
    wait_until("the dialog shown", on_screen(tc.dialog_visible), tc.START_TIMEOUT)
    s.wait_icon()
    if os.path.lexists(startup_link()) or not os.path.exists(
            os.path.join(menu_folder(), "Wispfold.lnk")):
        raise Failure("the option off made a Startup shortcut, or no Start menu was made")


SCENARIOS = {
    "SilentInstall": silent_install([], None, True),
    "SilentInstallElsewhereWithoutStartup": silent_install(
        ["/NOSTARTUP", "/D=" + ELSEWHERE], ELSEWHERE, False),
    "LogonStartsTheWatchHidden": logon(1),
    "LogonShowsTheDialogWithTheWatchOff": logon(0),
    "RefusedOnWindows7": refused_on_windows_7,
    "UpgradeKeepsTheStartupShortcut": kept_startup(True),
    "UpgradeKeepsTheStartupShortcutOut": kept_startup(False),
    "UpgradeOverARunningWispfold": upgrade,
    "UpgradeOverTheAboutBox": lambda s: upgrade(s, True),
    "UninstallWhileRunning": uninstall(False),
    "UninstallOverTheAboutBox": uninstall(False, True),
    "UninstallKeepsThePublishersOtherKeys": uninstall(True),
    "WizardByMouseClicks": wizard_by_clicks,
}


if __name__ == "__main__":
    sys.exit(tc.play(sys.argv, __doc__, SCENARIOS, SetupDesktop, 5))
