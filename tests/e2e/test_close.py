# SPDX-License-Identifier: MIT
"""Quitting by the window's close box: the settings file receives the window's
outer position and size at that moment, everything else as it was read, and
the program exits with status 0 without touching the message file."""

import os
import shutil
import time
import unittest

import harness as h
from harness import SETTINGS_FILE as INI, MESSAGE_FILE as TXT

MESSAGE = h.message_bytes("閉じるテスト, close test")


class CloseBoxTest(h.DesktopTestCase):

    def run_and_close(self, settings, expect_start, data_dir=".", actions=(),
                      close=lambda app, wid: app.close_by_frame(wid)):
        """Starts the sign, checks it stands at expect_start (outer x, y, width,
        height in pixels), applies actions (callables taking app, wid), closes
        it by the close box and returns (geometry at the close, files before)."""
        files = {INI: settings, os.path.join(data_dir, TXT): MESSAGE}
        h.write_files(self.dir, files)
        before = h.snapshot(self.dir)
        app = self.launch({})
        wid = app.sign_window()
        start = h.settle(lambda: app.outer_geometry(wid), lambda g: g == expect_start, 3.0)
        self.assertEqual(start, expect_start, "outer frame at start-up")
        for action in actions:
            previous = app.outer_geometry(wid)
            action(app, wid)
            changed = h.settle(lambda: app.outer_geometry(wid), lambda g: g != previous, 3.0)
            self.assertNotEqual(changed, previous, "the window did not move or resize")
        # A user's click on the close box comes a moment after the last drag.
        time.sleep(0.2)
        geometry = app.outer_geometry(wid)
        close(app, wid)
        status = app.wait_exit()
        self.assertEqual(status, 0, "exit status after the close box; stderr: %r" % app.stderr())
        return geometry, before

    def check_saved(self, before, geometry, speed, fore, back, directory, data_dir=".",
                    quoted=True):
        x, y, w, hgt = geometry
        after = h.snapshot(self.dir)
        self.assertEqual(sorted(after), sorted(before), "files appeared or vanished")
        expected = h.settings_bytes(y * 15, x * 15, w * 15, hgt * 15, speed, fore, back, directory,
                                    quoted)
        self.assertEqual(after[INI], expected, "settings file after closing at %r px" % (geometry,))
        message = os.path.join(data_dir, TXT)
        self.assertEqual(after[os.path.normpath(message)], before[os.path.normpath(message)],
                         "the message file must not be written on quitting")

    def test_close_box_saves_current_geometry_and_keeps_the_rest(self):
        move = lambda app, wid: app.move(wid, 200, 400)
        resize = lambda app, wid: app.resize(wid, 500, 50)
        # (name, top, left, width, height, speed, fore, back, directory as read,
        #  directory as saved, data dir on disk, actions)
        cases = [
            ("moved", 1200, 600, 9000, 900, 3000, 65280, 0, "CurDir", "CurDir", ".", [move]),
            ("moved and resized", 1200, 600, 9000, 900, 3000, 65280, 0, "CurDir", "CurDir", ".",
             [move, resize]),
            ("relative data directory kept", 1500, 300, 6000, 750, 450, 255, 16777215,
             "msgs", "msgs", "msgs", [move]),
            # A system colour reference is negative and must be written back as
            # such, not as an unsigned number or a resolved RGB value.
            ("system colour and slow speed kept", 1500, 300, 6000, 750, 1, 65535, -2147483643,
             "CurDir", "CurDir", ".", [resize]),
            ("Japanese data directory kept", 1500, 300, 6000, 750, 3000, 65280, 0,
             "データ置き場", "データ置き場", "データ置き場", [move]),
        ]
        for (name, top, left, width, height, speed, fore, back, read_dir, saved_dir, data_dir,
             actions) in cases:
            with self.subTest(name):
                self.dir = self.fresh_dir()
                geometry, before = self.run_and_close(
                    h.settings_bytes(top, left, width, height, speed, fore, back, read_dir),
                    expect_start=(left // 15, top // 15, width // 15, height // 15),
                    data_dir=data_dir, actions=actions)
                self.check_saved(before, geometry, speed, fore, back, saved_dir, data_dir)

    # Why: a hand-edited line 8 holding a double quote, unquoted, read fine
    # but could never be saved again, so every quit lost the window's place.
    def test_unquoted_directory_holding_a_quote_is_saved(self):
        geometry, before = self.run_and_close(
            h.settings_bytes(1200, 600, 9000, 900, 3000, 65280, 0, 'say"hi', quoted=False),
            expect_start=(40, 80, 600, 60), data_dir='say"hi',
            actions=[lambda app, wid: app.move(wid, 300, 500)])
        self.check_saved(before, geometry, 3000, 65280, 0, 'say"hi', data_dir='say"hi',
                         quoted=False)

    def test_mouse_click_on_the_close_box(self):
        geometry, before = self.run_and_close(
            h.settings_bytes(1200, 600, 9000, 900, 3000, 65280, 0),
            expect_start=(40, 80, 600, 60),
            actions=[lambda app, wid: app.move(wid, 300, 500)],
            close=lambda app, wid: app.click_close_box(wid))
        self.check_saved(before, geometry, 3000, 65280, 0, "CurDir")

    def test_start_directory_spelled_out_is_saved_as_curdir(self):
        # Line 8 naming the start directory itself reads the same as "CurDir",
        # and the next save writes the short form.
        geometry, before = self.run_and_close(
            h.settings_bytes(1200, 600, 9000, 900, 3000, 65280, 0, self.dir),
            expect_start=(40, 80, 600, 60))
        self.check_saved(before, geometry, 3000, 65280, 0, "CurDir")

    def test_hand_written_layout_is_saved_in_the_program_s_own_layout(self):
        # Items on one line with commas, an unquoted directory and a stray
        # ninth line: all accepted on reading, all normalised on saving.
        settings = b"1200, 600,9000,900 ,3000,65280,0,CurDir\r\nleftover\r\n"
        geometry, before = self.run_and_close(settings, expect_start=(40, 80, 600, 60))
        self.assertEqual(geometry, (40, 80, 600, 60))
        self.check_saved(before, geometry, 3000, 65280, 0, "CurDir")

    def test_window_partly_off_screen_saves_negative_numbers(self):
        cases = [
            # Started there: the frame stands 30 px left of and 20 px above the screen.
            ("started off the top-left corner", (-300, -450), [], (-30, -20, 600, 60)),
            # Moved there by the user.
            ("moved off the top-left corner", (1200, 600),
             [lambda app, wid: app.move(wid, -40, -10)], None),
        ]
        for name, (top, left), actions, expect_close in cases:
            with self.subTest(name):
                self.dir = self.fresh_dir()
                geometry, before = self.run_and_close(
                    h.settings_bytes(top, left, 9000, 900, 3000, 65280, 0),
                    expect_start=(left // 15, top // 15, 600, 60), actions=actions)
                if expect_close:
                    self.assertEqual(geometry, expect_close)
                self.assertLess(geometry[0], 0, "frame's left edge off the screen")
                self.assertLess(geometry[1], 0, "frame's top edge off the screen")
                self.check_saved(before, geometry, 3000, 65280, 0, "CurDir")
                if not actions:
                    # Unmoved, the file comes back exactly as it was.
                    self.assertEqual(h.snapshot(self.dir)[INI], before[INI])

    # Why: once its directory was removed the sign knew no current directory
    # and wrote "/Velmora.ini" at 終了 (and followed an old one there).
    def test_removed_directory_fails_the_save_and_writes_nowhere(self):
        root_file = "/Velmora.ini"
        root_before = os.stat(root_file).st_mtime_ns if os.path.exists(root_file) else None
        h.write_files(self.dir, {INI: h.settings_bytes(1200, 600, 9000, 900), TXT: MESSAGE})
        app = self.launch({})
        wid = app.sign_window()
        shutil.rmtree(self.dir)
        time.sleep(0.5)  # the follower sees the directory go
        app.close_by_frame(wid)
        self.assertEqual(app.wait_exit(), 0)
        self.assertFalse(os.path.exists(self.dir), "the directory was made again")
        root_after = os.stat(root_file).st_mtime_ns if os.path.exists(root_file) else None
        self.assertEqual(root_after, root_before, "a settings file was written in /")
        lines = app.stderr().splitlines()
        self.assertTrue(any(line.startswith("velmora: cannot save the settings: " + self.dir)
                            and "removed" in line for line in lines), lines)
        self.assertFalse(any(" /Velmora" in line for line in lines), lines)
        follow = [line for line in lines if "cannot follow the settings file" in line]
        self.assertLessEqual(len(follow), 1, "the follower repeats itself: %r" % follow)


if __name__ == "__main__":
    unittest.main()
