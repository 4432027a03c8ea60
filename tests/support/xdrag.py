#!/usr/bin/python3
"""Drags files with the X pointer for the end-to-end tests.

Wine turns an XDND drop on a window that called DragAcceptFiles into WM_DROPFILES, but a Windows
program cannot start such a drag itself: SendInput never reaches X, and an OLE drag from another
Wine process does not arrive. So this small GTK program, started by scripts/test, waits in a folder
for requests from the tests and performs each drag with xdotool from a window of its own.

A request is the file "request" (written elsewhere and renamed in): the first line "X Y" is where to
drop, each further line a Unix path to offer. The answer is the file "done": "ok", or what went
wrong. The file "released" appears the moment the button goes up.

The tests run as root, who writes through read-only files under Wine; so this helper also makes a file
unwritable for them: the request "lock" or "unlock" and a Unix path (chattr +i / -i).
"""

import os
import subprocess
import sys
import time

import gi

gi.require_version("Gdk", "3.0")
gi.require_version("Gtk", "3.0")
from gi.repository import Gdk, GLib, Gtk  # noqa: E402

SOURCE_X, SOURCE_Y, SOURCE_SIZE = 420, 560, 60


def xdotool(*args):
    subprocess.run(["xdotool", *[str(a) for a in args]], check=True)


class Dragger:
    def __init__(self, folder):
        self.folder = folder
        self.uris = []
        self.window = Gtk.Window(type=Gtk.WindowType.POPUP)
        self.window.move(SOURCE_X, SOURCE_Y)
        self.window.set_default_size(SOURCE_SIZE, SOURCE_SIZE)
        box = Gtk.EventBox()
        box.add(Gtk.Label(label="drag"))
        box.drag_source_set(Gdk.ModifierType.BUTTON1_MASK, [], Gdk.DragAction.COPY)
        box.drag_source_add_uri_targets()
        box.connect("drag-data-get", self.on_data_get)
        self.window.add(box)
        GLib.timeout_add(50, self.poll)

    def on_data_get(self, _widget, _context, data, _info, _time):
        data.set_uris(self.uris)

    def poll(self):
        request = os.path.join(self.folder, "request")
        if os.path.exists(request):
            with open(request, encoding="utf-8") as f:
                lines = f.read().splitlines()
            os.remove(request)
            try:
                self.drag(lines)
                answer = "ok"
            except Exception as error:  # the test reads why, and fails
                answer = "failed: %s" % error
            with open(os.path.join(self.folder, "done.tmp"), "w", encoding="utf-8") as f:
                f.write(answer)
            os.rename(os.path.join(self.folder, "done.tmp"), os.path.join(self.folder, "done"))
        return True

    def drag(self, lines):
        if lines[0] in ("lock", "unlock"):
            subprocess.run(["chattr", "+i" if lines[0] == "lock" else "-i", lines[1]], check=True)
            return
        x, y = (int(v) for v in lines[0].split())
        self.uris = [GLib.filename_to_uri(p, None) for p in lines[1:] if p]
        self.window.show_all()
        self.settle(0.3)
        cx, cy = SOURCE_X + SOURCE_SIZE // 2, SOURCE_Y + SOURCE_SIZE // 2
        xdotool("mousemove", cx, cy)
        self.settle(0.1)
        xdotool("mousedown", 1)
        # GTK starts a drag only after the pointer has moved a few pixels with the button down.
        for step in range(1, 9):
            xdotool("mousemove", cx + (x - cx) * step // 8, cy + (y - cy) * step // 8)
            self.settle(0.05)
        xdotool("mousemove", x, y)
        self.settle(0.2)
        xdotool("mouseup", 1)
        # The tests time kills from this moment.
        open(os.path.join(self.folder, "released"), "w").close()
        self.settle(0.5)
        self.window.hide()
        self.settle(0.1)

    @staticmethod
    def settle(seconds):
        end = time.monotonic() + seconds
        while time.monotonic() < end:
            while Gtk.events_pending():
                Gtk.main_iteration_do(False)
            time.sleep(0.01)


def main():
    Dragger(sys.argv[1])
    Gtk.main()


if __name__ == "__main__":
    main()
