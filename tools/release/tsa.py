#!/usr/bin/env python3
# tools/release/tsa.py CONFIG: a time-stamping authority (RFC 3161) on the
# loopback, for a release signed with throwaway keys, so that its signatures
# are time-stamped as a real release's are. Answers each POSTed query with
# `openssl ts -reply -config CONFIG` (its [tsa] section names the signer) and
# prints the port it listens on. Needs python3 and openssl.
import http.server
import subprocess
import sys

config = sys.argv[1]


class Handler(http.server.BaseHTTPRequestHandler):
    def do_POST(self):
        query = self.rfile.read(int(self.headers["Content-Length"]))
        reply = subprocess.run(
            ["openssl", "ts", "-reply", "-config", config, "-queryfile", "/dev/stdin", "-out", "/dev/stdout"],
            input=query, capture_output=True)
        if reply.returncode != 0:
            sys.stderr.buffer.write(reply.stderr)
            self.send_error(500)
            return
        self.send_response(200)
        self.send_header("Content-Type", "application/timestamp-reply")
        self.send_header("Content-Length", str(len(reply.stdout)))
        self.end_headers()
        self.wfile.write(reply.stdout)

    def log_message(self, *args):
        pass


server = http.server.HTTPServer(("127.0.0.1", 0), Handler)
print(server.server_address[1], flush=True)
server.serve_forever()
