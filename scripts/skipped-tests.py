#!/usr/bin/env python3
"""Lists the tests a ctest run skipped, each with its reason, from the run's
JUnit report (ctest --output-junit FILE): the message of a GoogleTest skip,
or the "skipped: ..." line (else the last line) a script printed before it
exited with the skip code. Usage: skipped-tests.py REPORT"""
import sys
import xml.etree.ElementTree as ElementTree


def reason(output):
    lines = [line.strip() for line in output.splitlines() if line.strip()]
    for index, line in enumerate(lines):
        if line.endswith(": Skipped"):
            following = lines[index + 1] if index + 1 < len(lines) else ""
            return following if following and not following.startswith("[") else "no reason given"
    for line in lines:
        if line.startswith("skipped:"):
            return line[len("skipped:"):].strip()
    return lines[-1] if lines else "no reason given"


def main():
    skipped = []
    for case in ElementTree.parse(sys.argv[1]).getroot().iter("testcase"):
        if case.find("skipped") is not None:
            skipped.append((case.get("name"), reason(case.findtext("system-out") or "")))
    if not skipped:
        print("No test was skipped.")
        return 0
    print(f"Skipped tests ({len(skipped)}):")
    for name, why in skipped:
        print(f"  {name}: {why}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
