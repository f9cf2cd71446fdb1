#!/usr/bin/env bash
# Runs COMMAND on a machine kept as busy as CI is beside other work: four busy loops
# on the processors and two loops writing 300 MB files with fsync to the disk. The
# load ends when COMMAND ends or this script is interrupted; COMMAND's status (or
# 128 + the signal's number) is returned. Tests that pass here do not fail by chance.
#   scripts/busy_machine.sh ctest --test-dir build/native -R Stop --repeat until-fail:40
set -uo pipefail

if (($# == 0)); then
    echo "usage: scripts/busy_machine.sh COMMAND [ARG...]" >&2
    exit 2
fi
root=$(cd "$(dirname "$0")/.." && pwd)
mkdir -p "$root/build"
scratch=$(mktemp -d "$root/build/busy_machine.XXXXXX") || exit 1

loads=()
command_pid=
ended=

# Each load loop leads a process group of its own, so that ending it also ends the
# dd it is waiting for.
start_load() {
    setsid bash -c "$1" busy-load "${@:2}" </dev/null >/dev/null 2>&1 &
    loads+=($!)
}

end_load() {
    [[ -n $ended ]] && return
    ended=1
    local pid
    for pid in "${loads[@]}"; do
        kill -- "-$pid" 2>/dev/null || kill "$pid" 2>/dev/null
    done
    for pid in "${loads[@]}"; do
        wait "$pid" 2>/dev/null
    done
    rm -f "$scratch"/written-1 "$scratch"/written-2
    rmdir "$scratch"
}

interrupted() {  # interrupted SIGNAL STATUS
    trap - INT TERM HUP
    if [[ -n $command_pid ]]; then
        kill -s "$1" "$command_pid" 2>/dev/null
        wait "$command_pid" 2>/dev/null
    fi
    end_load
    exit "$2"
}

trap end_load EXIT
trap 'interrupted INT 130' INT
trap 'interrupted TERM 143' TERM
trap 'interrupted HUP 129' HUP

for _ in 1 2 3 4; do
    start_load 'while :; do :; done'
done
for n in 1 2; do
    start_load 'while :; do dd if=/dev/zero of="$1" bs=1M count=300 conv=fsync status=none; done' \
        "$scratch/written-$n"
done

# In the background, so that a signal to this script is handled at once; the
# command keeps this terminal's input.
"$@" <&0 &
command_pid=$!
wait "$command_pid"
status=$?
command_pid=
end_load
exit "$status"
