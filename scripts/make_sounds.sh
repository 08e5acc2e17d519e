#!/usr/bin/env bash
# Regenerates the sound cues in resources/Sound: five short tone cues for the autocorrection states
# and the spoken numbers 1..20 for the MAF smoothing steps. Needs espeak-ng and sox.
set -euo pipefail
cd "$(dirname "$0")/.."
out=resources/Sound
mkdir -p "$out"
fmt=(-r 22050 -c 1 -b 16)

# Correction window too wide: two sharp high beeps.
sox -n "${fmt[@]}" "$out/puls.wav" synth 0.08 square 1760 vol 0.35 pad 0 0.06 repeat 1 fade 0 0 0.01
# First phase (fast correction): one short mid beep.
sox -n "${fmt[@]}" "$out/corr.wav" synth 0.09 sine 880 vol 0.5 fade 0.005 0.09 0.02
# Second phase (fine correction): a softer, lower tick.
sox -n "${fmt[@]}" "$out/training.wav" synth 0.06 sine 660 vol 0.4 fade 0.005 0.06 0.02
# Window learned: a rising three-note chime.
tmp=$(mktemp -d)
sox -n "${fmt[@]}" "$tmp/1.wav" synth 0.12 sine 660 vol 0.5
sox -n "${fmt[@]}" "$tmp/2.wav" synth 0.12 sine 880 vol 0.5
sox -n "${fmt[@]}" "$tmp/3.wav" synth 0.2 sine 1320 vol 0.5 fade 0 0.2 0.08
sox "$tmp/1.wav" "$tmp/2.wav" "$tmp/3.wav" "$out/ready.wav"
# Forced idle (engine braking): a low double pulse.
sox -n "${fmt[@]}" "$out/forcedidle.wav" synth 0.1 sine 330 vol 0.5 pad 0 0.05 repeat 1 fade 0.005 0 0.02

# Smoothing steps: the number, spoken.
for n in $(seq 1 20); do
  espeak-ng -v ru -s 170 -w "$tmp/number.wav" "$n"
  sox "$tmp/number.wav" "${fmt[@]}" "$out/$n.wav" silence 1 0.01 1% reverse silence 1 0.01 1% reverse
done
rm -rf "$tmp"
