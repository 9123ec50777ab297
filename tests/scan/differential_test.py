#!/usr/bin/python3
"""Differential test of the page check: real HTML pages (the Debian
documentation installed on this machine) with one construct of a kind
injected each, judged by the page check (link_judge, fed in pieces of a size
drawn per page) and by an independent HTML5 parser (parse5, installed from npm
at a pinned version into a cache folder, judged by link_oracle.mjs). Every
page must get the same result from both, but for the kinds listed in
KNOWN_DISAGREEMENTS.

usage: differential_test.py LINK_JUDGE CACHE_DIR
"""
import collections
import glob
import json
import os
import random
import shutil
import subprocess
import sys
import tempfile

# parse5 and the package it decodes character references with, both pinned.
NPM_PACKAGES = [('parse5', '8.0.0'), ('entities', '6.0.1')]
MAX_PAGES = 300
MAX_BYTES = 200 * 1024
# Each page is used with this many kinds, one at a time; a large page, which
# takes long to read under the sanitizers, with half as many.
KINDS_PER_PAGE = 6
LARGE_PAGE = 50 * 1024
PAGE = 'http://partner.example/docs/page.html'
# Piece sizes the page check is fed in: the smallest on small pages only, to
# keep the run short under the sanitizers.
PIECES = [3, 61, 4096, 65536, 1 << 30]

# The advertiser as users type it.
ADVERTISERS = ['http://www.shop-a.example/', 'shop-a.example', 'https://shop-a.example',
               'www.shop-a.example/offers/', 'HTTPS://WWW.SHOP-A.EXAMPLE/OFFERS',
               'shop-a.example:80']
IDN = 'b\u00fccher.example'  # bücher.example
IDN_ASCII = 'xn--bcher-kva.example'
A = 'http://www.shop-a.example{p}'  # a link to the advertiser, {p} a path

Kind = collections.namedtuple('Kind', 'name body expect head end advertisers',
                              defaults=('', '', None))
# What parse5 must say of a kind: the first word on some page at least
# (REAL, SOFT_404), never the link (FAKE), or anything (EITHER: the answer
# depends on the advertiser's path).
REAL, SOFT_404, FAKE, EITHER = 'Link Found', 'Page Cannot be Found', 'fake', 'either'

# Constructs injected into the body (head: into <head>, end: after the last
# byte): real links in every spelling HTML and URLs allow, links a browser
# never builds, near misses.
KINDS = [
    # Spellings of a real link.
    Kind('plain', '<a href="%s">Shop A</a>' % A, REAL),
    Kind('https', '<a href="https://www.shop-a.example{p}">Shop A</a>', REAL),
    Kind('no slash', '<a href="http://www.shop-a.example">Shop A</a>', REAL),
    Kind('no www', '<a href="http://shop-a.example{p}">Shop A</a>', REAL),
    Kind('protocol-relative', '<a href="//www.shop-a.example{p}">Shop A</a>', REAL),
    Kind('blanks around =', '<a href = "%s">Shop A</a>' % A, REAL),
    Kind('unquoted', '<a href=%s>Shop A</a>' % A, REAL),
    Kind('character reference', '<a href="http://www.shop-a&#46;example{p}">Shop A</a>', REAL),
    Kind('named reference', '<a href="http://www.shop-a&period;example{p}">Shop A</a>', REAL),
    Kind('capitals', '<A HREF="HTTP://WWW.SHOP-A.EXAMPLE{p}">Shop A</A>', REAL),
    Kind('self-closing a', '<a href="%s"/>Shop A' % A, REAL),
    Kind('default port', '<a href="http://www.shop-a.example:80{p}">A</a>', REAL),
    Kind('https default port', '<a href="https://www.shop-a.example:443{p}">A</a>', REAL),
    Kind('query and fragment', '<a href="http://www.shop-a.example/?ref=p#top">A</a>', EITHER),
    Kind('blanks around the address', '<a href=" \n %s \t ">A</a>' % A, REAL),
    Kind('tab and line break inside', '<a href="ht\ttp://www.shop-a.exa\nmple{p}">A</a>', REAL),
    Kind('backslashes', '<a href="http:\\\\www.shop-a.example\\">A</a>', REAL),
    Kind('escaped host', '<a href="http://www.shop%2Da.example{p}">A</a>', REAL),
    Kind('user in front', '<a href="http://partner.example@www.shop-a.example{p}">A</a>', REAL),
    Kind('final dot', '<a href="http://www.shop-a.example.{p}">A</a>', REAL),
    Kind('https with one slash', '<a href="https:/www.shop-a.example{p}">A</a>', REAL),
    Kind('idn link', '<a href="http://www.B\u00dcCHER.example/">A</a>', REAL,
         advertisers=[IDN_ASCII]),
    Kind('punycode link', '<a href="http://%s/">A</a>' % IDN_ASCII, REAL,
         advertisers=['http://www.%s/' % IDN]),
    # Where a browser builds a link.
    Kind('area', '<map name="m"><area href="%s" alt="Shop A"></map>' % A, REAL),
    Kind('svg a', '<svg><a href="%s"><text>Shop A</text></a></svg>' % A, REAL),
    Kind('svg xlink', '<svg><a xlink:href="%s"><text>A</text></a></svg>' % A, REAL),
    Kind('svg href before xlink',
         '<svg><a href="%s" xlink:href="http://other.example/">A</a></svg>' % A, REAL),
    Kind('svg foreignObject', '<svg><foreignObject><a href="%s">A</a></foreignObject></svg>' % A,
         REAL),
    Kind('svg title', '<svg><title><a href="%s">A</a></title></svg>' % A, REAL),
    Kind('svg style is no text element', '<svg><style><a href="%s">A</a></style></svg>' % A,
         REAL),
    Kind('html breaks out of svg', '<svg><p><a href="%s">A</a></p></svg>' % A, REAL),
    Kind('math mi', '<math><mi><a href="%s">A</a></mi></math>' % A, REAL),
    Kind('annotation-xml as html',
         '<math><annotation-xml encoding="text/html"><a href="%s">A</a></annotation-xml></math>'
         % A, REAL),
    Kind('</div> ends math', '<div><math><mrow></div><a href="%s">A</a>' % A, REAL),
    Kind('svg CDATA then link', '<svg><![CDATA[ x ]]><a href="%s">A</a></svg>' % A, REAL),
    Kind('CDATA not in capitals', '<svg><![CDaTA[</svg><a href="%s">A</a></svg>' % A, REAL),
    Kind('table foster parenting', '<table><tr><td>x</td></tr><a href="%s">A</a></table>' % A,
         REAL),
    Kind('empty comment then link', '<!--><a href="%s">Shop A</a>' % A, REAL),
    Kind('comment closed by --!>', '<!-- x --!><a href="%s">A</a>' % A, REAL),
    Kind('closed script then link', '<script>var s = "<!--";</script><a href="%s">A</a>' % A,
         REAL),
    Kind('textarea end tag with blank', '<textarea>x</textarea ><a href="%s">A</a>' % A, REAL),
    Kind('link in head', '', REAL, head='<a href="%s">A</a>' % A),
    Kind('after </html>', '', REAL, end='</body></html><a href="%s">A</a>' % A),
    Kind('relative with base', '<a href="offers/">A</a>', REAL,
         head='<base href="http://www.shop-a.example/">'),
    Kind('protocol-relative base', '<a href="offers/">A</a>', REAL,
         head='<base href="//www.shop-a.example/">'),
    Kind('base without href first', '<a href="offers/">A</a>', REAL,
         head='<base target="_top"><base href="http://www.shop-a.example/">'),
    Kind('base after the link', '<a href="offers/">A</a>', REAL,
         end='<base href="http://www.shop-a.example/">'),
    # Where a browser builds none.
    Kind('comment', '<!-- <a href="%s">Shop A</a> -->' % A, FAKE),
    Kind('comment not closed by -- >', '<!-- x -- ><a href="%s">A</a> -->' % A, FAKE),
    Kind('script', '<script>var s = \'<a href="%s">A</a>\';</script>' % A, FAKE),
    Kind('escaped script data', '<script><!--<script></script><a href="%s">--></script>' % A,
         FAKE),
    Kind('textarea', '<textarea><a href="%s">A</a></textarea>' % A, FAKE),
    Kind('template', '<template><a href="%s">A</a></template>' % A, FAKE),
    Kind('noscript', '<noscript><a href="%s">A</a></noscript>' % A, FAKE),
    Kind('style', '<style>/* <a href="%s"> */</style>' % A, FAKE),
    Kind('iframe', '<iframe><a href="%s">A</a></iframe>' % A, FAKE),
    Kind('xmp', '<xmp><a href="%s">A</a></xmp>' % A, FAKE),
    Kind('noembed', '<noembed><a href="%s">A</a></noembed>' % A, FAKE),
    Kind('noframes', '<noframes><a href="%s">A</a></noframes>' % A, FAKE),
    Kind('bogus <?', '<? <a href="%s">A</a> ?>' % A, FAKE),
    Kind('bogus <!x', '<!x <a href="%s">A</a>>' % A, FAKE),
    Kind('bogus </ x', '</ x <a href="%s">A</a>>' % A, FAKE),
    Kind('CDATA in html', '<![CDATA[ <a href="%s">A</a> ]]>' % A, FAKE),
    Kind('CDATA in svg', '<svg><![CDATA[</svg><a href="%s">A</a>]]></svg>' % A, FAKE),
    Kind('unclosed title', '<title>Links <a href="%s">A</a>' % A, FAKE),
    Kind('plaintext', '<plaintext><a href="%s">A</a>' % A, FAKE),
    Kind('</p> ends svg', '<p><svg></p><style>/* <a href="%s"> */</style>' % A, FAKE),
    Kind('</br> ends svg', '<svg><g></br><style>/* <a href="%s"> */</style>' % A, FAKE),
    Kind('</div> ends svg', '<div><svg><g></div><style>/* <a href="%s"> */</style>' % A, FAKE),
    Kind('</table> ends svg', '<table><tr><td><svg></table><style>/* <a href="%s"> */</style>'
         % A, FAKE),
    Kind('math a', '<math><a href="%s">A</a></math>' % A, FAKE),
    Kind('annotation-xml', '<math><annotation-xml><a href="%s">A</a></annotation-xml></math>' % A,
         FAKE),
    Kind('html xlink:href', '<a xlink:href="%s">A</a>' % A, FAKE),
    Kind('second href', '<a href="http://other.example/" href="%s">A</a>' % A, FAKE),
    Kind('svg xlink after href', '<svg><a href="http://other.example/" xlink:href="%s">A</a></svg>'
         % A, FAKE),
    Kind('template base', '<a href="offers/">A</a>', FAKE,
         head='<template><base href="http://www.shop-a.example/"></template>'),
    Kind('second base', '<a href="offers/">A</a>', FAKE,
         head='<base href="http://other.example/"><base href="http://www.shop-a.example/">'),
    Kind('frameset replaces the body', '', FAKE, head='<a href="%s"></a><frameset></frameset>' % A),
    # The words of a missing page.
    Kind('soft 404 words', '<h1>404 Not Found</h1>', SOFT_404),
    Kind('soft 404 words and a link', '<p>The page cannot be found.</p><a href="%s">A</a>' % A,
         REAL),
    # Near misses.
    Kind('redirector',
         '<a href="http://partner.example/out?url=http%3A%2F%2Fwww.shop-a.example%2F">A</a>', FAKE),
    Kind('another path', '<a href="http://www.shop-a.example/elsewhere/">A</a>', EITHER),
    Kind('path not at a segment', '<a href="http://www.shop-a.example/offers-old/">A</a>', EITHER),
    Kind('other port', '<a href="http://www.shop-a.example:8080{p}">A</a>', FAKE),
    Kind('other scheme', '<a href="ftp://www.shop-a.example{p}">A</a>', FAKE),
    Kind('user looks like the host', '<a href="http://www.shop-a.example@evil.example/">A</a>',
         FAKE),
    Kind('look-alike host', '<a href="http://www.shop-a.example.evil.example{p}">A</a>', FAKE),
    Kind('http with one slash', '<a href="http:/www.shop-a.example{p}">A</a>', FAKE),
    Kind('http without slashes', '<a href="http:www.shop-a.example{p}">A</a>', FAKE),
    Kind('javascript', '<a href="javascript:location=\'%s\'">A</a>' % A, FAKE),
    Kind('text only', '<p>Visit www.shop-a.example{p} today</p>', FAKE),
]
# Kinds on which the page check is known to answer otherwise than a browser,
# with the reason. Their disagreements are shown but pass; a listed kind on
# which both agree everywhere fails the run, so that the list stays true.
KNOWN_DISAGREEMENTS = {
    'base after the link':
        'the page check resolves a link against the <base href> read before it; a browser '
        'resolves every link against the first <base href> of the whole document',
    # An HTML end tag that matches no open SVG or MathML element closes the
    # HTML element of its name around the foreign content, and that content
    # with it; the page check knows only the foreign content's own elements.
    '</div> ends math': 'the page check still reads the <a> after </div> as MathML',
    '</div> ends svg': 'the page check still reads the <style> after </div> as SVG',
    '</table> ends svg': 'the page check still reads the <style> after </table> as SVG',
}

# Left out: a link inside <select>. The HTML standard now parses select
# content as in the body (the link is built, as the page check says); parse5
# still drops such tags.


def parse5_dir(cache):
    """A folder with the pinned packages installed, installing them if needed."""
    specs = ['%s@%s' % p for p in NPM_PACKAGES]
    folder = os.path.join(cache, '+'.join(specs))

    def installed():
        for name, version in NPM_PACKAGES:
            path = os.path.join(folder, 'node_modules', name, 'package.json')
            if not os.path.isfile(path):
                return False
            with open(path) as f:
                if json.load(f).get('version') != version:
                    return False
        return True

    if installed():
        return folder
    os.makedirs(folder, exist_ok=True)
    try:
        result = subprocess.run(['npm', 'install', '--no-audit', '--no-fund', '--prefer-offline',
                                 '--no-save', '--prefix', folder] + specs,
                                capture_output=True, text=True, timeout=300)
        failed = result.returncode != 0 and result.stderr
    except subprocess.TimeoutExpired:
        failed = 'no answer in 300 s'
    if failed or not installed():
        print('could not install %s from npm into %s (the npm registry is needed once):\n%s'
              % (' '.join(specs), folder, failed or 'other versions came'))
        sys.exit(1)
    return folder


def pages():
    """Up to MAX_PAGES HTML files, spread evenly over all of them sorted."""
    files = sorted(f for f in glob.glob('/usr/share/doc/**/*.html', recursive=True)
                   if os.path.isfile(f) and not os.path.islink(f))
    step = max(1.0, len(files) / MAX_PAGES)
    return [files[int(i * step)] for i in range(min(MAX_PAGES, len(files)))]


def after_tag(page, name):
    """The position right after the first <name ...> tag, or None."""
    at = page.lower().find(b'<' + name)
    while at >= 0:
        follow = page[at + len(name) + 1:at + len(name) + 2]
        if follow in (b'>', b' ', b'\t', b'\n', b'\r', b'\f', b'/'):
            end = page.find(b'>', at)
            return end + 1 if end >= 0 else None
        at = page.lower().find(b'<' + name, at + 1)
    return None


def places(original):
    """Where markup may go: after the end of a tag in the body, outside the
    page's own SVG and MathML (where <xmp> or <noframes> hide nothing)."""
    lowered = original.lower()
    foreign = []
    for name in (b'svg', b'math'):
        at = lowered.find(b'<' + name)
        while at >= 0:
            end = lowered.find(b'</' + name, at)
            end = len(lowered) if end < 0 else end
            foreign.append((at, end))
            at = lowered.find(b'<' + name, end)
    start = after_tag(original, b'body') or 0
    return [i + 1 for i in range(start, len(original)) if original[i] == 0x3E and
            not any(begin <= i < end for begin, end in foreign)]


def inject(original, candidates, kind, rng):
    """The page with the kind's markup, and the markup for messages."""
    path = rng.choice(['/', '/offers/', '/offers/shoes.html', ''])
    body = kind.body.replace('{p}', path).encode()
    head = kind.head.replace('{p}', path).encode()
    end = kind.end.replace('{p}', path).encode()
    at = rng.choice(candidates) if candidates else len(original)
    page = original[:at] + body + original[at:] + end
    if head:
        at = after_tag(page, b'head') or 0
        page = page[:at] + head + page[at:]
    where = [('in head', head), ('in body', body), ('at the end', end)]
    return page, '; '.join('%s %s' % (w, m.decode()) for w, m in where if m)


def main():
    judge, cache = sys.argv[1], sys.argv[2]
    if not shutil.which('node') or not shutil.which('npm'):
        print('node and npm are needed (the test installs parse5 with npm)')
        return 1
    folder = parse5_dir(cache)
    files = pages()
    if len(files) < 20:
        print('only %d HTML pages under /usr/share/doc' % len(files))
        return 1
    rng = random.Random(20261210)
    work = tempfile.mkdtemp(prefix='tarnwick-differential-')
    keep = False
    try:
        cases = []
        for path in files:
            with open(path, 'rb') as f:
                original = f.read(MAX_BYTES)
            uses = KINDS_PER_PAGE if len(original) < LARGE_PAGE else KINDS_PER_PAGE // 2
            candidates = places(original)
            for _ in range(uses):
                number = len(cases)
                kind = KINDS[number % len(KINDS)]
                advertisers = kind.advertisers or ADVERTISERS
                advertiser = advertisers[(number // len(KINDS)) % len(advertisers)]
                page, snippet = inject(original, candidates, kind, rng)
                piece = rng.choice(PIECES if len(page) < 30000 else PIECES[1:])
                page_file = os.path.join(work, '%05d.html' % number)
                with open(page_file, 'wb') as f:
                    f.write(page)
                cases.append((path, kind, advertiser, page_file, piece, snippet))

        # Both sides run at once, each from and to files.
        with open(os.path.join(work, 'judge.in'), 'wb') as f:
            # The advertiser as a profile stores it: Windows-1252.
            f.write(b''.join(c[2].encode('cp1252') + b'\t' + PAGE.encode() + b'\t' +
                             c[3].encode() + b'\t' + str(c[4]).encode() + b'\n' for c in cases))
        with open(os.path.join(work, 'oracle.in'), 'w') as f:
            f.write(''.join(json.dumps({'advertiser': c[2], 'page': PAGE, 'file': c[3]}) + '\n'
                            for c in cases))
        shutil.copy(os.path.join(os.path.dirname(os.path.abspath(__file__)), 'link_oracle.mjs'),
                    os.path.join(folder, 'link_oracle.mjs'))
        runs = []
        for name, command in (('judge', [judge]),
                              ('oracle', ['node', os.path.join(folder, 'link_oracle.mjs')])):
            with open(os.path.join(work, name + '.in'), 'rb') as given, \
                    open(os.path.join(work, name + '.out'), 'wb') as out:
                runs.append((name, subprocess.Popen(command, stdin=given, stdout=out)))
        for name, run in runs:
            if run.wait() != 0:
                print('%s ended with %d' % (name, run.returncode))
                return 1
        with open(os.path.join(work, 'judge.out'), encoding='utf-8', errors='replace') as f:
            ours = f.read().splitlines()
        with open(os.path.join(work, 'oracle.out')) as f:
            theirs = f.read().splitlines()
        if len(ours) != len(cases) or len(theirs) != len(cases):
            print('%d pages, %d answers from the page check, %d from parse5'
                  % (len(cases), len(ours), len(theirs)))
            return 1

        problems = 0
        seen = collections.defaultdict(collections.Counter)  # kind: parse5's answers
        known = collections.Counter()  # kind: disagreements on the list
        for (path, kind, advertiser, page_file, piece, snippet), mine, other in zip(
                cases, ours, theirs):
            result, reason = mine.split('\t', 1)
            seen[kind.name][other] += 1
            if result == other:
                continue
            if kind.name in KNOWN_DISAGREEMENTS:
                known[kind.name] += 1
                if known[kind.name] > 1:
                    continue
            else:
                problems += 1
                keep = True
            print('%s%s (%s, advertiser %s, pieces of %d): page check %s (%s), parse5 %s;'
                  ' injected %s%s'
                  % ('known: ' if kind.name in KNOWN_DISAGREEMENTS else '', path, kind.name,
                     advertiser, piece, result, reason, other, snippet,
                     '' if kind.name in KNOWN_DISAGREEMENTS else '; page ' + page_file))
        for name, why in KNOWN_DISAGREEMENTS.items():
            if known[name]:
                print('known: %d disagreements of kind %r: %s' % (known[name], name, why))
            else:
                print('kind %r is on KNOWN_DISAGREEMENTS but both agree on it now' % name)
                problems += 1
        # The oracle itself must see the injected markup for what it is.
        for kind in KINDS:
            if kind.expect in (REAL, SOFT_404) and not seen[kind.name][kind.expect]:
                print('parse5 never said %s for kind %r' % (kind.expect, kind.name))
                problems += 1
            if kind.expect == FAKE and seen[kind.name]['Link Found']:
                print('parse5 found a link of kind %r' % kind.name)
                problems += 1
        if problems:
            for kind in KINDS:
                print('%-32s parse5: %s' % (kind.name, dict(seen[kind.name])))
        print('%d pages from %d files, %d kinds: %d disagreements or wrong oracle answers'
              % (len(cases), len(files), len(KINDS), problems))
        if keep:
            print('pages kept in %s' % work)
        return 1 if problems else 0
    finally:
        if not keep:
            shutil.rmtree(work, ignore_errors=True)


if __name__ == '__main__':
    sys.exit(main())
