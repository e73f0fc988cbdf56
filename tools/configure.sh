# Sourced by the scripts that configure a build folder: cmake_configure DIR
# [cmake-args...] configures the source tree into DIR with the generator DIR
# was first made with (a folder the README's plain command made keeps its
# Unix Makefiles), or with Ninja for a new folder.
cmake_configure() {
  local dir=$1 generator=Ninja made
  shift
  if [ -f "$dir/CMakeCache.txt" ]; then
    made=$(sed -n 's/^CMAKE_GENERATOR:INTERNAL=//p' "$dir/CMakeCache.txt")
    [ -n "$made" ] && generator=$made
  fi
  cmake -S . -B "$dir" -G "$generator" "$@"
}
