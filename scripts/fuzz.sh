#!/usr/bin/env bash
# Builds the libFuzzer targets in build/fuzz with clang, address and undefined-behaviour sanitizers on the core
# as well, and runs them for SECONDS (default 60) in all, shared evenly. Exits non-zero when a target finds a fault;
# the input that caused it is kept in build/fuzz/artifacts/.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
seconds="${1:-60}"
build="$root/build/fuzz"
sanitizers="-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer"

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_C_FLAGS="$sanitizers" -DCMAKE_CXX_FLAGS="$sanitizers" \
  -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" \
  -DQUENYX_BUILD_FUZZ=ON -DQUENYX_BUILD_GUI=OFF -DQUENYX_BUILD_BENCH=OFF -DQUENYX_BUILD_TESTS=OFF >/dev/null
targets=(regfile traceconfig)
share=$(( seconds / ${#targets[@]} ))
(( share > 0 )) || share=1
cmake --build "$build" --target "${targets[@]/#/fuzz_}"

export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
for target in "${targets[@]}"; do
  # New inputs go to the build folder's corpus; the seeds in the repository stay as they are.
  corpus="$build/corpus/$target"
  mkdir -p "$corpus" "$build/artifacts"
  echo "== fuzz_$target for ${share}s"
  "$build/tests/fuzz/fuzz_$target" -max_total_time="$share" -dict="$root/tests/fuzz/$target.dict" \
    -artifact_prefix="$build/artifacts/$target-" -print_final_stats=1 \
    "$corpus" "$root/tests/fuzz/corpus/$target"
done
