#!/usr/bin/env python3
"""Prints one line per suite (a CTest label) for the last ctest run in a build folder: how many
of its tests passed, and which failed, did not run or were skipped; and under it what its tests
asked to be repeated there, each in an output line that starts with "SUMMARY: ".

Usage: suite_summary.py BUILD_DIR
Reads the suites, in order, from the test presets of CMakePresets.json that run one label; the
tests' labels from ctest itself; and their results from BUILD_DIR/Testing/results.xml, the JUnit
file the debug test preset writes. Exits 1 when a suite failed or the results are missing.
"""
import json
import os
import subprocess
import sys
import xml.etree.ElementTree as ElementTree

SUMMARY = "SUMMARY: "
PRESETS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "CMakePresets.json")


def suites_of_presets():
    """The labels of the test presets that each run one suite ("^unit$"), in the file's order."""
    with open(PRESETS, encoding="utf-8") as presets:
        test_presets = json.load(presets)["testPresets"]
    labels = (p.get("filter", {}).get("include", {}).get("label", "") for p in test_presets)
    return [label[1:-1] for label in labels if label.startswith("^") and label.endswith("$")]


def labels_by_test(build_dir):
    listing = subprocess.run(["ctest", "--test-dir", build_dir, "--show-only=json-v1"],
                             check=True, capture_output=True, text=True).stdout
    labels = {}
    for test in json.loads(listing)["tests"]:
        properties = {p["name"]: p["value"] for p in test.get("properties", [])}
        labels[test["name"]] = properties.get("LABELS", ["(no label)"])
    return labels


def outcome(case):
    """passed, failed, or skipped: a test that is disabled or skipped itself (SKIP_RETURN_CODE,
    SKIP_REGULAR_EXPRESSION); one that did not run for want of what it needs failed."""
    status = case.get("status")
    if status == "run":
        return "passed"
    if status == "disabled":
        return "skipped"
    skipped = case.find("skipped")
    if status == "notrun" and skipped is not None and skipped.get("message", "").startswith("SKIP_"):
        return "skipped"
    return "failed"


def main():
    if len(sys.argv) != 2:
        print("usage: suite_summary.py BUILD_DIR", file=sys.stderr)
        return 2
    build_dir = sys.argv[1]
    results = os.path.join(build_dir, "Testing", "results.xml")
    if not os.path.exists(results):
        print(f"No suite ran: {results} is missing.")
        return 1
    labels = labels_by_test(build_dir)
    suites, notes = {}, {}
    for case in ElementTree.parse(results).getroot().iter("testcase"):
        name = case.get("name")
        output = case.findtext("system-out") or ""
        for label in labels.get(name, ["(no label)"]):
            suites.setdefault(label, {"passed": [], "failed": [], "skipped": []})
            suites[label][outcome(case)].append(name)
            notes.setdefault(label, []).extend(
                f"{name}: {line[len(SUMMARY):]}" for line in output.splitlines()
                if line.startswith(SUMMARY))
    known = suites_of_presets()
    order = known + sorted(s for s in suites if s not in known)
    width = max(len(s) for s in order)
    any_failed = False
    for suite in order:
        if suite not in suites:
            print(f"{suite:<{width}}  not run: no test of this suite ran")
            any_failed = True
            continue
        tests = suites[suite]
        total = sum(len(names) for names in tests.values())
        line = f"{suite:<{width}}  {'FAILED' if tests['failed'] else 'passed'}: "
        line += f"{len(tests['passed'])} of {total} tests passed"
        if tests["failed"]:
            any_failed = True
            line += f"; failed: {', '.join(tests['failed'])}"
        if tests["skipped"]:
            line += f"; skipped: {', '.join(tests['skipped'])}"
        print(line)
        for note in notes[suite]:
            print(f"{'':<{width}}    {note}")
    return 1 if any_failed else 0


if __name__ == "__main__":
    sys.exit(main())
