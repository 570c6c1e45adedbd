# SPDX-License-Identifier: MIT
"""Scaled screens, by QT_SCALE_FACTOR or by the X resource Xft.dpi: starting
the sign and quitting it by 終了 without touching the window leaves both files
byte for byte as they were, and the window's icon offers crisp pictures above
32 pixels."""

import re
import time

import harness as h
from harness import SETTINGS_FILE as INI, MESSAGE_FILE as TXT

QUIT = 3
MESSAGE = h.message_bytes("拡大率テスト")


class ScaledScreenTest(h.DesktopTestCase):

    def set_xft_dpi(self, dpi):
        """Sets (or with None removes) Xft.dpi in the root window's resources,
        which Qt reads at start-up."""
        env = self.desktop.tool_env()
        if dpi is None:
            h._run(["xprop", "-root", "-remove", "RESOURCE_MANAGER"], env=env)
        else:
            h._run(["xprop", "-root", "-f", "RESOURCE_MANAGER", "8s", "-set", "RESOURCE_MANAGER",
                    "Xft.dpi:\t%d\n" % dpi], env=env)

    def start(self, scale, dpi, files):
        self.set_xft_dpi(dpi)
        self.addCleanup(self.set_xft_dpi, None)
        app = self.launch(files, env={"QT_SCALE_FACTOR": str(scale)} if scale else None)
        wid = app.sign_window()
        # The window manager frames the window and the program fits the outer
        # size to the frame within a second of showing it.
        h.wait_for(lambda: app.frame_extents(wid), 5.0, "openbox to frame the sign")
        time.sleep(1.2)
        return app, wid

    # Why: at 1.5 a width of 6000 twips came back as 5985, at 1.75 a top of
    # 1215 as 1230 (then 1245 on the next run) and a height of 615 as 600, at
    # 2 a left of -450 as -465: Qt's logical pixels, rounded apart for the
    # client area and for the frame, read one pixel off a window that had not
    # moved.
    def test_start_and_quit_change_no_byte_at_any_scale(self):
        # (QT_SCALE_FACTOR, Xft.dpi, top, left, width, height), in twips
        rows = [
            (1, None, 1200, 600, 6000, 600),
            (1.25, None, 1215, 615, 6015, 615),
            (1.5, None, 1200, 600, 6000, 600),
            (1.5, None, 1230, 630, 4530, 645),
            (1.75, None, 1215, 615, 6015, 615),
            (2, None, -300, -450, 9015, 915),
            (3, None, 1215, 615, 6015, 615),
            (None, 120, 1230, 630, 4530, 645),
            (None, 144, 1215, 615, 6015, 615),
            (None, 192, -315, -465, 9030, 930),
        ]
        for scale, dpi, top, left, width, height in rows:
            with self.subTest(scale=scale, dpi=dpi, geometry=(top, left, width, height)):
                self.dir = self.fresh_dir()
                files = {INI: h.settings_bytes(top, left, width, height), TXT: MESSAGE}
                h.write_files(self.dir, files)
                app, wid = self.start(scale, dpi, {})
                # Over the bottom row of the client area: the top or the left
                # of a window partly off the screen cannot be clicked.
                _x, _y, w, hgt = app.client_geometry(wid)
                app.open_menu(wid, w // 2, hgt - 2)
                app.choose(QUIT)
                self.assertEqual(app.wait_exit(), 0, "exit status; stderr: %r" % app.stderr())
                after = h.snapshot(self.dir)
                self.assertEqual(after[TXT], files[TXT], "message file")
                self.assertEqual(after[INI].decode("cp932").split("\r\n"),
                                 files[INI].decode("cp932").split("\r\n"), "settings file")
                self.assertEqual(after, files, "the files, byte for byte")

    # Why: the window icon was the 32-pixel picture alone, which a scaled
    # screen or a window manager could only enlarge into a blur.
    def test_window_icon_offers_crisp_pictures_above_32_pixels(self):
        app, wid = self.start(2, None, {INI: h.settings_bytes(), TXT: MESSAGE})
        out = h._run(["xprop", "-len", "4000000", "-id", str(wid), "-notype", "32c", "_NET_WM_ICON"],
                     env=self.desktop.tool_env())
        values = [int(v) for v in re.findall(r"\d+", out.partition("=")[2])]
        icons = {}
        while len(values) >= 2:
            w, hgt = values[:2]
            icons[(w, hgt)] = values[2:2 + w * hgt]
            values = values[2 + w * hgt:]
        # What a desktop at scale 2 shows for 32 and 64 logical pixels: the
        # 32-pixel art with each pixel repeated in a whole block, where
        # smoothing would blend the blocks' edges.
        for w in (64, 128):
            self.assertIn((w, w), sorted(icons), "sizes in _NET_WM_ICON")
            pixels, k = icons[(w, w)], w // 32
            blurred = [(x, y) for y in range(w) for x in range(w)
                       if pixels[y * w + x] != pixels[(y - y % k) * w + x - x % k]]
            self.assertEqual(blurred[:5], [], "%dx%d icon not in %dx%d blocks" % (w, w, k, k))

if __name__ == "__main__":
    import unittest
    unittest.main()
