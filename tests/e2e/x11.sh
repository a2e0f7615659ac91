# Sourced helpers for end-to-end scripts on an X display: click Tresk's tray icon, take screenshots.
# Wine shows tray icons in its "Wine System Tray" window when no desktop tray exists; the first icon is
# the 16-pixel square at (3, 3) inside it. X key events do not reach Tresk's menus (their owner is hidden):
# drive menus from a Windows test program instead (tests/e2e/driver.h).

# Waits up to 20 s for the tray window; prints its X window id.
tresk_wait_tray() {
  local tray
  for _ in $(seq 100); do
    tray=$(xdotool search --onlyvisible --name "Wine System Tray" 2>/dev/null | head -1)
    [ -n "$tray" ] && { echo "$tray"; return 0; }
    sleep 0.2
  done
  return 1
}

# Clicks the first tray icon: button 1 (bookmark menu) or 3 (tray menu).
tresk_click_tray() {
  local tray X Y WIDTH HEIGHT SCREEN WINDOW
  tray=$(tresk_wait_tray) || { echo "no tray window" >&2; return 1; }
  eval "$(xdotool getwindowgeometry --shell "$tray")"
  xdotool mousemove $((X + 8)) $((Y + 8)) click "${1:-1}"
}

# Writes the screen, or the part WxH+X+Y of it, to a PNG file.
tresk_screenshot() {
  if [ -n "${2:-}" ]; then
    xwd -root -silent -display "$DISPLAY" | convert xwd:- -crop "$2" +repage "$1"
  else
    xwd -root -silent -display "$DISPLAY" | convert xwd:- "$1"
  fi
}
