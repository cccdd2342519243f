"""Reads the program's windows as a screen reader does, through AT-SPI, on a display and a
session bus of the caller's own (see screen-reader-names.sh). Starts the program, goes through
each window by pressing its buttons as a screen reader user would, prints the name and role of
every control there, checks them against what the windows must say, and quits the program.

Usage: /usr/bin/python3 screen_reader_names.py PROGRAM
"""

import subprocess
import sys
import time

import pyatspi

# How long to wait for the program to show a window or to go.
TIMEOUT = 60

# Each window's controls that take the focus, as role and name.
EXPECTED = {
    "main menu": [
        ("text", "Where is your Quillon"),
        ("push button", "Set"),
        ("push button", "Edit My Loadouts"),
        ("push button", "Edit Other Options"),
        ("push button", "Help!"),
        ("push button", "Quit"),
    ],
    "help": [("push button", "CLOSE")],
    "loadouts": [("text", f"{team} Loadout {n}") for team in ("Thief", "Guard") for n in "1234"]
    + [
        ("check box", "Force Buying?"),
        ("push button", "Discard changes"),
        ("push button", "Save"),
        ("push button", "Exit"),
    ],
    "other options": [
        ("text", "Player Name"),
        ("check box", "Show Visibility %?"),
        ("check box", "Show Location in Chat Window?"),
        ("text", "Cache Purge Time (days)"),
        ("check box", "Allow Downloads?"),
        ("check box", "Invert Mouse?"),
        ("text", "Mouse Sensitivity"),
        ("check box", "Balance Teams?"),
        ("check box", "Log IP in Chat?"),
        ("text", "Time Limit"),
        ("text", "Guard Starting Loot"),
        ("push button", "Default Guard Starting Loot"),
        ("text", "Thief Starting Loot"),
        ("push button", "Default Thief Starting Loot"),
        ("text", "Percent of Loot Dropped"),
        ("text", "Percent to Pass Votes"),
        ("push button", "Discard Changes"),
        ("push button", "Save Settings"),
        ("push button", "Exit"),
    ],
    "a message": [("push button", "OK")],
    "a question": [("push button", "Yes"), ("push button", "No"), ("push button", "Cancel")],
}

faults = []
program = None  # the program's process


def wait_for(find, what):
    """What find returns once it returns something, polling until TIMEOUT."""
    deadline = time.monotonic() + TIMEOUT
    while time.monotonic() < deadline:
        if program.poll() is not None:
            status = program.returncode
            raise RuntimeError(f"the program ended (status {status}) while waiting for the {what}")
        try:
            found = find()
        except Exception:  # the program's objects come and go while it works
            found = None
        if found:
            return found
        time.sleep(0.1)
    raise TimeoutError(f"waited {TIMEOUT} s in vain for the {what}")


def descendants(node):
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is not None:
            yield child
            yield from descendants(child)


def has(node, state):
    return node.getState().contains(state)


def program_app():
    desktop = pyatspi.Registry.getDesktop(0)
    for i in range(desktop.childCount):
        app = desktop.getChildAtIndex(i)
        if app is not None and app.name == "quillon-tool":
            return app
    return None


def showing_window(holding):
    """The program's window on screen that holds an enabled control named holding."""
    app = program_app()
    for window in [app.getChildAtIndex(i) for i in range(app.childCount)] if app else []:
        if window is not None and has(window, pyatspi.STATE_SHOWING):
            for control in descendants(window):
                if control.name == holding and has(control, pyatspi.STATE_ENABLED):
                    return window
    return None


def controls(window):
    """The window's controls that take the focus, and the text of a message box."""
    return [
        c
        for c in descendants(window)
        if has(c, pyatspi.STATE_FOCUSABLE) or (c.getRole() == pyatspi.ROLE_LABEL and c.name)
    ]


def labelled_by(control):
    """The names of the labels that a screen reader reads as the control's caption."""
    return [
        relation.getTarget(i).name
        for relation in control.getRelationSet()
        if relation.getRelationType() == pyatspi.RELATION_LABELLED_BY
        for i in range(relation.getNTargets())
    ]


def report(title, window):
    """Prints what a screen reader reads for the window's controls and checks it."""
    print(f'{title} (window "{window.name}"):')
    read = []
    found = controls(window)
    captions = {c.name.rstrip("?") for c in found if c.getRole() == pyatspi.ROLE_LABEL}
    for control in found:
        role, name = control.getRoleName(), control.name
        labels = labelled_by(control)
        about = f" (labelled by {', '.join(map(repr, labels))})" if labels else ""
        about += f"  -- {control.description}" if control.description else ""
        print(f"  {role:12} {name}{about}")
        if control.getRole() != pyatspi.ROLE_LABEL:
            read.append((role, name))
        # A box with a caption beside it is that caption's: a screen reader ties the two.
        if control.getRole() == pyatspi.ROLE_TEXT and name in captions and name not in labels:
            faults.append(f"{title}: the box {name} is not labelled by its caption")
    names = [name for _, name in read]
    if any(not name for name in names) or len(set(names)) != len(names):
        faults.append(f"{title}: a control without a name of its own: {names}")
    if sorted(read) != sorted(EXPECTED[title]):
        faults.append(f"{title}: read {sorted(read)}, expected {sorted(EXPECTED[title])}")


def press(window, name):
    """Does what pressing the named control does, as a screen reader's user would."""
    control = next(c for c in descendants(window) if c.name == name)
    action = control.queryAction()
    names = [action.getName(i).lower() for i in range(action.nActions)]
    index = next(names.index(n) for n in ("press", "toggle", "click") if n in names)
    action.doAction(index)


def gone(window):
    try:
        return not has(window, pyatspi.STATE_SHOWING)
    except Exception:
        return True  # the window no longer exists


def visit(window, button, holding, title):
    """Presses the button of a window on screen, waits for the window it opens (the one holding
    a control of that name) and reports it."""
    wait_for(lambda: has(window, pyatspi.STATE_SHOWING), f"window to press {button} in")
    press(window, button)
    opened = wait_for(lambda: showing_window(holding), f"{title} window")
    report(title, opened)
    return opened


def leave(window, button):
    """Presses the button that closes the window, and waits for it to go."""
    press(window, button)
    wait_for(lambda: gone(window), f"window to close after {button}")


def go_through_the_windows():
    main = wait_for(lambda: showing_window("Edit My Loadouts"), "main menu that found the files")
    report("main menu", main)
    leave(visit(main, "Help!", "CLOSE", "help"), "CLOSE")
    leave(visit(main, "Edit My Loadouts", "Force Buying?", "loadouts"), "Exit")
    options = visit(main, "Edit Other Options", "Default Thief Starting Loot", "other options")
    # The sample files hold the guard's default loot already: the program says so.
    leave(visit(options, "Default Guard Starting Loot", "OK", "a message"), "OK")
    press(options, "Invert Mouse?")
    leave(visit(options, "Exit", "Cancel", "a question"), "No")
    wait_for(lambda: gone(options), "other options window to close after No")
    wait_for(lambda: has(main, pyatspi.STATE_SHOWING), "main menu after the editor")
    press(main, "Quit")


def main():
    global program
    program = subprocess.Popen([sys.argv[1]])
    try:
        go_through_the_windows()
        status = program.wait(TIMEOUT)
        if status != 0:
            faults.append(f"the program ended with status {status} after Quit")
    finally:
        if program.poll() is None:
            program.kill()
            program.wait()
    for fault in faults:
        print("FAULT:", fault, file=sys.stderr)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
