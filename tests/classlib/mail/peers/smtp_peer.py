#!/usr/bin/env python3
"""A real SMTP server for the mail sender's tests (aiosmtpd on 127.0.0.1).

Every message received is saved as N.eml (the bytes after DATA) and N.env
(the envelope: sender, then one recipient a line) in --dir. Prints
"READY <port>" once it accepts connections, then runs until killed.
  --user/--password   AUTH LOGIN is offered and required with these
  --tls CERT KEY      STARTTLS is offered and required before anything else
  --prompt TEXT       the AUTH LOGIN user-name prompt (default "Username:")
"""
import argparse
import os
import signal
import socket
import sys
import time

from aiosmtpd.controller import Controller
from aiosmtpd.smtp import SMTP, AuthResult


class Saver:
    def __init__(self, folder):
        self.folder = folder
        self.count = 0

    async def handle_DATA(self, server, session, envelope):
        self.count += 1
        base = os.path.join(self.folder, str(self.count))
        with open(base + ".env.tmp", "w") as env:
            env.write("\n".join([envelope.mail_from] + list(envelope.rcpt_tos)) + "\n")
        with open(base + ".eml", "wb") as eml:
            eml.write(envelope.original_content)
        os.rename(base + ".env.tmp", base + ".env")
        return "250 OK"


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--dir", required=True)
    parser.add_argument("--user")
    parser.add_argument("--password")
    parser.add_argument("--tls", nargs=2)
    parser.add_argument("--prompt", default="Username:")
    args = parser.parse_args()

    SMTP.AuthLoginUsernameChallenge = args.prompt
    SMTP.AuthLoginPasswordChallenge = "Password:"
    kwargs = {"decode_data": False, "data_size_limit": 0}
    if args.user:
        expected = (args.user.encode(), args.password.encode())

        def authenticator(server, session, envelope, mechanism, auth_data):
            return AuthResult(success=(auth_data.login, auth_data.password) == expected, handled=False)

        kwargs.update(authenticator=authenticator, auth_required=True, auth_require_tls=bool(args.tls),
                      auth_exclude_mechanism=["PLAIN"])
    if args.tls:
        import ssl
        context = ssl.create_default_context(ssl.Purpose.CLIENT_AUTH)
        context.load_cert_chain(*args.tls)
        kwargs.update(tls_context=context, require_starttls=True)

    for _ in range(5):
        port = free_port()
        controller = Controller(Saver(args.dir), hostname="127.0.0.1", port=port, **kwargs)
        try:
            controller.start()
            break
        except Exception:
            time.sleep(0.1)
    else:
        sys.exit("no port")
    print("READY", port, flush=True)
    signal.sigwait({signal.SIGTERM, signal.SIGINT})
    controller.stop()


if __name__ == "__main__":
    signal.pthread_sigmask(signal.SIG_BLOCK, {signal.SIGTERM, signal.SIGINT})
    main()
