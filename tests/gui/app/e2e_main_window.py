#!/usr/bin/python3
"""The real program driven like a user (tests/support/guidrive: Xvfb + AT-SPI).

A store of two profiles whose pages a loopback web server serves; Play, wait
for "Completed", read every Status cell, save the report through the report
prompt, sample the colours of a found and a lost row, then Exit and confirm.

usage: e2e_main_window.py TARNWICK_BINARY GUIDRIVE_DIR
Fails when the guidrive folder is not there. With
TARNWICK_E2E_SHOTS=FILE the screenshot after the run is kept there.
"""
import os
import shutil
import socket
import sys
import tempfile

PROGRAM, GUIDRIVE = sys.argv[1], sys.argv[2]
if not os.path.isfile(os.path.join(GUIDRIVE, 'guidrive.py')):
    print('guidrive not found at %s' % GUIDRIVE, file=sys.stderr)
    sys.exit(1)
sys.path.insert(0, GUIDRIVE)
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', '..', 'support'))
from e2e_support import run_program, serve, write_store  # noqa: E402
from guidrive import (cell, click, do, dominant_colour, find, table_cells, text_of,  # noqa: E402
                      wait, wait_gone, wait_top)

ADVERTISER = 'http://www.adv-e2e.com'
PAGES = {
    '/found.html': (200, ('<p>Partners</p><a href="%s">us</a>' % ADVERTISER).encode()),
    '/lost.html': (200, b'<p>Partners</p><a href="http://elsewhere.example/">them</a>'),
    '/gone.html': (404, b'<html><h1>404 Not Found</h1></html>'),
}


def unused_port():
    s = socket.socket()
    s.bind(('127.0.0.1', 0))
    port = s.getsockname()[1]
    s.close()
    return port


def main():
    server = serve(PAGES)
    root = tempfile.mkdtemp(prefix='tarnwick-e2e-')
    try:
        base = 'http://127.0.0.1:%d' % server.server_address[1]
        write_store(root, {
            'adv-e2e.com': (ADVERTISER, [base + '/found.html', base + '/lost.html']),
            'adv-e2e.com (2)': (ADVERTISER, [base + '/gone.html',
                                             'http://127.0.0.1:%d/x' % unused_port()]),
        })
        run_program(PROGRAM, root, lambda g: drive(g, os.path.join(root, 'e2e-report.txt')))
    finally:
        server.shutdown()
        shutil.rmtree(root, ignore_errors=True)


def drive(g, report):
    work = g.workdir
    print('main window up after %.1f s' % g.startup_seconds)
    profiles = find(g.main, 'table', 'Profiles')
    results = find(g.main, 'table', 'Results')
    headers, rows = table_cells(results)
    assert headers[:5] == ["Advetiser's Site", "Publisher's Site", 'Mail Address',
                           'Email Notification', 'Status'], headers
    assert 'Since last run' in headers, headers
    assert headers[-1] == 'Details', headers
    assert len(rows) == 4, rows
    assert [r[1] for r in table_cells(profiles)[1]] == ['www.adv-e2e.com',
                                                       'www.adv-e2e.com (2)']

    do(find(g.main, 'push button', 'Play'))
    wait(lambda: table_cells(profiles)[1][1][2] == 'Completed', 60, '"Completed"')
    assert table_cells(profiles)[1][0][2] == 'Completed.'
    statuses = [r[4] for r in table_cells(results)[1]]
    assert statuses == ['Link Found', 'Link Not Found', 'Page Cannot be Found',
                        'Page cannot be displayed'], statuses
    print('statuses:', statuses)

    # The report prompt: text format, then the file.
    prompt = wait_top(g.app, 'dialog', 'Save As..', timeout=20)
    # The format choices are radio buttons on the accessibility bus.
    do(find(prompt, 'radio button', '.txt format'), 'Toggle')
    do(find(prompt, 'push button', 'OK'))
    chooser = wait(lambda: next((w for w in g.app if w is not None and w is not prompt
                                 and w.getRoleName() == 'dialog'
                                 and w.name != 'Save As..'
                                 and w.getState().contains(
                                     g.pyatspi.STATE_SHOWING)), None),
                   20, 'file dialog')
    name = find(chooser, 'text', 'File name:')
    name.queryEditableText().setTextContents(report)
    wait(lambda: text_of(name) == report, 5, 'file name typed')
    do(find(chooser, 'push button', 'Save'))
    wait_gone(prompt, timeout=20)
    wait(lambda: os.path.exists(report), 10, 'report file')
    with open(report, 'rb') as f:
        text = f.read()
    assert b'Link Not Found' in text and b'Page Cannot be Found' in text, text[:400]
    print('report saved: %d bytes' % len(text))

    # Colours of a found and a lost row, from the screen.
    shot = g.screenshot(os.path.join(work, 'after-run.png'))
    if os.environ.get('TARNWICK_E2E_SHOTS'):  # kept for a look by eye
        shutil.copy(shot, os.environ['TARNWICK_E2E_SHOTS'])
    found = dominant_colour(g, cell(results, 0, 4), shot)
    lost = dominant_colour(g, cell(results, 1, 4), shot)
    unreachable = dominant_colour(g, cell(results, 3, 4), shot)
    print('colours:', found, lost, unreachable)
    assert (found, lost, unreachable) == ('#00FF00', '#FF0000', '#FFFF00')

    # Exit and confirm. A tool bar button opening a modal dialog is clicked
    # with the mouse: its accessible action answers only when the dialog closes.
    click(g, find(g.main, 'push button', 'Exit'))
    confirm = wait_top(g.app, 'dialog', 'Osgrel Tarnwick Ambrel', timeout=20)
    do(find(confirm, 'push button', 'OK'))
    wait(lambda: g.proc.poll() is not None, 30, 'the program to end')
    assert g.proc.returncode == 0, g.proc.returncode
    print('program ended with 0')
    # The exit confirmation's OK also opens the product's web site.
    opened = os.path.join(os.path.dirname(report), 'opened.txt')
    wait(lambda: os.path.exists(opened), 10, 'the web site to be opened')
    with open(opened) as f:
        print('opened:', f.read().strip())


if __name__ == '__main__':
    main()
