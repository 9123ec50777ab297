#!/usr/bin/python3
"""Profile editing on the real program, driven like a user (tests/support/guidrive:
Xvfb + AT-SPI).

A store holding one other profile, ticked at start-up. Then:
  Add: the address, "Import...", "Text File (*.txt)" with e-mail
  notifications, "Next >", the text file's path typed into the import box,
  "Next >", the semicolon separator, "Next >", the imported pages, "Save and
  Finish", the success message; the new row comes last and ticked, its pages
  join the results pane.
  Edit Profile: pick the new profile, "Next", the second page's mail address
  typed into its cell and its notification set to "Disabled" in the cell's
  drop-down, "Finish"; the results pane shows the change.
  Delete: the other profile unticked, "Delete", "Yes"; the new row and its
  file go, the other profile stays.
Each step is checked on disk: the profile files byte for byte, index.txt and
stindex.txt.

usage: e2e_profile_editing.py TARNWICK_BINARY GUIDRIVE_DIR
Fails when the guidrive folder is not there.
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
from e2e_support import fake_opener  # noqa: E402
from guidrive import (GuiRun, cell, click, do, dump, find, is_checked, matches,  # noqa: E402
                      table_cells, text_of, type_into, wait, wait_gone, wait_top)

ADDRESS = 'http://www.tarnwick-e2e.com/'
PROFILE = 'tarnwick-e2e.com'
# The import file: one page with its webmaster per line, ";" between them.
IMPORT = b'http://a.example.net/links.html;webmaster@a.example.net\r\n' \
         b'http://b.example.org/partners;links@b.example.org\r\n'
NEW_MAIL = 'partners@b.example.org'

OTHER = 'other-e2e.net'
OTHER_PROFILE = b'Link: http://www.other-e2e.net\r\nhttp://c.example.com/|||m@c.example.com|||0|||'

# Rows of the results pane.
# Status, Since last run and Details empty: nothing checked yet.
OTHER_ROW = ['http://www.other-e2e.net', 'http://c.example.com/', 'm@c.example.com', 'Disabled', '',
             '', '']
ADDED_ROWS = [
    [ADDRESS, 'http://a.example.net/links.html', 'webmaster@a.example.net', 'Enabled', '', '', ''],
    [ADDRESS, 'http://b.example.org/partners', 'links@b.example.org', 'Enabled', '', '', ''],
]
EDITED_ROWS = [ADDED_ROWS[0],
               [ADDRESS, 'http://b.example.org/partners', NEW_MAIL, 'Disabled', '', '', '']]


class Store:
    """The temporary data folder the program is pointed at."""

    def __init__(self, root):
        self.data = os.path.join(root, 'Osgrel Tarnwick Ambrel')
        self.profiles = os.path.join(self.data, 'Profiles')
        self.index = os.path.join(self.data, 'index.txt')
        self.stindex = os.path.join(self.data, 'stindex.txt')

    def profile(self, name):
        return os.path.join(self.profiles, name + '.txt')

    def read(self, path):
        with open(path, 'rb') as f:
            return f.read()

    def write(self, path, data):
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, 'wb') as f:
            f.write(data)



def main():
    root = tempfile.mkdtemp(prefix='tarnwick-e2e-edit-')
    try:
        store = Store(root)
        store.write(store.profile(OTHER), OTHER_PROFILE)
        store.write(store.index, store.profile(OTHER).encode())
        store.write(store.stindex, b'other-e2e.net**http://www.other-e2e.net||')
        pages = os.path.join(root, 'partner pages.txt')
        store.write(pages, IMPORT)
        env = {'TARNWICK_PROGRAM_FILES': root, 'HOME': root, 'BROWSER': '/bin/true',
               'PATH': fake_opener(root) + os.pathsep + os.environ.get('PATH', ''),
               'ASAN_OPTIONS': 'detect_leaks=0', 'XDG_DATA_HOME': None, 'XDG_CONFIG_HOME': None}
        with GuiRun([PROGRAM], app_name='tarnwick', workdir=os.path.join(root, 'guirun'), env=env,
                    timeout=60) as g:
            try:
                drive(g, store, pages)
            except BaseException:
                # What the program showed when it went wrong.
                try:
                    dump(g.app, sys.stdout)
                    print(open(os.path.join(g.workdir, 'app.log'), errors='replace').read()[-2000:])
                except Exception:
                    pass
                raise
    finally:
        shutil.rmtree(root, ignore_errors=True)


# ---------------------------------------------------------------- helpers
def step(text):
    print('%6.1f s  %s' % (time.monotonic() - T0, text), flush=True)


def rows_of(table):
    return table_cells(table)[1]


def wait_rows(table, expected, what, timeout=10):
    try:
        wait(lambda: rows_of(table) == expected, timeout, what)
    except TimeoutError:
        print('%s shows %r' % (table.name, rows_of(table)))
        raise


def profile_rows(profiles):
    """(profile, status) of each row; the check box cell reads as its profile."""
    return [(r[1], r[2]) for r in rows_of(profiles)]


def wait_profiles(profiles, names, what):
    wait(lambda: profile_rows(profiles) == [(n, '') for n in names], 10, what)


def answer_box(g, text, button='OK'):
    """The program's message box (caption "Tarnwick") with this text: answer it."""
    box = wait_top(g.app, 'alert', 'Tarnwick', timeout=10)
    shown = find(box, 'label', text)
    assert shown is not None
    do(find(box, 'push button', button))
    wait_gone(box, timeout=10)


def press_button(dialog, name):
    do(find(dialog, 'push button', name))


class FocusTracker:
    """Follows the keyboard focus as a screen reader does, through the focus
    events of the accessibility bus: editors laid over a table cell are not
    among the table's children, only the focus leads to them."""

    def __init__(self, pyatspi):
        from gi.repository import GLib
        self.context = GLib.MainContext.default()
        self.focused = None
        self.handler = lambda event: self.on_focus(event)
        pyatspi.Registry.registerEventListener(self.handler, 'object:state-changed:focused')

    def on_focus(self, event):
        if event.detail1:
            self.focused = event.source

    def pump(self):
        while self.context.iteration(False):
            pass

    def wait_for(self, role, name=None, desc=None, timeout=10):
        def focused():
            self.pump()
            a = self.focused
            return a if a is not None and matches(a, role, name, desc) else None
        return wait(focused, timeout, 'the focus on %s %r %r' % (role, name, desc))


def ticked(table, row):
    return is_checked(cell(table, row, 0))


# ---------------------------------------------------------------- the user
def drive(g, store, pages):
    global T0
    T0 = time.monotonic()
    focus = FocusTracker(g.pyatspi)
    step('main window up after %.1f s' % g.startup_seconds)
    profiles = find(g.main, 'table', 'Profiles')
    results = find(g.main, 'table', 'Results')
    wait_profiles(profiles, ['www.' + OTHER], 'the stored profile')
    assert ticked(profiles, 0)
    wait_rows(results, [OTHER_ROW], "the stored profile's page")
    index_before = store.read(store.index)
    stindex_before = store.read(store.stindex)

    add(g, store, pages, profiles, results, index_before, stindex_before)
    index_after_add = store.read(store.index)
    stindex_after_add = store.read(store.stindex)
    edit(g, store, profiles, results, focus)
    # Editing pages leaves the lists alone.
    assert store.read(store.index) == index_after_add, store.read(store.index)
    assert store.read(store.stindex) == stindex_after_add, store.read(store.stindex)

    # Only the new profile is to go: untick the stored one.
    click(g, cell(profiles, 0, 0), dx=12)
    wait(lambda: not ticked(profiles, 0), 10, 'the stored profile unticked')
    assert ticked(profiles, 1)
    wait_rows(results, EDITED_ROWS, 'the new profile alone in the results')
    delete(g, store, profiles, results, index_before, stindex_after_add)


def add(g, store, pages, profiles, results, index_before, stindex_before):
    # A tool bar button opening a modal dialog is clicked with the mouse: its
    # accessible action answers only when the dialog closes.
    click(g, find(g.main, 'push button', 'Add'))
    wizard = wait_top(g.app, 'dialog', 'Add', timeout=10)
    step('Add wizard open')
    type_into(g, find(wizard, 'text', "Enter Advetiser's Site :"), ADDRESS)
    press_button(wizard, 'Import...')

    text_file = find(wizard, 'radio button', 'Text File (*.txt)', timeout=10)
    click(g, text_file)
    wait(lambda: is_checked(text_file), 5, 'Text File chosen')
    notify = find(wizard, 'check box', 'Also send e-mail notifications to link publishers.')
    click(g, notify)
    wait(lambda: is_checked(notify), 5, 'notifications ticked')
    find(wizard, 'push button', 'Mail Settings...')  # shows with the notifications
    press_button(wizard, 'Next >')

    path_box = find(wizard, 'text', 'Import from file :', timeout=10)
    type_into(g, path_box, pages)
    press_button(wizard, 'Next >')

    semicolon = find(wizard, 'radio button', 'Semicolon(;)', timeout=10)
    click(g, semicolon)
    wait(lambda: is_checked(semicolon), 5, 'semicolon chosen')
    press_button(wizard, 'Next >')

    imported = find(wizard, 'table', "Publisher's Site", timeout=10)
    press_save = find(wizard, 'push button', 'Save and Finish', timeout=10)
    headers, rows = table_cells(imported)
    assert headers == ['links', 'Mail'], headers
    assert rows == [['http://a.example.net/links.html', 'webmaster@a.example.net'],
                    ['http://b.example.org/partners', 'links@b.example.org']], rows
    assert not os.path.exists(store.profile(PROFILE)), 'saved before "Save and Finish"'
    do(press_save)
    step('saved')
    answer_box(g, 'Your profile has been successfully added.')
    wait_gone(wizard, timeout=10)

    # On disk: the profile file, its line appended to index.txt, the address
    # recorded under its base name in stindex.txt.
    assert store.read(store.profile(PROFILE)) == (
        b'Link: http://www.tarnwick-e2e.com/\r\n'
        b'http://a.example.net/links.html|||webmaster@a.example.net|||1|||\r\n'
        b'http://b.example.org/partners|||links@b.example.org|||1|||'), \
        store.read(store.profile(PROFILE))
    assert store.read(store.index) == index_before + b'\r\n' + store.profile(PROFILE).encode(), \
        store.read(store.index)
    assert store.read(store.stindex) == (
        stindex_before + b'\r\ntarnwick-e2e.com**http://www.tarnwick-e2e.com/||'), \
        store.read(store.stindex)

    # On screen: the new row at the end, ticked, its pages in the results
    # after those of the stored profile.
    wait_profiles(profiles, ['www.' + OTHER, ADDRESS], 'the new profile row')
    wait(lambda: ticked(profiles, 1), 10, 'the new row ticked')
    assert ticked(profiles, 0)
    wait_rows(results, [OTHER_ROW] + ADDED_ROWS, 'the new pages in the results')
    step('added and shown')


def edit(g, store, profiles, results, focus):
    click(g, find(g.main, 'push button', 'Edit Profile'))
    dialog = wait_top(g.app, 'dialog', 'Edit Profile', timeout=10)
    step('Edit Profile open')
    listed = find(dialog, 'table', 'Profiles')
    assert rows_of(listed) == [['www.' + OTHER], [ADDRESS]], rows_of(listed)
    click(g, cell(listed, 1, 0))
    address = find(dialog, 'text', "Advertiser's Link")
    wait(lambda: text_of(address) == ADDRESS, 10, 'the picked profile in the address box')
    press_button(dialog, 'Next')

    pages = find(dialog, 'table', "Publisher's Pages", timeout=10)
    find(dialog, 'label', ADDRESS)  # the picked profile's pages, not another's
    headers, rows = table_cells(pages)
    assert headers == ['Url', 'Mail Address', 'Email Notification'], headers
    assert rows == [['http://a.example.net/links.html', 'webmaster@a.example.net', 'Enabled'],
                    ['http://b.example.org/partners', 'links@b.example.org', 'Enabled']], rows

    # The second page's mail address: a click lays an edit box over the cell.
    click(g, cell(pages, 1, 1))
    editor = focus.wait_for('text', 'Mail Address')
    wait(lambda: text_of(editor) == 'links@b.example.org', 5, 'the cell text in its editor')
    type_into(g, editor, NEW_MAIL)
    # Its notification: a click on that cell ends the edit and drops a list.
    click(g, cell(pages, 1, 2))
    wait(lambda: rows_of(pages)[1][1] == NEW_MAIL, 10, 'the typed mail address in its cell')
    combo = focus.wait_for('combo box', desc='Email Notification')
    assert combo.name == 'Enabled', combo.name
    click(g, combo)
    choice = find(combo, 'list item', 'Disabled', timeout=10)
    click(g, choice)
    wait(lambda: rows_of(pages)[1][2] == 'Disabled', 10, '"Disabled" in its cell')
    assert rows_of(pages) == [
        ['http://a.example.net/links.html', 'webmaster@a.example.net', 'Enabled'],
        ['http://b.example.org/partners', NEW_MAIL, 'Disabled']], rows_of(pages)

    press_button(dialog, 'Finish')
    wait_gone(dialog, timeout=10)
    step('edited')
    assert store.read(store.profile(PROFILE)) == (
        b'Link: http://www.tarnwick-e2e.com/\r\n'
        b'http://a.example.net/links.html|||webmaster@a.example.net|||1|||\r\n'
        b'http://b.example.org/partners|||partners@b.example.org|||0|||'), \
        store.read(store.profile(PROFILE))
    wait_rows(results, [OTHER_ROW] + EDITED_ROWS, 'the edited page in the results')
    step('edit shown')


def delete(g, store, profiles, results, index_before, stindex_after_add):
    click(g, find(g.main, 'push button', 'Delete'))
    confirm = wait_top(g.app, 'dialog', 'Osgrel Tarnwick Ambrel', timeout=10)
    find(confirm, 'label', 'Do you want to delete selected Profiles')
    press_button(confirm, 'Yes')
    wait_gone(confirm, timeout=10)
    step('deleted')
    wait_profiles(profiles, ['www.' + OTHER], 'only the stored profile left')
    assert not ticked(profiles, 0)
    wait_rows(results, [], 'an empty results pane')
    assert not os.path.exists(store.profile(PROFILE)), 'the profile file is still there'
    assert store.read(store.index) == index_before, store.read(store.index)
    assert store.read(store.profile(OTHER)) == OTHER_PROFILE
    assert store.read(store.stindex) == stindex_after_add, store.read(store.stindex)


if __name__ == '__main__':
    main()
