#!/usr/bin/env python3
"""Counts the results of one CTest run: the cases of every GoogleTest executable (from the XML
each writes), and each other CTest test (fuzz runs, tool checks) as one case.

Usage: test-summary.py LABEL CTEST_JUNIT GTEST_RESULTS_DIR
Prints 'LABEL: N passed, N failed' and the names of failed cases."""
import os
import sys
import xml.etree.ElementTree as ET


def gtest_cases(path):
    """(passed, failed names) from a GoogleTest XML report, or None when it is unreadable."""
    try:
        root = ET.parse(path).getroot()
    except (OSError, ET.ParseError):
        return None
    passed, failed = 0, []
    for case in root.iter("testcase"):
        if case.get("result", "completed") == "skipped" or case.find("skipped") is not None:
            continue
        if case.find("failure") is not None or case.find("error") is not None:
            failed.append(f"{case.get('classname')}.{case.get('name')}")
        else:
            passed += 1
    return passed, failed


def main():
    label, junit, results = sys.argv[1:4]
    passed, failed = 0, []
    for test in ET.parse(junit).getroot().iter("testcase"):
        name = test.get("name")
        ok = test.get("status") == "run" and test.find("failure") is None
        cases = gtest_cases(os.path.join(results, name + ".xml"))
        if cases is None:
            passed += ok
            failed += [] if ok else [name]
            continue
        passed += cases[0]
        failed += [f"{name}: {c}" for c in cases[1]]
        if not ok and not cases[1]:
            failed.append(f"{name}: the executable failed after its cases passed")
    for name in failed:
        print(f"  failed: {name}")
    print(f"{label}: {passed} passed, {len(failed)} failed")


if __name__ == "__main__":
    main()
