# SPDX-License-Identifier: MIT
"""The running sign follows its files: another program's changes show at
once, half-written files never blank it, outside edits survive 終了, and
velmora --set-message drives it."""

import os
import subprocess
import time
import unittest

import harness as h
from harness import SETTINGS_FILE as INI, MESSAGE_FILE as TXT, bgr

GREEN = (0, 255, 0)
LONG = "H" * 40
SETUP_TITLE = "設定画面"


class FollowTest(h.DesktopTestCase):

    def start(self, message=LONG, speed=30000):
        app = self.launch({INI: h.settings_bytes(1200, 600, 9000, 900, speed, bgr(*GREEN), 0),
                           TXT: h.message_bytes(message)})
        wid = app.sign_window()
        return app, wid

    def text_box(self, app, wid):
        try:
            return app.screenshot(wid).bbox(GREEN)
        except RuntimeError:  # between frames of the window manager
            return None

    def wait_wide_text(self, app, wid):
        """Until the long message fills much of the strip."""
        return h.wait_for(lambda: (lambda b: b and b[2] - b[0] > 300)(self.text_box(app, wid)),
                          6.0, "the long message in view")

    def wait_short_text(self, app, wid, timeout):
        """Until only a short message shows: the long one spans far more."""
        return h.wait_for(lambda: (lambda b: b and b[2] - b[0] < 60)(self.text_box(app, wid)),
                          timeout, "the short message on screen")

    def write(self, name, data, atomic):
        path = os.path.join(self.dir, name)
        if atomic:
            with open(path + ".new", "wb") as f:
                f.write(data)
            os.rename(path + ".new", path)
        else:
            with open(path, "r+b") as f:
                f.truncate(0)
                f.write(data)

    # Why: the files were read only at start-up; a rewritten message file
    # changed nothing on the screen.
    def test_rewritten_message_shows_within_a_second(self):
        for atomic in (False, True):
            with self.subTest(atomic=atomic):
                self.dir = self.fresh_dir()
                app, wid = self.start()
                self.wait_wide_text(app, wid)
                self.write(TXT, h.message_bytes("H"), atomic)
                started = time.monotonic()
                self.wait_short_text(app, wid, 1.5)
                print("new message on screen after %.2f s" % (time.monotonic() - started))
                self.write(TXT, h.message_bytes(LONG), atomic)
                self.wait_wide_text(app, wid)

    def test_half_written_file_never_blanks_the_sign(self):
        app, wid = self.start()
        self.wait_wide_text(app, wid)
        path = os.path.join(self.dir, TXT)
        with open(path, "r+b") as f:
            f.truncate(0)
            f.flush()
            deadline = time.monotonic() + 0.8
            while time.monotonic() < deadline:
                box = self.text_box(app, wid)
                self.assertTrue(box is None or box[2] - box[0] > 60,
                                "the sign changed to an empty or broken message: %r" % (box,))
                time.sleep(0.05)
            f.write(h.message_bytes("H"))
        self.wait_short_text(app, wid, 1.5)
        # An empty file is one still being written: it is waited for, not
        # reported.
        self.assertNotIn("cannot follow the message file", app.stderr())

    def test_outside_speed_change_survives_quit(self):
        app, wid = self.start(speed=3000)
        self.write(INI, h.settings_bytes(1200, 600, 9000, 900, 1234, bgr(*GREEN), 0), True)
        time.sleep(0.6)
        geometry = app.outer_geometry(wid)
        app.close_by_frame(wid)
        self.assertEqual(app.wait_exit(), 0, app.stderr())
        x, y, w, hgt = geometry
        with open(os.path.join(self.dir, INI), "rb") as f:
            self.assertEqual(f.read(), h.settings_bytes(y * 15, x * 15, w * 15, hgt * 15, 1234,
                                                        bgr(*GREEN), 0))

    def test_setup_dialog_keeps_the_user_s_values(self):
        app, wid = self.start()
        self.wait_wide_text(app, wid)
        # キャンセル: the outside change applies when the dialog closes.
        app.open_menu(wid, 560, 17)
        app.choose(1)
        dlg = app.find_window(SETUP_TITLE)
        self.write(TXT, h.message_bytes("H"), True)
        time.sleep(0.6)
        app.key(dlg, "Escape")
        self.wait_short_text(app, wid, 2.0)
        # ＯＫ: the dialog's values win over a change made while it was open.
        app.open_menu(wid, 560, 17)
        app.choose(1)
        dlg = app.find_window(SETUP_TITLE)
        self.write(TXT, h.message_bytes(LONG), True)
        time.sleep(0.6)
        app.click(dlg, 48 + 48, 136 + 14)  # ＯＫ
        h.wait_for(lambda: dlg not in app.windows(), 5.0, "the dialog to close")
        time.sleep(0.6)
        with open(os.path.join(self.dir, TXT), "rb") as f:
            self.assertEqual(f.read(), h.message_bytes("H"))
        self.wait_short_text(app, wid, 2.0)

    def test_set_message_drives_the_running_sign(self):
        app, wid = self.start()
        self.wait_wide_text(app, wid)
        env = dict(self.desktop.app_env(), LC_ALL="C.UTF-8")

        def set_message(text):
            return subprocess.run([h.velmora_path(), "-C", self.dir, "--set-message", text],
                                  env=env, capture_output=True, timeout=10)

        result = set_message("夜")
        self.assertEqual(result.returncode, 0, result.stderr)
        with open(os.path.join(self.dir, TXT), "rb") as f:
            self.assertEqual(f.read(), h.message_bytes("夜"))
        self.wait_short_text(app, wid, 1.5)
        # Why: anything code page 932 cannot hold was refused; the file now
        # takes it in UTF-8 with the byte-order mark, and the sign shows it.
        for text in ("Grüße, café €5 안녕 😀", "مرحبا بالعالم، أهلا وسهلا"):
            with self.subTest(text=text):
                result = set_message(text)
                self.assertEqual(result.returncode, 0, result.stderr)
                with open(os.path.join(self.dir, TXT), "rb") as f:
                    self.assertEqual(f.read(), b"\xef\xbb\xbf" + ('"%s"\r\n' % text).encode())
                # Wider than "夜" could ever be: the new message is shown.
                self.wait_wide_text(app, wid)
        self.assertNotIn("cannot follow", app.stderr())
        result = set_message("夜")
        self.assertEqual(result.returncode, 0, result.stderr)
        stored = h.snapshot(self.dir)[TXT]
        # A quote beside a comma fits neither form of the file; the refusal
        # names the character and where it is.
        result = set_message('say "hi", then')
        self.assertEqual(result.returncode, 1)
        lines = result.stderr.decode().splitlines()
        self.assertEqual(len(lines), 1, lines)
        self.assertIn("character 9 ',' (U+002C)", lines[0])
        self.assertEqual(h.snapshot(self.dir)[TXT], stored)


if __name__ == "__main__":
    unittest.main()
