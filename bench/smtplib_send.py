"""Sends one message COUNT times through Python's smtplib, a new connection
for each send, and prints how long each send took in microseconds, one per
line. The message file holds the text exactly as it goes after DATA.

With CA_FILE, USER and PASSWORD it secures each connection with STARTTLS,
checking the server's certificate against the system's CAs and CA_FILE (the
context made once, as a program sending many mails would), and logs in.

usage: smtplib_send.py HOST PORT COUNT FROM TO MESSAGE_FILE [CA_FILE USER PASSWORD]
"""
import smtplib
import socket
import ssl
import sys
import time


def main():
    host, port, count, sender, recipient, path = sys.argv[1:7]
    secured = len(sys.argv) == 10
    if secured:
        context = ssl.create_default_context(cafile=None)
        context.load_verify_locations(cafile=sys.argv[7])
        user, password = sys.argv[8:10]
    with open(path, "rb") as f:
        message = f.read()
    # The same HELO argument as the project's client, without smtplib's own
    # fully-qualified name lookup.
    local = socket.gethostname()
    for _ in range(int(count)):
        start = time.perf_counter()
        with smtplib.SMTP(host, int(port), local_hostname=local, timeout=30) as smtp:
            if secured:
                smtp.starttls(context=context)
                smtp.login(user, password)
            smtp.sendmail(sender, [recipient], message)
        print(round((time.perf_counter() - start) * 1e6))


if __name__ == "__main__":
    main()
