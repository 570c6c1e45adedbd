# SPDX-License-Identifier: MIT
"""Start-up with a missing or unreadable file: an error box, no sign window,
no file touched, exit status 1 once the box is dismissed."""

import os
import signal
import time
import unittest

import harness as h
from harness import SETTINGS_FILE as INI, MESSAGE_FILE as TXT

GOOD_INI = h.settings_bytes(1200, 600, 9000, 900, 3000, 65280, 0)
GOOD_TXT = h.message_bytes("Hello")


def ini_lines(*items):
    return "".join(item + "\r\n" for item in items).encode("cp932")


# What the line adds when the file is not there at all, and only then.
HOW_TO_START = ("(start your own sign with velmora --user, a sign in another directory with "
                "velmora -C DIR; see man velmora)")

# The CASES below whose file is not there (the rest are there but do not read).
MISSING = {"no settings file", "no message file", "relative data directory that does not exist",
           "lower-case curdir is a directory name"}


# (name, files in the start directory, file the complaint must name)
CASES = [
    ("no settings file", {TXT: GOOD_TXT}, INI),
    ("no message file", {INI: GOOD_INI}, TXT),
    ("settings file with seven items",
     {INI: ini_lines("1200", "600", "9000", "900", "3000", "65280", "0"), TXT: GOOD_TXT}, INI),
    ("empty settings file", {INI: b"", TXT: GOOD_TXT}, INI),
    ("top one past the 16-bit range",
     {INI: h.settings_bytes(32768, 600, 9000, 900, 3000, 65280, 0), TXT: GOOD_TXT}, INI),
    ("speed one below the 16-bit range",
     {INI: h.settings_bytes(1200, 600, 9000, 900, -32769, 65280, 0), TXT: GOOD_TXT}, INI),
    ("colour one past the 32-bit range",
     {INI: h.settings_bytes(1200, 600, 9000, 900, 3000, 2147483648, 0), TXT: GOOD_TXT}, INI),
    # The message file sits in the start directory, where a program that
    # ignored line 8 would find it.
    ("relative data directory that does not exist",
     {INI: h.settings_bytes(1200, 600, 9000, 900, 3000, 65280, 0, "nowhere"), TXT: GOOD_TXT},
     TXT),
    # Only "CurDir" exactly is the start directory; in another case it is a
    # directory name, and there is no such directory.
    ("lower-case curdir is a directory name",
     {INI: h.settings_bytes(1200, 600, 9000, 900, 3000, 65280, 0, "curdir"), TXT: GOOD_TXT},
     TXT),
    ("zero-byte message file", {INI: GOOD_INI, TXT: b""}, TXT),
    ("message with a lead byte before a space",
     {INI: GOOD_INI, TXT: b'"abc\x81 def"\r\n'}, TXT),
    ("message with an unassigned double-byte code",
     {INI: GOOD_INI, TXT: b'"abc\x85\x40"\r\n'}, TXT),
    # A path is cut at a NUL: line 8 "/x/victim\0" named /x/victim.
    ("data directory holding a NUL",
     {INI: h.settings_bytes(1200, 600, 9000, 900, 3000, 65280, 0, "/tmp/victim\0/x"),
      TXT: GOOD_TXT}, INI),
]


class StartupErrorTest(h.DesktopTestCase):

    def watch_titles(self, app, seen, until, timeout):
        """Records every visible window title of app until until() holds."""
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            titles = app.titled()
            seen.update(title for _, title in titles)
            result = until(titles)
            if result:
                return result
            time.sleep(0.03)
        return None

    def check_failed_start(self, files, named, dismiss, shot_name=None, reason=None,
                           status_wanted=1, missing=False):
        h.write_files(self.dir, files)
        before = h.snapshot(self.dir)
        started = time.monotonic()
        app = self.launch({})
        seen = set()

        def error_box(titles):
            return [wid for wid, title in titles if title == h.ERROR_TITLE]

        boxes = self.watch_titles(app, seen, error_box, h.WINDOW_TIMEOUT)
        self.assertTrue(boxes, "no error box; the program's windows were %r, status %r"
                        % (sorted(seen), app.process.poll()))
        self.assertEqual(len(boxes), 1)
        box = boxes[0]
        took = time.monotonic() - started
        with open("/proc/%d/status" % app.process.pid) as status:
            peak_kib = int(next(line.split()[1] for line in status if line.startswith("VmHWM:")))
        # The box is modal and the program waits on it: give a wrongly shown
        # sign window time to appear behind it.
        self.watch_titles(app, seen, lambda t: False, 0.4)
        self.assertTrue(app.running(), "the program must wait for the box to be dismissed")

        image = h.settle(lambda: app.screenshot(box),
                         lambda im: im.bbox((220, 0, 0), tolerance=60) is not None, 2.0)
        # The critical icon is a red disc on the left of the box.
        icon = image.bbox((220, 0, 0), tolerance=60)
        self.assertIsNotNone(icon, "no red critical icon in the error box")
        self.assertLess(icon[2], image.width // 3, "the icon stands on the left")
        if shot_name:
            h.save_shot(image.path, shot_name)

        dismiss(app, box, image)
        status = app.wait_exit()
        self.assertEqual(status, status_wanted, "exit status after the box was dismissed")
        self.assertNotIn(h.SIGN_TITLE, seen, "the sign window was shown")

        self.assertEqual(h.snapshot(self.dir), before,
                         "files changed, appeared or vanished in the start directory")

        lines = app.stderr().splitlines()
        self.assertEqual(len(lines), 1, "one line on stderr, got %r" % lines)
        self.assertTrue(lines[0].startswith("velmora: cannot start: "), lines[0])
        self.assertIn(named, lines[0], "the line names the file that failed")
        other = TXT if named == INI else INI
        self.assertNotIn(other, lines[0], "the line names only the file that failed")
        if reason:
            self.assertIn(reason, lines[0])
        if missing:
            self.assertTrue(lines[0].endswith(" " + HOW_TO_START), lines[0])
        else:
            self.assertNotIn("velmora --user", lines[0])
        return took, peak_kib, lines[0]

    def test_unreadable_files_end_with_error_box(self):
        for name, files, named in CASES:
            with self.subTest(name):
                self.dir = self.fresh_dir()
                # Why: a user who started the sign in the wrong directory was
                # told only that a file was missing, not how to start it.
                self.check_failed_start(
                    files, named, lambda app, box, image: app.key(box, "Return"),
                    shot_name="error-box.png" if name == "no settings file" else None,
                    missing=name in MISSING)

    # Why: such files were read until memory ran out, or blocked start-up in
    # open() for ever; each must fail at once, small, and say why.
    def test_odd_files_fail_fast_and_small(self):
        def fifo(path):
            os.mkfifo(path)

        def zeros(path):
            os.symlink("/dev/zero", path)

        def directory(path):
            os.mkdir(path)

        def long_line(size):
            def write(path):
                with open(path, "wb") as f:
                    f.write(b'"' + b"a" * size + b'"\r\n')
            return write

        cases = [
            ("FIFO without a writer", INI, fifo, "not a regular file"),
            ("link to /dev/zero", TXT, zeros, "not a regular file"),
            ("directory", INI, directory, "not a regular file"),
            ("20 MiB message", TXT, long_line(20 << 20), "file too large"),
            ("100 MB first line", TXT, long_line(100 * 1000 * 1000), "file too large"),
        ]
        for name, odd, make, reason in cases:
            with self.subTest(name):
                self.dir = self.fresh_dir()
                files = {INI: GOOD_INI, TXT: GOOD_TXT}
                del files[odd]
                make(os.path.join(self.dir, odd))
                took, peak_kib, line = self.check_failed_start(
                    files, odd, lambda app, box, image: app.key(box, "Return"), reason=reason)
                print("%s: box after %.2f s, peak %d MiB" % (name, took, peak_kib // 1024))
                self.assertLess(took, 2.0, "the box took too long")
                self.assertLess(peak_kib, 160 * 1024, "start-up used too much memory")
                self.assertLess(len(line), 400, "the diagnostic is not one short line")

    def test_absolute_data_directory_that_does_not_exist(self):
        missing = os.path.join(self.dir, "gone")
        self.check_failed_start(
            {INI: h.settings_bytes(1200, 600, 9000, 900, 3000, 65280, 0, missing),
             TXT: GOOD_TXT},
            TXT, lambda app, box, image: app.key(box, "Return"), missing=True)
        self.assertFalse(os.path.exists(missing), "the data directory must not be created")

    # Why: a stop signal while the start-up box was up ran 終了's save on a
    # record start-up had not filled: a good settings file lost its position
    # and size, a bad one was replaced by zeros, and an empty directory got a
    # settings file. Until the sign has started the files are not its own.
    def test_stop_signal_while_the_box_is_up_writes_nothing(self):
        cases = [
            ("SIGTERM, empty message file", signal.SIGTERM, {INI: GOOD_INI, TXT: b""}, TXT),
            ("SIGHUP, empty message file", signal.SIGHUP, {INI: GOOD_INI, TXT: b""}, TXT),
            ("SIGTERM, settings file with seven items", signal.SIGTERM,
             {INI: ini_lines("1200", "600", "9000", "900", "3000", "65280", "0"),
              TXT: GOOD_TXT}, INI),
            ("SIGINT, empty directory", signal.SIGINT, {}, INI),
        ]
        for name, sig, files, named in cases:
            with self.subTest(name):
                self.dir = self.fresh_dir()
                self.check_failed_start(
                    files, named, lambda app, box, image: app.process.send_signal(sig),
                    missing=not files)

    def test_clicking_ok_dismisses_the_box(self):
        def click_ok(app, box, image):
            # The OK button is the only thing at the bottom right (the reason's
            # text stands above it) that differs from the box's own
            # background, sampled at its corner.
            face = image.pixel(image.width - 2, image.height - 2)
            button = image.bbox_unlike(face, tolerance=10,
                                       region=(image.width // 2, image.height - 45,
                                               image.width - 1, image.height - 1))
            self.assertIsNotNone(button, "no OK button found in the error box")
            app.click(box, (button[0] + button[2]) // 2, (button[1] + button[3]) // 2)

        self.check_failed_start({TXT: GOOD_TXT}, INI, click_ok, missing=True)


if __name__ == "__main__":
    unittest.main()
