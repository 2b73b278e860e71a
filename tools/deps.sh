# The Debian packages Dashvane builds and tests with; sourced by the build scripts.
DASHVANE_PACKAGES=(cmake g++ make pkg-config libgtest-dev libgmock-dev libbenchmark-dev qt6-base-dev
                   libgl-dev fonts-dejavu-core clang-format libsmbclient-dev samba smbclient)

dashvane_install_deps() {
    local missing=()
    local p
    for p in "${DASHVANE_PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" ||
            missing+=("$p")
    done
    if [ ${#missing[@]} -gt 0 ]; then
        echo "Installing: ${missing[*]}"
        apt-get update -qq
        # Installing samba may start a system smbd, or fail to (no init system): either way
        # its service is left alone; the tests run their own server (tools/smb_server.sh).
        DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null ||
            dashvane_check_installed "${missing[@]}"
    fi
}

# True when every package named is installed (a package's start-up script may fail, as samba's
# service does without an init system, while the package itself is there).
dashvane_check_installed() {
    local p
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null |
            grep -Eq "install ok (installed|half-configured)" || {
            echo "Not installed: $p" >&2
            return 1
        }
    done
}
