#!/usr/bin/python3
"""A page that never finishes, seen by a user of the real program
(tests/support/guidrive: Xvfb + AT-SPI).

The shared settings give pages a time limit of 2 s. One page trickles a byte
now and then for ever, the next one carries the link. Play: the run completes,
the trickling page is "Page cannot be displayed" on yellow and its Status cell
tells why (tool tip and accessible description), the next page is found.

usage: e2e_time_limit.py TARNWICK_BINARY GUIDRIVE_DIR
"""
import os
import shutil
import sys
import tempfile
import time

PROGRAM, GUIDRIVE = sys.argv[1], sys.argv[2]
if not os.path.isfile(os.path.join(GUIDRIVE, 'guidrive.py')):
    print('guidrive not found at %s' % GUIDRIVE, file=sys.stderr)
    sys.exit(1)
sys.path.insert(0, GUIDRIVE)
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', '..', 'support'))
from e2e_support import program_env, run_program, serve, write_store  # noqa: E402
from guidrive import (cell, do, dominant_colour, find, table_cells, wait,  # noqa: E402
                      wait_gone, wait_top)

ADVERTISER = 'http://www.adv-e2e.com'
TIME_LIMIT = 2


def trickle(handler):
    """Promises a long page and sends a byte of it every 0.2 s until the
    program hangs up (or a minute has passed)."""
    handler.send_response(200)
    handler.send_header('Content-Type', 'text/html')
    handler.send_header('Content-Length', '100000')
    handler.end_headers()
    end = time.time() + 60
    try:
        while time.time() < end:
            handler.wfile.write(b'x')
            handler.wfile.flush()
            time.sleep(0.2)
    except OSError:
        pass


def main():
    server = serve({'/trickle.html': trickle,
                    '/found.html': (200, ('<a href="%s">us</a>' % ADVERTISER).encode())})
    root = tempfile.mkdtemp(prefix='tarnwick-e2e-limit-')
    try:
        base = 'http://127.0.0.1:%d' % server.server_address[1]
        write_store(root, {'adv-e2e.com': (ADVERTISER, [base + '/trickle.html',
                                                        base + '/found.html'])})
        config = os.path.join(root, 'config')
        os.makedirs(os.path.join(config, 'tarnwick'))
        with open(os.path.join(config, 'tarnwick', 'settings.ini'), 'w') as f:
            f.write('[scan]\npage_timeout_seconds=%d\n' % TIME_LIMIT)
        run_program(PROGRAM, root, drive, env=program_env(root, XDG_CONFIG_HOME=config))
    finally:
        server.shutdown()
        shutil.rmtree(root, ignore_errors=True)


def drive(g):
    results = find(g.main, 'table', 'Results')
    status = table_cells(results)[0].index('Status')
    started = time.time()
    do(find(g.main, 'push button', 'Play'))
    prompt = wait_top(g.app, 'dialog', 'Save As..', timeout=60)
    took = time.time() - started
    g.xdotool('key', 'Escape')  # no report
    wait_gone(prompt, timeout=20)
    _, rows = table_cells(results)
    assert [r[status] for r in rows] == ['Page cannot be displayed', 'Link Found'], rows
    # Ended by the limit, not by the server's minute.
    assert took < TIME_LIMIT + 20, took
    reason = cell(results, 0, status).description
    assert 'time limit' in reason, reason
    wait(lambda: dominant_colour(g, cell(results, 0, status)) == '#FFFF00',
         timeout=10, what='a yellow Status cell')
    print('run took %.1f s; the trickling page: %r' % (took, reason))


if __name__ == '__main__':
    main()
