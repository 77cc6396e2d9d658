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
