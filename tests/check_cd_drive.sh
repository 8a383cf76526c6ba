#!/usr/bin/env bash
# scripts/cd_drive.sh deletes only what it made: a directory it did not make
# (a build tree, the root) is refused by release and by unpack, with its
# files and their modes as they were; one it made goes whole.
set -euo pipefail
image=$1
script=$(dirname "$0")/../scripts/cd_drive.sh
work=$(mktemp -d)
trap 'chmod -R u+w "$work"; rm -rf "$work"' EXIT

foreign=$work/build
mkdir -p "$foreign/sub"
echo keep >"$foreign/sub/file"
chmod 444 "$foreign/sub/file"
state() { find "$foreign" -printf '%p %m\n' | sort; }
before=$(state)
for command in "release $foreign" "unpack $image $foreign"; do
    if bash "$script" $command 2>/dev/null; then
        echo "cd_drive.sh $command succeeded on a directory it did not make"
        exit 1
    fi
    [ "$(state)" = "$before" ] || { echo "cd_drive.sh $command changed $foreign"; exit 1; }
done

made=$work/cd
bash "$script" unpack "$image" "$made" >/dev/null
[ -f "$made/drive/AUTORUN.INF" ] || { echo "unpack put no disc in $made/drive"; exit 1; }
bash "$script" release "$made"
[ ! -e "$made" ] || { echo "release left $made"; exit 1; }
echo "1 passed, 0 failed"
