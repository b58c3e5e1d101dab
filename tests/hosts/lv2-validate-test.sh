#!/usr/bin/env bash
# Checks the built LV2 bundle with lilv (lv2info) and the LV2 validator (lv2_validate).
# lilv must find the plug-in with its ports; the validator's findings are printed, and only the
# ones JUCE's generated files are known to cause are let through.
# Usage: lv2-validate-test.sh LV2_FOLDER URI
set -uo pipefail

# The LV2 specifications come from the system, for class names and preset types.
export LV2_PATH="$1:/usr/lib/lv2"
uri="$2"
for tool in lv2info lv2_validate sord_validate; do
    command -v "$tool" >/dev/null || { echo "FAIL: $tool is missing (scripts/install-deps.sh installs it)"; exit 1; }
done
bundle="$(find "$1" -maxdepth 1 -name '*.lv2' | head -1)"
[ -d "$bundle" ] || { echo "FAIL: no bundle in $LV2_PATH"; exit 1; }

info="$(lv2info "$uri" 2>&1)" || { echo "$info"; echo "FAIL: lv2info does not find $uri"; exit 1; }
echo "$info" | grep -v "^	         Untitled" | head -40
failed=0
expect() {
    local n
    n=$(echo "$info" | grep -c -- "$2" || true)
    if [ "$n" -ne "$1" ]; then echo "FAIL: lv2info shows $n × '$2', expected $1"; failed=1; fi
}
expect 1 "Class:             Instrument Plugin"
expect 4 "lv2core#AudioPort"
expect 2 "Symbol:      audio_in_"
expect 2 "Symbol:      audio_out_"
expect 2 "atom#AtomPort"
expect 128 "^	         Untitled        $"
# An empty IRI resolves to the data file itself, which hosts then show as the author's address.
if echo "$info" | grep -E "Author (Email|Homepage): +file:" >/dev/null; then
    echo "NOTE: the author's email and homepage are empty IRIs in dsp.ttl (COMPANY_EMAIL/COMPANY_WEBSITE)"
fi

# lv2_validate does not quote its arguments: run it inside the bundle on bare file names.
report="$(cd "$bundle" && lv2_validate ./*.ttl 2>&1)"
echo "--- lv2_validate:"
echo "$report" | grep -v "^Skipping file /usr" | grep "^error\|^warning\|^Found" | sort | uniq -c
# What JUCE 7.0.5 writes for every plug-in: enumeration as a port property of patch parameters,
# the program presets' private property, doap on a plug-in not typed doap:Project, and the UI's
# extension data / optional feature lists.
known='^error: (Subject not in domain <http://lv2plug.in/ns/lv2core#Port>|Use of undefined property|Property <[^>]*:Program> has no label|Subject not in domain <http://usefulinc.com/ns/doap#Project>|Object not in range <http://lv2plug.in/ns/lv2core#(ExtensionData|Feature)>)$'
unknown="$(echo "$report" | grep -E "^(error|warning)" | grep -Ev "$known" || true)"
if [ -n "$unknown" ]; then
    echo "FAIL: validator findings beyond those of JUCE's generator:"
    echo "$unknown" | sort | uniq -c
    failed=1
fi
[ "$failed" -eq 0 ] && echo "lv2info and lv2_validate: as expected"
exit "$failed"
