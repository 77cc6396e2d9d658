#!/usr/bin/env bash
# Runs every korvel-cli example of the README (indented lines starting with "korvel-cli", with
# their "\" continuations) in a scratch folder that holds a small copy of the main job's world
# and the examples folder. An example that stops working fails the build.
#   run_examples.sh KORVEL_CLI SOURCE_DIR
set -uo pipefail
cli=$(realpath "$1")
source_dir=$(realpath "$2")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
cp -r "$source_dir/examples" .
korvel-cli() { "$cli" -q "$@"; }

if ! examples/world.sh "$cli" 256 >/dev/null; then
    echo "examples/world.sh failed"
    echo "0 passed, 1 failed"
    exit 1
fi

passed=0
failed=0
command=""
while IFS= read -r line; do
    if [[ -z "$command" && "$line" =~ ^\ {4}korvel-cli\  ]]; then
        command=${line#    }
    elif [[ -n "$command" ]]; then
        command+=" ${line#    }"
    else
        continue
    fi
    if [[ "$command" == *\\ ]]; then
        command=${command%\\}
        continue
    fi
    if output=$(eval "$command" 2>&1 </dev/null); then
        passed=$((passed + 1))
    else
        failed=$((failed + 1))
        echo "FAILED: $command"
        echo "$output" | tail -5
    fi
    command=""
done <"$source_dir/README.md"

echo "$passed passed, $failed failed"
[[ $failed -eq 0 && $passed -gt 0 ]]
