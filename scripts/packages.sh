# Debian packages the build, the tests and the demo need; sourced by the other scripts.
ZELVO_PACKAGES=(
    build-essential cmake ninja-build pkg-config
    libsqlite3-dev sqlite3 libssl-dev openssl
    qt6-base-dev libgl1-mesa-dev
    libgtest-dev libgmock-dev
    fonts-wqy-microhei fonts-arphic-uming fonts-liberation
    xvfb xauth x11vnc xdotool libx11-dev libxtst-dev x11-utils iproute2
    poppler-utils cups
    clang libclang-rt-14-dev
    libleptonica-dev libtesseract-dev tesseract-ocr-eng tesseract-ocr-chi-sim
    fonts-dejavu-core fonts-freefont-ttf fonts-dseg
    # The fonts the amount reader's glyph templates are drawn from at build time.
    fonts-urw-base35 fonts-roboto-unhinted fonts-open-sans fonts-lato fonts-cantarell
    fonts-hack fonts-crosextra-carlito fonts-crosextra-caladea fonts-inconsolata fonts-noto-mono
    fonts-wqy-zenhei fonts-arphic-ukai
)

# Installs whichever of the packages are missing; one apt-get update, only when needed.
zelvo_install_packages() {
    local missing=()
    local package
    for package in "$@"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
            missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}
