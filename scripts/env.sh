# Paths shared by the set-up, build and test scripts; sourced, never run.
build_root="${TESSARYN_BUILD:-$top/build}"
deps_prefix="$build_root/deps"
export WINEPREFIX="${TESSARYN_WINEPREFIX:-$build_root/wine}"
export WINEARCH=win32
export WINEDEBUG="${WINEDEBUG:--all}"
# no Mono or Gecko download prompts in the prefix
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
