# Debian packages the project builds and tests with, and a function that
# installs the missing ones (apt-get update first) on a fresh machine.
ORVELL_PACKAGES=(
  cmake ninja-build g++ pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
  libpng-dev zlib1g-dev
  libsdl2-dev libgl-dev libegl-dev libgl1-mesa-dri libegl-mesa0
  libopenal-dev libespeak-ng-dev espeak-ng
  libavformat-dev libavcodec-dev libswscale-dev libavutil-dev
  # The fuzz stage: clang, its fuzzer and sanitizer run-time libraries, and
  # the symbolizer that names the lines of a fault's stack.
  clang libclang-rt-14-dev llvm-14
  # A compiler cache: builds of unchanged sources are taken from it.
  ccache
)

orvell_ensure_packages() {
  local missing=()
  local p
  for p in "${ORVELL_PACKAGES[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
      missing+=("$p")
    fi
  done
  if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing missing packages: ${missing[*]}"
    local sudo=""
    if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
    $sudo apt-get update
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y "${missing[@]}"
  fi
}
