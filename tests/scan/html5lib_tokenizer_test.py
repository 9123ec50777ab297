#!/usr/bin/python3
"""The html5lib tokenizer tests (tests/data/html5lib-tests) against lexbor's
tokenizer as the page check runs it (the html5lib_tokenize helper): every
case, in every initial state it names, must give the expected tokens (tags
with their attributes and self-closing flag, comments, text with adjacent runs
joined, DOCTYPEs with name, identifiers and correctness), and the same tokens
when its input arrives split in two anywhere.

Parse errors are not compared: the page check reads none. Cases whose input
is not valid Unicode (lone surrogates, written double-escaped) cannot be fed
as UTF-8 and are left out.

usage: html5lib_tokenizer_test.py HTML5LIB_TOKENIZE TESTS_DIR
"""
import glob
import json
import os
import re
import subprocess
import sys

# Cases lexbor is known to get wrong, as (file, description, initial state)
# with the reason. A listed case that passes fails the run, so that the list
# only ever holds real deviations.
EXPECTED_FAILURES = {
}


def unescape(text):
    return re.sub(r'\\u([0-9A-Fa-f]{4})', lambda m: chr(int(m.group(1), 16)), text)


def normalise(tokens, double_escaped):
    out = []
    for token in tokens:
        token = list(token)
        if double_escaped:
            token = [unescape(t) if isinstance(t, str) else t for t in token]
            if token[0] == 'StartTag':
                token[2] = {unescape(k): unescape(v) for k, v in token[2].items()}
        if token[0] == 'StartTag' and len(token) == 4 and not token[3]:
            token = token[:3]
        if token[0] == 'Character' and out and out[-1][0] == 'Character':
            out[-1] = ['Character', out[-1][1] + token[1]]
            continue
        out.append(token)
    return out


def read_cases(folder):
    cases, not_unicode = [], 0
    for path in sorted(glob.glob(os.path.join(folder, '*.test'))):
        name = os.path.basename(path)
        with open(path, encoding='utf-8') as f:
            data = json.load(f)
        for test in data.get('tests', []):
            double = test.get('doubleEscaped', False)
            text = unescape(test['input']) if double else test['input']
            try:
                raw = text.encode('utf-8')
            except UnicodeEncodeError:
                not_unicode += 1
                continue
            expected = normalise(test['output'], double)
            for state in test.get('initialStates', ['Data state']):
                cases.append((name, test['description'], state, test.get('lastStartTag', '-'),
                              raw, expected))
    return cases, not_unicode


def main():
    helper, folder = sys.argv[1], sys.argv[2]
    cases, not_unicode = read_cases(folder)
    if not cases:
        print('no tokenizer tests in %s' % folder)
        return 1
    feed = ''.join('%s\t%s\t%s\n' % (c[2], c[3], c[4].hex()) for c in cases)
    answer = subprocess.run([helper], input=feed.encode(), capture_output=True, check=True)
    lines = answer.stdout.decode('utf-8', 'surrogateescape').split('\n')
    if len(lines) < len(cases):
        print('the helper answered %d of %d cases' % (len(lines), len(cases)))
        return 1
    failures, expected_seen, skipped = [], set(), 0
    for (name, description, state, last, raw, expected), line in zip(cases, lines):
        if line == 'skip':
            skipped += 1
            continue
        tokens_json, split = line.split('\t', 1)
        got = normalise(json.loads(tokens_json), False)
        problem = None
        if got != expected:
            problem = 'tokens %s, expected %s' % (got, expected)
        elif split != 'split-ok':
            problem = 'other tokens when %s' % split
        key = (name, description, state)
        if key in EXPECTED_FAILURES:
            expected_seen.add(key)
            if problem is None:
                failures.append('%s: %s [%s] passes: take it off EXPECTED_FAILURES'
                                % (name, description, state))
            continue
        if problem is not None:
            failures.append('%s: %s [%s, last start tag %s] input %r: %s'
                            % (name, description, state, last, raw, problem))
    for key in sorted(set(EXPECTED_FAILURES) - expected_seen):
        failures.append('%s: %s [%s] is on EXPECTED_FAILURES but not among the cases' % key)
    for failure in failures:
        print(failure)
    print('%d cases, %d failed, %d known deviations, %d skipped (unknown last start tag), '
          '%d inputs not valid Unicode left out'
          % (len(cases), len(failures), len(expected_seen), skipped, not_unicode))
    return 1 if failures or skipped else 0


if __name__ == '__main__':
    sys.exit(main())
