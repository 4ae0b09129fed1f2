#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Vellora need, skipping those already present.
# Safe to run again; uses sudo when not root.
set -euo pipefail

packages=(
  # build
  cmake ninja-build g++ pkg-config
  # renderer: X11, GL 1.1 and GLU
  libx11-dev libgl-dev libglu1-mesa-dev libgl1-mesa-dri
  # offscreen GL for scene tests and the preview-still tool
  libosmesa6-dev zlib1g-dev
  # Windows cross build and its test host
  g++-mingw-w64-x86-64-posix wine wine64
  # image decoding of the shell's embedded pictures (header-only, compiled into both builds)
  libstb-dev
  # unit tests and benchmarks
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  # fuzzing (clang + libFuzzer runtime)
  clang libclang-rt-14-dev
  # the shell's forms on Linux: GTK 3 on X11 with the Xfixes and shape extensions; the X server's
  # own saver held off during a session (MIT-SCREEN-SAVER) and the desktop's repaint seen (Damage)
  libgtk-3-dev libxext-dev libxss-dev libxdamage-dev
  # the desktop's monitors on X11, for both programs: RandR 1.5 monitors, Xinerama screens
  libxrandr-dev libxinerama-dev
  # the desktop's picture under a Wayland compositor: Wayland's client library and
  # wayland-scanner, which makes the screen-copy protocol's client code
  libwayland-dev libwayland-bin
  # end-to-end tests: virtual display, input, screenshots; xset runs the server's saver, xrandr
  # asks for monitors, xsetroot puts a pattern on the soak bench's screen
  xvfb xdotool x11-utils imagemagick libxfixes-dev libxtst-dev x11-xserver-utils
  # Japanese proportional gothic that stands in for the forms' default font "ＭＳ Ｐゴシック"
  fonts-ipafont-gothic
  # background music on Linux: CD drive, MP3 decoder, sound files, audio output; MP3 encoder for its tests;
  # libsamplerate for sounds the output device will not take at their own rate, ALSA to keep its
  # complaints about a missing sound device off the standard error (both come with SDL2 too)
  libcdio-dev libmpg123-dev libsndfile1-dev libsdl2-dev libmp3lame-dev libsamplerate0-dev libasound2-dev
  # a real window manager for the end-to-end checks that run under one (forms, renderer, session, preview)
  openbox
  # the Wayland session checks: a headless sway with XWayland, a window of a known colour (foot),
  # screenshots (grim), a private session bus (dbus-run-session, dbus-update-activation-environment,
  # gdbus), sway's window tree read with jq, and the screenshot portal
  # with its wlroots back end, which needs PipeWire, and the GTK back end, without whose Access
  # dialog the portal offers no Screenshot call
  sway xwayland foot grim dbus-daemon dbus-bin libglib2.0-bin jq
  xdg-desktop-portal xdg-desktop-portal-wlr xdg-desktop-portal-gtk pipewire-bin
  # the locales whose number formats the unit tests read (generated below)
  locales
  # packages: the Debian package's dependencies (dpkg-shlibdeps, and file, with which CPack
  # finds the programs) and its checks; the Windows zip's contents and the manifest resource in
  # its programs
  dpkg-dev file lintian unzip icoutils
  # the package's desktop entries (desktop-file-validate) and idle-activation examples: the
  # systemd user unit loaded by systemd-analyze (its xss-lock must exist), the autostart entry's
  # xautolock run in the installed-package check
  desktop-file-utils systemd xss-lock xautolock
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}" >&2
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -qq
  $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# Locales are generated from /etc/locale.gen, so that a later locale-gen keeps them.
missing_locales=()
for name in de_DE.UTF-8 ja_JP.UTF-8; do
  locale -a 2>/dev/null | grep -qx "${name%.UTF-8}.utf8" || missing_locales+=("$name")
done
if [ ${#missing_locales[@]} -gt 0 ]; then
  echo "setup: generating the locales ${missing_locales[*]}" >&2
  for name in "${missing_locales[@]}"; do
    grep -qx "$name UTF-8" /etc/locale.gen || echo "$name UTF-8" | $sudo tee -a /etc/locale.gen >/dev/null
  done
  $sudo locale-gen >/dev/null
fi
