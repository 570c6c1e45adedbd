# SPDX-License-Identifier: MIT
"""Both dialogs in English (LANGUAGE=en), at scale 1 and 2, looked at for
captions that do not fit: each caption's text pixels must lie inside the room
its control has in the designed layout (a button's text clear of its edges, a
caption clear of the page's edges and of the colour preview beside it, one
run of text per tab and no scroll buttons at the end of the tab strip).

The harness's LC_ALL=C.UTF-8 keeps a UTF-8 character set on a machine with
no en_US locale; LANGUAGE, which the program reads first, chooses English."""

import time
import unittest

import harness as h
from harness import SETTINGS_FILE as INI, MESSAGE_FILE as TXT, bgr

ENGLISH = {"LANGUAGE": "en", "LANG": "en_US.UTF-8"}
GREEN, BLUE = (0, 255, 0), (0, 0, 255)

# (left, top, right, bottom), right and bottom excluded, in logical client
# pixels from the designed twips. The setup dialog's tab control stands at
# (8, 16), 241 x 113, its pages inside a two-pixel frame.
PAGE = (10, 18, 247, 127)
STRIP = (8, 16, 249, 42)
SETUP_BUTTONS = {"OK": (48, 136, 145, 161), "Cancel": (152, 136, 249, 161)}
# Caption rows: from a caption's top to the top of what stands under it.
CAPTION_ROWS = {"message": (64, 88), "speed": (64, 88)}
COLOUR_ROWS = {"text": ((48, 64), GREEN), "background": ((88, 104), BLUE)}
# The display page's three check boxes, each with its caption.
CHECK_ROWS = ((56, 73), (80, 97), (104, 121))
# The version dialog, 204 wide: (left, top, bottom) of each line, left of the
# product line being the icon's right edge.
VERSION_WIDTH = 204
VERSION_LINES = {"product line": (40, 22, 56), "copyright": (0, 54, 88)}
VERSION_OK = (56, 88, 153, 113)
# Text is drawn black; frames, borders and focus marks are lighter. A text
# cut by its button reaches the button's edge.
INK = 100
BUTTON_MARGIN = 4


def is_ink(r, g, b):
    return max(r, g, b) < INK


class EnglishInterfaceTest(h.DesktopTestCase):

    def open_dialog(self, scale, downs, title):
        env = dict(ENGLISH, **({"QT_SCALE_FACTOR": str(scale)} if scale != 1 else {}))
        app = self.launch({INI: h.settings_bytes(1200, 600, 9000, 900, 3000, bgr(*GREEN),
                                                 bgr(*BLUE)),
                           TXT: h.message_bytes("Hello")}, env=env)
        app.open_menu(app.sign_window(), 560, 17)
        app.choose(downs)
        dlg = app.find_window(title)
        time.sleep(0.3)
        return app, dlg

    def shot(self, app, dlg, name):
        image = app.screenshot(dlg)
        h.save_shot(image.path, "english-%s.png" % name)
        return image

    def assert_ink_within(self, image, scale, what, band, room):
        """The text pixels found in `band` are there and lie inside `room`."""
        box = image.bbox_where(is_ink, tuple(int(v * scale) for v in band))
        self.assertIsNotNone(box, "%s: no text at %r (%s)" % (what, band, image.path))
        r = tuple(int(v * scale) for v in room)
        self.assertTrue(r[0] <= box[0] and box[2] < r[2] and r[1] <= box[1] and box[3] < r[3],
                        "%s: text at %r, outside its room %r at %sx (%s)"
                        % (what, box, r, scale, image.path))

    def check_button(self, image, scale, name, rect):
        m = BUTTON_MARGIN
        self.assert_ink_within(image, scale, "button " + name, rect,
                               (rect[0] + m, rect[1] + m, rect[2] - m, rect[3] - m))

    def check_tabs(self, image, scale, count):
        self.assert_ink_within(image, scale, "tab strip", STRIP,
                               (STRIP[0] + 4, STRIP[1], STRIP[2] - 4, STRIP[3]))
        x0, y0, x1, y1 = (int(v * scale) for v in STRIP)
        columns = [x for x in range(x0, x1)
                   if any(is_ink(*image.pixel(x, y)) for y in range(y0, y1))]
        runs = 1 + sum(1 for a, b in zip(columns, columns[1:]) if b - a > 6 * scale)
        self.assertEqual(runs, count, "tab strip at %sx: %d runs of text, not one per tab (%s)"
                         % (scale, runs, image.path))

    def test_setup_dialog_captions_fit(self):
        for scale in (1, 2):
            with self.subTest(scale=scale):
                app, dlg = self.open_dialog(scale, 1, "Settings")
                self.assertEqual(app.client_geometry(dlg)[2:], (259 * scale, 168 * scale))
                for page in ("message", "speed", "colours", "display"):
                    image = self.shot(app, dlg, "setup-%s-x%d" % (page, scale))
                    if page == "message":
                        self.check_tabs(image, scale, 4)
                        for name, rect in SETUP_BUTTONS.items():
                            self.check_button(image, scale, name, rect)
                    if page in CAPTION_ROWS:
                        top, bottom = CAPTION_ROWS[page]
                        self.assert_ink_within(image, scale, page + " caption",
                                               (PAGE[0], top, PAGE[2], bottom),
                                               (PAGE[0] + 2, top, PAGE[2] - 2, bottom))
                    for top, bottom in CHECK_ROWS if page == "display" else ():
                        self.assert_ink_within(image, scale, "check box caption",
                                               (PAGE[0], top, PAGE[2], bottom),
                                               (PAGE[0] + 2, top, PAGE[2] - 2, bottom))
                    for what, ((top, bottom), colour) in COLOUR_ROWS.items():
                        if page != "colours":
                            break
                        # Left of its colour preview, with a gap.
                        band = (PAGE[0], top, PAGE[2], bottom)
                        bar = image.bbox(colour, 8, tuple(v * scale for v in band))
                        self.assertIsNotNone(bar, "%s preview not found" % what)
                        self.assert_ink_within(image, scale, what + " caption", band,
                                               (PAGE[0] + 2, top, bar[0] / scale - 4, bottom))
                    # The focus starts on the tab strip: Right turns the page.
                    app.key(dlg, "Right")
                    time.sleep(0.3)
                app.kill()

    def test_version_dialog_captions_fit(self):
        for scale in (1, 2):
            with self.subTest(scale=scale):
                app, dlg = self.open_dialog(scale, 2, "About Velmora")
                image = self.shot(app, dlg, "version-x%d" % scale)
                for what, (left, top, bottom) in VERSION_LINES.items():
                    self.assert_ink_within(image, scale, what, (left, top, VERSION_WIDTH, bottom),
                                           (left + 2, top, VERSION_WIDTH - 2, bottom))
                self.check_button(image, scale, "OK", VERSION_OK)
                app.kill()


if __name__ == "__main__":
    unittest.main()
