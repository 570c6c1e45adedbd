# SPDX-License-Identifier: MIT
"""The moving message as a user sees it: its pace, its wrap back to the right
edge, and how a resize lays it out again."""

import time
import unittest

import harness as h
from harness import bgr

BLACK = (0, 0, 0)
GREEN = (0, 255, 0)


def left_edges(samples):
    """[(t, left edge of the text or None)]."""
    return [(t, box[0] if box else None) for t, box, _image in samples]


def trail(edges):
    """The left edges seen, each run of equal values once, for failure messages."""
    out = []
    for _t, x in edges:
        if not out or out[-1] != x:
            out.append(x)
    return out


def slope(points):
    """Least-squares slope of [(t, x)]."""
    n = len(points)
    mt = sum(t for t, _ in points) / n
    mx = sum(x for _, x in points) / n
    num = sum((t - mt) * (x - mx) for t, x in points)
    den = sum((t - mt) ** 2 for t, _ in points)
    return num / den


class ScrollingTest(h.DesktopTestCase):

    def start_sign(self, width_px, height_px, speed, message):
        app = self.launch({
            h.SETTINGS_FILE: h.settings_bytes(1500, 750, width_px * 15, height_px * 15, speed,
                                              bgr(*GREEN), bgr(*BLACK)),
            h.MESSAGE_FILE: h.message_bytes(message),
        })
        wid = app.sign_window()
        size = h.settle(lambda: app.outer_geometry(wid)[2:], lambda s: s == (width_px, height_px),
                        3.0)
        self.assertEqual(size, (width_px, height_px))
        return app, wid

    def wait_for_text(self, app, wid, good, timeout, what):
        """A screenshot whose text box satisfies good(box), within timeout."""
        image = h.settle(lambda: app.screenshot(wid),
                         lambda im: im.bbox(GREEN) is not None and good(im.bbox(GREEN)), timeout)
        box = image.bbox(GREEN)
        self.assertTrue(box is not None and good(box), "%s; text box seen: %r" % (what, box))
        return image, box

    def test_pace_follows_speed(self):
        # Speed is hundredths of a twip per tick at ten ticks a second, so the
        # text moves Speed / 150 pixels a second at 15 twips to the pixel.
        for speed in (3000, 9000):
            with self.subTest(speed=speed):
                app, wid = self.start_sign(600, 60, speed, "HHHHHHHHHHHHHHHH")
                self.wait_for_text(app, wid, lambda b: True, 3.0, "text entered")
                points = [(t, x) for t, x in left_edges(app.text_track(wid, GREEN, 1.5))
                          if x is not None]
                self.assertGreaterEqual(len(points), 5, "too few screenshots with text")
                measured = -slope(points)
                expected = speed / 150.0
                self.assertGreater(measured, 0.75 * expected,
                                   "pixels per second, expected about %.0f" % expected)
                self.assertLess(measured, 1.2 * expected,
                                "pixels per second, expected about %.0f" % expected)
                app.kill()

    def test_message_reenters_at_right_edge_after_leaving_on_the_left(self):
        # 300 x 60 outside, 298 x 35 inside; 13 1/3 pixels a tick, so the text,
        # about 70 pixels wide, spends several ticks cut off at the left edge.
        app, wid = self.start_sign(300, 60, 20000, "HHH")
        self.wait_for_text(app, wid, lambda b: b[0] < 150, 4.0, "text reached the left half")
        samples = app.text_track(wid, GREEN, 2.5)
        edges = trail(left_edges(samples))
        boxes = [box for _t, box, _im in samples]

        # Find the first sample, after one with the text cut off at the left
        # edge, whose text stands in the right part again.
        cut_at = next((i for i, b in enumerate(boxes) if b and b[0] == 0), None)
        self.assertIsNotNone(cut_at, "the text never ran out over the left edge: %r" % edges)
        back_at = next((i for i in range(cut_at + 1, len(boxes))
                        if boxes[i] and boxes[i][0] > 150), None)
        self.assertIsNotNone(back_at, "the text did not come back from the right: %r" % edges)
        # It comes back only after having gone completely: while it was still
        # partly visible at the left there may be no text on the right.
        for b in boxes[cut_at:back_at]:
            if b:
                self.assertLess(b[0], 150, "text on the right before it had left: %r" % edges)
        # And it enters from the right edge, not somewhere in the middle: a
        # tick is 13 pixels, and screenshots come several times a tick.
        self.assertGreater(boxes[back_at][0], 298 - 45,
                           "re-entry far from the right edge: %r" % edges)

    # Why: minimising changes no size under X11, so a restored sign went on
    # from where it was instead of starting again at the right edge.
    def test_minimise_and_restore_restart_the_message(self):
        app, wid = self.start_sign(600, 60, 30000, "HHHHHHHHHHHHHHHHHHHHHHHHHHHHHHHHHHHH")
        self.wait_for_text(app, wid, lambda b: b[0] < 200, 6.0, "text reached the left third")
        app.desktop.xdotool("windowminimize", "--sync", wid)
        h.wait_for(lambda: wid not in app.windows(), 3.0, "the sign to be minimised")
        # The message keeps moving while the sign is minimised.
        time.sleep(0.5)
        app.desktop.xdotool("windowactivate", "--sync", wid)
        h.wait_for(lambda: wid in app.windows(), 3.0, "the sign to be restored")

        def text():
            try:
                return app.screenshot(wid).bbox(GREEN)
            except RuntimeError:  # not viewable yet
                return None
        box = h.wait_for(text, 3.0, "the text after the restore")
        self.assertGreater(box[0], 598 - 150, "text not restarted at the right edge: %r" % (box,))
        self.wait_for_text(app, wid, lambda b: b[0] < 500, 3.0, "text scrolled in again")

    def test_resize_restarts_message_with_height_following_window(self):
        app, wid = self.start_sign(600, 60, 30000, "HHHHHHHHHHHHHHHHHHHHHHHHHHHHHHHHHHHH")
        _image, start = self.wait_for_text(app, wid, lambda b: b[0] < 500, 4.0, "text entered")
        # Capital H: the glyph's height is its cap height, proportional to the
        # point size, which is the client height in points (35 px -> 26 pt).
        height_before = start[3] - start[1] + 1

        for client_h, points in ((90, 68), (20, 15)):
            with self.subTest(client_height=client_h):
                # Well scrolled in first, so that a restart at the right edge shows.
                self.wait_for_text(app, wid, lambda b: b[0] < 200, 4.0,
                                   "text reached the left third")
                app.resize(wid, 598, client_h)
                size = h.settle(lambda: app.client_geometry(wid)[2:],
                                lambda s: s == (598, client_h), 3.0)
                self.assertEqual(size, (598, client_h))
                first = app.screenshot(wid)
                self.assertEqual(first.height, client_h)
                # Every resize starts the message again at the right edge.
                box = first.bbox(GREEN)
                self.assertTrue(box is None or box[0] > 598 - 100,
                                "text not restarted at the right edge: %r" % (box,))
                # The background fills the grown or shrunk client area.
                self.assertGreater(first.fraction(BLACK, tolerance=4), 0.7)

                image, after = self.wait_for_text(app, wid, lambda b: b[0] < 500, 3.0,
                                                  "text scrolled in after the resize")
                # A font that follows the client height keeps capitals wholly
                # inside it; a font too large for it is cut off at the bottom.
                self.assertLess(after[3], client_h - 1,
                                "capitals cut off at the bottom: %r" % (after,))
                ratio = (after[3] - after[1] + 1) / float(height_before)
                expected = points / 26.0
                self.assertGreater(ratio, 0.85 * expected,
                                   "text height %d px, was %d px at 26 pt"
                                   % (after[3] - after[1] + 1, height_before))
                self.assertLess(ratio, 1.15 * expected,
                                "text height %d px, was %d px at 26 pt"
                                % (after[3] - after[1] + 1, height_before))
                if client_h == 90:
                    h.save_shot(image.path, "sign-after-resize.png")


if __name__ == "__main__":
    unittest.main()
