#!/usr/bin/env bash
# Builds bench/fuzz_decoder.cpp with libFuzzer and AddressSanitizer against
# the core sources it needs and Qt5Core, then fuzzes the table reader for a
# bounded time.
#
#   bench/fuzz.sh [SECONDS]        (default 60)
#
# FUZZ_DIR sets the working folder (default: build-fuzz beside bench/).
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
seconds=${1:-60}
work=${FUZZ_DIR:-$root/build-fuzz}
core=$root/core

probe='extern "C" int LLVMFuzzerTestOneInput(const unsigned char *, unsigned long) { return 0; }'
fuzzer_works() {
    command -v clang++ >/dev/null 2>&1 &&
        echo "$probe" | clang++ -fsanitize=fuzzer,address -x c++ - -o /dev/null >/dev/null 2>&1
}
if ! fuzzer_works; then
    echo "fuzz.sh: installing clang and its sanitizer runtimes" >&2
    sudo_cmd=""
    [ "$(id -u)" -ne 0 ] && sudo_cmd=sudo
    $sudo_cmd apt-get update -q
    $sudo_cmd apt-get install -y -q clang libclang-rt-dev
    fuzzer_works || { echo "fuzz.sh: clang cannot build a fuzzer here" >&2; exit 1; }
fi

qt_bins=$(pkg-config --variable=host_bins Qt5Core)
moc=${qt_bins:+$qt_bins/}moc
command -v "$moc" >/dev/null 2>&1 || moc=moc

mkdir -p "$work/moc" "$work/corpus"
# The whole core library, with the meta-object code of its classes.
files=("$core"/*.cpp)
moc_sources=()
for header in "$core"/*.h; do
    grep -q Q_OBJECT "$header" || continue
    name=$(basename "$header" .h)
    out="$work/moc/moc_$name.cpp"
    "$moc" "$header" -o "$out"
    moc_sources+=("$out")
done

echo "fuzz.sh: building $work/fuzz_decoder" >&2
# shellcheck disable=SC2046
clang++ -std=c++17 -g -O1 -fPIC -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
    -DQT_NO_CAST_FROM_BYTEARRAY -I"$core" $(pkg-config --cflags Qt5Core Qt5SerialPort) \
    "$here/fuzz_decoder.cpp" "${files[@]}" "${moc_sources[@]}" \
    $(pkg-config --libs Qt5Core Qt5SerialPort) -o "$work/fuzz_decoder"

# Seeds: the table of an empty project, and one with a digital-input row.
printf '\x04FSMC0\x02DI\x00\x02DO\x00\x02AI\x00\x02AO\x00\x04EXIT\x00\x06USART1\x00\x06USART2\x00\x06USART3\x00\x06USART4\x00\x06USART5\x00\x06USART6\x00\x04SPI1\x00\x04SPI2\x00\x04SPI3\x00\x03SYS\x00' \
    > "$work/corpus/empty.bin"
{
    printf '\x04FSMC0\x02DI\x01\x22\x40\x01\x08\x00\x00\x01\x48\x01\x00\x01'
    head -c 24 /dev/zero
    printf '\x02DO\x00\x02AI\x00\x02AO\x00\x04EXIT\x00\x06USART1\x00\x06USART2\x00\x06USART3\x00\x06USART4\x00\x06USART5\x00\x06USART6\x00\x04SPI1\x00\x04SPI2\x00\x04SPI3\x00\x03SYS\x00'
} > "$work/corpus/di-row.bin"

echo "fuzz.sh: fuzzing for $seconds s" >&2
cd "$work"
exec ./fuzz_decoder -max_total_time="$seconds" -max_len=4096 -print_final_stats=1 corpus
