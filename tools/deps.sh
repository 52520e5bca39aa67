#!/usr/bin/env bash
# Installs the Debian packages of the groups named on the command line (tools/packages.txt)
# that are not there yet; with --print first, only prints them, one a line.
set -euo pipefail
list="$(dirname "$0")/packages.txt"
print=no
[ "${1-}" = --print ] && { print=yes; shift; }
wanted=()
for group in "$@"; do
    grep -q "^\[$group\]\$" "$list" || { echo "deps.sh: no group [$group] in $list" >&2; exit 1; }
    # The lines after the group's header up to the next header, without comments.
    mapfile -t -O ${#wanted[@]} wanted < <(awk -v g="[$group]" \
        '/^\[/ {on = ($0 == g); next} on && !/^#/ && NF {print $1}' "$list")
done
if [ $print = yes ]; then
    printf '%s\n' "${wanted[@]}"
    exit 0
fi
missing=()
for pkg in "${wanted[@]}"; do
    dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' || missing+=("$pkg")
done
if [ ${#missing[@]} -gt 0 ]; then
    sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
