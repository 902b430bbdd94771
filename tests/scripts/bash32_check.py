#!/usr/bin/env python3
"""Every shell script of the repository parses (bash -n) and uses nothing newer than
bash 3.2, the /bin/bash of every Mac: a bash 4 or 5 feature would work here and in a
shell from Homebrew, and fail for a user who runs ./scripts/run.

Usage: bash32_check.py REPOSITORY

The constructs are those bash added in 4.0 and later (its NEWS file); comments are
not read. One more trap of bash before 4.4 is checked too: under `set -u`, expanding
an array with no elements ("${a[@]}") stops the script as an unbound variable. An
array that starts empty (a=()) must be expanded as ${a[@]+"${a[@]}"}, unless the
script tests its length against 0.
"""
import pathlib
import re
import subprocess
import sys

NEWER = [
    (r"\b(mapfile|readarray)\b", "mapfile/readarray (bash 4.0)"),
    (r"\bcoproc\b", "coproc (bash 4.0)"),
    (r"\b(declare|local|typeset)\s+-[a-zA-Z]*[Anglnu]", "declare -A/-g/-l/-n/-u (bash 4.0-4.3)"),
    (r"\$\{[#!]?\w+(\[[^]]*\])?(,,?|\^\^?)", "case conversion ${x,,} ${x^^} (bash 4.0)"),
    (r"\[\[?\s+-[vR]\s", "[[ -v ]] / [[ -R ]] (bash 4.2)"),
    (r"&>>", "&>> (bash 4.0)"),
    (r"\|&", "|& (bash 4.0)"),
    (r";;?&\s*($|\))", "case fall-through ;& or ;;& (bash 4.0)"),
    (r"\$\{\w+\[\s*-\d", "negative array index (bash 4.3)"),
    (r"\$\{\w+:[^}:]*:\s*-\d", "negative substring length (bash 4.2)"),
    (r"\$\{\w+(\[[^]]*\])?@[QEPAaKkUuL]\}", "${x@Q} transformations (bash 4.4)"),
    (r"\bwait\s+-[a-z]*n", "wait -n (bash 4.3)"),
    (r"\bread\s+(-\w+\s+)*-[a-zA-Z]*i\b", "read -i (bash 4.0)"),
    (r"\{\w+\}\s*[<>]", "{fd}> descriptor variables (bash 4.1)"),
    (r"%\([^)]*\)T", "printf %(...)T (bash 4.2)"),
    (r"\bshopt\s+-s\s+.*\b(globstar|lastpipe|autocd|direxpand|checkjobs|dirspell|globasciiranges|"
     r"inherit_errexit|localvar_inherit|assoc_expand_once|compat\d+)\b", "a shopt option of bash 4 or 5"),
    (r"\$\{?(BASHPID|EPOCHSECONDS|EPOCHREALTIME|BASH_ARGV0|SRANDOM)\b", "a variable of bash 4 or 5"),
]

EMPTY_ARRAY = re.compile(r"(?:^|[\s;(])(?:local\s+)?(\w+)=\(\)")


def shell_files(root):
    """The repository's shell scripts: by name, or by a bash first line."""
    candidates = [root / ".ci" / "run", *root.glob("scripts/*"), *root.glob("packaging/*.bash")]
    for folder in ("scripts", "tests", "packaging", ".ci"):
        candidates += (root / folder).rglob("*.sh")
    for path in sorted(set(candidates)):
        if not path.is_file():
            continue
        first = path.read_text(errors="replace").split("\n", 1)[0]
        if path.suffix in (".sh", ".bash") or re.match(r"#!.*\bbash\b", first):
            yield path


def code(line):
    """The line without its comment (a # that starts a word), roughly as bash reads it."""
    return re.sub(r"(^|\s)#.*$", r"\1", line)


def problems(path):
    lines = [code(line) for line in path.read_text().split("\n")]
    text = "\n".join(lines)
    for number, line in enumerate(lines, 1):
        for pattern, what in NEWER:
            if re.search(pattern, line):
                yield number, what
    for name in sorted(set(EMPTY_ARRAY.findall(text))):
        if re.search(r"\$\{#%s\[[@*]\]\}\"?\s+-(gt|ne|eq)\s+0" % name, text):
            continue
        guarded = re.compile(r'\$\{%s\[([@*])\]\+"?\$\{%s\[\1\]\}"?\}' % (name, name))
        for number, line in enumerate(lines, 1):
            if re.search(r"\$\{%s\[[@*]\]" % name, guarded.sub("", line)):
                yield number, f'"${{{name}[@]}}" of an array that may be empty, under set -u (bash < 4.4)'


def main():
    root = pathlib.Path(sys.argv[1]).resolve()
    files = list(shell_files(root))
    failures = 0
    for path in files:
        parsed = subprocess.run(["bash", "-n", str(path)], capture_output=True, text=True)
        if parsed.returncode != 0:
            print(f"{path.relative_to(root)}: bash -n: {parsed.stderr.strip()}")
            failures += 1
        for number, what in problems(path):
            print(f"{path.relative_to(root)}:{number}: {what}")
            failures += 1
    print(f"bash 3.2 check: {len(files)} shell scripts, {failures} problems")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
