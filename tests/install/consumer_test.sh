#!/usr/bin/env bash
# Installs the built library (shared, or a static archive) into a scratch
# prefix, then builds and runs a consumer through the CMake package and
# through pkg-config.
set -euo pipefail
build_dir=$1 src_dir=$2 cxx=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cmake --install "$build_dir" --prefix "$work/prefix" >/dev/null

# A static archive: its consumers link the C++ runtime through
# pkg-config --static, and it holds none of the unit tests' hooks.
archive=$(find "$work/prefix" -name libmarlix.a | head -n1)
pc_static=()
if [[ -n "$archive" ]]; then
    [[ -z "$(find "$work/prefix" -name 'libmarlix.so*')" ]]
    pc_static=(--static)
    hooks='marlix::(build_converter_slots|report_assertion|(debug|release)_marker_name|marker_exists|create_marker)\('
    if nm -C "$archive" | grep -E " $hooks"; then
        echo "the static archive holds the unit tests' hooks"
        exit 1
    fi
    echo "static archive: no test hooks"
fi

# The installed tool runs without LD_LIBRARY_PATH: it finds its library
# through its relative run path.
if [[ -x "$work/prefix/bin/marlix" ]]; then
    [[ "$(env -u LD_LIBRARY_PATH "$work/prefix/bin/marlix" print -t P 93079)" == " 01:02:03.04" ]]
fi

cmake -S "$src_dir" -B "$work/cmake-build" -DCMAKE_PREFIX_PATH="$work/prefix" \
      -DCMAKE_CXX_COMPILER="$cxx" >/dev/null
cmake --build "$work/cmake-build" >/dev/null
LD_LIBRARY_PATH="$work/prefix/lib:$work/prefix/lib64:$work/prefix/lib/x86_64-linux-gnu" \
    "$work/cmake-build/consumer"

pcdir=$(dirname "$(find "$work/prefix" -name marlix.pc | head -n1)")
flags=$(PKG_CONFIG_PATH="$pcdir" pkg-config "${pc_static[@]}" --cflags --libs marlix)
# C++17, the level the package names.
std=$(PKG_CONFIG_PATH="$pcdir" pkg-config --variable=cxx_standard marlix)
[[ "$std" == 17 ]]
# shellcheck disable=SC2086
"$cxx" -std=c++"$std" -Wall -Wextra -Werror -pedantic "$src_dir/consumer.cpp" -o "$work/pc-consumer" $flags
LD_LIBRARY_PATH="$(PKG_CONFIG_PATH="$pcdir" pkg-config --variable=libdir marlix)" "$work/pc-consumer"

# The C interface from a strict C99 program built against the installed tree.
libdir=$(PKG_CONFIG_PATH="$pcdir" pkg-config --variable=libdir marlix)
libs=$(PKG_CONFIG_PATH="$pcdir" pkg-config "${pc_static[@]}" --libs marlix)
# shellcheck disable=SC2086
gcc -std=c99 -Wall -Wextra -Werror -pedantic -I"$work/prefix/include" "$src_dir/../capi/capi_test.c" \
    -o "$work/c-consumer" $libs -lm
LD_LIBRARY_PATH="$libdir" "$work/c-consumer"

# The Python module from the installed tree: it finds its library through
# its relative run path.
module_dir="$work/prefix/lib/python3/dist-packages"
if compgen -G "$module_dir/marlix*.so" >/dev/null; then
    [[ -f "$module_dir/marlix.pyi" ]]
    env -u LD_LIBRARY_PATH PYTHONPATH="$module_dir" /usr/bin/python3 -m pytest -q -p no:cacheprovider \
        "$src_dir/../python" >/dev/null
fi
