#!/usr/bin/env bash
# scripts/need_packages.sh against a made-up package database on an amd64 machine with arm64
# added: which of the named packages it asks apt-get to install.
# Usage: need_packages_test.sh SCRIPT
set -euo pipefail
script=$(realpath "$1")
stubs=$(mktemp -d)
trap 'rm -rf "$stubs"' EXIT

cat > "$stubs/dpkg" <<'EOF'
#!/bin/sh
case $1 in
  --print-architecture) echo amd64 ;;
  --print-foreign-architectures) echo arm64 ;;
esac
EOF
# Answers "name:*" with "architecture status" of every instance in the database.
cat > "$stubs/dpkg-query" <<'EOF'
#!/bin/sh
for last; do :; done
name=${last%:*}
grep "^$name " "$STUB_DATABASE" | cut -d' ' -f2- | grep . || exit 1
EOF
cat > "$stubs/apt-get" <<'EOF'
#!/bin/sh
case " $* " in *" install "*) for last; do :; done; echo "$last" >> "$STUB_ASKED" ;; esac
EOF
printf '#!/bin/sh\nexec "$@"\n' > "$stubs/sudo"
chmod +x "$stubs"/*

failures=0
# database lines (name architecture status), the package named, what is installed ("" nothing)
check() {
  local database=$1 named=$2 expected=$3
  printf '%b' "$database" > "$stubs/database"
  : > "$stubs/asked"
  PATH=$stubs:$PATH STUB_DATABASE=$stubs/database STUB_ASKED=$stubs/asked \
    bash "$script" "$named" > /dev/null
  local asked
  asked=$(cat "$stubs/asked")
  if [[ $asked != "$expected" ]]; then
    echo "FAILED: $named with database [$database]: installed [$asked], expected [$expected]"
    failures=$((failures + 1))
  fi
}

check 'libf2c2-dev arm64 install ok installed\n' libf2c2-dev libf2c2-dev
check 'libf2c2-dev arm64 install ok installed\n' libf2c2-dev:arm64 ''
check 'libf2c2-dev amd64 install ok installed\n' libf2c2-dev ''
check 'libf2c2-dev amd64 install ok installed\n' libf2c2-dev:arm64 libf2c2-dev:arm64
check 'libf2c2-dev amd64 install ok installed\nlibf2c2-dev arm64 install ok installed\n' \
  libf2c2-dev ''
check 'tzdata all install ok installed\n' tzdata ''
check 'zlib1g-dev amd64 deinstall ok config-files\n' zlib1g-dev zlib1g-dev
check '' cmake cmake

((failures == 0)) && echo "need_packages.sh: every case passed"
exit $((failures != 0))
