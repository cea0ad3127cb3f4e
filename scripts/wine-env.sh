# Sourced by the Wine scripts: the build folder and the settings of its private prefix.
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
build_dir=${QUILLET_BUILD_DIR:-$here/../build/windows}
export WINEPREFIX=${WINEPREFIX:-$build_dir/wineprefix}
export WINEARCH=${WINEARCH:-win32}
export WINEDEBUG=${WINEDEBUG:--all}
# No menu entries of the host desktop for the shortcuts that tests make.
# No debugger either: a crashing program ends at once instead of waiting in it until the
# test run times out.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree=;mshtml=;winemenubuilder.exe=d;winedbg.exe=d}
