#!/usr/bin/env bash
# Installs those of the named Debian packages that are missing: a bare name is the native
# architecture's package (or an architecture-independent one), name:arm64 the 64-bit ARM one,
# whose architecture is added first. Needs root or sudo only when something is missing.
# Usage: scripts/need_packages.sh PACKAGE...
set -euo pipefail
native=$(dpkg --print-architecture)

# A package of another architecture (installed by scripts/arm64.sh) does not stand in for the
# native one. dpkg -s also succeeds for removed packages that left configuration behind.
installed() {
  local name=${1%%:*} architecture=$native
  [[ $1 == *:* ]] && architecture=${1#*:}
  dpkg-query -W -f='${Architecture} ${Status}\n' "$name:*" 2>/dev/null |
    grep -Eqx "($architecture|all) install ok installed"
}

missing=()
for p in "$@"; do
  installed "$p" || missing+=("$p")
done
((${#missing[@]})) || exit 0
echo "Installing missing packages: ${missing[*]}"
sudo=""
[[ $(id -u) -eq 0 ]] || sudo=sudo
if [[ " ${missing[*]}" == *:arm64* ]] && ! dpkg --print-foreign-architectures | grep -qx arm64; then
  $sudo dpkg --add-architecture arm64
fi
# Another apt-get may hold the lock for a while; wait for it instead of failing.
apt_get() { DEBIAN_FRONTEND=noninteractive $sudo apt-get -o DPkg::Lock::Timeout=900 "$@"; }
apt_get update -q
apt_get install -y -q --no-install-recommends "${missing[@]}"
