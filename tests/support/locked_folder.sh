#!/bin/sh
# lock FOLDER: makes FOLDER hold one writable file, target.bmp, and refuse new files, with
# the immutable attribute, which binds root too. unlock FOLDER: removes it again.
# Where the attribute cannot be set the folder stays open and the tests that need it skip.
set -u
chattr -i "$2" 2>/dev/null
rm -rf "$2"
[ "$1" = lock ] || exit 0
mkdir -p "$2" && printf 'old' > "$2/target.bmp"
chattr +i "$2" 2>/dev/null || echo "locked folder: the immutable attribute cannot be set here"
exit 0
