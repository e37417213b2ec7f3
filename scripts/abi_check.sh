#!/usr/bin/env bash
# Compares the dynamic symbols a built libmarlix exports with the list kept
# in the repository (abi/libmarlix.symbols: the soname, then the mangled
# names, sorted), and says what to do when they differ.
#   scripts/abi_check.sh LIBRARY [LIST]            check
#   scripts/abi_check.sh --update LIBRARY [LIST]   record LIBRARY's symbols
# The list is that of g++ with libstdc++ at -O2: other compilers and -O0
# emit a few inline members and vtables differently.
set -euo pipefail
update=0
if [[ ${1:-} == --update ]]; then
    update=1
    shift
fi
[[ $# -ge 1 ]] || { echo "usage: $0 [--update] LIBRARY [LIST]" >&2; exit 2; }
lib=$1
list=${2:-$(dirname "$0")/../abi/libmarlix.symbols}

soname=$(readelf -d "$lib" | sed -n 's/.*(SONAME).*\[\(.*\)\]/\1/p')
[[ -n "$soname" ]] || { echo "$lib: no soname (not a shared libmarlix?)" >&2; exit 2; }
built=$(nm -D --defined-only "$lib" | awk '{print $NF}' | LC_ALL=C sort -u)

if [[ $update == 1 ]]; then
    {
        echo "# The dynamic symbols libmarlix exports, mangled and sorted: written by"
        echo "# scripts/abi_check.sh --update from a g++ build, checked by the abi_symbols test."
        echo "# Removing or changing one needs a new soname (README: \"Binary interface\")."
        echo "soname $soname"
        echo "$built"
    } >"$list"
    echo "recorded $(echo "$built" | wc -l) symbols of $soname in $list"
    exit 0
fi

recorded_soname=$(sed -n 's/^soname //p' "$list")
recorded=$(grep -v -e '^#' -e '^soname ' "$list")
added=$(LC_ALL=C comm -13 <(echo "$recorded") <(echo "$built"))
removed=$(LC_ALL=C comm -23 <(echo "$recorded") <(echo "$built"))
if [[ -z "$added" && -z "$removed" && "$soname" == "$recorded_soname" ]]; then
    echo "abi: $(echo "$built" | wc -l) symbols of $soname as recorded"
    exit 0
fi

show() {  # sign, names: each demangled, with its mangled name
    local name
    while read -r name; do
        [[ -n "$name" ]] && printf '  %s %s\n      %s\n' "$1" "$(echo "$name" | c++filt)" "$name"
    done <<<"$2"
}
echo "abi: the symbols $lib exports differ from $list"
if [[ -n "$removed" ]]; then
    echo "Removed (a changed signature shows as a removal and an addition):"
    show - "$removed"
fi
if [[ -n "$added" ]]; then
    echo "Added:"
    show + "$added"
fi
echo
if [[ -n "$removed" && "$soname" == "$recorded_soname" ]]; then
    echo "A program linked against $soname may use a symbol this build no longer has: it"
    echo "would fail to load, or call the wrong function. If the removal is intended, raise"
    echo "the major version in CMakeLists.txt (project(marlix VERSION ...)), so that the soname"
    echo "changes and such programs are refused at load, then record the new list. If it"
    echo "is not intended, bring the symbol back."
elif [[ "$soname" != "$recorded_soname" ]]; then
    echo "The soname changed from $recorded_soname to $soname: record the list of the new"
    echo "major version."
else
    echo "Only additions: programs linked against $soname keep working and the soname stays."
    echo "Record them, so that a later removal is seen."
fi
echo "Record with: scripts/abi_check.sh --update $lib"
exit 1
