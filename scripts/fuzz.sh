#!/usr/bin/env bash
# Builds the libFuzzer targets with clang into build/fuzz and runs each one for
# the given number of seconds (default 20). Exits non-zero when a target finds a fault.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
seconds="${1:-20}"
out="$root/build/fuzz"

sanitizers="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined"
cmake -S "$root" -B "$out" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_CXX_FLAGS="$sanitizers" \
  -DZENTABO_WITH_QT=OFF -DZENTABO_TESTS=OFF -DZENTABO_BENCH=OFF -DZENTABO_FUZZ=ON >/dev/null
cmake --build "$out" --parallel "$(nproc)"

# Arrays, so that a checkout path with blanks stays one word.
mapfile -d '' targets < <(find "$out/tests/fuzz" -maxdepth 1 -type f -name 'fuzz_*' -perm -u+x -print0 | sort -z)
[ ${#targets[@]} -eq 0 ] && { echo "fuzz: no targets"; exit 0; }
passed=0
failed=0
for t in "${targets[@]}"; do
  name=$(basename "$t")
  corpus="$out/corpus/$name"
  mkdir -p "$corpus"
  seeds=("$root/tests/fuzz/seeds/$name")
  [ -d "${seeds[0]}" ] || seeds=()
  if (cd "$out" && "$t" -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=10 \
        -print_final_stats=0 "$corpus" "${seeds[@]}" >"$out/$name.log" 2>&1); then
    echo "fuzz: $name ran ${seconds}s without a fault"
    passed=$((passed + 1))
  else
    echo "fuzz: $name FAILED; its log:"
    tail -n 60 "$out/$name.log"
    failed=$((failed + 1))
  fi
done
echo "fuzz: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
