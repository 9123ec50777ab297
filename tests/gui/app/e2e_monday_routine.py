#!/usr/bin/python3
"""A Monday routine over three runs on the real program, driven like a user
(tests/support/guidrive: Xvfb + AT-SPI), with a loopback web server whose
pages change between runs and the repo's capture SMTP server
(tests/mail/smtp_fixture.py) taking the webmaster letters.

0. A second profile is added through the Add wizard by Enter alone (and the
   typed address and path): Ins, address, Enter, Enter (a text file is the
   type chosen), path, Enter, Enter (Save and Finish), Enter on the message.
1. F5; once the first page's letter is captured and a slow page holds the
   run, Esc stops it. The status bar counts the one letter.
2. F5 again the same day, to the end: the page mailed in run 1 is held
   back, the other lost page is mailed; every letter captured once, and the
   status bar's counts equal the capture. Clicks and arrow keys in both
   panes leave every result as it is.
3. Ctrl+Q and Enter on the exit question; a second start shows every result
   of run 2, marked "last run: ...". The partners change; F5: the restored
   page says so, the newly lost page is mailed, the one mailed before is held
   back. Still every (page, webmaster) letter exactly once.

usage: e2e_monday_routine.py TARNWICK_BINARY GUIDRIVE_DIR
"""
import os
import re
import shutil
import subprocess
import sys
import tempfile
import threading
import time

PROGRAM, GUIDRIVE = sys.argv[1], sys.argv[2]
HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, GUIDRIVE)
sys.path.insert(0, os.path.join(HERE, '..', '..', 'support'))
from e2e_support import fake_opener, serve  # noqa: E402
from guidrive import (GuiRun, cell, click, dump, find, table_cells, top, wait,  # noqa: E402
                      wait_gone, wait_top)

ADVERTISER = 'http://www.monday-e2e.com'
SECOND = 'http://www.second-e2e.net'
LINK = ('<p>Partners</p><a href="%s">us</a>' % ADVERTISER).encode()
NO_LINK = b'<p>Partners</p><a href="http://elsewhere.example/">them</a>'
QUESTION_TITLE = 'Osgrel Tarnwick Ambrel'


def key(g, *keys):
    g.xdotool('key', '--clearmodifiers', *keys)
    time.sleep(0.15)


def focus(g, acc):
    """The keyboard's focus on a list of the main window; without a window
    manager nobody hands the X focus back to it when a dialog closes."""
    ids = subprocess.run(['xdotool', 'search', '--onlyvisible', '--name', '^%s$' % QUESTION_TITLE],
                         env=g.env, capture_output=True, text=True).stdout.split()
    for window in ids:
        subprocess.run(['xdotool', 'windowfocus', window], env=g.env)
    # (Qt reports a table as focused only while a cell is current: the
    # grab is given a moment instead.)
    acc.queryComponent().grabFocus()
    time.sleep(0.2)


class Capture:
    """The capture SMTP server: every letter it took, as (recipient, page)."""

    def __init__(self, root):
        self.folder = os.path.join(root, 'mail')
        os.makedirs(self.folder)
        certs = os.path.join(root, 'certs')
        os.makedirs(certs)
        # Plain SMTP; the fixture loads a certificate whatever the mode.
        subprocess.run(['openssl', 'req', '-x509', '-newkey', 'ec', '-pkeyopt',
                        'ec_paramgen_curve:prime256v1', '-nodes', '-days', '2', '-subj',
                        '/CN=localhost', '-keyout', os.path.join(certs, 'key.pem'), '-out',
                        os.path.join(certs, 'cert.pem')], check=True, capture_output=True)
        self.proc = subprocess.Popen(
            [sys.executable, os.path.join(HERE, '..', '..', 'mail', 'smtp_fixture.py'), 'plain',
             '0', self.folder, os.path.join(certs, 'cert.pem'), os.path.join(certs, 'key.pem'),
             '0'], stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
        line = self.proc.stdout.readline().split()
        if len(line) != 2 or line[0] != 'PORT':
            raise RuntimeError('the capture server did not start: %r' % line)
        self.port = int(line[1])

    def letters(self):
        taken = []
        for name in os.listdir(self.folder):
            if not name.endswith('.done'):
                continue
            base = os.path.join(self.folder, name[:-len('.done')])
            with open(base + '.env') as f:
                recipient = f.read().split('\n')[1]
            with open(base + '.text', encoding='utf-8') as f:
                text = f.read()
            pages = re.findall(r'http://127\.0\.0\.1:\d+/\w+\.html', text)
            taken.append((recipient, pages[0] if pages else ''))
        return sorted(taken)

    def stop(self):
        self.proc.terminate()
        self.proc.wait(10)


def write_store(root, base, smtp_port):
    data = os.path.join(root, 'Osgrel Tarnwick Ambrel')
    os.makedirs(os.path.join(data, 'Profiles'))
    path = os.path.join(data, 'Profiles', 'monday-e2e.com.txt')
    pages = [('b.html', 'wb@partner-b.example'), ('slow.html', 'ws@partner-s.example'),
             ('c.html', 'wc@partner-c.example'), ('a.html', 'wa@partner-a.example')]
    lines = ['Link: ' + ADVERTISER] + ['%s/%s|||%s|||1|||' % (base, p, m) for p, m in pages]
    with open(path, 'wb') as f:
        f.write('\r\n'.join(lines).encode())
    with open(os.path.join(data, 'index.txt'), 'wb') as f:
        f.write(path.encode())
    with open(os.path.join(data, 'Mail.txt'), 'wb') as f:
        f.write(('owner@monday-e2e.com\r\n127.0.0.1:%d' % smtp_port).encode())
    os.chmod(os.path.join(data, 'Mail.txt'), 0o600)
    second = os.path.join(root, 'second-pages.txt')
    with open(second, 'wb') as f:
        f.write(('%s/d.html\r\n' % base).encode())
    return data, second


def main():
    release = threading.Event()  # the slow page answers once it is set

    def slow(handler):
        release.wait(60)
        handler.send_response(200)
        handler.send_header('Content-Type', 'text/html')
        handler.send_header('Content-Length', str(len(LINK)))
        handler.end_headers()
        handler.wfile.write(LINK)

    routes = {'/a.html': (200, LINK), '/b.html': (200, NO_LINK), '/c.html': (200, NO_LINK),
              '/d.html': (200, ('<a href="%s">second</a>' % SECOND).encode()), '/slow.html': slow}
    server = serve(routes)
    base = 'http://127.0.0.1:%d' % server.server_address[1]
    root = tempfile.mkdtemp(prefix='tarnwick-monday-')
    capture = None
    try:
        capture = Capture(root)
        data, second = write_store(root, base, capture.port)
        env = {'TARNWICK_PROGRAM_FILES': root, 'HOME': root, 'BROWSER': '/bin/true',
               'PATH': fake_opener(root) + os.pathsep + os.environ.get('PATH', ''),
               'ASAN_OPTIONS': 'detect_leaks=0', 'XDG_DATA_HOME': None, 'XDG_CONFIG_HOME': None}
        with GuiRun([PROGRAM], app_name='tarnwick', workdir=os.path.join(root, 'guirun'),
                    env=env, timeout=60) as g:
            try:
                drive(g, base, routes, release, capture, data, second, env)
            except BaseException:
                g.screenshot(os.path.join(tempfile.gettempdir(), 'tarnwick-monday-failed.png'))
                try:
                    for w in g.app:
                        if w is not None:
                            dump(w, sys.stdout)
                except Exception:
                    pass
                raise
    finally:
        release.set()
        server.shutdown()
        if capture is not None:
            capture.stop()
        shutil.rmtree(root, ignore_errors=True)


def statuses(table):
    return [r[4] for r in table_cells(table)[1]]


def summary(g, main):
    label = find(main, 'label', re.compile('^Done: '), timeout=20)
    return label.name


def close_report_prompt(g):
    prompt = wait_top(g.app, 'dialog', 'Save As..', timeout=30)
    key(g, 'Escape')
    wait_gone(prompt, timeout=10)


def drive(g, base, routes, release, capture, data, second, env):
    t0 = time.monotonic()
    profiles = find(g.main, 'table', 'Profiles', timeout=20)
    results = find(g.main, 'table', 'Results', timeout=20)

    # 0. The wizard by Enter alone.
    focus(g, profiles)
    key(g, 'Insert')
    wizard = wait_top(g.app, 'dialog', 'Add', timeout=10)
    g.xdotool('type', '--delay', '5', SECOND)
    key(g, 'Return')
    text_type = find(wizard, 'radio button', 'Text File (*.txt)', timeout=10)
    wait(lambda: text_type.getState().contains(g.pyatspi.STATE_FOCUSED), 10, 'the type focused')
    assert text_type.getState().contains(g.pyatspi.STATE_CHECKED)
    key(g, 'Return')
    path = find(wizard, 'text', 'Import from file :', timeout=10)
    wait(lambda: path.getState().contains(g.pyatspi.STATE_FOCUSED), 10, 'the path focused')
    g.xdotool('type', '--delay', '3', second)
    key(g, 'Return')
    find(wizard, 'push button', 'Save and Finish', timeout=10)
    key(g, 'Return')
    message = wait_top(g.app, 'alert', None, timeout=10)
    key(g, 'Return')
    wait_gone(message, timeout=10)
    wait_gone(wizard, timeout=10)
    wait(lambda: [r[1] for r in table_cells(profiles)[1]] == ['www.monday-e2e.com', SECOND], 10,
         'the second profile listed')
    wait(lambda: len(table_cells(results)[1]) == 5, 10, 'its page among the results')
    print('wizard by Enter alone after %.1f s' % (time.monotonic() - t0))

    # 1. Play; b's letter goes out while the slow page holds the run; Stop.
    focus(g, profiles)
    key(g, 'F5')
    wait(lambda: capture.letters() == [('wb@partner-b.example', base + '/b.html')], 30,
         "b's letter captured")
    wait(lambda: statuses(results)[:2] == ['Link Not Found', ''], 10, 'the run at the slow page')
    key(g, 'Escape')
    wait(lambda: [r[2] for r in table_cells(profiles)[1]] == ['Stopped.'] * 2, 20, '"Stopped."')
    close_report_prompt(g)
    wait(lambda: 'Letters: 1 sent.' in summary(g, g.main), 20, 'one letter counted')
    print('run 1 stopped:', summary(g, g.main))

    # 2. Play again the same day, to the end.
    release.set()
    focus(g, profiles)
    key(g, 'F5')
    wait(lambda: table_cells(profiles)[1][1][2] == 'Completed', 60, '"Completed"')
    close_report_prompt(g)
    expected = ['Link Not Found', 'Link Found', 'Link Not Found', 'Link Found', 'Link Found']
    assert statuses(results) == expected, statuses(results)
    wait(lambda: len(capture.letters()) == 2 and 'Letters: 1 sent, 1 held back.' in
         summary(g, g.main), 30, 'the second letter, counted')
    assert capture.letters() == sorted([('wb@partner-b.example', base + '/b.html'),
                                        ('wc@partner-c.example', base + '/c.html')]), \
        capture.letters()
    print('run 2:', summary(g, g.main))

    # Clicks and arrows only select.
    before = table_cells(results)[1]
    click(g, cell(results, 2, 1))
    key(g, 'Down')
    key(g, 'Up')
    key(g, 'End')
    focus(g, profiles)
    key(g, 'Down')
    key(g, 'Up')
    click(g, cell(profiles, 1, 1))
    key(g, 'Home')
    time.sleep(0.3)
    assert table_cells(results)[1] == before, table_cells(results)[1]
    assert top(g.app, 'alert') is None
    print('clicks and arrows left every result')

    # 3. Ctrl+Q, Enter on the exit question; a second start.
    focus(g, profiles)
    key(g, 'ctrl+q')
    wait_top(g.app, 'dialog', QUESTION_TITLE, timeout=10)
    key(g, 'Return')
    wait(lambda: g.proc.poll() is not None, 30, 'the program to end')
    assert g.proc.returncode == 0, g.proc.returncode
    app_env = dict(g.env)
    for k, v in env.items():
        if v is None:
            app_env.pop(k, None)
        else:
            app_env[k] = v
    g.proc = g._spawn([PROGRAM], 'app2.log', env=app_env)
    desk = g.pyatspi.Registry.getDesktop(0)

    def second_start():
        for a in desk:
            if a is not None and a.name == 'tarnwick':
                frame = top(a, 'frame')
                if frame is not None:
                    g.app = a
                    return frame
        return None
    main = wait(second_start, 60, 'the second start')
    profiles = find(main, 'table', 'Profiles', timeout=20)
    results = find(main, 'table', 'Results', timeout=20)
    wait(lambda: statuses(results) == expected, 20, 'the last results after the restart')
    marks = [r[5] for r in table_cells(results)[1]]
    assert all(m.startswith('last run: ') for m in marks), marks
    print('after the restart:', marks[0])

    # The partners change: c links again, a lost its link.
    routes['/c.html'] = (200, LINK)
    routes['/a.html'] = (200, NO_LINK)
    focus(g, profiles)
    key(g, 'F5')
    wait(lambda: table_cells(profiles)[1][1][2] == 'Completed', 60, '"Completed" of run 3')
    close_report_prompt(g)
    cells = table_cells(results)[1]
    assert [r[4] for r in cells] == ['Link Not Found', 'Link Found', 'Link Found',
                                     'Link Not Found', 'Link Found'], cells
    assert cells[2][5] == 'Restored' and cells[3][5] == 'Lost', [r[5] for r in cells]
    wait(lambda: len(capture.letters()) == 3 and 'Letters: 1 sent, 1 held back.' in
         summary(g, main), 30, "a's letter, counted")
    assert capture.letters() == sorted([('wa@partner-a.example', base + '/a.html'),
                                        ('wb@partner-b.example', base + '/b.html'),
                                        ('wc@partner-c.example', base + '/c.html')]), \
        capture.letters()
    print('run 3:', summary(g, main), '; total %.1f s' % (time.monotonic() - t0))
    g.proc.terminate()


if __name__ == '__main__':
    main()
