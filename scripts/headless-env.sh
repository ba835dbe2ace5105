# Sourced by the test and bench scripts: with no display, render through SDL's
# offscreen driver (EGL on Mesa) and mix audio into the dummy driver.
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  export SDL_VIDEODRIVER=offscreen
fi
export SDL_AUDIODRIVER="${SDL_AUDIODRIVER:-dummy}"
export LIBGL_ALWAYS_SOFTWARE=1
