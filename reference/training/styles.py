#!/usr/bin/python3
"""References written out by real citation styles, read back by the parser.

Takes labelled references whose parts are plain enough to know exactly (the
authors in one of three regular forms, a four-digit year, a title, and a
journal, a book it is in or a publisher), makes CSL items of them, has
pandoc's citeproc write them in a dozen styles, reads every written reference
with `titlefixer reference -l` and counts, per style and field, the records
that come out right (an author list cut short by "et al." is right when
the names it gives are). The fields are compared as the trainer compares them:
no case, and letters and digits only.

  reference/training/styles.py TITLEFIXER REFDATA [COUNT] [SEED] [--misses STYLE FIELD] [--styles A,B,...]
  reference/training/styles.py --write OUT.xml REFDATA

The references measured are one in four of those usable (by a hash of the
title), and the styles a dozen common ones (--styles names others: styles
neither measured nor trained on tell how the parser does on styles it has
never met). With --write, the other three in
four are written, each in two styles drawn from another list that shares no
style with the measured one, as labelled references the trainer can learn
from: every part of the item is put in the style's output between marks that
say what it is, and every word is labelled by the part it lies in (a word
outside every part, like "pp." or "In", by the part after it).

Needs pandoc and the citation-style-language-styles package (scripts/deps.sh
installs both).
"""
import html
import json
import os
import random
import re
import subprocess
import sys
import tempfile
import unicodedata
import zlib
import xml.etree.ElementTree as ET

STYLES = [
    "apa", "ieee", "vancouver", "nature", "chicago-author-date",
    "harvard-cite-them-right", "modern-language-association",
    "american-chemical-society", "american-geophysical-union",
    "elsevier-harvard", "springer-basic-author-date", "american-medical-association",
]
# Styles the written training references are drawn from: none of them is
# measured above, nor a variant of one that is.
TRAINING_STYLES = [
    "acm-sig-proceedings", "american-anthropological-association", "american-institute-of-physics",
    "american-physics-society", "american-political-science-association",
    "american-sociological-association", "annual-reviews", "association-for-computing-machinery",
    "biomed-central", "bmj", "cell", "chicago-fullnote-bibliography", "copernicus-publications",
    "council-of-science-editors", "elsevier-with-titles", "emerald-harvard", "frontiers",
    "hydrological-sciences-journal", "institute-of-physics-numeric", "iso690-author-date-en",
    "iso690-numeric-en", "multidisciplinary-digital-publishing-institute",
    "oxford-university-press-humsoc", "plos", "pnas", "royal-society-of-chemistry", "sage-harvard",
    "sage-vancouver", "springer-lecture-notes-in-computer-science", "springer-physics-brackets",
    "taylor-and-francis-chicago-author-date", "taylor-and-francis-national-library-of-medicine",
    "the-lancet",
]
STYLE_DIR = "/usr/share/citation-style-language/styles"

INITIALS = re.compile(r"^(?:[A-Z]\.(?:[ -]?))+$")
VANCOUVER = re.compile(r"^([A-Z][\w'’-]+(?: [A-Z][\w'’-]+)?) ([A-Z]{1,3})$")
GIVEN_FIRST = re.compile(r"^((?:(?:[A-Z]\.|[A-Z][a-z]+) ?)+) ([A-Z][\w'’-]+)$")
GIVEN = re.compile(r"^(?:[A-Z]\.|[A-Z][a-z]+)(?:[ -]?(?:[A-Z]\.|[A-Z][a-z]+))*$")
FAMILY = re.compile(r"^[A-Z][\w'’-]+(?: [A-Z][\w'’-]+)?$")


def Normal(s, form="NFKC"):
    # Compatibility form: the parser writes ligatures out ("fi" for U+FB01),
    # which the citation styles' output keeps.
    return "".join(c for c in unicodedata.normalize(form, s).lower() if c.isalnum())


def Clean(s):
    s = " ".join(s.split())
    s = s.strip(" .,;:")
    if len(s) > 1 and s[0] in "“\"'‘" and s[-1] in "”\"'’":
        s = s[1:-1].strip(" .,;:")
    s = s.rstrip(" .,;:")
    return s


def Names(text):
    """The authors as (family, given) pairs when they are in one regular
    form, else None."""
    text = " ".join(text.split()).rstrip(" .,;")
    if re.search(r"et al|\bed\b|\beds\b|\(|\)|[0-9]", text, re.I):
        return None
    text = re.sub(r",?\s*(?:&|\band\b)\s*", ", ", text)
    pieces = [p.strip() for p in text.split(",") if p.strip()]
    if all(VANCOUVER.match(p) for p in pieces):
        return [(VANCOUVER.match(p).group(1), ". ".join(VANCOUVER.match(p).group(2)) + ".") for p in pieces]
    if all(GIVEN_FIRST.match(p) for p in pieces):
        return [(GIVEN_FIRST.match(p).group(2), GIVEN_FIRST.match(p).group(1).strip()) for p in pieces]
    # Family, I. I., Family, I.
    if len(pieces) % 2 == 0 and all(FAMILY.match(pieces[i]) and (GIVEN.match(pieces[i + 1]) or INITIALS.match(pieces[i + 1] + "."))
                                    for i in range(0, len(pieces), 2)):
        return [(pieces[i], pieces[i + 1]) for i in range(0, len(pieces), 2)]
    return None


def Editors(text):
    text = " ".join(text.split())
    text = re.sub(r"^\(?(?:In:?|[Ee]dited by\.?|[Ee]d\.)\s+", "", text)
    text = re.sub(r",?\s*\(?(?:[Ee]ds?|[Ee]ditors?|Hrsg)\.?\)?[,.;]*$", "", text)
    return Names(text)


def Item(sequence, key):
    parts = {}
    for child in sequence:
        parts.setdefault(child.tag, []).append("".join(child.itertext()))
    if not all(t in parts for t in ("author", "date", "title")):
        return None
    if any(t in parts for t in ("translator", "genre", "note", "url", "source", "medium", "director")):
        return None
    names = Names(parts["author"][0])
    year = re.search(r"\b(1[6-9]\d\d|20[0-2]\d)\b", parts["date"][0])
    title = Clean(parts["title"][0])
    if not names or not year or len(title) < 8 or re.search(r"[\[\]()]", title):
        return None
    item = {"id": key, "author": [{"family": f, "given": g} for f, g in names],
            "issued": {"date-parts": [[int(year.group(1))]]}, "title": title}
    extra = {}
    if "editor" in parts:
        editors = Editors(parts["editor"][0])
        if not editors:
            return None
        extra["editor"] = [{"family": f, "given": g} for f, g in editors]
    if "edition" in parts:
        m = re.search(r"\b(\d+)(?:st|nd|rd|th)\b", parts["edition"][0])
        if not m:
            return None
        extra["edition"] = m.group(1)
    if "doi" in parts:
        m = re.search(r"10\.\d{4,}/\S+", parts["doi"][0])
        if not m:
            return None
        extra["DOI"] = m.group(0).rstrip(".,;")
    volume = issue = None
    if "volume" in parts:
        m = re.match(r"^\D{0,6}?(\d+)\s*(?:\((\d+)\))?[.,:]?$", parts["volume"][0].strip())
        if not m:
            return None
        volume, issue = m.group(1), m.group(2)
    pages = None
    if "pages" in parts:
        m = re.search(r"(\d+)\s*[-–]+\s*(\d+)", parts["pages"][0])
        if m:
            pages = m.group(1) + "-" + m.group(2)
    if "journal" in parts:
        if not volume:
            return None
        item.update({"type": "article-journal", "container-title": Clean(parts["journal"][0]), "volume": volume})
        if issue:
            item["issue"] = issue
        if pages:
            item["page"] = pages
    elif "container-title" in parts:
        container = Clean(re.sub(r"^(?:[Ii]n:?\s+)+", "", parts["container-title"][0].strip()))
        if "publisher" not in parts and not re.search(r"proceedings|conference|symposium|workshop", container, re.I):
            return None
        item["type"] = "paper-conference" if re.search(r"proceedings|conference|symposium|workshop", container, re.I) else "chapter"
        item["container-title"] = container
        if pages:
            item["page"] = pages
    elif "publisher" in parts and "pages" not in parts:
        item["type"] = "book"
    else:
        return None
    if "editor" in extra and item["type"] not in ("chapter", "paper-conference"):
        return None
    item.update(extra)
    if "publisher" in parts:
        item["publisher"] = Clean(parts["publisher"][0])
        if "location" in parts:
            item["publisher-place"] = Clean(parts["location"][0])
    return item


def Render(items, style, work):
    bib = os.path.join(work, "items.json")
    with open(bib, "w", encoding="utf-8") as f:
        json.dump(items, f, ensure_ascii=False)
    doc = os.path.join(work, "doc.md")
    with open(doc, "w", encoding="utf-8") as f:
        f.write("---\nnocite: '@*'\n---\n")
    out = subprocess.run(["pandoc", doc, "--citeproc", "--bibliography", bib,
                          "--csl", os.path.join(STYLE_DIR, style + ".csl"), "-t", "html"],
                         check=True, capture_output=True, text=True).stdout
    written = {}
    for m in re.finditer(r'<div id="ref-([^"]+)" class="csl-entry"[^>]*>(.*?)</div>\s*(?=<div id="ref-|</div>)', out, re.S):
        # A block (a style's display="block") is a line of its own: a space.
        text = re.sub(r"<[^>]+>", "", re.sub(r"</?div[^>]*>", " ", m.group(2)))
        written[m.group(1)] = " ".join(html.unescape(text).split())
    return written


def Measured(item):
    # (The split keeps the canonical form it was made with: the references
    # learnt from stay the same.)
    return zlib.crc32(Normal(item["title"], "NFC").encode()) % 4 == 0


# The part each marked field of an item is, as the labelled data tags it.
MARKED = {"DOI": "doi", "title": "title", "container-title": None, "volume": "volume", "issue": "volume",
          "page": "pages", "publisher": "publisher", "publisher-place": "location"}
END = "\ue0ff"
TAGS = ["citation-number", "author", "date", "title", "journal", "container-title", "volume",
        "pages", "publisher", "location", "doi", "editor", "edition"]


def Marked(item):
    out = dict(item)
    for field, tag in MARKED.items():
        if field in item:
            if tag is None:
                tag = "journal" if item["type"] == "article-journal" else "container-title"
            out[field] = chr(0xE000 + TAGS.index(tag)) + item[field] + END
    # An editor's family name is marked; the style writes the rest of the
    # name (initials, its role) around it.
    if "editor" in item:
        out["editor"] = [{"family": chr(0xE000 + TAGS.index("editor")) + e["family"] + END, "given": e["given"]}
                         for e in item["editor"]]
    return out


EDITOR_TAIL = re.compile(r"^\(?(?:(?:eds?|editors?|hrsg|dir|éd)\.?|[A-Z]{1,3}|(?:[A-Z]\.[ -]?)+)\)?[.,;:]*$", re.I)


def Labelled(text, year):
    """The written reference as (tag, words) parts, or None when its marks
    do not nest as they should."""
    words, tag, now = [], [], None
    for word in text.split():
        plain, first = "", None
        for c in word:
            if 0xE000 <= ord(c) < 0xE000 + len(TAGS):
                if now is not None:
                    return None
                now = TAGS[ord(c) - 0xE000]
            elif c == END:
                if now is None:
                    return None
                now = None
            else:
                plain += c
                if first is None and c.isalnum():
                    first = now
        if not plain:
            continue
        if first is None and now is not None:
            first = now
        words.append(plain)
        tag.append(first)
    if now is not None or not words:
        return None
    if re.fullmatch(r"[\[(]?\d{1,3}[.)\]]?", words[0]):
        tag[0] = "citation-number"
    for i, w in enumerate(words):
        if tag[i] is None and re.search(r"(?<!\d)%d(?!\d)" % year, w):
            tag[i] = "date"
    start = 1 if tag[0] == "citation-number" else 0
    i = start
    while i < len(words) and tag[i] is None:
        tag[i] = "author"
        i += 1
    if i == start:
        return None
    # Initials and the role after an editor's family name are the editor's.
    for i in range(1, len(words)):
        if tag[i] is None and tag[i - 1] == "editor" and EDITOR_TAIL.match(words[i]):
            tag[i] = "editor"
    for i in range(len(words) - 1, -1, -1):
        if tag[i] is None:
            tag[i] = tag[i + 1] if i + 1 < len(words) else None
    for i in range(len(words)):
        if tag[i] is None:
            tag[i] = tag[i - 1]
    parts = []
    for w, t in zip(words, tag):
        if parts and parts[-1][0] == t:
            parts[-1][1].append(w)
        else:
            parts.append((t, [w]))
    return [(t, " ".join(ws)) for t, ws in parts]


def Write(out_path, items):
    rng = random.Random(1)
    pool = [item for item in items if not Measured(item)]
    by_style = {}
    for item in pool:
        for style in rng.sample(TRAINING_STYLES, 2):
            by_style.setdefault(style, []).append(Marked(item))
    written, dropped = [], 0
    with tempfile.TemporaryDirectory() as work:
        for style in TRAINING_STYLES:
            some = by_style.get(style, [])
            texts = Render(some, style, work)
            for item in some:
                parts = Labelled(texts.get(item["id"], ""), item["issued"]["date-parts"][0][0])
                if parts is None:
                    dropped += 1
                else:
                    written.append((item["id"], style, parts))
    written.sort()
    with open(out_path, "w", encoding="utf-8") as f:
        f.write('<?xml version="1.0" encoding="UTF-8"?>\n<!-- Written by reference/training/styles.py --write'
                ' from ../shared/refdata (BSD-2-Clause, see LICENSE); do not edit. -->\n<dataset>\n')
        for key, style, parts in written:
            f.write('  <sequence>\n')
            for tag, text in parts:
                f.write("    <%s>%s</%s>\n" % (tag, html.escape(text, quote=False), tag))
            f.write('  </sequence>\n')
        f.write('</dataset>\n')
    print("%d written, %d dropped (marks that did not nest)" % (len(written), dropped))


def Got(record):
    families = [a.get("family", a.get("literal", "")) for a in record.get("author", [])]
    year = record.get("issued", {}).get("date-parts", [[None]])[0][0]
    return {"title": Normal(record.get("title", "")), "families": [Normal(f) for f in families],
            "year": year, "container": Normal(record.get("container-title", "")), "kind": record.get("type")}


def Wanted(item):
    return {"title": Normal(item["title"]), "families": [Normal(a["family"]) for a in item["author"]],
            "year": item["issued"]["date-parts"][0][0], "container": Normal(item.get("container-title", "")),
            "kind": item["type"]}


def Usable(refdata):
    items = []
    for name in sorted(os.listdir(refdata)):
        if name.endswith(".xml"):
            for n, sequence in enumerate(ET.parse(os.path.join(refdata, name)).getroot()):
                item = Item(sequence, "r%s%d" % (name[0], n))
                if item:
                    items.append(item)
    return items


def main(argv):
    if len(argv) == 4 and argv[1] == "--write":
        return Write(argv[2], Usable(argv[3]))
    misses = None
    styles = STYLES
    if "--styles" in argv:
        i = argv.index("--styles")
        styles = argv[i + 1].split(",")
        argv = argv[:i] + argv[i + 2:]
    if "--misses" in argv:
        i = argv.index("--misses")
        misses = (argv[i + 1], argv[i + 2])
        argv = argv[:i] + argv[i + 3:]
    if len(argv) < 3:
        sys.exit(__doc__)
    titlefixer, refdata = argv[1], argv[2]
    count = int(argv[3]) if len(argv) > 3 else 100000
    seed = int(argv[4]) if len(argv) > 4 else 1
    items = [item for item in Usable(refdata) if Measured(item)]
    random.Random(seed).shuffle(items)
    items = items[:count]
    kinds = {}
    for item in items:
        kinds[item["type"]] = kinds.get(item["type"], 0) + 1
    print("%d references (%s)" % (len(items), ", ".join("%s %d" % k for k in sorted(kinds.items()))))
    fields = ["title", "families", "year", "container", "kind"]
    totals = {f: [0, 0] for f in fields}
    print("%-28s" % "style" + "".join("%11s" % f for f in fields))
    with tempfile.TemporaryDirectory() as work:
        for style in styles:
            written = Render(items, style, work)
            keys = list(written)  # as the style orders them: a dash repeats the names before it
            lines = "\n".join(written[k] for k in keys) + "\n"
            out = subprocess.run([titlefixer, "reference", "-l"], input=lines, check=True,
                                 capture_output=True, text=True).stdout
            records = json.loads(out)
            if len(records) != len(keys):
                sys.exit("%s: %d lines gave %d records" % (style, len(keys), len(records)))
            by_id = {item["id"]: item for item in items}
            right = {f: [0, 0] for f in fields}
            for key, record in zip(keys, records):
                want, got = Wanted(by_id[key]), Got(record)
                # A style that prints no title for some works (physics
                # journals' "Y. Sagiv, J. ACM 27, 633 (1981).") wants none.
                if want["title"] not in Normal(written[key]):
                    want["title"] = ""
                # (Nor a book or journal it does not print: not scored.)
                if want["container"] not in Normal(written[key]):
                    want["container"] = ""
                for f in fields:
                    if f == "container" and not want[f]:
                        continue
                    right[f][1] += 1
                    if want[f] == got[f] or (f == "families" and got[f][-1:] == ["others"]
                                             and len(got[f]) > 1 and got[f][:-1] == want[f][:len(got[f]) - 1]):
                        right[f][0] += 1
                    elif misses and misses == (style, f):
                        print("  %s\n    want %s\n    got  %s" % (written[key], want[f], got[f]))
            for f in fields:
                totals[f][0] += right[f][0]
                totals[f][1] += right[f][1]
            print("%-28s" % style + "".join("%10.2f%%" % (100.0 * right[f][0] / max(1, right[f][1])) for f in fields))
    print("%-28s" % "all" + "".join("%10.2f%%" % (100.0 * totals[f][0] / max(1, totals[f][1])) for f in fields))


if __name__ == "__main__":
    main(sys.argv)
