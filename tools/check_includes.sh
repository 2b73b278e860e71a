#!/usr/bin/env bash
# Holds every #include "dir/..." of the tree's C++ files against the layers the build links: a
# folder may include from itself and from the folders its library links, directly or through
# another; a test file (a *_test.cpp, a *test_support* file, anything under test_support/) may
# also include the tests' support: test_support/ with sampledata/ below it, and the views' part
# test_support/views/ where its folder already reaches the shell. Prints each offending
# file:line with the rule it breaks and exits 1 on any.
#
# The table mirrors the CMake graph (the LINKS of each folder's library); keep both in step.
# Beside it, the header-only layouts the sample writer lays its files out from, so that each
# position is written down once for the reader and the writer: any folder may include them, and
# they include nothing of the tree themselves.
set -euo pipefail
cd "$(dirname "$0")/.."

# folder: the folders its library links directly
read -r -d '' layers <<'EOF' || true
platform:
engine: platform
sampledata: platform
records: engine
shell: records
shell/qt: shell
parts: engine
parts/views: parts shell
parts/qt: parts/views shell/qt
units: engine
units/views: units parts shell
sales: records
sales/views: sales parts shell
sales/qt: sales/views shell/qt
service: records
service/views: service sales/views shell
app: shell/qt parts/qt sales/qt units/views service/views
test_support: sampledata engine
test_support/views: test_support shell
bench: engine parts sampledata
fuzz: app sampledata
EOF

shared_layouts="engine/control_file.h service/shop_page.h"

git ls-files -z '*.cpp' '*.h' | xargs -0 grep -n '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' /dev/null |
    awk -v layers="$layers" -v shared_layouts="$shared_layouts" '
    function closure(f,    seen, stack, n, cur, parts, k, m, out) {
        # Every folder f reaches, f included, as " a b c ".
        n = 1; stack[1] = f; seen[f] = 1; out = " "
        while (n > 0) {
            cur = stack[n--]; out = out cur " "
            m = split(direct[cur], parts, " ")
            for (k = 1; k <= m; k++)
                if (!(parts[k] in seen)) { seen[parts[k]] = 1; stack[++n] = parts[k] }
        }
        return out
    }
    function folder_of(path,    d) {
        # The longest folder of the table that holds path.
        d = path
        while (sub(/\/[^\/]*$/, "", d)) if (d in direct) return d
        return ""
    }
    BEGIN {
        nl = split(layers, lines, "\n")
        for (i = 1; i <= nl; i++) {
            if (lines[i] !~ /:/) continue
            key = lines[i]; sub(/:.*/, "", key)
            val = lines[i]; sub(/^[^:]*:[ ]*/, "", val)
            direct[key] = val
        }
        for (key in direct) reach[key] = closure(key)
        ns = split(shared_layouts, shared_list, " ")
        for (i = 1; i <= ns; i++) shared[shared_list[i]] = 1
        test_reach = closure("test_support")
        views_reach = closure("test_support/views")
        bad = 0
    }
    {
        # file:line:#include "dir/name.h"
        file = $0; sub(/:.*/, "", file)
        rest = substr($0, length(file) + 2)
        line = rest; sub(/:.*/, "", line)
        inc = rest; sub(/^[^"]*"/, "", inc); sub(/".*/, "", inc)
        if (inc !~ /\//) next
        if (file in shared) {
            printf "%s:%s: \"%s\": a shared layout header includes nothing of the tree\n", file, line, inc
            bad++; next
        }
        if (inc in shared) next
        own = folder_of(file)
        if (own == "") {
            printf "%s:%s: \"%s\": the folder of this file is in no layer of tools/check_includes.sh\n", file, line, inc
            bad++; next
        }
        target = folder_of(inc)
        if (target == "") {
            printf "%s:%s: \"%s\": no folder of the tree holds it\n", file, line, inc
            bad++; next
        }
        if (index(reach[own], " " target " ")) next
        is_test = (file ~ /_test\.(cpp|h)$/ || file ~ /test_support/)
        if (is_test && index(test_reach, " " target " ")) next
        if (is_test && index(reach[own], " shell ") && index(views_reach, " " target " ")) next
        allowed = reach[own]; gsub(/^ | $/, "", allowed)
        printf "%s:%s: \"%s\": %s/ may include only from %s%s\n", file, line, inc, own, allowed,
               is_test ? " and the tests\x27 support" : ""
        bad++
    }
    END {
        if (bad > 0) { printf "check_includes: %d include(s) outside their layers\n", bad; exit 1 }
        print "check_includes: every include within its layers"
    }'
