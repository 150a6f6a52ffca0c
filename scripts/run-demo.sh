#!/bin/sh
# Starts the simulated unit on a pseudo-terminal in the demo folder, maps COM1
# to it in the demo's CorvaneVeskar.ini, then runs the program there. The unit
# stops when the program ends.
set -eu

build=$(cd "$1" && pwd)
fault=${2:-} # e.g. silent: the simulated unit misbehaves (veskar-unit-sim --help)
demo="$build/demo"
mkdir -p "$demo"
cd "$demo"

port="$demo/unit-port"
"$build/src/programming/unit/veskar-unit-sim" --pty "$port" --store "$demo/unit-store" \
    --trace "$demo/unit-trace.txt" ${fault:+--fault "$fault"} > "$demo/unit.log" 2>&1 &
unit=$!
trap 'kill $unit 2>/dev/null || true' EXIT INT TERM

tries=0
until grep -q "serving" "$demo/unit.log" 2>/dev/null; do
    tries=$((tries + 1))
    if [ $tries -gt 50 ] || ! kill -0 $unit 2>/dev/null; then
        echo "The simulated unit did not start:" >&2
        cat "$demo/unit.log" >&2
        exit 1
    fi
    sleep 0.1
done

# COM1 = the simulated unit; every other group and key of the ini is kept.
ini="$demo/CorvaneVeskar.ini"
touch "$ini"
awk -v device="$port" '
    /^\[/ { inPorts = ($0 == "[Ports]") }
    inPorts && /^COM1=/ { next }
    { print }
    inPorts && /^\[/ { print "COM1=" device; done = 1 }
    END { if (!done) { if (NR) print ""; print "[Ports]"; print "COM1=" device } }
' "$ini" > "$ini.new" && mv "$ini.new" "$ini"

cat <<INFO
Simulated unit on COM1 ($port)${fault:+ with the fault $fault}; its trace is in $demo/unit-trace.txt.
From another terminal, in $demo, while no Programming dialog is open (it holds the port):
  ../src/cli/veskar-cli --port COM1 read-config unit.dat
  ../src/cli/veskar-cli --port COM1 write-config Veskar.dat
INFO

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display: the program runs on a virtual one (xvfb-run); quit with Ctrl+C."
    xvfb-run -a "$build/src/app/veskar"
else
    "$build/src/app/veskar"
fi
