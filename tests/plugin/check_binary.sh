#!/usr/bin/env bash
# The built plug-in exports exactly the seven entry points, undecorated, and imports
# nothing but Windows system libraries (no C++ runtime, libgcc or winpthread DLL).
set -euo pipefail
dll=${1:?plug-in file}
dump=$(i686-w64-mingw32-objdump -p "$dll")
fail=0

grep -q "^Magic.*10b" <<<"$dump" || grep -q "file format pei-i386" < <(i686-w64-mingw32-objdump -f "$dll") \
  || { echo "not a 32-bit PE file"; fail=1; }

exports=$(awk '/\[Ordinal\/Name Pointer\] Table/{t=1;next} t&&/^[[:space:]]*\[/{print $NF} t&&/^$/{t=0}' <<<"$dump" | sort)
expected=$(printf '%s\n' nbEditAction nbExecAction nbInitPlugIn nbMessage nbRegisterInterfaceAccess \
  nbRegisterPlugIn nbRegisterScriptProcessor | sort)
if [ "$exports" != "$expected" ]; then
  echo "exports differ:"; diff <(echo "$expected") <(echo "$exports") || true; fail=1
fi

allowed='^(kernel32|user32|gdi32|ole32|oleaut32|advapi32|shell32|shlwapi|comctl32|comdlg32|msvcrt|uxtheme|version)\.dll$'
while read -r name; do
  lower=$(tr 'A-Z' 'a-z' <<<"$name")
  if ! grep -Eq "$allowed" <<<"$lower"; then echo "imports a non-system library: $name"; fail=1; fi
done < <(awk '/DLL Name:/{print $3}' <<<"$dump")

# The release is optimised for size, stripped and without the run-time's verbose terminate handler.
size=$(stat -c %s "$dll")
if [ "$size" -ge 400000 ]; then echo "plug-in is $size bytes, not under 400,000"; fail=1; fi
if i686-w64-mingw32-objdump -h "$dll" | grep -q '\.debug_'; then echo "plug-in carries debug information"; fail=1; fi

[ $fail -eq 0 ] && echo "plug-in binary: 7 undecorated exports, system imports only, $size bytes: $(awk '/DLL Name:/{printf "%s ", $3}' <<<"$dump")"
exit $fail
