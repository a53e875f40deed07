#!/usr/bin/env bash
# Runs the README's Quick start commands on a freshly bootstrapped minimal Debian 12:
# the test command as root in /root/zentabo, then as a new ordinary user in a home
# folder whose name holds a space and Japanese characters, then the run command under
# Xvfb until the main window shows. Needs root and the Debian package registry.
#
#   FRESH_PARENT   folder that gets the temporary root (default /var/tmp)
#   FRESH_MIRROR   Debian mirror (default http://deb.debian.org/debian)
#   FRESH_APT_CACHE  host package cache shared with the root ("" = none;
#                  default /var/cache/apt/archives)
#   FRESH_KEEP=1   keep the root (unmounted) after a failure, for a look inside
#   FRESH_SCREENSHOT  file that gets the main window's screenshot (XWD format)
#
# Every mount is undone and the root removed on exit, also on failure and Ctrl-C.
# Exits non-zero at the first failing step.
set -euo pipefail

src="$(cd "$(dirname "$0")/.." && pwd)"
parent=${FRESH_PARENT:-/var/tmp}
mirror=${FRESH_MIRROR:-http://deb.debian.org/debian}
apt_cache=${FRESH_APT_CACHE-/var/cache/apt/archives}
user=fresh
user_dir="/home/$user/作業 dir/zentabo"
root=""
t_start=$SECONDS
summary=()

say() { printf '[%s] %s\n' "$(date -u +%H:%M:%S)" "$*"; }

# step NAME CMD... : runs CMD, prints how long it took, stops the script when it fails.
# The step runs as a background job in its own process group (set -m): Ctrl-C then
# reaches only this script, whose trap ends the whole group, even where a step's
# programs ignore SIGINT (apt-get while dpkg works).
step_pid=""
step_name=""
step_t0=0
step() {
    local rc=0
    step_name=$1 step_t0=$SECONDS
    shift
    say "── $step_name"
    (set -e; "$@") &
    step_pid=$!
    wait "$step_pid" || rc=$?
    step_pid=""
    local took=$((SECONDS - step_t0))
    summary+=("$(printf '%6ds  %s%s' "$took" "$step_name" "$([ $rc = 0 ] || echo "  FAILED ($rc)")")")
    if [ $rc != 0 ]; then
        say "FAILED after ${took}s: $step_name (exit $rc)"
        exit "$rc"
    fi
    say "done in ${took}s: $step_name"
}

# Mount points at or below the root, deepest first (mountinfo escapes blanks as \040).
mounts_below() {
    local mp
    while read -r _ _ _ _ mp _; do
        mp=$(printf '%b' "$mp")
        case $mp in "$root" | "$root"/*) printf '%s\n' "$mp" ;; esac
    done </proc/self/mountinfo | sort -r
}

# Processes whose root directory is ours (Xvfb, fcitx5, a test left behind).
procs_inside() {
    local p r
    for p in /proc/[0-9]*; do
        r=$(readlink "$p/root" 2>/dev/null) || continue
        [ "$r" = "$root" ] && echo "${p#/proc/}"
    done
}

cleanup() {
    local rc=$? mp pids
    trap - EXIT INT TERM
    set +e
    if [ -n "$step_pid" ]; then
        summary+=("$(printf '%6ds  %s  INTERRUPTED' $((SECONDS - step_t0)) "$step_name")")
        kill -TERM -- "-$step_pid" 2>/dev/null
        sleep 1
        kill -KILL -- "-$step_pid" 2>/dev/null
        wait "$step_pid" 2>/dev/null
    fi
    if [ -n "$root" ] && [ -d "$root" ]; then
        pids=$(procs_inside)
        [ -n "$pids" ] && kill -TERM $pids 2>/dev/null && sleep 1
        pids=$(procs_inside)
        [ -n "$pids" ] && kill -KILL $pids 2>/dev/null && sleep 0.5
        mounts_below | while IFS= read -r mp; do
            umount "$mp" 2>/dev/null || umount -l "$mp"
        done
        if [ -n "$(mounts_below)" ]; then
            say "still mounted below $root, not removed:"
            mounts_below
            rc=1
        elif [ "$rc" != 0 ] && [ "${FRESH_KEEP:-0}" = 1 ]; then
            say "kept $root"
        else
            rm -rf --one-file-system "$root"
        fi
    fi
    if [ ${#summary[@]} -gt 0 ]; then
        say "step times:"
        printf '%s\n' "${summary[@]}"
        printf '%6ds  total\n' $((SECONDS - t_start))
    fi
    exit "$rc"
}

need_host_tools() {
    [ "$(id -u)" = 0 ] || { echo "check-fresh.sh needs root (debootstrap, chroot, mount)" >&2; return 1; }
    command -v debootstrap >/dev/null && return 0
    apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq debootstrap
}

make_root() {
    local cache=()
    [ -n "$apt_cache" ] && [ -d "$apt_cache" ] && cache=(--cache-dir="$apt_cache")
    say "root: $root"
    debootstrap --variant=minbase "${cache[@]}" bookworm "$root" "$mirror"
    # What a Debian 12 installation lists: updates and security fixes too.
    cat >"$root/etc/apt/sources.list" <<EOF
deb $mirror bookworm main
deb $mirror bookworm-updates main
deb http://deb.debian.org/debian-security bookworm-security main
EOF
}

# A private /dev (never the host's, so removing the root can never reach it).
mount_dev() {
    local d=$root/dev
    mount -t tmpfs -o mode=755,nosuid dev "$d"
    mknod -m 666 "$d/null" c 1 3
    mknod -m 666 "$d/zero" c 1 5
    mknod -m 666 "$d/full" c 1 7
    mknod -m 666 "$d/random" c 1 8
    mknod -m 666 "$d/urandom" c 1 9
    mknod -m 666 "$d/tty" c 5 0
    ln -s /proc/self/fd "$d/fd"
    ln -s /proc/self/fd/0 "$d/stdin"
    ln -s /proc/self/fd/1 "$d/stdout"
    ln -s /proc/self/fd/2 "$d/stderr"
    mkdir "$d/pts" "$d/shm"
    mount -t devpts -o newinstance,ptmxmode=0666,mode=620,gid=5 devpts "$d/pts"
    ln -s pts/ptmx "$d/ptmx"
    mount -t tmpfs -o mode=1777,nosuid,nodev shm "$d/shm"
}

mount_all() {
    mount -t proc proc "$root/proc"
    mount -t sysfs sys "$root/sys"
    mount_dev
    if [ -n "$apt_cache" ] && [ -d "$apt_cache" ]; then
        mount --bind "$apt_cache" "$root/var/cache/apt/archives"
    fi
    cp /etc/resolv.conf "$root/etc/resolv.conf"
}

# The checkout as a user would have it: tracked files with their uncommitted changes
# and new files that are not ignored; no build folders, no .git.
copy_checkout() {
    local dest=$1
    mkdir -p "$dest"
    (cd "$src" && git ls-files -z --cached --others --exclude-standard |
        while IFS= read -r -d '' f; do
            case $f in build/* | build-*/* | */build/*) continue ;; esac
            [ -e "$f" ] || [ -L "$f" ] && printf '%s\0' "$f"
        done | sort -zu | tar --null -T - -cf -) | tar -xf - -C "$dest"
}

# in_root USER DIR CMD [VAR=VALUE...] : runs CMD with bash in DIR inside the root,
# with a login's clean environment (a minimal system sets no LANG).
in_root() {
    local who=$1 dir=$2 cmd=$3 home
    shift 3
    home=$(chroot "$root" getent passwd "$who" | cut -d: -f6)
    chroot "$root" /usr/sbin/runuser -u "$who" -- /usr/bin/env -i \
        HOME="$home" USER="$who" LOGNAME="$who" SHELL=/bin/bash TERM=dumb \
        PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin "$@" \
        /bin/bash -c 'cd "$1" && eval "$2"' bash "$dir" "$cmd"
}

copy_for_root() { copy_checkout "$root/root/zentabo"; }

add_user() {
    chroot "$root" useradd --create-home --shell /bin/bash "$user"
    copy_checkout "$root$user_dir"
    chroot "$root" chown -R "$user:$user" "/home/$user"
}

# Starts the run command on its own X server, waits for the main window, keeps a
# screenshot of it (XWD) in the root's /tmp/zentabo-window.xwd and ends the program.
run_under_xvfb() {
    in_root "$user" "$user_dir" '
        set -u
        for t in Xvfb xdotool; do
            command -v $t >/dev/null || { echo "the check needs $t in the root"; exit 1; }
        done
        work=$(mktemp -d)
        Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp -fbdir "$work" \
            3>"$work/display" 2>"$work/xvfb.log" &
        xvfb=$!
        for i in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
        export DISPLAY=:$(head -1 "$work/display")
        ./scripts/run.sh >"$work/run.log" 2>&1 &
        app=$!
        wid=""
        for i in $(seq 1200); do
            kill -0 $app 2>/dev/null || break
            wid=$(xdotool search --onlyvisible --name "^Zentabo" 2>/dev/null | head -1) && [ -n "$wid" ] && break
            sleep 0.5
        done
        ok=1
        if [ -n "$wid" ]; then
            sleep 1
            echo "main window: \"$(xdotool getwindowname "$wid")\"," \
                $(xdotool getwindowgeometry "$wid" | tail -n +2)
            cp "$work/Xvfb_screen0" /tmp/zentabo-window.xwd
            ok=0
        else
            echo "no main window appeared; run.sh said:"
            cat "$work/run.log"
        fi
        kill -TERM $app 2>/dev/null
        for i in $(seq 100); do kill -0 $app 2>/dev/null || break; sleep 0.1; done
        if kill -0 $app 2>/dev/null; then
            echo "zentabo did not end on SIGTERM"; kill -KILL $app; ok=1
        fi
        wait $app; rc=$?
        if [ $ok = 0 ] && [ $rc != 0 ] && [ $rc != 143 ]; then
            echo "zentabo ended with status $rc; run.sh said:"; cat "$work/run.log"; ok=1
        fi
        kill -TERM $xvfb; wait $xvfb 2>/dev/null
        rm -rf "$work"
        exit $ok'
    if [ -n "${FRESH_SCREENSHOT:-}" ]; then cp "$root/tmp/zentabo-window.xwd" "$FRESH_SCREENSHOT"; fi
}

set -m
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

step "host tools (root, debootstrap)" need_host_tools
mkdir -p "$parent"
root=$(mktemp -d "$parent/zentabo-fresh.XXXXXX")
chmod 755 "$root"   # users inside must be able to enter /
step "debootstrap --variant=minbase bookworm" make_root
step "mount proc, sys, dev, dev/pts, dev/shm, apt cache" mount_all
step "copy the checkout to /root/zentabo" copy_for_root
step "as root in /root/zentabo: ./scripts/test.sh" in_root root /root/zentabo ./scripts/test.sh
step "new user $user, checkout in $user_dir" add_user
step "as $user in $user_dir: ./scripts/test.sh" \
    in_root "$user" "$user_dir" ./scripts/test.sh LANG=C.UTF-8
step "as $user: ./scripts/run.sh under Xvfb, main window shows" run_under_xvfb
say "check-fresh: all steps passed"
