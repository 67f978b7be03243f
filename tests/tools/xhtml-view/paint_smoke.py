#!/usr/bin/env python3
"""Paints every page of the given folders with xhtml-view --png under Wine, one process per
page: each must end within a generous bound and leave a picture of the client area, whatever
the page claims. The pictures stay in --pictures for a person to look at.

Usage: paint_smoke.py --arch ARCH --view XHTML_VIEW --pictures DIR FOLDER...
"""
import argparse
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.dirname(os.path.dirname(
    os.path.dirname(os.path.abspath(__file__))))), "tools", "xhtml-view"))
from pagerender import render  # noqa: E402

# Not a speed check: a page that has not finished by then never will.
LIMIT_SECONDS = 30


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--arch", required=True)
    parser.add_argument("--view", required=True)
    parser.add_argument("--pictures", required=True)
    parser.add_argument("folders", nargs="+")
    args = parser.parse_args()
    os.makedirs(args.pictures, exist_ok=True)
    pages = sorted(os.path.join(folder, name) for folder in args.folders
                   for name in os.listdir(folder))
    failed = []
    for page in pages:
        name = os.path.splitext(os.path.basename(page))[0]
        outcome, seconds = render(args.view, args.arch, page,
                                  os.path.join(args.pictures, name + ".png"), LIMIT_SECONDS)
        print(f"{name}: {outcome}, {seconds:.1f} s of processor time")
        if outcome != "ok":
            failed.append(name)
    print(f"{len(pages) - len(failed)} of {len(pages)} pages painted")
    if not pages or failed:
        sys.exit(1)


if __name__ == "__main__":
    main()
