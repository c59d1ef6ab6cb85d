# Shared by test.sh, run.sh and the Wine helper scripts: installing what is
# missing, building both trees, and a headless Wine with its own prefix.
# Source it from the repository's top folder.

KX_TOP=${KX_TOP:-$(pwd)}
KX_BUILD=$KX_TOP/build
KX_NATIVE=$KX_BUILD/native
KX_WINDOWS=$KX_BUILD/windows
export WINEPREFIX=${WINEPREFIX:-$KX_WINDOWS/wine}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
KX_DISPLAY_NUMBER=${KX_DISPLAY_NUMBER:-77}

KX_PACKAGES=(cmake ninja-build g++ googletest libgtest-dev libbenchmark-dev locales
             g++-mingw-w64-x86-64-posix wine wine64 fonts-wine xvfb xauth x11-utils fonts-liberation socat
             ghostscript poppler-utils imagemagick ccache)
KX_PACKAGES+=(python3)  # the source checks (scripts/check-*.py)
KX_PACKAGES+=(icoutils nsis)  # reading the shipped resources back (wrestool); the installer (makensis)

kx_log() { echo "==> $*" >&2; }

kx_install() {
    local missing=()
    for p in "${KX_PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    if [ ${#missing[@]} -gt 0 ]; then
        kx_log "installing: ${missing[*]}"
        local sudo=""
        [ "$(id -u)" -eq 0 ] || sudo=sudo
        $sudo apt-get update -qq
        DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}" >/dev/null
    fi
    # the number tests also run under a German locale (decimal comma)
    if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
        kx_log "generating the de_DE.UTF-8 locale"
        local sudo=""
        [ "$(id -u)" -eq 0 ] || sudo=sudo
        $sudo sed -i 's/^# *de_DE.UTF-8 UTF-8/de_DE.UTF-8 UTF-8/' /etc/locale.gen
        grep -q '^de_DE.UTF-8 UTF-8' /etc/locale.gen || echo 'de_DE.UTF-8 UTF-8' | $sudo tee -a /etc/locale.gen >/dev/null
        $sudo locale-gen >/dev/null
    fi
}

# ccache, when there, keeps rebuilds of a fresh tree (another checkout of the
# same sources, a wiped build folder) quick; paths are hashed relative to the
# checkout, so checkouts share their cache.
export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$KX_TOP} CCACHE_NOHASHDIR=1
kx_launcher() {
    if command -v ccache >/dev/null 2>&1; then
        echo "-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache"
    fi
}

kx_build() {
    kx_log "building the native tree"
    [ -f "$KX_NATIVE/build.ninja" ] || cmake -S "$KX_TOP" -B "$KX_NATIVE" -G Ninja $(kx_launcher) >/dev/null
    cmake --build "$KX_NATIVE"
    kx_log "building the Windows tree"
    [ -f "$KX_WINDOWS/build.ninja" ] || cmake -S "$KX_TOP" -B "$KX_WINDOWS" -G Ninja $(kx_launcher) \
        -DCMAKE_TOOLCHAIN_FILE="$KX_TOP/cmake/mingw-w64.cmake" >/dev/null
    cmake --build "$KX_WINDOWS"
}

# A headless X server for Wine's windows; reused when it already runs.
kx_start_xvfb() {
    export DISPLAY=:$KX_DISPLAY_NUMBER
    if ! xdpyinfo >/dev/null 2>&1; then
        rm -f "/tmp/.X$KX_DISPLAY_NUMBER-lock" "/tmp/.X11-unix/X$KX_DISPLAY_NUMBER"
        Xvfb "$DISPLAY" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 </dev/null &
        for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
        # a wineserver started before this display has no display driver
        wineserver -k >/dev/null 2>&1 || true
    fi
}

# The build's own Wine prefix with a virtual desktop (no window manager needed)
# and its services started detached, so that no pipe of ctest is inherited.
kx_start_wine() {
    kx_start_xvfb
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        kx_log "creating the Wine prefix $WINEPREFIX"
        mkdir -p "$WINEPREFIX"
        wineboot -i >/dev/null 2>&1 </dev/null
        wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1 </dev/null
        wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1280x1024 /f >/dev/null 2>&1 </dev/null
        wineserver -w
    fi
    # Wine's own fonts (Marlett draws the caption buttons; Tahoma, MS Sans
    # Serif) are not picked up from its data folder; the prefix gets copies.
    if [ ! -f "$WINEPREFIX/drive_c/windows/Fonts/marlett.ttf" ] && [ -d /usr/share/wine/fonts ]; then
        cp /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/"
        wineserver -k >/dev/null 2>&1 || true
    fi
    wineserver -p60 >/dev/null 2>&1 </dev/null || true  # already running
    wine cmd /c exit >/dev/null 2>&1 </dev/null
    # the default printer writes PostScript into build/windows/printer
    if [ -f "$KX_WINDOWS/bin/fileprinter.exe" ]; then
        "$KX_TOP/scripts/file-printer.sh" "$KX_WINDOWS" || kx_log "the Wine prefix got no file printer"
    fi
}
