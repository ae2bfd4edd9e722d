#!/usr/bin/python3
"""A small HTTP server on 127.0.0.1 for the download tests and the benchmark.

    http_test_server.py --port 80 [--root DIR] [-- command args...]

Serves the files of DIR (a fresh temporary folder without --root); the path's first part
picks how:
    /NAME               the file with its Content-Length (HEAD too)
    /chunked/NAME       chunked body; HEAD answers 200 without a Content-Length
    /nohead/NAME        HEAD answers 404; the body as usual
    /slow/NAME          the body in pieces of 1000 bytes, 5 ms apart
    /cut/NAME           announces the whole file, sends half of it and hangs up
    /overlong/NAME      HEAD announces half the file's size; the body is all of it
    /status500/NAME     answers 500 with an HTML error page (HEAD and GET)
    /redirect/NAME      answers 302 to /NAME
    /                   the file "index.bin"
With a command, runs it with CORVALIS_HTTP_ROOT set to the folder, stops the server
afterwards and exits with the command's exit code; without one, serves until killed.
"""
import argparse
import http.server
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import threading
import time

PIECE_BYTES = 1000
PIECE_PAUSE_S = 0.005


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def log_message(self, format, *args):
        pass

    def parse_request(self):
        # WinINet sends the version as its caller spells it ("http/1.1" for the size
        # probe); read it without regard to case, as many servers do.
        words = self.raw_requestline.split(b" ")
        words[-1] = words[-1].upper()
        self.raw_requestline = b" ".join(words)
        return super().parse_request()

    def target(self):
        """(mode, file path, size), or None after answering 404."""
        parts = self.path.lstrip("/").split("/", 1)
        mode, name = "plain", parts[-1] or "index.bin"
        if len(parts) == 2 and parts[0] in ("chunked", "nohead", "slow", "cut", "overlong", "status500", "redirect"):
            mode = parts[0]
        path = os.path.join(self.server.root, os.path.basename(name))
        if not os.path.isfile(path):
            self.send_error(404)
            return None
        return mode, path, os.path.getsize(path)

    def head_only(self, status, length=None):
        self.send_response(status)
        if length is not None:
            self.send_header("Content-Length", str(length))
        self.end_headers()

    def do_HEAD(self):
        target = self.target()
        if target is None:
            return
        mode, path, size = target
        if self.answered_otherwise(mode, os.path.basename(path)):
            return
        if mode == "nohead":
            self.head_only(404, 0)
        elif mode == "chunked":
            self.head_only(200)
        elif mode == "overlong":
            self.head_only(200, size // 2)
        else:
            self.head_only(200, size)

    def answered_otherwise(self, mode, name):
        if mode == "status500":
            self.send_error(500)
            return True
        if mode == "redirect":
            self.send_response(302)
            self.send_header("Location", "/" + name)
            self.send_header("Content-Length", "0")
            self.end_headers()
            return True
        return False

    def do_GET(self):
        target = self.target()
        if target is None:
            return
        mode, path, size = target
        if self.answered_otherwise(mode, os.path.basename(path)):
            return
        chunked = mode == "chunked"
        send = size // 2 if mode == "cut" else size
        self.send_response(200)
        self.send_header("Content-Type", "application/octet-stream")
        if chunked:
            self.send_header("Transfer-Encoding", "chunked")
        else:
            self.send_header("Content-Length", str(size))
        self.end_headers()
        step = PIECE_BYTES if mode == "slow" or chunked else 1 << 16
        with open(path, "rb") as f:
            left = send
            while left > 0:
                data = f.read(min(step, left))
                left -= len(data)
                if chunked:
                    self.wfile.write(b"%x\r\n%s\r\n" % (len(data), data))
                else:
                    self.wfile.write(data)
                if mode == "slow":
                    self.wfile.flush()
                    time.sleep(PIECE_PAUSE_S)
        if chunked:
            self.wfile.write(b"0\r\n\r\n")
        self.wfile.flush()
        if send < size:
            self.close_connection = True


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--port", type=int, required=True)
    parser.add_argument("--root")
    parser.add_argument("command", nargs=argparse.REMAINDER)
    args = parser.parse_args()
    command = args.command[1:] if args.command[:1] == ["--"] else args.command

    # ctest ends a test that runs too long with SIGTERM: still stop and clean up.
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(143))
    root = args.root or tempfile.mkdtemp(prefix="corvalis_http_")
    server = http.server.ThreadingHTTPServer(("127.0.0.1", args.port), Handler)
    server.daemon_threads = True
    server.root = root
    thread = threading.Thread(target=server.serve_forever, daemon=True)
    thread.start()
    try:
        if not command:
            print("serving %s on 127.0.0.1:%d" % (root, args.port), flush=True)
            thread.join()
            return 0
        env = dict(os.environ, CORVALIS_HTTP_ROOT=root)
        return subprocess.call(command, env=env)
    except KeyboardInterrupt:
        return 130
    finally:
        server.shutdown()
        server.server_close()
        if not args.root:
            shutil.rmtree(root, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
