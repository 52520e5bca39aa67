#!/usr/bin/env bash
# Checks the install and the Debian package as a player and a packager meet them: installs the
# built tree BUILD into a scratch root, starts the installed command from a scratch home (on
# classic SDL 1.2, then on sdl12-compat) until the menu is up, and builds and lints the .deb.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:?usage: check-install.sh BUILD}" && pwd)
compat=/usr/lib/x86_64-linux-gnu/sdl12-compat
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
trap 'echo "check-install: line $LINENO failed with status $?" >&2' ERR
fail() {
    echo "check-install: $*" >&2
    exit 1
}

echo "== install and package checks"
# debian/control's Build-Depends are the list's build group, so the two never drift apart.
control=$(awk '/^[^ \t]/ {on = /^Build-Depends:/} on {sub(/^Build-Depends:/, ""); print}' \
    "$top/debian/control" | tr ',' '\n' | sed 's/([^)]*)//; s/[[:space:]]//g' |
    grep -v -e '^$' -e '^debhelper-compat$' | sort)
listed=$(bash "$top/tools/deps.sh" --print build | sort)
[ "$control" = "$listed" ] ||
    fail "debian/control's Build-Depends and tools/packages.txt's [build] differ:
$(diff <(echo "$control") <(echo "$listed"))"

root="$scratch/root"
DESTDIR="$root" cmake --install "$build" --prefix /usr >/dev/null
data="$root/usr/share/games/skelvo"
font=$(sed -n 's/^SKELVO_FONT:FILEPATH=//p' "$build/CMakeCache.txt")
while read -r file; do
    [ -e "$data/$file" ] || fail "the staged $file is not installed in $data"
done < <(cd "$build/game" && find . \( -type f -o -type l \) ! -name skelvo ! -name .gitkeep)
[ "$(readlink "$data/vixar.ttf")" = "$font" ] || fail "vixar.ttf is not a link to $font"
for file in games/skelvo lib/games/skelvo/skelvo; do
    [ -x "$root/usr/$file" ] || fail "/usr/$file is not installed"
done
[ -f "$root/usr/share/man/man6/skelvo.6" ] || fail "the man page is not installed"
desktop-file-validate "$root/usr/share/applications/skelvo.desktop"
command=$(sed -n 's/^Exec=//p' "$root/usr/share/applications/skelvo.desktop")
[ "$command" = /usr/games/skelvo ] || fail "the menu entry runs $command, not /usr/games/skelvo"
for icon in "$root"/usr/share/icons/hicolor/*/apps/skelvo.png; do
    size=$(basename "$(dirname "$(dirname "$icon")")")
    [ "$(identify -format '%wx%h' "$icon")" = "$size" ] || fail "$icon is not $size"
done

# The menu entry's command, as a player starts it, until the game's window line, then closed
# as a window is: only a game that got to its menu's event loop ends with status 0 then.
# $1: the SDL library directory to load, or empty for the system's.
home="$scratch/home of a player"
dir="$home/.local/share/skelvo"
play() {
    local out="$scratch/out" err="$scratch/err" pid tries=0
    env -u XDG_DATA_HOME HOME="$home" SDL_VIDEODRIVER=dummy LD_LIBRARY_PATH="$1" \
        "$root$command" >"$out" 2>"$err" &
    pid=$!
    until grep -q '^300\*400\*16$' "$out"; do
        kill -0 $pid 2>/dev/null && [ $((tries += 1)) -le 300 ] ||
            fail "the installed game did not reach its menu: $(cat "$out" "$err")"
        sleep 0.2
    done
    local sdl
    # A game that has ended by now has no maps to read: its status and messages tell why.
    sdl=$(grep -o '/[^ ]*libSDL-1\.2[^ ]*' /proc/$pid/maps 2>/dev/null | sort -u) || true
    kill -TERM $pid 2>/dev/null || true
    wait $pid || fail "the installed game ended with status $? after SIGTERM: $(cat "$err")"
    [ "$(echo "$sdl" | wc -l)" = 1 ] || fail "the game loaded more than one SDL 1.2: $sdl"
    if [ -n "$1" ]; then
        [[ $sdl == "$1"/* ]] || fail "the game loaded ${sdl:-no SDL 1.2}, not the one in $1"
    else
        [[ $sdl == /* && $sdl != *sdl12-compat* ]] || fail "the game loaded ${sdl:-no SDL 1.2}, not the system's"
    fi
    echo "installed game reached its menu on $sdl"
    played_out=$(cat "$out")
    played_err=$(cat "$err")
}

play ""
[[ $played_err == *"made your own 1Pkey.conf 2Pkey.conf in $dir"* ]] ||
    fail "the first start did not say where the player's files are: $played_err"
cmp -s "$dir/1Pkey.conf" "$data/1Pkey.conf" && [ ! -L "$dir/1Pkey.conf" ] && [ -L "$dir/bmp" ] ||
    fail "the game directory $dir is not the player's key files beside links to the data"
# The player's own files and links, an upgrade that adds a file and one that took a file away.
echo "# mine" >>"$dir/1Pkey.conf"
echo "ANNA" >"$dir/name.cache"
rm "$dir/bosses.act" && cp "$data/bosses.act" "$dir/bosses.act"
cp -r "$data/act.d" "$scratch/my act.d" && rm "$dir/act.d" && ln -s "$scratch/my act.d" "$dir/act.d"
touch "$data/added-by-an-upgrade"
ln -s "$data/gone-in-an-upgrade" "$dir/gone-in-an-upgrade"

play "$compat"
[[ $played_err != *"made your own"* ]] || fail "a second start copied key files again"
[[ $played_out == ANNA:* ]] || fail "the game did not read the player's name.cache: $played_out"
[ "$(tail -n1 "$dir/1Pkey.conf")" = "# mine" ] && [ ! -L "$dir/bosses.act" ] &&
    [ "$(readlink "$dir/act.d")" = "$scratch/my act.d" ] ||
    fail "the launcher replaced a player's own file"
[ -L "$dir/added-by-an-upgrade" ] && [ ! -L "$dir/gone-in-an-upgrade" ] ||
    fail "the launcher did not follow the installed data's change"
rm "$data/added-by-an-upgrade"

# --help and --version need no game directory; a relative CONFFILE is the caller's.
fresh="$scratch/fresh home"
[ "$(HOME="$fresh" "$root/usr/games/skelvo" --version)" = "skelvo version ?" ] || fail "--version"
HOME="$fresh" "$root/usr/games/skelvo" --help 2>"$scratch/help" && fail "--help ended with status 0"
[ "$(head -n1 "$scratch/help")" = " skelvo [OPTION] [CONFFILE]" ] && [ ! -e "$fresh" ] || fail "--help"
# Only a definitions file is renamed: an option stays the text the game refuses, though the
# caller's directory has a dot.
mkdir "$scratch/cwd.d"
(cd "$scratch/cwd.d" && HOME="$home" "$root/usr/games/skelvo" -w >/dev/null 2>"$scratch/err") &&
    fail "-w was accepted"
[ "$(head -n1 "$scratch/err")" = "unknown exception." ] || fail "-w: $(cat "$scratch/err")"
printf 'Enemy 1 a\nEnemy 1 b\n' >"$scratch/cwd.d/twice.conf"
(cd "$scratch/cwd.d" && HOME="$home" SDL_VIDEODRIVER=dummy "$root/usr/games/skelvo" twice.conf \
    >/dev/null 2>"$scratch/err") && fail "a definitions file with a repeated id was accepted"
grep -q '^Enemy: same IDs!' "$scratch/err" || fail "twice.conf was not read from the caller's directory"

# The .deb, built from the source as it stands in a scratch copy, so that its files land there.
src="$scratch/src/skelvo"
mkdir -p "$src"
git -C "$top" ls-files -z -co --exclude-standard | (cd "$top" && tar -c --null -T -) | tar -x -C "$src"
(cd "$src" && dpkg-buildpackage -b -us -uc -j2 >"$scratch/deb.log" 2>&1) ||
    fail "dpkg-buildpackage failed: $(tail -n 40 "$scratch/deb.log")"
deb=$(ls "$scratch"/src/skelvo_*.deb)
lintian --fail-on error "$deb" || fail "lintian found errors in $deb"
fontpackage=$(dpkg -S "$font" | cut -d: -f1)
dpkg-deb -f "$deb" Depends | tr ',' '\n' | grep -qx " *$fontpackage" ||
    fail "$deb does not depend on $fontpackage, which holds the font"
# The package holds what the install holds, beside its own documentation.
diff <(dpkg-deb -c "$deb" | awk '{print $6}' | sed 's|^\./|/|; s|/$||; s|\.gz$||' |
        grep -v -e '^/usr/share/doc' -e '^$' -e '^/$' | sort) \
    <(cd "$root" && find . -mindepth 1 | sed 's|^\.||' | sort) ||
    fail "$deb and the install hold different files"
echo "$(basename "$deb"): built, linted, and holds what the install holds"
