#!/bin/sh
# Two other players load the module as they find it: neither openmpt123 nor
# xmp may print an error or a warning, and both must see its 8 channels and
# 26 order positions. Usage: playersload.sh MODULE. Exits 77 (skipped) when
# a player is missing; scripts/install-deps installs both.
module=$1
for player in openmpt123 xmp; do
  if ! command -v "$player" >/dev/null 2>&1; then
    echo "$player is not installed"
    exit 77
  fi
done
if [ ! -f "$module" ]; then
  echo "no module at $module"
  exit 1
fi
# Run both on a copy under a plain name, so no directory name can look like a message.
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
cp "$module" "$dir/song.xm"
cd "$dir" || exit 1

status=0
expect() {  # player, its output, a line it must contain
  if ! printf '%s\n' "$2" | grep -q -- "$3"; then
    echo "$1 does not report '$3'"
    status=1
  fi
}
quiet() {  # player, its output
  if printf '%s\n' "$2" | grep -i -E 'error|warn|unsupported|invalid|truncat|fail'; then
    echo "$1 complains about the module"
    status=1
  fi
}

openmpt=$(openmpt123 --info song.xm 2>&1)
quiet openmpt123 "$openmpt"
expect openmpt123 "$openmpt" '^Channels\.*: 8$'
expect openmpt123 "$openmpt" '^Orders\.*: 26$'

xmpout=$(xmp --norc -d null --load-only song.xm 2>&1)
quiet xmp "$xmpout"
expect xmp "$xmpout" '^Channels *: 8 '
expect xmp "$xmpout" '^Module length: 26 patterns'

exit $status
