#!/bin/bash
# OEM2ANSI.INI as Wine wrote it against the stand-in's table (CharToOemBuffA of the native build).
#   compare_oem_table.sh <OEM2ANSI.INI from Wine> <native build tree>
# Exits 1 when a difference is not explained in oem-table-differences.txt (or an explained one is
# gone), 2 when the stand-in's table cannot
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
# cmp -l prints the 1-based offset and both bytes in octal.
perl -ne 'if (/^\s*(\d+)\s+(\d+)\s+(\d+)/) { printf "0x%02X 0x%02X 0x%02X\n", $1 - 1, oct($2), oct($3) }' \
  <<<"$diffs" >"$tmp/found"
# Every difference must be one that tests/e2e/oem-table-differences.txt explains, and every
# explained one must still be there.
grep -v '^#' "$HERE/oem-table-differences.txt" | awk 'NF {print $1, $2, $3}' >"$tmp/explained"
unexplained=$(grep -vxF -f "$tmp/explained" "$tmp/found" || true)
gone=$(grep -vxF -f "$tmp/found" "$tmp/explained" || true)
echo "oem table: $(wc -l <"$tmp/found") bytes differ between Wine and the stand-in, each explained in oem-table-differences.txt"
if [ -n "$unexplained" ] || [ -n "$gone" ]; then
  [ -n "$unexplained" ] && printf 'oem table: unexplained difference (ANSI byte, Wine, stand-in):\n%s\n' "$unexplained"
  [ -n "$gone" ] && printf 'oem table: explained difference no longer seen:\n%s\n' "$gone"
  exit 1
fi
exit 0
