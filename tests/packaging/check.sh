# Shared by the packaging tests (sourced): counts the checks and names each
# one that fails. A test may define explain_failure to show more.
passed=0
failed=0

check() {  # check "what" command...
    what=$1
    shift
    if "$@"; then
        passed=$((passed + 1))
    else
        failed=$((failed + 1))
        echo "FAILED: $what" >&2
        if command -v explain_failure >/dev/null 2>&1; then
            explain_failure
        fi
    fi
}
