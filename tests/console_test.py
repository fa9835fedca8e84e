#!/usr/bin/env python3
"""The program on a terminal: every trace line reaches the console the moment it is printed.

usage: console_test.py WINE64 TARVEL_EXE SCENARIOS_EXE
"""
import os
import pty
import re
import select
import subprocess
import sys
import termios
import time

LINE = b"GetCapture(): 00000000\r\n"
# What Wine's console adds around the text on a terminal.
VT_ESCAPE = re.compile(rb"\x1b\[[0-9;?]*[A-Za-z]|\x1b\][^\x07]*\x07")


def main():
    wine, tarvel, scenarios = sys.argv[1:4]
    master, slave = pty.openpty()
    attrs = termios.tcgetattr(slave)
    attrs[1] &= ~termios.OPOST  # bytes as the program writes them: no added carriage returns
    termios.tcsetattr(slave, termios.TCSANOW, attrs)
    start = time.monotonic()
    program = subprocess.Popen([wine, tarvel], stdin=slave, stdout=slave, stderr=slave,
                               start_new_session=True)
    os.close(slave)

    received = b""
    arrivals = []  # seconds after the start at which each polling line was complete

    def read_until(lines, seconds):
        nonlocal received
        deadline = time.monotonic() + seconds
        while time.monotonic() < deadline and len(arrivals) < lines:
            ready, _, _ = select.select([master], [], [], 0.05)
            if not ready:
                continue
            try:
                chunk = os.read(master, 4096)
            except OSError:
                return
            if not chunk:
                return
            received += chunk
            while VT_ESCAPE.sub(b"", received).count(LINE) > len(arrivals):
                arrivals.append(time.monotonic() - start)

    # Each line arrives while the program runs, a second after the one before: none held back.
    read_until(3, 20)
    failures = []
    if program.poll() is not None:
        failures.append("the program ended by itself with status %d" % program.returncode)
    if len(arrivals) < 3:
        failures.append("only %d polling lines arrived while the program ran" % len(arrivals))
    elif arrivals[2] - arrivals[0] < 1.5:
        failures.append("lines arrived together, not once a second: %s" % arrivals)
    if program.poll() is None:
        subprocess.run([wine, scenarios, "close-tarvel"], check=False)
    try:
        status = program.wait(20)
    except subprocess.TimeoutExpired:
        program.kill()
        status = None
    read_until(1000, 0.5)
    os.close(master)

    text = VT_ESCAPE.sub(b"", received)
    if status != 0:
        failures.append("exit status %r, expected 0" % status)
    lines = text.count(LINE)
    if text != LINE * lines:
        failures.append("console output is not only polling lines ending in CR LF: %r" % text[:200])
    print("%d polling lines, arrival times %s" % (lines, ["%.1f" % a for a in arrivals]))
    for failure in failures:
        print("FAIL:", failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
