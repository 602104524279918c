"""Drives the real Tovrelline under a display of its own, as a person would.

A Session starts a private Xvfb server, a private D-Bus session bus and the accessibility (AT-SPI) bus,
gives the program a fresh user (home, configuration, data, state and runtime folders of its own) and
starts it with its accessibility tree exposed. Tests find menus, buttons, fields and dialogs by their
accessible role and name, act on them with the real pointer and keyboard (xdotool), and judge by saved
files (`tovrelline dump`) and by the pixels on the screen. Everything the session started is ended when it
closes. Run the tests with /usr/bin/python3, whose packages include pyatspi.

    with Session(program) as session:
        app = session.start_program()
        app.choose("File", "Save As...")
"""

import json
import os
import shutil
import signal
import struct
import subprocess
import sys
import tempfile
import time
import traceback
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
LSAN_SUPPRESSIONS = os.path.join(HERE, "lsan.supp")
SCREEN = (1280, 800)


class Failure(AssertionError):
    """A check of an end-to-end test did not hold."""


def png(width, height, rgb):
    """The bytes of a PNG of one colour, as another program would write it."""

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)

    row = b"\x00" + bytes(rgb) * width
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(row * height)) + chunk(b"IEND", b""))


def check(condition, message):
    if not condition:
        raise Failure(message)


def wait_until(condition, seconds, what, alive=None):
    """Returns the first true value of condition(), polled every 0.1 s; fails after the time is up or
    once alive() says the program has ended."""
    deadline = time.monotonic() + seconds
    while True:
        try:
            value = condition()
        except Exception:  # the tree changes under the walk while windows open and close
            value = None
        if value:
            return value
        if alive is not None and not alive():
            raise Failure(f"the program ended while waiting for {what}")
        if time.monotonic() >= deadline:
            raise Failure(f"timed out after {seconds}s waiting for {what}")
        time.sleep(0.1)


def _stop(process, seconds=5):
    """Ends a process this harness started, and the process group it leads."""
    if process is None or process.poll() is not None:
        return
    try:
        os.killpg(process.pid, signal.SIGTERM)
    except ProcessLookupError:
        return
    try:
        process.wait(seconds)
    except subprocess.TimeoutExpired:
        try:
            os.killpg(process.pid, signal.SIGKILL)
        except ProcessLookupError:
            pass
        process.wait()


class Image:
    """A screenshot: width, height and packed RGB bytes."""

    def __init__(self, width, height, rgb):
        self.width, self.height, self.rgb = width, height, rgb

    @staticmethod
    def from_ppm(data):
        # P6 header: magic, width, height, maxval, each separated by whitespace, then one byte per channel.
        fields, pos = [], 0
        while len(fields) < 4:
            while data[pos : pos + 1].isspace():
                pos += 1
            if data[pos : pos + 1] == b"#":
                pos = data.index(b"\n", pos)
                continue
            end = pos
            while not data[end : end + 1].isspace():
                end += 1
            fields.append(data[pos:end])
            pos = end
        if fields[0] != b"P6" or fields[3] != b"255":
            raise Failure("the screenshot is not an 8-bit PPM image")
        width, height = int(fields[1]), int(fields[2])
        return Image(width, height, data[pos + 1 : pos + 1 + width * height * 3])

    def pixel(self, x, y):
        i = (y * self.width + x) * 3
        return tuple(self.rgb[i : i + 3])

    def count(self, predicate, box=None):
        """How many pixels inside box (x, y, width, height; the whole image by default) satisfy predicate."""
        x0, y0, w, h = box or (0, 0, self.width, self.height)
        return sum(
            1
            for y in range(max(0, y0), min(self.height, y0 + h))
            for x in range(max(0, x0), min(self.width, x0 + w))
            if predicate(self.pixel(x, y))
        )

    def save(self, path):
        with open(path, "wb") as f:
            f.write(b"P6\n%d %d\n255\n" % (self.width, self.height) + self.rgb)


class Element:
    """One accessible object of the program, found by role and name."""

    def __init__(self, accessible):
        self.accessible = accessible

    @property
    def name(self):
        return self.accessible.name or ""

    @property
    def role(self):
        return self.accessible.getRoleName()

    def extents(self):
        """(x, y, width, height) on the screen."""
        import pyatspi

        box = self.accessible.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        return box.x, box.y, box.width, box.height

    def center(self):
        x, y, w, h = self.extents()
        return x + w // 2, y + h // 2

    def text(self):
        t = self.accessible.queryText()
        return t.getText(0, t.characterCount)

    def value(self):
        return self.accessible.queryValue().currentValue

    def states(self):
        import pyatspi

        return {pyatspi.stateToString(s) for s in self.accessible.getState().getStates()}

    def children(self):
        return [Element(c) for c in self.accessible if c is not None]

    def __repr__(self):
        return f"<{self.role} {self.name!r}>"


def _matches(accessible, role, name):
    if role is not None and accessible.getRoleName() != role:
        return False
    if name is None:
        return True
    text = accessible.name or ""
    return name(text) if callable(name) else text == name


def _walk(accessible, depth=0, max_depth=40):
    yield accessible
    if depth >= max_depth:
        return
    for i in range(accessible.childCount):
        child = accessible.getChildAtIndex(i)
        if child is not None:
            yield from _walk(child, depth + 1, max_depth)


class Program:
    """The running program: its accessibility tree, its windows and the input it receives."""

    def __init__(self, session, process, log_path):
        self.session, self.process, self.log_path = session, process, log_path

    @property
    def pid(self):
        return self.process.pid

    def alive(self):
        return self.process.poll() is None

    def wait(self, condition, what, seconds=60):
        return wait_until(condition, seconds, what, self.alive)

    # --- the accessibility tree -------------------------------------------------------------------------
    def application(self):
        import pyatspi

        desktop = pyatspi.Registry.getDesktop(0)
        for i in range(desktop.childCount):
            app = desktop.getChildAtIndex(i)
            if app is not None and app.get_process_id() == self.pid:
                return app
        return None

    def find_all(self, role=None, name=None, showing=True, root=None):
        """Every accessible object with the role (an AT-SPI role name such as "push button") and the name
        (a string or a test on it); showing ones only unless told otherwise."""
        top = root.accessible if root is not None else self.application()
        if top is None:
            return []
        found = []
        for acc in _walk(top):
            if _matches(acc, role, name):
                element = Element(acc)
                if not showing or "showing" in element.states():
                    found.append(element)
        return found

    def find(self, role=None, name=None, seconds=60, root=None):
        """The first showing object with the role and name, waited for."""
        return self.wait(
            lambda: next(iter(self.find_all(role, name, root=root)), None), f"a {role or 'control'} {name!r}", seconds
        )

    def gone(self, role=None, name=None, seconds=60):
        self.wait(lambda: not self.find_all(role, name), f"the {role or 'control'} {name!r} to close", seconds)

    def window(self, title, seconds=60):
        """A top-level window or dialog by its caption (a string or a test on it)."""
        return self.wait(
            lambda: next(
                (
                    e
                    for e in self.find_all(name=title)
                    if e.role in ("frame", "dialog", "window", "alert", "file chooser")
                ),
                None,
            ),
            f"the window {title!r}",
            seconds,
        )

    def dump_tree(self, root=None, out=sys.stderr):
        """Prints the accessible tree, for a test being written or one that failed."""
        top = root.accessible if root is not None else self.application()

        def show(acc, depth):
            try:
                print("  " * depth + f"{acc.getRoleName()} {acc.name!r}", file=out)
                for i in range(acc.childCount):
                    child = acc.getChildAtIndex(i)
                    if child is not None:
                        show(child, depth + 1)
            except Exception as error:  # a window closing under the walk
                print("  " * depth + f"({error})", file=out)

        if top is not None:
            show(top, 0)

    # --- the X windows ------------------------------------------------------------------------------------
    def x_windows(self, title_pattern):
        """X window ids of the program's visible windows whose title matches the regular expression."""
        out = self.session.xdotool(
            "search", "--all", "--onlyvisible", "--pid", str(self.pid), "--name", title_pattern, check=False
        )
        return [w for w in out.split()]

    def caption(self):
        """The main window's caption, "<design> - Tovrelline"."""
        ids = self.x_windows(" - Tovrelline$")
        return self.session.xdotool("getwindowname", ids[0]).strip() if ids else None

    def wait_caption(self, caption, seconds=30):
        self.wait(lambda: self.caption() == caption, f"the caption {caption!r}", seconds)

    def focus(self, title_pattern=" - Tovrelline$"):
        """There is no window manager: gives the window the keyboard focus directly."""
        ids = self.wait(lambda: self.x_windows(title_pattern), f"the window {title_pattern!r}")
        self.session.xdotool("windowfocus", "--sync", ids[0], check=False)

    # --- pointer and keyboard -----------------------------------------------------------------------------
    def move_to(self, x, y):
        self.session.xdotool("mousemove", "--sync", str(x), str(y))

    def click_at(self, x, y, button=1, repeat=1):
        self.move_to(x, y)
        self.session.xdotool("click", "--repeat", str(repeat), "--delay", "80", str(button))

    def click(self, element, button=1, repeat=1):
        x, y = element.center()
        self.click_at(x, y, button, repeat)

    def drag(self, start, end, steps=12, button=1, hold=None):
        """Presses at start, moves to end in steps with the button held and releases there; hold names
        modifier keys kept down throughout (e.g. "shift")."""
        (x0, y0), (x1, y1) = start, end
        self.move_to(x0, y0)
        time.sleep(0.15)  # the program sees the pointer arrive before the press
        if hold:
            self.session.xdotool("keydown", hold)
        self.session.xdotool("mousedown", str(button))
        for i in range(1, steps + 1):
            self.move_to(x0 + (x1 - x0) * i // steps, y0 + (y1 - y0) * i // steps)
            time.sleep(0.02)
        time.sleep(0.1)
        self.session.xdotool("mouseup", str(button))
        if hold:
            self.session.xdotool("keyup", hold)

    def keys(self, *keys, window=" - Tovrelline$"):
        """Presses keys (xdotool names such as "ctrl+s", "Return") in the window with the title."""
        if window is not None:
            self.focus(window)
        self.session.xdotool("key", "--clearmodifiers", "--delay", "40", *keys)

    def type(self, text, window=" - Tovrelline$"):
        if window is not None:
            self.focus(window)
        self.session.xdotool("type", "--delay", "20", text)

    def choose(self, *path):
        """Chooses a menu command with the pointer: the menu bar's entry, then each item on the path, each
        looked for in the menu the previous one opened."""
        item = self.find("menu item", path[0], root=self.find("menu bar"))
        self.click(item)
        for name in path[1:]:
            item = self.find("menu item", lambda n, name=name: n == name or n.startswith(name + "\t"), root=item)
            self.wait(lambda: item.extents()[2] > 0, f"the menu item {name!r} to be laid out")
            self.click(item)

    def save_as(self, path):
        """Saves the design under path through File > Save As...; returns path once the file is there."""
        self.choose("File", "Save As...")
        self.window("Save As")
        self.keys("ctrl+a", window="^Save As$")
        self.type(path, window="^Save As$")
        self.keys("Return", window="^Save As$")
        self.wait(lambda: os.path.isfile(path), f"{path} to be saved")
        return path

    # --- ending -------------------------------------------------------------------------------------------
    def exit(self, seconds=30):
        """Quits through File > Exit and checks the exit status."""
        self.choose("File", "Exit")
        return self.wait_exit(seconds)

    def wait_exit(self, seconds=30):
        try:
            status = self.process.wait(seconds)
        except subprocess.TimeoutExpired:
            raise Failure("the program did not quit")
        if status != 0:
            raise Failure(f"the program exited with {status}")
        return status

    def kill(self):
        self.process.kill()
        self.process.wait()


class Session:
    """A private display, D-Bus session bus and accessibility bus, and a fresh user for the program."""

    def __init__(self, program, keep=False):
        self.program = os.path.realpath(program)
        self.keep = keep or bool(os.environ.get("TOVRELLINE_E2E_KEEP"))
        self.work = None
        self.display = None
        self._processes = []
        self._programs = []

    # --- set-up ---------------------------------------------------------------------------------------------
    def __enter__(self):
        self.work = tempfile.mkdtemp(prefix="tovrelline-e2e-")
        try:
            self._start_display()
            self._make_user()
            self._start_buses()
        except BaseException:
            self.close(failed=True)
            raise
        return self

    def __exit__(self, kind, error, trace):
        self.close(failed=kind is not None)
        return False

    def path(self, *parts):
        return os.path.join(self.work, *parts)

    def start_other_program(self, *args):
        """Starts another program on the session's display and buses; it is stopped with the session."""
        return self._spawn(list(args), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def _spawn(self, args, **options):
        process = subprocess.Popen(args, env=self.env, start_new_session=True, **options)
        self._processes.append(process)
        return process

    def _start_display(self):
        # Xvfb picks a free display number itself and writes it to the descriptor it is given. It must not
        # reset when its last client leaves: a client connecting during the reset is refused, and the tests'
        # short-lived clients (xdotool, import) leave it without clients many times.
        read_end, write_end = os.pipe()
        self.env = dict(os.environ)
        with open(self.path("xvfb.log"), "wb") as log:
            self._spawn(
                ["Xvfb", "-displayfd", str(write_end), "-screen", "0", f"{SCREEN[0]}x{SCREEN[1]}x24", "-nolisten", "tcp",
                 "-noreset"],
                pass_fds=(write_end,),
                stdout=log,
                stderr=log,
            )
        os.close(write_end)
        number = b""
        with os.fdopen(read_end, "rb") as pipe:
            while not number.endswith(b"\n"):
                chunk = pipe.read(1)
                if not chunk:
                    raise Failure("Xvfb did not start; see " + self.path("xvfb.log"))
                number += chunk
        self.display = ":" + number.decode().strip()
        # Start nothing until the new server answers.
        wait_until(self._display_answers, 30, "the display")

    def _display_answers(self):
        probe = subprocess.run(["xdotool", "getdisplaygeometry"], env=dict(self.env, DISPLAY=self.display),
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        return probe.returncode == 0

    def _make_user(self):
        for folder in ("home", "config", "data", "state", "cache", "runtime", "bin"):
            os.makedirs(self.path(folder), exist_ok=True)
        os.chmod(self.path("runtime"), 0o700)
        # The desktop's opener only records what the program asked it to open: no browser starts.
        opener = self.path("bin", "xdg-open")
        with open(opener, "w") as f:
            f.write('#!/bin/sh\necho "$@" >>"%s"\n' % self.path("opened"))
        os.chmod(opener, 0o755)
        for name in ("BROWSER", "DEFAULT_BROWSER", "XDG_CURRENT_DESKTOP", "DESKTOP_SESSION", "KDE_FULL_SESSION",
                     "GNOME_DESKTOP_SESSION_ID", "WAYLAND_DISPLAY", "SESSION_MANAGER", "AT_SPI_BUS_ADDRESS",
                     "DBUS_SESSION_BUS_ADDRESS", "XAUTHORITY"):
            self.env.pop(name, None)
        lsan = f"suppressions={LSAN_SUPPRESSIONS}"
        if self.env.get("LSAN_OPTIONS"):
            lsan += ":" + self.env["LSAN_OPTIONS"]
        self.env.update(
            DISPLAY=self.display,
            HOME=self.path("home"),
            XDG_CONFIG_HOME=self.path("config"),
            XDG_DATA_HOME=self.path("data"),
            XDG_STATE_HOME=self.path("state"),
            XDG_CACHE_HOME=self.path("cache"),
            XDG_RUNTIME_DIR=self.path("runtime"),
            PATH=self.path("bin") + os.pathsep + self.env.get("PATH", "/usr/bin:/bin"),
            QT_QPA_PLATFORM="xcb",
            QT_ACCESSIBILITY="1",
            QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1",
            # Pixel positions in tests follow from lengths at a known resolution.
            QT_FONT_DPI="96",
            LSAN_OPTIONS=lsan,
            NO_AT_BRIDGE="0",
        )

    def _start_buses(self):
        # A session bus of our own; the accessibility bus launcher registers on it and keeps the a11y bus.
        read_end, write_end = os.pipe()
        self._spawn(
            ["dbus-daemon", "--session", "--nofork", "--nopidfile", f"--print-address={write_end}"],
            pass_fds=(write_end,),
            stdout=subprocess.DEVNULL,
            stderr=open(self.path("dbus.log"), "wb"),
        )
        os.close(write_end)
        with os.fdopen(read_end, "rb") as pipe:
            address = pipe.readline().decode().strip()
        if not address:
            raise Failure("the D-Bus session bus did not start; see " + self.path("dbus.log"))
        self.env["DBUS_SESSION_BUS_ADDRESS"] = address
        self._spawn(
            ["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"],
            stdout=subprocess.DEVNULL,
            stderr=open(self.path("atspi.log"), "wb"),
        )
        # This process reads the tree through the same buses; pyatspi connects when it is first imported.
        for name in ("DISPLAY", "DBUS_SESSION_BUS_ADDRESS", "XDG_RUNTIME_DIR"):
            os.environ[name] = self.env[name]
        os.environ.pop("AT_SPI_BUS_ADDRESS", None)
        wait_until(self._a11y_bus_up, 30, "the accessibility bus")

    def _a11y_bus_up(self):
        out = subprocess.run(
            ["dbus-send", "--session", "--print-reply", "--dest=org.a11y.Bus", "/org/a11y/bus", "org.a11y.Bus.GetAddress"],
            env=self.env,
            capture_output=True,
            text=True,
            timeout=10,
        )
        return out.returncode == 0 and "unix:" in out.stdout

    # --- tools ----------------------------------------------------------------------------------------------
    def xdotool(self, *args, check=True):
        out = subprocess.run(["xdotool", *args], env=self.env, capture_output=True, text=True, timeout=20)
        if check and out.returncode != 0:
            raise Failure(f"xdotool {' '.join(args)} failed: {out.stderr.strip()}")
        return out.stdout

    def put_clipboard(self, data, mime_type):
        """Offers bytes on the display's clipboard as another program would, with xclip; it serves them until
        another program takes the clipboard."""
        path = self.path(f"clipboard-{len(self._processes)}")
        with open(path, "wb") as f:
            f.write(data)
        self._spawn(["xclip", "-quiet", "-selection", "clipboard", "-t", mime_type, "-i", path],
                    stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def read_clipboard(self, mime_type):
        """The display's clipboard in a type, as another program reads it (None when it is not offered)."""
        out = subprocess.run(["xclip", "-o", "-selection", "clipboard", "-t", mime_type], env=self.env,
                             capture_output=True, timeout=20)
        return out.stdout if out.returncode == 0 else None

    def screenshot(self, box=None):
        """The screen's pixels (or those inside box: x, y, width, height)."""
        args = ["import", "-display", self.display, "-window", "root"]
        if box:
            x, y, w, h = box
            args += ["-crop", f"{w}x{h}+{x}+{y}", "+repage"]
        out = subprocess.run(args + ["-depth", "8", "ppm:-"], env=self.env, capture_output=True, timeout=30)
        if out.returncode != 0:
            raise Failure("the screenshot failed: " + out.stderr.decode(errors="replace"))
        return Image.from_ppm(out.stdout)

    def run(self, *args, check=True):
        """Runs the program's command line (no window) as the session's user; returns the finished process."""
        out = subprocess.run([self.program, *args], env=self.env, capture_output=True, text=True, timeout=120)
        if check and out.returncode != 0:
            raise Failure(f"tovrelline {' '.join(args)} exited with {out.returncode}: {out.stderr.strip()}")
        return out

    def dump(self, design):
        """The saved design as `tovrelline dump` reads it."""
        return json.loads(self.run("dump", design).stdout)

    def start_program(self, *args, wait_for_window=True):
        """Starts the program; waits until its main window shows unless told otherwise."""
        log_path = self.path(f"app{len(self._programs) + 1}.log")
        with open(log_path, "wb") as log:
            process = self._spawn([self.program, *args], stdout=log, stderr=subprocess.STDOUT, cwd=self.path("home"))
        program = Program(self, process, log_path)
        self._programs.append(program)
        if wait_for_window:
            program.wait(lambda: program.x_windows(" - Tovrelline$"), "the main window", 90)
            program.wait(program.application, "the program's accessibility tree", 60)
        return program

    # --- ending ---------------------------------------------------------------------------------------------
    def close(self, failed=False):
        if failed:
            self._report()
        for process in reversed(self._processes):
            _stop(process)
        self._processes.clear()
        if self.work and not self.keep and not failed:
            shutil.rmtree(self.work, ignore_errors=True)
        elif self.work:
            print(f"the session's files are kept in {self.work}", file=sys.stderr)

    def _report(self):
        """What a failed test leaves behind: the program's logs, its accessible tree and a screenshot."""
        try:
            self.screenshot().save(self.path("failure.ppm"))
            print(f"screenshot at failure: {self.path('failure.ppm')}", file=sys.stderr)
        except Exception as error:
            print(f"no screenshot: {error}", file=sys.stderr)
        for program in self._programs:
            if program.alive():
                try:
                    program.dump_tree()
                except Exception:
                    traceback.print_exc()
            try:
                with open(program.log_path, errors="replace") as log:
                    print(f"--- {program.log_path}", file=sys.stderr)
                    print("".join(log.readlines()[-40:]), file=sys.stderr)
            except OSError:
                pass


def main(test):
    """Runs test(session) in a fresh session for the program named on the command line."""
    if len(sys.argv) != 2:
        print(f"usage: {sys.argv[0]} PATH_TO_TOVRELLINE", file=sys.stderr)
        sys.exit(2)
    with Session(sys.argv[1]) as session:
        test(session)
    print(f"{os.path.basename(sys.argv[0])} passed")
