# Sourced by the bench scripts: fresh_game_dir <built game folder> <new folder>
# makes a copy of the runtime folder for a player's first start, as the display
# tests do: no profiles, no options of the developer's own; the songs, only
# ever read, are linked instead of copied.
fresh_game_dir() {
  local built="$1" to="$2" entry
  rm -rf "$to"
  mkdir -p "$to/media"
  for entry in "$built"/*; do
    [ "$(basename "$entry")" = media ] || cp -r "$entry" "$to/"
  done
  for entry in "$built"/media/*; do
    if [ "$(basename "$entry")" = songs ]; then ln -s "$(realpath "$entry")" "$to/media/songs"
    else cp -r "$entry" "$to/media/"; fi
  done
  rm -f "$to/User.dat" "$to/options.dat"
}
