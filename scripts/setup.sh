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
  zip unzip nsis clang libclang-rt-14-dev locales
  # A Japanese face: under the Japanese locale Wine measures text of the
  # double-byte code page only with a font of its script.
  fonts-vlgothic
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
# Wine takes its ANSI code page from the locale: the tests of listings and
# paths in other code pages run under these (1251, 1250, 932).
for locale in ru_RU pl_PL ja_JP; do
  if ! locale -a 2>/dev/null | grep -qix "$locale.utf-\?8"; then
    echo "setup: generating the locale $locale.UTF-8"
    sudo_ localedef -i "$locale" -f UTF-8 "$locale.UTF-8"
  fi
done

# The 32-bit release runs under Wine only where this machine executes 32-bit
# code, which depends on its kernel: a tiny static i386 program is run once
# to find out. Only then is wine32 installed beside wine64 (the same
# /usr/bin/wine then starts each program with the loader of its bitness).
# The result is recorded for the test command, which skips the 32-bit suites
# with this reason where the probe failed.
probe_dir="$here/build/probe"
mkdir -p "$probe_dir"
probe_result="$probe_dir/i386"
probe_i386() {
  printf '.globl _start\n_start:\n movl $1, %%eax\n movl $42, %%ebx\n int $0x80\n' >"$probe_dir/exit42.s"
  as --32 -o "$probe_dir/exit42.o" "$probe_dir/exit42.s" 2>/dev/null &&
    ld -m elf_i386 -o "$probe_dir/exit42" "$probe_dir/exit42.o" 2>/dev/null ||
    { echo "no i386 assembler or linker to build the probe"; return 1; }
  local rc=0 err
  err="$("$probe_dir/exit42" 2>&1)" || rc=$?
  [ "$rc" = 42 ] && return 0
  echo "this machine does not execute 32-bit programs (${err:-exit code $rc})" | tr '\n' ' '
  return 1
}
if reason="$(probe_i386)"; then
  if ! dpkg -s wine32:i386 >/dev/null 2>&1; then
    echo "setup: this machine runs 32-bit programs: installing wine32:i386"
    dpkg --print-foreign-architectures | grep -qx i386 || sudo_ dpkg --add-architecture i386
    sudo_ apt-get update -qq
    sudo_ env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends wine32:i386 </dev/null
  fi
  echo "ok" >"$probe_result"
else
  echo "setup: no 32-bit Wine: $reason; the 32-bit release is not run under test here"
  echo "$reason" >"$probe_result"
  # Here wine32 would make /usr/bin/wine pick a loader that cannot run.
  if dpkg -s wine32:i386 >/dev/null 2>&1; then
    echo "setup: wine32 is installed but cannot run on this machine; it breaks wine64 (remove it with apt-get remove wine32:i386)" >&2
  fi
fi

# Scintilla is patched (src/zescin/patches, each with its reason): the
# source is unpacked afresh and patched whenever it is missing, unpatched or
# carries another set of patches than the repository's (patches.applied
# records the hashes of what was applied), and its release must be the one
# the program is built and tested with (src/zescin/SCINTILLA_VERSION).
patches_dir="$here/src/zescin/patches"
wanted_release="$(tr -d '[:space:]' <"$here/src/zescin/SCINTILLA_VERSION")"
patch_hashes() { (cd "$patches_dir" && for p in $(ls ./*.patch 2>/dev/null | sort); do sha256sum "${p#./}"; done); }
applied_stamp="$third/scite/patches.applied"
check_release() {
  local found
  found="$(tr -d '[:space:]' <"$1/scintilla/version.txt")"
  [ "$found" = "$wanted_release" ] && return 0
  echo "setup: the Scintilla source holds release $found, but Quillet is built and tested with release $wanted_release (src/zescin/SCINTILLA_VERSION); its patches apply to that release only" >&2
  return 1
}
if [ ! -f "$third/scite/scintilla/include/Scintilla.h" ] || [ ! -f "$third/scite/lexilla/lexers/LexPB.cxx" ] ||
   [ "$(cat "$applied_stamp" 2>/dev/null)" != "$(patch_hashes)" ]; then
  if ! ls "$third"/download/scite_*.orig.tar.gz >/dev/null 2>&1; then
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
  fi
  rm -rf "$third/scite.tmp" && mkdir -p "$third/scite.tmp"
  tar -xzf "$third"/download/scite_*.orig.tar.gz -C "$third/scite.tmp"
  top="$(find "$third/scite.tmp" -mindepth 1 -maxdepth 1 -type d | head -n 1)"
  [ -d "$top/scintilla" ] || top="$third/scite.tmp"
  check_release "$top" || { rm -rf "$third/scite.tmp"; exit 1; }
  rm -rf "$third/scite"
  mkdir -p "$third/scite"
  mv "$top/scintilla" "$top/lexilla" "$third/scite/"
  rm -rf "$third/scite.tmp"
  for p in $(cd "$patches_dir" && ls ./*.patch 2>/dev/null | sort); do
    patch -p1 --batch --quiet --forward -d "$third/scite" <"$patches_dir/${p#./}" ||
      { echo "setup: the patch src/zescin/patches/${p#./} does not apply to Scintilla $wanted_release" >&2; exit 1; }
  done
  patch_hashes >"$applied_stamp"
  echo "setup: Scintilla $wanted_release and Lexilla source in $third/scite, patched with $(patch_hashes | wc -l) patches"
fi
check_release "$third/scite" || exit 1
