#!/bin/sh
# SPDX-License-Identifier: MIT
# Makes the program's two sounds with sox: karasu.wav, the crow's caw of the
# menu's start and end buttons, and o.wav, the hit when the odd cell is found.
# Both are written as plain 16-bit PCM WAV (-t wavpcm: no extensible header and
# no chunk besides fmt and data), the form every player takes.
#   sh make-sounds.sh            writes both files beside this script
set -eu
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
sox="sox -R"
raw="-r 44100 -c 1 -b 16 -e signed-integer"
out="-t wavpcm -r 44100 -c 1 -b 16 -e signed-integer"

# One caw: a buzzing voice gliding down (from, to Hz; seconds), roughened by a
# fast flutter and breath noise, then shaped by the open beak's resonances.
caw() {
    $sox -n $raw "$work/voice.wav" synth "$3" sawtooth "$1-$2" synth sine amod 34
    $sox -n $raw "$work/breath.wav" synth "$3" pinknoise bandpass 1800 1q gain -9
    $sox -m "$work/voice.wav" "$work/breath.wav" $raw "$4" \
        gain -6 overdrive 14 gain -8 highpass 560 equalizer 1250 1.4q +7 equalizer 2500 2q +4 lowpass 5200 \
        fade t 0.025 "$3" 0.11
}
caw 660 540 0.30 "$work/caw1.wav"
caw 620 500 0.36 "$work/caw2.wav"
$sox -n $raw "$work/gap.wav" trim 0 0.09
$sox "$work/caw1.wav" "$work/gap.wav" "$work/caw2.wav" $out "$here/karasu.wav" \
    pad 0.01 0.05 gain -n -1

# The hit: a small bell struck once. Each partial rings down on its own, the
# higher ones sooner; a short tick of noise gives the strike.
partial() { # frequency, seconds to silence, gain dB, file
    $sox -n $raw "$4" synth "$2" sine "$1" fade l 0.002 "$2" "$2" gain "$3"
}
partial 1760 1.2 -3 "$work/p1.wav"
partial 3520 0.7 -9 "$work/p2.wav"
partial 4840 0.45 -14 "$work/p3.wav"
$sox -n $raw "$work/tick.wav" synth 0.012 whitenoise gain -6 highpass 3000 fade t 0 0.012 0.011 gain -16
$sox -m "$work/p1.wav" "$work/p2.wav" "$work/p3.wav" "$work/tick.wav" $out "$here/o.wav" \
    trim 0 0.55 fade t 0 0.55 0.08 gain -n -1
