#!/usr/bin/env bash
# Regenerates docs/screenshot.png: starts Brevio on a private Xvfb, types a sample
# text, splits it, picks part 2 and captures the expanded window.
# Needs a build in build/ (scripts/test.sh makes one) and ImageMagick's import.
set -euo pipefail
cd "$(dirname "$0")/.."
command -v import >/dev/null || {
    echo "ImageMagick is missing: apt-get install imagemagick"
    exit 1
}
source tests/e2e/xsession.sh

start_brevio env LC_ALL=C.UTF-8 build/src/app/brevio
xdotool windowfocus --sync "$brevio_window"
xdotool type --delay 3 "Hallo zusammen! Morgen um 18 Uhr treffen wir uns vor dem Kino am \
Marktplatz. Wer mag, kommt vorher noch auf einen Kaffee vorbei. Bitte gebt kurz Bescheid, \
ob ihr dabei seid, damit ich Karten reservieren kann."
xdotool mousemove --window "$brevio_window" 256 103 click 1 # Haexler
sleep 0.3
xdotool mousemove --window "$brevio_window" 50 136 click 1 # the part list
xdotool key Down
xdotool mousemove --window "$brevio_window" 150 200 # out of the way
sleep 0.5
import -window "$brevio_window" docs/screenshot.png
echo "wrote docs/screenshot.png"
