#!/usr/bin/env bash
# Packs the tracked files of the commit checked out into OUTDIR/brimstrand-VERSION.tar.xz:
#   scripts/dist.sh VERSION OUTDIR
# The same commit always gives the same bytes: git archive stamps every entry with the commit's
# time and orders them by path, and single-threaded xz compresses deterministically.
set -euo pipefail
version=$1
outdir=$2
cd "$(dirname "$0")/.."
name=brimstrand-$version
git archive --format=tar --prefix="$name/" HEAD | xz -9 -T1 -c > "$outdir/$name.tar.xz.part"
mv "$outdir/$name.tar.xz.part" "$outdir/$name.tar.xz"
echo "dist: $outdir/$name.tar.xz"
