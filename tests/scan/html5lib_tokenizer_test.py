#!/usr/bin/python3
"""The html5lib tokenizer tests (tests/data/html5lib-tests) against lexbor's
tokenizer as the page check runs it (the html5lib_tokenize helper): every
case, in every initial state it names, must give the expected tokens, and the
same tokens when its input arrives split in two anywhere.

Parse errors are not compared, nor the details of DOCTYPE tokens (the page
check reads neither). Cases whose input is not valid Unicode (lone
surrogates) cannot be fed as UTF-8 and are left out.

usage: html5lib_tokenizer_test.py HTML5LIB_TOKENIZE TESTS_DIR
"""
import glob
import json
import os
import re
import subprocess
import sys

HELPER, TESTS = sys.argv[1], sys.argv[2]

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
        if token[0] == 'DOCTYPE':
            token = ['DOCTYPE']
        if token[0] == 'StartTag' and len(token) == 4 and not token[3]:
            token = token[:3]
        if token[0] == 'Character' and out and out[-1][0] == 'Character':
            out[-1] = ['Character', out[-1][1] + token[1]]
            continue
        out.append(token)
    return out


def main():
    cases = []
    for path in sorted(glob.glob(os.path.join(TESTS, '*.test'))):
        name = os.path.basename(path)
        with open(path, encoding='utf-8') as f:
            data = json.load(f)
        for test in data.get('tests', []):
            double = test.get('doubleEscaped', False)
            text = unescape(test['input']) if double else test['input']
            try:
                raw = text.encode('utf-8')
            except UnicodeEncodeError:
                continue  # lone surrogates
            expected = normalise(test['output'], double)
            for state in test.get('initialStates', ['Data state']):
                cases.append((name, test['description'], state, test.get('lastStartTag', '-'),
                              raw, expected))
    feed = ''.join('%s\t%s\t%s\n' % (c[2], c[3], c[4].hex()) for c in cases)
    answer = subprocess.run([HELPER], input=feed.encode(), capture_output=True, check=True)
    lines = answer.stdout.decode('utf-8', 'surrogateescape').split('\n')
    failures, skipped = [], 0
    for case, line in zip(cases, lines):
        name, description, state, last, raw, expected = case
        if line == 'skip':
            skipped += 1
            continue
        tokens_json, split = line.rsplit('\t', 1)
        got = normalise(json.loads(tokens_json), False)
        problem = None
        if got != expected:
            problem = 'tokens %s, expected %s' % (got, expected)
        elif split != 'split-ok':
            problem = 'different tokens when %s' % split
        if problem is None:
            continue
        failures.append('%s: %s [%s] input %r: %s' % (name, description, state, raw, problem))
    for failure in failures:
        print(failure)
    print('%d cases, %d failed, %d skipped (unknown last start tag)'
          % (len(cases), len(failures), skipped))
    return 1 if failures else 0


if __name__ == '__main__':
    sys.exit(main())
