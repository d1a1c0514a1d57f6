#!/usr/bin/env bash
# Runs the shipped i686 files (build/win32) under 32-bit Wine inside an i386
# Debian 12 root, and prints one line per test and "N passed, N failed".
#
#   scripts/test-i686.sh [--no-build] [--chroot|--vm] [--root-only]
#
# The root (wine32, Xvfb, imagemagick) is made once with debootstrap from bookworm main
# only, so its library versions agree with each other whatever the host runs,
# and is kept in $TESSEL_I686_CACHE (default /var/cache/tessera-i686), keyed by
# a hash of its package list and recipe. It is entered in one of two ways:
#   - chroot: where the host kernel runs 32-bit x86 code (scripts/host-arch.sh
#     --kernel prints win32); 32-bit Wine then runs at native speed;
#   - vm: otherwise, booted as a whole i386 machine under qemu-system-i386.
# Both run the same guest script (scripts/i686-guest.sh) on a copy of
# build/win32/bin and read its results back.
#
# --no-build: build/win32 is built already (scripts/test.sh builds it).
# --root-only: make (or find) the root and stop.
#
# Exit status: 0 every test passed; 1 a test failed; 2 bad usage or no build;
# 3 a host package cannot be installed; 4 the root cannot be made (the mirror,
# say); 5 the guest does not start; 6 the guest outran its time limit;
# 7 --chroot where the kernel runs no 32-bit code.
# Status 3 to 7 come with one line "test-i686 failed: <reason>".
set -uo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

cache=${TESSEL_I686_CACHE:-/var/cache/tessera-i686}
guest_limit=${TESSEL_I686_TIME_LIMIT:-2400}   # seconds for the whole guest run
build_first=1 mode= root_only=0
for arg; do
  case $arg in
    --no-build) build_first=0 ;;
    --chroot) mode=chroot ;;
    --vm) mode=vm ;;
    --root-only) root_only=1 ;;
    *) echo "usage: scripts/test-i686.sh [--no-build] [--chroot|--vm] [--root-only]" >&2; exit 2 ;;
  esac
done

fail() {  # status reason
  echo "test-i686 failed: $2"
  exit "$1"
}
# An interrupt ends the script through its EXIT trap, which stops the guest.
trap 'exit 130' INT TERM
log_dir=${TESSEL_I686_OUT:-$root/build/i686}   # logs, results, pictures
mkdir -p "$log_dir"
log=$log_dir/test-i686.log
: >"$log"
[ "$(id -u)" -eq 0 ] || fail 3 "must run as root (debootstrap, chroot, mounts)"

# The guest's packages: the 32-bit Wine with the X libraries it loads at run
# time (as the host's Wine has them), Xvfb, and imagemagick for screenshots.
# The arch-all "wine" wrapper is added by apt inside the root, since
# debootstrap's resolver picks wine64 (no i386 build) for it.
guest_packages=(wine32 libwine xvfb imagemagick procps
                libxrender1 libxcursor1 libxi6 libxrandr2 libxinerama1 libxcomposite1 libxfixes3 libxxf86vm1)
vm_packages=(linux-image-686 busybox-static kmod)
recipe_version=1   # raise when the way the root is made changes

# --- host packages --------------------------------------------------------
apt_opts=(-q -y -o DPkg::Lock::Timeout=600 -o Acquire::Retries=3)
host_install() {  # package...: installs the missing ones, retrying faults that pass
  local todo=() p try
  for p; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || todo+=("$p")
  done
  [ ${#todo[@]} -eq 0 ] && return 0
  export DEBIAN_FRONTEND=noninteractive
  for try in 1 2 3 4; do
    apt-get "${apt_opts[@]}" install --no-install-recommends "${todo[@]}" >>"$log" 2>&1 && return 0
    apt-get "${apt_opts[@]}" update >>"$log" 2>&1
    sleep $((${TESSEL_I686_BACKOFF:-5} << (try - 1)))
  done
  fail 3 "cannot install ${todo[*]} on the host (see build/i686/test-i686.log)"
}

mirror() {
  local m
  m=$(awk '/^URIs:/{print $2; exit}' /etc/apt/sources.list.d/debian.sources 2>/dev/null)
  [ -n "$m" ] || m=$(awk '/^deb /{print $2; exit}' /etc/apt/sources.list 2>/dev/null)
  echo "${m:-http://deb.debian.org/debian}"
}

# --- the root -------------------------------------------------------------
unmount_under() {  # dir: every mount at or below it, deepest first
  local m
  findmnt -rn -o TARGET | awk -v d="$1" '$0 == d || index($0, d "/") == 1' | sort -r |
    while read -r m; do umount -l "$m" 2>/dev/null; done
}
remove_tree() {  # dir: never through a mount still inside it (a bound /dev)
  unmount_under "$1"
  rm -rf --one-file-system "$1"
}

# The chroot root: debootstrap runs its second stage here, 32-bit code being
# native. Made in a scratch folder and renamed when complete.
make_chroot_root() {  # folder
  local dir=$1 tmp=$cache/making-${1##*/} started=$SECONDS
  [ -f "$dir/.tessera-root-complete" ] && return 0
  host_install debootstrap
  echo "== making the i386 root (once; cached in $dir)"
  remove_tree "$tmp"
  local include
  include=$(IFS=,; echo "${guest_packages[*]}")
  if ! debootstrap --arch=i386 --variant=minbase --include="$include" bookworm "$tmp" "$(mirror)" >>"$log" 2>&1; then
    local why
    why=$(grep -E '^(E|W):' "$log" | tail -1)
    remove_tree "$tmp"
    fail 4 "debootstrap of the i386 root failed${why:+ ($why)}"
  fi
  cp /etc/resolv.conf "$tmp/etc/resolv.conf" 2>/dev/null
  if ! chroot "$tmp" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin DEBIAN_FRONTEND=noninteractive \
       sh -c 'apt-get -q update && apt-get -q -y install --no-install-recommends wine && apt-get clean' >>"$log" 2>&1; then
    remove_tree "$tmp"
    fail 4 "the arch-all wine package could not be installed in the i386 root"
  fi
  unmount_under "$tmp"
  rm -rf "$tmp/var/lib/apt/lists/"* "$tmp/var/cache/apt/"*.bin
  printf '%s\n' "${guest_packages[@]}" >"$tmp/.tessera-root-complete"
  mv "$tmp" "$dir"
  echo "   root made in $((SECONDS - started)) s"
}

# --- the build ------------------------------------------------------------
if [ "$build_first" = 1 ] && [ "$root_only" = 0 ]; then
  source scripts/trees.sh
  # The host's own 32-bit Wine plays no part here.
  TESSEL_WINE32=no run_setup || exit 3
  configure win32 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release || fail 2 "cannot configure build/win32"
  build win32 || fail 2 "build/win32 does not build"
fi
if [ "$root_only" = 0 ]; then
  [ -f build/win32/bin/tessel.exe ] || fail 2 "no i686 build in build/win32/bin (run without --no-build)"
  # The Windows tests of the tree as ctest knows them, run from bin/ without
  # ctest's emulator: "<name> <time limit> <program in bin/> [arguments]".
  tests=$(ctest --test-dir build/win32 -L wine --show-only=json-v1 2>/dev/null | python3 -c '
import json, os, sys
for t in json.load(sys.stdin)["tests"]:
    limit = next((p["value"] for p in t.get("properties", []) if p["name"] == "TIMEOUT"), 300)
    command = t["command"]
    exe = next(i for i, part in enumerate(command) if part.lower().endswith(".exe"))
    print(t["name"], int(float(limit)), os.path.basename(command[exe]), *command[exe + 1:])') ||
    fail 2 "ctest cannot list the tests of build/win32"
  # TESSEL_I686_ONLY=name,name runs only those (while working on them).
  if [ -n "${TESSEL_I686_ONLY:-}" ]; then
    tests=$(grep -E "^(${TESSEL_I686_ONLY//,/|}) " <<<"$tests")
  fi
  [ -n "$tests" ] || fail 2 "build/win32 has no Windows tests${TESSEL_I686_ONLY:+ named $TESSEL_I686_ONLY}"
fi
kernel=$(scripts/host-arch.sh --kernel)
[ -n "$mode" ] || { [ "$kernel" = win32 ] && mode=chroot || mode=vm; }
[ "$mode" = chroot ] && [ "$kernel" != win32 ] && fail 7 "this kernel runs no 32-bit code: use --vm"

mkdir -p "$cache" || fail 4 "cannot create the cache folder $cache"
# One run at a time per way in: they share the root (or the image) and its mounts.
exec 9>"$cache/.lock-$mode"
flock -w 3600 9 || fail 4 "another run holds $cache/.lock-$mode"
key=$( { echo "$recipe_version"; printf '%s\n' "${guest_packages[@]}"; } | sha256sum | cut -c1-16)
chroot_root=$cache/root-$key
vm_key=$( { echo "$recipe_version"; printf '%s\n' "${guest_packages[@]}" "${vm_packages[@]}"; } | sha256sum | cut -c1-16)
vm_dir=$cache/vm-$vm_key
vm_kernel_dir=$vm_dir

# --- the guest run -------------------------------------------------------------
results=$log_dir/results
started_at=$SECONDS
# A display number free both here and in the abstract socket names the root
# shares with the host (same network namespace).
free_display() {
  local n=150
  while [ -e "/tmp/.X11-unix/X$n" ] || grep -q "@/tmp/.X11-unix/X$n\$" /proc/net/unix 2>/dev/null; do
    n=$((n + 1))
  done
  echo $n
}
stage_work() {  # folder inside the guest root for /tessera
  local work=$1
  remove_tree "$work"
  mkdir -p "$work/results" || fail 5 "cannot write into the guest root"
  cp -a build/win32/bin "$work/bin" && cp scripts/i686-guest.sh "$work/guest.sh" &&
    echo "$tests" >"$work/tests.txt" || fail 5 "cannot copy the i686 build into the guest root"
}

guest_pids() {  # root: processes whose root folder is it
  local p
  for p in /proc/[0-9]*; do
    [ "$(readlink "$p/root" 2>/dev/null)" = "$1" ] && echo "${p#/proc/}"
  done
}
qemu_pids() {  # disk image: the machines that have it open
  local p
  for p in /proc/[0-9]*; do
    tr '\0' '\n' <"$p/cmdline" 2>/dev/null | grep -q "^file=$1," && echo "${p#/proc/}"
  done
}
stop_qemu() {  # disk image
  local pids
  pids=$(qemu_pids "$1")
  [ -n "$pids" ] && kill $pids 2>/dev/null
  return 0
}
chroot_cleanup() {
  local pids
  pids=$(guest_pids "$chroot_root")
  [ -n "$pids" ] && kill -9 $pids 2>/dev/null
  unmount_under "$chroot_root"
}

run_chroot() {
  make_chroot_root "$chroot_root"
  stage_work "$chroot_root/tessera"
  trap chroot_cleanup EXIT
  mount -t proc proc "$chroot_root/proc" && mount --rbind /sys "$chroot_root/sys" &&
    mount --rbind /dev "$chroot_root/dev" && mount -t tmpfs tmpfs "$chroot_root/tmp" ||
    fail 5 "cannot mount proc, sys, dev and tmp in the guest root"
  echo "== i686 tests in the i386 root (chroot; 32-bit Wine runs natively)"
  timeout -k 10 "$guest_limit" chroot "$chroot_root" /usr/bin/env -i TESSERA_DISPLAY="$(free_display)" \
    bash /tessera/guest.sh 2>&1 | tee "$log_dir/guest.log"
  guest_rc=${PIPESTATUS[0]}
  chroot_cleanup
  trap - EXIT
  guest_results="$chroot_root/tessera/results"
}

# --- the virtual machine (where the kernel runs no 32-bit code) -------------
# The same root booted under qemu-system-i386 (software emulation): debootstrap
# unpacks it here (--foreign) and its second stage runs inside the machine; a
# small initrd (static busybox, virtio and ext4 modules from the kernel .deb)
# mounts it. Each run boots the cached image as a snapshot (never changed) with
# a second disk holding /tessera, and reads the results back from that disk.
qemu_cmd() {  # image data-image init [more kernel arguments]: the machine
  local drives=(-drive "file=$2,if=virtio,format=raw,cache=unsafe")
  [ "$1" = snapshot ] && drives=(-drive "file=$vm_dir/root.img,if=virtio,format=raw,snapshot=on"
                                 -drive "file=$2,if=virtio,format=raw")
  [ "$1" = stage2 ] && drives=(-drive "file=$2,if=virtio,format=raw,cache=unsafe")
  qemu-system-i386 -m 2048 -smp 2 -accel tcg,thread=multi -cpu max,smap=off \
    -kernel "$vm_kernel_dir/vmlinuz" -initrd "$vm_kernel_dir/initrd.gz" \
    -append "root=/dev/vda rw console=ttyS0 quiet panic=1 init=$3 ${4:-}" \
    "${drives[@]}" -nographic -no-reboot </dev/null
}

write_initrd() {  # root-folder output-folder: vmlinuz and initrd.gz from the root's .debs
  local root=$1 out=$2 kv work=$2/initrd-work
  local modules="virtio virtio_ring virtio_pci_legacy_dev virtio_pci_modern_dev virtio_pci virtio_blk crc16 crc32c_generic mbcache jbd2 ext4"
  kv=$(ls "$root/var/cache/apt/archives/" | sed -n 's/^linux-image-\([0-9].*-686\)_.*_i386.deb$/\1/p' | head -1)
  [ -n "$kv" ] || return 1
  rm -rf "$work" && mkdir -p "$work/kernel" "$work/busybox" "$work/root"/{bin,proc,sys,dev,newroot,lib/modules} || return 1
  dpkg-deb -x "$root/var/cache/apt/archives/linux-image-${kv}_"*_i386.deb "$work/kernel" &&
    dpkg-deb -x "$root/var/cache/apt/archives/busybox-static_"*_i386.deb "$work/busybox" || return 1
  cp "$work/kernel/boot/vmlinuz-$kv" "$out/vmlinuz" && cp "$work/busybox/bin/busybox" "$work/root/bin/busybox" || return 1
  local m
  for m in $modules; do
    cp "$(find "$work/kernel/lib/modules/$kv" -name "$m.ko" | head -1)" "$work/root/lib/modules/" || return 1
  done
  cat >"$work/root/init" <<EOI
#!/bin/busybox sh
B=/bin/busybox
\$B mount -t proc proc /proc
\$B mount -t devtmpfs dev /dev
for m in $modules; do \$B insmod /lib/modules/\$m.ko; done
INIT=/sbin/init
for a in \$(\$B cat /proc/cmdline); do case \$a in init=*) INIT=\${a#init=};; esac; done
i=0; while [ ! -b /dev/vda ] && [ \$i -lt 100 ]; do \$B sleep 0.2; i=\$((i+1)); done
\$B mount -t ext4 -o rw /dev/vda /newroot || { echo "tessera: cannot mount the root"; \$B poweroff -f; }
# The second disk, when there is one, is /tessera.
if [ -b /dev/vdb ]; then \$B mkdir -p /newroot/tessera; \$B mount -t ext4 /dev/vdb /newroot/tessera; fi
echo "tessera: guest up"
\$B mount --move /dev /newroot/dev
\$B umount /proc
exec \$B switch_root /newroot \$INIT
EOI
  chmod 755 "$work/root/init"
  (cd "$work/root" && find . | cpio -o -H newc --quiet | gzip -1) >"$out/initrd.gz" || return 1
  rm -rf "$work"
}

make_vm_image() {
  local tmp=$cache/making-${vm_dir##*/} started=$SECONDS
  [ -f "$vm_dir/.tessera-vm-complete" ] && return 0
  host_install debootstrap qemu-system-x86 e2fsprogs cpio
  echo "== making the i386 machine image (once; cached in $vm_dir; about 10 minutes)"
  remove_tree "$tmp"
  mkdir -p "$tmp" || fail 4 "cannot write $tmp"
  local root=$tmp/root include
  include=$(IFS=,; echo "${guest_packages[*]},${vm_packages[*]}")
  debootstrap --arch=i386 --foreign --variant=minbase --include="$include" bookworm "$root" "$(mirror)" >>"$log" 2>&1 ||
    { remove_tree "$tmp"; fail 4 "debootstrap (first stage) of the i386 root failed: $(grep -E '^(E|W):' "$log" | tail -1)"; }
  vm_kernel_dir=$tmp
  write_initrd "$root" "$tmp" || { remove_tree "$tmp"; fail 4 "no kernel or busybox among the root's packages"; }
  # The kernel's own initramfs is never used: keep its packages out of the
  # second stage, which would spend minutes building one.
  local f
  for f in base required; do
    tr ' ' '\n' <"$root/debootstrap/$f" |
      grep -v -x -E 'linux-image-.*|initramfs-tools|initramfs-tools-core|klibc-utils|libklibc|linux-base' |
      grep -v '^$' | tr '\n' ' ' >"$root/debootstrap/$f.new" && mv "$root/debootstrap/$f.new" "$root/debootstrap/$f"
  done
  # debootstrap cannot choose the arch-all wine wrapper (wine64 | wine32).
  (cd "$root" && apt-get download wine >>"$log" 2>&1) || { remove_tree "$tmp"; fail 4 "cannot download the wine package"; }
  cat >"$root/tessera-stage2.sh" <<'EOS'
#!/bin/sh
export PATH=/usr/sbin:/usr/bin:/sbin:/bin LANG=C
[ -L /proc ] && { rm -f /proc; mkdir /proc; }
mount -t proc proc /proc
mount -t sysfs sysfs /sys
/debootstrap/debootstrap --second-stage && dpkg -i /wine_*_all.deb && rm -f /wine_*_all.deb && apt-get clean &&
  mkdir -p /tessera && echo ok >/.tessera-stage2
tail -5 /debootstrap/debootstrap.log 2>/dev/null
# The second stage unmounts /proc on its way out; sysrq needs it back.
mountpoint -q /proc || mount -t proc proc /proc
sync; echo u >/proc/sysrq-trigger; sleep 1; echo o >/proc/sysrq-trigger; sleep 30
EOS
  chmod 755 "$root/tessera-stage2.sh"
  mkdir -p "$root/etc/dpkg/dpkg.cfg.d" && echo force-unsafe-io >"$root/etc/dpkg/dpkg.cfg.d/tessera-unsafe-io"
  mke2fs -q -t ext4 -L i686root -d "$root" "$tmp/root.img" 6G >>"$log" 2>&1 ||
    { remove_tree "$tmp"; fail 4 "cannot make the root's disk image"; }
  rm -rf --one-file-system "$root"
  echo "   first stage and image: $((SECONDS - started)) s; second stage inside the machine"
  trap 'stop_qemu "$tmp/root.img"' EXIT
  timeout -k 10 3000 bash -c "$(declare -f qemu_cmd); vm_kernel_dir='$tmp'; qemu_cmd stage2 '$tmp/root.img' /tessera-stage2.sh" \
    >"$log_dir/vm-stage2.log" 2>&1
  stop_qemu "$tmp/root.img"
  trap - EXIT
  e2fsck -fy "$tmp/root.img" >>"$log" 2>&1
  if [ "$(debugfs -R 'cat /.tessera-stage2' "$tmp/root.img" 2>/dev/null)" != ok ]; then
    grep -q 'tessera: guest up' "$log_dir/vm-stage2.log" || { remove_tree "$tmp"; fail 5 "the i386 machine did not boot (build/i686/vm-stage2.log)"; }
    remove_tree "$tmp"
    fail 4 "the second stage inside the i386 machine failed (build/i686/vm-stage2.log)"
  fi
  printf '%s\n' "${guest_packages[@]}" "${vm_packages[@]}" >"$tmp/.tessera-vm-complete"
  remove_tree "$vm_dir"
  mv "$tmp" "$vm_dir"
  echo "   machine image made in $((SECONDS - started)) s"
}

run_vm() {
  make_vm_image
  vm_kernel_dir=$vm_dir
  local run=$cache/vm-run
  stage_work "$run/tessera"
  cp scripts/i686-vm-init.sh "$run/tessera/vm-init.sh" || fail 5 "cannot stage the guest's init"
  local size
  size=$(( $(du -sm "$run/tessera" | cut -f1) * 2 + 200 ))
  mke2fs -q -t ext4 -L tessera -d "$run/tessera" "$run/data.img" "${size}M" >>"$log" 2>&1 ||
    fail 5 "cannot make the data disk for the guest"
  trap 'stop_qemu "$run/data.img"' EXIT
  echo "== i686 tests in the i386 machine (qemu-system-i386, software emulation)"
  timeout -k 10 "$guest_limit" bash -c "$(declare -f qemu_cmd); vm_dir='$vm_dir' vm_kernel_dir='$vm_dir'
    qemu_cmd snapshot '$run/data.img' /tessera/vm-init.sh tessera_display=99" 2>&1 |
    sed -u 's/\r$//' | tee "$log_dir/guest.log" | grep --line-buffered -E '^(PASS|FAIL|guest failed|tessera:)'
  guest_rc=${PIPESTATUS[0]}
  stop_qemu "$run/data.img"
  trap - EXIT
  [ "$guest_rc" -eq 124 ] || [ "$guest_rc" -eq 137 ] && return
  grep -q 'tessera: guest up' "$log_dir/guest.log" || fail 5 "the i386 machine did not boot (build/i686/guest.log)"
  e2fsck -fy "$run/data.img" >>"$log" 2>&1
  rm -rf "$run/results"
  debugfs -R "rdump /results $run" "$run/data.img" >>"$log" 2>&1
  guest_rc=$(cat "$run/results/exit-status" 2>/dev/null || echo 5)
  guest_results=$run/results
}

if [ "$root_only" = 1 ]; then
  if [ "$mode" = vm ]; then make_vm_image; else make_chroot_root "$chroot_root"; fi
  exit 0
fi
guest_rc=0 guest_results=
case $mode in
  chroot) run_chroot ;;
  vm) run_vm ;;
esac
if [ "$guest_rc" -eq 124 ] || [ "$guest_rc" -eq 137 ]; then
  fail 6 "the guest ran past its time limit of $guest_limit s and was stopped"
fi
[ "$guest_rc" -eq 5 ] && fail 5 "$(tail -1 "$log_dir/guest.log")"
[ "$guest_rc" -eq 0 ] && [ -f "$guest_results/summary" ] || fail 5 "the guest ended with status $guest_rc before its results"

rm -rf "$results" && cp -a "$guest_results" "$results"
passed=$(grep -c '^PASS ' "$results/summary")
failed=$(grep -c '^FAIL ' "$results/summary")
missing=$(( $(grep -c . <<<"$tests") - passed - failed ))
[ $missing -gt 0 ] && { echo "$missing test(s) gave no result"; failed=$((failed + missing)); }
for name in $(awk '/^FAIL /{print $2}' "$results/summary"); do
  echo "== $name (i686) failed; the end of its output (all of it in build/i686/results/$name.out):"
  tr -d '\r' <"$results/$name.out" | grep -E '^\[  FAILED  \]|Failure|error' | head -20
  tr -d '\r' <"$results/$name.out" | tail -15
done
for shot in "$results"/tx-*.png; do
  [ -f "$shot" ] && cp "$shot" "$log_dir/${shot##*/tx-}"
done
echo "i686 times: wine start $(awk '/^wine_start/{print $2}' "$results/times") s," \
     "tests $(awk '/^tests/{print $2}' "$results/times") s, whole run $((SECONDS - started_at)) s" \
     "(screenshots: build/i686/*.png)"
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
