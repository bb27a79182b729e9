# Shared by ./run and ./test.
RUN_PACKAGES=(build-essential cmake pkg-config qt6-base-dev qt6-serialport-dev libasound2-dev
  libjpeg62-turbo-dev libsndfile1-dev libgtest-dev libbenchmark-dev xvfb xdg-utils fonts-ipafont-gothic)
TEST_PACKAGES=(xdotool x11-utils openbox python3-aiosmtpd)

# Every core, unless the caller asked for another number the usual way.
BUILD_JOBS=${CMAKE_BUILD_PARALLEL_LEVEL:-$(nproc)}
TEST_JOBS=${CTEST_PARALLEL_LEVEL:-$(nproc)}

# How long to wait for another installation that holds the package
# manager's lock, in seconds.
LOCK_WAIT=300

# apt-get, waiting while another installation holds the package manager.
# apt-get's own wait for the lock counts too: the whole wait stays within
# LOCK_WAIT however often apt-get is tried.
apt_get() {
  local errors start=$SECONDS told=0 left
  errors=$(mktemp)
  until DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=$(((left = LOCK_WAIT - SECONDS + start) > 0 ? left : 0)) "$@" 2>"$errors"; do
    if ! grep -q "Could not get lock\|Unable to lock\|Unable to acquire" "$errors" ||
      [ $((SECONDS - start + 5)) -ge "$LOCK_WAIT" ]; then
      cat "$errors" >&2
      rm -f "$errors"
      return 1
    fi
    [ "$told" -eq 0 ] && echo "Another installation is running; waiting for it to finish..." >&2
    told=1
    sleep 5
  done
  cat "$errors" >&2
  rm -f "$errors"
}

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
  apt_get update -qq
  apt_get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

# build_configuration DIR TYPE [cmake options...] [--target T...]
# Without --target, every target.
build_configuration() {
  local dir=$1 type=$2
  shift 2
  local options=() target=()
  while [ $# -gt 0 ]; do
    if [ "$1" = "--target" ]; then
      target=("$@")
      break
    fi
    options+=("$1")
    shift
  done
  cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE="$type" "${options[@]}" >/dev/null
  cmake --build "$dir" -j "$BUILD_JOBS" "${target[@]}"
}

# The map data: Natural Earth's land and countries as the npm package
# world-atlas 2.0.2, fetched once into downloads/ and checked against the
# integrity npm gives for it. The build makes the map files from it.
WORLD_ATLAS=downloads/world-atlas-2.0.2.tgz
WORLD_ATLAS_INTEGRITY=sha512-IXfV0qwlKXpckz1FhwXVwKRjiIhOnWttOskm5CtxMsjgE/MXAYRHWJqgXOpM8IkcPBoXnyTU5lFHcYa5ChG0LQ==

integrity_of() {
  local hex
  hex=$(sha512sum "$1" | cut -d' ' -f1)
  printf 'sha512-%s' "$(printf '%b' "$(sed 's/../\\x&/g' <<<"$hex")" | base64 -w0)"
}

fetch_map_data() {
  if [ -f "$WORLD_ATLAS" ] && [ "$(integrity_of "$WORLD_ATLAS")" = "$WORLD_ATLAS_INTEGRITY" ]; then
    return 0
  fi
  command -v npm >/dev/null 2>&1 || install_packages npm
  mkdir -p downloads
  rm -f "$WORLD_ATLAS"
  (cd downloads && npm pack --silent world-atlas@2.0.2 >/dev/null)
  if [ ! -f "$WORLD_ATLAS" ] || [ "$(integrity_of "$WORLD_ATLAS")" != "$WORLD_ATLAS_INTEGRITY" ]; then
    rm -f "$WORLD_ATLAS"
    echo "The map data (world-atlas 2.0.2 from npm) could not be fetched or does not match its checksum." >&2
    exit 1
  fi
}
