#!/usr/bin/env python3
"""Plays a user at a real taskbar: Wine's shell desktop, real X mouse clicks, judged by the screen.

Each run is one scenario from start to end: its own shell desktop, its own Wispfold, and
everything it started or touched (processes, profile, version answer, cookie folder) put back
afterwards, also when a check failed half-way.

Usage: taskbar_clicks.py SCENARIO WISPFOLD_EXE DESKTOP_KEEPER_EXE
Needs DISPLAY and Wine's environment for the test prefix (desktop_run.sh provides both).
Set WISPFOLD_TRAY_MENU_SHOT to a .png path to keep a photograph of the open tray menu.
"""
import collections
import itertools
import ntpath
import os
import pwd
import re
import shutil
import signal
import struct
import subprocess
import sys
import tempfile
import time

DESKTOP = "/desktop=shell,1024x768"
WIDTH, HEIGHT = 1024, 768

# Colours the program and Wine's own look draw (8-bit RGB).
DIALOG_BACKGROUND = (251, 225, 183)
MENU_FRAME = (166, 166, 166)
MENU_HIGHLIGHT = (48, 150, 250)
# Bare background of the dialog at the top left, away from every control.
DIALOG_POINTS = [(5, 30), (480, 30), (250, 105), (5, 250), (487, 250)]
DIALOG_AREA = (0, 20, 492, 120)  # left, top, right, bottom: the question and its two buttons
# The empty desktop: far from the dialog, the taskbar and where the menu opens.
EMPTY_SPOT = (600, 400)

# Deadlines are generous: the machine may be busy, and Wine's first start in a prefix is slow.
START_TIMEOUT = 60
STEP_TIMEOUT = 20
POLL = 0.1

T0 = time.monotonic()


def log(text):
    print(f"[{time.monotonic() - T0:6.2f}s] {text}", flush=True)


class Failure(Exception):
    pass


def wait_until(what, probe, timeout=STEP_TIMEOUT):
    """Polls until probe() returns something true; returns it, or fails naming `what`."""
    deadline = time.monotonic() + timeout
    while True:
        value = probe()
        if value:
            return value
        if time.monotonic() > deadline:
            raise Failure(f"not seen within {timeout} s: {what}")
        time.sleep(POLL)


def holds_for(what, probe, seconds):
    """Fails as soon as probe() is false at any poll during `seconds`."""
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        if not probe():
            raise Failure(f"stopped holding: {what}")
        time.sleep(POLL)


# --- the screen -------------------------------------------------------------------------------

class Shot:
    """One photograph of the whole X screen."""

    def __init__(self, ppm):
        magic, size, _maxval, self.pixels = ppm.split(b"\n", 3)
        if magic != b"P6":
            raise Failure("the screen grab is not a binary PPM")
        self.width, self.height = map(int, size.split())

    def at(self, x, y):
        i = (y * self.width + x) * 3
        return tuple(self.pixels[i:i + 3])

    def save(self, path, left=0, top=0, right=WIDTH, bottom=HEIGHT):
        ppm = b"P6\n%d %d\n255\n" % (self.width, self.height) + self.pixels
        subprocess.run(["convert", "ppm:-", "-crop", f"{right - left}x{bottom - top}+{left}+{top}",
                        "+repage", path], input=ppm, check=True)


def grab():
    """The screen now, or None while it cannot be read."""
    out = subprocess.run(["import", "-display", os.environ["DISPLAY"], "-window", "root",
                          "-depth", "8", "ppm:-"], stdout=subprocess.PIPE,
                         stderr=subprocess.DEVNULL)
    if out.returncode != 0 or not out.stdout.startswith(b"P6"):
        return None
    return Shot(out.stdout)


def on_screen(check):
    """A probe for wait_until: check(shot) on a new photograph of the screen at every poll."""
    return lambda: (lambda shot: shot is not None and check(shot))(grab())


class Taskbar:
    """Where the shell desktop put its taskbar, and the two colours around it."""

    def __init__(self, top, colour, desktop):
        self.top, self.colour, self.desktop = top, colour, desktop


def find_taskbar(shot):
    """The taskbar: a band of one colour along the bottom (right of the task buttons), a
    "スタート" button at its left end, and a desktop of another colour above it."""
    if shot is None:
        return None
    bar = shot.at(WIDTH // 2, HEIGHT - 2)
    if any(shot.at(x, HEIGHT - 2) != bar for x in range(300, 900, 25)):
        return None
    top = HEIGHT - 1
    while top > HEIGHT - 60 and shot.at(WIDTH // 2, top - 1) == bar:
        top -= 1
    if not 16 <= HEIGHT - top <= 40:
        return None
    desktop = shot.at(EMPTY_SPOT[0], EMPTY_SPOT[1])
    if desktop == bar or shot.at(WIDTH // 2, top - 40) != desktop:
        return None
    middle = (top + HEIGHT) // 2
    if sum(shot.at(x, middle) != bar for x in range(0, 70)) < 10:
        return None
    return Taskbar(top, bar, desktop)


def load_icon_images(path):
    """The ways the notification area may draw the program's icon, as 16 x 16 rows of
    (r, g, b, alpha): the .ico's 16 x 16 image, and its 32 x 32 one (what LoadIcon gives)
    shrunk to half by keeping one pixel of every two by two, for each of the four choices."""
    with open(path, "rb") as f:
        data = f.read()
    images = {}
    for n in range(struct.unpack_from("<H", data, 4)[0]):
        w, h, _, _, _, bits, _, offset = struct.unpack_from("<BBBBHHII", data, 6 + 16 * n)
        if w == h and bits == 32:
            header = struct.unpack_from("<I", data, offset)[0]
            rows = []
            for row in range(w):  # stored bottom-up, BGRA
                start = offset + header + (w - 1 - row) * w * 4
                rows.append([(data[i + 2], data[i + 1], data[i], data[i + 3])
                             for i in range(start, start + w * 4, 4)])
            images[w] = rows
    if 16 not in images or 32 not in images:
        raise Failure(f"{path} lacks a 16 x 16 or a 32 x 32 32-bit image")
    shrunk = [[[images[32][2 * y + dy][2 * x + dx] for x in range(16)] for y in range(16)]
              for dy in (0, 1) for dx in (0, 1)]
    return [images[16]] + shrunk


def find_icon(shot, taskbar, images):
    """Top-left corner of the program's icon in the notification area (the right end of the
    taskbar), drawn over the taskbar's colour; None when it is not there."""
    if shot is None:
        return None
    bar = taskbar.colour
    zone = [x for y in range(taskbar.top, HEIGHT) for x in range(WIDTH - 160, WIDTH)
            if shot.at(x, y) != bar]
    if len(zone) < 50:
        return None
    for icon in images:
        # What each icon pixel looks like over the taskbar.
        want = [[tuple((c * px[3] + b * (255 - px[3])) // 255 for c, b in zip(px[:3], bar))
                 for px in row] for row in icon]
        opaque = [(x, y) for y in range(16) for x in range(16) if icon[y][x][3] >= 128]
        for top in range(taskbar.top, HEIGHT - 15):
            for left in range(max(min(zone) - 16, WIDTH - 160), min(min(zone) + 2, WIDTH - 15)):
                miss = 0
                for x, y in opaque:
                    got, exp = shot.at(left + x, top + y), want[y][x]
                    if max(abs(g - e) for g, e in zip(got, exp)) > 24:
                        miss += 1
                        if miss > len(opaque) // 10:
                            break
                else:
                    return (left, top)
    return None


def tray_is_empty(shot, taskbar):
    """Nothing but the taskbar's colour in the notification area (the taskbar still shown)."""
    return find_taskbar(shot) is not None and all(
        shot.at(x, y) == taskbar.colour
        for y in range(taskbar.top + 2, HEIGHT - 2) for x in range(WIDTH - 120, WIDTH - 2))


def dialog_visible(shot):
    return shot is not None and all(shot.at(x, y) == DIALOG_BACKGROUND for x, y in DIALOG_POINTS)


def dialog_hidden(shot, taskbar):
    return shot is not None and all(shot.at(x, y) == taskbar.desktop for x, y in DIALOG_POINTS)


def find_yes_button(shot):
    """Centre of "はい": the green button of the dialog's question."""
    left, top, right, bottom = DIALOG_AREA
    points = [(x, y) for y in range(top, bottom) for x in range(left, right)
              if (lambda r, g, b: g - r >= 20 and g - b >= 40)(*shot.at(x, y))]
    if len(points) < 500:
        return None
    xs, ys = [p[0] for p in points], [p[1] for p in points]
    return ((min(xs) + max(xs)) // 2, (min(ys) + max(ys)) // 2)


class Menu:
    """The tray menu on the screen: its frame and its two items (開く, 終了)."""

    ITEMS = 2

    def __init__(self, left, top, right, bottom):
        self.left, self.top, self.right, self.bottom = left, top, right, bottom

    def item_band(self, n):
        height = (self.bottom - self.top - 1) / self.ITEMS
        return (int(self.top + 1 + n * height), int(self.top + 1 + (n + 1) * height))

    def item_centre(self, n):
        first, last = self.item_band(n)
        return ((self.left + self.right) // 2, (first + last) // 2)

    def ink(self, shot, n):
        """Pixels of text or highlight in item n."""
        first, last = self.item_band(n)
        return sum(1 for y in range(first, last) for x in range(self.left + 1, self.right)
                   if shot.at(x, y) != (255, 255, 255))

    def highlighted(self, shot, n):
        first, last = self.item_band(n)
        return shot.at(self.left + 3, (first + last) // 2) == MENU_HIGHLIGHT

    def __str__(self):
        return f"({self.left}, {self.top})-({self.right}, {self.bottom})"


def find_menu(shot, taskbar):
    """The menu's frame in the lower right quarter above the taskbar, or None."""
    if shot is None:
        return None
    frame = [(x, y) for y in range(HEIGHT // 2, taskbar.top) for x in range(WIDTH // 2, WIDTH)
             if shot.at(x, y) == MENU_FRAME]
    if len(frame) < 100:
        return None
    xs, ys = [p[0] for p in frame], [p[1] for p in frame]
    menu = Menu(min(xs), min(ys), max(xs), max(ys))
    width, height = menu.right - menu.left, menu.bottom - menu.top
    # A whole frame: every pixel of its four sides, nothing else of that colour.
    if width < 30 or height < 30 or len(frame) != 2 * (width + height):
        return None
    return menu


def bare_above_tray(shot, taskbar, menu=None):
    """Nothing but the desktop in the lower right quarter above the taskbar, apart from the
    menu when one is given: no menu, no tip of the icon."""
    return all(shot.at(x, y) == taskbar.desktop
               for y in range(HEIGHT // 2, taskbar.top) for x in range(WIDTH // 2, WIDTH)
               if menu is None or not (menu.left <= x <= menu.right and
                                       menu.top <= y <= menu.bottom))


def menu_beside(menu, icon_at):
    """The menu touches the taskbar right above the icon (within a few pixels)."""
    x, y = icon_at[0] + 8, icon_at[1] + 8
    dx = max(menu.left - x, 0, x - menu.right)
    dy = max(menu.top - y, 0, y - menu.bottom)
    return dx <= 24 and dy <= 24


# --- the X mouse ------------------------------------------------------------------------------

def click_at(point):
    # A short rest between the move and the press: Wine reads the pointer's motion first.
    subprocess.run(["xdotool", "mousemove", str(point[0]), str(point[1])], check=True)
    time.sleep(0.2)
    subprocess.run(["xdotool", "click", "1"], check=True)


def move_to(point):
    subprocess.run(["xdotool", "mousemove", str(point[0]), str(point[1])], check=True)


# --- Wine processes ---------------------------------------------------------------------------

def wine_processes():
    """Linux pid -> Program of every live process of this Wine prefix."""
    prefix = os.path.realpath(os.environ["WINEPREFIX"])
    found = {}
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        try:
            with open(f"/proc/{entry}/environ", "rb") as f:
                env = f.read().split(b"\0")
            with open(f"/proc/{entry}/cmdline", "rb") as f:
                # Wine writes the program's words over its own, and pads with NULs.
                argv = [w.decode(errors="replace") for w in f.read().split(b"\0") if w]
            with open(f"/proc/{entry}/comm", "rb") as f:
                comm = f.read().rstrip(b"\n")
            with open(f"/proc/{entry}/stat", "rb") as f:
                state = f.read().rsplit(b")", 1)[1].split()[0]
        except OSError:
            continue
        if state == b"Z":
            continue
        for var in env:
            if var.startswith(b"WINEPREFIX="):
                if os.path.realpath(var[11:].decode(errors="replace")) == prefix:
                    found[int(entry)] = program(argv, comm)
                break
    return found


def alive(pid):
    return pid in wine_processes()


def windows_path(path):
    # Wine maps the Linux root to drive Z:.
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def run_wine(args, timeout=120):
    # No pipe to the test runner: Wine's services, started on demand, would inherit it.
    subprocess.run(["wine"] + args, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL, timeout=timeout, check=False)


def import_registry(lines):
    with tempfile.NamedTemporaryFile("w", suffix=".reg", delete=False) as f:
        f.write("REGEDIT4\r\n\r\n" + "\r\n".join(lines) + "\r\n")
    try:
        run_wine(["regedit", "/S", windows_path(f.name)])
    finally:
        os.unlink(f.name)


def profile_folder():
    """The Wine user's own folder (C:\\users\\<user>) on the Linux side."""
    user = os.environ.get("USER") or pwd.getpwuid(os.getuid()).pw_name
    return os.path.join(os.environ["WINEPREFIX"], "drive_c", "users", user)


def cookie_folder():
    return os.path.join(profile_folder(), "AppData", "Local", "Microsoft", "Windows", "INetCookies")


def empty_folder(path):
    for name in os.listdir(path):
        full = os.path.join(path, name)
        if os.path.isdir(full) and not os.path.islink(full):
            shutil.rmtree(full)
        else:
            os.unlink(full)


# --- one scenario's world ---------------------------------------------------------------------

Program = collections.namedtuple("Program", "path args")


def program(words, comm):
    """The Windows program a Wine process runs: the first Windows path among its words named as
    Wine named the process (comm, cut to 15 bytes), wherever an emulator or another wrapper puts
    it; its path and the words after it (lower case). Program("", []) for Wine's loader still
    starting, or a launcher whose words name the program it hands over."""
    for i, word in enumerate(words):
        if re.match(r"[A-Za-z]:\\", word) and (
                ntpath.basename(word).encode(errors="replace")[:15].lower() == comm.lower()):
            return Program(word, [w.lower() for w in words[i + 1:]])
    return Program("", [])


def program_name(proc):
    return ntpath.basename(proc.path).lower()


def outside_windows(proc):
    """A Windows program that is not one of Wine's own (those live in C:\\windows)."""
    path = proc.path.lower()
    return path != "" and not path.startswith("c:\\windows\\")


class Desktop:
    """Wine's shell desktop with a keeper on it, for one scenario; at the end every Wine process
    the scenario started is ended, whether it started it itself or through another program, and
    put_back() undoes what it changed, also when a check failed half-way.

    Subclasses fill in prepare() (before the desktop starts), started() (once it is up) and
    put_back()."""

    def __init__(self, keeper_exe, icon_path):
        self.keeper_exe = keeper_exe
        self.icon = load_icon_images(icon_path)
        self.launchers = []  # the `wine explorer ...` commands themselves
        self.owned = {}  # pid -> what, of the Wine processes this session started, in order
        self.before = set()  # the prefix's processes before the session
        self.taskbar = None

    def prepare(self):
        pass

    def started(self):
        pass

    def put_back(self):
        pass

    def __enter__(self):
        try:
            self.before = set(wine_processes())
            self.prepare()
            # Nowhere near the tray, whatever an earlier run left the pointer on.
            move_to(EMPTY_SPOT)
            self._start_desktop()
            self.started()
        except BaseException:
            self.__exit__(*sys.exc_info())
            raise
        return self

    def _launch(self, args):
        launcher = subprocess.Popen(
            ["wine", "explorer", DESKTOP] + args, stdin=subprocess.DEVNULL,
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, start_new_session=True)
        self.launchers.append(launcher)
        return launcher

    def start(self, what, args):
        """Runs `wine explorer <desktop> args...` and returns the pid of the new Wine process
        it was for: the desktop's explorer, or the program named first in args (the explorer
        that hands the program over to the desktop ends by itself)."""
        before = set(wine_processes())
        self._launch(args)

        def ours(proc):
            if args:
                return proc.path.lower() == args[0].lower()
            # The desktop's own explorer: the one with nothing to hand over.
            return program_name(proc) == "explorer.exe" and proc.args == [DESKTOP]

        pid = wait_until(f"the process of {what}", lambda: next(
            (p for p, proc in wine_processes().items() if p not in before and ours(proc)), None),
            START_TIMEOUT)
        self.owned[pid] = what
        log(f"started {what} (pid {pid})")
        return pid

    def run(self, what, args, lasting=(), timeout=START_TIMEOUT, quiet=False):
        """Runs a program on the desktop until it has ended, and with it every program it
        started in turn, except those whose file names `lasting` holds (in lower case)."""
        before = set(wine_processes())
        launcher = self._launch(args)
        # The explorer that hands the program over ends only once the program exists.
        wait_until(f"{what} handed over to the desktop", lambda: launcher.poll() is not None,
                   timeout)

        def busy():
            return [proc for pid, proc in wine_processes().items() if pid not in before and (
                proc.path.lower() == args[0].lower() or
                outside_windows(proc) and program_name(proc) not in lasting)]

        wait_until(f"the end of {what}", lambda: not busy(), timeout)
        if not quiet:
            log(f"ran {what}")

    def _start_desktop(self):
        # The desktop first, on its own, so that it is the desktop's owner.
        self.start("the shell desktop", [])
        self.taskbar = wait_until("the taskbar of the shell desktop", on_screen(find_taskbar),
                                  START_TIMEOUT)
        if find_icon(grab(), self.taskbar, self.icon) is not None:
            raise Failure("the program's icon is in the notification area before the start")
        # Wine closes a desktop a moment after its last program has gone; a windowless process
        # on it keeps the taskbar up after Wispfold ends, so that its end can be seen there.
        self.start("the desktop keeper", [windows_path(self.keeper_exe)])

    def wait_icon(self):
        icon_at = wait_until("the program's icon in the notification area", on_screen(
            lambda shot: find_icon(shot, self.taskbar, self.icon)), START_TIMEOUT)
        log(f"icon at {icon_at}")
        return icon_at

    def __exit__(self, *exc):
        failed = exc[0] is not None
        if failed:
            shot = grab()
            if shot is not None:
                script = os.path.splitext(os.path.basename(sys.argv[0]))[0]
                path = os.path.abspath(f"{script}-{os.getpid()}.png")
                shot.save(path)
                log(f"the screen at the failure: {path}")
        # What other programs started on the desktop first, then the session's own programs
        # from the last to the first: the desktop itself at the very end.
        strays = [(pid, program_name(proc)) for pid, proc in wine_processes().items()
                  if pid not in self.before and pid not in self.owned and outside_windows(proc)]
        for pid, what in strays + list(reversed(self.owned.items())):
            if alive(pid):
                try:
                    os.kill(pid, signal.SIGKILL)
                except ProcessLookupError:
                    pass
            try:
                wait_until(f"the end of {what}", lambda: not alive(pid))
            except Failure as e:
                log(str(e))
        for launcher in self.launchers:
            if launcher.poll() is None:
                launcher.kill()
            launcher.wait()
        self.put_back()
        return False


class Session(Desktop):
    """A shell desktop with Wispfold in it, and all of it removed again at the end."""

    PROFILE = r"HKEY_CURRENT_USER\Software\Quenmarsh"
    VERSION_KEY = r"HKEY_CURRENT_USER\Software\Wine\AppDefaults\Wispfold.exe"

    def __init__(self, exe, keeper_exe, icon_path, busy_taskbar=False):
        super().__init__(keeper_exe, icon_path)
        self.exe = exe
        self.program = None
        self.icon_at = None
        # A stand-in for a taskbar not yet ready, started before the program (busy_taskbar.cpp).
        self.busy_taskbar = busy_taskbar
        self.refusals_log = None

    def prepare(self):
        self._clean_profile()
        os.makedirs(cookie_folder(), exist_ok=True)
        empty_folder(cookie_folder())
        import_registry([f"[{self.VERSION_KEY}]", '"Version"="winxp"'])

    def started(self):
        if self.busy_taskbar:
            self._start_busy_taskbar()
        self.launch()

    # The first add and the first retry are refused; the next retry meets the real taskbar.
    BUSY_REFUSALS = 2

    def _start_busy_taskbar(self):
        fd, self.refusals_log = tempfile.mkstemp(prefix="wispfold-busy-taskbar-")
        os.close(fd)
        busy_exe = os.path.join(os.path.dirname(self.keeper_exe), "busy_taskbar.exe")
        self.start("the busy taskbar", [windows_path(busy_exe), windows_path(self.refusals_log),
                                        str(self.BUSY_REFUSALS)])
        wait_until("the busy taskbar ready", lambda: self.refusals() >= 0, START_TIMEOUT)

    def refusals(self):
        """How many icon calls the busy taskbar has refused; -1 before it is ready."""
        with open(self.refusals_log) as f:
            lines = f.read().split()
        return lines.count("refused") if "ready" in lines else -1

    def launch(self):
        self.program = self.start("Wispfold", [windows_path(self.exe)])
        wait_until("the main dialog at the top left", on_screen(dialog_visible), START_TIMEOUT)

    # What a user does

    def wait_icon(self):
        self.icon_at = super().wait_icon()
        return self.icon_at

    def click_yes(self):
        click_at(wait_until("the \"はい\" button on the dialog", on_screen(find_yes_button)))
        wait_until("the dialog hidden after \"はい\"",
                   on_screen(lambda shot: dialog_hidden(shot, self.taskbar)))
        log("はい hid the dialog")

    def open_menu(self):
        icon_at = self.icon_at or self.wait_icon()
        click_at((icon_at[0] + 8, icon_at[1] + 8))
        menu = wait_until("the tray menu after a left click on the icon",
                          on_screen(lambda shot: find_menu(shot, self.taskbar)))
        log(f"menu at {menu}")
        return menu

    def point_at(self, menu, n):
        """Moves the pointer onto item n until it lights up; the photograph that shows it."""
        x, y = menu.item_centre(n)
        wiggle = itertools.cycle((0, 2))

        def lit(shot):
            return shot if menu.highlighted(shot, n) else None

        def moved_and_lit():
            # A busy Wine may not be tracking the menu yet when the first motion comes (or the
            # icon's tip is over the item), and a pointer at rest sends no more: keep it moving
            # within the item, as a hand does.
            move_to((x + next(wiggle), y))
            return on_screen(lit)()

        return wait_until(f"item {n + 1} of the menu lit under the pointer", moved_and_lit)

    def pick(self, menu, n):
        """Points at item n, waits until it lights up, and clicks it."""
        self.point_at(menu, n)
        subprocess.run(["xdotool", "click", "1"], check=True)

    def running(self):
        return alive(self.program)

    def put_back(self):
        self._clean_profile()
        if self.refusals_log:
            os.remove(self.refusals_log)
        if os.path.isdir(cookie_folder()):
            empty_folder(cookie_folder())

    def _clean_profile(self):
        import_registry([f"[-{self.PROFILE}]", f"[-{self.VERSION_KEY}]"])


# --- the scenarios ----------------------------------------------------------------------------

def icon_appears(s):
    left, top = s.wait_icon()
    if left < WIDTH - 40:
        raise Failure(f"the icon sits at x={left}, not at the notification area's end")


def icon_appears_once_the_taskbar_answers(s):
    # Started while the taskbar refuses every add, as at logon: no icon then, and the program
    # keeps trying until the real taskbar takes it.
    wait_until("the program's add and a retry refused by the busy taskbar",
               lambda: s.refusals() >= Session.BUSY_REFUSALS)
    if find_icon(grab(), s.taskbar, s.icon) is not None:
        raise Failure("an icon in the notification area while the taskbar refused every add")
    left, _ = s.wait_icon()
    if left < WIDTH - 40:
        raise Failure(f"the icon sits at x={left}, not at the notification area's end")
    if not s.running():
        raise Failure("the program ended")


icon_appears_once_the_taskbar_answers.busy_taskbar = True


def yes_hides_the_dialog(s):
    s.wait_icon()
    s.click_yes()
    holds_for("the program runs on with its icon, the dialog hidden", lambda: s.running() and (
        on_screen(lambda shot: dialog_hidden(shot, s.taskbar) and
                  find_icon(shot, s.taskbar, s.icon) == s.icon_at)()), 2)


def left_click_opens_the_menu_beside_the_icon(s):
    s.click_yes()
    menu = s.open_menu()
    if not menu_beside(menu, s.icon_at):
        raise Failure(f"the menu {menu} is not beside the icon at {s.icon_at}")
    shot = grab()
    for n in range(Menu.ITEMS):
        if menu.ink(shot, n) < 20:
            raise Failure(f"item {n + 1} of the menu {menu} has no text")
    target = os.environ.get("WISPFOLD_TRAY_MENU_SHOT")
    if target:
        # Pointing at "開く", as a user about to choose it, once the icon's tip has gone.
        s.point_at(menu, 0)
        shot = wait_until("the menu alone on the desktop, its first item lit", on_screen(
            lambda shot: shot if menu.highlighted(shot, 0) and
            bare_above_tray(shot, s.taskbar, menu) else None))
        # The lower right corner: the end of the taskbar, the icon and the menu above it.
        shot.save(target, WIDTH - 300, HEIGHT - 120, WIDTH, HEIGHT)
        log(f"photograph of the menu saved to {target}")


def click_elsewhere_closes_the_menu(s):
    s.click_yes()
    s.open_menu()
    click_at(EMPTY_SPOT)
    # Closed means gone from the screen: the icon's tip may cover part of an open menu.
    wait_until("the menu closed after a click on the desktop",
               on_screen(lambda shot: bare_above_tray(shot, s.taskbar)))
    holds_for("no command: the dialog stays hidden, the program runs with its icon",
              lambda: s.running() and on_screen(
                  lambda shot: dialog_hidden(shot, s.taskbar) and
                  bare_above_tray(shot, s.taskbar) and
                  find_icon(shot, s.taskbar, s.icon) == s.icon_at)(), 2)


def open_shows_the_dialog(s):
    s.click_yes()
    s.pick(s.open_menu(), 0)
    wait_until("the dialog shown again after \"開く\"", on_screen(dialog_visible))
    if not s.running():
        raise Failure("the program ended after \"開く\"")


def exit_ends_the_program(s):
    s.click_yes()
    s.pick(s.open_menu(), 1)
    wait_until("the end of the program after \"終了\"", lambda: not s.running())
    wait_until("the notification area empty after the end",
               on_screen(lambda shot: tray_is_empty(shot, s.taskbar)))


SCENARIOS = {
    "IconAppearsInTheNotificationArea": icon_appears,
    "IconAppearsOnceTheTaskbarAnswers": icon_appears_once_the_taskbar_answers,
    "YesHidesTheDialog": yes_hides_the_dialog,
    "LeftClickOpensTheMenuBesideTheIcon": left_click_opens_the_menu_beside_the_icon,
    "ClickElsewhereClosesTheMenuWithNoCommand": click_elsewhere_closes_the_menu,
    "OpenShowsTheHiddenDialog": open_shows_the_dialog,
    "ExitFromTheHiddenDialogsMenuEndsTheProgram": exit_ends_the_program,
}


def play(argv, usage, scenarios, world, count):
    """Plays the scenario argv[1] of `scenarios` in world(*argv[2:], icon); the exit status.
    `count` is how many arguments the driver takes, `usage` what it prints when they are wrong."""
    if len(argv) != count + 1 or argv[1] not in scenarios:
        print(usage.strip(), file=sys.stderr)
        print("scenarios: " + ", ".join(scenarios), file=sys.stderr)
        return 2
    for var in ("DISPLAY", "WINEPREFIX"):
        if not os.environ.get(var):
            print(f"{os.path.basename(argv[0])}: {var} is not set", file=sys.stderr)
            return 2
    icon = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "res",
                        "wispfold.ico")
    try:
        with world(*argv[2:], icon) as session:
            scenarios[argv[1]](session)
    except Failure as e:
        log(f"FAILED: {e}")
        return 1
    log("passed")
    return 0


if __name__ == "__main__":
    def world(*args):
        scenario = SCENARIOS.get(sys.argv[1])
        return Session(*args, busy_taskbar=getattr(scenario, "busy_taskbar", False))

    sys.exit(play(sys.argv, __doc__, SCENARIOS, world, 3))
