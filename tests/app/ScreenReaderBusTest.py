"""Reads the running program's window over the AT-SPI bus, as a screen reader does.

Run inside a D-Bus session of its own (ScreenReaderBusTest.sh). Starts a private X
server and the program with Qt's accessibility bridge always on, then finds the mix and
direction grids with their named radio buttons, one of them checked, presses a cell
through its action and sees the check move, and finds the finished logo as an image
named with its size. Then it walks the Tab chain with keys typed on the X server and
keeps, at each stop, the object whose focus the bus reported last, as a screen reader
keeps it; steps a margin field with Up and Down and hears its value; opens the about
box and meets an information dialog; and copies the logo and hears the notice. Prints what a reader would announce at each stop. Exits 0
when all of that holds, 1 with the reasons otherwise.
"""
import ctypes
import os
import shutil
import subprocess
import sys
import tempfile
import time

import pyatspi
from gi.repository import Atspi, GLib

MIX = ["A 黒地にグラデーション文字", "B 白地にグラデーション文字",
       "C 反転したグラデーションにグラデーション文字", "D グラデーションに黒い文字"]
DIRECTIONS = ["上から下", "左から右", "下から上", "右から左"]
failures = []

# The Tab chain from the text, as a reader hears each stop: role, name (a name ending in
# "…" is matched up to there), and whether the stop is checked (None: not checkable).
TAB_CHAIN = [
    ("push button", "フォント (…", None),
    ("spin button", "横", None),
    ("spin button", "縦", None),
    ("combo box", "スタイル", None),
    ("radio button", MIX[2], True),
    ("radio button", DIRECTIONS[0], True),
    ("push button", "色１ (…", None),
    ("push button", "Vezodev について", None),
    ("push button", "コピー", None),
    ("push button", "BMP保存", None),
    ("image", "完成したロゴ", None),
    ("text", "テキスト", None),
]
KEY_TAB, KEY_UP, KEY_DOWN, KEY_SPACE, KEY_ESCAPE = 0xFF09, 0xFF52, 0xFF54, 0x20, 0xFF1B
NOTICE = "クリップボードにコピーしました"


class BusEvents:
    """The focus, value and name events of the program, in the order the bus gave them."""

    def __init__(self):
        self.events = []
        self.listener = Atspi.EventListener.new(self.record)
        for kind in ("object:state-changed:focused", "object:property-change:accessible-value",
                     "object:property-change:accessible-name"):
            self.listener.register(kind)

    def record(self, event):
        try:
            source = event.source
            self.events.append((event.type, event.detail1, source, source.get_role_name(), source.get_name()))
        except GLib.Error:
            pass

    def pump(self, seconds):
        deadline = time.time() + seconds
        context = GLib.MainContext.default()
        while time.time() < deadline:
            while context.iteration(False):
                pass
            time.sleep(0.02)

    def take(self, seconds=0.6):
        self.pump(seconds)
        taken, self.events = self.events, []
        return taken


def press(keysym, seconds=0.6, events=None):
    Atspi.generate_keyboard_event(keysym, None, Atspi.KeySynthType.SYM)
    return events.take(seconds) if events else None


def last_focused(taken):
    focused = [event for event in taken if event[0] == "object:state-changed:focused" and event[1] == 1]
    return focused[-1] if focused else None


def announcement(source):
    states = source.get_state_set()
    checkable = source.get_role_name() in ("radio button", "check box", "toggle button")
    checked = states.contains(Atspi.StateType.CHECKED) if checkable else None
    words = [source.get_name(), source.get_role_name()]
    if checked is not None:
        words.append("checked" if checked else "not checked")
    if source.get_role_name() == "spin button":
        value = value_of(source)
        if value is not None:
            words.append(f"{value.currentValue:g} ({value.minimumValue:g}..{value.maximumValue:g})")
    return words, checked


def value_of(source):
    try:
        return source.queryValue()
    except NotImplementedError:
        return None


def name_matches(name, expected):
    return name.startswith(expected[:-1]) if expected.endswith("…") else name == expected


def walk_tab_chain(events):
    """Tabs from the text field round the chain; returns the reader's stops."""
    stops = []
    for role, name, checked in TAB_CHAIN:
        taken = press(KEY_TAB, events=events)
        kept = last_focused(taken)
        if not check(kept is not None, f"Tab towards {name}: no focus event on the bus"):
            stops.append(None)
            continue
        source = kept[2]
        words, is_checked = announcement(source)
        stops.append(words)
        print("stop:", " | ".join(str(word) for word in words), flush=True)
        check(kept[3] == role and name_matches(kept[4], name) and is_checked == checked,
              f"Tab towards {name}: the reader keeps {kept[3]} {kept[4]!r} (checked {is_checked}), "
              f"focus events {[(event[3], event[4]) for event in taken if event[1] == 1]}")
    return stops


def step_margin_field(events):
    """On the 横 field, Up and Down change the value the reader hears."""
    press(KEY_TAB, events=events)
    taken = press(KEY_TAB, events=events)
    kept = last_focused(taken)
    if not check(kept is not None and kept[4] == "横", "Tab from the text does not reach 横"):
        return
    value = value_of(kept[2])
    if not check(value is not None, "横 has no value interface"):
        return
    before = value.currentValue
    for key, change in ((KEY_UP, 1), (KEY_DOWN, -1)):
        taken = press(key, events=events)
        changed = [event for event in taken if event[0] == "object:property-change:accessible-value"]
        check(len(changed) == 1 and changed[0][4] == "横",
              f"{'Up' if change > 0 else 'Down'} on 横: value events {[(event[3], event[4]) for event in changed]}")
        check(value.currentValue == before + change,
              f"{'Up' if change > 0 else 'Down'} on 横: value {value.currentValue} after {before}")
        before = value.currentValue
        print(f"step: 横 spin button {before:g}", flush=True)


def about_box(events, application, button):
    """Space on the about button opens a box the reader meets as an information dialog."""
    if not check(button.queryComponent().grabFocus(), "the about button takes no focus"):
        return
    events.take(0.5)
    press(KEY_SPACE, seconds=1.0, events=events)
    boxes = [application.getChildAtIndex(index) for index in range(1, application.childCount)]
    boxes = [box for box in boxes if box is not None and box.getState().contains(pyatspi.STATE_SHOWING)]
    if not check(len(boxes) == 1, f"{len(boxes)} windows besides the main one after Space on the about button"):
        return
    icons = [node.name for node in descendants(boxes[0]) if node.getRole() == pyatspi.ROLE_IMAGE]
    print(f"about: {boxes[0].getRoleName()} {boxes[0].name!r}, icons {icons}", flush=True)
    check(boxes[0].getRole() == pyatspi.ROLE_DIALOG and icons == ["情報"],
          f"the about box is a {boxes[0].getRoleName()} with the icons {icons}")
    press(KEY_ESCAPE, seconds=0.5, events=events)


def copy_logo(events, button, frame):
    """The copy button copies the logo; the notice reaches the bus as the window's new name."""
    actions = button.queryAction()
    names = [actions.getName(index) for index in range(actions.nActions)]
    if not check("Press" in names, f"the copy button offers the actions {names}"):
        return
    events.take(0.3)
    actions.doAction(names.index("Press"))
    taken = events.take(1.0)
    named = [event for event in taken if event[0] == "object:property-change:accessible-name" and NOTICE in event[4]]
    if check(named, f"the copy notice never reached the bus: {[(event[0], event[3], event[4]) for event in taken]}"):
        print(f"copy: {named[0][3]} {named[0][4]!r}", flush=True)


def check(condition, message):
    if not condition:
        failures.append(message)
    return condition


def start_xvfb():
    """Starts Xvfb on a free display of this test's own range (the other tests that start
    a server take 91 to 239), once it takes clients; a display another server holds, or
    one that a server left as it went, is skipped."""
    for number in range(241, 290):
        if os.path.exists(f"/tmp/.X{number}-lock") or os.path.exists(f"/tmp/.X11-unix/X{number}"):
            continue
        server = subprocess.Popen(["Xvfb", f":{number}", "-screen", "0", "1024x768x24", "-nolisten", "tcp"],
                                  stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        deadline = time.time() + 10
        while server.poll() is None and time.time() < deadline and not os.path.exists(f"/tmp/.X11-unix/X{number}"):
            time.sleep(0.02)
        if server.poll() is None and os.path.exists(f"/tmp/.X11-unix/X{number}"):
            return server, f":{number}"
        server.kill()
        server.wait()
    return None, None


class WindowAttributes(ctypes.Structure):
    """Xlib's XWindowAttributes."""
    _fields_ = [(name, ctypes.c_int) for name in ("x", "y", "width", "height", "border_width", "depth")] + [
        ("visual", ctypes.c_void_p), ("root", ctypes.c_ulong), ("window_class", ctypes.c_int),
        ("bit_gravity", ctypes.c_int), ("win_gravity", ctypes.c_int), ("backing_store", ctypes.c_int),
        ("backing_planes", ctypes.c_ulong), ("backing_pixel", ctypes.c_ulong), ("save_under", ctypes.c_int),
        ("colormap", ctypes.c_ulong), ("map_installed", ctypes.c_int), ("map_state", ctypes.c_int),
        ("all_event_masks", ctypes.c_long), ("your_event_mask", ctypes.c_long),
        ("do_not_propagate_mask", ctypes.c_long), ("override_redirect", ctypes.c_int), ("screen", ctypes.c_void_p)]


def focus_shown_window(display):
    """Gives the X input focus to the one window shown, as a window manager would: the
    private server has none, and Qt counts a window active only once it has the focus."""
    x11 = ctypes.CDLL("libX11.so.6")
    x11.XOpenDisplay.restype = ctypes.c_void_p
    x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
    x11.XDefaultRootWindow.restype = ctypes.c_ulong
    x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
    x11.XQueryTree.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.POINTER(ctypes.c_ulong),
                               ctypes.POINTER(ctypes.c_ulong), ctypes.POINTER(ctypes.POINTER(ctypes.c_ulong)),
                               ctypes.POINTER(ctypes.c_uint)]
    x11.XGetWindowAttributes.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_void_p]
    x11.XSetInputFocus.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_ulong]
    x11.XFree.argtypes = [ctypes.c_void_p]
    x11.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
    x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
    connection = x11.XOpenDisplay(display.encode())
    if not connection:
        return
    root, parent, count = ctypes.c_ulong(), ctypes.c_ulong(), ctypes.c_uint()
    children = ctypes.POINTER(ctypes.c_ulong)()
    x11.XQueryTree(connection, x11.XDefaultRootWindow(connection), ctypes.byref(root), ctypes.byref(parent),
                   ctypes.byref(children), ctypes.byref(count))
    attributes = WindowAttributes()
    for index in range(count.value):
        x11.XGetWindowAttributes(connection, children[index], ctypes.byref(attributes))
        if attributes.map_state == 2 and not attributes.override_redirect:  # IsViewable
            x11.XSetInputFocus(connection, children[index], 2, 0)  # RevertToParent, CurrentTime
    if children:
        x11.XFree(children)
    x11.XSync(connection, 0)
    x11.XCloseDisplay(connection)


def descendants(node):
    for index in range(node.childCount):
        child = node.getChildAtIndex(index)
        if child is None:
            continue
        yield child
        yield from descendants(child)


def find_application(name, process, seconds=20):
    """The program's application on the bus, or None once the program has ended or the time is up."""
    desktop = pyatspi.Registry.getDesktop(0)
    deadline = time.time() + seconds
    while time.time() < deadline and process.poll() is None:
        for index in range(desktop.childCount):
            application = desktop.getChildAtIndex(index)
            if application is not None and application.name == name and application.childCount > 0:
                return application
        time.sleep(0.2)
    return None


def start_program(copy, environment, log):
    """Starts the program and waits for it on the bus. On a loaded machine an X client
    now and then fails to connect to a server that has just come up; a program that
    ended for that reason alone is started again."""
    for _ in range(3):
        log.seek(0)
        log.truncate()
        vezodev = subprocess.Popen([copy], env=environment, stdout=log, stderr=subprocess.STDOUT)
        # A loaded machine may take a while to start the program and its bridge.
        application = find_application("Vezodev", vezodev, seconds=60)
        log.seek(0)
        if application is not None or "could not connect to display" not in log.read():
            return vezodev, application
        print("the program could not connect to its X server; starting it again")
        time.sleep(1)
    return vezodev, None


def group_named(application, name):
    for node in descendants(application):
        if node.getRole() == pyatspi.ROLE_PANEL and node.name == name:
            return node
    return None


def checked_names(group):
    return [cell.name for cell in descendants(group) if cell.getState().contains(pyatspi.STATE_CHECKED)]


def main():
    program = sys.argv[1]
    folder = tempfile.mkdtemp()
    server, display = start_xvfb()
    if server is None:
        print("SKIPPED: Xvfb could not be started")
        return 77
    copy = os.path.join(folder, "vezodev")
    shutil.copy(program, copy)
    # The registry types the keys on the X server, so it must know which one.
    subprocess.run(["dbus-update-activation-environment", f"DISPLAY={display}"], check=False)
    environment = dict(os.environ, DISPLAY=display, QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1",
                       XDG_RUNTIME_DIR=folder, XDG_CONFIG_HOME=folder)
    log = open(os.path.join(folder, "vezodev.log"), "w+")
    vezodev, application = start_program(copy, environment, log)
    try:
        if check(application is not None, f"the program never appeared on the accessibility bus "
                                          f"(exit status {vezodev.poll()})"):
            read_window(application, display)
        if failures:
            log.seek(0)
            print("The program's output:", log.read()[-4000:], sep="\n")
    finally:
        vezodev.terminate()
        vezodev.wait(10)
        server.terminate()
        server.wait(10)
        log.close()
        shutil.rmtree(folder, ignore_errors=True)
    for failure in failures:
        print("FAILED:", failure)
    return 1 if failures else 0


def read_window(application, display):
    """The grids, the logo, the window's role, the Tab chain, a margin field and the copy notice."""
    for label, names in (("合わせ方", MIX), ("色の向き", DIRECTIONS)):
        group = group_named(application, label)
        if not check(group is not None, f"no group named {label}"):
            continue
        cells = [node for node in descendants(group) if node.getRole() == pyatspi.ROLE_RADIO_BUTTON]
        check([cell.name for cell in cells] == names, f"{label}: radio buttons {[cell.name for cell in cells]}")
        check(checked_names(group) == names[:1], f"{label}: checked {checked_names(group)}")

    mix = group_named(application, "合わせ方")
    if mix is not None:
        third = next((cell for cell in descendants(mix) if cell.name == MIX[2]), None)
        if check(third is not None, "no cell C to press"):
            actions = third.queryAction()
            names = [actions.getName(index) for index in range(actions.nActions)]
            if check("Press" in names, f"cell C offers the actions {names}"):
                actions.doAction(names.index("Press"))
                deadline = time.time() + 5
                while time.time() < deadline and checked_names(mix) != MIX[2:3]:
                    time.sleep(0.1)
                check(checked_names(mix) == MIX[2:3], f"after pressing C the checked cell is {checked_names(mix)}")

    logos = [node for node in descendants(application)
             if node.getRole() == pyatspi.ROLE_IMAGE and node.name == "完成したロゴ"]
    if check(len(logos) == 1, f"{len(logos)} images named 完成したロゴ"):
        check(logos[0].description == "106 x 32", f"the logo is described as {logos[0].description!r}")

    frames = [application.getChildAtIndex(index) for index in range(application.childCount)]
    check([frame.getRole() for frame in frames if frame is not None] == [pyatspi.ROLE_FRAME],
          f"the window's roles are {[frame.getRoleName() for frame in frames if frame is not None]}")
    events = BusEvents()
    focus_shown_window(display)
    events.pump(1.0)
    check(all(frame.getState().contains(pyatspi.STATE_ACTIVE) for frame in frames), "the window is not active")
    text = next((node for node in descendants(application) if node.getRole() == pyatspi.ROLE_TEXT), None)
    if check(text is not None and text.queryComponent().grabFocus(), "the text field takes no focus"):
        events.take(1.0)
        walk_tab_chain(events)
        step_margin_field(events)
        about = next((node for node in descendants(application)
                      if node.getRole() == pyatspi.ROLE_PUSH_BUTTON and node.name == "Vezodev について"), None)
        if check(about is not None, "no about button"):
            about_box(events, application, about)
        copy = next((node for node in descendants(application)
                     if node.getRole() == pyatspi.ROLE_PUSH_BUTTON and node.name == "コピー"), None)
        if check(copy is not None and frames, "no copy button"):
            copy_logo(events, copy, frames[0])


if __name__ == "__main__":
    sys.exit(main())
