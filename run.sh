#!/usr/bin/env bash
# Installs what is missing, builds TORV optimised and starts it.
set -euo pipefail
cd "$(dirname "$0")"
bash scripts/install-deps.sh
bash scripts/build.sh release
if [ "${TORV_VIDEO:-}" != "headless" ] && [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display: run it under Xvfb with 'xvfb-run -s \"-screen 0 1280x1024x24\" ./run.sh', or headless with TORV_VIDEO=headless." >&2
  exit 1
fi
exec ./build/torv "$@"
