# SPDX-License-Identifier: MIT
"""End-to-end harness: runs the real velmora program on a private X server.

A ``Desktop`` starts Xvfb on a free display number and openbox on it, and
stops exactly those two processes again when the ``with`` block ends, also
when a test fails. ``Desktop.launch`` starts velmora in a directory of the
test's choosing and returns an ``App``, which finds the program's visible
windows, reads their geometry, sends input to them and takes screenshots.

Everything here uses the Python standard library and the command-line tools
Xvfb, openbox, xdotool, xwininfo, xprop, import and convert. ``atspi_tree``
reads what assistive tools see of the program through Debian's pyatspi, in a
child process, on the session bus of a test run under dbus-run-session.

The files the program reads are built by ``settings_bytes`` and
``message_bytes`` from the golden files under tests/data with Python's own
cp932 codec, independently of the program's encoder, so a test can compare
what the program writes byte for byte with what it should have written.

Run one file by hand from this directory, no DISPLAY needed:

    VELMORA_EXE=../../build/velmora /usr/bin/python3 -B -m unittest -v test_close

VELMORA_E2E_SHOTS names a directory where tests leave a few screenshots.
VELMORA_E2E_DISPLAYS names the X display numbers a Desktop may take, as
"FIRST-LAST" or one number (200-399 by default: other programs on a shared
machine take the low numbers).
"""

import json
import os
import re
import shlex
import shutil
import stat
import signal
import subprocess
import tempfile
import time
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))

SETTINGS_FILE = "Velmora.ini"
MESSAGE_FILE = "Velmora.txt"
SIGN_TITLE = "Velmora"
ERROR_TITLE = "エラーメッセージ"

# At 96 dots per inch a pixel is 1440 / 96 twips.
TWIPS_PER_PIXEL = 15
SCREEN_SIZE = (1280, 1024)

# Seconds; generous for a loaded two-core CI machine.
WINDOW_TIMEOUT = 15.0
EXIT_TIMEOUT = 5.0


def velmora_path():
    """The program under test: $VELMORA_EXE, else build/velmora of this tree."""
    path = os.environ.get("VELMORA_EXE")
    if not path:
        path = os.path.join(HERE, "..", "..", "build", "velmora")
    return os.path.abspath(path)


def shots_dir():
    """Where tests leave screenshots worth looking at; None to keep none."""
    path = os.environ.get("VELMORA_E2E_SHOTS")
    if path:
        os.makedirs(path, exist_ok=True)
    return path


def save_shot(image_path, name):
    """Copies a screenshot to the shots directory, if there is one."""
    target = shots_dir()
    if target:
        shutil.copyfile(image_path, os.path.join(target, name))


class WaitTimeout(AssertionError):
    pass


def wait_for(predicate, timeout, what, interval=0.05):
    """Polls predicate until it returns something truthy; returns that value.

    Raises WaitTimeout naming `what` when the time runs out."""
    deadline = time.monotonic() + timeout
    while True:
        value = predicate()
        if value:
            return value
        if time.monotonic() >= deadline:
            raise WaitTimeout("timed out after %.1f s waiting for %s" % (timeout, what))
        time.sleep(interval)


def settle(measure, good, timeout):
    """Measures until good(value) holds or time runs out; returns the last value.

    For assertions that should report what was actually seen, not a timeout."""
    deadline = time.monotonic() + timeout
    while True:
        value = measure()
        if good(value) or time.monotonic() >= deadline:
            return value
        time.sleep(0.05)


# ---------------------------------------------------------------------------
# The two files, written independently of the program.

DATA_DIR = os.path.join(os.path.dirname(os.path.abspath(__file__)), os.pardir, "data")


def golden(name):
    """The bytes of a golden file under tests/data."""
    with open(os.path.join(DATA_DIR, name), "rb") as f:
        return f.read()


def settings_bytes(top=None, left=None, width=None, height=None, speed=None, fore=None,
                   back=None, directory=None, quoted=True):
    """The settings file: the golden sample with the given items replaced.

    Numbers are written in decimal; `directory` is quoted unless `quoted` is
    false. Items left out keep the sample's value."""
    lines = golden("Velmora.ini").decode("cp932").split("\r\n")[:-1]
    for i, value in enumerate((top, left, width, height, speed, fore, back)):
        if value is not None:
            lines[i] = str(int(value))
    if directory is not None:
        lines[7] = '"%s"' % directory if quoted else directory
    return "".join(line + "\r\n" for line in lines).encode("cp932")


def message_bytes(text):
    """The message file holding `text`: the golden sample's one quoted line."""
    sample = golden("Velmora.txt").decode("cp932")
    start, end = sample.index('"') + 1, sample.rindex('"')
    return (sample[:start] + text + sample[end:]).encode("cp932")


def bgr(red, green, blue):
    """A colour as the files store it, 0x00BBGGRR."""
    return (blue << 16) | (green << 8) | red


def write_files(directory, files):
    """Writes {relative name: bytes} into directory."""
    for name, data in files.items():
        path = os.path.join(directory, name)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as f:
            f.write(data)


def snapshot(directory):
    """{relative path: bytes} of every regular file below directory; what
    anything else is (a FIFO, a link to a device) stands in for its bytes."""
    result = {}
    for root, dirs, names in os.walk(directory):
        for name in names + dirs:
            path = os.path.join(root, name)
            info = os.lstat(path)
            if stat.S_ISREG(info.st_mode):
                with open(path, "rb") as f:
                    result[os.path.relpath(path, directory)] = f.read()
            else:
                result[os.path.relpath(path, directory)] = (
                    stat.S_IFMT(info.st_mode), os.readlink(path) if os.path.islink(path) else None)
    return result


# ---------------------------------------------------------------------------
# Images.

class Image:
    """An RGB screenshot, read through ImageMagick's convert as binary PPM."""

    def __init__(self, path):
        self.path = path
        data = _run([_convert(), path, "-depth", "8", "ppm:-"], binary=True)
        self.width, self.height, self.pixels = _parse_ppm(data)

    def pixel(self, x, y):
        i = 3 * (y * self.width + x)
        return tuple(self.pixels[i:i + 3])

    def matches(self, x, y, colour, tolerance):
        r, g, b = self.pixel(x, y)
        return (abs(r - colour[0]) <= tolerance and abs(g - colour[1]) <= tolerance
                and abs(b - colour[2]) <= tolerance)

    def count(self, colour, tolerance=24):
        """How many pixels are of colour, each channel within tolerance."""
        r0, g0, b0 = colour
        px = self.pixels
        return sum(1 for i in range(0, len(px), 3)
                   if abs(px[i] - r0) <= tolerance and abs(px[i + 1] - g0) <= tolerance
                   and abs(px[i + 2] - b0) <= tolerance)

    def fraction(self, colour, tolerance=24):
        return self.count(colour, tolerance) / float(self.width * self.height)

    def bbox(self, colour, tolerance=24, region=None):
        """(left, top, right, bottom), inclusive, of the pixels of colour; or None.

        region, if given, is (left, top, right, bottom) exclusive of right/bottom."""
        return self.bbox_where(lambda r, g, b: (abs(r - colour[0]) <= tolerance
                                                and abs(g - colour[1]) <= tolerance
                                                and abs(b - colour[2]) <= tolerance), region)

    def bbox_unlike(self, colour, tolerance=24, region=None):
        """The bounding box of the pixels that are NOT of colour."""
        return self.bbox_where(lambda r, g, b: (abs(r - colour[0]) > tolerance
                                                or abs(g - colour[1]) > tolerance
                                                or abs(b - colour[2]) > tolerance), region)

    def bbox_where(self, wanted, region=None):
        x0, y0, x1, y1 = region or (0, 0, self.width, self.height)
        x0, y0 = max(0, x0), max(0, y0)
        x1, y1 = min(self.width, x1), min(self.height, y1)
        left = top = None
        right = bottom = -1
        px = self.pixels
        for y in range(y0, y1):
            row = 3 * y * self.width
            for x in range(x0, x1):
                i = row + 3 * x
                if wanted(px[i], px[i + 1], px[i + 2]):
                    if left is None or x < left:
                        left = x
                    if top is None:
                        top = y
                    if x > right:
                        right = x
                    bottom = y
        if left is None:
            return None
        return (left, top, right, bottom)


def _parse_ppm(data):
    # P6 <w> <h> <max>\n<binary>; header fields separated by whitespace.
    fields = []
    pos = 0
    while len(fields) < 4:
        while data[pos:pos + 1].isspace():
            pos += 1
        if data[pos:pos + 1] == b"#":
            pos = data.index(b"\n", pos) + 1
            continue
        start = pos
        while not data[pos:pos + 1].isspace():
            pos += 1
        fields.append(data[start:pos])
    pos += 1
    if fields[0] != b"P6" or fields[3] != b"255":
        raise ValueError("unexpected image format from convert: %r" % fields)
    width, height = int(fields[1]), int(fields[2])
    pixels = data[pos:pos + 3 * width * height]
    if len(pixels) != 3 * width * height:
        raise ValueError("short image data from convert")
    return width, height, pixels


def _convert():
    return shutil.which("convert") or "/usr/bin/convert"


# ---------------------------------------------------------------------------
# Processes.

def _run(args, env=None, binary=False, check=True, timeout=20):
    result = subprocess.run(args, env=env, stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                            timeout=timeout)
    if check and result.returncode != 0:
        raise RuntimeError("%s failed (%d): %s" % (" ".join(args), result.returncode,
                                                   result.stderr.decode(errors="replace")))
    return result.stdout if binary else result.stdout.decode("utf-8", errors="replace")


def _stop(process, grace=3.0):
    """Ends one process that this harness started, and reaps it."""
    if process.poll() is not None:
        return
    process.send_signal(signal.SIGTERM)
    try:
        process.wait(grace)
    except subprocess.TimeoutExpired:
        process.kill()
        process.wait(grace)


DEFAULT_DISPLAYS = "200-399"


def display_numbers():
    """The display numbers to try, from $VELMORA_E2E_DISPLAYS ("FIRST-LAST" or
    one number), else DEFAULT_DISPLAYS."""
    value = os.environ.get("VELMORA_E2E_DISPLAYS", "").strip() or DEFAULT_DISPLAYS
    match = re.fullmatch(r"(\d+)(?:\s*-\s*(\d+))?", value)
    if not match:
        raise ValueError("VELMORA_E2E_DISPLAYS must be FIRST-LAST or one number, not %r" % value)
    first = int(match.group(1))
    last = int(match.group(2)) if match.group(2) is not None else first
    if last < first:
        raise ValueError("VELMORA_E2E_DISPLAYS ends before it starts: %r" % value)
    return range(first, last + 1)


def _display_taken(n):
    return (os.path.exists("/tmp/.X11-unix/X%d" % n) or os.path.exists("/tmp/.X%d-lock" % n))


class Desktop:
    """Xvfb and openbox on a display of their own, for one test module.

    Use as a context manager; on leaving, exactly the processes started here
    are stopped and the scratch directory is removed."""

    def __init__(self, size=SCREEN_SIZE, displays=None):
        self.size = size
        self.displays = display_numbers() if displays is None else displays
        self.display = None
        self.scratch = None
        self._xvfb = None
        self._wm = None
        self._apps = []

    # -- lifetime --------------------------------------------------------

    def __enter__(self):
        try:
            self.start()
        except BaseException:
            self.stop()
            raise
        return self

    def __exit__(self, *exc):
        self.stop()
        return False

    def start(self):
        self.scratch = tempfile.mkdtemp(prefix="velmora-e2e-")
        for sub in ("config", "runtime", "home"):
            os.makedirs(os.path.join(self.scratch, sub), mode=0o700)
        self._start_xvfb()
        self._start_openbox()

    def stop(self):
        for app in self._apps:
            app.kill()
        self._apps = []
        for process in (self._wm, self._xvfb):
            if process is not None:
                _stop(process)
        self._wm = self._xvfb = None
        if self.scratch:
            shutil.rmtree(self.scratch, ignore_errors=True)
            self.scratch = None

    def _log(self, name):
        return open(os.path.join(self.scratch, name), "wb")

    def _start_xvfb(self):
        screen = "%dx%dx24" % self.size
        for n in self.displays:
            if _display_taken(n):
                continue
            # -noreset: without it the server resets when its last client (the
            # readiness probe) disconnects, and openbox, connecting during that
            # reset, fails to open the display.
            with self._log("xvfb.log") as log:
                process = subprocess.Popen(
                    ["Xvfb", ":%d" % n, "-screen", "0", screen, "-nolisten", "tcp", "-noreset",
                     "-dpi", "96"],
                    stdin=subprocess.DEVNULL, stdout=log, stderr=subprocess.STDOUT)
            socket = "/tmp/.X11-unix/X%d" % n
            deadline = time.monotonic() + 10
            while process.poll() is None and time.monotonic() < deadline:
                if (os.path.exists(socket) and self._owns_lock(n, process)
                        and self._probe(":%d" % n)):
                    self._xvfb = process
                    self.display = ":%d" % n
                    return
                time.sleep(0.05)
            # Lost a race for this number, or the server did not come up.
            _stop(process)
        raise RuntimeError("no free X display in %d-%d could be started; see Xvfb's log"
                           % (self.displays[0], self.displays[-1]))

    @staticmethod
    def _owns_lock(n, process):
        """Whether the display's lock file names our server, not a rival's."""
        try:
            with open("/tmp/.X%d-lock" % n) as f:
                return int(f.read().strip() or 0) == process.pid
        except (OSError, ValueError):
            return False

    def _probe(self, display):
        env = dict(os.environ, DISPLAY=display)
        try:
            return subprocess.run(["xprop", "-root", "-len", "1", "_NET_SUPPORTED"], env=env,
                                  stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                                  timeout=5).returncode == 0
        except subprocess.TimeoutExpired:
            return False

    def _start_openbox(self):
        env = self.tool_env()
        env["HOME"] = os.path.join(self.scratch, "home")
        # An empty configuration home makes openbox use its system defaults,
        # whatever the machine's user has configured.
        env["XDG_CONFIG_HOME"] = os.path.join(self.scratch, "config")
        # openbox runs the --startup command once it has set everything up,
        # key bindings included. Its window-manager property on the root
        # window appears earlier, so on a busy machine a test that waited only
        # for that could press Alt+F4 before openbox listens for it.
        ready_file = os.path.join(self.scratch, "openbox-ready")
        with self._log("openbox.log") as log:
            self._wm = subprocess.Popen(
                ["openbox", "--sm-disable", "--startup", "touch " + shlex.quote(ready_file)],
                env=env, stdin=subprocess.DEVNULL, stdout=log, stderr=subprocess.STDOUT)

        def ready():
            if self._wm.poll() is not None:
                with open(os.path.join(self.scratch, "openbox.log"), "rb") as f:
                    log = f.read().decode(errors="replace")
                raise RuntimeError("openbox exited with status %s on %s: %s"
                                   % (self._wm.returncode, self.display, log))
            if not os.path.exists(ready_file):
                return False
            out = _run(["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"], env=self.tool_env(),
                       check=False)
            return "window id" in out

        wait_for(ready, 15, "openbox to manage the screen")

    # -- environment -----------------------------------------------------

    def tool_env(self):
        env = dict(os.environ)
        env.pop("WAYLAND_DISPLAY", None)
        env["DISPLAY"] = self.display
        return env

    def app_env(self):
        env = self.tool_env()
        # The real X platform: an inherited "offscreen" would hide every window.
        env["QT_QPA_PLATFORM"] = "xcb"
        # The designed Japanese interface: the C locale, and no LANGUAGE from
        # the caller's session, which would choose the program's language first.
        env["LC_ALL"] = "C.UTF-8"
        env.pop("LANGUAGE", None)
        env["XDG_RUNTIME_DIR"] = os.path.join(self.scratch, "runtime")
        env.pop("SESSION_MANAGER", None)
        return env

    def xdotool(self, *args, check=True):
        return _run(["xdotool"] + [str(a) for a in args], env=self.tool_env(), check=check)

    # -- programs --------------------------------------------------------

    def launch(self, directory, files=None, args=(), env=None):
        """Writes `files` into directory, then starts velmora there with `args`
        and the variables in `env` added to its environment."""
        if files:
            write_files(directory, files)
        app = App(self, directory, args, env)
        self._apps.append(app)
        return app

    def screenshot_root(self, path):
        _run(["import", "-window", "root", path], env=self.tool_env())
        return Image(path)


class App:
    """One running velmora process on a Desktop."""

    def __init__(self, desktop, directory, args=(), env=None):
        self.desktop = desktop
        self.directory = directory
        out_dir = tempfile.mkdtemp(prefix="app-", dir=desktop.scratch)
        self._stdout_path = os.path.join(out_dir, "stdout")
        self._stderr_path = os.path.join(out_dir, "stderr")
        with open(self._stdout_path, "wb") as out, open(self._stderr_path, "wb") as err:
            self.process = subprocess.Popen([velmora_path()] + list(args), cwd=directory,
                                            env=dict(desktop.app_env(), **(env or {})),
                                            stdin=subprocess.DEVNULL, stdout=out, stderr=err)
        self.pid = self.process.pid
        self._shot = 0
        self._shot_dir = out_dir

    # -- the process -----------------------------------------------------

    def running(self):
        return self.process.poll() is None

    def wait_exit(self, timeout=EXIT_TIMEOUT):
        """The exit status, or None if the program is still running after timeout."""
        try:
            return self.process.wait(timeout)
        except subprocess.TimeoutExpired:
            return None

    def kill(self):
        _stop(self.process, grace=2.0)

    def stderr(self):
        with open(self._stderr_path, "rb") as f:
            return f.read().decode("utf-8", errors="replace")

    # -- windows ---------------------------------------------------------

    def windows(self):
        """The visible top-level windows of this process (Qt also keeps invisible helpers)."""
        out = self.desktop.xdotool("search", "--onlyvisible", "--pid", self.pid, check=False)
        return [int(line) for line in out.split()]

    def title(self, wid):
        return self.desktop.xdotool("getwindowname", wid, check=False).rstrip("\n")

    def titled(self):
        """[(wid, title)] of the visible windows."""
        return [(wid, self.title(wid)) for wid in self.windows()]

    def find_window(self, title, timeout=WINDOW_TIMEOUT):
        """The one visible window of the process with this title, once it appears."""
        def look():
            if not self.running():
                raise AssertionError("velmora exited (status %s) before a window titled %r "
                                     "appeared; stderr: %s"
                                     % (self.process.returncode, title, self.stderr()))
            found = [wid for wid, name in self.titled() if name == title]
            return found[0] if found else None
        return wait_for(look, timeout, "a window titled %r" % title)

    def find_new_window(self, known, title=None, timeout=WINDOW_TIMEOUT):
        """A visible window not in `known`, optionally with this title."""
        def look():
            for wid, name in self.titled():
                if wid not in known and (title is None or name == title):
                    return wid
            return None
        return wait_for(look, timeout, "a new window%s" % (" titled %r" % title if title else ""))

    def sign_window(self, timeout=WINDOW_TIMEOUT):
        return self.find_window(SIGN_TITLE, timeout)

    def client_geometry(self, wid):
        """(x, y, width, height) of the client area on the screen, in pixels."""
        out = _run(["xwininfo", "-id", str(wid)], env=self.desktop.tool_env())
        values = {}
        for key, label in (("x", "Absolute upper-left X"), ("y", "Absolute upper-left Y"),
                           ("w", "Width"), ("h", "Height")):
            m = re.search(r"^\s*%s:\s*(-?\d+)" % label, out, re.M)
            if not m:
                raise RuntimeError("xwininfo gave no %s: %s" % (label, out))
            values[key] = int(m.group(1))
        return values["x"], values["y"], values["w"], values["h"]

    def frame_extents(self, wid):
        """(left, right, top, bottom) of the window manager's frame, or None before framing."""
        out = _run(["xprop", "-id", str(wid), "_NET_FRAME_EXTENTS"], env=self.desktop.tool_env(),
                   check=False)
        m = re.search(r"=\s*(\d+),\s*(\d+),\s*(\d+),\s*(\d+)", out)
        return tuple(int(g) for g in m.groups()) if m else None

    def outer_geometry(self, wid):
        """(x, y, width, height) of the frame's outer edge, in pixels."""
        extents = self.frame_extents(wid) or (0, 0, 0, 0)
        left, right, top, bottom = extents
        x, y, w, h = self.client_geometry(wid)
        return x - left, y - top, w + left + right, h + top + bottom

    def outer_geometry_twips(self, wid):
        return tuple(v * TWIPS_PER_PIXEL for v in self.outer_geometry(wid))

    # -- input -----------------------------------------------------------

    def activate(self, wid):
        self.desktop.xdotool("windowactivate", "--sync", wid)

    def key(self, wid, *keys):
        """Activates the window and types the keys (xdotool key names)."""
        self.desktop.xdotool("windowactivate", "--sync", wid, "key", "--clearmodifiers", *keys)

    def click(self, wid, x, y, button=1):
        """Presses and releases a mouse button at client point (x, y)."""
        # mousemove --sync waits for the pointer to move: when it already
        # stands there, that wait lasts until xdotool gives up, 15 s later.
        cx, cy, _w, _h = self.client_geometry(wid)
        here = self.desktop.xdotool("getmouselocation", "--shell")
        if re.search(r"^X=%d\nY=%d$" % (cx + x, cy + y), here, re.M):
            self.desktop.xdotool("click", button)
        else:
            self.desktop.xdotool("mousemove", "--window", wid, "--sync", x, y, "click", button)

    def right_click(self, wid, x, y):
        self.click(wid, x, y, button=3)

    def move(self, wid, x, y):
        self.desktop.xdotool("windowmove", "--sync", wid, x, y)

    def resize(self, wid, width, height):
        """Asks for a client size in pixels."""
        self.desktop.xdotool("windowsize", "--sync", wid, width, height)

    def click_close_box(self, wid):
        """Clicks the close button of openbox's frame, as a user would.

        With openbox's default theme the button is the rightmost of the title
        bar, about 12 pixels square, centred 10 pixels in from the frame's
        right edge and 10 pixels down from its top."""
        x, y, w, _h = self.outer_geometry(wid)
        self.desktop.xdotool("mousemove", "--sync", x + w - 11, y + 10, "click", 1)

    def close_by_frame(self, wid):
        """What a click on the close box does: openbox's Close action (Alt+F4)."""
        self.desktop.xdotool("windowactivate", "--sync", wid, "key", "alt+F4")

    def windows_appearing(self, known, seconds):
        """The visible windows not in `known` seen at any moment within `seconds`."""
        seen = set()
        deadline = time.monotonic() + seconds
        while time.monotonic() < deadline:
            seen.update(set(self.windows()) - set(known))
            time.sleep(0.05)
        return seen

    def open_menu(self, wid, x, y):
        """Releases the right button at client point (x, y); the popup menu's window."""
        known = self.windows()
        self.right_click(wid, x, y)
        return self.find_new_window(known)

    def choose(self, downs):
        """In the open popup menu: Down `downs` times, then Return."""
        self.desktop.xdotool("key", *(["Down"] * downs + ["Return"]))

    # -- pictures --------------------------------------------------------

    def screenshot(self, wid, path=None):
        """The window's client area as an Image (the PNG is kept at image.path)."""
        if path is None:
            self._shot += 1
            path = os.path.join(self._shot_dir, "shot-%03d.png" % self._shot)
        _run(["import", "-window", str(wid), path], env=self.desktop.tool_env())
        return Image(path)

    def text_track(self, wid, colour, duration, tolerance=24):
        """Screenshots for `duration` seconds: [(seconds since start, bbox of colour, Image)].

        Each time is the middle of its capture, so pace measurements are not
        skewed by how long a capture takes."""
        samples = []
        start = time.monotonic()
        while True:
            before = time.monotonic()
            image = self.screenshot(wid)
            after = time.monotonic()
            samples.append(((before + after) / 2 - start, image.bbox(colour, tolerance), image))
            if after - start >= duration:
                return samples


# ---------------------------------------------------------------------------
# Assistive technology: the AT-SPI tree as a screen reader reads it.

# The interpreter that has Debian's pyatspi, whatever runs the tests.
SYSTEM_PYTHON = "/usr/bin/python3"


def start_accessibility_bus():
    """Starts the session's accessibility bus (it is started on first request,
    and Qt only joins one that is already there). Raises unless the tests run
    on a session bus of their own, under dbus-run-session."""
    if not os.environ.get("DBUS_SESSION_BUS_ADDRESS"):
        raise RuntimeError("accessibility tests need a session bus: run them under "
                           "dbus-run-session")
    _run(["dbus-send", "--session", "--print-reply", "--dest=org.a11y.Bus", "/org/a11y/bus",
          "org.a11y.Bus.GetAddress"])


def atspi_tree(pid):
    """What assistive tools see of process pid: nested dicts with role, name,
    description, states, text, value, extents (screen pixels) and children;
    None while the program has not joined the accessibility bus.

    Read in a fresh process each time, so no cache outlives a change."""
    out = _run([SYSTEM_PYTHON, "-B", os.path.join(HERE, "harness.py"), "--atspi-tree", str(pid)],
               timeout=30)
    return json.loads(out)


def atspi_find(node, role=None, name=None):
    """Every node below (and including) node with this role and name."""
    found = []
    if node is None:
        return found
    if (role is None or node["role"] == role) and (name is None or node["name"] == name):
        found.append(node)
    for child in node["children"]:
        found.extend(atspi_find(child, role, name))
    return found


def _atspi_node(acc, depth=0):
    import pyatspi
    node = {"role": acc.getRoleName(), "name": acc.name or "",
            "description": acc.description or "",
            "states": sorted(pyatspi.stateToString(s) for s in acc.getState().getStates()),
            "text": None, "value": None, "extents": None, "children": []}
    try:
        text = acc.queryText()
        node["text"] = text.getText(0, -1)
    except NotImplementedError:
        pass
    try:
        node["value"] = acc.queryValue().currentValue
    except NotImplementedError:
        pass
    try:
        e = acc.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        node["extents"] = [e.x, e.y, e.width, e.height]
    except NotImplementedError:
        pass
    if depth < 12:
        node["children"] = [_atspi_node(acc.getChildAtIndex(i), depth + 1)
                            for i in range(acc.childCount)]
    return node


def _atspi_main(pid):
    import pyatspi
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.get_process_id() == pid:
            return _atspi_node(app)
    return None


# ---------------------------------------------------------------------------
# unittest glue.

class DesktopTestCase(unittest.TestCase):
    """A test class with one Desktop for all its tests and a fresh directory per test."""

    desktop = None

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        missing = [tool for tool in ("Xvfb", "openbox", "xdotool", "xwininfo", "xprop", "import")
                   if shutil.which(tool) is None]
        if missing:
            raise RuntimeError("end-to-end tests need these tools: %s" % ", ".join(missing))
        if not os.access(velmora_path(), os.X_OK):
            raise RuntimeError("no program to test at %s (set VELMORA_EXE)" % velmora_path())
        cls.desktop = Desktop()
        cls.desktop.__enter__()
        cls.addClassCleanup(cls.desktop.stop)

    def setUp(self):
        super().setUp()
        self.dir = os.path.realpath(tempfile.mkdtemp(prefix="run-", dir=self.desktop.scratch))

    def launch(self, files, directory=None, args=(), env=None):
        app = self.desktop.launch(directory or self.dir, files, args, env)
        self.addCleanup(app.kill)
        return app

    def disk_dir(self):
        """self.dir, or where that is on tmpfs (which may refuse chattr) an empty
        directory beside the program instead."""
        if _run(["stat", "-f", "-c", "%T", self.dir]).strip() != "tmpfs":
            return self.dir
        path = tempfile.mkdtemp(prefix="velmora-e2e-", dir=os.path.dirname(velmora_path()))
        self.addCleanup(shutil.rmtree, path, True)
        return path

    def make_immutable(self, path):
        """Makes path unwritable even for root (chattr +i) until the test ends;
        skips the test where the file system refuses that."""
        result = subprocess.run(["chattr", "+i", path], stdout=subprocess.PIPE,
                                stderr=subprocess.PIPE)
        if result.returncode != 0:
            self.skipTest("chattr +i refused on %s: %s" % (path, result.stderr.decode().strip()))
        self.addCleanup(subprocess.run, ["chattr", "-i", path])

    def fresh_dir(self):
        """Another empty directory, for tests that start the program more than once."""
        return os.path.realpath(tempfile.mkdtemp(prefix="run-", dir=self.desktop.scratch))


if __name__ == "__main__":
    import sys
    if len(sys.argv) == 3 and sys.argv[1] == "--atspi-tree":
        print(json.dumps(_atspi_main(int(sys.argv[2]))))
    else:
        sys.exit("usage: harness.py --atspi-tree PID")
