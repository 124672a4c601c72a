# The Debian packages the build, the tests and the game need, one list per area in packages.d/.
# Sourced by run.sh and test.sh.
DW_PACKAGES=()
for _list in "$(dirname "${BASH_SOURCE[0]}")"/packages.d/*.txt; do
  # shellcheck disable=SC2207
  DW_PACKAGES+=($(grep -v '^#' "$_list"))
done

# Installs whatever is missing (apt-get update once, only when something is missing).
dw_ensure_packages() {
  local missing=()
  local p
  for p in "${DW_PACKAGES[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
      missing+=("$p")
    fi
  done
  if [ ${#missing[@]} -eq 0 ]; then
    return 0
  fi
  echo "Installing: ${missing[*]}"
  local sudo=""
  if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update
  $sudo apt-get install -y --no-install-recommends "${missing[@]}"
}
