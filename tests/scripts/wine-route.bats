#!/usr/bin/env bats
# How 32-bit Windows programs run here, from what the machine answers: whether Wine's 32-bit
# loader runs, the kernel's answer to a 32-bit program, the qemu-i386 on the PATH and whether
# Wine's 32-bit half is installed.

setup() {
    . "$BATS_TEST_DIRNAME/../../scripts/lib/wine-route"
    export QUORVEL_WINE_LIB=$BATS_TEST_TMPDIR/wine bin=$BATS_TEST_TMPDIR/bin
    mkdir -p "$QUORVEL_WINE_LIB" "$bin"
    printf '#!/bin/sh\n' >"$QUORVEL_WINE_LIB/wine64" && chmod +x "$QUORVEL_WINE_LIB/wine64"
    PATH=$bin:$PATH
    unset QUORVEL_WINE32_ROUTE
}

# forced route, the loader runs (0/1), the kernel's answer (0 runs, 1 refuses, 2 other failure),
# qemu-i386's version ("-": none), Wine's 32-bit half installed (0/1), the route expected
row() {
    QUORVEL_WINE32_ROUTE=$1
    eval "quorvel_loader_runs_natively() { [ $2 = 1 ]; }"
    eval "quorvel_kernel_runs_32bit() { return $3; }"
    if [ "$4" = - ]; then printf '#!/bin/sh\nexit 127\n'
    else printf '#!/bin/sh\necho "qemu-i386 version %s (Debian)"\n' "$4"; fi >"$bin/qemu-i386"
    chmod +x "$bin/qemu-i386"
    [ "$5" = 0 ] || touch "$QUORVEL_WINE_LIB/wine"
    run quorvel_choose_wine32_route
    echo "$output"
    [ "$output" = "$6" ]
}

@test "the loader runs: native" { row "" 1 0 10.0.3 1 native; }
@test "the kernel refuses 32-bit code: qemu" { row "" 0 1 10.0.13 1 "qemu 10.0.13"; }
@test "the kernel refuses, qemu too old: none" { row "" 0 1 7.2.19 1 none; }
@test "the kernel refuses, no qemu: none" { row "" 0 1 - 1 none; }
@test "the probe could not run: no qemu on a guess" { row "" 0 2 10.0.3 1 none; }
@test "the kernel runs 32-bit code, the loader fails: none" { row "" 0 0 10.0.3 1 none; }
@test "no 32-bit half: none" { row "" 0 1 10.0.3 0 none; }
@test "forced: qemu although the loader runs" { row qemu 1 0 11.1.3 1 "qemu 11.1.3"; }

@test "the kernel's probe program is well formed: it runs or is refused" {
    run quorvel_kernel_runs_32bit "$BATS_TEST_TMPDIR"
    [ "$status" -lt 2 ]
}
