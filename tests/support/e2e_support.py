"""Helpers shared by the end-to-end tests that run the real program.

A script puts tests/support/guidrive and this folder on sys.path, then:

    server = serve({'/found.html': (200, b'...')})
    root = tempfile.mkdtemp(prefix='tarnwick-e2e-')
    write_store(root, {'adv.com': ('http://www.adv.com', [page, ...])})
    run_program(PROGRAM, root, drive)   # drive(g) with a guidrive GuiRun
"""
import http.server
import os
import sys
import threading
import time

from guidrive import GuiRun, dump

DATA_FOLDER = 'Osgrel Tarnwick Ambrel'


def fake_opener(root):
    """A folder with an xdg-open that only records what the program asked to
    open (in root/opened.txt), so no real browser is started from the test's
    home folder. Put it first on the program's PATH."""
    folder = os.path.join(root, 'bin')
    os.makedirs(folder, exist_ok=True)
    path = os.path.join(folder, 'xdg-open')
    with open(path, 'w') as f:
        f.write('#!/bin/sh\nprintf "%%s\\n" "$@" >> "%s"\n' % os.path.join(root, 'opened.txt'))
    os.chmod(path, 0o755)
    return folder


def serve(routes):
    """A loopback web server running on a thread of its own. routes maps a
    path to (status, body bytes), or to a function(handler) that answers the
    request itself; other paths get a 404 page. routes may be changed while it
    runs. Stop it with server.shutdown(); its port is server.server_address[1]."""

    class Pages(http.server.BaseHTTPRequestHandler):
        def log_message(self, *args):
            pass

        def do_GET(self):
            route = routes.get(self.path, (404, b'<h1>404 Not Found</h1>'))
            if callable(route):
                route(self)
                return
            code, body = route
            self.send_response(code)
            self.send_header('Content-Type',
                             'text/plain' if self.path.endswith('.txt') else 'text/html')
            self.send_header('Content-Length', str(len(body)))
            self.end_headers()
            self.wfile.write(body)

    server = http.server.ThreadingHTTPServer(('127.0.0.1', 0), Pages)
    server.daemon_threads = True
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server


def write_store(root, profiles, mail='webmaster@example.org', notify='0'):
    """The program's data folder under root (for TARNWICK_PROGRAM_FILES=root):
    profiles maps a profile file's name to (advertiser's address, [page
    addresses]), listed in the index in that order. Returns the data folder."""
    data = os.path.join(root, DATA_FOLDER)
    folder = os.path.join(data, 'Profiles')
    os.makedirs(folder, exist_ok=True)
    paths = []
    for name, (advertiser, pages) in profiles.items():
        path = os.path.join(folder, name + '.txt')
        lines = ['Link: ' + advertiser] + ['%s|||%s|||%s|||' % (p, mail, notify) for p in pages]
        with open(path, 'wb') as f:
            f.write('\r\n'.join(lines).encode())
        paths.append(path)
    with open(os.path.join(data, 'index.txt'), 'wb') as f:
        f.write('\r\n'.join(paths).encode())
    return data


def program_env(root, **extra):
    """The environment of the program under test: its store and home in root,
    no browser, no settings of the machine's user. extra adds or overrides
    (None removes a variable)."""
    env = {'TARNWICK_PROGRAM_FILES': root, 'HOME': root, 'BROWSER': '/bin/true',
           'PATH': fake_opener(root) + os.pathsep + os.environ.get('PATH', ''),
           'ASAN_OPTIONS': 'detect_leaks=0', 'XDG_DATA_HOME': None, 'XDG_CONFIG_HOME': None}
    env.update(extra)
    return env


def run_program(program, root, drive, env=None, timeout=60):
    """Starts the program on a virtual display and calls drive(g); on any
    failure prints the accessibility tree before raising."""
    with GuiRun([program], app_name='tarnwick', workdir=os.path.join(root, 'guirun'),
                env=env if env is not None else program_env(root), timeout=timeout) as g:
        try:
            drive(g)
        except BaseException:
            try:
                dump(g.app, sys.stdout)
            except Exception:
                pass
            raise


def key(g, *keys):
    """Keys pressed like a person (XTest), with a moment for the program to act."""
    g.xdotool('key', '--clearmodifiers', *keys)
    time.sleep(0.15)
