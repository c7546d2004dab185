#!/usr/bin/env bash
# One idempotent setup step: installs the Debian packages the build and the
# tests need, and fetches the Scintilla and Lexilla source from Debian's
# source package of SciTE into third_party/ (ignored by git).
# A second run installs and downloads nothing.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
third="$here/third_party"

packages=(
  g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix binutils-mingw-w64-i686
  binutils-mingw-w64-x86-64 cmake ninja-build g++ googletest dpkg-dev
  wine wine64 fonts-wine xvfb xauth x11-utils fonts-liberation imagemagick unrtf file
  zip unzip nsis clang libclang-rt-14-dev
)

sudo_() { if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi; }

missing=()
for p in "${packages[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
updated=0
if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  sudo_ apt-get update -qq
  updated=1
  sudo_ env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" </dev/null
fi
# wine32 would make /usr/bin/wine pick a 32-bit loader that cannot run here.
if dpkg -s wine32 >/dev/null 2>&1; then
  echo "setup: wine32 is installed; it breaks wine64 on this machine (remove it with apt-get remove wine32)" >&2
fi

if [ ! -f "$third/scite/scintilla/include/Scintilla.h" ] || [ ! -f "$third/scite/lexilla/lexers/LexPB.cxx" ]; then
  # The machine lists binary packages only: derive a source list from its own
  # list, so that no host name is written into the project.
  src_list=/etc/apt/sources.list.d/quillet-src.sources
  if [ ! -f "$src_list" ]; then
    if [ -f /etc/apt/sources.list.d/debian.sources ]; then
      sed 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources | sudo_ tee "$src_list" >/dev/null
    elif [ -f /etc/apt/sources.list ]; then
      grep -E '^deb ' /etc/apt/sources.list | sed 's/^deb /deb-src /' | sudo_ tee /etc/apt/sources.list.d/quillet-src.list >/dev/null
    fi
    sudo_ apt-get update -qq
  elif [ "$updated" = 0 ] && ! apt-cache showsrc scite >/dev/null 2>&1; then
    sudo_ apt-get update -qq
  fi
  mkdir -p "$third/download"
  ( cd "$third/download" && rm -f scite_* && apt-get source --download-only -qq scite )
  rm -rf "$third/scite.tmp" && mkdir -p "$third/scite.tmp"
  tar -xzf "$third"/download/scite_*.orig.tar.gz -C "$third/scite.tmp"
  top="$(find "$third/scite.tmp" -mindepth 1 -maxdepth 1 -type d | head -n 1)"
  [ -d "$top/scintilla" ] || top="$third/scite.tmp"
  rm -rf "$third/scite"
  mkdir -p "$third/scite"
  mv "$top/scintilla" "$top/lexilla" "$third/scite/"
  rm -rf "$third/scite.tmp"
  echo "setup: Scintilla and Lexilla source in $third/scite"
fi
