#!/usr/bin/env bash
# A private Samba server for the SMB tests: smbd on 127.0.0.1 with its own smb.conf and its own
# state, lock, cache, private and pid folders under DIR, no NetBIOS, one read-only share TMARLNK,
# and a test user (an OS account dvsmbtest, made when missing; its Samba password is in
# DIR/credentials). A system smbd, if one runs, is left alone.
#
#   tools/smb_server.sh start DIR      starts the server and prints the three lines below
#   tools/smb_server.sh stop DIR       stops the server started in DIR, by its process id, and
#                                      removes its sets folder
#   tools/smb_server.sh run DIR CMD... starts it, runs CMD with the three variables below set,
#                                      and stops the server however CMD ends
#
#   DASHVANE_TEST_SMB=127.0.0.1:PORT   where the server listens: port 4450, or a free port the
#                                      system picks when 4450 is taken; DASHVANE_TEST_SMB_PORT=N
#                                      asks for port N and no other
#   DASHVANE_TEST_SMB_DIR=DIR          the server's folder: credentials, log/smbd.log, smbd.pid
#   DASHVANE_TEST_SMB_SETS=SETS        a folder made for this run under /tmp, readable by the
#                                      test user, removed when the server stops. The share serves
#                                      whatever SETS/served points at (SETS/empty at the start):
#                                      a test writes its data set under SETS and points the link
#                                      there (a new link renamed over SETS/served)
#
# The sets live under /tmp because smbd opens the share as the test user, who may not pass
# through the checkout's parents (/root is 0700) nor a private TMPDIR.
set -euo pipefail

user=dvsmbtest
password=dv-smb-test-1
default_port=4450
lock_file=/tmp/dashvane-smb-server.lock

usage() { sed -n '2,21p' "$0" >&2; exit 2; }
[ $# -ge 2 ] || usage
action=$1
dir=$(mkdir -p "$2" && cd "$2" && pwd)
shift 2
port=${DASHVANE_TEST_SMB_PORT:-$default_port}
sets=

# The inodes of the sockets listening on $port, on any address.
listeners() {
    local hex
    hex=$(printf ':%04X' "$port")
    awk -v p="$hex" '$4 == "0A" && substr($2, length($2) - 4) == p {print $10}' \
        /proc/net/tcp /proc/net/tcp6 2>/dev/null || true
}

# True when something listens on $port and every socket listening there is one of process $1.
only_listener() {
    local fds inodes inode
    inodes=$(listeners)
    [ -n "$inodes" ] || return 1
    fds=$(ls -l "/proc/$1/fd" 2>/dev/null) || return 1
    for inode in $inodes; do
        grep -qF "socket:[$inode]" <<<"$fds" || return 1
    done
}

# A port on 127.0.0.1 nothing listens on, as the system hands out for the asking.
free_port() {
    perl -MIO::Socket::INET -e '
        my $s = IO::Socket::INET->new(Proto => "tcp", LocalAddr => "127.0.0.1",
                                      LocalPort => 0, Listen => 1) or exit 1;
        print $s->sockport, "\n";'
}

# True when the test user may list folder $1. Otherwise prints one line naming the first folder
# on its way the test user can't pass (or, for the folder itself, read).
readable_by_test_user() {
    local as_user=(setpriv --reuid="$(id -u "$user")" --regid="$(id -g "$user")" --clear-groups)
    "${as_user[@]}" test -r "$1" -a -x "$1" && return 0
    local at='' part parts
    IFS=/ read -ra parts <<<"${1#/}"
    for part in "${parts[@]}"; do
        at=$at/$part
        "${as_user[@]}" test -x "$at" || break
    done
    echo "smb_server: the test user $user can't read $at, where the share's sets live; not started" >&2
    return 1
}

# Ends the smbd this script started in DIR (its command line names our smb.conf), if it runs.
stop_smbd() {
    local pidfile=$dir/smbd.pid
    [ -f "$pidfile" ] || return 0
    local pid
    pid=$(cat "$pidfile")
    rm -f "$pidfile"
    [ -r "/proc/$pid/cmdline" ] && tr '\0' ' ' <"/proc/$pid/cmdline" | grep -q -- "$dir/smb.conf" ||
        return 0
    kill "$pid" 2>/dev/null || true
    for _ in $(seq 50); do
        kill -0 "$pid" 2>/dev/null || return 0
        sleep 0.1
    done
    kill -9 "$pid" 2>/dev/null || true
}

stop() {
    stop_smbd
    # The sets folder of this server: only one this script made.
    [ -f "$dir/sets" ] || return 0
    local folder
    folder=$(cat "$dir/sets")
    case $folder in
        /tmp/dashvane-smb.*)
            if [ -d "$folder" ] && [ ! -L "$folder" ]; then
                rm -rf --one-file-system -- "$folder"
            fi
            ;;
    esac
    rm -f "$dir/sets"
}

write_config() {
    cat >"$dir/smb.conf" <<EOF
[global]
    server role = standalone server
    workgroup = WORKGROUP
    netbios name = DVTEST
    disable netbios = yes
    smb ports = $port
    bind interfaces only = yes
    interfaces = lo
    server min protocol = SMB2_10
    state directory = $dir/state
    lock directory = $dir/lock
    cache directory = $dir/cache
    private dir = $dir/private
    pid directory = $dir/pid
    ncalrpc dir = $dir/ncalrpc
    passdb backend = tdbsam:$dir/private/passdb.tdb
    log file = $dir/log/smbd.log
    max log size = 0
    log level = 1 vfs:2
    map to guest = never
    restrict anonymous = 2
    load printers = no
    printing = bsd
    printcap name = /dev/null
    disable spoolss = yes
    unix password sync = no
    obey pam restrictions = no
    kernel oplocks = no
    wide links = no

[TMARLNK]
    path = $sets/served
    read only = yes
    browseable = yes
    valid users = $user
    vfs objects = full_audit
    full_audit:syslog = false
    full_audit:prefix = audit
    full_audit:success = openat create_file brl_lock_windows
    full_audit:failure = openat create_file brl_lock_windows
EOF
}

# Starts smbd on $port; true once it, and nothing else, listens there.
start_smbd() {
    write_config
    # In a process group of its own: when smbd ends it signals its whole group, which must not
    # be the group of the script or of the tests that started it.
    setsid smbd --foreground --no-process-group -s "$dir/smb.conf" </dev/null \
        >"$dir/log/smbd.out" 2>&1 9>&- &
    local pid=$!
    echo "$pid" >"$dir/smbd.pid"
    for _ in $(seq 100); do
        only_listener "$pid" && return 0
        kill -0 "$pid" 2>/dev/null || return 1
        sleep 0.1
    done
    return 1
}

start() {
    if ! command -v smbd >/dev/null || ! command -v smbpasswd >/dev/null; then
        echo "smb_server: smbd or smbpasswd is not installed (Debian package samba)" >&2
        return 1
    fi
    if [ "$(id -u)" != 0 ]; then
        echo "smb_server: smbd serves files as the test user, which needs root; not started" >&2
        return 1
    fi
    stop
    # Another run may make the account at the same time.
    id "$user" >/dev/null 2>&1 ||
        useradd --system --no-create-home --shell /usr/sbin/nologin "$user" 2>/dev/null ||
        id "$user" >/dev/null
    mkdir -p "$dir"/{state,lock,cache,private,pid,ncalrpc,log}
    chmod 700 "$dir/private"

    sets=$(mktemp -d /tmp/dashvane-smb.XXXXXXXX)
    echo "$sets" >"$dir/sets"
    chmod 755 "$sets"
    mkdir "$sets/empty"
    ln -s "$sets/empty" "$sets/served"
    readable_by_test_user "$sets/served/" || { stop; return 1; }

    write_config
    printf '%s\n%s\n' "$password" "$password" | smbpasswd -c "$dir/smb.conf" -a -s "$user" >/dev/null
    printf 'username=%s\npassword=%s\n' "$user" "$password" >"$dir/credentials"
    chmod 600 "$dir/credentials"

    # One start at a time on this machine: a port found free stays so until its smbd listens
    # (smbd binds with SO_REUSEPORT, so two of them could share one port).
    exec 9>"$lock_file"
    flock 9
    rm -f "$dir/log/smbd.out"
    local started=0
    for _ in 1 2 3 4 5; do
        if [ -z "$(listeners)" ]; then
            if start_smbd; then
                started=1
                break
            fi
            stop_smbd
        elif [ -n "${DASHVANE_TEST_SMB_PORT:-}" ]; then
            echo "smb_server: something else listens on 127.0.0.1:$port; not started" >&2
        fi
        # A port asked for is that one or none; otherwise another free one.
        [ -z "${DASHVANE_TEST_SMB_PORT:-}" ] || break
        port=$(free_port) || break
    done
    exec 9>&-
    if [ "$started" = 1 ]; then
        echo "DASHVANE_TEST_SMB=127.0.0.1:$port"
        echo "DASHVANE_TEST_SMB_DIR=$dir"
        echo "DASHVANE_TEST_SMB_SETS=$sets"
        return 0
    fi
    if [ -s "$dir/log/smbd.out" ]; then
        echo "smb_server: smbd did not start listening on 127.0.0.1:$port; its output:" >&2
        cat "$dir/log/smbd.out" >&2 || true
    fi
    stop
    return 1
}

case $action in
    start) start ;;
    stop) stop ;;
    run)
        [ $# -gt 0 ] || usage
        trap stop EXIT INT TERM
        if start >/dev/null; then
            export DASHVANE_TEST_SMB=127.0.0.1:$port DASHVANE_TEST_SMB_DIR=$dir \
                DASHVANE_TEST_SMB_SETS=$sets
        else
            echo "smb_server: running without the SMB server; its tests skip (or fail in CI)" >&2
        fi
        "$@"
        ;;
    *) usage ;;
esac
