#!/usr/bin/env bash
# Runs a fuzz target for a bounded time, from its dictionary and seed
# folders. Fails on any crash, leak or hang (an input that takes longer than
# 10 seconds); what it found is left beside the fuzzer.
#   fuzz/run-fuzzer.sh BUILD/fuzz/FUZZER SECONDS DICTIONARY SEEDS...
set -euo pipefail
fuzzer=$(realpath "$1")
seconds=$2
dictionary=$(realpath "$3")
shift 3
seeds=()
for folder in "$@"; do seeds+=("$(realpath "$folder")"); done
name=$(basename "$fuzzer")
out=$(dirname "$fuzzer")
# New inputs go to a corpus of the fuzzer's own; the committed seeds stay as they are.
mkdir -p "$out/corpus-$name"
cd "$out"
exec "$fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=8192 \
    -dict="$dictionary" -print_final_stats=1 -artifact_prefix="$out/$name-" \
    "$out/corpus-$name" "${seeds[@]}"
