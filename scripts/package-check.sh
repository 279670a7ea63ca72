#!/usr/bin/env bash
# Builds the Debian package and installs it into a fresh Debian 12 made with
# debootstrap, then runs `trazmark-cli --help`, draws a plan and starts the
# window under Xvfb. Run as root from the top of the checkout after a build:
#   bash scripts/package-check.sh [CHROOT-FOLDER]
# The chroot folder (default /tmp/trazmark-package-check) is made once and
# reused; delete it for a fresh start.
set -euo pipefail
root=${1:-/tmp/trazmark-package-check}
command -v debootstrap >/dev/null || apt-get install -y -qq debootstrap
(cd build && cpack -G DEB >/dev/null)
deb=$(ls -t build/trazmark_*_amd64.deb | head -1)
if [ ! -x "$root/bin/bash" ]; then
  debootstrap --variant=minbase bookworm "$root" http://deb.debian.org/debian
fi
cp "$deb" "$root/tmp/trazmark.deb"
cp docs/demo/demo.RP "$root/tmp/demo.RP"
mount -t proc proc "$root/proc"
trap 'umount "$root/proc"' EXIT
chroot "$root" /bin/bash -euo pipefail -c '
export DEBIAN_FRONTEND=noninteractive LANG=C.UTF-8
apt-get update -qq
apt-get install -y -qq --no-install-recommends /tmp/trazmark.deb >/dev/null
trazmark-cli --help | head -1
cd /tmp && trazmark-cli plan demo.RP -o demo.pdf && trazmark-cli plan demo.RP -o demo.dxf
apt-get install -y -qq --no-install-recommends xvfb xauth fonts-noto-cjk >/dev/null
timeout 120 xvfb-run -a -s "-screen 0 1400x900x24" trazmark --screenshot /tmp/window.png
test -s /tmp/window.png && test -s /tmp/demo.pdf && test -s /tmp/demo.dxf
test -f /usr/share/trazmark/Language.xml && test -f /usr/share/applications/trazmark.desktop
echo "package check: installed, cli and window run"
'
