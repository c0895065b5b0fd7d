#!/usr/bin/env bash
# The skip list that run-tests.sh ends with: every skipped test of a JUnit
# report named with its reason, run tests left out.
# Usage: skipped_tests_test.sh SCRIPT
set -euo pipefail
script=$1
report=$(mktemp)
trap 'rm -f "$report"' EXIT
cat >"$report" <<'XML'
<?xml version="1.0" encoding="UTF-8"?>
<testsuite tests="4">
  <testcase name="cli_tests.Safety.AsAnotherUser" status="notrun">
    <skipped message="SKIP_REGULAR_EXPRESSION_MATCHED"/>
    <system-out>[ RUN      ] Safety.AsAnotherUser
/src/tests/cli/PageSafetyTest.cpp:434: Skipped
needs root to act as another user
[  SKIPPED ] Safety.AsAnotherUser (0 ms)</system-out>
  </testcase>
  <testcase name="bash_completion" status="notrun">
    <skipped message="SKIP_RETURN_CODE=77"/>
    <system-out>skipped: needs bash-completion</system-out>
  </testcase>
  <testcase name="feed_readers" status="notrun">
    <skipped message="SKIP_RETURN_CODE=77"/>
    <system-out>feedparser is not installed (python3-feedparser)
</system-out>
  </testcase>
  <testcase name="ran" status="run"><system-out>skipped: not really</system-out></testcase>
</testsuite>
XML
expected="Skipped tests (3):
  cli_tests.Safety.AsAnotherUser: needs root to act as another user
  bash_completion: needs bash-completion
  feed_readers: feedparser is not installed (python3-feedparser)"
actual=$("$script" "$report")
if [[ $actual != "$expected" ]]; then
    printf 'FAIL: skip list\n--- expected\n%s\n--- actual\n%s\n' "$expected" "$actual"
    exit 1
fi
