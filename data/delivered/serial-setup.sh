#!/bin/sh
# Dorodure uploader: serial port set-up helper.
#
# The upload station hangs on a serial port (a built-in RS-232 port or a USB
# serial adapter). Linux needs no driver for it, but your user must be allowed
# to open the port: on Debian that means membership of the group that owns
# the serial devices, normally "dialout". This helper lists the ports, says
# whether you may open them and, when you agree, adds you to the group.
#
# Usage: sh serial-setup.sh          (asks before changing anything)
#        sh serial-setup.sh --check  (only reports)

user=$(id -un)
group=dialout
check_only=0
[ "${1:-}" = "--check" ] && check_only=1

echo "Serial ports on this PC:"
found=0
for dev in /dev/ttyS[0-9]* /dev/ttyUSB[0-9]* /dev/ttyACM[0-9]* /dev/rfcomm[0-9]*; do
    [ -e "$dev" ] || continue
    found=1
    owner_group=$(stat -c %G "$dev" 2>/dev/null || echo "?")
    if [ -r "$dev" ] && [ -w "$dev" ]; then
        access="you may open it"
    else
        access="no permission for $user"
    fi
    echo "  $dev  (group $owner_group: $access)"
    [ "$owner_group" != "?" ] && [ "$owner_group" != "root" ] && group=$owner_group
done
[ $found -eq 1 ] || echo "  none found - plug in the upload station's cable or adapter and run this again"

if id -nG "$user" | tr ' ' '\n' | grep -qx "$group"; then
    echo "$user is a member of the group $group: the program may open the serial ports."
    echo "(If you were added just now, log out and in again first.)"
    exit 0
fi

echo "$user is not a member of the group $group, so the program cannot open the serial ports."
if [ $check_only -eq 1 ]; then
    exit 1
fi
printf "Add %s to the group %s now? This needs the administrator password. [y/N] " "$user" "$group"
read -r answer
case "$answer" in
    y|Y|yes|YES)
        if [ "$(id -u)" -eq 0 ]; then
            usermod -a -G "$group" "$user"
        else
            sudo usermod -a -G "$group" "$user"
        fi || { echo "Could not change the group membership."; exit 1; }
        echo "Done. Log out and in again, then start the Dorodure uploader."
        ;;
    *)
        echo "Nothing changed. An administrator can run: usermod -a -G $group $user"
        exit 1
        ;;
esac
