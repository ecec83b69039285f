#!/usr/bin/env bash
# Builds the libFuzzer targets and the program with clang and runs each target for the given number of seconds (default 60),
# starting from the seed corpus in tests/fuzz/corpus. Findings land in build-fuzz/crash-*.
set -euo pipefail
cd "$(dirname "$0")/.."
. tools/packages.sh

seconds=${1:-60}
ensure_packages cmake make clang libclang-rt-14-dev qt6-base-dev libgl-dev

cmake -S . -B build-fuzz -DCMAKE_CXX_COMPILER=clang++ -DQRNWEB_FUZZ=ON -DBUILD_TESTING=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo
# The program itself too: it builds with clang as it does with gcc.
cmake --build build-fuzz -j"$(nproc)" --target fuzz_setupfile fuzz_wildcard qrnweb

# A setup file is five short lines: inputs of up to 4 KB reach every branch of the reader, and the
# seeds of megabytes (a line longer than a read, a buffer's edge) are replayed whole by the suite.
for target in setupfile wildcard; do
    corpus=build-fuzz/corpus/$target
    mkdir -p "$corpus"
    cp -n tests/fuzz/corpus/$target/* "$corpus"/
    limit=(); [ "$target" = setupfile ] && limit=(-max_len=4096)
    echo "== fuzz_$target for $seconds s"
    build-fuzz/tests/fuzz/fuzz_$target "${limit[@]}" -max_total_time="$seconds" -print_final_stats=1 \
        -artifact_prefix="build-fuzz/crash-$target-" "$corpus"
done
