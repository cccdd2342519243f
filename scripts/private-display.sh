# Sourced by the scripts that show windows on an X display of their own.
# start_private_display FOLDER: starts Xvfb on the first free display number, keeps its log in
# FOLDER, sets xvfb to its process id (for the caller to end it) and exports DISPLAY.
start_private_display() {
    local folder=$1
    # Xvfb writes the display number it chose to the descriptor given to -displayfd.
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$folder/display" \
        2>"$folder/xvfb.log" &
    xvfb=$!
    for _ in $(seq 100); do
        [ -s "$folder/display" ] && break
        kill -0 "$xvfb" 2>/dev/null || { cat "$folder/xvfb.log" >&2; return 1; }
        sleep 0.1
    done
    [ -s "$folder/display" ] || { echo "Xvfb did not start" >&2; return 1; }
    export DISPLAY=":$(head -n 1 "$folder/display")"
}
