#!/usr/bin/env bash
# The Debian package, as an office would get it: built from this build tree, its control
# fields and contents checked, then unpacked into a throw-away root and run from there.
# Usage: check_package.sh <build dir> <version>
set -euo pipefail
build=$1
version=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FALLITO: $*" >&2; exit 1; }

(cd "$build" && cpack -G DEB -B "$work/out" -D CPACK_PACKAGING_INSTALL_PREFIX=/usr >"$work/cpack.log") \
    || { cat "$work/cpack.log" >&2; fail "cpack"; }
deb="$work/out/tavelo_${version}_amd64.deb"
[[ -f "$deb" ]] || fail "manca $deb"

field() { dpkg-deb -f "$deb" "$1"; }
[[ $(field Package) == tavelo ]] || fail "Package: $(field Package)"
[[ $(field Version) == "$version" ]] || fail "Version: $(field Version)"
[[ $(field Architecture) == amd64 ]] || fail "Architecture: $(field Architecture)"
depends=$(field Depends)
for needed in libqt6widgets6 libqt6sql6-sqlite qt6-qpa-plugins fonts-liberation libc6 libmdb3 libical3; do
    [[ $depends == *"$needed"* ]] || fail "Depends senza $needed: $depends"
done
description=$(field Description)
[[ $description == *"deadline"* && $description == *"scadenz"* ]] \
    || fail "descrizione non in due lingue: $description"

contents=$(dpkg-deb -c "$deb" | awk '{print $6}')
for path in ./usr/bin/tavelo ./usr/bin/tavelo-report ./usr/bin/tavelo-import ./usr/share/tavelo/Istruzioni.pdf \
    ./usr/share/applications/tavelo.desktop ./usr/share/icons/hicolor/scalable/apps/tavelo.svg \
    ./usr/share/tavelo/pictures/scelta-utente.png ./usr/share/tavelo/pictures/anagrafica-controllo.png; do
    grep -qx -- "$path" <<<"$contents" || fail "il pacchetto non contiene $path"
done
# Nothing of a user's: no data file travels with the program.
! grep -q 'Database' <<<"$contents" || fail "il pacchetto contiene un archivio"

root="$work/root"
if [[ $(id -u) -eq 0 ]]; then
    # As root, a real installation into a throw-away dpkg database.
    mkdir -p "$root/var/lib/dpkg/info" "$root/var/lib/dpkg/updates" "$root/var/lib/dpkg/triggers"
    touch "$root/var/lib/dpkg/status"
    dpkg --root="$root" --force-depends --force-script-chrootless --log=/dev/null -i "$deb" >/dev/null \
        || fail "dpkg --root -i"
else
    dpkg-deb -x "$deb" "$root"
fi
"$root/usr/bin/tavelo-report" --help | grep -q "Uso: tavelo-report" || fail "tavelo-report --help"
"$root/usr/bin/tavelo-import" --help >/dev/null || fail "tavelo-import --help"
desktop-file-validate "$root/usr/share/applications/tavelo.desktop" 2>/dev/null \
    || ! command -v desktop-file-validate >/dev/null || fail "voce di menu non valida"
echo "pacchetto corretto: $(basename "$deb")"
