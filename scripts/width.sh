# Sourced: which width of the program can run on this machine, natively or emulated; the emulation of
# 32-bit programs for one run where the kernel refuses them.
source "$(dirname "${BASH_SOURCE[0]}")/toolkit.sh"
binfmt=/proc/sys/fs/binfmt_misc

# binfmt_entries: the files of binfmt_misc's registrations (anyone's), one a line.
binfmt_entries() {
  local entry
  for entry in "$binfmt"/*; do
    case ${entry##*/} in register | status) ;; *) [ ! -e "$entry" ] || echo "$entry" ;; esac
  done
}

# i386_registered: an enabled binfmt_misc registration (anyone's) hands i386 ELF programs to an emulator.
i386_registered() {
  local entry
  [ "$(cat "$binfmt/status" 2>/dev/null)" = enabled ] || return 1
  while read -r entry; do
    awk 'NR == 1 { on = $0 == "enabled" } $1 == "magic" { magic = $2 }
      END { exit !(on && magic ~ /^7f454c4601/ && substr(magic, 37, 4) == "0300") }' "$entry" 2>/dev/null && return
  done < <(binfmt_entries)
  return 1
}

# starts_32bit: Wine's 32-bit loader starts here, natively or emulated.
starts_32bit() { "$WINE32" --version >/dev/null 2>&1; }
# can_run_32bit: this machine runs 32-bit programs natively: they start, and no emulator is
# registered for them (where one is, it is the emulator that starts them).
can_run_32bit() { ! i386_registered && starts_32bit; }

# runnable_width: i686 (the shipped program) where it runs natively, else x86_64, after one line saying why.
runnable_width() {
  if can_run_32bit; then echo i686; else
    echo "The shipped program is 32-bit, and this machine starts 32-bit programs only emulated if at all, at about a minute a start: the x86_64 build of the same program stands in for it" >&2
    echo x86_64
  fi
}

# start_i386_emulation: where 32-bit programs do not run natively, registers qemu-i386-static for i386
# ELF programs under a name no other run has (binfmt_misc mounted first where it is not), with flag F
# (the emulator opened once, now); fails, leaving nothing behind, where it cannot. Another run's
# registration is never relied on, as it may go away meanwhile: the newest registration is tried first,
# and removing either leaves the other working. The caller ends it with end_i386_emulation.
start_i386_emulation() {
  local magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
  local mask='\xff\xff\xff\xff\xff\xfe\xfe\xfc\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
  local name=kelvra-i386-$(tr -d - </proc/sys/kernel/random/uuid) # a pid repeats in another PID namespace
  ! can_run_32bit && [ -x /usr/bin/qemu-i386-static ] && [ "$(id -u)" = 0 ] || return 1
  if [ ! -e "$binfmt/register" ]; then
    mount -t binfmt_misc binfmt_misc "$binfmt" 2>/dev/null && binfmt_mounted=yes || return 1
  fi
  # Only a registration made here is ever removed: i386_entry is set once it exists.
  printf ':%s:M::%s:%s:/usr/bin/qemu-i386-static:F\n' "$name" "$magic" "$mask" >"$binfmt/register" 2>/dev/null &&
    i386_entry=$name && starts_32bit || { end_i386_emulation; return 1; }
}

# end_i386_emulation: removes exactly the registration start_i386_emulation made, and unmounts
# binfmt_misc if it mounted it and no registration is left there.
end_i386_emulation() {
  [ -z "${i386_entry:-}" ] || [ ! -e "$binfmt/$i386_entry" ] || echo -1 >"$binfmt/$i386_entry" || true
  i386_entry=''
  [ -z "${binfmt_mounted:-}" ] || [ -n "$(binfmt_entries)" ] || umount "$binfmt" || true
  binfmt_mounted=''
}
