#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Veroridovuz need,
# and only those that are missing, so a second run costs a second.
#   tools/install-deps.sh          what the program needs to build and run
#   tools/install-deps.sh --test   also what the tests and benchmarks use
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-multimedia-dev qt6-image-formats-plugins
  libx11-dev libxfixes-dev libjpeg62-turbo-dev
  # HEIF and AVIF: libheif with its HEVC (libde265) and AV1 (dav1d, aom) decoders.
  libheif-dev libheif1 libde265-0 libdav1d6 libaom3
  # Colour profiles: Little CMS; zlib for the profiles PNG files compress.
  liblcms2-dev liblcms2-2 zlib1g-dev
  gstreamer1.0-plugins-base gstreamer1.0-plugins-good gstreamer1.0-libav gstreamer1.0-pulseaudio
  fonts-dejavu-core xdg-utils
  dpkg-dev file
)
if [ "${1:-}" = "--test" ]; then
  packages+=(
    xvfb xdotool x11-utils x11-xserver-utils imagemagick
    pulseaudio pulseaudio-utils sox libsox-fmt-mp3 gstreamer1.0-tools libjpeg-turbo-progs feh
    libheif-examples webp libtiff-tools
    liblcms2-utils icc-profiles-free libgs-common
    xss-lock dbus xscreensaver xsecurelock
  )
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
