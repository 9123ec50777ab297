#!/usr/bin/python3
"""The real program driven like a user (tests/support/guidrive: Xvfb + AT-SPI):
what a run shows of each link's worth.

A store of one profile whose pages a loopback web server serves: a plain link,
a nofollow link, a page blocked by robots.txt, a page that answers 503, a
link written with https and without www, and a link inside a comment.
Play, decline the report, read the Details column, check its tool tip and the
accessible description of the amber mark on a worthless found link, then open
Page Details from a row's context menu and read the evidence it shows.

usage: e2e_evidence.py TARNWICK_BINARY GUIDRIVE_DIR
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
from e2e_support import key, run_program, serve, write_store  # noqa: E402
from guidrive import cell, click, do, find, table_cells, wait, wait_gone, wait_top  # noqa: E402

ADVERTISER = 'http://www.adv-e2e.com'
LINK = '<html><body><p>Partners: <a %%s href="%s/">Adv shop</a></p></body></html>' % ADVERTISER
PAGES = {
    '/follow.html': (200, (LINK % '').encode()),
    '/nofollow.html': (200, (LINK % 'rel="nofollow"').encode()),
    '/private/blocked.html': (200, (LINK % '').encode()),
    '/busy.html': (503, b'<h1>Service Unavailable</h1>'),
    '/robots.txt': (200, b'User-agent: *\nDisallow: /private/\n'),
    # Today's spelling of the same link (https, no www, no slash) is a link;
    # one inside a comment is none.
    '/https.html': (200, b'<p>Partners: <a href = "HTTPS://adv-e2e.com">Adv shop</a></p>'),
    '/comment.html': (200, ('<!-- <a href="%s/">Adv shop</a> -->' % ADVERTISER).encode()),
}


def main():
    server = serve(PAGES)
    root = tempfile.mkdtemp(prefix='tarnwick-e2e-')
    try:
        base = 'http://127.0.0.1:%d' % server.server_address[1]
        write_store(root, {'adv-e2e.com': (ADVERTISER, [
            base + p for p in ('/follow.html', '/nofollow.html', '/private/blocked.html',
                               '/busy.html', '/https.html', '/comment.html')])})
        run_program(PROGRAM, root, drive)
    finally:
        server.shutdown()
        shutil.rmtree(root, ignore_errors=True)


def drive(g):
    profiles = find(g.main, 'table', 'Profiles')
    results = find(g.main, 'table', 'Results')
    headers, rows = table_cells(results)
    assert headers[4] == 'Status' and 'Details' in headers[5:], headers
    col = headers.index('Details')
    assert [r[col] for r in rows] == [''] * 6, rows  # empty until checked

    do(find(g.main, 'push button', 'Play'))
    wait(lambda: table_cells(profiles)[1][0][2] == 'Completed', 60, '"Completed"')
    # No report this time: Escape closes the format prompt.
    prompt = wait_top(g.app, 'dialog', 'Save As..', timeout=20)
    find(prompt, 'push button', 'OK')
    g.xdotool('key', 'Escape')
    wait_gone(prompt, timeout=20)

    rows = table_cells(results)[1]
    statuses = [r[4] for r in rows]
    details = [r[col] for r in rows]
    print('statuses:', statuses)
    print('details:', details)
    assert statuses[:3] == ['Link Found', 'Link Found', 'Link Found'], statuses
    assert statuses[4:] == ['Link Found', 'Link Not Found'], statuses
    assert details == ['follow', 'nofollow', 'robots.txt blocks', 'HTTP 503', 'follow',
                       'no link'], details
    # The whole evidence rides along: the worthless link is described as such.
    assert cell(results, 1, col).description == 'link worth nothing to search engines', \
        cell(results, 1, col).description
    assert cell(results, 0, col).description == '', cell(results, 0, col).description

    # Page Details from the context menu of a row: each line's accessible
    # description names the fact, its name is the value shown.
    expected = {
        1: {'Result': 'Link Found', 'rel': 'nofollow', 'HTTP status': '200',
            'robots.txt (*)': 'allowed', 'Anchor text': 'Adv shop'},
        2: {'Result': 'Link Found', 'Link': 'yes', 'HTTP status': '200',
            'robots.txt (*)': 'disallowed', 'robots.txt (Googlebot)': 'disallowed'},
        3: {'HTTP status': '503', 'Verdict': 'HTTP 503'},
    }
    for row, facts in expected.items():
        # A real right click on the row, then the item's mnemonic: the menu
        # grabs the keyboard, and the dialog is modal (an AT-SPI action on
        # the item would only return once it closed).
        click(g, cell(results, row, 1), button=3)
        time.sleep(0.5)
        key(g, 'd')
        dialog = wait_top(g.app, 'dialog', 'Page Details', timeout=20)
        shown = {name: find(dialog, 'label', desc=name, timeout=10).name for name in facts}
        print('Page Details of row %d:' % row, shown)
        assert shown == facts, (shown, facts)
        do(find(dialog, 'push button', 'Close'))
        wait_gone(dialog, timeout=20)


if __name__ == '__main__':
    main()
