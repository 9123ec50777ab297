#!/usr/bin/python3
"""Loopback web and FTP server for tests: serves the files of a folder over
HTTP, HTTPS (with a certificate from a test CA it makes with openssl) and FTP,
plus misbehaving answers. Listens on 127.0.0.1 only, on free ports; with
--hosts N also over HTTP on 127.0.0.2 ... 127.0.0.(N+1), as N further hosts
serving the same folder (each on a free port of its own).

Start:  /usr/bin/python3 page_server.py --root DIR [--tls-dir DIR] [--ftp] [--hosts N]
Ready:  one line on stdout, JSON: {"http": port, "https": port|0, "ftp": port|0,
        "ca": "path of the CA certificate"|"", "hosts": [port, ...]}
Stop:   close its standard input (or end the process).

HTTP paths (the same over HTTPS):
  /files/NAME              200 with the file
  /status/CODE/NAME        that status with the file as body
  /gzip/NAME               the file gzip-compressed (Content-Encoding: gzip)
  /redirect/CODE?to=URL    redirection to URL (percent-encoded in the query)
  /loop                    a redirection to itself
  /chain/N                 N redirections, then /files/link.html
  /close/NAME              announces twice the file's length, sends the file, closes
  /stall/NAME              announces more than the file, sends the file, then waits
  /silent                  reads the request and never answers
  /headers                 200 with the request's header lines, each as a link's href
  /big?size=N&tail=TEXT    N bytes of filler text followed by TEXT, streamed
  /count                   number of requests served so far (plain text)
  /delay/MS/NAME           200 with the file after MS milliseconds (nothing when the
                           client hangs up meanwhile)
  (HEAD is answered for /files/, /delay/ and /silent as GET, without the body)
  /retry/CODE/S/NAME       the first request of this path (per host): status CODE with
                           "Retry-After: S"; later ones 200 with the file
  /stats?host=ADDR&key=K   what the host at address ADDR saw (plain text number):
                           K=open: connections open now; K=peak: most open at once;
                           K=robots: requests of /robots.txt; K=requests: all requests
  /robots.txt              the file robots.txt with the status in the file robots.status
                           (200 when there is none); 404 without robots.txt; one byte
                           every S seconds, endlessly, when the file robots.trickle holds S
  /xrobots/NAME?tag=VALUE  200 with the file and the header "X-Robots-Tag: VALUE"
  /with/NAME?header=H      200 with the file and each header line H ("Name: value";
                           the parameter may repeat)
Misbehaving on purpose:
  /trickle/NAME?every=S    announces more than the file, sends it one byte every S
                           seconds (default 0.5), then goes on with blanks forever
  /endless                 200 without a length, filler text at full speed forever
  /reset/NAME              sends half the file, then resets the connection
  /badchunk/NAME           chunked: the file as one chunk, then a chunk size that
                           is no number
"""

import argparse
import gzip
import html
import http.server
import json
import os
import select
import socket
import socketserver
import ssl
import struct
import subprocess
import sys
import threading
import time
import urllib.parse

STOP = threading.Event()
REQUESTS = [0]
REQUESTS_LOCK = threading.Lock()
# Per listening address: connections open now and at most, requests, robots.txt
# requests; and the paths /retry/ has answered once.
STATS = {}
RETRIED = set()


def stat(address):
    return STATS.setdefault(address, {"open": 0, "peak": 0, "requests": 0, "robots": 0})
FILLER = (b"<p>Lorem ipsum dolor sit amet, <a href=\"http://partner.example.org/\">partner</a>"
          b" consectetur adipiscing elit.</p>\n") * 8192


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    disable_nagle_algorithm = True
    root = "."

    def log_message(self, fmt, *args):  # quiet
        pass

    def setup(self):
        super().setup()
        with REQUESTS_LOCK:
            s = stat(self.server.server_address[0])
            s["open"] += 1
            s["peak"] = max(s["peak"], s["open"])

    def finish(self):
        with REQUESTS_LOCK:
            stat(self.server.server_address[0])["open"] -= 1
        try:
            super().finish()
        except (OSError, ValueError):  # a connection reset on purpose
            pass

    def _file(self, name):
        path = os.path.join(self.root, os.path.basename(urllib.parse.unquote(name)))
        with open(path, "rb") as f:
            return f.read()

    def _hung_up_during(self, seconds):
        """Waits seconds; True as soon as the client closes its connection."""
        end = time.monotonic() + seconds
        # poll, not select: a benchmark's hundreds of connections take this
        # process past the descriptor numbers select can watch.
        watch = select.poll()
        watch.register(self.connection, select.POLLIN)
        while not STOP.is_set():
            left = end - time.monotonic()
            if left <= 0:
                return False
            # Woken by the client, the delay's end, or now and then to see
            # STOP: hundreds of waiting pages must not keep a core busy.
            readable = watch.poll(int(min(left, 0.5) * 1000) + 1)
            if readable:
                try:
                    if self.connection.recv(1, socket.MSG_PEEK) == b"":
                        return True
                except OSError:
                    return True
                STOP.wait(min(left, 0.05))  # a next request already sent: wait on
        return False

    def _send(self, code, body, headers=()):
        self.send_response(code)
        if not any(k.lower() == "content-type" for k, _ in headers):
            self.send_header("Content-Type", "text/html")
        for k, v in headers:
            self.send_header(k, v)
        if not any(k.lower() == "content-length" for k, _ in headers):
            self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        if self.command != "HEAD":
            self.wfile.write(body)

    def do_HEAD(self):
        """As GET for /files/, /delay/ and /silent (link checkers of the benchmarks ask so)."""
        kind = urllib.parse.urlsplit(self.path).path.strip("/").split("/")[0]
        if kind in ("files", "delay", "silent"):
            self.do_GET()
        else:
            self._send(405, b"")

    def do_GET(self):
        url = urllib.parse.urlsplit(self.path)
        address = self.server.server_address[0]
        with REQUESTS_LOCK:
            REQUESTS[0] += 1
            stat(address)["requests"] += 1
            if url.path == "/robots.txt":
                stat(address)["robots"] += 1
        query = urllib.parse.parse_qs(url.query)
        parts = url.path.strip("/").split("/")
        kind = parts[0]
        try:
            if kind == "files":
                self._send(200, self._file(parts[1]))
            elif kind == "status":
                self._send(int(parts[1]), self._file(parts[2]))
            elif kind == "gzip":
                self._send(200, gzip.compress(self._file(parts[1])),
                           [("Content-Encoding", "gzip")])
            elif kind == "redirect":
                target = query["to"][0]
                body = ('<a href="http://www.example.com/">moved to %s</a>' % target).encode()
                self._send(int(parts[1]), body, [("Location", target)])
            elif kind == "loop":
                self._send(302, b'<a href="http://www.example.com/">again</a>',
                           [("Location", "/loop")])
            elif kind == "chain":
                n = int(parts[1])
                target = "/chain/%d" % (n - 1) if n > 1 else "/files/link.html"
                self._send(302, b"", [("Location", target)])
            elif kind == "close":
                body = self._file(parts[1])
                self.send_response(200)
                self.send_header("Content-Length", str(2 * len(body) + 10))
                self.end_headers()
                self.wfile.write(body)
                self.wfile.flush()
                self.close_connection = True
                self.connection.shutdown(2)
            elif kind == "stall":
                body = self._file(parts[1])
                self.send_response(200)
                self.send_header("Content-Length", str(len(body) + 1000))
                self.end_headers()
                self.wfile.write(body)
                self.wfile.flush()
                STOP.wait(120)
                self.close_connection = True
            elif kind == "silent":
                STOP.wait(120)
                self.close_connection = True
            elif kind == "ua":
                # Cloaking: one file for browsers, another (or a status) for
                # a crawler that names itself Googlebot.
                if "Googlebot" in self.headers.get("User-Agent", ""):
                    if parts[2].isdigit():
                        self._send(int(parts[2]), self._file(parts[1]))
                    else:
                        self._send(200, self._file(parts[2]))
                else:
                    self._send(200, self._file(parts[1]))
            elif kind == "http09":
                # A body with no status line or headers, as HTTP/0.9 answered.
                self.wfile.write(self._file(parts[1]))
                self.close_connection = True
            elif kind == "bigheader":
                body = self._file(parts[1])
                self.send_response(200)
                self.send_header("X-Padding", "a" * (1024 * 1024))
                self.send_header("Content-Length", str(len(body)))
                self.end_headers()
                self.wfile.write(body)
            elif kind == "headers":
                lines = str(self.headers).splitlines(True)
                self._send(200, "".join('<a href="' + html.escape(line.strip()) + '">h</a>\n'
                                        for line in lines).encode("latin-1"))
            elif kind == "big":
                size = int(query["size"][0])
                tail = query.get("tail", [""])[0].encode("latin-1")
                self.send_response(200)
                self.send_header("Content-Length", str(size + len(tail)))
                self.end_headers()
                left = size
                while left > 0:
                    n = min(left, len(FILLER))
                    self.wfile.write(FILLER[:n])
                    left -= n
                self.wfile.write(tail)
            elif kind == "trickle":
                body = self._file(parts[1])
                every = float(query.get("every", ["0.5"])[0])
                self.send_response(200)
                self.send_header("Content-Length", str(len(body) + 10 ** 9))
                self.end_headers()
                sent = 0
                while not STOP.is_set():
                    self.wfile.write(body[sent:sent + 1] if sent < len(body) else b" ")
                    self.wfile.flush()
                    sent += 1
                    STOP.wait(every)
                self.close_connection = True
            elif kind == "endless":
                self.send_response(200)
                self.send_header("Connection", "close")
                self.end_headers()
                while not STOP.is_set():
                    self.wfile.write(FILLER)
                self.close_connection = True
            elif kind == "reset":
                body = self._file(parts[1])
                self.send_response(200)
                self.send_header("Content-Length", str(len(body)))
                self.end_headers()
                self.wfile.write(body[:len(body) // 2])
                self.wfile.flush()
                time.sleep(0.1)
                self.connection.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER,
                                           struct.pack("ii", 1, 0))
                self.close_connection = True
                self.connection.close()
            elif kind == "badchunk":
                body = self._file(parts[1])
                self.send_response(200)
                self.send_header("Transfer-Encoding", "chunked")
                self.end_headers()
                self.wfile.write(b"%x\r\n%s\r\nzz\r\nmore\r\n0\r\n\r\n" % (len(body), body))
                self.wfile.flush()
                self.close_connection = True
            elif kind == "robots.txt":
                try:
                    with open(os.path.join(self.root, "robots.status")) as f:
                        code = int(f.read().strip())
                except OSError:
                    code = 200
                try:
                    with open(os.path.join(self.root, "robots.trickle")) as f:
                        every = float(f.read().strip())
                except OSError:
                    every = None
                if every is None:
                    self._send(code, self._file("robots.txt"), [("Content-Type", "text/plain")])
                else:
                    body = self._file("robots.txt")
                    self.send_response(code)
                    self.send_header("Content-Type", "text/plain")
                    self.send_header("Content-Length", str(len(body) + 10 ** 9))
                    self.end_headers()
                    sent = 0
                    while not STOP.is_set():
                        self.wfile.write(body[sent:sent + 1] if sent < len(body) else b"#")
                        self.wfile.flush()
                        sent += 1
                        STOP.wait(every)
                    self.close_connection = True
            elif kind == "xrobots":
                self._send(200, self._file(parts[1]), [("X-Robots-Tag", query["tag"][0])])
            elif kind == "with":
                lines = [h.split(":", 1) for h in query.get("header", [])]
                self._send(200, self._file(parts[1]), [(k.strip(), v.strip()) for k, v in lines])
            elif kind == "delay":
                if self._hung_up_during(int(parts[1]) / 1000.0):
                    self.close_connection = True
                else:
                    self._send(200, self._file(parts[2]))
            elif kind == "retry":
                key = (address, url.path)
                with REQUESTS_LOCK:
                    first = key not in RETRIED
                    RETRIED.add(key)
                if first:
                    self._send(int(parts[1]), b"<h1>Come back later</h1>",
                               [("Retry-After", parts[2])])
                else:
                    self._send(200, self._file(parts[3]))
            elif kind == "stats":
                with REQUESTS_LOCK:
                    n = stat(query["host"][0])[query["key"][0]]
                self._send(200, str(n).encode(), [("Content-Type", "text/plain")])
            elif kind == "count":
                with REQUESTS_LOCK:
                    n = REQUESTS[0]
                self._send(200, str(n).encode())
            else:
                self._send(404, b"<h1>404 Not Found</h1>")
        except (BrokenPipeError, ConnectionResetError):
            self.close_connection = True
        except OSError:
            self._send(404, b"<html><title>404 Not Found</title></html>")


class Server(socketserver.ThreadingMixIn, http.server.HTTPServer):
    daemon_threads = True
    allow_reuse_address = True
    request_queue_size = 64

    def handle_error(self, request, client_address):
        # A client that hangs up (a cancelled transfer) is no error of ours.
        if not isinstance(sys.exc_info()[1], (ConnectionResetError, BrokenPipeError)):
            super().handle_error(request, client_address)


def make_certificates(folder):
    """A CA and a server certificate for 127.0.0.1 and localhost signed by it."""
    def run(*args):
        subprocess.run(["openssl"] + list(args), cwd=folder, check=True,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    ec = ["-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1", "-nodes"]
    run("req", "-x509", *ec, "-days", "2", "-subj", "/CN=Tarnwick Test CA",
        "-keyout", "ca.key", "-out", "ca.pem")
    run("req", *ec, "-subj", "/CN=localhost", "-keyout", "server.key", "-out", "server.csr")
    with open(os.path.join(folder, "server.ext"), "w") as f:
        f.write("subjectAltName=IP:127.0.0.1,DNS:localhost\n"
                "basicConstraints=CA:FALSE\nextendedKeyUsage=serverAuth\n")
    run("x509", "-req", "-in", "server.csr", "-CA", "ca.pem", "-CAkey", "ca.key",
        "-CAcreateserial", "-days", "2", "-out", "server.pem", "-extfile", "server.ext")
    folder = os.path.abspath(folder)
    return (os.path.join(folder, "ca.pem"), os.path.join(folder, "server.pem"),
            os.path.join(folder, "server.key"))


def serve(server):
    threading.Thread(target=server.serve_forever, daemon=True).start()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--root", required=True)
    parser.add_argument("--tls-dir")
    parser.add_argument("--ftp", action="store_true")
    parser.add_argument("--hosts", type=int, default=0)
    args = parser.parse_args()
    Handler.root = os.path.abspath(args.root)

    ready = {"http": 0, "https": 0, "ftp": 0, "ca": "", "hosts": []}
    web = Server(("127.0.0.1", 0), Handler)
    ready["http"] = web.server_address[1]
    serve(web)
    for k in range(args.hosts):
        host = Server(("127.0.0.%d" % (k + 2), 0), Handler)
        ready["hosts"].append(host.server_address[1])
        serve(host)

    if args.tls_dir:
        ca, cert, key = make_certificates(args.tls_dir)
        context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        context.load_cert_chain(cert, key)
        secure = Server(("127.0.0.1", 0), Handler)
        secure.socket = context.wrap_socket(secure.socket, server_side=True)
        ready["https"] = secure.server_address[1]
        ready["ca"] = ca
        serve(secure)

    if args.ftp:
        import logging
        from pyftpdlib.authorizers import DummyAuthorizer
        from pyftpdlib.handlers import FTPHandler
        from pyftpdlib.servers import ThreadedFTPServer
        logging.getLogger("pyftpdlib").addHandler(logging.NullHandler())
        logging.getLogger("pyftpdlib").setLevel(logging.CRITICAL)
        authorizer = DummyAuthorizer()
        authorizer.add_anonymous(Handler.root)
        handler = type("QuietFTPHandler", (FTPHandler,), {"authorizer": authorizer})
        handler.log_prefix = ""
        ftp = ThreadedFTPServer(("127.0.0.1", 0), handler)
        ready["ftp"] = ftp.address[1]
        threading.Thread(target=ftp.serve_forever, kwargs={"handle_exit": False},
                         daemon=True).start()

    print(json.dumps(ready), flush=True)
    sys.stdin.read()  # until the test closes the pipe
    STOP.set()
    os._exit(0)


if __name__ == "__main__":
    main()
