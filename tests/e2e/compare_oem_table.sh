#!/bin/bash
# OEM2ANSI.INI as Wine wrote it against the stand-in's table (CharToOemBuffA of the native build).
#   compare_oem_table.sh <OEM2ANSI.INI from Wine> <native build tree>
# Prints every byte where they differ; exits 1 when they differ, 2 when the stand-in's table cannot
# be made (no native build).
set -u
HERE=$(cd "$(dirname "$0")" && pwd)
ROOT=$(cd "$HERE/../.." && pwd)
wine_table=$1 native=$2
lib=$native/standin/libstandin.a
if [ ! -f "$lib" ]; then echo "oem table: no $lib, not compared"; exit 2; fi
tmp=$(mktemp -d /tmp/oemtable.XXXXXX)
trap 'rm -rf "$tmp"' EXIT
if ! g++ -std=c++17 -I"$ROOT" "$HERE/oem_table_native.cpp" "$lib" -o "$tmp/oem_table" 2>"$tmp/cc.log" ||
   ! "$tmp/oem_table" >"$tmp/standin.bin"; then
  echo "oem table: the stand-in's table could not be made:"; cat "$tmp/cc.log"; exit 2
fi
diffs=$(cmp -l "$wine_table" "$tmp/standin.bin" 2>&1)
if [ -z "$diffs" ]; then
  echo "oem table: Wine's OEM2ANSI.INI and the stand-in's table agree on all 256 bytes"
  exit 0
fi
echo "oem table: Wine's OEM2ANSI.INI and the stand-in's table differ (ANSI byte: Wine, stand-in):"
# cmp -l prints the 1-based offset and both bytes in octal.
perl -ne 'if (/^\s*(\d+)\s+(\d+)\s+(\d+)/) { printf "  0x%02X: 0x%02X 0x%02X\n", $1 - 1, oct($2), oct($3) }
           else { print }' <<<"$diffs"
exit 1
