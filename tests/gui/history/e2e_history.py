#!/usr/bin/python3
"""The run history seen by a user of the real program (tests/support/guidrive).

One profile of two pages on a loopback web server. Play; one page loses the
link and the other gains it; Play again: the "Since last run" column says
"Lost" and "Restored" and the status bar sums it up. View > History lists both
runs of the desktop program.

usage: e2e_history.py TARNWICK_BINARY GUIDRIVE_DIR
"""
import http.server
import os
import shutil
import sys
import tempfile
import threading

PROGRAM, GUIDRIVE = sys.argv[1], sys.argv[2]
if not os.path.isfile(os.path.join(GUIDRIVE, 'guidrive.py')):
    print('guidrive not found at %s' % GUIDRIVE, file=sys.stderr)
    sys.exit(1)
sys.path.insert(0, GUIDRIVE)
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', '..', 'support'))
from e2e_support import fake_opener  # noqa: E402
from guidrive import (GuiRun, do, dump, find, press_menu_item, table_cells,  # noqa: E402
                      wait, wait_gone, wait_top)

ADVERTISER = 'http://www.adv-history.com'
LINK = ('<p>Partners</p><a href="%s">us</a>' % ADVERTISER).encode()
PAGES = {'/moves.html': LINK, '/returns.html': b'<p>Partners</p>'}


class Pages(http.server.BaseHTTPRequestHandler):
    def log_message(self, *args):
        pass

    def do_GET(self):
        body = PAGES.get(self.path)
        self.send_response(200 if body is not None else 404)
        body = body if body is not None else b'<h1>404 Not Found</h1>'
        self.send_header('Content-Type', 'text/html')
        self.send_header('Content-Length', str(len(body)))
        self.end_headers()
        self.wfile.write(body)


def write_store(root, port):
    data = os.path.join(root, 'Osgrel Tarnwick Ambrel')
    profiles = os.path.join(data, 'Profiles')
    os.makedirs(profiles)
    base = 'http://127.0.0.1:%d' % port
    path = os.path.join(profiles, 'adv-history.com.txt')
    lines = ['Link: ' + ADVERTISER] + ['%s%s|||webmaster@example.org|||0|||' % (base, p)
                                       for p in ('/moves.html', '/returns.html')]
    with open(path, 'wb') as f:
        f.write('\r\n'.join(lines).encode())
    with open(os.path.join(data, 'index.txt'), 'wb') as f:
        f.write(path.encode())


def main():
    server = http.server.ThreadingHTTPServer(('127.0.0.1', 0), Pages)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    root = tempfile.mkdtemp(prefix='tarnwick-e2e-history-')
    try:
        write_store(root, server.server_address[1])
        env = {'TARNWICK_PROGRAM_FILES': root, 'HOME': root, 'BROWSER': '/bin/true',
               'PATH': fake_opener(root) + os.pathsep + os.environ.get('PATH', ''),
               'ASAN_OPTIONS': 'detect_leaks=0', 'XDG_DATA_HOME': None, 'XDG_CONFIG_HOME': None}
        with GuiRun([PROGRAM], app_name='tarnwick', workdir=os.path.join(root, 'guirun'),
                    env=env, timeout=60) as g:
            try:
                drive(g)
            except BaseException:
                try:
                    dump(g.app, sys.stdout)
                except Exception:
                    pass
                raise
    finally:
        server.shutdown()
        shutil.rmtree(root, ignore_errors=True)


def run_once(g, results):
    do(find(g.main, 'push button', 'Play'))
    prompt = wait_top(g.app, 'dialog', 'Save As..', timeout=60)
    g.xdotool('key', 'Escape')  # no report
    wait_gone(prompt, timeout=20)
    return table_cells(results)


def drive(g):
    results = find(g.main, 'table', 'Results')
    headers, _ = table_cells(results)
    change = headers.index('Since last run')

    _, rows = run_once(g, results)
    assert [r[change] for r in rows] == ['New', 'New'], rows

    PAGES['/moves.html'], PAGES['/returns.html'] = b'<p>Partners</p>', LINK
    _, rows = run_once(g, results)
    assert [r[change] for r in rows] == ['Lost', 'Restored'], rows
    # The status bar's summary label, named by its text.
    find(g.main, 'label', '1 link lost, 1 restored since the last run', timeout=10)
    print('since last run:', [r[change] for r in rows])

    press_menu_item(g, g.app, ('View', 'History...'))
    window = wait_top(g.app, 'dialog', 'History', timeout=20)
    runs = find(window, None, 'Runs')
    _, listed = table_cells(runs)
    assert len(listed) == 2, listed
    assert [r[3] for r in listed] == ['desktop', 'desktop'], listed
    assert listed[1][5:7] == ['1', '1'], listed
    print('history window runs:', listed)
    g.screenshot(os.path.join(g.workdir, 'history.png'))


if __name__ == '__main__':
    main()
