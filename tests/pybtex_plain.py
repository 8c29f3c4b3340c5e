"""Formats a BibTeX file with pybtex's plain style, as plain.bst would:
one line per entry on standard output; a missing required field, or a file
pybtex cannot read, ends it with a message and status 1.

Usage: pybtex_plain.py FILE.bib
"""
import sys

from pybtex.backends.plaintext import Backend
from pybtex.database import parse_file
from pybtex.style.formatting.plain import Style

try:
    bibliography = parse_file(sys.argv[1], "bibtex")
    for entry in Style().format_entries(bibliography.entries.values()):
        print(entry.text.render(Backend()))
except Exception as error:  # pybtex's own errors say what and where
    print(f"{type(error).__name__}: {error}", file=sys.stderr)
    sys.exit(1)
