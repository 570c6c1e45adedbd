# SPDX-License-Identifier: MIT
"""The program as a desktop starts it: the menu's command on a fresh account,
the options that need no display, and the end of the session."""

import os
import shutil
import signal
import stat
import subprocess
import time
import unittest

import harness as h
from harness import SETTINGS_FILE as INI, MESSAGE_FILE as TXT

EXAMPLES = os.path.join(os.path.dirname(os.path.abspath(__file__)), os.pardir, os.pardir,
                        "examples")
GREEN = (0, 255, 0)


class DesktopTest(h.DesktopTestCase):

    def test_help_and_version_need_no_display(self):
        env = {k: v for k, v in os.environ.items()
               if k not in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM")}
        for args, expected in ((["--help"], "--directory"), (["--version"], "velmora 1.")):
            result = subprocess.run([h.velmora_path()] + args, env=env, capture_output=True,
                                    timeout=10)
            self.assertEqual(result.returncode, 0, result.stderr)
            self.assertIn(expected, result.stdout.decode())
        result = subprocess.run([h.velmora_path(), "--no-such-option"], env=env,
                                capture_output=True, timeout=10)
        self.assertEqual(result.returncode, 2)
        self.assertEqual(len(result.stderr.decode().splitlines()), 1, result.stderr)

    # Why: without a display the program died in Qt's abort, status 134, with
    # Qt's own lines and a core dump; it must say why in one line and end
    # with status 1, and --set-message must still work.
    def test_without_a_display_one_line_and_status_1(self):
        h.write_files(self.dir, {INI: h.settings_bytes(), TXT: h.message_bytes("old")})
        env = {k: v for k, v in os.environ.items()
               if k not in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM")}
        env["XDG_CONFIG_HOME"] = self.fresh_dir()
        for args in ([], ["--user"], ["-C", self.dir]):
            with self.subTest(args=args):
                result = subprocess.run([h.velmora_path()] + args, cwd=self.dir, env=env,
                                        capture_output=True, timeout=10)
                self.assertEqual(result.returncode, 1, result.stderr)
                lines = result.stderr.decode().splitlines()
                self.assertEqual(len(lines), 1, lines)
                self.assertRegex(lines[0], r"^velmora: cannot start: .*no display")
        result = subprocess.run([h.velmora_path(), "--set-message", "new"], cwd=self.dir,
                                env=env, capture_output=True, timeout=10)
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertEqual(h.snapshot(self.dir)[TXT], h.message_bytes("new"))

    def test_menu_command_on_a_fresh_account_seeds_and_then_keeps_the_files(self):
        # The menu starts "velmora --user" in the home directory; the example
        # files are found where the package installs them.
        home = self.fresh_dir()
        data = os.path.join(self.fresh_dir(), "velmora")
        shutil.copytree(EXAMPLES, data)
        env = {"HOME": home, "XDG_CONFIG_HOME": os.path.join(home, ".config"),
               "XDG_DATA_DIRS": os.path.dirname(data)}
        config = os.path.join(home, ".config", "velmora")

        app = self.launch({}, home, ["--user"], env)
        wid = app.sign_window()
        for name in (INI, TXT):
            with open(os.path.join(config, name), "rb") as f, \
                    open(os.path.join(EXAMPLES, name), "rb") as g:
                self.assertEqual(f.read(), g.read(), "%s seeded from the examples" % name)
        image = h.settle(lambda: app.screenshot(wid), lambda im: im.bbox(GREEN) is not None, 5.0)
        self.assertIsNotNone(image.bbox(GREEN), "the example message is not on the screen")
        h.save_shot(image.path, "first-start.png")
        start = app.outer_geometry(wid)
        app.move(wid, 333, 222)
        moved = h.settle(lambda: app.outer_geometry(wid), lambda g: g != start, 3.0)
        self.assertNotEqual(moved, start)
        time.sleep(0.2)
        moved = app.outer_geometry(wid)
        app.close_by_frame(wid)
        self.assertEqual(app.wait_exit(), 0, app.stderr())

        # The second start uses the files as the first left them.
        shutil.rmtree(data)
        again = self.launch({}, home, ["--user"], env)
        wid = again.sign_window()
        seen = h.settle(lambda: again.outer_geometry(wid), lambda g: g == moved, 3.0)
        self.assertEqual(seen, moved)

    # Why: the sign disappeared behind other windows, with no way to keep it
    # on top; the option is applied at once, whenever velmora.conf changes,
    # without moving the window.
    def test_stay_on_top_follows_the_options_file(self):
        def above(app, wid):
            out = subprocess.run(["xprop", "-id", str(wid), "_NET_WM_STATE"],
                                 env=self.desktop.tool_env(), capture_output=True,
                                 text=True).stdout
            return "_NET_WM_STATE_ABOVE" in out

        options = os.path.join(self.dir, "velmora.conf")
        with open(options, "w") as f:
            f.write("[sign]\nstay_on_top=true\n")
        app = self.launch({INI: h.settings_bytes(1200, 600, 9000, 900),
                           TXT: h.message_bytes("on top")})
        wid = app.sign_window()
        h.wait_for(lambda: above(app, wid), 3.0, "_NET_WM_STATE_ABOVE at start-up")
        geometry = app.outer_geometry(wid)
        for on in (False, True, False):
            with open(options, "w") as f:
                f.write("[sign]\nstay_on_top=%s\nsmooth_motion=true\n" % str(on).lower())
            h.wait_for(lambda: above(app, wid) == on, 3.0, "the window's state to follow")
            self.assertEqual(app.outer_geometry(wid), geometry, "the window moved")
        self.assertIn(wid, app.windows(), "one sign window, still there")

    # Why: the user's directory followed the umask but its files were always
    # 0644, readable by everyone even under umask 077.
    def test_user_directory_is_private_and_its_files_follow_the_umask(self):
        data = os.path.join(self.fresh_dir(), "velmora")
        shutil.copytree(EXAMPLES, data)
        for mask, file_mode in ((0o077, 0o600), (0o022, 0o644), (0o000, 0o666)):
            with self.subTest(umask=oct(mask)):
                home = self.fresh_dir()
                env = dict(os.environ, HOME=home, XDG_CONFIG_HOME=os.path.join(home, ".config"),
                           XDG_DATA_DIRS=os.path.dirname(data), LC_ALL="C.UTF-8")
                result = subprocess.run(
                    [h.velmora_path(), "--user", "--set-message", "private"], env=env,
                    capture_output=True, timeout=10, preexec_fn=lambda: os.umask(mask))
                self.assertEqual(result.returncode, 0, result.stderr)
                config = os.path.join(home, ".config", "velmora")
                self.assertEqual(stat.S_IMODE(os.stat(config).st_mode), 0o700)
                for name in (INI, TXT):
                    self.assertEqual(stat.S_IMODE(os.stat(os.path.join(config, name)).st_mode),
                                     file_mode, name)

    def test_set_message_from_standard_input(self):
        h.write_files(self.dir, {INI: h.settings_bytes(), TXT: h.message_bytes("old")})
        env = dict(os.environ, LC_ALL="C.UTF-8")
        for given, status, stored in (("標準入力から, stdin\n", 0, "標準入力から, stdin"),
                                      ("no line end", 0, "no line end"),
                                      ("two\nlines\n", 1, "no line end")):
            with self.subTest(given=given):
                result = subprocess.run([h.velmora_path(), "-C", self.dir, "--set-message", "-"],
                                        input=given.encode(), env=env, capture_output=True,
                                        timeout=10)
                self.assertEqual(result.returncode, status, result.stderr)
                self.assertEqual(h.snapshot(self.dir)[TXT], h.message_bytes(stored))

    # Why: a diagnostic printed a 4,000-character path whole.
    def test_long_paths_are_cut_in_diagnostics(self):
        deep = os.path.join(self.dir, "d" * 200, "e" * 200)
        os.makedirs(deep)
        result = subprocess.run([h.velmora_path(), "-C", deep, "--set-message", "x"],
                                capture_output=True, timeout=10)
        self.assertEqual(result.returncode, 1)
        line = result.stderr.decode()
        self.assertEqual(len(line.splitlines()), 1, line)
        self.assertIn("…", line)
        self.assertIn(INI, line)
        self.assertLess(len(line), 250, line)

    # Why: logging out ended the program without saving where the user had
    # put the window.
    def test_end_of_session_saves_the_live_geometry(self):
        for sig in (signal.SIGTERM, signal.SIGHUP):
            with self.subTest(signal=sig.name):
                self.dir = self.fresh_dir()
                app = self.launch({INI: h.settings_bytes(1200, 600, 9000, 900, 3000, 65280, 0),
                                   TXT: h.message_bytes("さようなら")})
                wid = app.sign_window()
                app.move(wid, 250, 150)
                geometry = h.settle(lambda: app.outer_geometry(wid),
                                    lambda g: g[:2] == (250, 150), 3.0)
                before = h.snapshot(self.dir)
                app.process.send_signal(sig)
                # A second signal during the save must not cut it short.
                app.process.send_signal(sig)
                self.assertEqual(app.wait_exit(), 0, app.stderr())
                x, y, w, hgt = geometry
                after = h.snapshot(self.dir)
                self.assertEqual(after[INI], h.settings_bytes(y * 15, x * 15, w * 15, hgt * 15,
                                                              3000, 65280, 0))
                self.assertEqual(after[TXT], before[TXT])


if __name__ == "__main__":
    unittest.main()
