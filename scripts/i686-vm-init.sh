#!/bin/sh
# The first process of the i386 virtual machine that scripts/test-i686.sh
# boots: mounts what the tests need, runs scripts/i686-guest.sh (as
# /tessera/guest.sh) on the second disk, leaves its exit status beside the
# results, and powers the machine off.
export PATH=/usr/sbin:/usr/bin:/sbin:/bin LANG=C HOME=/root
mount -t proc proc /proc
mount -t sysfs sysfs /sys
mkdir -p /dev/pts /dev/shm
mount -t devpts devpts /dev/pts
mount -t tmpfs tmpfs /dev/shm
mount -t tmpfs tmpfs /run
mount -t tmpfs tmpfs /tmp
# Without loopback the tests that talk TCP to 127.0.0.1 hang.
busybox ifconfig lo 127.0.0.1 up
busybox hostname i686vm
display=99
for a in $(cat /proc/cmdline); do
  case $a in tessera_display=*) display=${a#tessera_display=} ;; esac
done
mkdir -p /tessera/results
TESSERA_DISPLAY=$display bash /tessera/guest.sh
echo $? >/tessera/results/exit-status
sync
# Wine's last processes may still be leaving.
sleep 2
umount /tessera || mount -o remount,ro /tessera
echo "tessera: guest done"
echo o >/proc/sysrq-trigger
sleep 30
