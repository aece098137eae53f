#!/usr/bin/env bash
# Runs the document reader's fuzz target for a bounded time, from the seed
# corpus and the test documents. Fails on any crash, leak or hang (an input
# that takes longer than 10 seconds); what it found is left beside the fuzzer.
#   fuzz/run-fuzzer.sh BUILD/fuzz/fuzz_document_reader [SECONDS]
set -euo pipefail
fuzzer=$(realpath "$1")
seconds=${2:-60}
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
out=$(dirname "$fuzzer")
# New inputs go to a corpus of their own; the committed seeds stay as they are.
mkdir -p "$out/corpus"
cd "$out"
exec "$fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=8192 \
    -dict="$here/document.dict" -print_final_stats=1 -artifact_prefix="$out/" \
    "$out/corpus" "$here/corpus" "$here/../tests/data"
