"""An SMTP server for the tests of URL mail servers: aiosmtpd speaking plain
SMTP, STARTTLS, or TLS from the first byte, optionally with a login.

  tls_smtp_server.py --listen HOST:PORT --mode plain|starttls|implicit
                     --dir DIR [--cert PEM --key PEM]
                     [--login USER --password PASSWORD [--mechanism NAME]
                      [--echo-password]]

Each received message is stored byte for byte, as the client sent it after
DATA with its dot-stuffing undone, in DIR/new/. What the clients did goes to
DIR/events, one line each, as soon as it happens:
  EHLO tls|clear NAME
  AUTH tls|clear MECHANISM LOGIN ok|refused
  MAIL tls|clear ADDRESS
  RCPT tls|clear ADDRESS
With a login the server refuses MAIL from a client that has not logged in.
In plain mode with a login it offers AUTH without TLS, to tempt a careless
client into sending its password in the clear. --mechanism keeps AUTH to
that one mechanism (aiosmtpd offers PLAIN and LOGIN). --echo-password puts
the password it got into its refusal, as a careless server might.
"""

import argparse
import asyncio
import os
import signal
import ssl

from aiosmtpd.smtp import SMTP, AuthResult

MECHANISMS = ("PLAIN", "LOGIN")


def parse_arguments():
    parser = argparse.ArgumentParser()
    parser.add_argument("--listen", required=True)
    parser.add_argument("--mode", choices=("plain", "starttls", "implicit"), required=True)
    parser.add_argument("--dir", required=True)
    parser.add_argument("--cert")
    parser.add_argument("--key")
    parser.add_argument("--login")
    parser.add_argument("--password")
    parser.add_argument("--mechanism", choices=MECHANISMS)
    parser.add_argument("--echo-password", action="store_true")
    return parser.parse_args()


class Recorder:
    def __init__(self, directory):
        self.directory = directory
        self.count = 0
        os.makedirs(os.path.join(directory, "new"), exist_ok=True)

    def event(self, text):
        with open(os.path.join(self.directory, "events"), "a", encoding="utf-8") as f:
            f.write(text + "\n")

    def store(self, content):
        self.count += 1
        name = os.path.join(self.directory, "new", "%d.eml" % self.count)
        with open(name + ".part", "wb") as f:
            f.write(content)
        os.rename(name + ".part", name)  # whole messages only


def over_tls(server):
    return "tls" if server.transport.get_extra_info("ssl_object") is not None else "clear"


class Handler:
    def __init__(self, recorder):
        self.recorder = recorder

    async def handle_EHLO(self, server, session, envelope, hostname, responses):
        session.host_name = hostname
        self.recorder.event("EHLO %s %s" % (over_tls(server), hostname))
        return responses

    async def handle_MAIL(self, server, session, envelope, address, mail_options):
        self.recorder.event("MAIL %s %s" % (over_tls(server), address))
        envelope.mail_from = address
        envelope.mail_options.extend(mail_options)
        return "250 OK"

    async def handle_RCPT(self, server, session, envelope, address, rcpt_options):
        self.recorder.event("RCPT %s %s" % (over_tls(server), address))
        envelope.rcpt_tos.append(address)
        envelope.rcpt_options.extend(rcpt_options)
        return "250 OK"

    async def handle_DATA(self, server, session, envelope):
        self.recorder.store(envelope.original_content)
        return "250 Message accepted for delivery"


def make_authenticator(arguments, recorder):
    def authenticate(server, session, envelope, mechanism, auth_data):
        login = auth_data.login.decode("utf-8", "replace")
        ok = (auth_data.login == arguments.login.encode("utf-8")
              and auth_data.password == arguments.password.encode("utf-8"))
        recorder.event("AUTH %s %s %s %s" % (over_tls(server), mechanism, login,
                                             "ok" if ok else "refused"))
        refusal = None
        if not ok and arguments.echo_password:
            refusal = "535 5.7.8 Wrong password " + auth_data.password.decode("utf-8", "replace")
        return AuthResult(success=ok, handled=False, message=refusal)
    return authenticate


def tls_context(arguments):
    context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
    context.load_cert_chain(arguments.cert, arguments.key)
    return context


def make_factory(arguments, recorder):
    options = {}
    if arguments.mode == "starttls":
        options["tls_context"] = tls_context(arguments)
        options["require_starttls"] = True
    if arguments.login is not None:
        options["authenticator"] = make_authenticator(arguments, recorder)
        options["auth_required"] = arguments.mode != "plain"
        # aiosmtpd knows only STARTTLS as TLS; with implicit TLS every
        # byte is protected already.
        options["auth_require_tls"] = arguments.mode == "starttls"
        if arguments.mechanism:
            options["auth_exclude_mechanism"] = [m for m in MECHANISMS if m != arguments.mechanism]
    handler = Handler(recorder)
    return lambda: SMTP(handler, hostname="mail.vigilon.test", **options)


async def serve(arguments):
    host, port = arguments.listen.rsplit(":", 1)
    recorder = Recorder(arguments.dir)
    wrap = tls_context(arguments) if arguments.mode == "implicit" else None
    loop = asyncio.get_running_loop()
    server = await loop.create_server(make_factory(arguments, recorder), host, int(port), ssl=wrap)
    stop = loop.create_future()
    loop.add_signal_handler(signal.SIGTERM, stop.set_result, None)
    async with server:
        await stop


if __name__ == "__main__":
    asyncio.run(serve(parse_arguments()))
