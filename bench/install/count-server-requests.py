#!/usr/bin/env python3
"""Counts the requests that one program made to the Wine server, by kind.

Usage: count-server-requests.py TRACE [NAME [TOP]]

TRACE is the output of a Wine server started with request tracing
("wineserver -f -p -d1 2>TRACE"). NAME is a piece of the command line of the
processes to count (for example "setup.exe"), as a Wine process that started
them gave it; without NAME (or with an empty one) every request counts. Every
reply in the trace is one request; its thread is mapped to its process through
the trace's own records of new processes and threads. Prints the total and the
TOP (default 25) kinds.
"""
import collections
import re
import sys

REPLY = re.compile(r"^([0-9a-f]{4}): (\w+)\(\) = (\w+)(.*)")
REQUEST = re.compile(r"^([0-9a-f]{4}): (\w+)\( (.*)")
FIELD = re.compile(r"(\w+)=([0-9a-f]+)")


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    trace = sys.argv[1]
    name = sys.argv[2] if len(sys.argv) > 2 else ""
    top = int(sys.argv[3]) if len(sys.argv) > 3 else 25
    process_of = {}  # thread id -> process id
    command_of = {}  # process id -> command line
    handle_of = {}  # (process id, handle) -> process id of a process it started
    pending = {}  # thread id -> (request, arguments) awaiting its reply
    counts = collections.defaultdict(collections.Counter)
    with open(trace, errors="replace") as f:
        for line in f:
            request = REQUEST.match(line)
            if request:
                pending[request.group(1)] = (request.group(2), request.group(3))
                continue
            reply = REPLY.match(line)
            if not reply:
                continue
            thread, kind, rest = reply.group(1), reply.group(2), reply.group(4)
            fields = dict(FIELD.findall(rest))
            asked = pending.pop(thread, (kind, ""))[1]
            if kind == "init_first_thread" and "pid" in fields:
                process_of[fields["tid"]] = fields["pid"]
            elif kind == "new_process" and "pid" in fields:
                command = re.search(r'cmdline=L"(.*?)(?<!\\)"', asked)
                command_of[fields["pid"]] = command.group(1) if command else ""
                handle_of[(process_of.get(thread), fields["handle"])] = fields["pid"]
            elif kind == "new_thread" and "tid" in fields:
                target = dict(FIELD.findall(asked)).get("process", "ffffffff")
                owner = process_of.get(thread)
                process_of[fields["tid"]] = owner if target == "ffffffff" else handle_of.get((owner, target))
            counts[process_of.get(thread)][kind] += 1
    if name:
        chosen = [pid for pid, command in command_of.items() if name.lower() in command.lower()]
    else:
        chosen = list(counts)
    total = collections.Counter()
    for pid in chosen:
        total.update(counts[pid])
    print(f"{sum(total.values())} requests of {len(chosen)} process(es) matching \"{name}\"")
    for pid in chosen:
        command = command_of.get(pid, "(started from outside Wine)")
        print(f"{sum(counts[pid].values()):8d} process {pid}: {command[-60:]}")
    for kind, n in total.most_common(top):
        print(f"{n:8d} {kind}")


if __name__ == "__main__":
    main()
