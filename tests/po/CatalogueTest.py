#!/usr/bin/env python3
"""Checks the two catalogues against the texts the sources and the window's form show.

Every Japanese source text must have an English translation in en.po without a
Japanese character in it; every English source text a Japanese one in ja.po; each
translation keeps its source's %1..%9 arguments and Qt mnemonic; no entry is stale.
The texts are extracted with xgettext (C++) and from the form's <string> elements.
"""
import re
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ElementTree
from pathlib import Path

KEYWORDS = ["Tr:1,1t", "Tr:1c,2,2t", "TrText:1,1t", "TrText:1c,2,2t", "Translate:1,1t", "Translate:1c,2,2t", "N_", "NC_:1c,2"]
SOURCE_FOLDERS = ["app", "platform", "components", "composer", "tools"]
JAPANESE = re.compile("[\u3000-\u30ff\u3400-\u9fff\uf900-\ufaff\uff00-\uffef]")
ARGUMENT = re.compile(r"%[1-9]")


ESCAPES = {"n": "\n", "t": "\t", "r": "\r", '"': '"', "\\": "\\"}


def unquote(text):
    return re.sub(r'\\(.)', lambda m: ESCAPES.get(m.group(1), m.group(1)), text)


def read_po(path):
    """(context, source) -> (translation, fuzzy) for every entry but the header."""
    entries = {}
    fields = {}
    field = None
    fuzzy = False
    lines = Path(path).read_text(encoding="utf-8").splitlines() + [""]
    for line in lines:
        line = line.strip()
        if line.startswith("#,") and "fuzzy" in line:
            fuzzy = True
        elif line.startswith("#~"):
            continue
        elif re.match(r"^(msgctxt|msgid|msgstr) ", line):
            field, _, rest = line.partition(" ")
            fields[field] = unquote(rest[1:-1])
        elif line.startswith('"') and field:
            fields[field] += unquote(line[1:-1])
        elif not line:
            if fields.get("msgid"):
                entries[(fields.get("msgctxt"), fields["msgid"])] = (fields.get("msgstr", ""), fuzzy)
            fields, field, fuzzy = {}, None, False
    return entries


def source_texts(root):
    files = sorted(str(p.relative_to(root)) for folder in SOURCE_FOLDERS
                   for p in (root / folder).rglob("*") if p.suffix in (".cpp", ".h"))
    with tempfile.TemporaryDirectory() as scratch:
        pot = Path(scratch) / "sources.pot"
        subprocess.run(["xgettext", "--from-code=UTF-8", "-C", "--no-location", "-o", str(pot)]
                       + [f"--keyword={k}" for k in KEYWORDS] + files, cwd=root, check=True)
        texts = set(read_po(pot)) if pot.exists() else set()
    for form in root.glob("app/*.ui"):
        for element in ElementTree.parse(form).iter("string"):
            if element.get("notr") != "true" and element.text and re.search("[A-Za-z\u3000-\uffef]", element.text):
                texts.add((element.get("comment"), element.text))
    return texts


def main():
    root = Path(__file__).resolve().parents[2]
    texts = source_texts(root)
    catalogues = {language: read_po(root / "po" / f"{language}.po") for language in ("en", "ja")}
    faults = []
    for key in sorted(texts, key=lambda k: (k[0] or "", k[1])):
        language = "en" if JAPANESE.search(key[1]) else "ja"
        translation, fuzzy = catalogues[language].get(key, ("", False))
        where = f"{language}.po: {key[0] + ' | ' if key[0] else ''}{key[1]!r}"
        if not translation or fuzzy:
            faults.append(f"{where} has no translation")
            continue
        if language == "en" and JAPANESE.search(translation):
            faults.append(f"{where} translates to Japanese characters: {translation!r}")
        if sorted(ARGUMENT.findall(translation)) != sorted(ARGUMENT.findall(key[1])):
            faults.append(f"{where} changes the arguments: {translation!r}")
        if ("&" in key[1].replace("&&", "")) != ("&" in translation.replace("&&", "")):
            faults.append(f"{where} adds or drops the mnemonic: {translation!r}")
    for language, entries in catalogues.items():
        for key in sorted(set(entries) - texts, key=lambda k: (k[0] or "", k[1])):
            faults.append(f"{language}.po: {key[1]!r} is no longer in the sources")
    for fault in faults:
        print(fault)
    print(f"{len(texts)} texts, {len(faults)} faults")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
