#!/usr/bin/env bash
# Writes the recorded sysfs/procfs trees the Linux partition source is tested against. Each tree has
# sys/ (block devices as the kernel lays them out, with the same relative links), proc/self/mountinfo
# and dev/ (small filesystem images standing for the device nodes libblkid probes).
#   nvme          an NVMe disk with an EFI and a root partition
#   sata          a SATA disk: an NTFS partition at sector 63 mounted at a path with a blank, and an
#                 unmounted partition beyond 2 GiB
#   virtio        a virtio disk without a model, root on xfs
#   stacked       a SATA disk with two NTFS partitions (64 KB clusters) under stacked mounts: the
#                 first has a tmpfs mounted over its folder; the second's folder is hidden by a tmpfs on the folder above
#                 it, and the volume is bound again elsewhere later
#   whole-device  a virtio disk whose filesystem covers the whole device (no partition table), next to
#                 devices that are not disks: a blank disk, a loop device without a table, zram, a RAM
#                 disk and an empty optical drive
# Needs mkfs.ext4, mkfs.vfat and mkntfs. Run from anywhere; rewrites the trees beside this script.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)

put() { # put FILE CONTENT: a sysfs attribute, ending in a newline as the kernel writes them
    mkdir -p "$(dirname "$1")"
    printf '%s\n' "$2" >"$1"
}
link() { # link TARGET NAME
    mkdir -p "$(dirname "$2")"
    ln -sfn "$1" "$2"
}
image() { # image FILE TYPE LABEL: the first 4 KiB of a fresh filesystem, enough for libblkid
    local tmp
    tmp=$(mktemp)
    truncate -s 2M "$tmp"
    case $2 in
    ext4) mkfs.ext4 -q -F -L "$3" -U 5e1f2c3d-0000-4000-8000-000000000001 -E root_owner=0:0 "$tmp" ;;
    vfat) mkfs.vfat -n "$3" -i 1234ABCD "$tmp" >/dev/null ;;
    ntfs) truncate -s 8M "$tmp" && mkntfs -q -F -f -c 65536 -L "$3" "$tmp" >/dev/null 2>&1 ;;
    esac
    mkdir -p "$(dirname "$1")"
    head -c 4096 "$tmp" >"$1"
    rm -f "$tmp"
}
disk() { # disk FOLDER SIZE DEV
    put "$1/size" "$2"
    put "$1/dev" "$3"
    put "$1/hidden" 0
    put "$1/removable" 0
}
partition() { # partition FOLDER NUMBER START SIZE DEV
    put "$1/partition" "$2"
    put "$1/start" "$3"
    put "$1/size" "$4"
    put "$1/dev" "$5"
}

# --- nvme ---
t=$here/nvme
rm -rf "$t"
ctrl=sys/devices/pci0000:00/0000:00:1d.0/0000:3d:00.0/nvme/nvme0
put "$t/$ctrl/model" "Samsung SSD 970 EVO Plus 1TB            "
put "$t/$ctrl/serial" "S4EWNX0R123456P     "
put "$t/$ctrl/transport" "pcie"
disk "$t/$ctrl/nvme0n1" 1953525168 259:0
link ../../nvme0 "$t/$ctrl/nvme0n1/device"
partition "$t/$ctrl/nvme0n1/nvme0n1p1" 1 2048 1048576 259:1
partition "$t/$ctrl/nvme0n1/nvme0n1p2" 2 1050624 1952474511 259:2
link "../${ctrl#sys/}/nvme0n1" "$t/sys/block/nvme0n1"
mkdir -p "$t/proc/self"
cat >"$t/proc/self/mountinfo" <<'MOUNTS'
21 26 0:20 / /sys rw,nosuid,nodev,noexec,relatime shared:7 - sysfs sysfs rw
26 1 259:2 / / rw,relatime shared:1 - ext4 /dev/nvme0n1p2 rw,errors=remount-ro
40 26 259:2 /srv/exports /mnt/bind rw,relatime shared:1 - ext4 /dev/nvme0n1p2 rw,errors=remount-ro
27 26 259:1 / /boot/efi rw,relatime shared:2 - vfat /dev/nvme0n1p1 rw,fmask=0077,dmask=0077
MOUNTS
image "$t/dev/nvme0n1p1" vfat EFI
image "$t/dev/nvme0n1p2" ext4 rootfs

# --- sata ---
t=$here/sata
rm -rf "$t"
lun=sys/devices/pci0000:00/0000:00:17.0/ata1/host0/target0:0:0/0:0:0:0
put "$t/$lun/model" "Samsung SSD 860 "
put "$t/$lun/vendor" "ATA     "
mkdir -p "$t/$lun"
# Unit serial number page: peripheral byte, page code 0x80, length 20, the serial padded with blanks.
printf '\x00\x80\x00\x14S3Z9NB0K123456A     ' >"$t/$lun/vpd_pg80"
disk "$t/$lun/block/sda" 3907029168 8:0
link ../../../0:0:0:0 "$t/$lun/block/sda/device"
partition "$t/$lun/block/sda/sda1" 1 63 419430337 8:1
partition "$t/$lun/block/sda/sda2" 2 419430400 3487598768 8:2
link "../${lun#sys/}/block/sda" "$t/sys/block/sda"
mkdir -p "$t/proc/self"
cat >"$t/proc/self/mountinfo" <<'MOUNTS'
25 1 252:1 / / rw,relatime shared:1 - ext4 /dev/vda1 rw
36 25 8:1 / /mnt/win\040data rw,relatime shared:5 - ntfs3 /dev/sda1 rw,uid=0,gid=0,iocharset=utf8
MOUNTS

# --- virtio ---
t=$here/virtio
rm -rf "$t"
dev=sys/devices/pci0000:00/0000:00:04.0/virtio2
put "$t/$dev/vendor" 0x1af4
put "$t/$dev/device" 0x0002
disk "$t/$dev/block/vda" 104857600 252:0
put "$t/$dev/block/vda/serial" "vd-0001"
link ../../../virtio2 "$t/$dev/block/vda/device"
partition "$t/$dev/block/vda/vda1" 1 2048 104855552 252:1
link "../${dev#sys/}/block/vda" "$t/sys/block/vda"
mkdir -p "$t/proc/self"
cat >"$t/proc/self/mountinfo" <<'MOUNTS'
25 1 252:1 / / rw,relatime shared:1 - xfs /dev/vda1 rw,attr2,inode64
MOUNTS

# --- whole-device ---
t=$here/whole-device
rm -rf "$t"
for n in 3:vdb:16 4:vdc:32; do
    IFS=: read -r slot name minor <<<"$n"
    dev=sys/devices/pci0000:00/0000:00:0$slot.0/virtio$slot
    put "$t/$dev/vendor" 0x1af4
    link ../../../virtio$slot "$t/$dev/block/$name/device"
    link "../${dev#sys/}/block/$name" "$t/sys/block/$name"
done
disk "$t/sys/devices/pci0000:00/0000:00:03.0/virtio3/block/vdb" 41943040 252:16
put "$t/sys/devices/pci0000:00/0000:00:03.0/virtio3/block/vdb/serial" "WHOLE-01"
disk "$t/sys/devices/pci0000:00/0000:00:04.0/virtio4/block/vdc" 2097152 252:32
disk "$t/sys/devices/virtual/block/loop0" 2048 7:0
disk "$t/sys/devices/virtual/block/zram0" 8388608 253:0
disk "$t/sys/devices/virtual/block/ram0" 8192 1:0
for name in loop0 zram0 ram0; do
    link "../devices/virtual/block/$name" "$t/sys/block/$name"
done
lun=sys/devices/pci0000:00/0000:00:1f.2/ata2/host1/target1:0:0/1:0:0:0
put "$t/$lun/model" "DVD-RAM UJ8E2"
disk "$t/$lun/block/sr0" 0 11:0
link "../${lun#sys/}/block/sr0" "$t/sys/block/sr0"
mkdir -p "$t/proc/self"
cat >"$t/proc/self/mountinfo" <<'MOUNTS'
25 1 252:1 / / rw,relatime shared:1 - ext4 /dev/vda1 rw
31 25 252:16 / /data rw,relatime shared:3 - ext4 /dev/vdb rw
32 25 7:0 / /mnt/image ro,relatime shared:4 - ext4 /dev/loop0 ro
MOUNTS
image "$t/dev/vdb" ext4 WHOLEDISK
image "$t/dev/loop0" ext4 LOOPED

# --- stacked ---
t=$here/stacked
rm -rf "$t"
lun=sys/devices/pci0000:00/0000:00:17.0/ata3/host2/target2:0:0/2:0:0:0
put "$t/$lun/model" "WDC WD80EFZZ"
disk "$t/$lun/block/sdc" 16777216 8:32
link ../../../2:0:0:0 "$t/$lun/block/sdc/device"
put "$t/$lun/block/sdc/serial" "WD-STACKED1"
partition "$t/$lun/block/sdc/sdc1" 1 2048 4194304 8:33
partition "$t/$lun/block/sdc/sdc2" 2 4196352 2097152 8:34
link "../${lun#sys/}/block/sdc" "$t/sys/block/sdc"
mkdir -p "$t/proc/self"
cat >"$t/proc/self/mountinfo" <<'MOUNTS'
25 1 252:1 / / rw,relatime shared:1 - ext4 /dev/vda1 rw
36 25 8:33 / /mnt/sql rw,relatime shared:5 - ntfs3 /dev/sdc1 rw,uid=0,gid=0,iocharset=utf8
37 36 0:50 / /mnt/sql rw,relatime shared:6 - tmpfs tmpfs rw,size=1024k
38 25 8:34 / /data/log rw,relatime shared:7 - ntfs3 /dev/sdc2 rw,uid=0,gid=0,iocharset=utf8
39 25 0:51 / /data rw,relatime shared:8 - tmpfs tmpfs rw,size=1024k
40 25 8:34 / /srv/log rw,relatime shared:7 - ntfs3 /dev/sdc2 rw,uid=0,gid=0,iocharset=utf8
MOUNTS
image "$t/dev/sdc1" ntfs SQLDATA
image "$t/dev/sdc2" ntfs SQLLOG
