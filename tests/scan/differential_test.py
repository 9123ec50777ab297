#!/usr/bin/python3
"""Differential test of the page check: real HTML pages (the Debian
documentation installed on this machine) with a link of one kind injected
each, judged by the page check (link_judge) and by an independent HTML5 parser
(parse5, installed from npm at a pinned version into a cache folder, judged by
link_oracle.mjs). Every page must get the same result from both.

usage: differential_test.py LINK_JUDGE CACHE_DIR
"""
import glob
import json
import os
import random
import shutil
import subprocess
import sys
import tempfile

JUDGE, CACHE = sys.argv[1], sys.argv[2]
HERE = os.path.dirname(os.path.abspath(__file__))
PARSE5 = 'parse5@8.0.0'
MAX_PAGES = 300
MAX_BYTES = 200 * 1024
KINDS_PER_PAGE = 4  # each page is used with this many kinds, one at a time
PAGE = 'http://partner.example/docs/page.html'

# The advertiser as users type it.
ADVERTISERS = ['http://www.shop-a.example/', 'shop-a.example', 'https://shop-a.example',
               'www.shop-a.example/offers/']

# Kinds of injected markup: real links in every spelling, fake ones, near
# misses. "{u}" is the advertiser's site, "{p}" a path below its address.
KINDS = {
    'plain': '<a href="http://www.shop-a.example{p}">Shop A</a>',
    'https': '<a href="https://www.shop-a.example{p}">Shop A</a>',
    'no slash': '<a href="http://www.shop-a.example">Shop A</a>',
    'no www': '<a href="http://shop-a.example{p}">Shop A</a>',
    'protocol-relative': '<a href="//www.shop-a.example{p}">Shop A</a>',
    'blanks around =': '<a href = "http://www.shop-a.example{p}">Shop A</a>',
    'unquoted': '<a href=http://www.shop-a.example{p}>Shop A</a>',
    'character reference': '<a href="http://www.shop-a&#46;example{p}">Shop A</a>',
    'capitals': '<A HREF="HTTP://WWW.SHOP-A.EXAMPLE{p}">Shop A</A>',
    'area': '<map name="m"><area href="http://www.shop-a.example{p}" alt="Shop A"></map>',
    'svg a': '<svg><a href="http://www.shop-a.example{p}"><text>Shop A</text></a></svg>',
    'svg xlink': '<svg><a xlink:href="http://www.shop-a.example{p}"><text>A</text></a></svg>',
    'empty comment then link': '<!--><a href="http://www.shop-a.example{p}">Shop A</a>',
    'comment': '<!-- <a href="http://www.shop-a.example{p}">Shop A</a> -->',
    'script': '<script>var s = \'<a href="http://www.shop-a.example{p}">A</a>\';</script>',
    'textarea': '<textarea><a href="http://www.shop-a.example{p}">A</a></textarea>',
    'template': '<template><a href="http://www.shop-a.example{p}">A</a></template>',
    'noscript': '<noscript><a href="http://www.shop-a.example{p}">A</a></noscript>',
    'style': '<style>/* <a href="http://www.shop-a.example{p}"> */</style>',
    'bogus <?': '<? <a href="http://www.shop-a.example{p}">A</a> ?>',
    'bogus <!x': '<!x <a href="http://www.shop-a.example{p}">A</a>>',
    'bogus </ x': '</ x <a href="http://www.shop-a.example{p}">A</a>>',
    'unclosed title': '<title>Links <a href="http://www.shop-a.example{p}">A</a>',
    'plaintext': '<plaintext><a href="http://www.shop-a.example{p}">A</a>',
    'redirector': '<a href="http://partner.example/out?url=http%3A%2F%2Fwww.shop-a.example%2F">A</a>',
    'another path': '<a href="http://www.shop-a.example/elsewhere/">A</a>',
    'look-alike host': '<a href="http://www.shop-a.example.evil.example{p}">A</a>',
    'text only': '<p>Visit www.shop-a.example{p} today</p>',
    'relative with base': 'BASE<a href="offers/">A</a>',
}

REAL = ['plain', 'https', 'no slash', 'no www', 'protocol-relative', 'blanks around =',
        'unquoted', 'character reference', 'capitals', 'area', 'svg a', 'svg xlink',
        'empty comment then link', 'relative with base']
FAKE = ['comment', 'script', 'textarea', 'template', 'noscript', 'style', 'bogus <?',
        'bogus <!x', 'bogus </ x', 'unclosed title', 'plaintext', 'redirector', 'look-alike host',
        'text only']


def parse5_dir():
    folder = os.path.join(CACHE, 'parse5-node')
    if not os.path.isdir(os.path.join(folder, 'node_modules', 'parse5')):
        os.makedirs(folder, exist_ok=True)
        result = subprocess.run(['npm', 'install', '--no-audit', '--no-fund', '--prefix', folder,
                                 PARSE5], capture_output=True, text=True, timeout=240)
        if result.returncode != 0:
            print('could not install %s from npm:\n%s' % (PARSE5, result.stderr), file=sys.stderr)
            sys.exit(1)
    return folder


def pages():
    files = sorted(f for f in glob.glob('/usr/share/doc/**/*.html', recursive=True)
                   if os.path.isfile(f) and not os.path.islink(f))
    return files[:MAX_PAGES]


def inject(original, kind, rng):
    markup = KINDS[kind]
    if kind == 'relative with base':
        # The base goes into the head; links resolve against it.
        original = original.replace(b'<head>', b'<head><base href="http://www.shop-a.example/">', 1)
        markup = markup.replace('BASE', '')
    markup = markup.format(p=rng.choice(['/', '/offers/', '/offers/shoes.html', '']))
    body = original.lower().find(b'<body')
    start = original.find(b'>', body) + 1 if body >= 0 else 0
    # A place after the end of a tag, somewhere in the body.
    candidates = [i + 1 for i in range(start, len(original)) if original[i:i + 1] == b'>']
    at = rng.choice(candidates) if candidates else len(original)
    return original[:at] + markup.encode() + original[at:]


def main():
    if not shutil.which('node') or not shutil.which('npm'):
        print('node and npm are needed (the test installs parse5 with npm)', file=sys.stderr)
        return 1
    folder = parse5_dir()
    files = pages()
    if len(files) < 20:
        print('only %d HTML pages under /usr/share/doc' % len(files), file=sys.stderr)
        return 1
    rng = random.Random(20261210)
    kinds = sorted(KINDS)
    work = tempfile.mkdtemp(prefix='tarnwick-differential-')
    try:
        cases = []
        for n, path in enumerate(files):
            with open(path, 'rb') as f:
                original = f.read(MAX_BYTES)
            for k in range(KINDS_PER_PAGE):
                number = n * KINDS_PER_PAGE + k
                kind = kinds[number % len(kinds)]
                page = os.path.join(work, '%05d.html' % number)
                with open(page, 'wb') as f:
                    f.write(inject(original, kind, rng))
                cases.append((path, kind, ADVERTISERS[number % len(ADVERTISERS)], page))
        ours = subprocess.run([JUDGE], input=''.join(
            '%s\t%s\t%s\n' % (c[2], PAGE, c[3]) for c in cases), capture_output=True, text=True,
            check=True).stdout.splitlines()
        oracle_script = os.path.join(folder, 'link_oracle.mjs')
        shutil.copy(os.path.join(HERE, 'link_oracle.mjs'), oracle_script)
        theirs = subprocess.run(['node', oracle_script], input=''.join(
            json.dumps({'advertiser': c[2], 'page': PAGE, 'file': c[3]}) + '\n' for c in cases),
            capture_output=True, text=True, check=True).stdout.splitlines()
        disagreements = 0
        found = {}
        for case, mine, other in zip(cases, ours, theirs):
            result, reason = mine.split('\t', 1)
            found.setdefault(case[1], set()).add(other)
            if result != other:
                disagreements += 1
                print('%s (%s, advertiser %s): page check %s (%s), parse5 %s'
                      % (case[0], case[1], case[2], result, reason, other))
        for kind in kinds:
            print('%-24s parse5 says %s' % (kind, ', '.join(sorted(found.get(kind, ())))))
        # The oracle itself must see the injected links for what they are.
        for kind in REAL:
            if 'Link Found' not in found.get(kind, ()):
                print('parse5 never found the link of kind %r' % kind)
                disagreements += 1
        for kind in FAKE:
            if 'Link Found' in found.get(kind, ()):
                print('parse5 found a link of kind %r' % kind)
                disagreements += 1
        print('%d pages, %d kinds, %d disagreements' % (len(cases), len(kinds), disagreements))
        return 1 if disagreements or len(ours) != len(cases) else 0
    finally:
        shutil.rmtree(work, ignore_errors=True)


if __name__ == '__main__':
    sys.exit(main())
