# SPDX-License-Identifier: MIT
"""The sign's popup menu as a user reaches it, by mouse and by keyboard, the
version dialog it opens, and its quit command."""

import os
import time
import unittest

import harness as h
from harness import SETTINGS_FILE as INI, MESSAGE_FILE as TXT, bgr

GREEN = (0, 255, 0)
BLUE = (0, 0, 255)
# Down presses that reach each item from nothing selected; separators are skipped.
SETUP, VERSION, QUIT = 1, 2, 3
VERSION_TITLE = "バージョン情報"
SETUP_TITLE = "設定画面"
VERSION_OK = (56 + 48, 88 + 12)   # middle of its ＯＫ button, client pixels


class PopupMenuTest(h.DesktopTestCase):

    def start(self, speed, message, directory=None):
        app = self.launch({INI: h.settings_bytes(1200, 600, 9000, 900, speed, bgr(*GREEN), 0),
                           TXT: h.message_bytes(message)}, directory)
        wid = app.sign_window()
        seen = h.settle(lambda: app.outer_geometry(wid), lambda g: g == (40, 80, 600, 60), 3.0)
        self.assertEqual(seen, (40, 80, 600, 60))
        return app, wid

    def close_menu(self, app, menu):
        app.desktop.xdotool("key", "Escape")
        h.wait_for(lambda: menu not in app.windows(), 3.0, "the popup menu to close")

    def test_only_the_right_button_opens_the_menu_over_text_and_over_bare_strip(self):
        # 60 px a second: the text, entering at the right edge, needs about ten
        # seconds to reach x = 30, so that spot is bare background meanwhile.
        app, wid = self.start(9000, "HHHHHHHHHHHHHHHH")

        def on_text():
            box = h.settle(lambda: app.screenshot(wid).bbox(GREEN),
                           lambda b: b is not None and b[2] < 590, 10.0)
            self.assertTrue(box and box[2] < 590, "text never wholly in view: %r" % (box,))
            return (box[0] + box[2]) // 2, (box[1] + box[3]) // 2

        for place, where in (("bare strip", lambda: (30, 17)), ("message text", on_text)):
            for button in (1, 2, 3):
                with self.subTest(place=place, button=button):
                    known = app.windows()
                    app.click(wid, *where(), button=button)
                    if button != 3:
                        self.assertEqual(app.windows_appearing(known, 0.6), set(),
                                         "button %d opened a window" % button)
                        continue
                    menu = app.find_new_window(known)
                    if place == "message text":
                        h.save_shot(app.screenshot(menu).path, "popup-menu.png")
                    self.close_menu(app, menu)
                    self.assertEqual(app.titled(), [(wid, "Velmora")])

    def test_menu_key_and_shift_f10_open_the_menu_with_its_items_in_order(self):
        app, wid = self.start(3000, "Velmora")
        # Esc cancels the setup dialog; Space presses the version dialog's ＯＫ.
        for keys, downs, title, leave in (("Menu", SETUP, "設定画面", "Escape"),
                                          ("shift+F10", VERSION, VERSION_TITLE, "space")):
            with self.subTest(keys=keys):
                known = app.windows()
                app.key(wid, keys)
                app.find_new_window(known)
                app.choose(downs)
                dialog = app.find_window(title)
                app.key(dialog, leave)
                h.wait_for(lambda: app.titled() == [(wid, "Velmora")], 5.0,
                           "the dialog to close and the sign to be back alone")
        known = app.windows()
        app.key(wid, "Menu")
        app.find_new_window(known)
        app.choose(QUIT)
        self.assertEqual(app.wait_exit(), 0, "the third item quits")

    # Why: the dialogs were dialog windows, which the window manager pushed
    # onto the screen; they must open on the sign's corner wherever it stands.
    def test_dialogs_open_on_the_sign_s_corner_also_off_the_screen(self):
        # Openbox keeps a sliver (some 20 px) of any new window on the screen,
        # so the corner stays within the narrower version dialog's width.
        app = self.launch({INI: h.settings_bytes(-300, -2250, 9000, 900, 3000, bgr(*GREEN), 0),
                           TXT: h.message_bytes("端")})
        wid = app.sign_window()
        corner = h.settle(lambda: app.outer_geometry(wid)[:2], lambda c: c == (-150, -20), 3.0)
        self.assertEqual(corner, (-150, -20))
        for place in ("off the top-left corner", "moved"):
            if place == "moved":
                app.move(wid, 300, 250)
                corner = h.settle(lambda: app.outer_geometry(wid)[:2],
                                  lambda c: c == (300, 250), 3.0)
            for title, item, leave in ((SETUP_TITLE, SETUP, "Escape"),
                                       (VERSION_TITLE, VERSION, "space")):
                with self.subTest(place=place, dialog=title):
                    app.open_menu(wid, 560, 17)
                    app.choose(item)
                    dlg = app.find_window(title)
                    outer = h.settle(lambda: app.outer_geometry(dlg),
                                     lambda g: g[:2] == corner, 3.0)
                    self.assertEqual(outer[:2], corner, "dialog's outer corner on the sign's")
                    app.key(dlg, leave)
                    h.wait_for(lambda: dlg not in app.windows() and wid in app.windows(), 5.0,
                               "the dialog to close and the sign to come back")
                    self.assertEqual(app.outer_geometry(wid)[:2], corner)

    # Why: the disabled sign still quit (and saved) from its close box while
    # the version dialog was open; only the dialog's ＯＫ gives it back.
    def test_disabled_sign_cannot_be_closed_from_its_frame(self):
        app, wid = self.start(3000, "無効")
        app.open_menu(wid, 400, 17)
        app.choose(VERSION)
        dlg = app.find_window(VERSION_TITLE)
        before = h.snapshot(self.dir)
        for close in (app.close_by_frame, app.click_close_box):
            close(wid)
            time.sleep(0.5)
            self.assertTrue(app.running(), "the program ended")
            self.assertIn(wid, app.windows())
        self.assertEqual(h.snapshot(self.dir), before, "files written")
        app.click(dlg, *VERSION_OK)
        h.wait_for(lambda: dlg not in app.windows(), 5.0, "the dialog to close")
        geometry = app.outer_geometry(wid)
        app.click_close_box(wid)
        self.assertEqual(app.wait_exit(), 0)
        x, y, w, hgt = geometry
        self.assertEqual(h.snapshot(self.dir)[INI],
                         h.settings_bytes(y * 15, x * 15, w * 15, hgt * 15, 3000, 65280, 0))

    def test_version_dialog_blocks_the_menu_until_it_is_closed(self):
        app, wid = self.start(20000, "HHHH")
        app.move(wid, 250, 450)
        corner = h.settle(lambda: app.outer_geometry(wid)[:2], lambda c: c != (40, 80), 3.0)
        # Why: Esc closed the dialog, though ＯＫ is neither its default nor
        # its cancel button; it must do nothing, and Space on ＯＫ close it.
        def escape_then_space(dlg):
            app.key(dlg, "Escape")
            time.sleep(0.5)
            self.assertIn(dlg, app.windows(), "Esc closed the version dialog")
            app.key(dlg, "space")

        closers = [("ＯＫ", lambda dlg: app.click(dlg, *VERSION_OK)),
                   ("Esc, then Space", escape_then_space),
                   ("Alt+F4", app.close_by_frame)]
        for name, close in closers:
            with self.subTest(close=name):
                # The dialog covers the sign's left end; x = 400 stays clear of it.
                app.open_menu(wid, 400, 17)
                app.choose(VERSION)
                dlg = app.find_window(VERSION_TITLE)
                outer = h.settle(lambda: app.outer_geometry(dlg), lambda g: g[:2] == corner, 3.0)
                self.assertEqual(outer[:2], corner, "dialog's outer corner on the sign's")
                self.assertEqual(app.client_geometry(dlg)[2:], (204, 121))
                image = app.screenshot(dlg)
                # The program icon at (8, 8): a blue band along its top, a green arrow below.
                self.assertIsNotNone(image.bbox(BLUE, region=(8, 8, 40, 11)), "icon's blue band")
                self.assertIsNotNone(image.bbox(GREEN, region=(8, 11, 40, 40)), "icon's arrow")
                h.save_shot(image.path, "version-dialog.png")

                self.assertIn(wid, app.windows(), "the sign stays visible")
                # Under the dialog the capture is black, and the text takes
                # about 1.5 s to pass there; anywhere else it shows moving.
                first = app.screenshot(wid)
                moved = h.settle(lambda: app.screenshot(wid),
                                 lambda im: im.pixels != first.pixels, 2.5)
                self.assertTrue(moved.pixels != first.pixels, "the sign stopped scrolling; text "
                                "at %r, shots %s" % (first.bbox(GREEN), first.path))
                known = app.windows()
                app.right_click(wid, 400, 17)
                self.assertEqual(app.windows_appearing(known, 0.7), set(),
                                 "a right click on the sign opened something")

                close(dlg)
                h.wait_for(lambda: dlg not in app.windows(), 5.0, "the dialog to close")
                self.close_menu(app, app.open_menu(wid, 400, 17))

    def test_quit_saves_the_live_geometry_and_exits_silently_even_when_it_cannot(self):
        for name, locked in (("writable", False), ("settings file immutable", True)):
            with self.subTest(name):
                self.dir = self.fresh_dir()
                directory = self.disk_dir() if locked else self.dir
                app, wid = self.start(3000, "終了テスト", directory)
                app.move(wid, 200, 400)
                app.resize(wid, 500, 50)
                geometry = h.settle(lambda: app.outer_geometry(wid),
                                    lambda g: g[:2] != (40, 80) and g[2:] == (502, 75), 3.0)
                self.assertEqual(geometry[2:], (502, 75))
                if locked:
                    self.make_immutable(os.path.join(directory, INI))
                before = h.snapshot(directory)
                app.open_menu(wid, 30, 17)
                app.choose(QUIT)
                # A box would hold the program open; watch for one until it ends.
                titles = set()
                deadline = time.monotonic() + h.EXIT_TIMEOUT
                while app.running() and time.monotonic() < deadline:
                    titles.update(title for _w, title in app.titled())
                    time.sleep(0.03)
                self.assertEqual(app.wait_exit(0.5), 0, "exit status; seen %r" % titles)
                self.assertNotIn(h.ERROR_TITLE, titles)
                after = h.snapshot(directory)
                self.assertEqual(after[TXT], before[TXT], "the message file is not written")
                x, y, w, hgt = geometry
                expected = (before[INI] if locked else
                            h.settings_bytes(y * 15, x * 15, w * 15, hgt * 15, 3000, 65280, 0))
                self.assertEqual(after[INI], expected)
                # Why: the user is not told, but a failed save is never silent
                # in the log.
                lines = app.stderr().splitlines()
                if locked:
                    self.assertEqual(len(lines), 1, lines)
                    self.assertTrue(lines[0].startswith("velmora: cannot save the settings: "),
                                    lines[0])
                    self.assertIn(INI, lines[0])
                else:
                    self.assertEqual(lines, [])


if __name__ == "__main__":
    unittest.main()
