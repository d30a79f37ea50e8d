#!/usr/bin/env bash
# Installs the Debian packages that the build and the tests need, when run as
# root and any of them is missing. Runs `apt-get update` at most once.
set -euo pipefail

packages=(
  cmake g++ clang make libgtest-dev libbenchmark-dev  # build, unit tests, benchmarks
  zxing-cpp-tools dmtx-utils imagemagick           # decoders that read our symbols back
  libwmf-bin emf2svg                               # third-party metafile readers
  mingw-w64 wine64 wine32:i386                     # the Windows DLL and its proof under Wine
  llvm lld                                         # ecc200.lib (llvm-dlltool) and its link check (lld-link)
  libcli11-dev libpng-dev help2man librsvg2-bin    # the tool's options, PNG, man page; SVG rendering in tests
  zlib1g-dev libz-mingw-w64-dev                    # the PNG output's deflate, native and for the MinGW builds
  dpkg-dev file pkg-config unzip                   # Debian package (shlibdeps), pkg-config clients, zips
  python3-pytest python3-setuptools python3-pip    # the Python binding and its tests
  python3-venv python3-wheel python3-build        # its wheel, installed into a fresh venv
  python3-mypy                                     # its types, checked
  python3-numpy python3-pil                        # numpy and Pillow reading its pixels in the tests
  mono-mcs mono-runtime                            # the C# binding, compiled and run with Mono
  libclang-rt-14-dev                               # libFuzzer and the sanitizers' runtimes for Clang
  zint libzint-dev libdmtx-dev libzxing-dev        # peers in the speed comparison
  hyperfine gnuplot-nox                            # timing whole commands, plotting the comparison
  python3-zxing-cpp python3-pylibdmtx              # Python peers in the speed comparison
  emscripten chromium                              # the JavaScript package (WebAssembly) and its page in a browser
)
# Node and npm: the machine's own when it has them (a Node from elsewhere
# ships npm), else Debian's.
command -v node >/dev/null || packages+=(nodejs)
command -v npm >/dev/null || packages+=(npm)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$package")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
  echo "install-deps: missing packages (run as root to install): ${missing[*]}" >&2
  exit 1
fi

if ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
fi
echo "install-deps: installing ${missing[*]}"
apt-get update -qq
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
