# Sourced by the whole-process benchmarks.
# median_ms LABEL COMMAND...: runs the command 3 times, prints and returns (in $median) the median.
median_ms() {
    local label=$1 times=() start end
    shift
    for _ in 1 2 3; do
        start=$(date +%s%N)
        "$@" >/dev/null
        end=$(date +%s%N)
        times+=($(((end - start) / 1000000)))
    done
    median=$(printf '%s\n' "${times[@]}" | sort -n | sed -n 2p)
    printf '%-44s %6d ms (median of 3: %s)\n' "$label" "$median" "${times[*]}"
}

# cli_beside_gdal BUILD_DIR: builds korvel-cli there (setting $cli), checks that gdal_translate
# is installed and moves into a scratch folder that is removed on exit.
cli_beside_gdal() {
    cmake --preset release -B "$1" >/dev/null
    cmake --build "$1" --target korvel-cli >/dev/null
    cli=$(realpath "$1/src/korvel-cli")
    if ! command -v gdal_translate >/dev/null 2>&1; then
        echo "gdal_translate not found (Debian package gdal-bin): no comparison"
        exit 1
    fi
    work=$(mktemp -d)
    trap 'rm -rf "$work"' EXIT
    cd "$work"
}

# ratio LABEL KORVEL_MS GDAL_MS: the quotient, against a goal of at most 1.
ratio() {
    awk -v k="$2" -v g="$3" -v label="$1" \
        'BEGIN { printf "%-44s %6.2f (goal: at most 1)\n", label, k / g }'
}
