"""Sends one message COUNT times through Python's smtplib, a new connection
for each send, and prints how long each send took in microseconds, one per
line. The message file holds the text exactly as it goes after DATA.

usage: smtplib_send.py HOST PORT COUNT FROM TO MESSAGE_FILE
"""
import smtplib
import socket
import sys
import time


def main():
    host, port, count, sender, recipient, path = sys.argv[1:7]
    with open(path, "rb") as f:
        message = f.read()
    # The same HELO argument as the project's client, without smtplib's own
    # fully-qualified name lookup.
    local = socket.gethostname()
    for _ in range(int(count)):
        start = time.perf_counter()
        with smtplib.SMTP(host, int(port), local_hostname=local, timeout=30) as smtp:
            smtp.sendmail(sender, [recipient], message)
        print(round((time.perf_counter() - start) * 1e6))


if __name__ == "__main__":
    main()
