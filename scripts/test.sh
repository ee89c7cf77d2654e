#!/usr/bin/env bash
# Installs what is missing, builds the game and its tests twice (Release, and with
# AddressSanitizer + UndefinedBehaviorSanitizer), and runs every test in both builds.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)

echo "== Checking Debian packages"
scripts/deps.sh

# The Release build is the one the Debian package is made from, so it is configured for /usr.
echo "== Release build in build/"
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr
cmake --build build -j"$jobs"

# Tests need a display for GL windows and a sound device for OpenAL: a virtual X server
# and openal-soft's silent real-time output stand in for them. The server must not reset
# between tests: a reset refuses new connections for a moment and drops the key settings.
export ALSOFT_DRIVERS=null
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0
export LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

# Each build's tests get an X server of their own, so two runs never share a window's focus.
run_ctest() {
    local dir=$1
    shift
    xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" ctest --test-dir "$dir" --output-on-failure --timeout 600 "$@"
}

# Under a heavy load the leak checker's own thread that stops the others at exit can crash
# ("Tracer caught signal"): a fault of the sanitizer's runtime, not of the test. When that is the
# only reason tests failed, those tests run once more; any other failure stands as it is.
tracer_crashes() {
    awk '
        /^ *[0-9]+\/[0-9]+ +Test +#[0-9]+: / {
            name = $4
            failed = $0 !~ / Passed +[0-9.]+ sec/ && $0 !~ /Not Run|Disabled/
            if (failed) crash[name] = 0
        }
        /^ *Start +[0-9]+: / { failed = 0 }
        failed && /Tracer caught signal/ { crash[name] = 1 }
        END {
            for (n in crash) if (!crash[n]) exit 1
            for (n in crash) { gsub(/\./, "\\.", n); printf "%s%s", sep, n; sep = "|" }
        }' "$1"
}
rerun_tracer_crashes() {
    local log=$1 names
    shift
    names=$(tracer_crashes "$log") || return 1
    [ -n "$names" ] || return 1
    echo "== The leak checker crashed at exit in: $names; running those once more"
    "$@" -R "^($names)\$"
}

# Tests that need no display and keep a processor busy: seeded and golden plays, the built-in
# player, replays, the asset generator. In the sanitizer build they run beside the others,
# which mostly wait for the game's frames, with no X server, so they can take no window's focus.
no_display='^(AssetGenerator|ChallengePlay|GoldenPlays|HeadlessPlayTest|PlayerTest|PrefsTest|RandomPlayTest|ReplayFormat|ReplayRecorder|ReplayStoreTest|ReplayVerifyTest|SoakTest)\.'
headless_ctest() {
    env -u DISPLAY ctest --test-dir build-asan --output-on-failure --timeout 600 "$@"
}

# The end-to-end tests mostly wait for the game's own frames, so the Release tests run while
# the sanitizer build compiles; their output is shown once they are done.
echo "== Tests in build/ (beside the sanitizer build; output follows it)"
release_log=build/test-run.log
started=$SECONDS
run_ctest build > "$release_log" 2>&1 &
release_tests=$!
trap 'kill "$release_tests" 2> /dev/null || true' EXIT

echo "== Sanitizer build in build-asan/"
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DBRIM_SANITIZE=ON
cmake --build build-asan -j"$jobs"

release_status=0
wait "$release_tests" || release_status=$?
trap - EXIT
echo "== Tests in build/ ($((SECONDS - started)) s)"
cat "$release_log"
if [ "$release_status" -ne 0 ]; then
    echo "== Tests failed in build/"
    exit "$release_status"
fi

started=$SECONDS
echo "== Tests in build-asan/ (those without a display beside the others; their output follows)"
headless_log=build-asan/test-run-headless.log
headless_ctest -R "$no_display" > "$headless_log" 2>&1 &
headless_tests=$!
trap 'kill "$headless_tests" 2> /dev/null || true' EXIT
window_log=build-asan/test-run-window.log
asan_status=0
run_ctest build-asan -E "$no_display" 2>&1 | tee "$window_log" || asan_status=$?
headless_status=0
wait "$headless_tests" || headless_status=$?
trap - EXIT
if [ "$asan_status" -ne 0 ]; then
    rerun_tracer_crashes "$window_log" run_ctest build-asan && asan_status=0
fi
echo "== Tests in build-asan/ without a display"
cat "$headless_log"
if [ "$headless_status" -ne 0 ]; then
    rerun_tracer_crashes "$headless_log" headless_ctest && headless_status=0
fi
echo "== Tests in build-asan/ ($((SECONDS - started)) s)"
if [ "$asan_status" -ne 0 ] || [ "$headless_status" -ne 0 ]; then
    echo "== Tests failed in build-asan/"
    exit 1
fi
echo "== All tests passed in both builds"
