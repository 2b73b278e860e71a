# The Debian packages Dashvane builds and tests with; sourced by the build scripts.
DASHVANE_PACKAGES=(cmake g++ make pkg-config libgtest-dev libgmock-dev libbenchmark-dev qt6-base-dev
                   libgl-dev fonts-dejavu-core clang-format)

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
        DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
    fi
}
