"""Summarises a document as a browser built it (Chromium's --dump-dom on
standard input), one fact per line, fields separated by 0x1F:

  TAGS  every element name that occurs, sorted
  TITLE the document title
  GROUP <n>  a result table opens; n = result tables it is nested in
  END        that result table closes
  TR    <cell>...  a table row with the text of its cells
"""
import html.parser
import sys

VOID = {"area", "base", "br", "col", "embed", "hr", "img", "input", "link", "meta",
        "source", "track", "wbr"}
SEP = "\x1f"


class Summary(html.parser.HTMLParser):
    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.stack = []
        self.tags = set()
        self.lines = []
        self.cells = []   # one text list per open row
        self.texts = []   # one text per open cell
        self.title = None

    def handle_starttag(self, tag, attrs):
        attrs = dict(attrs)
        self.tags.add(tag)
        if tag in VOID:
            return
        if tag == "table" and attrs.get("height") == "60":
            nested = sum(1 for t, a in self.stack if t == "table" and a.get("height") == "60")
            self.lines.append(f"GROUP{SEP}{nested}")
        elif tag == "tr":
            self.cells.append([])
        elif tag == "td":
            self.texts.append("")
        elif tag == "title":
            self.title = ""
        self.stack.append((tag, attrs))

    def handle_endtag(self, tag):
        if tag in VOID:
            return
        open_tag, attrs = self.stack.pop()
        assert open_tag == tag, (open_tag, tag)
        if tag == "table" and attrs.get("height") == "60":
            self.lines.append("END")
        elif tag == "tr":
            self.lines.append(SEP.join(["TR"] + self.cells.pop()))
        elif tag == "td":
            text = self.texts.pop()
            if self.cells:
                self.cells[-1].append(text)

    def handle_data(self, data):
        if self.texts:
            self.texts[-1] += data
        if self.stack and self.stack[-1][0] == "title":
            self.title += data


def main():
    parser = Summary()
    parser.feed(sys.stdin.buffer.read().decode("utf-8"))
    parser.close()
    out = [SEP.join(["TAGS"] + sorted(parser.tags)), f"TITLE{SEP}{parser.title}"] + parser.lines
    sys.stdout.buffer.write(("\n".join(out) + "\n").encode("utf-8"))


main()
