#!/usr/bin/env bash
# Installs the runtime into a scratch prefix and builds an outside program against it with
# pkg-config, once as C and once as C++, then runs both.
set -euo pipefail
build_dir=$1 example_dir=$2 work=$3
rm -rf "$work"
mkdir -p "$work"
cmake --install "$build_dir" --prefix "$work/prefix" >/dev/null
export PKG_CONFIG_PATH="$work/prefix/lib/pkgconfig"
flags=$(pkg-config --cflags --libs carbon-runtime)
# A sanitized build of the runtime needs the sanitizer runtimes in the outside program too.
# grep reads all of nm's output: a grep -q that stops early would fail the pipe (pipefail).
if nm -D "$work/prefix/lib/libCoreFoundation.so" | grep __asan_init >/dev/null; then
    flags="$flags -fsanitize=address,undefined"
fi
cc -std=c11 -Wall -Werror -o "$work/hello-c" "$example_dir/hello.c" $flags
c++ -std=c++17 -Wall -Werror -x c++ -o "$work/hello-cxx" "$example_dir/hello.c" $flags
# The Mac's header layout: Print/ beside PrintCore/, the C library behind the frameworks.
cc -std=c11 -Wall -Werror -c -o "$work/headers-c.o" "$example_dir/headers.c" $flags
c++ -std=c++17 -Wall -Werror -x c++ -c -o "$work/headers-cxx.o" "$example_dir/headers.c" $flags
"$work/hello-c" | grep -q "hello from the runtime"
"$work/hello-cxx" | grep -q "hello from the runtime"
echo "outside program built and ran as C and C++"
