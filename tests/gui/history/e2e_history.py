#!/usr/bin/python3
"""The run history seen by a user of the real program (tests/support/guidrive).

One profile of two pages on a loopback web server. Play; one page loses the
link and the other gains it; Play again: the "Since last run" column says
"Lost" and "Restored" and the status bar sums it up. View > History lists both
runs of the desktop program.

usage: e2e_history.py TARNWICK_BINARY GUIDRIVE_DIR
"""
import os
import shutil
import sys
import tempfile

PROGRAM, GUIDRIVE = sys.argv[1], sys.argv[2]
if not os.path.isfile(os.path.join(GUIDRIVE, 'guidrive.py')):
    print('guidrive not found at %s' % GUIDRIVE, file=sys.stderr)
    sys.exit(1)
sys.path.insert(0, GUIDRIVE)
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', '..', 'support'))
from e2e_support import run_program, serve, write_store  # noqa: E402
from guidrive import do, find, press_menu_item, table_cells, wait_gone, wait_top  # noqa: E402

ADVERTISER = 'http://www.adv-history.com'
LINK = (200, ('<p>Partners</p><a href="%s">us</a>' % ADVERTISER).encode())
NO_LINK = (200, b'<p>Partners</p>')
PAGES = {'/moves.html': LINK, '/returns.html': NO_LINK}


def main():
    server = serve(PAGES)
    root = tempfile.mkdtemp(prefix='tarnwick-e2e-history-')
    try:
        base = 'http://127.0.0.1:%d' % server.server_address[1]
        write_store(root, {'adv-history.com': (ADVERTISER, [base + '/moves.html',
                                                            base + '/returns.html'])})
        run_program(PROGRAM, root, drive)
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

    PAGES['/moves.html'], PAGES['/returns.html'] = NO_LINK, LINK
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
