"""Reads the running program's window over the AT-SPI bus, as a screen reader does.

Run inside a D-Bus session of its own (ScreenReaderBusTest.sh). Starts a private X
server and the program with Qt's accessibility bridge always on, then finds the mix and
direction grids with their named radio buttons, one of them checked, presses a cell
through its action and sees the check move, and finds the finished logo as an image
named with its size. Exits 0 when all of that holds, 1 with the reasons otherwise.
"""
import os
import shutil
import subprocess
import sys
import tempfile
import time

import pyatspi

MIX = ["A 黒地にグラデーション文字", "B 白地にグラデーション文字",
       "C 反転したグラデーションにグラデーション文字", "D グラデーションに黒い文字"]
DIRECTIONS = ["上から下", "左から右", "下から上", "右から左"]
failures = []


def check(condition, message):
    if not condition:
        failures.append(message)
    return condition


def start_xvfb():
    for display in range(200, 260):
        if os.path.exists(f"/tmp/.X11-unix/X{display}") or os.path.exists(f"/tmp/.X{display}-lock"):
            continue
        server = subprocess.Popen(["Xvfb", f":{display}", "-screen", "0", "1024x768x24", "-nolisten", "tcp"],
                                  stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        for _ in range(100):
            if os.path.exists(f"/tmp/.X11-unix/X{display}") or server.poll() is not None:
                break
            time.sleep(0.05)
        if server.poll() is None and os.path.exists(f"/tmp/.X11-unix/X{display}"):
            return server, f":{display}"
        server.kill()
        server.wait()
    return None, None


def descendants(node):
    for index in range(node.childCount):
        child = node.getChildAtIndex(index)
        if child is None:
            continue
        yield child
        yield from descendants(child)


def find_application(name, seconds=20):
    desktop = pyatspi.Registry.getDesktop(0)
    deadline = time.time() + seconds
    while time.time() < deadline:
        for index in range(desktop.childCount):
            application = desktop.getChildAtIndex(index)
            if application is not None and application.name == name and application.childCount > 0:
                return application
        time.sleep(0.2)
    return None


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
    environment = dict(os.environ, DISPLAY=display, QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1",
                       XDG_RUNTIME_DIR=folder, XDG_CONFIG_HOME=folder)
    vezodev = subprocess.Popen([copy], env=environment, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        application = find_application("Vezodev")
        if not check(application is not None, "the program never appeared on the accessibility bus"):
            return 1
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
    finally:
        vezodev.terminate()
        vezodev.wait(10)
        server.terminate()
        server.wait(10)
        shutil.rmtree(folder, ignore_errors=True)
    for failure in failures:
        print("FAILED:", failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
