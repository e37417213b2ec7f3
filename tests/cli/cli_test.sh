#!/usr/bin/env bash
# End-to-end checks of the marlix tool: output lines, error lines and exit
# statuses. Usage: cli_test.sh MARLIX_BINARY CASES_DIR
set -u
marlix=$1
cases_dir=$2
pass=0 fail=0

# expect NAME STATUS EXPECTED_STDOUT [STDIN] -- ARGS...
expect() {
    local name=$1 status=$2 expected=$3 input=$4
    shift 5
    local out rc
    out=$(printf '%s' "$input" | "$marlix" "$@" 2>/tmp/marlix_cli_err.$$)
    rc=$?
    if [[ "$rc" != "$status" || "$out" != "$expected" ]]; then
        echo "FAIL $name: marlix $*"
        echo "  status $rc (expected $status)"
        echo "  stdout: $(printf '%q' "$out")"
        echo "  wanted: $(printf '%q' "$expected")"
        echo "  stderr: $(cat /tmp/marlix_cli_err.$$)"
        fail=$((fail + 1))
    else
        pass=$((pass + 1))
    fi
}

# expect_err_in NAME PATTERN INPUT ARGS...: with INPUT on stdin, stderr
# holds PATTERN (grep -E); expect_err NAME PATTERN ARGS... with no input.
expect_err_in() {
    local name=$1 pattern=$2 input=$3
    shift 3
    printf '%s' "$input" | "$marlix" "$@" >/dev/null 2>/tmp/marlix_cli_err.$$
    if grep -Eq -- "$pattern" /tmp/marlix_cli_err.$$; then
        pass=$((pass + 1))
    else
        echo "FAIL $name: stderr of marlix $* lacks /$pattern/: $(cat /tmp/marlix_cli_err.$$)"
        fail=$((fail + 1))
    fi
}
expect_err() { expect_err_in "$1" "$2" "" "${@:3}"; }

# expect_write_error NAME ARGS...: with standard output on a full device,
# exit status 3 and one line naming the write error.
expect_write_error() {
    local name=$1 rc
    shift
    "$marlix" "$@" </dev/null >/dev/full 2>/tmp/marlix_cli_err.$$
    rc=$?
    if [[ $rc == 3 ]] && grep -q '^marlix: write error: ' /tmp/marlix_cli_err.$$; then
        pass=$((pass + 1))
    else
        echo "FAIL $name: marlix $* >/dev/full: status $rc, stderr $(cat /tmp/marlix_cli_err.$$)"
        fail=$((fail + 1))
    fi
}

# expect_line NAME LINE_NUMBER EXPECTED ARGS...: one line of the output.
expect_line() {
    local name=$1 n=$2 expected=$3
    shift 3
    local out
    out=$("$marlix" "$@" </dev/null 2>/dev/null | sed -n "${n}p")
    if [[ "$out" != "$expected" ]]; then
        echo "FAIL $name: line $n of marlix $*: $(printf '%q' "$out") wanted $(printf '%q' "$expected")"
        fail=$((fail + 1))
    else
        pass=$((pass + 1))
    fi
}

for f in "$cases_dir"/*.cases.sh; do
    # shellcheck source=/dev/null
    source "$f"
done
rm -f /tmp/marlix_cli_err.$$
echo "$pass passed, $fail failed"
[[ $fail -eq 0 ]]
