# SPDX-License-Identifier: GPL-3.0-or-later
"""A real SMTP server for the mail engine's tests.

Listens on 127.0.0.1 on a free port, prints the port on its first output line, and stores
each accepted message in the folder given: msg-N.eml holds the bytes received after DATA
(dot-stuffing removed), msg-N.json the envelope and the message as Python's own e-mail
parser reads it (decoded header values, text parts, attachments written to msg-N-part-K).

Security set-ups: --cert/--key give the server's certificate; with --starttls the server
offers STARTTLS and requires it before mail and login; with --implicit-tls it speaks TLS from
the first byte. --login USER:PASSWORD makes a login required (PLAIN and LOGIN).
"""
import argparse
import asyncio
import email
import email.policy
import json
import os
import ssl
import sys

from aiosmtpd.smtp import SMTP, AuthResult, LoginPassword


class Handler:
    def __init__(self, folder, reject, raw_only):
        self.folder = folder
        self.reject = set(reject)
        self.raw_only = raw_only
        self.count = 0

    async def handle_RCPT(self, server, session, envelope, address, rcpt_options):
        if address in self.reject:
            return "550 5.1.1 <%s>: Recipient address rejected" % address
        envelope.rcpt_tos.append(address)
        return "250 OK"

    async def handle_DATA(self, server, session, envelope):
        self.count += 1
        base = os.path.join(self.folder, "msg-%d" % self.count)
        raw = envelope.original_content
        if self.raw_only:
            with open(base + ".eml", "wb") as out:
                out.write(raw)
            return "250 Message accepted for delivery"
        message = email.message_from_bytes(raw, policy=email.policy.default)
        parts = []
        for index, part in enumerate(message.walk()):
            if part.is_multipart():
                continue
            entry = {"content_type": part.get_content_type(),
                     "charset": part.get_content_charset(),
                     "filename": part.get_filename()}
            if part.get_filename() is not None or part.get_content_maintype() != "text":
                path = "%s-part-%d" % (base, index)
                with open(path, "wb") as out:
                    out.write(part.get_payload(decode=True) or b"")
                entry["file"] = path
            else:
                entry["text"] = part.get_content()
            parts.append(entry)
        record = {
            "helo": session.host_name,
            "secure": session.ssl is not None or server.implicit_tls,
            "login": (session.auth_data.login.decode()
                      if isinstance(session.auth_data, LoginPassword) else None),
            "mail_from": envelope.mail_from,
            "rcpt_tos": envelope.rcpt_tos,
            "headers": [[name, str(value)] for name, value in message.items()],
            "parts": parts,
        }
        # Written before the reply, so a client that got "250" finds the files complete.
        with open(base + ".eml.tmp", "wb") as out:
            out.write(raw)
        os.replace(base + ".eml.tmp", base + ".eml")
        with open(base + ".json.tmp", "w", encoding="utf-8") as out:
            json.dump(record, out)
        os.replace(base + ".json.tmp", base + ".json")
        return "250 Message accepted for delivery"


async def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("folder")
    parser.add_argument("--reject", action="append", default=[])
    parser.add_argument("--raw-only", action="store_true",
                        help="store the raw message only (for timing)")
    parser.add_argument("--cert")
    parser.add_argument("--key")
    parser.add_argument("--starttls", action="store_true")
    parser.add_argument("--implicit-tls", action="store_true")
    parser.add_argument("--login")
    parser.add_argument("--smtputf8", action="store_true",
                        help="offer SMTPUTF8 (addresses outside ASCII)")
    parser.add_argument("--login-only", action="store_true",
                        help="offer AUTH LOGIN but not AUTH PLAIN")
    args = parser.parse_args()
    handler = Handler(args.folder, args.reject, args.raw_only)
    context = None
    if args.cert:
        context = ssl.create_default_context(ssl.Purpose.CLIENT_AUTH)
        context.load_cert_chain(args.cert, args.key)
    user, password = (args.login.encode().split(b":", 1) if args.login else (None, None))

    def authenticator(server, session, envelope, mechanism, auth_data):
        ok = (isinstance(auth_data, LoginPassword) and auth_data.login == user
              and auth_data.password == password)
        return AuthResult(success=ok, handled=False, auth_data=auth_data if ok else None)

    def factory():
        options = dict(data_size_limit=64 * 1024 * 1024, enable_SMTPUTF8=args.smtputf8)
        if args.starttls:
            options.update(tls_context=context, require_starttls=True)
        if args.login:
            # Under implicit TLS the library cannot tell the connection is encrypted, so it
            # would refuse every login: the test itself checks the login went over TLS.
            options.update(authenticator=authenticator, auth_required=True,
                           auth_require_tls=not args.implicit_tls,
                           auth_exclude_mechanism=["PLAIN"] if args.login_only else [])
        smtp = SMTP(handler, **options)
        smtp.implicit_tls = args.implicit_tls
        return smtp

    loop = asyncio.get_running_loop()
    server = await loop.create_server(
        factory, "127.0.0.1", 0, ssl=context if args.implicit_tls else None)
    print(server.sockets[0].getsockname()[1], flush=True)
    # Ends when the test closes standard input or kills the process.
    await loop.run_in_executor(None, sys.stdin.read)
    server.close()


asyncio.run(main())
