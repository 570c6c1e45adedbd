# SPDX-License-Identifier: MIT
"""The setup dialog, opened from the sign's popup menu: where it stands, its
three pages worked by keyboard and mouse, ＯＫ with the two files it rewrites
or fails to rewrite, and the ways out that change nothing."""

import os
import time
import unittest

import harness as h
from harness import SETTINGS_FILE as INI, MESSAGE_FILE as TXT, bgr

SETUP_TITLE = "設定画面"
GREEN, BLACK, RED, WHITE = (0, 255, 0), (0, 0, 0), (255, 0, 0), (255, 255, 255)
# The swatches from the left; the first is the system window colour, white here.
PALETTE = [WHITE, (255, 255, 0), GREEN, (0, 255, 255), (0, 0, 255), (255, 0, 255), RED, BLACK]
SYSTEM_WINDOW_COLOUR = -2147483643
# Client pixels: the tab control's pages start at (8, 16).
OK_BUTTON, CANCEL_BUTTON = (48 + 48, 136 + 14), (152 + 48, 136 + 14)
FORE_ROW, BACK_ROW = 16 + 48 + 8, 16 + 88 + 8


def swatch(i, row):
    return 8 + 24 + 24 * i + 8, row


class SetupDialogTest(h.DesktopTestCase):

    def start(self, speed, message):
        app = self.launch({INI: h.settings_bytes(1200, 600, 9000, 900, speed, bgr(*GREEN), 0),
                           TXT: h.message_bytes(message)})
        wid = app.sign_window()
        seen = h.settle(lambda: app.outer_geometry(wid), lambda g: g == (40, 80, 600, 60), 3.0)
        self.assertEqual(seen, (40, 80, 600, 60))
        return app, wid

    def open_setup(self, app, wid):
        """Chooses 設定 from the popup; checks the dialog stands on the sign's
        corner with its designed size and that the sign is hidden."""
        corner = app.outer_geometry(wid)[:2]
        app.open_menu(wid, 560, 17)
        app.choose(1)
        dlg = app.find_window(SETUP_TITLE)
        outer = h.settle(lambda: app.outer_geometry(dlg), lambda g: g[:2] == corner, 3.0)
        self.assertEqual(outer[:2], corner, "dialog's outer corner on the sign's")
        self.assertEqual(app.client_geometry(dlg)[2:], (259, 168))
        visible = h.settle(app.windows, lambda w: wid not in w, 3.0)
        self.assertNotIn(wid, visible, "the sign stays visible behind the dialog")
        return dlg

    def edit(self, app, dlg, text, shots=False):
        """Types text into the message box, puts the slider at its fast end and
        picks red text on the white swatch, all through the dialog's pages."""
        def shoot(name):
            if shots:
                h.save_shot(app.screenshot(dlg).path, name)
        shoot("setup-message-page.png")
        # The focus starts on the tab strip; Tab reaches the text box.
        app.key(dlg, "Tab", "ctrl+a")
        app.desktop.xdotool("type", "--delay", "20", text)
        # Right on the strip turns the page; Tab then reaches that page's slider.
        app.key(dlg, "shift+Tab", "Right", "Tab", "End")
        shoot("setup-speed-page.png")
        app.key(dlg, "shift+Tab", "Right")
        image = app.screenshot(dlg)
        for row, name in ((FORE_ROW, "text"), (BACK_ROW, "background")):
            for i, colour in enumerate(PALETTE):
                self.assertTrue(image.matches(*swatch(i, row), colour, 8), "%s swatch %d shows %r"
                                % (name, i, image.pixel(*swatch(i, row))))
        self.check_previews(image, GREEN, BLACK)
        app.click(dlg, *swatch(6, FORE_ROW))
        app.click(dlg, *swatch(0, BACK_ROW))
        self.check_previews(app.screenshot(dlg), RED, WHITE)
        shoot("setup-colour-page.png")

    def check_previews(self, image, fore, back):
        for y, colour in ((16 + 32 + 4, fore), (16 + 72 + 4, back)):
            self.assertTrue(image.matches(8 + 72 + 68, y, colour, 8),
                            "preview bar at y=%d shows %r, wanted %r"
                            % (y, image.pixel(8 + 72 + 68, y), colour))

    def wait_back(self, app, wid, dlg):
        h.wait_for(lambda: wid in app.windows() and dlg not in app.windows(), 5.0,
                   "the dialog to close and the sign to come back")

    def test_ok_stores_message_speed_and_colours_and_shows_them(self):
        app, wid = self.start(20000, "元の文字列")
        # Let the old message reach the left half first, so that a sign that
        # kept its position through ＯＫ would show the new text there.
        shot = h.settle(lambda: app.screenshot(wid), lambda im: (im.bbox(GREEN) or (999,))[0] < 250,
                        8.0)
        self.assertLess((shot.bbox(GREEN) or (999,))[0], 250)
        dlg = self.open_setup(app, wid)
        # Why: the blank after the closing quote was refused as it was typed;
        # the text is judged when it is stored, and this one is stored
        # unquoted, which reads back the same.
        self.edit(app, dlg, 'Say "hi" there', shots=True)
        app.click(dlg, *OK_BUTTON)
        self.wait_back(app, wid, dlg)

        self.assertEqual(app.outer_geometry(wid), (40, 80, 600, 60), "sign moved or resized")
        files = h.snapshot(self.dir)
        self.assertEqual(files[TXT], b'Say "hi" there\r\n')
        self.assertEqual(files[INI], h.settings_bytes(1200, 600, 9000, 900, 30000,
                                                      bgr(*RED), SYSTEM_WINDOW_COLOUR))
        # The new message enters at the right edge, red on white.
        samples = app.text_track(wid, RED, 1.0)
        seen = [(t, box, im) for t, box, im in samples if box]
        self.assertTrue(seen, "no red text within a second of ＯＫ")
        _t, box, image = seen[0]
        self.assertGreater(box[0], 598 - 120, "red text first seen at %r" % (box,))
        self.assertGreater(image.fraction(WHITE, tolerance=8), 0.8, "background not white")
        h.save_shot(image.path, "sign-after-setup-ok.png")

    def test_cancel_esc_and_alt_f4_change_nothing_while_the_hidden_sign_scrolls_on(self):
        # 80 px a second; the text, about 100 px wide, comes round every 9 s.
        app, wid = self.start(12000, "HHHH")
        app.move(wid, 300, 500)
        geometry = h.settle(lambda: app.outer_geometry(wid), lambda g: g[:2] != (40, 80), 3.0)
        before = h.snapshot(self.dir)
        leaves = [("キャンセル", lambda dlg: app.click(dlg, *CANCEL_BUTTON)),
                  ("Esc", lambda dlg: app.key(dlg, "Escape")),
                  ("Alt+F4", app.close_by_frame)]
        for name, leave in leaves:
            with self.subTest(leave=name):
                # Catch the text wholly in view in the right part, so that where
                # it is afterwards tells how far it went while the sign was hidden.
                shot = h.settle(lambda: app.screenshot(wid),
                                lambda im: 380 <= (im.bbox(GREEN) or (0,))[0] <= 500, 12.0)
                left_before, t0 = shot.bbox(GREEN)[0], time.monotonic()
                dlg = self.open_setup(app, wid)
                self.edit(app, dlg, "changed")
                leave(dlg)
                self.wait_back(app, wid, dlg)
                elapsed = time.monotonic() - t0
                after = app.screenshot(wid)
                self.assertEqual(app.outer_geometry(wid), geometry)
                self.assertEqual(h.snapshot(self.dir), before, "files written")
                self.assertGreater(after.fraction(BLACK, tolerance=8), 0.8, "background changed")
                box = after.bbox(GREEN)
                self.assertIsNotNone(box, "no green text after leaving the dialog")
                self.assertGreater(left_before - box[0], 0.6 * 80 * elapsed,
                                   "the text stood still while hidden: %d -> %d in %.1f s"
                                   % (left_before, box[0], elapsed))
        # Whatever was edited did not reach the settings either: quitting
        # stores the speed and colours read at start-up.
        app.open_menu(wid, 560, 17)
        app.choose(3)
        self.assertEqual(app.wait_exit(), 0)
        x, y, w, hgt = geometry
        self.assertEqual(h.snapshot(self.dir)[INI],
                         h.settings_bytes(y * 15, x * 15, w * 15, hgt * 15, 12000, 65280, 0))

    def test_failed_save_keeps_the_dialog_open_and_cancel_gives_back_the_sign(self):
        self.dir = self.disk_dir()
        app, wid = self.start(9000, "HHHH")
        self.make_immutable(os.path.join(self.dir, INI))
        before = h.snapshot(self.dir)
        dlg = self.open_setup(app, wid)
        self.edit(app, dlg, "Hello")
        app.click(dlg, *OK_BUTTON)
        box = app.find_window(h.ERROR_TITLE)
        h.save_shot(app.screenshot(box).path, "setup-save-failed.png")
        self.assertEqual(sorted(app.titled()), sorted([(dlg, SETUP_TITLE), (box, h.ERROR_TITLE)]))
        app.key(box, "Return")
        h.wait_for(lambda: box not in app.windows(), 5.0, "the error box to close")
        time.sleep(0.3)
        self.assertEqual(app.titled(), [(dlg, SETUP_TITLE)], "dialog open, sign hidden")
        self.assertEqual(h.snapshot(self.dir), before, "the message file was written")

        app.click(dlg, *CANCEL_BUTTON)
        self.wait_back(app, wid, dlg)
        # The old message in the old colours: green on black.
        image = h.settle(lambda: app.screenshot(wid), lambda im: im.bbox(GREEN), 3.0)
        self.assertIsNotNone(image.bbox(GREEN))
        self.assertGreater(image.fraction(BLACK, tolerance=8), 0.8)


if __name__ == "__main__":
    unittest.main()
