#!/bin/sh
# The serial set-up helper against a fake system: its port list, the check
# mode, and the ModemManager rule it writes (only with consent, only for
# adapters the package's rule does not cover, never twice).
# Usage: serial_setup_test.sh path/to/serial-setup.sh
set -u
helper=${1:?usage: serial_setup_test.sh HELPER}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
. "$(dirname "$0")/check.sh"
explain_failure() { [ -f "$work/out" ] && sed 's/^/  | /' "$work/out" >&2; }
says() { grep -qF -- "$1" "$work/out"; }
silent() { ! grep -qF -- "$1" "$work/out"; }

# Two USB adapters (an Exar the package's rule does not know, an FTDI it
# does) and a built-in port, as /dev and sysfs show them.
mkdir -p "$work/dev" "$work/rules" "$work/bin"
touch "$work/dev/ttyS0" "$work/dev/ttyUSB0" "$work/dev/ttyUSB1"
usb_tty() {  # usb_tty tty vendor product
    usb=$work/sys/devices/pci0/usb1/1-$1
    mkdir -p "$usb/1-$1:1.0/$1" "$work/sys/class/tty/$1"
    echo "$2" >"$usb/idVendor"
    echo "$3" >"$usb/idProduct"
    ln -s "$usb/1-$1:1.0/$1" "$work/sys/class/tty/$1/device"
}
usb_tty ttyUSB0 04e2 1410
usb_tty ttyUSB1 0403 6001
mkdir -p "$work/sys/class/tty/ttyS0"
touch "$work/ModemManager"
# The administrator's rights come from a sudo that simply runs the command;
# the user is "guard", already in the group dialout.
printf '#!/bin/sh\nexec "$@"\n' >"$work/bin/sudo"
cat >"$work/bin/id" <<'ID'
#!/bin/sh
case "$*" in
    -un) echo guard ;;
    -nG | "-nG guard") echo "guard dialout" ;;
    -u) echo 1000 ;;
    *) exit 1 ;;
esac
ID
chmod +x "$work/bin/sudo" "$work/bin/id"
rule=$work/rules/61-dorodure-station-local.rules

run() {  # run "answers" [args...]: the helper's output in $work/out, its status in $status
    answers=$1
    shift
    printf "$answers" | PATH="$work/bin:$PATH" DORODURE_DEV="$work/dev" DORODURE_SYSFS="$work/sys" \
        DORODURE_UDEV_RULES="$work/rules" DORODURE_UDEVADM=true \
        DORODURE_MODEMMANAGER="$work/ModemManager" sh "$helper" "$@" >"$work/out" 2>&1
    status=$?
}

run "" --check
check "the check lists each port with its USB ids" says "$work/dev/ttyUSB0  (group"
check "the check names the Exar's ids" says "; USB 04e2:1410)"
check "the built-in port has no USB ids" silent "ttyS0  (group root: you may open it; USB"
check "only the uncovered adapter is named" says "ModemManager may hold these USB adapters open: 04e2:1410."
check "the user's membership is reported" says "guard is a member of the group dialout"
check "the check reports a needed change" [ "$status" -eq 1 ]
check "the check writes nothing" [ ! -e "$rule" ]

run "n\n"
check "declining writes no rule" [ ! -e "$rule" ]
check "declining says so" says "Nothing changed."

run "y\n"
check "consent writes the rule" [ -f "$rule" ]
check "the rule ignores the Exar for ModemManager" grep -qx \
    'SUBSYSTEM=="tty", SUBSYSTEMS=="usb", ATTRS{idVendor}=="04e2", ATTRS{idProduct}=="1410", ENV{ID_MM_DEVICE_IGNORE}="1"' "$rule"
check "the covered FTDI is not repeated" sh -c "! grep -q 0403 '$rule'"
check "the user is told to replug" says "Unplug the adapter and plug it in again."

run "y\n"
check "a second run asks nothing about ModemManager" silent "ModemManager may hold"
check "a second run leaves the rule as it was" [ "$(grep -c 04e2 "$rule")" -eq 1 ]
check "nothing more is needed" [ "$status" -eq 0 ]

rm -f "$rule" "$work/ModemManager"
run "" --check
check "without ModemManager nothing is needed for the adapters" says "ModemManager is not installed"
check "without ModemManager no rule is written" [ ! -e "$rule" ]

echo "serial set-up helper: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
