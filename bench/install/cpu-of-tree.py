#!/usr/bin/env python3
"""Runs a command and reports the processor time of it and of its processes.

Usage: cpu-of-tree.py REPORT COMMAND [ARG...]

The script becomes the reaper of every process that the command starts,
however deep (Wine's processes detach from their parents), and before it reaps
each one reads the time the kernel counted for it. It ends with the command:
processes still running then (Wine's desktop, its services) are not counted. REPORT gets
one line per process name: name, processes, user and system seconds, and the
user and system seconds of the processes that these reaped themselves (a
shell's commands).
Processor time, unlike wall time, hardly changes with the load of the machine.
"""
import ctypes
import os
import sys

PR_SET_CHILD_SUBREAPER = 36


def times_of(pid):
    """Name and (user, system, children's user, children's system) ticks of a
    process that has ended but is not reaped."""
    with open(f"/proc/{pid}/stat") as f:
        stat = f.read()
    name = stat[stat.index("(") + 1 : stat.rindex(")")]
    fields = stat[stat.rindex(")") + 2 :].split()
    # After the name: state, ppid, ... utime is field 14 of stat, the 12th here.
    return name, tuple(int(n) for n in fields[11:15])


def main():
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    report, command = sys.argv[1], sys.argv[2:]
    libc = ctypes.CDLL(None, use_errno=True)
    if libc.prctl(PR_SET_CHILD_SUBREAPER, 1, 0, 0, 0) != 0:
        sys.exit("cpu-of-tree: cannot become the reaper of the command's processes")
    child = os.fork()
    if child == 0:
        os.execvp(command[0], command)
    ticks = os.sysconf("SC_CLK_TCK")
    totals = {}
    status = 1
    while True:
        try:
            info = os.waitid(os.P_ALL, 0, os.WEXITED | os.WNOWAIT)
        except ChildProcessError:
            break
        try:
            name, times = times_of(info.si_pid)
            count, sums = totals.get(name, (0, (0, 0, 0, 0)))
            totals[name] = (count + 1, tuple(a + b for a, b in zip(sums, times)))
        except (OSError, ValueError):
            pass
        _, wait_status = os.waitpid(info.si_pid, 0)
        if info.si_pid == child:
            status = os.waitstatus_to_exitcode(wait_status)
            break
    with open(report, "w") as out:
        for name, (count, sums) in sorted(totals.items()):
            out.write("\t".join([name, str(count)] + [f"{t / ticks:.2f}" for t in sums]) + "\n")
    sys.exit(status if status >= 0 else 128 - status)


if __name__ == "__main__":
    main()
