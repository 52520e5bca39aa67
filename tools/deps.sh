#!/usr/bin/env bash
# Installs the Debian packages of the groups named on the command line (tools/packages.txt)
# that are not there yet.
set -euo pipefail
list="$(dirname "$0")/packages.txt"
wanted=()
for group in "$@"; do
    grep -q "^\[$group\]\$" "$list" || { echo "deps.sh: no group [$group] in $list" >&2; exit 1; }
    # The lines after the group's header up to the next header, without comments.
    wanted+=($(awk -v g="[$group]" '/^\[/ {on = ($0 == g); next} on && !/^#/ && NF {print $1}' "$list"))
done
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
