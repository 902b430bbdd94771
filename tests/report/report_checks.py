#!/usr/bin/env python3
"""Checks what people read of Veltrin's reports, comparisons and JSON, over every
captured machine, with the tools they read them with.

Usage: report_checks.py CHECK VELTRIN CAPTURES [--schema FILE] [--capture NAME] [--screenshot FILE]

  markdown  every capture's report renders with cmark-gfm with each table whole, holds
            no raw HTML, and shows none of the capture's serial numbers or UUIDs
  html      every capture's HTML report passes tidy with nothing to say, fetches nothing,
            and holds the same headings and cells as the Markdown one
  browser   one capture's HTML report renders in headless Chromium without a request
            leaving the file (a page that does fetch is caught the same way)
  schema    every capture's --json is valid under the published schema, which is closed
  diff      --diff of a capture with itself says nothing; of two captures, exactly the
            fields their --json differ in; of something that is no snapshot, why

On a Mac a missing tool skips the check (status 77); elsewhere ./scripts/deps installs it.
"""

import argparse
import glob
import html.parser
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile
import unicodedata

SKIP = 77


def fail(message):
    print(message, file=sys.stderr)
    sys.exit(1)


def require(program, package):
    path = shutil.which(program)
    if path:
        return path
    if sys.platform == "darwin":
        print(f"{program} is not installed: skipped", file=sys.stderr)
        sys.exit(SKIP)
    fail(f"{program} is missing: install {package} (./scripts/deps does)")


def run(*command, status=0, given=None):
    done = subprocess.run(command, input=given, capture_output=True, text=True, timeout=300)
    if status is not None and done.returncode != status:
        fail(f"{' '.join(command)}: status {done.returncode}, expected {status}\n{done.stdout}\n{done.stderr}")
    return done


class Veltrin:
    def __init__(self, program, captures):
        self.program = program
        self.captures = sorted(glob.glob(os.path.join(captures, "*", "")))
        if not self.captures:
            fail(f"no captures in {captures}")

    def __call__(self, *arguments, status=0):
        return run(self.program, *arguments, status=status).stdout

    def snapshot(self, capture):
        return json.loads(self("--replay", capture, "--json"))


def name_of(capture):
    return os.path.basename(os.path.normpath(capture))


# Serial numbers and UUIDs as the tools printed them, wherever a capture holds one: a
# line or file that names a serial number or UUID, its value after the last ":" or "=".
# Masked or placeholder values ("--", "************", "00000000", "Not Specified") are no identifiers.
IDENTIFIER_NAME = re.compile(r"serial|uuid", re.IGNORECASE)
IDENTIFIER_VALUE = re.compile(r"[A-Za-z0-9][A-Za-z0-9-]{5,}")


def captured_identifiers(capture):
    found = set()
    for folder, _, files in os.walk(capture):
        for file in files:
            with open(os.path.join(folder, file), encoding="utf-8", errors="replace") as text:
                for line in text:
                    if not (IDENTIFIER_NAME.search(line) or IDENTIFIER_NAME.search(file)):
                        continue
                    value = re.split(r"[:=]", line)[-1].strip().strip("\"<> ")
                    if IDENTIFIER_VALUE.fullmatch(value) and len(set(value.replace("-", ""))) > 1:
                        found.add(value)
    return found


def string_values(value):
    if isinstance(value, dict):
        for item in value.values():
            yield from string_values(item)
    elif isinstance(value, list):
        for item in value:
            yield from string_values(item)
    elif isinstance(value, str):
        yield value


class Tables(html.parser.HTMLParser):
    """The headings and the tables of an HTML page: each table a list of rows of cell texts."""

    def __init__(self, page):
        super().__init__()
        self.headings, self.tables, self.tags = [], [], set()
        self._text = None
        self.feed(page)

    def handle_starttag(self, tag, attributes):
        self.tags.add(tag)
        if tag == "table":
            self.tables.append([])
        elif tag == "tr":
            self.tables[-1].append([])
        elif tag in ("td", "th", "h1", "h2", "h3"):
            self._text = ""

    def handle_endtag(self, tag):
        if tag in ("td", "th"):
            self.tables[-1][-1].append(self._text.strip())
            self._text = None
        elif tag in ("h1", "h2", "h3"):
            self.headings.append((tag, self._text.strip()))
            self._text = None

    def handle_data(self, data):
        if self._text is not None:
            self._text += data


def markdown_tables(text):
    """Each table of the Markdown: a header line, its delimiter line, then rows, as cells
    split at the pipes that are not escaped, with the escapes taken off."""
    tables, lines = [], text.split("\n")
    for index, line in enumerate(lines):
        if index + 1 < len(lines) and line.startswith("|") and re.fullmatch(r"\|( --- \|)+", lines[index + 1]):
            rows, at = [line], index + 2
            while at < len(lines) and lines[at].startswith("|"):
                rows.append(lines[at])
                at += 1
            tables.append([cells_of(row) for row in rows])
    return tables


def cells_of(row):
    cells = re.split(r"(?<!\\)\|", row)[1:-1]
    return [re.sub(r"\\(.)", r"\1", cell.strip()) for cell in cells]


def check_markdown(veltrin, arguments):
    cmark = require("cmark-gfm", "cmark-gfm")
    exercised = 0
    for capture in veltrin.captures:
        name = name_of(capture)
        report = veltrin("--replay", capture, "--report")
        rendered = run(cmark, "-e", "table", given=report).stdout
        if "raw HTML omitted" in rendered:
            fail(f"{name}: the Markdown report holds raw HTML")
        expected = markdown_tables(report)
        page = Tables(rendered)
        if len(page.tables) != len(expected) or not expected:
            fail(f"{name}: {len(expected)} tables written, {len(page.tables)} rendered")
        for written, shown in zip(expected, page.tables):
            widths = {len(row) for row in written}
            if shown != written or len(widths) != 1:
                fail(f"{name}: a table does not render whole:\n{written}\n{shown}")

        identifiers = captured_identifiers(capture)
        leaked = [value for value in identifiers if value in report]
        if leaked:
            fail(f"{name}: the report shows {leaked}")
        # The same identifiers do show once asked for, so the check above sees them.
        carried = [value for value in identifiers if value in string_values(veltrin.snapshot(capture))]
        unmasked = veltrin("--replay", capture, "--report", "--unmasked")
        if any(value not in unmasked for value in carried):
            fail(f"{name}: --unmasked does not show {carried}")
        exercised += len(carried)
    if exercised == 0:
        fail("no capture carries a serial number or UUID into its snapshot: the masking check sees nothing")


# Anything a page could fetch with.
FETCHES = re.compile(r"<(script|img|link|iframe|object|embed|video|audio|source)\b|\b(src|href)=|url\(|@import",
                     re.IGNORECASE)


def check_html(veltrin, arguments):
    tidy = require("tidy", "tidy")
    # macOS still ships a tidy of 2006, which knows no HTML5.
    version = re.search(r"version (\d+)", run(tidy, "-v").stdout)
    if not version or int(version.group(1)) < 5:
        if sys.platform == "darwin":
            print("tidy is older than HTML5: skipped (brew install tidy-html5)", file=sys.stderr)
            sys.exit(SKIP)
        fail(f"{tidy} is older than HTML5: install tidy 5 or later")
    cmark = require("cmark-gfm", "cmark-gfm")
    with tempfile.TemporaryDirectory() as scratch:
        for capture in veltrin.captures:
            name = name_of(capture)
            page, markdown = os.path.join(scratch, name + ".html"), os.path.join(scratch, name + ".md")
            veltrin("--replay", capture, "--report", page)
            veltrin("--replay", capture, "--report", markdown)
            checked = run(tidy, "-e", "-q", page, status=None)
            if checked.returncode != 0:
                fail(f"{name}: tidy -e, status {checked.returncode}:\n{checked.stderr}")
            with open(page, encoding="utf-8") as file:
                text = file.read()
            if FETCHES.search(text):
                fail(f"{name}: the HTML report could fetch something: {FETCHES.search(text).group(0)}")
            # Same content: the headings and cells of the Markdown as GitHub renders it, apart
            # from the minute each was made in.
            written, rendered = Tables(text), Tables(run(cmark, "-e", "table", markdown).stdout)
            for page in (written, rendered):
                page.tables[0] = [row for row in page.tables[0] if row[0] != "Date"]
            if (written.headings, written.tables) != (rendered.headings, rendered.tables):
                fail(f"{name}: the HTML and Markdown reports differ")


def requests_leaving(netlog, page):
    """The URLs a page loaded from `page` asked the network for, from Chromium's net log:
    requests on behalf of a file:// page carry it in their isolation key."""
    with open(netlog, encoding="utf-8") as file:
        log = json.load(file)
    start = log["constants"]["logEventTypes"]["URL_REQUEST_START_JOB"]
    urls = []
    for event in log["events"]:
        parameters = event.get("params", {})
        if event["type"] == start and "file://" in parameters.get("network_isolation_key", ""):
            urls.append(parameters["url"])
    return urls


def render(chromium, page, scratch, screenshot):
    profile = tempfile.mkdtemp(dir=scratch)
    netlog = os.path.join(scratch, "net.json")
    run(chromium, "--headless", "--no-sandbox", "--disable-gpu", "--disable-background-networking",
        "--disable-component-update", "--disable-sync", "--no-first-run", f"--user-data-dir={profile}",
        # Nothing could reach the network in any case; the log says whether anything tried.
        "--host-resolver-rules=MAP * ~NOTFOUND", f"--log-net-log={netlog}", f"--screenshot={screenshot}",
        "--window-size=1100,2900", "file://" + page)
    if not os.path.getsize(screenshot):
        fail(f"Chromium drew nothing for {page}")
    return requests_leaving(netlog, page)


def check_browser(veltrin, arguments):
    chromium = require("chromium", "chromium")
    capture = os.path.join(os.path.dirname(os.path.normpath(veltrin.captures[0])), arguments.capture)
    with tempfile.TemporaryDirectory() as scratch:
        # A page that does fetch: the log must show it, or it shows nothing at all.
        control = os.path.join(scratch, "control.html")
        with open(control, "w", encoding="utf-8") as file:
            file.write('<!DOCTYPE html><title>c</title><img alt="" src="https://veltrin.invalid/x.png">')
        if not render(chromium, control, scratch, os.path.join(scratch, "control.png")):
            fail("the net log shows no request even for a page that fetches an image")

        page = os.path.join(scratch, "report.html")
        veltrin("--replay", capture, "--report", page)
        screenshot = arguments.screenshot or os.path.join(scratch, "report.png")
        leaving = render(chromium, page, scratch, screenshot)
        if leaving:
            fail(f"the HTML report of {arguments.capture} asked for {leaving}")


def closed(schema, where="schema"):
    """Every object of the schema names its properties, requires them all and allows no other."""
    if isinstance(schema, dict):
        if "properties" in schema:
            if schema.get("additionalProperties") is not False:
                fail(f"{where} allows properties it does not name")
            if sorted(schema.get("required", [])) != sorted(schema["properties"]):
                fail(f"{where} does not require every property it names")
        for key, value in schema.items():
            closed(value, f"{where}/{key}")


def check_schema(veltrin, arguments):
    try:
        import jsonschema
    except ImportError:
        require("jsonschema (python3)", "python3-jsonschema")
    with open(arguments.schema, encoding="utf-8") as file:
        schema = json.load(file)
    jsonschema.Draft202012Validator.check_schema(schema)
    closed(schema)
    validator = jsonschema.Draft202012Validator(schema, format_checker=jsonschema.FormatChecker())
    for capture in veltrin.captures:
        snapshot = veltrin.snapshot(capture)
        errors = [f"{'/'.join(map(str, error.absolute_path))}: {error.message}" for error in validator.iter_errors(snapshot)]
        if errors:
            fail(f"{name_of(capture)}: --json is not valid under the schema:\n" + "\n".join(errors))
    # A field more or one less is refused, so the schema and the program cannot drift apart.
    extra = json.loads(json.dumps(snapshot))
    extra["cpu"]["socket"] = "LGA1151"
    missing = json.loads(json.dumps(snapshot))
    del missing["mainboard"]["serial"]
    for changed in (extra, missing):
        if validator.is_valid(changed):
            fail("the schema accepts a snapshot with a field more or less")


# The comparison's rules, as --diff documents them.
SELF_CHANGING = {"mainboard.uptime", "memory.used", "memory.pressure"}
MEMBER_KEYS = ("bank", "slot", "name", "identifier")


def shown(value):
    if value is True or value is False:
        return "true" if value else "false"
    return str(value)


def member_keys(members):
    keys, seen = [], {}
    field = next((key for key in MEMBER_KEYS if members and key in members[0]), None)
    for position, member in enumerate(members, 1):
        key = member[field].strip() if field else ""
        key = key or f"#{position}"
        seen[key] = seen.get(key, 0) + 1
        keys.append(key if seen[key] == 1 else f"{key} #{seen[key]}")
    return keys


def expected_differences(before, after, path="", at=""):
    """(field, old, new) for each difference, a member missing on one side as None."""
    if isinstance(before, dict):
        for name in before:
            if name in ("id", "schemaVersion"):
                continue
            yield from expected_differences(before[name], after[name], f"{path}.{name}".lstrip("."),
                                            f"{at}.{name}".lstrip("."))
    elif isinstance(before, list) and (before or after) and isinstance((before or after)[0], dict):
        old, new = member_keys(before), member_keys(after)
        for key, member in zip(old, before):
            if key in new:
                yield from expected_differences(member, after[new.index(key)], path, f"{at}[{key}]")
            else:
                yield (f"{at}[{key}]", "member", None)
        for key in new:
            if key not in old:
                yield (f"{at}[{key}]", None, "member")
    elif path not in SELF_CHANGING:
        same = before == after if not isinstance(before, str) else (
            unicodedata.normalize("NFC", before) == unicodedata.normalize("NFC", after))
        if not same:
            yield (at, shown(before), shown(after))


DIFF_PAIRS = [
    ("opencore-asrock-z390-phantom-itx-i7-9700", "opencore-asrock-z390-nvram-hidden"),
    ("pc-asrock-z390-phantom-itx-i7-9700", "opencore-asrock-z390-phantom-itx-i7-9700"),
    ("mbp15-1-i7-8750h", "oclp-macbookpro11-5-as-15-1"),
    ("m3max-12p4e-sysctl-hw", "m3max-12p4e-rosetta"),
    ("mbp15-1-i7-8750h", "long-values-composite"),
    ("dmi-gigabyte-z790-aorus-elite-ax", "dmi-asus-rog-strix-z790-a-gaming-wifi"),
    ("linux-thinkpad-x280-uhd620", "linux-hp-z600-quadro-fx3800"),
    ("opencore-bigsur-lilu-weg-restrictevents", "opencore-ryzen-bigsur-smcamdprocessor"),
    ("hack-xiaomi-pro-bigsur-sip-disabled", "opencore-catalina-sip-unknown-custom"),
    ("linux-debian-testing-prime-generator", "linux-ubuntu-virtualbox-vtune-secureboot"),
]


def check_diff(veltrin, arguments):
    for capture in veltrin.captures:
        said = veltrin("--diff", capture, capture)
        if said:
            fail(f"{name_of(capture)} compared with itself:\n{said}")

    folder = os.path.dirname(os.path.normpath(veltrin.captures[0]))
    with tempfile.TemporaryDirectory() as scratch:
        for first, second in DIFF_PAIRS:
            a, b = os.path.join(folder, first), os.path.join(folder, second)
            expected = list(expected_differences(veltrin.snapshot(a), veltrin.snapshot(b)))
            # A side given as its --json file reads as the capture does.
            saved = os.path.join(scratch, first + ".json")
            with open(saved, "w", encoding="utf-8") as file:
                file.write(veltrin("--replay", a, "--json"))
            for left in (a, saved):
                found = json.loads(veltrin("--diff", left, b, "--json", "--unmasked", status=1))["differences"]
                listed = [as_listed(entry) for entry in found]
                if listed != expected:
                    fail(f"--diff {first} {second} lists\n{listed}\nbut their --json differ in\n{expected}")
                if any(entry["area"] != entry["field"].split(".")[0].split("[")[0] for entry in found):
                    fail(f"--diff {first} {second}: an entry names the wrong area")
            lines = veltrin("--diff", a, b, "--unmasked", status=1).splitlines()
            written = [f"{field}: {text(old)} \u2192 {text(new)}" for field, old, new in
                       ((entry["field"], entry["old"], entry["new"]) for entry in found)]
            if lines != written:
                fail(f"--diff {first} {second} prints\n{lines}\nnot\n{written}")

        masked = veltrin("--diff", os.path.join(folder, "mbp15-1-i7-8750h"), os.path.join(folder, "long-values-composite"),
                         status=1)
        leaked = captured_identifiers(os.path.join(folder, "long-values-composite")) & set(re.findall(r"[\w-]+", masked))
        if leaked or "\u2022\u2022\u2022\u2022\u2022\u2022\u2022\u2022Q6L8" not in masked:
            fail(f"--diff does not mask identifiers:\n{masked}")

        # Trouble, with its reason: a folder that is no capture, a file that is no snapshot.
        history = os.path.join(folder, "long-values-composite", "bench-history.json")
        for side, reason in ((folder, "is not a capture folder"), (history, "is not Veltrin's JSON"),
                             (os.path.join(folder, "long-values-composite", "sysctl.txt"), "is not Veltrin's JSON"),
                             (os.path.join(scratch, "missing.json"), "does not exist")):
            done = run(veltrin.program, "--diff", side, saved, status=2)
            if reason not in done.stderr or done.stdout:
                fail(f"--diff {side}: {done.stderr!r}, expected a line saying it {reason}")


def as_listed(entry):
    """An entry of --diff --json as expected_differences lists it: a member found on one
    side only (its other side null) by its presence alone."""
    old, new = entry["old"], entry["new"]
    if old is None or new is None:
        return (entry["field"], None if old is None else "member", None if new is None else "member")
    return (entry["field"], old, new)


def text(value):
    if value is None:
        return "(none)"
    return value or "(empty)"


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("check", choices=["markdown", "html", "browser", "schema", "diff"])
    parser.add_argument("veltrin")
    parser.add_argument("captures")
    parser.add_argument("--schema")
    parser.add_argument("--capture", default="opencore-asrock-z390-phantom-itx-i7-9700")
    parser.add_argument("--screenshot")
    arguments = parser.parse_args()
    checks = {"markdown": check_markdown, "html": check_html, "browser": check_browser, "schema": check_schema,
              "diff": check_diff}
    checks[arguments.check](Veltrin(arguments.veltrin, arguments.captures), arguments)


if __name__ == "__main__":
    main()
