#!/usr/bin/python3
"""No text cut off in the dialogs of the real program, on a scaled screen
(QT_SCALE_FACTOR=2) and with a 12 point font (QT_FONT_DPI=128 makes the 9
point default font as large as 12 points at 96 dpi), driven like a user
(tests/support/guidrive: Xvfb + AT-SPI).

In each setting the program runs on a store of one profile. The Delete
question is opened with Del on the ticked profile and answered "No"; the Add
wizard is walked through its pages (address, file type with notifications,
file, separator) and left with Escape; Edit Profile's second page and its
"Mail Settings" dialog are opened, then Preferences, and a run ends with the
"Save As.." choices. On every page each label, push button, radio button and
check box that shows is read through the accessibility bus:
its name (the text it shows) is drawn by ImageMagick in the program's own
font (fontconfig's match of Qt's default family at the setting's size) and
the drawn text's width must fit in the extents the widget reports.

usage: e2e_dialog_texts.py TARNWICK_BINARY GUIDRIVE_DIR [SETTING]
"""
import os
import shutil
import subprocess
import sys
import tempfile
import time

PROGRAM, GUIDRIVE = sys.argv[1], sys.argv[2]
if not os.path.isfile(os.path.join(GUIDRIVE, 'guidrive.py')):
    print('guidrive not found at %s' % GUIDRIVE, file=sys.stderr)
    sys.exit(1)
sys.path.insert(0, GUIDRIVE)
from guidrive import (GuiRun, cell, do, dump, extents, find, find_all, is_checked, showing, text_of,  # noqa: E402
                      type_into, wait, wait_gone, wait_top)

# Qt's font when no desktop sets one: "Sans Serif", 9 points.
DEFAULT_POINTS = 9
SETTINGS = {
    # Qt 6.4 reports extents on the bus in device-independent pixels, so the
    # text is measured at its unscaled size there.
    'scale2': {'env': {'QT_SCALE_FACTOR': '2'}, 'points': DEFAULT_POINTS, 'scale': 2},
    'font12': {'env': {'QT_QPA_PLATFORMTHEME': 'kde', 'KDE_SESSION_VERSION': '5'},
               'kdeglobals': '[General]\nfont=Sans Serif,12,-1,5,50,0,0,0,0,0\n',
               'points': 12, 'scale': 1},
}
ADDRESS = 'http://www.texts-e2e.com'
ROLES = ('label', 'push button', 'radio button', 'check box')


def font_file():
    return subprocess.run(['fc-match', '-f', '%{file}', 'Sans Serif'], check=True,
                          capture_output=True, text=True).stdout


def ink_width(text, pixels, font):
    """Width of the text's ink, drawn in the font at this pixel size."""
    escaped = text.replace('\\', '\\\\').replace('%', '%%')
    if escaped.startswith('@'):
        escaped = '\\' + escaped
    out = subprocess.run(['convert', '-font', font, '-density', '72', '-pointsize', str(pixels),
                          'label:' + escaped, '-trim', '-format', '%w %h', 'info:'],
                         check=True, capture_output=True, text=True).stdout.split()
    return int(out[0]), int(out[1])


class Checker:
    def __init__(self, setting):
        self.pixels = setting['points'] * 96 / 72.0
        self.scale = setting['scale']
        self.font = font_file()
        self.cache = {}
        self.checked = 0

    def page(self, window, what):
        """Every text that shows on the window's present page fits its widget."""
        time.sleep(0.3)  # the layout settles after a page change
        seen = 0
        for role in ROLES:
            for a in find_all(window, role):
                if a is None or not a.name or not showing(a):
                    continue
                x, y, w, h = extents(a)
                key = a.name
                if key not in self.cache:
                    self.cache[key] = ink_width(a.name, self.pixels, self.font)
                ink, ink_h = self.cache[key]
                # A label wrapped on several lines holds its text line by line.
                lines = max(1, int(h // (self.pixels * 1.15))) if role == 'label' else 1
                assert ink <= w * lines + 1 and ink_h <= h + 1, (
                    '%s: %s %r is %dx%d, its text needs %dx%d' % (what, role, a.name, w, h, ink, ink_h))
                seen += 1
        assert seen >= 2, '%s: only %d texts found' % (what, seen)
        self.checked += seen
        print('%s: %d texts fit' % (what, seen))


def write_store(root):
    data = os.path.join(root, 'Osgrel Tarnwick Ambrel')
    os.makedirs(os.path.join(data, 'Profiles'))
    path = os.path.join(data, 'Profiles', 'texts-e2e.com.txt')
    with open(path, 'wb') as f:
        # Port 1 of loopback refuses the page at once, so a run ends quickly.
        f.write(('Link: %s\r\nhttp://127.0.0.1:1/links.html|||w@p.example|||0|||'
                 % ADDRESS).encode())
    with open(os.path.join(data, 'index.txt'), 'wb') as f:
        f.write(path.encode())
    with open(os.path.join(data, 'stindex.txt'), 'wb') as f:
        f.write(b'texts-e2e.com$$$' + ADDRESS.encode() + b'$$$')
    pages = os.path.join(root, 'pages.txt')
    with open(pages, 'wb') as f:
        f.write(b'http://a.example/links.html;w@a.example\r\n')
    return pages


def key(g, *keys):
    g.xdotool('key', '--clearmodifiers', *keys)
    time.sleep(0.2)


def focus_main(g, profiles):
    # Without a window manager nobody gives the main window the X focus back
    # when a dialog closes.
    ids = subprocess.run(['xdotool', 'search', '--onlyvisible', '--name', '^Osgrel Tarnwick Ambrel$'],
                         env=g.env, capture_output=True, text=True).stdout.split()
    for window in ids:
        subprocess.run(['xdotool', 'windowfocus', window], env=g.env)
    profiles.queryComponent().grabFocus()
    time.sleep(0.3)


def click_at(g, a, scale):
    """A real click in the middle of the widget (the bus gives unscaled extents)."""
    x, y, w, h = extents(a)
    g.xdotool('mousemove', int((x + w / 2) * scale), int((y + h / 2) * scale))
    time.sleep(0.1)
    g.xdotool('click', 1)
    time.sleep(0.2)


def press(window, name):
    do(find(window, 'push button', name, timeout=10))


def tick(g, window, role, name):
    # By keyboard, as a click would: the wizard answers the button's click.
    box = find(window, role, name, timeout=10)
    box.queryComponent().grabFocus()
    wait(lambda: box.getState().contains(g.pyatspi.STATE_FOCUSED), 5, '%s focused' % name)
    key(g, 'space')
    wait(lambda: is_checked(box), 5, '%s ticked' % name)


def drive(g, check, pages):
    profiles = find(g.main, 'table', 'Profiles', timeout=20)

    focus_main(g, profiles)
    key(g, 'Delete')
    question = wait_top(g.app, 'dialog', 'Osgrel Tarnwick Ambrel', timeout=10)
    find(question, 'label', 'Do you want to delete selected Profiles')
    check.page(question, 'Delete question')
    key(g, 'Escape')
    wait_gone(question, timeout=10)

    focus_main(g, profiles)
    key(g, 'Insert')
    wizard = wait_top(g.app, 'dialog', 'Add', timeout=10)
    find(wizard, 'label', "Enter Advetiser's Site :")
    check.page(wizard, 'Add, address page')
    type_into(g, find(wizard, 'text', "Enter Advetiser's Site :"), ADDRESS + '/new')
    press(wizard, 'Import...')
    tick(g, wizard, 'radio button', 'Text File (*.txt)')
    tick(g, wizard, 'check box', 'Also send e-mail notifications to link publishers.')
    find(wizard, 'push button', 'Mail Settings...')
    check.page(wizard, 'Add, file type page')
    press(wizard, 'Next >')
    type_into(g, find(wizard, 'text', 'Import from file :', timeout=10), pages)
    check.page(wizard, 'Add, file page')
    press(wizard, 'Next >')
    find(wizard, 'label', 'Use (!,^,*,|)', timeout=10)
    check.page(wizard, 'Add, separator page')
    key(g, 'Escape')
    wait_gone(wizard, timeout=10)

    focus_main(g, profiles)
    key(g, 'F2')
    edit = wait_top(g.app, 'dialog', 'Edit Profile', timeout=10)
    check.page(edit, 'Edit Profile, profiles page')
    listed = find(edit, 'table', 'Profiles')
    click_at(g, cell(listed, 0, 0), check.scale)
    picked = find(edit, 'text', "Advertiser's Link")
    wait(lambda: text_of(picked) == 'www.texts-e2e.com', 5, 'the profile picked')
    key(g, 'Return')  # Enter goes on with Next
    find(edit, 'check box', 'Disable all email notifications for this profile.', timeout=10)
    mail = find(edit, 'push button', 'Mail Settings')
    check.page(edit, 'Edit Profile, pages page')
    mail.queryComponent().grabFocus()
    time.sleep(0.2)
    key(g, 'space')
    settings = wait_top(g.app, 'dialog', 'Mail Settings', timeout=10)
    check.page(settings, 'Mail Settings')
    key(g, 'Escape')
    wait_gone(settings, timeout=10)
    key(g, 'Escape')
    wait_gone(edit, timeout=10)

    focus_main(g, profiles)
    key(g, 'alt+f')
    key(g, 'p')
    preferences = wait_top(g.app, 'dialog', 'Preferences', timeout=10)
    check.page(preferences, 'Preferences')
    key(g, 'Escape')
    wait_gone(preferences, timeout=10)

    # A run of the one page (refused at once) ends with the report's choices.
    focus_main(g, profiles)
    key(g, 'F5')
    choices = wait_top(g.app, 'dialog', 'Save As..', timeout=30)
    find(choices, 'radio button', '.txt format')
    check.page(choices, 'Save As..')
    key(g, 'Escape')
    wait_gone(choices, timeout=10)


def run_setting(name):
    setting = SETTINGS[name]
    root = tempfile.mkdtemp(prefix='tarnwick-texts-')
    try:
        pages = write_store(root)
        if 'kdeglobals' in setting:
            os.makedirs(os.path.join(root, '.config'))
            with open(os.path.join(root, '.config', 'kdeglobals'), 'w') as f:
                f.write(setting['kdeglobals'])
        env = dict(setting['env'], TARNWICK_PROGRAM_FILES=root, HOME=root,
                   ASAN_OPTIONS='detect_leaks=0', XDG_DATA_HOME=None, XDG_CONFIG_HOME=None)
        check = Checker(setting)
        with GuiRun([PROGRAM], app_name='tarnwick', workdir=os.path.join(root, 'guirun'), env=env,
                    timeout=60) as g:
            try:
                drive(g, check, pages)
            except BaseException:
                g.screenshot(os.path.join(tempfile.gettempdir(), 'tarnwick-texts-%s.png' % name))
                for w in g.app:
                    if w is not None:
                        dump(w, sys.stdout)
                raise
        print('%s: %d texts checked' % (name, check.checked))
    finally:
        shutil.rmtree(root, ignore_errors=True)


def main():
    if len(sys.argv) > 3:
        run_setting(sys.argv[3])
        return
    # One program per process: the accessibility library binds to one bus.
    failed = [name for name in SETTINGS
              if subprocess.run([sys.executable, __file__, PROGRAM, GUIDRIVE, name]).returncode != 0]
    if failed:
        print('failed in: %s' % ', '.join(failed), file=sys.stderr)
        sys.exit(1)


if __name__ == '__main__':
    main()
