# Sourced: which width of the program can run on this machine.
source "$(dirname "${BASH_SOURCE[0]}")/toolkit.sh"

# Wine runs 32-bit Windows programs through its 32-bit loader, an i386 Linux
# program: a kernel without IA32 emulation cannot start it.
can_run_32bit() { "$WINE32" --version >/dev/null 2>&1; }
# runnable_width: the width of the build to run here, i686 (the shipped
# program) where it can run, else x86_64 after one line saying so.
runnable_width() {
  if can_run_32bit; then echo i686; else
    echo "The shipped program is 32-bit and cannot run on this machine (no IA32 emulation): the x86_64 build stands in for it" >&2
    echo x86_64
  fi
}
