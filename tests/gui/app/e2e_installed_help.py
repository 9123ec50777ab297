#!/usr/bin/python3
"""An installed program finds its user guide: the real program (from a
package unpacked into a folder, or from /usr) is started on Xvfb, Help is
pressed, and the test checks that the program asked to open the guide beside
it (recorded by a fake xdg-open instead of starting a browser).

usage: e2e_installed_help.py TARNWICK_BINARY GUIDRIVE_DIR EXPECTED_GUIDE
"""
import os
import shutil
import sys
import tempfile

PROGRAM, GUIDRIVE, EXPECTED = sys.argv[1], sys.argv[2], sys.argv[3]
if not os.path.isfile(os.path.join(GUIDRIVE, 'guidrive.py')):
    print('guidrive not found at %s' % GUIDRIVE, file=sys.stderr)
    sys.exit(1)
sys.path.insert(0, GUIDRIVE)
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', '..', 'support'))
from e2e_support import fake_opener  # noqa: E402
from guidrive import GuiRun, do, find, wait  # noqa: E402


def main():
    root = tempfile.mkdtemp(prefix='tarnwick-help-')
    opened = os.path.join(root, 'opened.txt')
    try:
        env = {'TARNWICK_PROGRAM_FILES': root, 'HOME': root, 'BROWSER': '/bin/true',
               'PATH': fake_opener(root) + os.pathsep + os.environ.get('PATH', ''),
               'XDG_DATA_HOME': None, 'XDG_CONFIG_HOME': None}
        with GuiRun([PROGRAM], app_name='tarnwick', workdir=os.path.join(root, 'guirun'),
                    env=env, timeout=60) as g:
            do(find(g.main, 'push button', 'Help', timeout=20))
            wait(lambda: os.path.exists(opened) and os.path.getsize(opened) > 0, 20,
                 'the guide to be opened')
        with open(opened) as f:
            urls = f.read().split()
        assert urls == ['file://' + os.path.realpath(EXPECTED)], urls
        print('Help opened', urls[0])
    finally:
        shutil.rmtree(root, ignore_errors=True)


if __name__ == '__main__':
    main()
