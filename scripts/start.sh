#!/usr/bin/env bash
# Installs what is needed, builds, installs the plug-ins for this user and starts the
# Standalone app.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
bash scripts/build.sh

ARTEFACTS="${BUILD_DIR:-build}/src/ZarnelX4_artefacts/Release"
mkdir -p "$HOME/.vst3" "$HOME/.lv2"
rm -rf "$HOME/.vst3/Zarnel X4 Editor.vst3" "$HOME/.lv2/Zarnel X4 Editor.lv2"
cp -r "$ARTEFACTS/VST3/Zarnel X4 Editor.vst3" "$HOME/.vst3/"
cp -r "$ARTEFACTS/LV2/Zarnel X4 Editor.lv2" "$HOME/.lv2/"
echo "Installed the VST3 plug-in in $HOME/.vst3 and the LV2 plug-in in $HOME/.lv2."

APP="$ARTEFACTS/Standalone/Zarnel X4 Editor"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display found: the Standalone app needs a graphical session."
    echo "Start it from one with: \"$APP\""
    exit 0
fi
exec "$APP"
