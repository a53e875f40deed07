#!/bin/bash
# run_validate_test.sh DESKTOP METAINFO - the desktop entry and the AppStream metainfo
# as the desktop's own validators judge them. 77 = a validator is not installed.
set -u
for cmd in desktop-file-validate appstreamcli; do
    command -v "$cmd" >/dev/null 2>&1 || { echo "SKIP: needs $cmd"; exit 77; }
done
desktop-file-validate "$1" || { echo "FAIL: $1"; exit 1; }
appstreamcli validate --no-net "$2" || { echo "FAIL: $2"; exit 1; }
echo PASS
