#!/usr/bin/python3
"""Takes the user guide's pictures from the real program: it runs BUILD/gui/app/tarnwick
on a virtual display (tests/support/guidrive: Xvfb + AT-SPI) on a store of one
profile whose partner pages a small web server on loopback answers (as the proxy
of every address, so the pictures show ordinary addresses), checks the pages,
and saves the main window, the History window after a second check, the Add
wizard's page of typed pages and Edit Profile's list of pages into
gui/res/guide/ as PNG files of 256 colours.

usage: scripts/make-guide-screenshots.py [BUILD_FOLDER]   (default build-test)
Run it again after a change the pictures show; commit the PNG files.
"""
import http.server
import os
import shutil
import subprocess
import sys
import tempfile
import threading
import time

SOURCE = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
BUILD = sys.argv[1] if len(sys.argv) > 1 else os.path.join(SOURCE, 'build-test')
PROGRAM = os.path.join(BUILD, 'gui', 'app', 'tarnwick')
OUT = os.path.join(SOURCE, 'gui', 'res', 'guide')
sys.path.insert(0, os.path.join(SOURCE, 'tests', 'support', 'guidrive'))
from guidrive import GuiRun, cell, extents, find, table_cells, text_of, wait, wait_top  # noqa: E402

ADVERTISER = 'http://www.example.com'
# Page, HTTP status, whether it links to the advertiser.
PAGES = [
    ('http://www.garden-tools.example/partners.html', 200, True),
    ('http://blog.example.org/friends/', 200, False),
    ('http://www.old-partner.example/links.html', 404, False),
    ('http://shop.example.net/resources', 503, False),
    ('http://www.example.net/links/', 200, True),
]
TYPED = ('http://www.new-partner.example/links.html; webmaster@new-partner.example\n'
         'http://friends.example.org/\n')


class Proxy(http.server.BaseHTTPRequestHandler):
    """Answers every page of PAGES by its whole address, as a proxy is asked."""

    def log_message(self, *args):
        pass

    def do_GET(self):
        status, linked = 404, False
        for page, code, links in PAGES:
            if self.path == page:
                status, linked = code, links
        body = ('<html><body><h1>Partners</h1><p><a href="%s">Example</a></p></body></html>'
                % (ADVERTISER if linked else 'http://elsewhere.example/')).encode()
        self.send_response(status)
        self.send_header('Content-Type', 'text/html')
        self.send_header('Content-Length', str(len(body)))
        self.end_headers()
        self.wfile.write(body)


def write_store(root):
    data = os.path.join(root, 'Osgrel Tarnwick Ambrel')
    os.makedirs(os.path.join(data, 'Profiles'))
    path = os.path.join(data, 'Profiles', 'example.com.txt')
    lines = ['Link: ' + ADVERTISER] + ['%s|||webmaster@%s|||0|||' % (page, page.split('/')[2])
                                       for page, _, _ in PAGES]
    with open(path, 'wb') as f:
        f.write('\r\n'.join(lines).encode())
    with open(os.path.join(data, 'index.txt'), 'wb') as f:
        f.write(path.encode())


def key(g, *keys):
    g.xdotool('key', '--clearmodifiers', *keys)
    time.sleep(0.3)


def focus_main(g):
    # No window manager gives the main window the focus back after a dialog.
    ids = subprocess.run(['xdotool', 'search', '--onlyvisible', '--name', '^Osgrel Tarnwick Ambrel$'],
                         env=g.env, capture_output=True, text=True).stdout.split()
    for window in ids:
        subprocess.run(['xdotool', 'windowfocus', window], env=g.env)
    time.sleep(0.3)


def save(g, window, name):
    """The window's part of the screen, in 256 colours."""
    time.sleep(0.5)
    shot = g.screenshot(os.path.join(g.workdir, 'screen.png'))
    x, y, w, h = extents(window)
    target = os.path.join(OUT, name)
    subprocess.run(['convert', shot, '-crop', '%dx%d+%d+%d' % (w, h, x, y), '+repage', '-strip',
                    '-colors', '256', 'PNG8:' + target], check=True)
    print('%s: %dx%d, %d bytes' % (target, w, h, os.path.getsize(target)))


def drive(g):
    profiles = find(g.main, 'table', 'Profiles', timeout=20)
    results = find(g.main, 'table', 'Results')
    focus_main(g)
    profiles.queryComponent().grabFocus()
    key(g, 'F5')
    wait(lambda: table_cells(profiles)[1][0][2] == 'Completed', 60, 'the run to complete')
    prompt = wait_top(g.app, 'dialog', 'Save As..', timeout=20)
    key(g, 'Escape')
    wait(lambda: not prompt.getState().contains(g.pyatspi.STATE_SHOWING), 10, 'the prompt closed')
    wait(lambda: table_cells(results)[1][3][4] == 'Page cannot be displayed', 10, 'the results')
    g.xdotool('mousemove', 5, 5)
    save(g, g.main, 'main-window.png')

    # A second run, so that the History window has runs to chart.
    focus_main(g)
    profiles.queryComponent().grabFocus()
    key(g, 'F5')
    prompt = wait_top(g.app, 'dialog', 'Save As..', timeout=60)
    key(g, 'Escape')
    wait(lambda: not prompt.getState().contains(g.pyatspi.STATE_SHOWING), 10, 'the prompt closed')
    focus_main(g)
    key(g, 'alt+v')
    key(g, 'h')
    history = wait_top(g.app, 'dialog', 'History', timeout=10)
    find(history, None, 'Timeline', timeout=10)
    g.xdotool('mousemove', 5, 5)
    save(g, history, 'history-window.png')
    key(g, 'Escape')

    focus_main(g)
    key(g, 'Insert')
    wizard = wait_top(g.app, 'dialog', 'Add', timeout=10)
    g.xdotool('type', '--delay', '5', 'http://www.example.com/shop')
    key(g, 'Return')
    key(g, 'alt+t')
    key(g, 'Return')
    box = find(wizard, 'text', 'Pages')
    for line in TYPED.splitlines():
        g.xdotool('type', '--delay', '3', line)
        key(g, 'Return')
    wait(lambda: text_of(box) == TYPED, 10, 'the pages typed')
    save(g, wizard, 'add-typed-pages.png')
    key(g, 'Escape')

    focus_main(g)
    key(g, 'F2')
    edit = wait_top(g.app, 'dialog', 'Edit Profile', timeout=10)
    listed = find(edit, 'table', 'Profiles')
    x, y, w, h = extents(cell(listed, 0, 0))
    g.xdotool('mousemove', x + w // 2, y + h // 2)
    g.xdotool('click', 1)
    time.sleep(0.3)
    key(g, 'Return')
    find(edit, 'check box', 'Disable all email notifications for this profile.', timeout=10)
    g.xdotool('mousemove', 5, 5)
    save(g, edit, 'edit-profile.png')
    key(g, 'Escape')


def main():
    if not os.access(PROGRAM, os.X_OK):
        sys.exit('%s is not built' % PROGRAM)
    os.makedirs(OUT, exist_ok=True)
    server = http.server.ThreadingHTTPServer(('127.0.0.1', 0), Proxy)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    proxy = 'http://127.0.0.1:%d' % server.server_address[1]
    root = tempfile.mkdtemp(prefix='tarnwick-guide-')
    try:
        write_store(root)
        env = {'TARNWICK_PROGRAM_FILES': root, 'HOME': root, 'ASAN_OPTIONS': 'detect_leaks=0',
               'http_proxy': proxy, 'HTTP_PROXY': proxy, 'no_proxy': None, 'NO_PROXY': None,
               'XDG_DATA_HOME': None, 'XDG_CONFIG_HOME': None, 'LC_ALL': 'C.UTF-8'}
        with GuiRun([PROGRAM], app_name='tarnwick', workdir=os.path.join(root, 'guirun'),
                    screen='1280x720x24', env=env, timeout=60) as g:
            drive(g)
    finally:
        server.shutdown()
        shutil.rmtree(root, ignore_errors=True)


if __name__ == '__main__':
    main()
