#!/usr/bin/env bash
# The music module over winmm under Wine, with the Windows program music_smoke.exe:
#  1. with a wave output device (Wine's ALSA driver writing to a file through ALSA's file
#     plugin), a looping WAV is started and stopped, and its samples reach the output, loop after
#     loop; the CD poll fails cleanly without a drive and switches the polling off;
#  2. with no audio driver at all, the WAV is not played and nothing else changes.
# Runs with a Wine prefix of its own. Exit code 77 (skipped): no Windows build.
set -euo pipefail

if [ $# -lt 2 ]; then
  echo "usage: $0 <dist/windows folder> <music_smoke.exe>" >&2
  exit 2
fi
readonly PROGRAM="$2"
if [ ! -f "$PROGRAM" ]; then
  echo "SKIP: no $PROGRAM (cmake --preset windows && cmake --build --preset windows)"
  exit 77
fi
command -v python3 >/dev/null || { echo "FAIL: python3 is not installed (bash scripts/setup.sh)" >&2; exit 1; }
WINE_PREFIX_DIR="${VELLORA_MUSIC_WINEPREFIX:-/tmp/vellora-music-wine-prefix-$(id -u)}"
# shellcheck source=wine_session.sh
source "$(dirname "$0")/wine_session.sh" "$1"

# The program writes its WAV beside itself, so it runs from a copy in the scratch folder.
cp "$PROGRAM" "$WORK_DIR/music_smoke.exe"

run_smoke() {  # $1: name of the run; the environment chooses the audio driver
  local status=0
  timeout 90 wine "$WORK_DIR/music_smoke.exe" >"$WORK_DIR/$1.crlf" 2>"$WORK_DIR/$1.err" 9>&- || status=$?
  tr -d '\r' <"$WORK_DIR/$1.crlf" >"$WORK_DIR/$1.out"  # the console's text mode writes CRLF
  cat "$WORK_DIR/$1.out"
  if [ "$status" -ne 0 ]; then
    grep -v '^ALSA lib' "$WORK_DIR/$1.err" >&2 || true
    fail "$1: music_smoke.exe exited with $status"
  fi
}

# 1. One wave output device: Wine's ALSA driver, whose default device writes raw frames to a file.
# The system's own additions (its conf.d, as pipewire-alsa's default, and the user's asoundrc)
# are left out: they would take the default device over.
cat >"$WORK_DIR/asound.conf" <<CONF
</usr/share/alsa/alsa.conf>
!@hooks []
pcm.!default {
  type file
  slave.pcm "null"
  file "$WORK_DIR/output.raw"
  format "raw"
}
CONF
VELLORA_AUDIO_OUTPUT="Z:${WORK_DIR//\//\\}\\output.raw" ALSA_CONFIG_PATH="$WORK_DIR/asound.conf" \
  WINEDLLOVERRIDES="winepulse.drv=d;wineoss.drv=d" run_smoke with-device
grep -q '^wave output devices: 1$' "$WORK_DIR/with-device.out" || fail "Wine's ALSA driver gave no wave output device"
grep -q '^ok: PlayWaveFile started the loop' "$WORK_DIR/with-device.out" || fail "the WAV was not started"
[ -s "$WORK_DIR/output.raw" ] || fail "nothing reached the audio output"
# The output holds the quarter-second WAV (11025 frames of 16-bit stereo) from its first sample,
# repeated whole at least once.
python3 - "$WORK_DIR/output.raw" <<'PY' || fail "the output is not the looping WAV"
import math, struct, sys
data = open(sys.argv[1], "rb").read()
left = struct.unpack("<%dh" % (len(data) // 2), data[: len(data) // 2 * 2])[0::2]
start = next(i for i, v in enumerate(left) if v != 0) - 1
wave = [round(8000 * math.sin(i * 2 * 3.14159265 * 440 / 44100)) for i in range(11025)]
loops = (len(left) - start) // 11025
assert loops >= 2, f"only {loops} whole loop(s) played"
for loop in range(loops):
    chunk = left[start + loop * 11025 : start + (loop + 1) * 11025]
    assert max(abs(a - b) for a, b in zip(chunk, wave)) <= 1, f"loop {loop} differs from the WAV"
print(f"ok: {loops} whole loops of the WAV reached the output")
PY

# 2. No audio driver at all: no wave output device, so the WAV is not played.
WINEDLLOVERRIDES="winealsa.drv=d;winepulse.drv=d;wineoss.drv=d" run_smoke without-device
grep -q '^wave output devices: 0$' "$WORK_DIR/without-device.out" || fail "a wave device is left with every driver off"
grep -q '^ok: PlayWaveFile did nothing without a wave device' "$WORK_DIR/without-device.out" || fail "PlayWaveFile acted without a device"
echo "ok: music smoke under Wine"
