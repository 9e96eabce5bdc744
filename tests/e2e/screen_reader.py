"""Reads the running program as a screen reader does and checks what it hears."""
import calendar
import os
import re
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

STARDATE_TITLE = "The current moment (posi-4 seconds)"
TITLES = [STARDATE_TITLE, "The current moment in seconds (decimal format)",
          "The current moment in GMT (UTC)   [ANSI Format]", "Your time zone  (ANSI format)"]
failures = []
# Long enough for two ticks on a busy machine.
LISTEN_MS = 4000


def check(ok, what):
    print(("ok: " if ok else "FAIL: ") + what)
    if not ok:
        failures.append(what)


def wait_for(find, seconds):
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        found = find()
        if found:
            return found
        time.sleep(0.1)
    return None


def poll(find, what, seconds=30):
    found = wait_for(find, seconds)
    if not found:
        print("FAIL: " + what)
        sys.exit(1)
    return found


def application():
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.name.lower() == "selenial":
            return app
    return None


def walk(node):
    yield node
    for child in node:
        if child is not None:
            yield from walk(child)


def frame(app, name):
    for window in app:
        if window is not None and window.name == name:
            return window
    return None


def focus_clock():
    window = subprocess.run(["xdotool", "search", "--name", "StarDate|^ini:| [+-] "], capture_output=True,
                            text=True).stdout.split()
    if window:
        subprocess.run(["xdotool", "windowfocus", "--sync", window[0]], check=False)


def key(*keys):
    focus_clock()
    subprocess.run(["xdotool", "key", *keys], check=True)


app = poll(application, "the program does not appear on the accessibility bus")
main = poll(lambda: next((w for w in app if w is not None), None), "the program shows no window")
check(main.getRole() == pyatspi.ROLE_FRAME, "the clock window is a frame (%s)" % main.getRoleName())

key("Return")  # OK: the clock view
values = {}


def read_values():
    values.clear()
    for node in walk(main):
        if node.description in TITLES and node.getRole() == pyatspi.ROLE_LABEL:
            values[node.description] = node
    return len(values) == 4 and values[STARDATE_TITLE].name.startswith("   + ")


poll(read_values, "the four values are not named by what they show")
for node in values.values():
    print("read: %s '%s', described '%s'" % (node.getRoleName(), node.name, node.description))
check(values[TITLES[1]].name.strip().isdigit(), "seconds read as '%s'" % values[TITLES[1]].name)
check(values[TITLES[2]].name.startswith("  2") and "+" in values[TITLES[2]].name,
      "UTC read as '%s'" % values[TITLES[2]].name)
check(all(node.name != node.description for node in values.values()), "no title is read twice")

changes = {}


def on_name(event):
    if event.source.description in TITLES:
        changes.setdefault(event.source.description, []).append(event.source.name)


pyatspi.Registry.registerEventListener(on_name, "object:property-change:accessible-name")
GLib.timeout_add(LISTEN_MS, lambda: pyatspi.Registry.stop())
pyatspi.Registry.start()
pyatspi.Registry.deregisterEventListener(on_name, "object:property-change:accessible-name")
stardates = changes.get(STARDATE_TITLE, [])
check(len(stardates) >= 2 and len(set(stardates)) == len(stardates),
      "each new StarDate reaches the reader as a name change: %s" % stardates)
check(set(changes) == set(TITLES), "every value announces its change by name (%s)" % sorted(changes))

# A real screen reader announces the offset box by its name, its role and its text.
BOX_NAME = "Enter the difference in seconds between your local time and UTC (GMT date-time):"


def orca_log():
    return open("orca.log", errors="replace").read() if os.path.exists("orca.log") else ""


def spoken():
    return [line.split("SPEECH OUTPUT: ", 1)[1] for line in orca_log().splitlines() if "SPEECH OUTPUT: " in line]


# Orca's settings in memory: on the private bus it would otherwise start dconf first,
# which on a busy machine held its first answers back for many seconds.
orca = subprocess.Popen(["orca", "-d", "speech", "-d", "braille", "-d", "braille-monitor", "--debug-file", "orca.log"],
                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                        env=dict(os.environ, GSETTINGS_BACKEND="memory"))
poll(lambda: "Startup complete" in orca_log(), "orca does not start", 60)
# Keys sent before Orca follows the clock's frame go unheard: wait until it has taken the
# frame as its focus, giving it the focus again now and then.
looks = [0]


def follows_clock():
    looks[0] += 1
    if looks[0] % 30 == 0:
        focus_clock()
    return re.search(r"Changing locusOfFocus from .* to \[frame \| ", orca_log())


poll(follows_clock, "orca never follows the clock's frame", 60)
before = len(spoken())
key("alt+s")
named = lambda: any(BOX_NAME + " text" in line for line in spoken()[before:])
# A key Orca missed while busy is asked again: Tab leaves the box, Alt+S comes back to it.
for _ in range(6):
    if wait_for(named, 15):
        break
    key("Tab")
    key("alt+s")
poll(lambda: named() or None, "orca never names the offset box after Alt+S: %s" % spoken()[before:], 15)
reads_text = wait_for(lambda: any(line.startswith("'auto") for line in spoken()[before:]), 10)
orca.terminate()
print("orca said after Alt+S: %s" % spoken()[before:])
check(reads_text, "orca reads the offset box's text")

if os.environ.get("ZONE_SWITCH"):
    # The system's zone changes under the running program: with auto stored, the
    # next refresh shows the new local time and the same UTC.
    subprocess.run(["mount", "--bind", "/usr/share/zoneinfo/Asia/Tokyo", "/etc/localtime"], check=True)
    latest = {}
    pyatspi.Registry.registerEventListener(lambda e: latest.update({e.source.description: e.source.name}),
                                           "object:property-change:accessible-name")
    GLib.timeout_add(LISTEN_MS, lambda: pyatspi.Registry.stop())
    pyatspi.Registry.start()
    utc, local = (calendar.timegm(time.strptime(latest.get(t, "").strip() or "1970.01.01+00.00.00",
                                                "%Y.%m.%d+%H.%M.%S")) for t in TITLES[2:])
    print("after the zone changed to Asia/Tokyo: UTC '%s', local '%s'" % (latest.get(TITLES[2]), latest.get(TITLES[3])))
    check(abs(utc - time.time()) <= 3 and local - utc == 9 * 3600, "UTC stays true and local time follows the new zone")

key("alt+c")
calculator = poll(lambda: frame(app, "Vantrel"), "the calculator does not appear")
check(calculator.getRole() == pyatspi.ROLE_FRAME, "the calculator is a frame (%s)" % calculator.getRoleName())
result = next((n for n in walk(calculator) if n.name == "Hexadecimal scientific value"), None)
check(result is not None, "the scientific result is named")
if result is not None:
    states = result.getState()
    check(states.contains(pyatspi.STATE_READ_ONLY) and not states.contains(pyatspi.STATE_EDITABLE),
          "the scientific result is read-only and not editable")
    text = result.queryText()
    check(text.getText(0, -1) == "+000 posi 0", "its text reads '%s'" % text.getText(0, -1))



# The essays' page: what the essays cover is neither shown nor read, and comes back with the first page.
def showing_labels():
    return {n.name for n in walk(calculator)
            if n.getRole() == pyatspi.ROLE_LABEL and n.getState().contains(pyatspi.STATE_SHOWING)}


def press(name):
    next(n for n in walk(calculator) if n.name == name and n.getRole() == pyatspi.ROLE_PUSH_BUTTON).queryAction().doAction(0)


first_page = showing_labels()
press("See Also: Coherency and physics- Why ?")
poll(lambda: len(showing_labels() - first_page) == 3, "the essays do not show")
check(len(showing_labels() & first_page) == 1, "only the label below the essays stays: %s" % (showing_labels() & first_page))
press("Back to Vantrel Intro")
poll(lambda: showing_labels() == first_page, "the first page does not come back whole: %s" % showing_labels())

print("%d passed, %d failed" % (0 if failures else 1, 1 if failures else 0))
sys.exit(1 if failures else 0)
