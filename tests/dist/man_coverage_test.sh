#!/usr/bin/env bash
# The man page of tavrel against the command itself: every subcommand and
# every option that `tavrel --help` and `tavrel COMMAND --help` list is
# described in the page source. Usage: man_coverage_test.sh PAGE.scd TAVREL
set -uo pipefail
page=$1
tavrel=$2

# The first word of each line of a help section ("Options:", "Subcommands:"),
# which ends at a blank line.
section_words() {
    awk -v section="$1" '$0 == section {on = 1; next} !NF {on = 0} on {print $1}'
}

missing=0
need() {
    if ! grep -qF -- "*$1*" "$page"; then
        echo "FAIL: $page does not describe $1"
        missing=$((missing + 1))
    fi
}

help=$("$tavrel" --help)
commands=$(section_words "Subcommands:" <<<"$help")
[[ -n $commands ]] || { echo "FAIL: no subcommands in tavrel --help"; exit 1; }
for option in $(section_words "Options:" <<<"$help" | tr ',' ' '); do need "$option"; done
for command in $commands; do
    need "$command"
    for option in $("$tavrel" "$command" --help | section_words "Options:" | tr ',' ' '); do
        need "$option"
    done
done
exit $((missing > 0))
