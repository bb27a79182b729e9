# Shared by ./run and ./test.
RUN_PACKAGES=(build-essential cmake pkg-config qt6-base-dev qt6-serialport-dev libasound2-dev
  libjpeg62-turbo-dev libsndfile1-dev libgtest-dev libbenchmark-dev xvfb xdg-utils fonts-ipafont-gothic)
TEST_PACKAGES=(xdotool x11-utils python3-aiosmtpd)

install_packages() {
  local missing=()
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  if [ "$(id -u)" -ne 0 ]; then
    echo "Missing packages: ${missing[*]}. Run this as root to install them." >&2
    exit 1
  fi
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

# build_configuration DIR TYPE [cmake options...] [--target T]
build_configuration() {
  local dir=$1 type=$2
  shift 2
  local options=() target=()
  while [ $# -gt 0 ]; do
    if [ "$1" = "--target" ]; then
      target=(--target "$2")
      shift 2
    else
      options+=("$1")
      shift
    fi
  done
  cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE="$type" "${options[@]}" >/dev/null
  cmake --build "$dir" -j "$(nproc)" "${target[@]}"
}
