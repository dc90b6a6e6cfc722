#!/usr/bin/env bash
# Installs what Vey builds with, from Debian's packages. Safe to run again.
set -euo pipefail
packages=(
  build-essential cmake pkg-config clang-format python3
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  libplist-dev libcairo2-dev libfontconfig-dev libfreetype-dev libpng-dev libjpeg62-turbo-dev
  libxxhash-dev nlohmann-json3-dev
  libwebp-dev libsdl2-dev xvfb xdotool
  fonts-inter fonts-noto-color-emoji fonts-wqy-microhei
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo_cmd=""
  [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq "${missing[@]}"
fi
