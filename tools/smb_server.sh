#!/usr/bin/env bash
# A private Samba server for the SMB tests: smbd on 127.0.0.1 port 4450 with its own smb.conf and
# its own state, lock, cache, private and pid folders under DIR, no NetBIOS, one read-only share
# TMARLNK, and a test user (an OS account dvsmbtest, made when missing; its Samba password is in
# DIR/credentials). The share serves whatever DIR/served points at; the tests point it at the data
# sets they write. A system smbd, if one runs, is left alone.
#
#   tools/smb_server.sh start DIR      starts the server (prints what the tests need to know)
#   tools/smb_server.sh stop DIR       stops the server started in DIR, by its process id
#   tools/smb_server.sh run DIR CMD... starts it, runs CMD with DASHVANE_TEST_SMB set, and stops
#                                      the server however CMD ends
#
# The tests read DASHVANE_TEST_SMB=127.0.0.1:4450 and DASHVANE_TEST_SMB_DIR=DIR.
set -euo pipefail

port=${DASHVANE_TEST_SMB_PORT:-4450}
user=dvsmbtest
password=dv-smb-test-1

usage() { sed -n '2,13p' "$0" >&2; exit 2; }
[ $# -ge 2 ] || usage
action=$1
dir=$(mkdir -p "$2" && cd "$2" && pwd)
shift 2

listening() { (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null; }

stop() {
    local pidfile=$dir/smbd.pid
    [ -f "$pidfile" ] || return 0
    local pid
    pid=$(cat "$pidfile")
    rm -f "$pidfile"
    # Only the smbd this script started (its command line names our smb.conf).
    if [ -r "/proc/$pid/cmdline" ] && tr '\0' ' ' <"/proc/$pid/cmdline" | grep -q -- "$dir/smb.conf"; then
        kill "$pid" 2>/dev/null || true
        for _ in $(seq 50); do
            kill -0 "$pid" 2>/dev/null || return 0
            sleep 0.1
        done
        kill -9 "$pid" 2>/dev/null || true
    fi
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
    if listening; then
        echo "smb_server: something else listens on 127.0.0.1:$port; not started" >&2
        return 1
    fi
    if ! id "$user" >/dev/null 2>&1; then
        useradd --system --no-create-home --shell /usr/sbin/nologin "$user"
    fi
    mkdir -p "$dir"/{state,lock,cache,private,pid,ncalrpc,log}
    chmod 700 "$dir/private"
    [ -e "$dir/served" ] || { mkdir -p "$dir/empty"; ln -sfn "$dir/empty" "$dir/served"; }
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
    path = $dir/served
    read only = yes
    browseable = yes
    valid users = $user
    vfs objects = full_audit
    full_audit:syslog = false
    full_audit:prefix = audit
    full_audit:success = openat create_file brl_lock_windows
    full_audit:failure = openat create_file brl_lock_windows
EOF
    printf '%s\n%s\n' "$password" "$password" | smbpasswd -c "$dir/smb.conf" -a -s "$user" >/dev/null
    printf 'username=%s\npassword=%s\n' "$user" "$password" >"$dir/credentials"
    chmod 600 "$dir/credentials"
    # In a process group of its own: when smbd ends it signals its whole group, which must not
    # be the group of the script or of the tests that started it.
    setsid smbd --foreground --no-process-group -s "$dir/smb.conf" </dev/null \
        >"$dir/log/smbd.out" 2>&1 &
    echo $! >"$dir/smbd.pid"
    for _ in $(seq 100); do
        if listening; then
            echo "DASHVANE_TEST_SMB=127.0.0.1:$port"
            echo "DASHVANE_TEST_SMB_DIR=$dir"
            return 0
        fi
        kill -0 "$(cat "$dir/smbd.pid")" 2>/dev/null || break
        sleep 0.1
    done
    echo "smb_server: smbd did not start listening; its output:" >&2
    cat "$dir/log/smbd.out" >&2 || true
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
            export DASHVANE_TEST_SMB=127.0.0.1:$port DASHVANE_TEST_SMB_DIR=$dir
        else
            echo "smb_server: running without the SMB server; its tests skip (or fail in CI)" >&2
        fi
        "$@"
        ;;
    *) usage ;;
esac
