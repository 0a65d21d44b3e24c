#!/usr/bin/env bash
# Records the voice-navigation prompts and the voice keyer's example
# messages shipped in data/: one short spoken WAV
# per prompt name (mono, 16 kHz, 16 bit), made with espeak-ng and trimmed of
# leading and trailing silence with sox so each prompt ends as soon as the
# word does.
#   tools/make-prompts.sh [folder]   (default: data/ of this tree)
set -euo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
out="${1:-$top/data}"
for tool in espeak-ng sox; do
  command -v "$tool" >/dev/null || { echo "make-prompts: $tool is not installed" >&2; exit 1; }
done
mkdir -p "$out"
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT

say() { # prompt name, words
  espeak-ng -v en-us -s 185 -w "$scratch/$1.raw.wav" "$2"
  # --no-glob keeps sox from reading the prompt name as a pattern; the
  # silence effect run forwards and reversed trims both ends.
  sox --no-glob "$scratch/$1.raw.wav" -r 16000 -c 1 -b 16 "$out/$1.wav" \
    silence 1 0.02 0.5% reverse silence 1 0.02 0.5% reverse
}

say Call "Call"
say RstRcvd "Report received"
say SecSer "Section or serial"
say RstSnt "Report sent"
say Country "Country"
say Dupe "Dupe"
say Needspot "Needed spot"
say NavDis "Navigation disabled"
say NavEn "Navigation enabled"

# Example voice keyer messages for F1-F4, so that the keyer plays something
# before the operator has recorded their own (wave2.txt names them).
say VkCq "CQ contest, CQ ten meter contest"
say VkThanks "Thank you, Q R Z?"
say VkAgain "Please say again"
say VkReport "You are five nine"
