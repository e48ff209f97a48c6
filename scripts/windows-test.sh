#!/usr/bin/env bash
# Runs the Windows build's test suites under Wine, in a Wine prefix of the build's own, then the
# comparison of velmora-batch.exe with the Linux velmora-batch; prints how many tests ran, passed
# and were skipped, with each skip's reason.
# Usage: windows-test.sh WINDOWS_BUILD_DIR LINUX_BUILD_DIR
set -euo pipefail
windows_dir=$(realpath "$1")
linux_dir=$(realpath "$2")
cd "$(dirname "$0")/.."

export WINEPREFIX="$windows_dir/wineprefix"
export WINEDEBUG=-all
# No Mono or Gecko installer: nothing here needs .NET or HTML.
export WINEDLLOVERRIDES="mscoree,mshtml="
wine=$(command -v wine64 || command -v wine)
if [ ! -d "$WINEPREFIX" ]; then
    echo "Making the Wine prefix $WINEPREFIX"
    "$wine" wineboot --init >/dev/null 2>&1
fi

results="$windows_dir/test-results"
rm -rf "$results"
mkdir -p "$results"
status=0
for suite in tests/raster/velmora_raster_tests tests/algorithms/velmora_algorithm_tests \
    tests/batch/velmora_batch_tests; do
    name=$(basename "$suite")
    echo "=== $name.exe under Wine"
    # The XML report names every test and its outcome; the console shows only failures.
    if ! (cd "$results" && "$wine" "$windows_dir/$suite.exe" --gtest_brief=1 \
        --gtest_output="xml:$name.xml"); then
        status=1
    fi
done

python3 - "$results" <<'PY' || status=1
import glob, sys, xml.etree.ElementTree as ET
run = passed = skipped = failed = 0
reasons = []
for report in sorted(glob.glob(sys.argv[1] + "/*.xml")):
    for case in ET.parse(report).getroot().iter("testcase"):
        if case.get("result") == "skipped" or case.find("skipped") is not None:
            skipped += 1
            node = case.find("skipped")
            # The message is the skip's place, a line end, then the reason given.
            reason = ((node.get("message") if node is not None else "") or "").split("\n")[-1]
            reasons.append(f"  {case.get('classname')}.{case.get('name')}: {reason.strip()}")
            continue
        run += 1
        if case.find("failure") is not None:
            failed += 1
        else:
            passed += 1
print("Skipped under Wine, with their reasons:")
print("\n".join(reasons) if reasons else "  none")
print(f"Windows tests under Wine: {run} run, {passed} passed, {failed} failed, {skipped} skipped")
sys.exit(1 if failed or run == 0 else 0)
PY

echo "=== velmora-batch.exe beside the Linux velmora-batch"
python3 tests/windows/compare_batch.py "$linux_dir/batch/velmora-batch" \
    "$windows_dir/batch/velmora-batch.exe" || status=1
exit $status
