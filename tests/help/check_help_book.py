#!/usr/bin/env python3
"""check_help_book.py FOLDER: checks the help book in FOLDER.

Every page must be well-formed (each element closed, void elements written as
<br />, so that an XML parser reads it too), in UTF-8, with lang="zh-CN", a
<nav> and no script. Every href and src must name a file of the book (and an
#anchor an id of the page it names); nothing may come from outside the book.
Every page must be reachable from Keldro.html, and every picture in images/
must be shown somewhere. Prints the problems and exits with 1 when there are
any.
"""

import sys
import xml.parsers.expat
from html.parser import HTMLParser
from pathlib import Path
from urllib.parse import unquote, urlsplit

ENTRY = "Keldro.html"
VOID = {"area", "base", "br", "col", "embed", "hr", "img", "input", "link", "meta", "source",
        "track", "wbr"}


class Page(HTMLParser):
    """One page: its elements checked for closing, its links and ids collected."""

    def __init__(self, name):
        super().__init__(convert_charrefs=True)
        self.name = name
        self.problems = []
        self.open = []
        self.ids = set()
        self.links = []  # (line, attribute, value)
        self.tags = set()
        self.lang = None

    def problem(self, text):
        line, _ = self.getpos()
        self.problems.append(f"{self.name}:{line}: {text}")

    def handle_starttag(self, tag, attrs):
        self.visit(tag, attrs)
        if tag in VOID:
            self.problem(f"<{tag}> is not closed (write <{tag} ... />)")
        else:
            self.open.append((tag, self.getpos()[0]))

    def handle_startendtag(self, tag, attrs):
        self.visit(tag, attrs)
        if tag not in VOID:
            self.problem(f"<{tag} /> is not an element that may be empty")

    def handle_endtag(self, tag):
        if tag in VOID:
            self.problem(f"</{tag}> closes a void element")
            return
        if not self.open:
            self.problem(f"</{tag}> closes nothing")
            return
        expected, line = self.open[-1]
        if tag != expected:
            self.problem(f"</{tag}> does not match <{expected}> of line {line}")
            if any(t == tag for t, _ in self.open):
                while self.open and self.open[-1][0] != tag:
                    self.open.pop()
                self.open.pop()
            return
        self.open.pop()

    def visit(self, tag, attrs):
        self.tags.add(tag)
        values = dict(attrs)
        if tag == "html":
            self.lang = values.get("lang")
        if "id" in values:
            if values["id"] in self.ids:
                self.problem(f'id "{values["id"]}" is given twice')
            self.ids.add(values["id"])
        for attribute in ("href", "src"):
            if attribute in values:
                self.links.append((self.getpos()[0], attribute, values[attribute] or ""))
        if "style" in values:
            self.problem("inline style: the book's looks live in its CSS file")

    def finish(self):
        self.close()
        for tag, line in self.open:
            self.problems.append(f"{self.name}:{line}: <{tag}> is never closed")
        if self.lang != "zh-CN":
            self.problems.append(f'{self.name}: <html> needs lang="zh-CN"')
        for needed in ("nav", "title"):
            if needed not in self.tags:
                self.problems.append(f"{self.name}: no <{needed}>")
        if "script" in self.tags:
            self.problems.append(f"{self.name}: the book has no scripts")


def read_page(path, name):
    data = path.read_bytes()
    try:
        text = data.decode("utf-8")
    except UnicodeDecodeError as error:
        return None, [f"{name}: not UTF-8 ({error})"]
    problems = []
    if 'charset="utf-8"' not in text.lower():
        problems.append(f'{name}: no <meta charset="utf-8" />')
    parser = xml.parsers.expat.ParserCreate()
    try:
        parser.Parse(data, True)
    except xml.parsers.expat.ExpatError as error:
        problems.append(f"{name}:{error.lineno}: not well-formed: "
                        f"{xml.parsers.expat.ErrorString(error.code)}")
    page = Page(name)
    page.feed(text)
    page.finish()
    return page, problems + page.problems


def resolve(book, page_name, value):
    """The book file a link names, relative to the book, and its fragment."""
    parts = urlsplit(value)
    if parts.scheme or parts.netloc or value.startswith("/"):
        return None, None
    target = (book / page_name).parent / unquote(parts.path) if parts.path else book / page_name
    try:
        relative = target.resolve().relative_to(book.resolve())
    except ValueError:
        return None, None
    return relative.as_posix(), unquote(parts.fragment) if parts.fragment else None


def check(book):
    problems = []
    pages = {}
    for path in sorted(book.rglob("*.html")):
        name = path.relative_to(book).as_posix()
        page, found = read_page(path, name)
        problems += found
        if page:
            pages[name] = page
    if ENTRY not in pages:
        return problems + [f"{ENTRY}: the entry page is missing"], 0, 0
    files = {p.relative_to(book).as_posix() for p in book.rglob("*") if p.is_file()}
    used = set()
    graph = {name: set() for name in pages}
    for name, page in pages.items():
        for line, attribute, value in page.links:
            where = f"{name}:{line}"
            if not value:
                problems.append(f'{where}: empty {attribute}')
                continue
            target, fragment = resolve(book, name, value)
            if target is None:
                problems.append(f'{where}: {attribute}="{value}" is outside the book')
                continue
            if target not in files:
                problems.append(f'{where}: {attribute}="{value}" names no file of the book')
                continue
            used.add(target)
            if target in pages:
                graph[name].add(target)
                if fragment is not None and fragment not in pages[target].ids:
                    problems.append(f'{where}: {attribute}="{value}": '
                                    f'{target} has no id "{fragment}"')
            elif fragment is not None:
                problems.append(f'{where}: {attribute}="{value}": an anchor in a non-page')
    reached = {ENTRY}
    waiting = [ENTRY]
    while waiting:
        for target in graph[waiting.pop()] - reached:
            reached.add(target)
            waiting.append(target)
    for name in sorted(set(pages) - reached):
        problems.append(f"{name}: not reachable from {ENTRY}")
    images = sorted(f for f in files if f.startswith("images/"))
    for image in images:
        if image not in used:
            problems.append(f"{image}: no page shows it")
    return problems, len(pages), len(images)


def main(argv):
    if len(argv) != 2:
        print("usage: check_help_book.py FOLDER", file=sys.stderr)
        return 2
    book = Path(argv[1])
    if not book.is_dir():
        print(f"check_help_book: {book} is not a folder", file=sys.stderr)
        return 2
    problems, pages, images = check(book)
    for problem in problems:
        print(problem)
    if problems:
        print(f"check_help_book: {len(problems)} problems in {book}")
        return 1
    print(f"check_help_book: {pages} pages and {images} pictures, every link resolves")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
