"""Helpers shared by the end-to-end tests that run the real program."""
import os


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
