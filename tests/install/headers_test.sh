#!/usr/bin/env bash
# Installs the built library into a scratch prefix and compiles every
# installed header alone, as C++17, with each compiler given: a host built
# to C++17 includes any of them.
set -euo pipefail
build_dir=$1
shift
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cmake --install "$build_dir" --prefix "$work/prefix" >/dev/null

mapfile -t headers < <(cd "$work/prefix/include" && find marlix -name '*.h' | sort)
# The umbrella header and the generated one at least: an empty list would pass.
[[ " ${headers[*]} " == *" marlix/marlix.h "* && " ${headers[*]} " == *" marlix/version.h "* ]] ||
    { echo "installed headers not found"; exit 1; }

flags=(-std=c++17 -Wall -Wextra -Werror -pedantic -fsyntax-only -x c++ -I"$work/prefix/include")
failed=0
for cxx in "$@"; do
    # The flags refuse C++20: a defaulted comparison does not compile.
    if echo 'struct s { friend bool operator==(s, s) = default; };' |
        "$cxx" "${flags[@]}" - 2>/dev/null; then
        echo "$cxx: C++20 code compiles with ${flags[*]}"
        exit 1
    fi
    for h in "${headers[@]}"; do
        if ! echo "#include <$h>" | "$cxx" "${flags[@]}" -; then
            echo "$cxx: $h is not C++17"
            failed=1
        fi
    done
    echo "$cxx: ${#headers[@]} headers"
done
exit $failed
