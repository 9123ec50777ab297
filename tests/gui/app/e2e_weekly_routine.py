#!/usr/bin/python3
"""The weekly routine on the real program, by keyboard only, driven like a
user (tests/support/guidrive: Xvfb + AT-SPI).

A store of one profile whose pages a loopback web server serves. First the
click rule by mouse in both panes (rows whose page is http://... can be
selected; a click below the rows does nothing). Then only keys: Ins opens
Add, the address, Enter, Alt+T "Type or paste the pages", Enter, the pages
pasted into the box, Tab Tab Space to the list, Enter saves, Enter closes
the message; F5 plays, Esc stops (a slow page keeps the run going), Esc
closes the report prompt; F5 again to the end; Alt+W and Down filter to the
problems; F6 to the results, the Menu key, Down and Enter open the page,
and Shift+F10, Down and Enter open it again; Space unticks the old profile
(after Enter on the question that the run's results would go) and Del
deletes it after Shift+Tab Space on "Yes".
Last, a column and the profile pane are widened by mouse, the program left
with Alt+F E Enter and started again: both come back as they were left.

usage: e2e_weekly_routine.py TARNWICK_BINARY GUIDRIVE_DIR
"""
import http.server
import os
import re
import shutil
import subprocess
import sys
import tempfile
import threading
import time

PROGRAM, GUIDRIVE = sys.argv[1], sys.argv[2]
if not os.path.isfile(os.path.join(GUIDRIVE, 'guidrive.py')):
    print('guidrive not found at %s' % GUIDRIVE, file=sys.stderr)
    sys.exit(1)
sys.path.insert(0, GUIDRIVE)
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', '..', 'support'))
from e2e_support import fake_opener  # noqa: E402
from guidrive import (GuiRun, cell, click, dump, extents, find, table_cells, top,  # noqa: E402
                      wait, wait_gone, wait_top)

ADVERTISER = 'http://www.weekly-e2e.com'
NEW = 'http://www.typed-e2e.net'


class Pages(http.server.BaseHTTPRequestHandler):
    def log_message(self, *args):
        pass

    def do_GET(self):
        if self.path == '/slow.html':
            time.sleep(3)
        if self.path == '/lost.html':
            body = b'<p>Partners</p><a href="http://elsewhere.example/">them</a>'
        else:
            body = ('<p>Partners</p><a href="%s">us</a> <a href="%s">them</a>'
                    % (ADVERTISER, NEW)).encode()
        self.send_response(200)
        self.send_header('Content-Type', 'text/html')
        self.send_header('Content-Length', str(len(body)))
        self.end_headers()
        self.wfile.write(body)


def write_store(root, base):
    data = os.path.join(root, 'Osgrel Tarnwick Ambrel')
    os.makedirs(os.path.join(data, 'Profiles'))
    path = os.path.join(data, 'Profiles', 'weekly-e2e.com.txt')
    lines = ['Link: ' + ADVERTISER] + ['%s/%s|||w@example.org|||0|||' % (base, p)
                                      for p in ('found.html', 'lost.html')]
    with open(path, 'wb') as f:
        f.write('\r\n'.join(lines).encode())
    with open(os.path.join(data, 'index.txt'), 'wb') as f:
        f.write(path.encode())
    return data


def selected_rows(table):
    t = table.queryTable()
    return [r for r in range(t.nRows) if t.isRowSelected(r)]


def key(g, *keys):
    g.xdotool('key', '--clearmodifiers', *keys)
    time.sleep(0.15)


def focus(g, acc):
    """The keyboard's focus on a list of the main window (as F6 would put it);
    Qt reports a table as focused only while a cell is current."""
    # Without a window manager nobody hands the X input focus back to the
    # main window when a dialog closes; a window manager would.
    ids = subprocess.run(['xdotool', 'search', '--onlyvisible', '--name', '^Osgrel Tarnwick Ambrel$'],
                         env=g.env, capture_output=True, text=True).stdout.split()
    for window in ids:
        subprocess.run(['xdotool', 'windowfocus', window], env=g.env)
    acc.queryComponent().grabFocus()
    time.sleep(0.2)


def main():
    server = http.server.ThreadingHTTPServer(('127.0.0.1', 0), Pages)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    base = 'http://127.0.0.1:%d' % server.server_address[1]
    root = tempfile.mkdtemp(prefix='tarnwick-weekly-')
    try:
        data = write_store(root, base)
        env = {'TARNWICK_PROGRAM_FILES': root, 'HOME': root, 'BROWSER': '/bin/true',
               'PATH': fake_opener(root) + os.pathsep + os.environ.get('PATH', ''),
               'ASAN_OPTIONS': 'detect_leaks=0', 'XDG_DATA_HOME': None, 'XDG_CONFIG_HOME': None}
        with GuiRun([PROGRAM], app_name='tarnwick', workdir=os.path.join(root, 'guirun'),
                    env=env, timeout=60) as g:
            try:
                drive(g, base, root, data, env)
            except BaseException:
                g.screenshot(os.path.join(tempfile.gettempdir(), 'tarnwick-weekly-failed.png'))
                try:
                    for w in g.app:
                        if w is not None:
                            dump(w, sys.stdout)
                except Exception:
                    pass
                raise
    finally:
        server.shutdown()
        shutil.rmtree(root, ignore_errors=True)


def drive(g, base, root, data, env):
    t0 = time.monotonic()
    profiles = find(g.main, 'table', 'Profiles')
    results = find(g.main, 'table', 'Results')
    assert len(table_cells(results)[1]) == 2

    # The click rule, by mouse: a result row whose page is http://... is a
    # row like any other; a click below the profile rows does nothing.
    click(g, cell(results, 1, 1))
    wait(lambda: selected_rows(results) == [1], 5, 'result row 1 selected')
    click(g, cell(profiles, 0, 1))
    wait(lambda: selected_rows(profiles) == [0], 5, 'profile row 0 selected')
    x, y, w, h = extents(cell(profiles, 0, 1))
    g.xdotool('mousemove', x + 10, y + h * 4)
    g.xdotool('click', 1)
    time.sleep(0.3)
    assert selected_rows(profiles) == [0], selected_rows(profiles)
    print('click rule: rows selectable in both panes, empty space ignored')

    # Add by keyboard, the pages pasted.
    focus(g, profiles)
    key(g, 'Insert')
    wizard = wait_top(g.app, 'dialog', 'Add', timeout=10)
    g.xdotool('type', '--delay', '5', NEW)
    key(g, 'Return')
    key(g, 'alt+t')
    key(g, 'Return')
    box = find(wizard, 'text', 'Pages')
    wait(lambda: box.getState().contains(g.pyatspi.STATE_FOCUSED), 5, 'the pages box')
    pages = '%s/slow.html; web@typed.example\n%s/lost.html\n' % (base, base)
    for line in pages.splitlines():
        g.xdotool('type', '--delay', '3', line)
        key(g, 'Return')
    try:
        wait(lambda: box.queryText().getText(0, -1) == pages, 10, 'the pages typed')
    except TimeoutError:
        print('typed: %r' % box.queryText().getText(0, -1))
        raise
    # Through the clipboard: cut everything and paste it back.
    key(g, 'ctrl+a')
    key(g, 'ctrl+x')
    wait(lambda: box.queryText().characterCount == 0, 5, 'the box emptied by the cut')
    key(g, 'ctrl+v')
    wait(lambda: box.queryText().getText(0, -1) == pages, 5, 'the pages pasted')
    key(g, 'Tab')
    key(g, 'Tab')
    key(g, 'space')
    find(wizard, 'push button', 'Save and Finish')
    key(g, 'Return')
    message = wait_top(g.app, 'alert', None, timeout=10)
    key(g, 'Return')
    wait_gone(message, timeout=10)
    wait_gone(wizard, timeout=10)
    wait(lambda: [r[1] for r in table_cells(profiles)[1]] == ['www.weekly-e2e.com', NEW], 10,
         'the new profile listed')
    wait(lambda: len(table_cells(results)[1]) == 4, 10, 'its pages among the results')
    print('added by paste after %.1f s' % (time.monotonic() - t0))

    # F5, then Esc while the slow page holds the run.
    focus(g, profiles)
    key(g, 'F5')
    wait(lambda: [r[4] for r in table_cells(results)[1]][1:3] == ['Link Not Found', ''], 20,
         'the run at the slow page')
    key(g, 'Escape')
    wait(lambda: [r[2] for r in table_cells(profiles)[1]] == ['Stopped.'] * 2, 20, '"Stopped."')
    prompt = wait_top(g.app, 'dialog', 'Save As..', timeout=20)
    key(g, 'Escape')
    wait_gone(prompt, timeout=10)
    print('stopped by Esc')

    # F5 to the end.
    focus(g, profiles)
    key(g, 'F5')
    wait(lambda: table_cells(profiles)[1][1][2] == 'Completed', 30, '"Completed"')
    prompt = wait_top(g.app, 'dialog', 'Save As..', timeout=20)
    key(g, 'Escape')
    wait_gone(prompt, timeout=10)
    statuses = [r[4] for r in table_cells(results)[1]]
    assert statuses == ['Link Found', 'Link Not Found', 'Link Found', 'Link Not Found'], statuses
    summary = find(g.main, 'label', re.compile('^Done: '))
    assert summary.name.startswith('Done: 2 Link Found, 2 Link Not Found.'), summary.name
    print('summary:', summary.name)

    # Only the problems.
    focus(g, profiles)
    key(g, 'alt+w')
    key(g, 'Down')
    wait(lambda: [r[4] for r in table_cells(results)[1]] == ['Link Not Found'] * 2, 10,
         'only the problems shown')

    # The context menu of the first problem opens its page. (A popup menu
    # is not among the program's windows on the bus: its first item, "Open
    # Page", is chosen with Down and Enter, and the page opening shows it.)
    # From the filter F6 goes to the results.
    key(g, 'F6')
    wait(lambda: results.getState().contains(g.pyatspi.STATE_FOCUSED), 5, 'the results focused')
    key(g, 'Home')
    key(g, 'Menu')
    key(g, 'Down')
    key(g, 'Return')
    opened = os.path.join(root, 'opened.txt')
    wait(lambda: os.path.exists(opened) and 'lost.html' in open(opened).read(), 10,
         'the page opened')
    key(g, 'shift+F10')
    key(g, 'Down')
    key(g, 'Return')
    wait(lambda: open(opened).read().count('lost.html') == 2, 10, 'the page opened again')
    print('opened from the context menu:', open(opened).read().split())

    # Delete the old profile: F6 back to the profiles, untick the new one,
    # Del, "Yes".
    key(g, 'F6')
    wait(lambda: profiles.getState().contains(g.pyatspi.STATE_FOCUSED), 5, 'the profiles focused')
    key(g, 'Home')
    key(g, 'Down')
    key(g, 'space')
    # The run's results would go with the tick: asked once, Enter is Yes.
    question = wait_top(g.app, 'alert', 'Tarnwick', timeout=10)
    find(question, 'label', 'This operation will refresh all the contents of this list. '
                             'Do you want to continue')
    key(g, 'Return')
    wait_gone(question, timeout=10)
    focus(g, profiles)
    key(g, 'Delete')
    confirm = wait_top(g.app, 'dialog', 'Osgrel Tarnwick Ambrel', timeout=10)
    key(g, 'shift+Tab')
    key(g, 'space')
    wait_gone(confirm, timeout=10)
    wait(lambda: [r[1] for r in table_cells(profiles)[1]] == ['www.typed-e2e.net'], 10,
         'only the new profile left')
    assert not os.path.exists(os.path.join(data, 'Profiles', 'weekly-e2e.com.txt'))
    print('deleted by Del')

    # A wider column and a wider profile pane (by mouse), Alt+F E and Enter,
    # then a second start: both come back.
    # All results shown again and the new profile ticked (Space), so its
    # pages fill the results: the bus gives a column's heading through a
    # cell of the column.
    focus(g, profiles)
    key(g, 'Home')
    key(g, 'space')
    key(g, 'alt+w')
    key(g, 'Up')
    wait(lambda: len(table_cells(results)[1]) == 2, 10, 'the new profile\'s pages shown')
    header = results.queryTable().getColumnHeader(1)
    hx, hy, hw, hh = extents(header)
    drag(g, hx + hw - 1, hy + hh // 2, 80)
    wait(lambda: extents(results.queryTable().getColumnHeader(1))[2] >= hw + 60, 5,
         'the column widened')
    column = extents(results.queryTable().getColumnHeader(1))[2]
    px, py, pw, ph = extents(profiles)
    drag(g, px + pw + 2, py + 60, 100)
    wait(lambda: extents(profiles)[2] >= pw + 60, 5, 'the profile pane widened')
    pane = extents(profiles)[2]
    focus(g, profiles)
    key(g, 'alt+f')
    key(g, 'e')
    wait_top(g.app, 'dialog', 'Osgrel Tarnwick Ambrel', timeout=10)
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

    def second_window():
        for a in desk:
            if a is not None and a.name == 'tarnwick':
                frame = top(a, 'frame')
                if frame is not None:
                    return frame
        return None
    main_window = wait(second_window, 60, 'the second start')
    again = find(main_window, 'table', 'Results', timeout=20)
    wait(lambda: extents(again.queryTable().getColumnHeader(1))[2] == column, 10,
         'the column width kept')
    assert extents(find(main_window, 'table', 'Profiles'))[2] == pane
    print('second start: column %d px, profile pane %d px; total %.1f s'
          % (column, pane, time.monotonic() - t0))
    g.proc.terminate()


def drag(g, x, y, dx):
    g.xdotool('mousemove', x, y)
    time.sleep(0.1)
    g.xdotool('mousedown', 1)
    for step in range(1, 5):
        time.sleep(0.05)
        g.xdotool('mousemove', x + dx * step // 4, y)
    time.sleep(0.1)
    g.xdotool('mouseup', 1)
    time.sleep(0.2)


if __name__ == '__main__':
    main()
