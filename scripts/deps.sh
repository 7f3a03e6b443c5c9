# Sourced by scripts/run and scripts/test: makes sure the build's packages are there.
# As root it installs what is missing with apt-get; otherwise it prints the line to
# run and stops.
quillo_packages="g++ clang libclang-rt-14-dev cmake make libgtest-dev libgmock-dev libbenchmark-dev qt6-base-dev fonts-dejavu-core librsvg2-bin desktop-file-utils appstream libxml2-utils shared-mime-info dpkg-dev"
# Japanese captions and help: IPAex Gothic, a Japanese font of 6 MB installed.
quillo_packages="$quillo_packages fonts-ipaexfont-gothic"
# Replay videos: FFmpeg's libraries, found with pkg-config; ffprobe reads them back in tests.
quillo_packages="$quillo_packages pkg-config libavformat-dev libavcodec-dev libavutil-dev"
quillo_packages="$quillo_packages libswscale-dev libavfilter-dev ffmpeg"
# The window tests run a second time on Wayland, under a headless Weston.
quillo_packages="$quillo_packages weston qt6-wayland"
if [ -n "${QUILLO_EXTRA_PACKAGES:-}" ]; then
  quillo_packages="$quillo_packages $QUILLO_EXTRA_PACKAGES"
fi

quillo_missing=""
for p in $quillo_packages; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" ||
    quillo_missing="$quillo_missing $p"
done

if [ -n "$quillo_missing" ]; then
  if [ "$(id -u)" -eq 0 ]; then
    echo "Installing:$quillo_missing"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -q || exit 1
    # shellcheck disable=SC2086
    apt-get install -y -q --no-install-recommends $quillo_missing || exit 1
  else
    echo "Quillo needs these packages:$quillo_missing"
    echo "Install them with:"
    echo "  sudo apt-get install -y$quillo_missing"
    exit 1
  fi
fi
