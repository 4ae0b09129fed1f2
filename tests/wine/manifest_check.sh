#!/usr/bin/env bash
# Both Windows executables carry the application manifest that the loader reads (type 24,
# RT_MANIFEST, id 1): per-monitor DPI awareness with the older flag as fallback, and common
# controls 6. Wine itself treats every program as DPI aware, so a higher LogPixels shows no
# difference there; the resource in the built files is what is checked.
#
# Usage: manifest_check.sh <dist/windows folder>
set -euo pipefail
dist=${1:?usage: manifest_check.sh <dist/windows folder>}
for program in Vellora.scr Vellora.data; do
  if [ ! -f "$dist/$program" ]; then
    echo "SKIP: no $dist/$program (cmake --preset windows && cmake --build --preset windows)"
    exit 77
  fi
done
command -v wrestool >/dev/null || { echo "FAIL: wrestool is not installed (bash scripts/setup.sh)" >&2; exit 1; }

manifest=$(mktemp)
trap 'rm -f "$manifest"' EXIT
for program in Vellora.scr Vellora.data; do
  wrestool -x --raw --type=24 --name=1 "$dist/$program" >"$manifest"
  [ -s "$manifest" ] || { echo "FAIL: $program has no manifest resource 1" >&2; exit 1; }
  python3 - "$program" "$manifest" <<'PY'
import sys
import xml.etree.ElementTree as ET

program, path = sys.argv[1], sys.argv[2]
root = ET.parse(path).getroot()  # a malformed manifest keeps the program from starting
V1, V3 = "{urn:schemas-microsoft-com:asm.v1}", "{urn:schemas-microsoft-com:asm.v3}"
settings = root.find(f"{V3}application/{V3}windowsSettings")
def setting(namespace, name):
    element = settings.find(f"{{{namespace}}}{name}") if settings is not None else None
    return element.text.strip() if element is not None and element.text else None
problems = []
awareness = setting("http://schemas.microsoft.com/SMI/2016/WindowsSettings", "dpiAwareness")
if not awareness or [v.strip() for v in awareness.split(",")][:2] != ["PerMonitorV2", "PerMonitor"]:
    problems.append(f"dpiAwareness is {awareness!r}, expected PerMonitorV2 falling back to PerMonitor")
aware = setting("http://schemas.microsoft.com/SMI/2005/WindowsSettings", "dpiAware")
if aware != "true/pm":
    problems.append(f"dpiAware is {aware!r}, expected 'true/pm'")
controls = [a.attrib for a in root.iter(f"{V1}assemblyIdentity")
            if a.attrib.get("name") == "Microsoft.Windows.Common-Controls"]
wanted = {"type": "win32", "version": "6.0.0.0", "publicKeyToken": "6595b64144ccf1df", "processorArchitecture": "*"}
if len(controls) != 1 or any(controls[0].get(k) != v for k, v in wanted.items()):
    problems.append(f"common controls dependency is {controls}, expected {wanted}")
for problem in problems:
    print(f"FAIL: {program}: {problem}", file=sys.stderr)
if problems:
    sys.exit(1)
print(f"ok: {program}: per-monitor DPI aware (PerMonitorV2, PerMonitor; true/pm), common controls 6")
PY
done
