#!/usr/bin/python3
# Drives the program through AT-SPI as a screen reader sees it: types the four inputs, chooses
# medium and material, presses "Berechnen", and reports the events a screen reader is sent.
# Passes when a notification shows whose name tells the new result, which is what Orca speaks
# ("object:state-changed:showing" of a notification: its role, name and description).
import subprocess
import sys

import pyatspi
from gi.repository import GLib

PROGRAM = sys.argv[1]
seen = []  # (event type, role, name, description, detail1)
result = {"ok": False}


def on_event(event):
    try:
        source = event.source
        seen.append((event.type, source.getRoleName(), source.name, source.description,
                     event.detail1))
    except Exception as error:  # an object gone by the time we ask
        seen.append((event.type, "?", str(error), "", event.detail1))


def find(node, role, name, depth=0):
    if node is None or depth > 12:
        return None
    try:
        if node.getRole() == role and node.name == name:
            return node
        for child in node:
            found = find(child, role, name, depth + 1)
            if found is not None:
                return found
    except Exception:
        return None
    return None


def application():
    desktop = pyatspi.Registry.getDesktop(0)
    for app in desktop:
        if app is not None and app.name == "Davudeviredidara":
            return app
    return None


def press(node):
    node.queryAction().doAction(0)


def drive(attempt=[0]):
    app = application()
    frame = find(app, pyatspi.ROLE_FRAME, "Kolmaris") if app else None
    if frame is None:
        attempt[0] += 1
        if attempt[0] > 100:
            print("the program's window did not appear on the accessibility bus")
            pyatspi.Registry.stop()
            return False
        return True  # try again
    for name, text in (("Rohr-Innendurchmesser in mm", "50"), ("Volumenstrom in dm3/min", "100"),
                       ("Leitungslänge in m", "10"), ("Temperatur in °C", "20")):
        find(frame, pyatspi.ROLE_TEXT, name).queryEditableText().setTextContents(text)
    press(find(frame, pyatspi.ROLE_RADIO_BUTTON, "Wasser"))
    press(find(frame, pyatspi.ROLE_RADIO_BUTTON, "Eisenrohr schwarz"))
    del seen[:]
    press(find(frame, pyatspi.ROLE_PUSH_BUTTON, "Berechnen"))
    GLib.timeout_add(1500, finish)
    return False


def finish():
    for event in seen:
        print("%s  [%s] %r  %r  detail1=%s" % event)
        type_, role, name, description, shown = event
        if (type_ == "object:state-changed:showing" and role == "notification" and shown == 1
                and name == "Ergebnis 1 eingetragen" and "Lamda 0,02400" in description.replace(".", ",")):
            result["ok"] = True
    pyatspi.Registry.stop()
    return False


for kind in ("object:state-changed:showing", "object:property-change:accessible-name",
             "object:property-change:accessible-description", "object:children-changed",
             "object:text-changed", "object:state-changed:focused", "object:announcement"):
    pyatspi.Registry.registerEventListener(on_event, kind)

program = subprocess.Popen([PROGRAM])
GLib.timeout_add(200, drive)
GLib.timeout_add(30000, lambda: pyatspi.Registry.stop())
pyatspi.Registry.start()
program.terminate()
program.wait()
print("announced" if result["ok"] else "NOT announced")
sys.exit(0 if result["ok"] else 1)
