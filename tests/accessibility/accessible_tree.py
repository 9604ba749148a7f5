"""What the walks of Holvan's windows share: waiting on a condition, the
accessible tree as a screen reader sees it (AT-SPI through pyatspi), a
memory folder of their own, and the keyboard given to a window."""

import os
import shutil
import subprocess
import sys
import tempfile
import time

import pyatspi

PATIENCE = 60  # seconds: a busy machine is slow, never wrong
MEMORY_FILES = ("dic.dat", "brain.dat", "res.dat", "holv.dat")


def wait_for(what, check, patience=PATIENCE):
    deadline = time.monotonic() + patience
    while time.monotonic() < deadline:
        found = check()
        if found:
            return found
        time.sleep(0.1)
    sys.exit(f"FAIL: {what} (waited {patience} s)")


def walk(obj, enter=lambda obj: True):
    """obj and what lies under it, except under the objects enter refuses."""
    yield obj
    if not enter(obj):
        return
    for i in range(obj.childCount):
        child = obj.getChildAtIndex(i)
        if child is not None:
            yield from walk(child, enter)


def holvan_app():
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.name == "Holvan" and app.childCount:
            return app
    return None


def role(obj):
    return obj.getRoleName()


def states(obj):
    return obj.getState()


def memory_copy(data):
    """A new folder holding a copy of the memory in data."""
    folder = tempfile.mkdtemp()
    for name in MEMORY_FILES:
        shutil.copy(os.path.join(data, name), folder)
    return folder


def focus_window(title):
    """Gives the window titled title the keyboard, as a click on it would."""
    window_id = subprocess.run(
        ["xdotool", "search", "--sync", "--name", f"^{title}$"],
        capture_output=True, text=True, check=True,
        timeout=PATIENCE).stdout.split()[0]
    subprocess.run(["xdotool", "windowfocus", "--sync", window_id],
                   check=True, timeout=PATIENCE)


def press(keys):
    """Keys pressed on the window that has the keyboard, as xdotool names
    them."""
    subprocess.run(["xdotool", "key", keys], check=True, timeout=PATIENCE)
