#!/bin/sh
# Installs the record reader (json-kifu-format and shogi.js, pinned by the
# lock file) into DIR. Fails with a clear message, never hangs, when npm or
# the registry cannot be reached.
set -eu
src=$(dirname "$0")
dir=$1
command -v node >/dev/null || { echo "kifu reader: node is not installed (scripts/deps.sh installs it)"; exit 1; }
command -v npm >/dev/null || { echo "kifu reader: npm is not installed (scripts/deps.sh installs it)"; exit 1; }
mkdir -p "$dir"
if cmp -s "$src/package-lock.json" "$dir/package-lock.json" && [ -f "$dir/node_modules/json-kifu-format/package.json" ]; then
  echo "kifu reader: already installed in $dir"
  exit 0
fi
cp "$src/package.json" "$src/package-lock.json" "$dir/"
if ! timeout 180 npm ci --prefix "$dir" --no-audit --no-fund --prefer-offline \
     --fetch-retries=1 --fetch-timeout=30000 >"$dir/npm.log" 2>&1; then
  echo "kifu reader: npm ci failed or timed out; the npm registry may be unreachable. npm said:"
  tail -20 "$dir/npm.log"
  rm -f "$dir/package-lock.json"
  exit 1
fi
echo "kifu reader: installed $(node -p "require('$dir/node_modules/json-kifu-format/package.json').version" 2>/dev/null) in $dir"
