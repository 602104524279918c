#!/usr/bin/env bash
# Builds the Debian package (tools/package.sh), installs it with dpkg and its dependencies with apt-get,
# checks the installed program as a desktop finds it (tests/app/install_check.sh), removes it and checks
# that none of its files is left. Changes the system's packages: meant for a fresh machine, e.g.
#   ../shared/tools/fresh-check.sh . 'bash tools/package-check.sh'
set -euo pipefail
cd "$(dirname "$0")/.."
sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
deb=$(./tools/package.sh | tail -n 1)
echo "package: $deb"
depends=$(dpkg-deb -f "$deb" Depends)
echo "depends: $depends"
for lib in libqt6widgets6 libqt6svg6 libpng16-16 libjpeg62-turbo libtiff6 libgif7 libtag1v5 libdeflate0; do
    grep -q "$lib" <<<"$depends" || { echo "FAIL: the package does not depend on $lib" >&2; exit 1; }
done

export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" dpkg -i "$deb" || "${sudo_cmd[@]}" apt-get install -y -qq -f
dpkg-query -W -f='${Status}\n' tovrelline | grep -q "install ok installed"
files=$(dpkg -L tovrelline)
tests/app/install_check.sh /usr fuzz/read_design/corpus/sample.tvl

"${sudo_cmd[@]}" dpkg -r tovrelline
left=0
while read -r path; do
    if [ -f "$path" ] || [ -L "$path" ]; then
        echo "FAIL: $path is left after removal" >&2
        left=1
    fi
done <<<"$files"
[ "$left" -eq 0 ]
echo "the package installs, runs and removes cleanly"
