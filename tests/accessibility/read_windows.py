#!/usr/bin/python3
"""Reads the running window through AT-SPI as a screen reader does: names, roles,
descriptions and the help sheet's text."""
import sys
import time

import pyatspi


def walk(node):
    yield node
    for child in node:
        yield from walk(child) if child is not None else ()


def wait_for(find, seconds=30):
    end = time.time() + seconds
    while time.time() < end and not find():
        time.sleep(0.1)
    return find()


def frame(app, name):
    return next((n for n in app if n and n.getRoleName() == "frame" and n.name == name), None)


failures = 0


def check(what, ok, seen):
    global failures
    failures += not ok
    print(("ok - " if ok else "not ok - ") + what + ("" if ok else f" (saw {seen!r})"))


desktop = pyatspi.Registry.getDesktop(0)
app = wait_for(lambda: next((a for a in desktop if a and a.name == sys.argv[1]), None))
main = app and wait_for(lambda: frame(app, "sgsetup - Signal Generator Setup"))
check("the main window is a frame with its title", main, app and [(n.getRoleName(), n.name) for n in app])
if not main:
    sys.exit(1)
boxes = {n.name: n for n in walk(main) if n.getRoleName() == "text"}
said = {name: box.description for name, box in boxes.items()}
unused = "Baud rate 00 00: divisor 0, not used while mode bit 0 is 0 (the jumper sets the rate)"
spoken = {"DATA": "", "len": "", "Startup delay": "x 4 ms, 00= no delay", "Mode": "Mode 00:",
          "Baud rate, high byte": unused, "Baud rate, low byte": unused,
          "Message delay": "x 4 ms, 00= no delay", "Byte delay": "x 0.1 ms, 00= no delay",
          "Repeat count": "if 0x00 then infinite", "COM": ""}
check("every box is named by its caption and described by its note, or in words",
      {name: text.split("\n")[0] for name, text in said.items()} == spoken, said)
boxes["Mode"].queryEditableText().setTextContents("01")
low = boxes["Baud rate, low byte"]
check("the description follows the value", wait_for(lambda: low.description.startswith(
    "Baud rate 00 00: divisor 0, 10^7 / (16 x 1) = 625000 baud"), 3), low.description)

next(n for n in walk(main) if n.getRoleName() == "push button" and n.name == "Help").queryAction().doAction(0)
sheet = wait_for(lambda: frame(app, "Help"))
check("the help window is a frame named Help", sheet, [(n.getRoleName(), n.name) for n in app])
text = sheet and "\n".join(n.queryText().getText(0, -1) for n in walk(sheet) if "Text" in n.get_interfaces())
check("the help text reads the parity and the divisor lines", text and all(line in text for line in (
    "xxxxx1xx - parity ODD\nxxxx1xxx - parity EVEN",
    "BRR equals 1 times 10 to the power of 7, divided by 16 times baud, minus 1")), text)
sys.exit(1 if failures else 0)
