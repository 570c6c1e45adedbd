# SPDX-License-Identifier: MIT
"""Where Qt's ibus module tells an ibus daemon of the test's own the message
box's caret is (the place of the candidate window), against the caret's
pixels on the screen, at scale 1 and on scaled screens."""

import glob
import math
import os
import re
import subprocess
import time

import harness as h

BOX = (24, 88, 209, 19)  # the message box in the dialog's logical pixels
CALL = re.compile(r"member=SetCursorLocation\n" + r"\s*int32 (-?\d+)\n" * 4)


def device(value, scale):
    return math.floor(value * scale + 0.5)  # rounded as Qt rounds


class InputMethodTest(h.DesktopTestCase):

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        scratch = cls.desktop.scratch
        # A session bus that is not there, so that nothing ibus starts can
        # launch one that outlives the test. No panel and no engine: the
        # daemon only hears where the caret is.
        env = dict(cls.desktop.tool_env(), XDG_CONFIG_HOME=os.path.join(scratch, "config"),
                   HOME=os.path.join(scratch, "home"), DBUS_SESSION_BUS_ADDRESS="unix:path=" + os.path.join(scratch, "no-bus"))
        address = "unix:path=" + os.path.join(scratch, "ibus")
        cls.calls = os.path.join(scratch, "calls")
        for args, out in ((["ibus-daemon", "--single", "--panel=disable",
                            "--emoji-extension=disable", "--address=" + address], "ibus.log"),
                          (["dbus-monitor", "--address", address,
                            "interface='org.freedesktop.IBus.InputContext'"], "calls")):
            with open(os.path.join(scratch, out), "wb") as f:
                process = subprocess.Popen(args, env=env, stdin=subprocess.DEVNULL, stdout=f,
                                           stderr=subprocess.STDOUT)
            cls.addClassCleanup(h._stop, process)
            if out == "ibus.log":
                cls.address_file = h.wait_for(
                    lambda: glob.glob(os.path.join(scratch, "config", "ibus", "bus", "*")), 10,
                    "ibus-daemon to publish its address")[0]

    def told(self):
        with open(self.calls, "rb") as f:
            return [tuple(map(int, m.groups())) for m in CALL.finditer(f.read().decode())]

    def caret(self, scale, env=None, xft_dpi=None):
        """Opens the setup dialog on an empty message and tabs into the box:
        (what ibus was told last, the caret's dark pixels as (left, top,
        right, bottom), the dialog's client corner), all on the screen."""
        subprocess.run(["xrdb", "-load", "-"], env=self.desktop.tool_env(), check=True,
                       input=b"Xft.dpi: %d\n" % xft_dpi if xft_dpi else b"")
        app = self.launch({h.SETTINGS_FILE: h.settings_bytes(1200, 600, 9000, 900),
                           h.MESSAGE_FILE: h.message_bytes("")},
                          env=dict(env or {}, QT_IM_MODULE="ibus",
                                   IBUS_ADDRESS_FILE=self.address_file))
        app.open_menu(app.sign_window(), 30, 10)
        app.choose(1)
        dlg = app.find_window("設定画面")
        before = len(self.told())
        app.key(dlg, "Tab")
        h.wait_for(lambda: self.told()[before:], 10, "a caret for ibus")
        time.sleep(0.3)  # any later call of the same focus change
        x, y, _w, _h = app.client_geometry(dlg)
        left, top, width, height = (device(v, scale) for v in BOX)
        # The caret blinks: look until a picture shows it.
        seen = h.settle(lambda: app.screenshot(dlg).bbox_where(
            lambda r, g, b: max(r, g, b) < 90, (left + 2, top + 2, left + width - 2,
                                                top + height - 2)), bool, 3.0)
        self.assertIsNotNone(seen, "no caret in the message box")
        app.kill()
        return self.told()[-1], (seen[0] + x, seen[1] + y, seen[2] + x, seen[3] + y), (x, y)

    def assert_on_caret(self, told, seen):
        x, y, w, hgt = told
        self.assertTrue(x <= seen[0] and seen[2] < x + w and y <= seen[1] and seen[3] < y + hgt,
                        "ibus was told %r, the caret is at %r" % (told, seen))

    # Why: Qt 6.4's ibus module sent the caret in logical pixels; on a screen
    # scaled by QT_SCALE_FACTOR or Xft.dpi the candidates opened up to 200 px
    # away from it, over the tab strip and the box.
    def test_ibus_is_told_the_caret_in_screen_pixels(self):
        told1, seen1, corner1 = self.caret(1)
        self.assert_on_caret(told1, seen1)
        # The caret's rectangle in the dialog at scale 1, which every scale
        # multiplies.
        start = (told1[0] - corner1[0], told1[1] - corner1[1])
        end = (start[0] + told1[2], start[1] + told1[3])
        rows = [(s, {"QT_SCALE_FACTOR": str(s)}, None) for s in (1.25, 1.5, 1.75, 2, 3)]
        rows += [(dpi / 96, None, dpi) for dpi in (144, 192)]
        for scale, env, dpi in rows:
            with self.subTest(scale=scale, xft_dpi=dpi):
                told, seen, corner = self.caret(scale, env, dpi)
                self.assert_on_caret(told, seen)
                a = [corner[i] + device(start[i], scale) for i in (0, 1)]
                b = [corner[i] + device(end[i], scale) for i in (0, 1)]
                self.assertEqual(told, (a[0], a[1], b[0] - a[0], b[1] - a[1]))
