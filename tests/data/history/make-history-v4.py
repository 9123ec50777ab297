#!/usr/bin/python3
"""Makes history-v4.sqlite3: the history of six real runs of tarnwick-cli scan
(built with history schema 4) against the loopback page and SMTP servers of
the tests, with pages that lose, regain and change their links between runs,
letters sent and held back, and a run stopped by SIGTERM.

usage: make-history-v4.py TARNWICK_CLI OUTPUT
"""

import json
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
TESTS = os.path.dirname(os.path.dirname(HERE))

LINK = '<a href="http://www.shop-a.example/">Shop A</a>'
PAGES = {
    "p1.html": [LINK] * 6,
    "p2.html": [LINK, "<!-- " + LINK + " -->", "<p>none</p>", LINK, LINK, LINK],
    "p3.html": [LINK, LINK.replace("<a ", '<a rel="nofollow" '), LINK, None, None, LINK],
    "p4.html": ["<p>none</p>"] * 3 + [LINK] * 3,
    "p5.html": [LINK, LINK, '<div style="display:none">' + LINK + "</div>", LINK, LINK, LINK],
    "p6.html": [LINK, None, None, None, LINK, LINK],
}


def crlf(lines):
    return "\r\n".join(lines)


def main():
    cli, output = sys.argv[1], sys.argv[2]
    work = tempfile.mkdtemp(prefix="history-v4-")
    root = os.path.join(work, "www")
    mails = os.path.join(work, "mail")
    data = os.path.join(work, "Osgrel Tarnwick Ambrel")
    for folder in (root, mails, os.path.join(data, "Profiles")):
        os.makedirs(folder)
    server = subprocess.Popen([sys.executable, os.path.join(TESTS, "support", "page_server.py"),
                               "--root", root], stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                              text=True)
    port = json.loads(server.stdout.readline())["http"]
    # The SMTP fixture loads a certificate even when it speaks plain SMTP.
    cert, key = os.path.join(work, "cert.pem"), os.path.join(work, "key.pem")
    subprocess.run(["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", key,
                    "-out", cert, "-days", "1", "-subj", "/CN=127.0.0.1"], check=True,
                   capture_output=True)
    smtp = subprocess.Popen([sys.executable, os.path.join(TESTS, "mail", "smtp_fixture.py"),
                             "plain", "0", mails, cert, key, "0"], stdout=subprocess.PIPE, text=True)
    smtp_port = smtp.stdout.readline().split()[1]
    base = "http://127.0.0.1:%d" % port
    # Two profiles of one advertiser (the second one numbered, as the
    # program names it), sharing a page.
    profiles = {
        "shop-a.example": ["p1.html", "p2.html", "p3.html", "p6.html"],
        "shop-a.example (2)": ["p4.html", "p5.html", "p2.html"],
    }
    index = []
    for name, pages in profiles.items():
        path = os.path.join(data, "Profiles", name + ".txt")
        lines = ["Link: http://www.shop-a.example/"]
        for k, page in enumerate(pages):
            lines.append("%s/files/%s|||webmaster%d@partner.example|||1|||" % (base, page, k))
        with open(path, "w", newline="") as f:
            f.write(crlf(lines))
        index.append(path)
    with open(os.path.join(data, "index.txt"), "w", newline="") as f:
        f.write(crlf(index))
    with open(os.path.join(data, "Mail.txt"), "w", newline="") as f:
        f.write(crlf(["links@shop-a.example", "127.0.0.1:" + smtp_port]))
    os.chmod(os.path.join(data, "Mail.txt"), 0o600)
    with open(os.path.join(data, "Letters.ini"), "w", newline="") as f:
        f.write(crlf(["missing_runs=2", "quiet_days=0"]))
    env = dict(os.environ, TARNWICK_PROGRAM_FILES=work, XDG_CONFIG_HOME=os.path.join(work, "cfg"))
    for run in range(6):
        for name, versions in PAGES.items():
            target = os.path.join(root, name)
            if versions[run] is None:
                if os.path.exists(target):
                    os.remove(target)
            else:
                with open(target, "w") as f:
                    f.write("<html><body><p>Partners</p>" + versions[run] + "</body></html>")
        if run == 3:
            # A run stopped while its first page is slow to answer.
            with open(index[0], "w", newline="") as f:
                f.write(crlf(["Link: http://www.shop-a.example/",
                              "%s/delay/5000/p1.html|||webmaster0@partner.example|||1|||"
                              % base]))
            scan = subprocess.Popen([cli, "scan", "--no-mail"], env=env,
                                    stdout=subprocess.DEVNULL)
            time.sleep(1.5)
            scan.send_signal(signal.SIGTERM)
            scan.wait()
            with open(index[0], "w", newline="") as f:
                f.write(crlf(["Link: http://www.shop-a.example/"] + [
                    "%s/files/%s|||webmaster%d@partner.example|||1|||" % (base, page, k)
                    for k, page in enumerate(profiles["shop-a.example"])]))
        subprocess.run([cli, "scan", "--mail-wait", "10"], env=env,
                       stdout=None if os.environ.get("VERBOSE") else subprocess.DEVNULL)
        time.sleep(1.1)  # runs a second apart
    server.stdin.close()
    server.wait()
    smtp.terminate()
    smtp.wait()
    history = os.path.join(data, "history.sqlite3")
    subprocess.run(["sqlite3", history, "PRAGMA wal_checkpoint(TRUNCATE); VACUUM;"], check=True)
    shutil.copyfile(history, output)
    shutil.rmtree(work)


if __name__ == "__main__":
    main()
