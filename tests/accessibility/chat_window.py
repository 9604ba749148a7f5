"""The chat window as a screen reader sees it, over AT-SPI: every control
named and in its role; what Holvan says reaches the user as a notification
with the line's exact text, for a reply and for an idle remark, while the
input line keeps its text, caret and focus; the closing box is an alert.
With --orca, Orca itself runs and its speech must carry the reply.

usage: chat_window.py HOLVAN DATA_DIR [--orca]
"""

import os
import pty
import shutil
import subprocess
import sys
import threading

import pyatspi

from accessible_tree import (PATIENCE, focus_window, holvan_app, memory_copy,
                             role, states, wait_for, walk)


def showing_notices(app):
    return [o.name for o in walk(app) if role(o) == "notification"
            and states(o).contains(pyatspi.STATE_SHOWING)]


def said(app, line):
    """Whether a showing notification carries the line, exactly."""
    return any(line in name.split("\n") for name in showing_notices(app))


def check_tree(app):
    window = app.getChildAtIndex(0)
    if role(window) != "frame" or window.name != "Holvan":
        sys.exit(f"FAIL: the window is [{role(window)}] {window.name!r}")
    controls = {}
    for obj in walk(window):
        if states(obj).contains(pyatspi.STATE_FOCUSABLE):
            if not obj.name:
                sys.exit(f"FAIL: a [{role(obj)}] has no name")
            controls[obj.name] = obj
    expected = {"会話": "text", "入力欄": "text", "話す": "push button",
                "終了": "push button"}
    for name, kind in expected.items():
        if name not in controls or role(controls[name]) != kind:
            sys.exit(f"FAIL: no [{kind}] named {name}: {list(controls)}")
    if states(controls["会話"]).contains(pyatspi.STATE_EDITABLE):
        sys.exit("FAIL: the conversation is an editable field")
    if not states(controls["入力欄"]).contains(pyatspi.STATE_EDITABLE):
        sys.exit("FAIL: the input line cannot be edited")
    return controls


def talk(controls, line):
    controls["入力欄"].queryEditableText().setTextContents(line)
    controls["話す"].queryAction().doAction(0)


def main():
    program, data = sys.argv[1], sys.argv[2]
    orca = "--orca" in sys.argv
    folder = memory_copy(data)
    # Orca's log goes to a terminal, which it writes line by line (to a file
    # it writes in blocks, held back while it is quiet).
    log = []
    if orca:
        reader, writer = pty.openpty()

        def keep_reading():
            while True:
                try:
                    chunk = os.read(reader, 65536)
                except OSError:
                    return
                if not chunk:
                    return
                log.append(chunk.decode(errors="replace"))

        threading.Thread(target=keep_reading, daemon=True).start()

    def spoken():
        return [line for line in "".join(log).splitlines()
                if "SPEECH OUTPUT:" in line]
    processes = []
    try:
        if orca:
            processes.append(subprocess.Popen(
                ["orca", "--replace", "--debug-file=" + os.ttyname(writer)],
                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL))
            wait_for("Orca started",
                     lambda: any("Screen reader on" in l for l in spoken()))
        processes.append(subprocess.Popen([program], cwd=folder))
        app = wait_for("Holvan on the accessibility bus", holvan_app)
        controls = wait_for("the window's controls",
                            lambda: check_tree(app) if app.childCount else None)
        focus_window("Holvan")
        wait_for("the input line focused", lambda: states(
            controls["入力欄"]).contains(pyatspi.STATE_FOCUSED))

        wait_for("the name question said", lambda: said(app, "お名前を教えて下さい"))
        talk(controls, "太郎")
        wait_for("the name's reply said",
                 lambda: said(app, "太郎さんですね 記録しました"))
        reply = "東京 とは 日本の首都の東京都 という事らしいです"
        talk(controls, "東京は？")
        wait_for("the reply said", lambda: said(app, reply))
        if any("太郎 > " in name for name in showing_notices(app)):
            sys.exit("FAIL: the user's own line was read back")
        if orca:
            try:
                wait_for("Orca speaking the reply",
                         lambda: any(reply in line for line in spoken()))
            except SystemExit:
                print("\n".join(spoken()), file=sys.stderr)
                open("/tmp/orca-test.log", "w").write("".join(log))
                raise
            print("ok")
            return

        # An idle remark while a line is being typed: it is said, and the
        # line, its caret and the focus stay.
        talk(controls, "独り言許可")
        line = controls["入力欄"]
        wait_for("the turn taking the line", lambda: not line.queryText().getText(0, -1))
        line.queryEditableText().setTextContents("こんにちは")
        line.queryText().setCaretOffset(2)
        before = set(showing_notices(app))
        # About one tick in four says something: 96 silent ticks in a row
        # are less than one chance in 10^11; 24 were one in 700.
        wait_for("an idle remark said",
                 lambda: set(showing_notices(app)) - before, patience=480)
        text = line.queryText()
        if (text.getText(0, -1), text.caretOffset) != ("こんにちは", 2):
            sys.exit("FAIL: the input line changed under an idle remark: "
                     f"{text.getText(0, -1)!r} caret {text.caretOffset}")
        if not states(line).contains(pyatspi.STATE_FOCUSED):
            sys.exit("FAIL: an idle remark took the focus")

        # The closing box is an alert that carries its text.
        controls["終了"].queryAction().doAction(0)
        box = wait_for("the closing box as an alert", lambda: next(
            (o for o in walk(app) if role(o) == "alert"), None))
        if not any("終了します" in (o.name or "") or (
                role(o) == "label" and "終了します" in o.queryText().getText(0, -1))
                for o in walk(box)):
            sys.exit("FAIL: the closing box does not say 終了します")
        print("ok")
    finally:
        # Holvan must end on SIGTERM; Orca, which a busy machine can keep
        # from heeding it for minutes, is not under test: it is killed.
        for process in reversed(processes):
            if process.args[0] == "orca":
                process.kill()
            else:
                process.terminate()
            process.wait(PATIENCE)
        shutil.rmtree(folder, ignore_errors=True)


main()
