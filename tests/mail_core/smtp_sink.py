"""A real SMTP server for the mail engine's tests.

Listens on 127.0.0.1 on a free port, prints the port on its first output line, and stores
each accepted message in the folder given: msg-N.eml holds the bytes received after DATA
(dot-stuffing removed), msg-N.json the envelope and the message as Python's own e-mail
parser reads it (decoded header values, text parts, attachments written to msg-N-part-K).
"""
import argparse
import asyncio
import email
import email.policy
import json
import os
import sys

from aiosmtpd.smtp import SMTP


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
    args = parser.parse_args()
    handler = Handler(args.folder, args.reject, args.raw_only)
    loop = asyncio.get_running_loop()
    server = await loop.create_server(
        lambda: SMTP(handler, data_size_limit=64 * 1024 * 1024), "127.0.0.1", 0)
    print(server.sockets[0].getsockname()[1], flush=True)
    # Ends when the test closes standard input or kills the process.
    await loop.run_in_executor(None, sys.stdin.read)
    server.close()


asyncio.run(main())
