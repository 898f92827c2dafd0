#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Folioneer developers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Usage: in-throwaway-root.sh COMMAND [ARGUMENT...]
#
# Runs COMMAND in a throwaway copy of this system, so that it may install and remove packages:
# in a private mount namespace, / is overlaid with a tmpfs that takes every write, and COMMAND
# runs chrooted into the overlay. When COMMAND ends the namespace and all its writes go away;
# nothing reaches the real system. The overlay's root holds the file /.throwaway-root, which
# lets COMMAND check where it runs before it changes anything. Needs root (mount, chroot):
# without it, or where the system forbids a private mount namespace, it exits with 77, which
# CTest reports as a skipped test.
set -euo pipefail

if [[ "${1:-}" != "--inside" ]]; then
  if [[ $(id -u) -ne 0 ]] || ! unshare --mount true 2>/dev/null; then
    echo "in-throwaway-root.sh: needs root and a private mount namespace; skipped" >&2
    exit 77
  fi
  # A private mount namespace: nothing mounted below is seen outside, and it all ends with us.
  exec unshare --mount --propagation private -- "$0" --inside "$@"
fi
shift

# The tmpfs goes over /mnt inside this namespace only; the real /mnt is never written.
scratch=/mnt
mount -t tmpfs -o mode=0755 throwaway "$scratch"
mkdir "$scratch/upper" "$scratch/work" "$scratch/root"
mount -t overlay overlay -o "lowerdir=/,upperdir=$scratch/upper,workdir=$scratch/work" "$scratch/root"
root="$scratch/root"
# The kernel's file systems come from the real system; /dev/shm, /tmp and /run get fresh ones.
mount --rbind /proc "$root/proc"
mount --rbind /sys "$root/sys"
mount --rbind /dev "$root/dev"
for kernel_fs in proc sys dev; do
  mount --make-rslave "$root/$kernel_fs"
done
mount -t tmpfs -o mode=1777 shm "$root/dev/shm"
mount -t tmpfs -o mode=1777 tmp "$root/tmp"
mount -t tmpfs -o mode=0755 run "$root/run"
# A build tree under /tmp (a checkout made there) stays reachable through the fresh /tmp: the
# folder of the command and the working folder are bound back in.
for path in "$1" "$PWD"; do
  if [[ "$path" == /tmp/?* ]]; then
    top="/tmp/$(cut -d/ -f3 <<<"$path")"
    if [[ -d "$top" && ! -d "$root$top" ]]; then
      mkdir "$root$top"
      mount --rbind "$top" "$root$top"
    fi
  fi
done
touch "$root/.throwaway-root"
exec chroot "$root" /usr/bin/env --chdir=/ "$@"
