#!/usr/bin/env bash
# Installs the Debian packages that building, testing, benchmarking and fuzzing need.
# libspng-dev reads PNG pictures (VELMORA_PNG).
# fonts-liberation gives Arial's metrics, so the About box's fixed-width labels hold their lines.
# The install and package tools: Pillow enlarges the program icon, help2man writes the manual page,
# dpkg-dev (dpkg-shlibdeps) and file let CPack work out the package's dependencies, and the
# freedesktop, AppStream and Debian validators judge what is installed.
# Idempotent: asks dpkg first and runs apt-get (update once) only for what is missing.
set -euo pipefail

packages=(
    build-essential cmake pkg-config
    qt6-base-dev qt6-base-dev-tools qt6-tools-dev qt6-tools-dev-tools libqt6uitools6 libqt6opengl6-dev libgl-dev
    libgtest-dev libgmock-dev libbenchmark-dev libcli11-dev
    clang llvm clang-format
    fonts-ipafont-gothic fonts-liberation
    xvfb xauth
    libspng-dev
    python3 python3-pil help2man dpkg-dev file desktop-file-utils appstream lintian
)
# The benchmarks' peers, only for `make bench`: `install-deps.sh bench`.
if [ "${1:-}" = "bench" ]; then
    packages+=(libstb-dev libopencv-imgproc-dev libopencv-imgcodecs-dev python3-matplotlib)
fi
# The Windows build of velmora-batch and its tests, only for `make windows*`: `install-deps.sh
# windows`. The cross compiler with POSIX threads (std::thread), Wine to run what it makes, and
# GoogleTest's sources, compiled with that compiler since Debian ships no Windows build of it.
if [ "${1:-}" = "windows" ]; then
    packages+=(g++-mingw-w64-x86-64-posix wine64 wine googletest zip)
fi

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
fi
echo "Installing missing packages: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
