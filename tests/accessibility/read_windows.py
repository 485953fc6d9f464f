#!/usr/bin/python3
"""Reads the running sgsetup window through AT-SPI, as a screen reader does, and checks
what it would say: names, roles, descriptions and the help sheet's text."""
import sys
import time

import pyatspi


def walk(node):
    yield node
    for child in node:
        if child is not None:
            yield from walk(child)


def wait_for(find, seconds=10):
    end = time.time() + seconds
    while time.time() < end:
        found = find()
        if found is not None:
            return found
        time.sleep(0.1)
    return None


def application(name):
    return next((app for app in pyatspi.Registry.getDesktop(0) if app and app.name == name), None)


def frame(app, name):
    return next((node for node in app if node and node.getRoleName() == "frame" and node.name == name), None)


def text_of(node):
    try:
        text = node.queryText()
        return text.getText(0, -1)
    except NotImplementedError:
        return ""


failures = []


def check(what, ok, seen=""):
    print(("ok - " if ok else "not ok - ") + what + ("" if ok else f" (saw {seen!r})"))
    if not ok:
        failures.append(what)


app = wait_for(lambda: application(sys.argv[1]))
if app is None:
    print(f"not ok - no application {sys.argv[1]!r} on the accessibility bus")
    sys.exit(1)
main = wait_for(lambda: frame(app, "sgsetup - Signal Generator Setup"))
check("the main window is a frame with its title", main is not None,
      [(n.getRoleName(), n.name) for n in app])
if main is None:
    sys.exit(1)

boxes = {node.name: node for node in walk(main) if node.getRoleName() == "text"}
names = ["DATA", "len", "Startup delay", "Mode", "Baud rate, high byte", "Baud rate, low byte",
         "Message delay", "Byte delay", "Repeat count", "COM"]
check("every box is named by its caption", sorted(boxes) == sorted(names), sorted(boxes))
described = {name: boxes[name].description for name in names if name in boxes}
check("no description is made of dashes",
      not any(d and set(d) <= set("->") for d in described.values()), described)
check("a unit note stays the box's description",
      described.get("Startup delay") == "x 4 ms, 00= no delay", described.get("Startup delay"))
check("the Mode box describes its bits in words",
      described.get("Mode", "").startswith("Mode 00:\n  bit 0 = 0: fixed rate by jumper"),
      described.get("Mode"))
for byte in ("high", "low"):
    check(f"the divisor's {byte} byte says what the pair does",
          described.get(f"Baud rate, {byte} byte") ==
          "Baud rate 00 00: divisor 0, not used while mode bit 0 is 0 (the jumper sets the rate)",
          described.get(f"Baud rate, {byte} byte"))

mode = boxes["Mode"].queryEditableText()
mode.setTextContents("01")
check("the description follows the value",
      wait_for(lambda: boxes["Baud rate, low byte"].description.startswith(
          "Baud rate 00 00: divisor 0, 10^7 / (16 x 1) = 625000 baud") or None, 3) is not None,
      boxes["Baud rate, low byte"].description)

help_button = next(node for node in walk(main)
                   if node.getRoleName() == "push button" and node.name == "Help")
help_button.queryAction().doAction(0)
sheet_window = wait_for(lambda: frame(app, "Help"))
check("the help window is a frame named Help", sheet_window is not None,
      [(n.getRoleName(), n.name) for n in app])
if sheet_window is not None:
    sheet = "\n".join(text_of(node) for node in walk(sheet_window))
    for line in ("xxxxx1xx - parity ODD", "xxxx1xxx - parity EVEN",
                 "BRR equals 1 times 10 to the power of 7, divided by 16 times baud, minus 1"):
        check(f"the help text reads '{line}'", line in sheet, sheet)

print(f"{len(failures)} failed")
sys.exit(1 if failures else 0)
