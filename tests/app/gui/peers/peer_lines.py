"""The line protocol between a test and its D-Bus peer.

The test writes commands to the peer's standard input, one a line, words
separated by single spaces. The peer writes one line per answer or event to
its standard output: fields separated by tabs, each field with backslash,
tab and newline written as \\\\, \\t and \\n.
"""
import os
import sys

from gi.repository import GLib


def escape(field):
    return str(field).replace("\\", "\\\\").replace("\t", "\\t").replace("\n", "\\n")


def emit(*fields):
    sys.stdout.write("\t".join(escape(f) for f in fields) + "\n")
    sys.stdout.flush()


def read_commands(handle, loop):
    """Calls handle(words) for every command line; quits loop at end of input."""
    pending = b""

    def on_input(fd, condition):
        nonlocal pending
        data = os.read(fd, 4096) if condition & GLib.IO_IN else b""
        if not data:
            loop.quit()
            return False
        pending += data
        while b"\n" in pending:
            line, pending = pending.split(b"\n", 1)
            words = line.decode("utf-8").split(" ")
            try:
                handle(words)
            except Exception as error:  # a broken command is an answer, not a crash
                emit("error", words[0], repr(error))
        return True

    GLib.io_add_watch(sys.stdin.fileno(), GLib.IO_IN | GLib.IO_HUP | GLib.IO_ERR, on_input)
