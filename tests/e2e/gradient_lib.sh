# shellcheck shell=bash
# The sine gradients the settings dialog and its panel paint, computed here on their own from
# the formula, for the end-to-end checks of the dialog and of the forms runtime.

# The level of row y of a sine gradient H rows high: round(|sin(y / (H / 3.142))| * 220).
gradient_level() { awk -v y="$1" -v h="$2" 'BEGIN { s = sin(y / (h / 3.142)); printf "%.0f", (s < 0 ? -s : s) * 220 }'; }

# "r g b" of row y on a surface H rows high: the dialog's navy to lavender (form) or the
# panel's greys (panel).
gradient_colour() {
  local l
  l=$(gradient_level "$2" "$3")
  if [ "$1" = form ]; then echo "$l $l $((l + 30))"; else echo "$((l + 30)) $((l + 30)) $((l + 30))"; fi
}
