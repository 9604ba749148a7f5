"""記憶の整理 as a screen reader sees it, over AT-SPI: every control that
takes the focus or is read has a Japanese name and its role, and the keys
of the buttons in their descriptions; a search narrows the dictionary's list
to the entries that hold it and Escape brings them all back; Tab goes from
the search to the list, Ctrl+Tab to the next tab, and Ctrl+W closes the
window with status 0.

usage: editor.py HOLVAN_MEMORY_EDITOR DATA_DIR
"""

import os
import shutil
import subprocess
import sys

import pyatspi

from accessible_tree import (PATIENCE, focus_window, holvan_app, memory_copy,
                             press, role, states, wait_for, walk)

TITLE = "記憶の整理"
TEXT = {"text"}
BUTTON = {"push button"}
LIST = {"list", "table", "tree table"}
TABS = ["辞書", "覚えた言葉", "発言の記録", "プロフィール"]
# Each control: its name, the roles it may have, what its description holds.
CONTROLS = [
    ("検索", TEXT, "Esc"),
    ("検索を消す", BUTTON, ""),
    ("辞書の一覧", LIST, "Delete"),
    ("覚えた言葉の一覧", LIST, "Delete"),
    ("選んだ言葉の意味の一覧", LIST, "Delete"),
    ("発言の記録の一覧", LIST, "Delete"),
    ("追加…", BUTTON, ""),
    ("変更…", BUTTON, "Return"),
    ("削除", BUTTON, "Del"),
    ("言葉を変更…", BUTTON, "Return"),
    ("意味を追加…", BUTTON, ""),
    ("意味を変更…", BUTTON, "Return"),
    ("意味を削除", BUTTON, "Del"),
    ("あなたの名前", TEXT, ""),
    ("名前を変更", BUTTON, "Return"),
    ("元に戻す", BUTTON, "Ctrl+Z"),
    ("検査", BUTTON, ""),
    ("保存", BUTTON, "Ctrl+S"),
    ("閉じる", BUTTON, "Ctrl+W"),
] + [(tab, {"page tab"}, "") for tab in TABS]
# Roles that only hold other objects: nothing in them is said.
HOLDERS = {"filler", "layered pane", "split pane", "panel", "unknown"}
SEARCH = "宇都宮"


def unnamed(obj):
    """Whether obj is said without a name: it takes the focus, or it is
    shown and more than a holder."""
    state = states(obj)
    return not obj.name and (state.contains(pyatspi.STATE_FOCUSABLE) or (
        state.contains(pyatspi.STATE_SHOWING) and role(obj) not in HOLDERS))


def check_tree(app):
    window = app.getChildAtIndex(0)
    if role(window) != "frame" or window.name != TITLE:
        sys.exit(f"FAIL: the window is [{role(window)}] {window.name!r}")
    # The rows of the lists are entries, not controls.
    objects = list(walk(window, lambda obj: role(obj) not in LIST))
    blank = next(filter(unnamed, objects), None)
    if blank:
        sys.exit(f"FAIL: a [{role(blank)}] in "
                 f"[{role(blank.parent)}] {blank.parent.name!r} has no name")
    controls = {}
    for name, roles, keys in CONTROLS:
        found = [o for o in objects if o.name == name and role(o) in roles]
        if not found:
            sys.exit(f"FAIL: no {sorted(roles)} named {name}: "
                     f"{[role(o) for o in objects if o.name == name]}")
        if any(keys not in obj.description for obj in found):
            sys.exit(f"FAIL: {name}'s description does not say {keys}")
        controls[name] = found[0]
    if not states(controls["検索"]).contains(pyatspi.STATE_EDITABLE):
        sys.exit("FAIL: the search cannot be edited")
    tab_list = next(o for o in objects if role(o) == "page tab list")
    tabs = [o.name for o in walk(tab_list) if role(o) == "page tab"]
    if tabs != TABS or tab_list.parent.name != "記憶の種類":
        sys.exit(f"FAIL: the tabs are {tabs} in {tab_list.parent.name!r}")
    return controls


def entries(data, name):
    with open(os.path.join(data, name), encoding="cp932", newline="") as file:
        return file.read().split("\r\n")[:-1]


def rows(table):
    return [[table.getAccessibleAt(row, column).name
             for column in range(table.nColumns)]
            for row in range(table.nRows)]


def main():
    program, data = sys.argv[1], sys.argv[2]
    dictionary = entries(data, "dic.dat")
    found = [entry for entry in dictionary if SEARCH in entry]
    if not 0 < len(found) < len(dictionary):
        sys.exit(f"FAIL: {len(found)} entries of the dictionary hold "
                 f"{SEARCH}, of {len(dictionary)}")
    folder = memory_copy(data)
    editor = subprocess.Popen([program, "--dir", folder])
    try:
        app = wait_for("the editor on the accessibility bus", holvan_app)
        controls = wait_for("the window's controls", lambda: check_tree(
            app) if app.childCount else None)
        focus_window(TITLE)
        search, listed = controls["検索"], controls["辞書の一覧"]
        wait_for("the search focused",
                 lambda: states(search).contains(pyatspi.STATE_FOCUSED))
        table = listed.queryTable()
        wait_for("the dictionary listed",
                 lambda: table.nRows == len(dictionary))

        search.queryEditableText().setTextContents(SEARCH)
        wait_for(f"the list narrowed to the {len(found)} entries found",
                 lambda: table.nRows == len(found))
        missed = [row for row in rows(table)
                  if not any(SEARCH in cell for cell in row)]
        if missed:
            sys.exit(f"FAIL: rows without {SEARCH}: {missed}")

        press("Escape")
        wait_for("Escape clearing the search", lambda: table.nRows == len(
            dictionary) and not search.queryText().getText(0, -1))
        press("Tab")
        wait_for("Tab reaching the list with its first row selected",
                 lambda: states(listed).contains(pyatspi.STATE_FOCUSED)
                 and table.isRowSelected(0))
        press("ctrl+Tab")
        wait_for("Ctrl+Tab showing the next tab", lambda: states(
            controls["覚えた言葉の一覧"]).contains(pyatspi.STATE_SHOWING))

        press("ctrl+w")
        wait_for("Ctrl+W closing the editor",
                 lambda: editor.poll() is not None)
        if editor.returncode:
            sys.exit(f"FAIL: the editor ended with {editor.returncode}")
        print("ok")
    finally:
        if editor.poll() is None:
            editor.terminate()
            editor.wait(PATIENCE)
        shutil.rmtree(folder, ignore_errors=True)


main()
