#!/usr/bin/python3
# Drives the program through AT-SPI and the keyboard as a screen-reader user does, and checks
# the events a screen reader is sent. Orca speaks the "showing" event of a notification (its
# name, then its description); a change of a focused object's description does not reach it
# from Qt. The steps:
#   1. type the four inputs, choose medium and material, press "Berechnen": a notification
#      names the new result and its values;
#   2. Tab to the results grid, Down to result 1, Alt+Return: a notification tells its inputs;
#   3. Shift+F10, "Moody-Diagramm…": the chart takes the focus in the role of a chart;
#   4. Right: a notification tells the chosen point;
#   5. Esc: the chart window closes and the main window has the focus again.
import subprocess
import sys

import pyatspi
from gi.repository import GLib

PROGRAM = sys.argv[1]
seen = []  # (event type, role, name, description, detail1)
failures = []


def on_event(event):
    try:
        source = event.source
        seen.append((event.type, source.getRoleName(), source.name, source.description,
                     event.detail1))
    except Exception as error:  # an object gone by the time we ask
        seen.append((event.type, "?", str(error), "", event.detail1))


def find(node, role, name, depth=0):
    if node is None or depth > 14:
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


def keys(*names):
    for name in names:
        subprocess.run(["xdotool", "key", "--delay", "80", name], check=True)


def notification(name, *parts):
    def shown(event):
        type_, role, event_name, description, detail = event
        text = (description or "").replace(".", ",")
        return (type_ == "object:state-changed:showing" and role == "notification"
                and detail == 1 and event_name == name and all(p in text for p in parts))
    return shown


def focus(role, name=None):
    def focused(event):
        type_, event_role, event_name, _, detail = event
        return (type_ == "object:state-changed:focused" and detail == 1 and event_role == role
                and (name is None or event_name == name))
    return focused


def chart_closed(event):
    type_, role, name, _, detail = event
    return type_ == "object:state-changed:showing" and role == "frame" and \
        name == "Moody-Diagramm" and detail == 0


frame = {}


def calculate():
    main = frame["main"]
    for name, text in (("Rohr-Innendurchmesser in mm", "50"), ("Volumenstrom in dm3/min", "100"),
                       ("Leitungslänge in m", "10"), ("Temperatur in °C", "20")):
        find(main, pyatspi.ROLE_TEXT, name).queryEditableText().setTextContents(text)
    press(find(main, pyatspi.ROLE_RADIO_BUTTON, "Wasser"))
    press(find(main, pyatspi.ROLE_RADIO_BUTTON, "Eisenrohr schwarz"))
    press(find(main, pyatspi.ROLE_PUSH_BUTTON, "Berechnen"))


def to_grid():
    # From the first medium, Tab visits the other three, the three buttons and the five
    # materials; the grid comes next.
    # Keys go to the active window: make sure it is the program's.
    subprocess.run(["xdotool", "search", "--sync", "--name", "^Kolmaris$", "windowactivate",
                    "--sync"], check=True, timeout=10)
    find(frame["main"], pyatspi.ROLE_RADIO_BUTTON, "Wasser").queryComponent().grabFocus()
    keys(*["Tab"] * 12)


# (what the step does, what it must bring, its name)
steps = [
    (calculate, [notification("Ergebnis 1 eingetragen", "Lamda 0,02400")],
     "Berechnen is announced"),
    (to_grid, [focus("table", "Ergebnisse")], "Tab reaches the grid"),
    (lambda: keys("Down", "alt+Return"),
     [notification("Ergebnis 1", "Durchmesser: 50 mm", "Rohrmaterial: Eisenrohr schwarz")],
     "Alt+Return tells the row's inputs"),
    (lambda: keys("shift+F10", "Down", "Down", "Return"), [focus("chart", "Moody-Diagramm")],
     "the Moody chart takes the focus as a chart"),
    (lambda: keys("Right"), [notification("Ergebnis Nr. 1", "Re = 42004", "Abweichung")],
     "an arrow key tells the chosen point"),
    (lambda: keys("Escape"), [chart_closed, focus("table", "Ergebnisse")],
     "Esc closes the chart and gives the grid the focus back"),
]


def run_step(index=0, waited=0):
    if index >= len(steps):
        pyatspi.Registry.stop()
        return False
    action, expected, name = steps[index]
    if waited == 0:
        del seen[:]
        try:
            action()
        except Exception as error:
            print("step failed to run: %s: %s" % (name, error))
            failures.append(name)
            pyatspi.Registry.stop()
            return False
    if all(any(check(event) for event in seen) for check in expected):
        print("ok      %s" % name)
        GLib.timeout_add(300, run_step, index + 1, 0)
        return False
    if waited >= 5000:
        print("FAILED  %s; the events were:" % name)
        for event in seen:
            print("    %s  [%s] %r  %r  detail1=%s" % event)
        failures.append(name)
        GLib.timeout_add(300, run_step, index + 1, 0)
        return False
    GLib.timeout_add(100, run_step, index, waited + 100)
    return False


def start(attempt=[0]):
    app = application()
    frame["main"] = find(app, pyatspi.ROLE_FRAME, "Kolmaris") if app else None
    if frame["main"] is None:
        attempt[0] += 1
        if attempt[0] > 100:
            print("the program's window did not appear on the accessibility bus")
            failures.append("start")
            pyatspi.Registry.stop()
            return False
        return True  # try again
    GLib.timeout_add(500, run_step)
    return False


# The name and description events keep the client's cache of them up to date, as Orca's is.
for kind in ("object:state-changed:showing", "object:state-changed:focused",
             "object:property-change:accessible-name",
             "object:property-change:accessible-description"):
    pyatspi.Registry.registerEventListener(on_event, kind)

program = subprocess.Popen([PROGRAM])
GLib.timeout_add(200, start)
GLib.timeout_add(60000, lambda: pyatspi.Registry.stop())
pyatspi.Registry.start()
program.terminate()
program.wait()
print("all heard" if not failures else "NOT heard: " + "; ".join(failures))
sys.exit(0 if not failures else 1)
