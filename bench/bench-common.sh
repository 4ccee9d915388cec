# Shared start of the benchmark scripts: source it after `set -euo pipefail`.
# Builds the Release command-line tool (bench preset) and sets `root`, `cli`
# and `work` (a scratch folder removed on exit); `need_tools` installs the
# Debian packages of the programs compared against, each named as its command
# or as COMMAND:PACKAGE where the package is named otherwise.

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
cmake --preset bench >/dev/null
cmake --build --preset bench
cli=$root/build/bench/Leafmill/leafmill-cli

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

need_tools() {
    local tool missing=()
    for tool in "$@"; do
        command -v "${tool%%:*}" >/dev/null || missing+=("${tool#*:}")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    local sudo_if_needed
    sudo_if_needed=$([ "$(id -u)" -eq 0 ] || echo sudo)
    $sudo_if_needed apt-get install -y "${missing[@]}" >/dev/null
}
