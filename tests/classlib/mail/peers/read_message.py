#!/usr/bin/env python3
"""Reads a received message back as the recipient's mail program would, with
Python's email package, and prints it as JSON: the raw header block, the
decoded headers, the text body, and every attachment (MIME parts, or
uuencoded blocks in the body) with its size and SHA-256."""
import binascii
import email
import email.header
import email.policy
import hashlib
import json
import re
import sys


def decoded(value):
    return str(email.header.make_header(email.header.decode_header(value)))


def uudecode(body):
    files = []
    for match in re.finditer(r"^begin 600 (.*?)\r?\n(.*?)^end\r?$", body, re.S | re.M):
        data = b""
        for line in match.group(2).splitlines():
            if not line:
                continue
            count = (ord(line[0]) - 32) & 63
            # a2b_uu refuses characters past the count; take only those.
            data += binascii.a2b_uu(line[: 1 + (count * 4 + 2) // 3])[:count]
        files.append({"filename": match.group(1), "size": len(data), "sha256": hashlib.sha256(data).hexdigest()})
    return files


def main():
    raw = open(sys.argv[1], "rb").read()
    message = email.message_from_bytes(raw, policy=email.policy.compat32)
    out = {"raw_headers": raw.split(b"\r\n\r\n", 1)[0].decode("latin-1"), "headers": {}, "parts": []}
    for name, value in message.items():
        out["headers"].setdefault(name.lower(), []).append(decoded(value))
    out["content_type"] = message.get_content_type()
    for part in message.walk():
        if part.is_multipart():
            continue
        if part.get_filename() is None and "body" not in out:
            payload = part.get_payload(decode=True)
            out["body"] = payload.decode(part.get_content_charset() or "latin-1")
            out["body_type"] = part.get_content_type()
            out["uuencoded"] = uudecode(out["body"])
            continue
        payload = part.get_payload(decode=True) or b""
        out["parts"].append({"filename": part.get_filename(), "content_type": part.get_content_type(),
                             "content_id": part.get("Content-ID"), "size": len(payload),
                             "sha256": hashlib.sha256(payload).hexdigest()})
    json.dump(out, sys.stdout)


main()
