#!/usr/bin/env python3
"""Counts the test cases of a JUnit XML file as ctest (--output-junit) and
pytest (--junitxml) write them:

    junit-counts.py FILE

prints "PASSED FAILED SKIPPED" on the first line, then each failed case's
name on a line of its own. A case with a failure or an error failed; so did
one ctest could not run at all (its executable missing, say), which ctest
also counts as failed. Cases skipped on purpose are skipped; cases ctest was
told are disabled are not counted, as ctest does not count them."""

import sys
import xml.etree.ElementTree

# How ctest marks a case that ran and asked to be skipped.
CTEST_SKIPS = ("SKIP_RETURN_CODE", "SKIP_REGULAR_EXPRESSION_MATCHED")


def outcome(case):
    """"passed", "failed", "skipped", or None for a disabled case."""
    status = case.get("status")
    if status == "disabled":
        return None
    if status == "fail" or case.find("failure") is not None or case.find("error") is not None:
        return "failed"
    skipped = case.find("skipped")
    if skipped is not None:
        if status == "notrun" and not skipped.get("message", "").startswith(CTEST_SKIPS):
            return "failed"
        return "skipped"
    return "passed"


def main():
    if len(sys.argv) != 2:
        raise SystemExit(__doc__)
    counts = {"passed": 0, "failed": 0, "skipped": 0}
    failed = []
    for case in xml.etree.ElementTree.parse(sys.argv[1]).iter("testcase"):
        result = outcome(case)
        if result:
            counts[result] += 1
        if result == "failed":
            name = case.get("name", "?")
            failed.append(f"{case.get('classname')}::{name}" if case.get("classname") not in (None, name) else name)
    print(counts["passed"], counts["failed"], counts["skipped"])
    for name in failed:
        print(name)


if __name__ == "__main__":
    main()
