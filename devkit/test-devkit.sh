#!/usr/bin/env bash
# Installs the kit into a scratch prefix outside the build tree and uses it as an outsider would,
# with no LD_LIBRARY_PATH: programs built with the pkg-config line (in C and C++, and one per
# framework linked with --as-needed), a CMake project using the package, and the installed
# printdialog listing and printing with the installed bundle.
set -euo pipefail
build_dir=$1 example_dir=$2 work=$3 source_dir=$4
unset LD_LIBRARY_PATH
rm -rf "$work"
mkdir -p "$work"
prefix="$work/prefix"
cmake --install "$build_dir" --prefix "$prefix" >/dev/null
export PKG_CONFIG_PATH="$prefix/lib/pkgconfig"

fail() { echo "devkit: $*" >&2; exit 1; }

# Nothing installed may look for its libraries in the build tree.
while IFS= read -r -d '' file; do
    if readelf -d "$file" 2>/dev/null | grep -E 'R(UN)?PATH' | grep -qF "$build_dir"; then
        fail "$file has a run path into the build tree"
    fi
done < <(find "$prefix" -type f \( -name '*.so*' -o -perm -u+x \) -print0)

flags=$(pkg-config --cflags --libs carbon-runtime)
# A sanitized build of the runtime needs the sanitizer runtimes in the outside program too.
# grep reads all of nm's output: a grep -q that stops early would fail the pipe (pipefail).
sanitize=""
if nm -D "$prefix/lib/libCoreFoundation.so" | grep __asan_init >/dev/null; then
    sanitize="-fsanitize=address,undefined"
fi

cc -std=c11 -Wall -Werror -o "$work/hello-c" "$example_dir/hello.c" $flags $sanitize
c++ -std=c++17 -Wall -Werror -x c++ -o "$work/hello-cxx" "$example_dir/hello.c" $flags $sanitize
# The Mac's header layout: Print/ beside PrintCore/, the C library behind the frameworks.
cc -std=c11 -Wall -Werror -c -o "$work/headers-c.o" "$example_dir/headers.c" $flags $sanitize
c++ -std=c++17 -Wall -Werror -x c++ -c -o "$work/headers-cxx.o" "$example_dir/headers.c" \
    $flags $sanitize
"$work/hello-c" | grep -q "hello from the runtime" || fail "hello-c did not greet"
"$work/hello-cxx" | grep -q "hello from the runtime" || fail "hello-cxx did not greet"

# With --as-needed a program names only the framework it calls; that framework must find the
# ones it calls itself.
for source in "$example_dir"/one-framework/*.c; do
    name=$(basename "$source" .c)
    cc -std=c11 -Wall -Werror -Wl,--as-needed -o "$work/$name" "$source" $flags $sanitize
    "$work/$name" >"$work/$name.out" || fail "$name failed to run: $(cat "$work/$name.out")"
done

# The CMake package.
cmake -S "$example_dir" -B "$work/cmake-build" -G Ninja -DCMAKE_PREFIX_PATH="$prefix" \
      ${sanitize:+-DCMAKE_C_FLAGS="$sanitize"} >/dev/null
cmake --build "$work/cmake-build" >/dev/null
"$work/cmake-build/hello-cmake" | grep -q "hello from the runtime" || fail "hello-cmake did not greet"

# The installed print dialog finds the installed bundle and printer and prints with codes.
"$prefix/bin/printdialog" --list >"$work/list.out" || fail "printdialog --list failed"
grep -q "Accounting" "$work/list.out" || fail "the installed bundle is not listed"
"$prefix/bin/printdialog" --script "$source_dir/host/demo/print-with-codes.script" \
    --output "$work/job" "$source_dir/host/demo/document.txt" >"$work/print.out" 2>&1 ||
    fail "the installed printdialog did not print: $(cat "$work/print.out")"
grep -q "demo-user" "$work/job/document.txt.ticket.plist" || fail "the ticket lacks the user ID"
echo "installed kit: outside programs in C, C++, per framework and with CMake; printdialog printed"
