# SPDX-License-Identifier: GPL-3.0-or-later
"""A screen reader's view of the simulated window, over the accessibility bus.

Reads the window's accessible tree, presses READ through its accessible action and
listens to every event until the read has ended; then opens the window's context
menu with Shift+F10 and moves to its first item. Prints one line per check and
exits 1 when one fails."""
import subprocess
import sys

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, GLib  # noqa: E402

TITLE = "RV KDR 10 BUTTON SWITCH PANEL CONFIGURATION PROGRAM - SIMULATED PANEL"
READ = "READ CONFIGURATION FROM SWITCH PANEL"
MENU_ITEMS = ["SAVE CONFIGURATION SHEET\u2026", "SAVE WIRE TRACE\u2026", "FIND THE SWITCH PANEL",
              "ABOUT THIS PROGRAM\u2026"]
READ_TEXTS = [
    "STARTING COMMUNICATIONS TO READ SWITCH PANEL CONFIGURATION",
    "COMMUNICATIONS OK",
    "SWITCH PANEL DATA READ SUCCESSFUL",
]

failures = 0


def check(ok, what):
    global failures
    print(("  ok    " if ok else "  FAIL  ") + what)
    failures += 0 if ok else 1


def descendants(node):
    yield node
    for i in range(node.get_child_count()):
        child = node.get_child_at_index(i)
        if child is not None:
            yield from descendants(child)


def find(root, role, name):
    return next((n for n in descendants(root) if role in (None, n.get_role_name()) and n.get_name() == name), None)


def the_application():
    desktop = Atspi.get_desktop(0)
    for i in range(desktop.get_child_count()):
        app = desktop.get_child_at_index(i)
        if app is not None and app.get_name() == "kdr-switch-panel-simulated":
            return app
    return None


def has_state(node, state):
    return node.get_state_set().contains(state)


def status_text(node):
    return Atspi.Text.get_text(node, 0, Atspi.Text.get_character_count(node))


events = []
popups = []


def heard(event):
    try:
        source = (event.source.get_role_name(), event.source.get_name())
    except GLib.Error:
        source = ("", "")
    data = event.any_data if isinstance(event.any_data, str) else None
    events.append((event.type, event.detail1, source, data))
    if source[0] == "popup menu" and event.detail1 == 1:
        popups.append((event.type, event.source))


listener = Atspi.EventListener.new(heard)
for kind in ("object:", "focus:"):
    listener.register(kind)

loop = GLib.MainLoop()
state = {"waited": 0}


def start():
    app = the_application()
    if app is None:
        state["waited"] += 1
        if state["waited"] > 100:
            check(False, "the simulated window is on the accessibility bus")
            loop.quit()
            return False
        return True
    frame = find(app, "frame", TITLE)
    check(frame is not None, f'the window is a frame named "{TITLE}"')
    root = frame or app
    status = find(root, None, "STATUS")
    check(status is not None and status.get_role_name() == "status bar" and not has_state(status, Atspi.StateType.SHOWING),
          'a hidden status bar "STATUS" is there before any operation')
    for role, name in (("text", "PANEL NAME"), ("combo box", "SERIAL PORT")):
        check(find(root, role, name) is not None, f'the {role} is named "{name}"')
    repeated = [n.get_name() for n in descendants(root) if n.get_name() and n.get_description() == n.get_name()]
    check(not repeated, "no description only repeats its name" + (f": {repeated}" if repeated else ""))
    button = find(root, "push button", READ)
    state.update(waited=0, app=app, root=root, status=status, button=button,
                 focused=button is not None and has_state(button, Atspi.StateType.FOCUSED))
    events.clear()
    Atspi.Action.do_action(button, 0)
    GLib.timeout_add(100, finished)
    return False


def finished():
    status = state["status"] = state["status"] or find(state["root"], None, "STATUS")
    state["waited"] += 1
    if (status is None or status_text(status) != READ_TEXTS[-1]) and state["waited"] < 200:
        return True
    GLib.timeout_add(300, report)  # the events of the last change are still on their way
    return False


def report():
    check(state["status"] is not None and status_text(state["status"]) == READ_TEXTS[-1], f'the read ends with "{READ_TEXTS[-1]}"')
    focus = [e for e in events if e[0].startswith("focus:") or e[0] == "object:state-changed:focused"]
    check(not focus, "the read moves no accessible focus" + (f": {focus[:4]}" if focus else ""))
    check(state["focused"] and has_state(state["button"], Atspi.StateType.FOCUSED),
          "the read button has the focus before and after the read")
    changes = [(e[0].rsplit(":", 1)[1], e[3]) for e in events
               if e[0].startswith("object:text-changed") and e[2][1] == "STATUS"]
    expected = [("insert", READ_TEXTS[0])]
    for before, after in zip(READ_TEXTS, READ_TEXTS[1:]):
        expected += [("delete", before), ("insert", after)]
    check(changes == expected, "each status text reaches the bus once, replacing the one before"
          + ("" if changes == expected else f": {changes}"))
    # The window's extras, from the keyboard as a screen reader's user opens them. A
    # popup is no child of the application on the bus: it is met in its events.
    events.clear()
    state["waited"] = 0
    subprocess.run(["xdotool", "key", "shift+F10"], check=False)
    GLib.timeout_add(100, context_menu)


def context_menu():
    menu = next((source for kind, source in popups if kind == "object:state-changed:showing"), None)
    state["waited"] += 1
    if menu is None and state["waited"] < 50:
        return True
    items = [menu.get_child_at_index(i) for i in range(menu.get_child_count())] if menu else []
    names = [n.get_name() for n in items if n.get_role_name() == "menu item"]
    check(names == MENU_ITEMS, "Shift+F10 opens the context menu, its items named"
          + ("" if names == MENU_ITEMS else f": {names}"))
    # The simulated panel is on a line of its own: there is no port to search.
    enabled = [has_state(n, Atspi.StateType.ENABLED) for n in items]
    check(enabled == [True, True, False, True], f"only the search is unavailable there: {enabled}")
    events.clear()
    state["waited"] = 0
    subprocess.run(["xdotool", "key", "Down"], check=False)
    GLib.timeout_add(100, first_item)
    return False


def first_item():
    focus = [e[2] for e in events if e[0] == "focus:"]
    state["waited"] += 1
    if not focus and state["waited"] < 50:
        return True
    check(focus == [("menu item", MENU_ITEMS[0])], f"Down says the first item: {focus}")
    subprocess.run(["xdotool", "key", "Escape"], check=False)
    loop.quit()
    return False


GLib.timeout_add(100, start)
loop.run()
sys.exit(1 if failures else 0)
