#!/usr/bin/env bash
# The translation template holds the program's texts from each way they are written: a form's,
# a window's tr(), a class's without QObject, a unit's without a class, a table's of texts that
# are translated where they are shown. A text that lupdate cannot place fails the template.
set -euo pipefail
template_script=$1
lupdate=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$template_script" "$lupdate" "$work/template.ts" >/dev/null

# Whether CONTEXT holds SOURCE, as the program asks for it at run time.
holds() {
  python3 - "$work/template.ts" "$1" "$2" <<'PY'
import sys, xml.etree.ElementTree as tree
path, context, source = sys.argv[1:]
for found in tree.parse(path).getroot().iter('context'):
    if found.findtext('name') == context and any(
            message.findtext('source') == source for message in found.iter('message')):
        sys.exit(0)
print(f'no "{source}" in {context}', file=sys.stderr)
sys.exit(1)
PY
}
failures=0
check() { holds "$1" "$2" || failures=$((failures + 1)); }
check FrmMain "Run &Indefinately"
check evo::FrmMain "Population successfully created!"
check evo::FrmShow "range %1 to %2"
check evo::RunControl "loop executed %1 times"
check evo::Messages "No population exists"
check evo::RepeatedRunsWindow "Lower quartile"
check evo::RunsHistogram "limit reached"
check evo::AverageGeneChart "No generation run yet"
check evo::ModalDialogs "Evolution Simulation"
[ "$failures" -eq 0 ]
