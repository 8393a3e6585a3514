#!/usr/bin/env bash
# Makes a fresh demo folder and divides the bundled sample log into it. The
# folder has its own settings (config/rkv/RKV.INI) whose directories all lie
# inside it, so the demo never touches the user's own settings or logs.
# Usage: scripts/demo_divide.sh BIN_DIR DEMO_DIR   (prints rkvtool's report)
set -euo pipefail
bin=$(cd "$1" && pwd)
demo=$2
here=$(cd "$(dirname "$0")/.." && pwd)

rm -rf "$demo"
mkdir -p "$demo"
demo=$(cd "$demo" && pwd)
mkdir -p "$demo"/config/rkv "$demo"/data/rkv "$demo"/{log,cnf,mail,hp,patio,etc,pad,ttl}

ini="$demo/config/rkv/RKV.INI"
{
  printf '[DIR]\r\n'
  for key in LogDir:log CnfDir:cnf MailDir:mail TtlDir:ttl HpDir:hp PatioDir:patio EtcDir:etc PadDir:pad; do
    printf '%s=%s\r\n' "${key%%:*}" "$demo/${key##*:}"
  done
  printf '[ACTION]\r\nRename=1\r\nDivideReport=1\r\n'
  printf '[MODE]\r\nFilerAutoStart=1\r\nCnfFilerAutoStart=1\r\nMailFilerAutoStart=1\r\n'
} | iconv -f UTF-8 -t CP932 > "$ini"

cp "$here/samples/SAMPLE.LOG" "$demo/log/"
XDG_CONFIG_HOME="$demo/config" XDG_DATA_HOME="$demo/data" \
  "$bin/rkvtool" --ini "$ini" divide "$demo/log/SAMPLE.LOG"
