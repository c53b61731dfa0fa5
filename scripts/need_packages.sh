#!/usr/bin/env bash
# Installs those of the named Debian packages that are missing (name:arm64 for the 64-bit ARM
# ones, whose architecture is added first). Needs root or sudo only when something is missing.
# Usage: scripts/need_packages.sh PACKAGE...
set -euo pipefail
missing=()
for p in "$@"; do
  # dpkg -s also succeeds for removed packages that left configuration behind.
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
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
