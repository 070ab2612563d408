#!/usr/bin/env bats
# scripts/install-deps' handling of apt's sources, in a fake root: apt-get, apt-cache, dpkg and
# dpkg-query are stubs, every package but qemu-user is installed, and the kernel is taken to
# run no 32-bit code. Each row gives the release, its sources, the qemu-user its own suites
# offer, and what must follow. After every row the fake apt must still read every source.

setup() {
    root=$BATS_TEST_TMPDIR/root bin=$BATS_TEST_TMPDIR/bin log=$BATS_TEST_TMPDIR/apt.log
    mkdir -p "$root/etc/apt/sources.list.d" "$bin"
    # apt-get fails on a source with no address, or with a suite the archive lacks (FAKE_MISSING).
    cat >"$bin/apt-get" <<'STUB'
#!/bin/bash
echo "apt-get $*" >>"$FAKE_LOG"
for f in "$QUORVEL_SYSROOT"/etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] || continue
    grep -qE '^URIs:[[:space:]]*$' "$f" && { echo "E: Malformed entry 1 in $f (URI)" >&2; exit 100; }
    for s in $FAKE_MISSING; do
        grep -q "^Suites:.*$s" "$f" && { echo "E: $s does not have a Release file." >&2; exit 100; }
    done
done
[[ " $* " == *" install "* ]] || exit 0
for s in $FAKE_MISSING; do [[ " $* " == *" -t $s "* ]] && exit 100; done
printf '#!/bin/sh\necho "qemu-i386 version 10.0.3"\n' >"${0%/*}/qemu-i386"
chmod +x "${0%/*}/qemu-i386"
STUB
    cat >"$bin/apt-cache" <<'STUB'
#!/bin/bash
case "$1 $2" in
    "policy qemu-user") echo "  Candidate: $FAKE_OWN_QEMU" ;;
    "depends clang") echo "  Depends: clang-14" ;;
    *) echo "  Candidate: 1.0" ;;
esac
STUB
    printf '#!/bin/bash\n[ "$2" = qemu-user ] || echo "install ok installed"\n' >"$bin/dpkg-query"
    printf '#!/bin/bash\n[ "$1" = --print-foreign-architectures ] && echo i386 && exit\nexec /usr/bin/dpkg "$@"\n' \
        >"$bin/dpkg"
    printf '#!/bin/bash\nexec "$@"\n' >"$bin/sudo"
    printf '#!/bin/sh\nexit 127\n' >"$bin/qemu-i386"  # none yet, whatever this machine has
    chmod +x "$bin"/*
    export QUORVEL_SYSROOT=$root QUORVEL_WINE32_ROUTE=qemu FAKE_LOG=$log FAKE_MISSING=""
    export PATH=$bin:$PATH
    debian_key=/usr/share/keyrings/debian-archive-keyring.gpg
}

deb822() {  # file name, address, suites, key
    printf 'Types: deb\nURIs: %s\nSuites: %s\nComponents: main\nSigned-By: %s\n' "$2" "$3" "$4" \
        >"$root/etc/apt/sources.list.d/$1.sources"
}
debian_sources() { deb822 debian http://deb.debian.org/debian "$1 $1-updates" "$debian_key"; }
third_party() { deb822 aaa-example https://apt.example.org/x "$1" /usr/share/keyrings/example.gpg; }
leftover() { deb822 "$2" "$1" "$2" "$debian_key"; }  # what earlier versions wrote: address, suite

# codename, sources (a list of the fixtures above, joined by +), qemu-user the release offers,
# expected status, expected URIs of the written backports file ("-": none written), a text the
# output or apt's calls must hold ("-": none).
row() {
    local codename=$1 sources=$2 own=$3 status=$4 uri=$5 says=$6 written
    echo "VERSION_CODENAME=$codename" >"$root/etc/os-release"
    local fixture
    IFS=+ read -r -a fixtures <<<"$sources"
    for fixture in "${fixtures[@]}"; do eval "$fixture"; done
    FAKE_OWN_QEMU=$own run "$BATS_TEST_DIRNAME/../../scripts/install-deps"
    echo "$output"
    [ "$status" = "$4" ]
    written=$root/etc/apt/sources.list.d/$codename-backports.sources
    if [ "$uri" = - ]; then
        [ ! -f "$written" ] || [ "$(grep -c . "$written")" = 4 ] # a user's file stays
        [[ $sources == *"leftover"* ]] || [ ! -f "$written" ]
    else
        grep -qx "URIs: $uri" "$written"
        [ "$(grep -c '^Suites:' "$written")" = 1 ]
        grep -qx "Suites: $codename-backports" "$written"
    fi
    [ "$says" = - ] || [[ $output$(cat "$log" 2>/dev/null) == *"$says"* ]]
    ls "$root/etc/apt/sources.list.d" | { ! grep -q '\.part$'; }
    apt-get update
}

@test "classic sources.list" {
    echo "deb http://ftp.de.debian.org/debian bookworm main" >"$root/etc/apt/sources.list"
    row bookworm "true" 1:7.2 0 http://ftp.de.debian.org/debian "-t bookworm-backports"
}
@test "deb822 sources, a third-party one first: backports from Debian's archive, with its key" {
    row bookworm "third_party bookworm+debian_sources bookworm" 1:7.2 0 http://deb.debian.org/debian "-t bookworm-backports"
    grep -qx "Signed-By: $debian_key" "$root/etc/apt/sources.list.d/bookworm-backports.sources"
}
@test "a suite named stable: no archive, nothing written" {
    echo "deb http://deb.debian.org/debian stable main" >"$root/etc/apt/sources.list"
    row bookworm "true" 1:7.2 1 - "no apt source names Debian's own archive"
}
@test "backports already listed: no second entry" {
    echo "deb http://deb.debian.org/debian bookworm-backports main" >"$root/etc/apt/sources.list"
    row bookworm "debian_sources bookworm" 1:7.2 0 - "-t bookworm-backports"
}
@test "only a third-party source: nothing written" {
    row bookworm "third_party bookworm" 1:7.2 1 - "no apt source names Debian's own archive"
}
@test "Debian 13: qemu-user from its own suites, no backports" {
    row trixie "debian_sources trixie" 1:10.0.13 0 - "install -y -qq --no-install-recommends qemu-user"
    ! grep -q -- '-t ' "$log"
}
@test "a leftover with no address is rewritten" {
    row bookworm "leftover '' bookworm-backports+debian_sources bookworm" 1:7.2 0 http://deb.debian.org/debian "which an earlier run left"
}
@test "a leftover with a third-party address is rewritten" {
    row bookworm "leftover https://apt.example.org/x bookworm-backports+debian_sources bookworm" 1:7.2 0 http://deb.debian.org/debian "which an earlier run left"
}
@test "a suite the archive lacks: the new source is removed again" {
    FAKE_MISSING=forky-backports row forky "debian_sources forky" 1:7.2 1 - "which is removed again"
}
@test "a leftover for a suite the archive lacks goes" {
    FAKE_MISSING=forky-backports row forky "leftover http://deb.debian.org/debian forky-backports+debian_sources forky" 1:7.2 1 - "apt-get update failed with it"
    [ ! -f "$root/etc/apt/sources.list.d/forky-backports.sources" ]
}
