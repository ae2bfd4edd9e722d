#!/bin/sh
# The volumes of the outcome tests, around them: a 3 MB tmpfs that fills up (only as
# root; the tests say SKIPPED without it) and drive S: of the test prefix, mapped to a
# scratch folder that DELETEFOLDER tasks must leave alone.
#   scratch_volumes.sh setup|cleanup <build dir>
small="$2/small-disk"
drive="$2/wineprefix/dosdevices/s:"
umount "$small" 2>/dev/null
rm -f "$drive"
[ "$1" = setup ] || exit 0
mkdir -p "$small" "$2/s-drive"
ln -s "$2/s-drive" "$drive"
if mount -t tmpfs -o size=3m tmpfs "$small" 2>/dev/null; then
  touch "$small/.small-disk"
else
  echo "small disk: not mounted (needs root)"
fi
