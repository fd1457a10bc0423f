#!/usr/bin/python3
# A pyftpdlib server on 127.0.0.1 for the FTP tests: one user, a chosen root
# and permissions, a free port picked by the system and announced on stdout
# as "READY <port>". With --hostile the root's listing is replaced by entries
# whose names try to leave the listed folder (".", "..", "/" and NUL inside).
# With --traps, entering a folder named "locked" is refused and entering one
# named "vanish" drops the connection. --upload-limit slows uploads down,
# --cut-uploads-after drops an upload's data connection part way (the server
# stays up), and --no-rename-over refuses a rename onto an existing file.
# --read-only takes away the right to write in one folder, and
# --max-sessions turns away control connections beyond that many at once.
import argparse
import logging
import os
import sys

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler, ThrottledDTPHandler
from pyftpdlib.servers import FTPServer

HOSTILE_MLSD = [
    b"type=cdir;modify=20240101000000; .",
    b"type=pdir;modify=20240101000000; ..",
    b"type=file;size=3;modify=20240101000000; good.txt",
    b"type=file;size=3;modify=20240101000000; ..",
    b"type=file;size=3;modify=20240101000000; .",
    b"type=file;size=3;modify=20240101000000; ../../escape.txt",
    b"type=file;size=3;modify=20240101000000; a/b.txt",
    b"type=file;size=3;modify=20240101000000; /etc/passwd",
    b"type=file;size=3;modify=20240101000000; nul\x00name.txt",
    b"type=dir;modify=20240101000000; ../up",
    b"type=dir;modify=20240101000000; sub",
]

HOSTILE_LIST = [
    b"drwxr-xr-x    2 0        0            4096 Jan 01  2024 .",
    b"drwxr-xr-x    2 0        0            4096 Jan 01  2024 ..",
    b"-rw-r--r--    1 0        0               3 Jan 01  2024 good.txt",
    b"-rw-r--r--    1 0        0               3 Jan 01  2024 ..",
    b"-rw-r--r--    1 0        0               3 Jan 01  2024 .",
    b"-rw-r--r--    1 0        0               3 Jan 01  2024 ../../escape.txt",
    b"-rw-r--r--    1 0        0               3 Jan 01  2024 a/b.txt",
    b"-rw-r--r--    1 0        0               3 Jan 01  2024 /etc/passwd",
    b"-rw-r--r--    1 0        0               3 Jan 01  2024 nul\x00name.txt",
    b"drwxr-xr-x    2 0        0            4096 Jan 01  2024 ../up",
    b"drwxr-xr-x    2 0        0            4096 Jan 01  2024 sub",
]


class TestDTPHandler(ThrottledDTPHandler):
    """Receives at most read_limit bytes a second (0: no limit); with
    cut_after, closes an upload's data connection once that many bytes have
    arrived and answers 426, as after a broken network."""

    cut_after = 0

    def handle_read(self):
        super().handle_read()
        if self.cut_after and not self._closed and self.tot_bytes_received >= self.cut_after:
            self._resp = ("426 Connection closed; transfer aborted.", logging.info)
            self.close()

    handle_read_event = handle_read  # what the I/O loop calls


class TestHandler(FTPHandler):
    """With `hostile`, answers the root's listings with crafted names; every
    other folder is listed from the file system as usual. With `traps`,
    misbehaves on entering the folders "locked" and "vanish"."""

    hostile = False
    traps = False
    rename_over = True
    # A refused login is answered at once: tests try wrong passwords.
    auth_failed_timeout = 0

    # pyftpdlib logs a command after its reply has gone out, so a client
    # could read the log before the line is there. Replies are held back
    # until the command's log line is written.
    _held = None

    def push(self, data):
        if self._held is not None:
            self._held.append(data)
        else:
            super().push(data)

    def found_terminator(self):
        self._held = []
        try:
            super().found_terminator()
        finally:
            held, self._held = self._held, None
            if self.connected:
                for data in held:
                    super().push(data)

    def ftp_CWD(self, path):
        name = os.path.basename(path.rstrip("/"))
        if self.traps and name == "locked":
            self.respond("550 Permission denied.")
            return None
        if self.traps and name == "vanish":
            self.close()
            return None
        return super().ftp_CWD(path)

    def ftp_RNTO(self, path):
        if not self.rename_over and self._rnfr and os.path.exists(path):
            self._rnfr = None
            self.respond("553 File exists.")
            return None
        return super().ftp_RNTO(path)

    def _crafted(self, path, lines, cmd):
        if not self.hostile or self.fs.fs2ftp(path) != "/":
            return False
        self.push_dtp_data(b"".join(line + b"\r\n" for line in lines), cmd=cmd)
        return True

    def ftp_MLSD(self, path):
        if not self._crafted(path, HOSTILE_MLSD, "MLSD"):
            return super().ftp_MLSD(path)
        return path

    def ftp_LIST(self, path):
        if not self._crafted(path, HOSTILE_LIST, "LIST"):
            return super().ftp_LIST(path)
        return path


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--root", required=True)
    parser.add_argument("--user", default="tester")
    parser.add_argument("--password", default="secret")
    parser.add_argument("--perm", default="elradfmwMT")
    parser.add_argument("--log", default=None)
    parser.add_argument("--hostile", action="store_true")
    parser.add_argument("--traps", action="store_true")
    parser.add_argument("--no-mlsd", action="store_true",
                        help="offer LIST only (no MLST/MLSD in FEAT)")
    parser.add_argument("--no-mdtm", action="store_true",
                        help="no MDTM, so times are known only as LIST shows them")
    parser.add_argument("--upload-limit", type=int, default=0,
                        help="bytes a second an upload is received at most")
    parser.add_argument("--cut-uploads-after", type=int, default=0,
                        help="bytes after which an upload's data connection is dropped")
    parser.add_argument("--no-rename-over", action="store_true",
                        help="refuse RNTO onto a file that exists")
    parser.add_argument("--read-only", default=None,
                        help="a folder below the root that may be listed but not written in")
    parser.add_argument("--max-sessions", type=int, default=0,
                        help="control connections at once from one address (0: no limit)")
    args = parser.parse_args()

    if args.log:
        logging.basicConfig(filename=args.log, level=logging.INFO)
    else:
        logging.basicConfig(level=logging.CRITICAL)

    authorizer = DummyAuthorizer()
    authorizer.add_user(args.user, args.password, args.root, perm=args.perm)
    if args.read_only:
        authorizer.override_perm(args.user, args.read_only, perm="elr", recursive=True)
    commands = TestHandler.proto_cmds.copy()
    if args.no_mlsd:
        commands.pop("MLSD", None)
        commands.pop("MLST", None)
    if args.no_mdtm:
        commands.pop("MDTM", None)
    dtp = type("DTPHandler", (TestDTPHandler,), {"read_limit": args.upload_limit,
                                                 "cut_after": args.cut_uploads_after})
    handler = type("Handler", (TestHandler,), {"authorizer": authorizer, "proto_cmds": commands,
                                               "hostile": args.hostile, "traps": args.traps,
                                               "rename_over": not args.no_rename_over,
                                               "dtp_handler": dtp})

    server = FTPServer(("127.0.0.1", 0), handler)
    server.max_cons_per_ip = args.max_sessions
    sys.stdout.write("READY %d\n" % server.address[1])
    sys.stdout.flush()
    server.serve_forever()


if __name__ == "__main__":
    main()
