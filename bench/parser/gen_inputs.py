#!/usr/bin/env python3
"""Writes the parser benchmark inputs into a folder (default: build/bench-inputs).

  real.html      ~20 MB page of varied, real-looking markup (deterministic)
  p1m.html       1,000,000 small <p> elements
  nested100k.html  100,000 nested <div> elements
  nested1m.html    1,000,000 nested <div> elements (depth linearity)
"""
import os
import random
import sys

WORDS = ("the server page list entry archive update news release notes admin "
         "directory index file document link tavrel wizard build report table "
         "caf\u00e9 na\u00efve r\u00e9sum\u00e9 stra\u00dfe \u00fcber gr\u00fc\u00dfe "
         "monday tuesday quarter budget meeting minutes agenda draft final").split()


def words(rng, count):
    return " ".join(rng.choice(WORDS) for _ in range(count))


def inline_text(rng):
    parts = []
    for _ in range(rng.randint(3, 9)):
        kind = rng.random()
        if kind < 0.55:
            parts.append(words(rng, rng.randint(3, 14)))
        elif kind < 0.70:
            parts.append('<a href="/docs/%s/%d.html" class="ref">%s</a>'
                         % (rng.choice(WORDS), rng.randint(1, 9999), words(rng, rng.randint(1, 4))))
        elif kind < 0.78:
            parts.append("<em>%s</em>" % words(rng, rng.randint(1, 3)))
        elif kind < 0.85:
            parts.append("<strong>%s</strong>" % words(rng, rng.randint(1, 3)))
        elif kind < 0.90:
            parts.append('<span class="%s">%s</span>' % (rng.choice(WORDS), words(rng, 2)))
        elif kind < 0.94:
            parts.append(rng.choice(["&amp;", "&lt;", "&gt;", "&nbsp;", "&copy;", "&eacute;",
                                     "&#8212;", "&#x201C;", "&hellip;"]))
        elif kind < 0.97:
            parts.append('<img src="/img/%d.png" alt="%s" width=%d height=%d>'
                         % (rng.randint(1, 999), words(rng, 2), rng.randint(10, 600),
                            rng.randint(10, 400)))
        else:
            parts.append("<br>\n")
    return " ".join(parts)


def block(rng, out):
    kind = rng.random()
    if kind < 0.40:
        out.append("  <p>%s</p>\n" % inline_text(rng))
    elif kind < 0.48:
        out.append("  <p>%s\n" % inline_text(rng))  # end tag left out, as in old pages
    elif kind < 0.58:
        items = "".join("    <li>%s</li>\n" % inline_text(rng) for _ in range(rng.randint(2, 8)))
        out.append('  <ul class="list">\n%s  </ul>\n' % items)
    elif kind < 0.68:
        rows = []
        for _ in range(rng.randint(2, 10)):
            cells = "".join("<td>%s</td>" % words(rng, rng.randint(1, 5))
                            for _ in range(rng.randint(2, 6)))
            rows.append("    <tr>%s</tr>\n" % cells)
        out.append('  <table border=1 cellpadding="2">\n%s  </table>\n' % "".join(rows))
    elif kind < 0.74:
        level = rng.randint(2, 4)
        out.append("  <h%d>%s</h%d>\n" % (level, words(rng, 5), level))
    elif kind < 0.78:
        out.append("  <!-- %s -->\n" % words(rng, 6))
    elif kind < 0.82:
        out.append("  <pre>\n%s\n  </pre>\n" % "\n".join(words(rng, 8) for _ in range(4)))
    elif kind < 0.86:
        out.append('  <div class="box" id="b%d">\n    <div class="inner">%s</div>\n  </div>\n'
                   % (rng.randint(1, 99999), inline_text(rng)))
    elif kind < 0.89:
        out.append('  <form action="/cgi-bin/find" method=get><input type=text name=q value="%s">'
                   '<select name=s><option>one<option selected>two</select>'
                   '<input type=submit></form>\n' % words(rng, 2))
    elif kind < 0.92:
        out.append("  <script>\n  var n = %d; if (n < 10 && n > 2) { document.write('<b>' + n + '</b>'); }\n"
                   "  </script>\n" % rng.randint(1, 100))
    elif kind < 0.96:
        terms = "".join("    <dt>%s\n    <dd>%s\n" % (words(rng, 3), inline_text(rng))
                        for _ in range(rng.randint(2, 5)))
        out.append("  <dl>\n%s  </dl>\n" % terms)
    else:
        out.append("  <blockquote><font face=\"Arial\" size=2>%s</font></blockquote>\n"
                   % inline_text(rng))


def real_page(path, target_size):
    rng = random.Random(1996)
    head = ('<!DOCTYPE HTML PUBLIC "-//W3C//DTD HTML 4.01 Transitional//EN">\n<html>\n<head>\n'
            '<meta http-equiv="Content-Type" content="text/html; charset=utf-8">\n'
            "<title>Server archive</title>\n"
            '<link rel="stylesheet" href="/style.css">\n'
            "<style>\nbody { margin: 0 } p > a { color: #036 }\n</style>\n</head>\n<body>\n")
    with open(path, "w", encoding="utf-8") as f:
        f.write(head)
        written = len(head)
        while written < target_size:
            out = []
            for _ in range(200):
                block(rng, out)
            chunk = "".join(out)
            f.write(chunk)
            written += len(chunk.encode("utf-8"))
        f.write("</body>\n</html>\n")


def many_paragraphs(path, count):
    with open(path, "w") as f:
        f.write("<html><body>\n")
        for i in range(count):
            f.write("<p>Item %d</p>\n" % i)
        f.write("</body></html>\n")


def nested(path, depth):
    with open(path, "w") as f:
        f.write("<div>" * depth + "deep" + "</div>" * depth)


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.join("build", "bench-inputs")
    os.makedirs(folder, exist_ok=True)
    real_page(os.path.join(folder, "real.html"), 20 * 1024 * 1024)
    many_paragraphs(os.path.join(folder, "p1m.html"), 1000000)
    nested(os.path.join(folder, "nested100k.html"), 100000)
    nested(os.path.join(folder, "nested1m.html"), 1000000)


if __name__ == "__main__":
    main()
