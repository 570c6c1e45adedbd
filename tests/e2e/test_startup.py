# SPDX-License-Identifier: MIT
"""Start-up with good files: where the sign window stands, how big it is, and
what it shows in its first seconds."""

import unittest

import harness as h
from harness import bgr

BLACK = (0, 0, 0)
GREEN = (0, 255, 0)


class StartupGeometryTest(h.DesktopTestCase):

    # (top, left, width, height) in twips, all multiples of 15 so that the
    # window's pixels are exact.
    GEOMETRIES = [
        ("the sample file's strip", (1200, 600, 9000, 900)),
        ("a taller box further right", (3000, 4500, 6000, 1500)),
        ("the screen's top-left corner", (0, 0, 4500, 600)),
    ]

    def test_frame_stands_at_stored_position_with_stored_outer_size(self):
        for name, (top, left, width, height) in self.GEOMETRIES:
            with self.subTest(name):
                app = self.launch({
                    h.SETTINGS_FILE: h.settings_bytes(top, left, width, height, 3000,
                                                      bgr(0, 255, 0), 0),
                    h.MESSAGE_FILE: h.message_bytes("Velmora test"),
                })
                wid = app.sign_window()
                expected = (left // 15, top // 15, width // 15, height // 15)
                # The outer size can be put right only once openbox has framed the
                # window, so allow the program a moment after mapping.
                seen = h.settle(lambda: app.outer_geometry(wid), lambda g: g == expected, 3.0)
                self.assertEqual(seen, expected, "outer frame (x, y, width, height) in pixels")
                self.assertEqual(app.frame_extents(wid), (1, 1, 20, 5),
                                 "openbox's usual title bar and border")
                self.assertEqual(app.titled(), [(wid, "Velmora")],
                                 "exactly one visible window, titled Velmora")
                app.kill()


class StartupAppearanceTest(h.DesktopTestCase):

    # Text and background colour as a user names them, and as RGB on screen.
    # The third pair has three different bytes in each colour, so a swap of
    # red and blue anywhere shows.
    COLOURS = [
        ("green on black", GREEN, BLACK),
        ("yellow on blue", (255, 255, 0), (0, 0, 255)),
        ("orange on dark teal", (255, 136, 0), (16, 80, 96)),
    ]

    def test_background_fills_client_and_text_enters_from_the_right(self):
        for name, text, back in self.COLOURS:
            with self.subTest(name):
                app = self.launch({
                    # 600 x 60 pixels outside, 598 x 35 inside; 20 pixels a second.
                    h.SETTINGS_FILE: h.settings_bytes(1200, 600, 9000, 900, 3000,
                                                      bgr(*text), bgr(*back)),
                    h.MESSAGE_FILE: h.message_bytes("HELLO Velmora"),
                })
                wid = app.sign_window()
                h.settle(lambda: app.outer_geometry(wid), lambda g: g[2:] == (600, 60), 3.0)

                first = h.settle(lambda: app.screenshot(wid),
                                 lambda im: im.fraction(back, tolerance=4) > 0.9, 2.0)
                self.assertEqual((first.width, first.height), (598, 35))
                self.assertGreater(first.fraction(back, tolerance=4), 0.9,
                                   "the client shows the background colour")
                # The message starts beyond the right edge: nothing of it (nor of any
                # placeholder text) may be seen in the left three quarters at first.
                self.assertIsNone(first.bbox(text, region=(0, 0, 448, 35)),
                                  "text seen away from the right edge right after start-up")

                arrived = h.settle(lambda: app.screenshot(wid),
                                   lambda im: im.bbox(text) is not None, 3.0)
                box = arrived.bbox(text)
                self.assertIsNotNone(box, "no pixel of the text colour within 3 s")
                self.assertGreaterEqual(box[0], 598 - 60, "text first appears at the right edge")
                self.assertGreater(arrived.fraction(back, tolerance=4), 0.75)

                later = h.settle(lambda: app.screenshot(wid),
                                 lambda im: (im.bbox(text) or box)[0] <= box[0] - 15, 3.0)
                later_box = later.bbox(text)
                self.assertIsNotNone(later_box)
                self.assertLessEqual(later_box[0], box[0] - 15, "the text moves left")
                h.save_shot(later.path, "sign-%s.png" % name.replace(" ", "-"))
                app.kill()


if __name__ == "__main__":
    unittest.main()
