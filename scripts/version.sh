#!/bin/sh
# Prints the program's version: the one in project() of CMakeLists.txt.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
version=$(sed -n 's/^project(Tellurix VERSION \([0-9][0-9.]*\)[ )].*/\1/p' "$root/CMakeLists.txt")
[ -n "$version" ] || { echo "no version in project() of $root/CMakeLists.txt" >&2; exit 1; }
echo "$version"
