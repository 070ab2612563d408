#!/usr/bin/env bats
# The one time scripts/package dates a release's files with, from a checkout reached in each
# way a user may have it. The sources are older than the commit, and a build output newer.

setup() {
    . "$BATS_TEST_DIRNAME/../../scripts/lib/source-date"
    tree=$BATS_TEST_TMPDIR/tree
    mkdir -p "$tree/src" "$tree/release" "$tree/cmake" "$tree/build"
    touch "$tree/CMakeLists.txt" "$tree/CMakePresets.json" "$tree/src/a.cpp" "$tree/release/r.txt"
    git -C "$tree" init -q
    git -C "$tree" add -A
    GIT_COMMITTER_DATE=@1700000000 git -C "$tree" -c user.name=t -c user.email=t@t \
        commit -qm t --date=@1700000000
    touch -d @1600000000 "$tree"/src/a.cpp "$tree"/release/r.txt "$tree"/CMake*
    touch -d @1650000000 "$tree/src/a.cpp"
    touch "$tree/build/QuorvelTool.exe"
    ln -s "$tree" "$BATS_TEST_TMPDIR/link"
    cp -a "$tree" "$BATS_TEST_TMPDIR/copy" && rm -rf "$BATS_TEST_TMPDIR/copy/.git"
    unset SOURCE_DATE_EPOCH
}

row() {  # checkout, SOURCE_DATE_EPOCH ("-": unset), expected time, expected source
    [ "$2" = - ] || export SOURCE_DATE_EPOCH=$2
    run quorvel_source_date "$BATS_TEST_TMPDIR/$1"
    echo "$output"
    [ "$status" = 0 ]
    [ "${lines[-1]}" = "$3" ]
    [[ ${lines[0]} == *"from $4"* ]]
}

@test "git checkout: the last commit" { row tree - 1700000000 "the last commit"; }
@test "checkout through a symbolic link: the last commit" { row link - 1700000000 "the last commit"; }
@test "no git: the newest source file, not the build output" { row copy - 1650000000 "the newest source"; }
@test "SOURCE_DATE_EPOCH wins" { row link 1234567890 1234567890 SOURCE_DATE_EPOCH; }
