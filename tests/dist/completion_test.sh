#!/usr/bin/env bash
# The bash completion of tavrel, driven as bash drives it: the completion
# function is called with COMP_WORDS/COMP_CWORD set, and its COMPREPLY is
# compared with the expected words. Usage: completion_test.sh SCRIPT TAVREL
# Exits 77 (skipped) when bash-completion is not installed.
set -uo pipefail
script=$1
tavrel=$2
if [[ ! -r /usr/share/bash-completion/bash_completion ]]; then
    echo "skipped: needs bash-completion (scripts/install-deps.sh --package)"
    exit 77
fi
source /usr/share/bash-completion/bash_completion
# shellcheck source=../../dist/completion/tavrel.bash
source "$script"

# The subcommands that tavrel --help lists.
subcommands=$("$tavrel" --help | awk '/^Subcommands:/ {on = 1; next} on && NF {print $1}' | sort | xargs)

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$scratch/pages/sub" "$scratch/registry"
touch "$scratch/pages/a.html" "$scratch/pages/B.HTM" "$scratch/pages/notes.txt"
touch "$scratch/registry/local.reg" "$scratch/registry/web2.reg"
export TAVREL_REGISTRY_DIR=$scratch/registry
cd "$scratch/pages" || exit 1

failures=0
# expect "COMMAND LINE" "EXPECTED WORDS": the last word of the line is the one
# being completed (empty after a trailing blank).
expect() {
    local line=$1 expected=$2
    read -ra COMP_WORDS <<<"$line"
    [[ $line == *" " ]] && COMP_WORDS+=("")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMP_LINE=$line
    COMP_POINT=${#line}
    COMPREPLY=()
    _tavrel tavrel "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
    local actual
    actual=$(printf '%s\n' "${COMPREPLY[@]}" | sort | xargs)
    if [[ $actual != "$expected" ]]; then
        echo "FAIL: '$line' completed to '$actual', expected '$expected'"
        failures=$((failures + 1))
    fi
}

# Every subcommand is offered, and nothing else.
# shellcheck disable=SC2086 # one word a subcommand
expect "tavrel " "$(printf '%s\n' $subcommands --help --server-config --site --version --wait |
    sort | xargs)"
expect "tavrel d" "delete dirs docmap"
expect "tavrel add a.html --" "--date --description --force --help --link --title --wait"
expect "tavrel change a.html 0 --t" "--title"
expect "tavrel list --" "--help --json --wait"
expect "tavrel delete a.html 0 --" "--force --help --wait"
expect "tavrel dirs -" "--help --json --server-config --site -r"
expect "tavrel docmap -r " "local web2"
expect "tavrel add --title " ""
expect "tavrel list " "B.HTM a.html sub"
expect "tavrel files " "sub"
exit $((failures > 0))
