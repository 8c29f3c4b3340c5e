"""Drives Title Fixer's window through AT-SPI and the keyboard alone.

Usage: e2e_atspi.py PID WORK. The program runs on the X display with the
accessibility bus up. Prints "ok: ..." or "FAILED: ..." per check; ends
only the xclip processes it started, by their PIDs.
"""
import os
import subprocess
import sys
import time

import pyatspi

PID = int(sys.argv[1])
WORK = sys.argv[2]
XCLIPS = []


def report(name, good, detail=""):
    print(("ok: " if good else "FAILED: ") + name + ("" if good else "  " + detail), flush=True)


def wait_for(condition, seconds=8.0):
    """The condition's first truthy value within `seconds`, else its last."""
    end = time.monotonic() + seconds
    while True:
        try:
            value = condition()
        except Exception:  # the tree changes under us while the window works
            value = None
        if value or time.monotonic() > end:
            return value
        time.sleep(0.1)


def put_clipboard(text):
    path = os.path.join(WORK, "atspi-clip")
    with open(path, "wb") as f:
        f.write(text.encode())
    xclip = subprocess.Popen(["xclip", "-selection", "clipboard", "-i", "-quiet", path],
                             stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    XCLIPS.append(xclip)
    wait_for(lambda: clipboard() == text, 5)


def clipboard():
    run = subprocess.run(["xclip", "-selection", "clipboard", "-o"], capture_output=True)
    return run.stdout.decode(errors="replace") if run.returncode == 0 else ""


def expect_clipboard(name, text):
    got = wait_for(lambda: clipboard() == text and text, 5)
    report(name, bool(got), "clipboard: %r" % clipboard())


def key(*keys):
    subprocess.run(["xdotool", "key", "--clearmodifiers"] + list(keys), check=True)
    time.sleep(0.25)


def application():
    desktop = pyatspi.Registry.getDesktop(0)
    for i in range(desktop.childCount):
        app = desktop.getChildAtIndex(i)
        if app is not None and app.get_process_id() == PID:
            return app
    return None


def walk(node):
    yield node
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is not None:
            yield from walk(child)


def find(root, name, role=None, showing=False):
    for node in walk(root):
        if node.name == name and (role is None or node.getRole() == role) and \
                (not showing or node.getState().contains(pyatspi.STATE_SHOWING)):
            return node
    return None


def focused(app):
    for node in walk(app):
        if node.getState().contains(pyatspi.STATE_FOCUSED):
            return node
    return None


def text_of(node):
    t = node.queryText()
    return t.getText(0, t.characterCount)


def checkable(node):
    return node.getState().contains(pyatspi.STATE_CHECKABLE) or \
        node.getRole() in (pyatspi.ROLE_CHECK_MENU_ITEM, pyatspi.ROLE_CHECK_BOX)


def status_bar(window):
    for node in walk(window):
        if node.getRole() == pyatspi.ROLE_STATUS_BAR:
            return node
    return None


def status(window):
    """The status line's labels, as a screen reader reads them."""
    bar = status_bar(window)
    return [bar.getChildAtIndex(i).name for i in range(bar.childCount)] if bar else []


def main_window(app):
    for i in range(app.childCount):
        w = app.getChildAtIndex(i)
        if w is not None and w.name == "Quorvel's Title Fixer Program":
            return w
    return None


def dialog_named(app, words):
    for i in range(app.childCount):
        w = app.getChildAtIndex(i)
        if w is None or w.name == "Quorvel's Title Fixer Program":
            continue
        if not w.getState().contains(pyatspi.STATE_SHOWING):
            continue
        every = " ".join(n.name for n in walk(w))
        if words in w.name or words in every:
            return w
    return None


def main():
    app = wait_for(application, 20)
    report("the program is on the accessibility bus", app is not None)
    if app is None:
        return
    window = wait_for(lambda: main_window(app), 10)
    report("its main window is there, named by its caption", window is not None)
    if window is None:
        return

    # Names, roles and descriptions, as a screen reader announces them.
    controls = [
        ("Clipboard text", pyatspi.ROLE_LABEL),
        ("Working text", pyatspi.ROLE_TEXT),
        ("Authors", pyatspi.ROLE_TEXT),
        ("Title", pyatspi.ROLE_TEXT),
        ("Copy to Clipboard", pyatspi.ROLE_PUSH_BUTTON),
        ("Refresh from Clipboard", pyatspi.ROLE_PUSH_BUTTON),
        ("Just strip Line Breaks", pyatspi.ROLE_PUSH_BUTTON),
        ("Quit", pyatspi.ROLE_PUSH_BUTTON),
        ("Copy Authors to Clipboard", pyatspi.ROLE_PUSH_BUTTON),
        ("Copy Title to Clipboard", pyatspi.ROLE_PUSH_BUTTON),
        ("More", pyatspi.ROLE_PUSH_BUTTON),
        ("Squish", pyatspi.ROLE_PUSH_BUTTON),
        ("Join lines, keeping paragraphs", pyatspi.ROLE_PUSH_BUTTON),
    ]
    for name, role in controls:
        node = find(window, name, role)
        report("%s: named, with its role and a description" % name,
               node is not None and node.description != "",
               "not found" if node is None else "description %r" % node.description)
    # Every button lies inside the window, at any scale.
    frame = window.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    outside = []
    for node in walk(window):
        if node.getRole() != pyatspi.ROLE_PUSH_BUTTON or not node.getState().contains(pyatspi.STATE_SHOWING):
            continue
        b = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        if b.width <= 0 or b.height <= 0 or b.x < frame.x or b.y < frame.y or \
                b.x + b.width > frame.x + frame.width or b.y + b.height > frame.y + frame.height:
            outside.append((node.name, b.x, b.y, b.width, b.height))
    report("every button lies inside the window", outside == [], str(outside))
    # A button is announced once, by its name: nothing inside it speaks.
    buttons = [n for n in walk(window) if n.getRole() == pyatspi.ROLE_PUSH_BUTTON]
    report("buttons have no children a screen reader would read again",
           buttons != [] and all(b.childCount == 0 for b in buttons),
           str([(b.name, b.childCount) for b in buttons]))
    unnamed = [n.getRoleName() for n in walk(window)
               if n.getRole() in (pyatspi.ROLE_PUSH_BUTTON, pyatspi.ROLE_TEXT, pyatspi.ROLE_MENU_ITEM,
                                  pyatspi.ROLE_CHECK_MENU_ITEM) and n.name == ""]
    report("every control and menu item has a name", unnamed == [], str(unnamed))
    menus = [window.getChildAtIndex(i) for i in range(window.childCount)]
    bar = next((m for m in menus if m is not None and m.getRole() == pyatspi.ROLE_MENU_BAR), None)
    names = [bar.getChildAtIndex(i).name for i in range(bar.childCount)] if bar else []
    report("menus File, Edit, Options, Help", names == ["File", "Edit", "Options", "Help"], str(names))
    smart = find(window, "Smart repairs")
    report("Smart repairs is a checkable item, unchecked",
           smart is not None and checkable(smart) and not smart.getState().contains(pyatspi.STATE_CHECKED),
           "" if smart is None else "%s %s" % (smart.getRoleName(), smart.getState().getStates()))

    # Tab walks the controls as they stand on the screen and never types.
    working = find(window, "Working text", pyatspi.ROLE_TEXT)
    before = text_of(working)
    seen = []
    for _ in range(9):
        key("Tab")
        node = wait_for(lambda: focused(app), 3)
        seen.append(node.name if node is not None else None)
    expected = ["Copy to Clipboard", "Refresh from Clipboard", "Just strip Line Breaks", "Quit",
                "Join lines, keeping paragraphs", "Squish", "More", "Clipboard text", "Working text"]
    report("Tab follows the screen, row by row", seen == expected, str(seen))
    report("Tab typed nothing", text_of(working) == before, repr(text_of(working)))

    # Every command from the keyboard.
    key("alt+c")
    expect_clipboard("Alt+C copies the working text", "The Geology of New Zealand; Smith, J.r.")
    put_clipboard("A STUDY OF HEAT FLOW; smith, j.r. and jones, a.")
    key("F5")
    wait_for(lambda: text_of(working) == "A Study of Heat Flow; Smith, J.R. and Jones, A.", 5)
    key("alt+r")
    key("alt+m")
    authors = find(window, "Authors", pyatspi.ROLE_TEXT)
    report("Alt+M shows the authors and title",
           bool(wait_for(lambda: authors.getState().contains(pyatspi.STATE_SHOWING), 5)))
    key("alt+a")
    expect_clipboard("Alt+A copies the authors", "Smith, J.R. and Jones, A.")
    key("alt+t")
    expect_clipboard("Alt+T copies the title", "A Study of Heat Flow")
    key("alt+m")
    put_clipboard("x h e a t e d y\r\n\r\nnext , line")
    key("alt+2")
    key("alt+c")
    expect_clipboard("Alt+2 joins, keeping paragraphs", "x heated y\r\rnext, line")
    put_clipboard("x h e a t e d y\r\n\r\nnext , line")
    key("alt+j")
    key("alt+c")
    expect_clipboard("Alt+J joins the lines", "x heated y next, line")
    # Into the working text by Tab, the user's own text, then Squish.
    for _ in range(12):
        node = focused(app)
        if node is not None and node.name == "Working text":
            break
        key("Tab")
    key("ctrl+a")
    subprocess.run(["xdotool", "type", "--delay", "30", "x w e l l s ok"], check=True)
    key("alt+s")
    report("the status line says what Squish did",
           bool(wait_for(lambda: "Squish joined 1 word" in status(window), 5)), str(status(window)))
    key("alt+c")
    expect_clipboard("Alt+S squishes the user's text", "x wells ok")
    report("and what Copy did", bool(wait_for(lambda: "Copied 10 characters" in status(window), 5)),
           str(status(window)))

    # The menus, from the keyboard.
    put_clipboard("Grant, M.A., 2011. Geothermal reservoir engineering. Academic Press, New York.")
    key("F5")
    key("alt+e", "b")
    got = wait_for(lambda: clipboard().startswith("@"), 5)
    report("Edit > Copy as BibTeX (Alt+E, B)", bool(got), repr(clipboard()[:60]))
    key("alt+e", "r")
    got = wait_for(lambda: clipboard().startswith("TY  - "), 5)
    report("Edit > Copy as RIS (Alt+E, R)", bool(got), repr(clipboard()[:60]))
    key("alt+e", "c")
    got = wait_for(lambda: clipboard().startswith("["), 5)
    report("Edit > Copy as CSL-JSON (Alt+E, C)", bool(got), repr(clipboard()[:60]))
    key("alt+e", "e")
    references = wait_for(lambda: dialog_named(app, "1 reference"), 5)
    report("Edit > References... opens, counting what it found", references is not None)
    key("Escape")
    report("Escape closes it", bool(wait_for(lambda: dialog_named(app, "1 reference") is None, 5)))
    key("alt+o", "s")
    report("Options > Smart repairs turns them on, and the status line says so",
           bool(wait_for(lambda: "Smart repairs on" in status(window), 5)), str(status(window)))
    report("Smart repairs now reads checked",
           bool(wait_for(lambda: find(window, "Smart repairs").getState().contains(pyatspi.STATE_CHECKED), 5)))
    key("alt+o", "s")
    report("and off again", bool(wait_for(lambda: "Smart repairs on" not in status(window), 5)),
           str(status(window)))
    key("alt+o", "k")
    box = wait_for(lambda: dialog_named(app, "titlefixer join --clipboard"), 5)
    report("Options > Keyboard shortcuts... explains the desktop's own way without a portal", box is not None)
    key("Return")
    wait_for(lambda: dialog_named(app, "titlefixer join --clipboard") is None, 5)
    key("F1")
    handbook = wait_for(lambda: dialog_named(app, "Title Fixer Handbook"), 5)
    report("F1 opens the handbook", handbook is not None)
    key("Escape")
    report("Escape closes it", bool(wait_for(lambda: dialog_named(app, "Title Fixer Handbook") is None, 5)))
    key("alt+h", "a")
    about = wait_for(lambda: dialog_named(app, "About Title Fixer"), 5)
    report("Help > About Title Fixer (Alt+H, A)", about is not None)
    key("Return")
    wait_for(lambda: dialog_named(app, "About Title Fixer") is None, 5)
    key("ctrl+q")


try:
    main()
finally:
    for x in XCLIPS:
        x.terminate()
        x.wait()
