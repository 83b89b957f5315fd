#!/usr/bin/env python3
"""Fault suite: the built geochain executable against hostile input and
surroundings. Each case checks that the process ends by itself within a few
seconds, its exit status, what reached standard output and standard error,
and what became of fi.txt.

usage: fault_suite.py GEOCHAIN_EXE [--no-memory-limit]
"""
import os
import re
import subprocess
import sys
import tempfile
import time
from dataclasses import dataclass
from typing import Callable, Optional

EXE = os.path.abspath(sys.argv[1])
CHECK_MEMORY = "--no-memory-limit" not in sys.argv
TIME_LIMIT_S = 10.0
PEAK_MEMORY_LIMIT_KIB = 32 * 1024

P = b"1100000 700000 300"
QUESTION = b"\n\nVymazat obrazovku a pokracovat ? [ano='cokoliv' ne = '0'] ?"
INVALID = b"Neplatne cislo, zadejte znovu.\n"
INCOMPLETE = b"Neuplne zadani bodu, konec vstupu.\n"
ASIN = b"\r\nasin: DOMAIN error\r\n"
RECORD_P = (b"Kartograficke souradnice S, D : \r\n"
            b"S = 78.44790021   D = 33.13641562\r\n"
            b"Sfericke souradncie U, V : \r\n"
            b"U = 49.59071283   V = 32.80331049\r\n")
RECORD_SHAPE = re.compile(
    rb"Kartograficke souradnice S, D : \r\n"
    rb"S = \S+   D = \S+\r\n"
    rb"Sfericke souradncie U, V : \r\n"
    rb"U = \S+   V = \S+\r\n")
NO_FILE = b"<no file>"
UNTOUCHED = b"<as it was>"


def ends(tail):
    return lambda out: out.endswith(tail)


def has(*parts):
    return lambda out: all(p in out for p in parts)


@dataclass
class Case:
    name: str
    stdin: Optional[Callable[[], bytes]]  # None: the 200 MB line, written to a file
    status: int
    out: Optional[Callable[[bytes], bool]] = None
    log: bytes = NO_FILE  # exact bytes, NO_FILE, UNTOUCHED or a record count as bytes
    err: bytes = b""
    setup: str = "plain"
    same_out_as_plain: bool = False


def lit(data):
    return lambda: data


def padded(entry_len, then=b"0\n"):
    return lambda: b"1100000".rjust(entry_len, b"0") + b" 700000 300\n" + then


CASES = [
    Case("end of input at X", lit(b""), 0, ends(b"    X = \n")),
    Case("end of input at Y", lit(b"1"), 1, ends(b"    Y = \n"), err=INCOMPLETE),
    Case("end of input at h", lit(b"1 2"), 1, ends(b"h (elipsoidicka) = \n"), err=INCOMPLETE),
    Case("end of input at question", lit(P), 0, ends(QUESTION + b"\n"), RECORD_P),
    Case("end of input at second X", lit(P + b"\n1\n"), 0, ends(b"    X = \n"), RECORD_P),
    Case("no final line end", lit(P + b"\n0"), 0, ends(QUESTION), RECORD_P),
    Case("CR LF line ends", lit(b"1100000\r\n700000\r\n300\r\n\r\n0\r\n"), 0,
         has(b"ro = 1303840.48104053"), RECORD_P),
    Case("NUL and invalid UTF-8", lit(b"\0\xff\xfe 1\n\x80" + P + b"\n" + P + b"\n0\n"), 0,
         has(INVALID + b"    X = " + INVALID + b"    X = "), RECORD_P),
    Case("200 MB line without line end", None, 0, ends(INVALID + b"    X = \n")),
    Case("1e999", lit(b"1e999 1 1\n0\n"), 0, has(b"ro = +INF"), b"1"),
    Case("-1e999", lit(b"-1e999 1 1\n0\n"), 0, has(b"ro = +INF"), b"1"),
    Case("1e-400 is X = 0", lit(b"1e-400 700000 300\n0\n"), 0, has(b"epsilon = 90.00000000"), b"1"),
    Case("4096-character entry", padded(4096), 0, has(b"ro = 1303840.48104053"), RECORD_P),
    Case("4097-character entry", padded(4097, P + b"\n0\n"), 0, has(INVALID), RECORD_P),
    Case("X = 0", lit(b"0 700000 300\n0\n"), 0, has(b"epsilon = 90.00000000"), b"1"),
    Case("X = Y = 0", lit(b"0 0 0\n0\n"), 0, has(b"U = +NAN", QUESTION), b"1", err=ASIN + ASIN),
    Case("X = Y = 1e200", lit(b"1e200 1e200 0\n0\n"), 0, has(b"ro = +INF", QUESTION), b"1"),
    Case("standard output a closed pipe", lit(P + b"\n0\n"), 1, setup="closed pipe"),
    Case("standard output /dev/full", lit(P + b"\n0\n"), 1, setup="/dev/full"),
    Case("standard input closed", lit(b""), 0, ends(b"    X = \n"), setup="stdin closed"),
    Case("no controlling terminal", lit(P + b"\n0\n"), 0, ends(QUESTION), RECORD_P,
         setup="new session"),
    Case("log directory read-only", lit(P + b"\n1\n" + P + b"\n0\n"), 0, log=NO_FILE,
         setup="read-only dir", same_out_as_plain=True),
    Case("fi.txt a directory", lit(P + b"\n1\n" + P + b"\n0\n"), 0, log=UNTOUCHED,
         setup="log is dir", same_out_as_plain=True),
    Case("fi.txt a link to /dev/full", lit(P + b"\n1\n" + P + b"\n0\n"), 0, log=UNTOUCHED,
         setup="log is /dev/full", same_out_as_plain=True),
    Case("1,000 points", lit((P + b"\n1\n") * 999 + P + b"\n0\n"), 0, ends(QUESTION),
         RECORD_P * 1000),
]

BIG_LINE_BYTES = 200 * 1000 * 1000


def write_big_line(path):
    with open(path, "wb") as f:
        chunk = b"7" * (1 << 20)
        left = BIG_LINE_BYTES
        while left > 0:
            f.write(chunk[:left])
            left -= len(chunk)


def run(case, work, stdin_path):
    """Runs one case; returns (status, out, err, peak_kib) or raises on timeout."""
    out_path = os.path.join(work, "..", os.path.basename(work) + ".out")
    err_path = out_path + ".err"
    preexec = None
    new_session = case.setup == "new session"
    stdout_target = open(out_path, "wb")
    if case.setup == "closed pipe":
        r, w = os.pipe()
        os.close(r)
        stdout_target.close()
        stdout_target = os.fdopen(w, "wb")
    elif case.setup == "/dev/full":
        stdout_target.close()
        stdout_target = open("/dev/full", "wb")
    if case.setup == "stdin closed":
        preexec = lambda: os.close(0)
    if case.setup == "read-only dir":
        os.chmod(work, 0o555)
        if os.geteuid() == 0:  # root writes anywhere: drop to nobody
            preexec = lambda: (os.setgroups([]), os.setgid(65534), os.setuid(65534))
    with open(stdin_path, "rb") as stdin, open(err_path, "wb") as err:
        # ru_maxrss of a child forked from Python counts Python's own image
        # from before the exec; GNU time measures the program alone.
        measure = case.stdin is None and os.path.exists("/usr/bin/time")
        argv = ["/usr/bin/time", "-f", "%M", "-o", out_path + ".rss", EXE] if measure else [EXE]
        proc = subprocess.Popen(argv, cwd=work, stdin=stdin, stdout=stdout_target, stderr=err,
                                preexec_fn=preexec, start_new_session=new_session)
        stdout_target.close()
        deadline = time.monotonic() + TIME_LIMIT_S
        while True:
            pid, wstatus, usage = os.wait4(proc.pid, os.WNOHANG)
            if pid:
                break
            if time.monotonic() > deadline:
                proc.kill()
                os.wait4(proc.pid, 0)
                raise TimeoutError("did not end within %.0f s" % TIME_LIMIT_S)
            time.sleep(0.01)
        proc.returncode = 0  # reaped above; keep Popen from waiting again
    status = os.waitstatus_to_exitcode(wstatus)
    with open(out_path, "rb") as f:
        out = f.read() if case.setup not in ("closed pipe", "/dev/full") else b""
    with open(err_path, "rb") as f:
        err_bytes = f.read()
    peak_kib = usage.ru_maxrss
    if os.path.exists(out_path + ".rss"):
        with open(out_path + ".rss") as f:
            peak_kib = int(f.read().split()[-1])
    return status, out, err_bytes, peak_kib


def check_log(case, work):
    path = os.path.join(work, "fi.txt")
    if case.log == UNTOUCHED:
        return None
    if case.log == NO_FILE:
        return None if not os.path.lexists(path) else "fi.txt exists"
    if not os.path.isfile(path):
        return "fi.txt missing"
    with open(path, "rb") as f:
        data = f.read()
    if case.log.isdigit():
        records = RECORD_SHAPE.findall(data)
        if len(records) != int(case.log) or b"".join(records) != data:
            return "expected %s whole records, got %r" % (case.log.decode(), data[:300])
        return None
    if data != case.log:
        lines = data.count(b"\r\n")
        return "fi.txt differs (%d lines, %d bytes)" % (lines, len(data))
    return None


def prepare(case, work):
    if case.setup == "log is dir":
        os.mkdir(os.path.join(work, "fi.txt"))
    elif case.setup == "log is /dev/full":
        os.symlink("/dev/full", os.path.join(work, "fi.txt"))


def main():
    root = tempfile.mkdtemp(prefix="geochain-faults-")
    os.chmod(root, 0o755)
    failures = 0
    for index, case in enumerate(CASES):
        work = os.path.join(root, "case%02d" % index)
        os.mkdir(work)
        os.chmod(work, 0o755)
        stdin_path = os.path.join(root, "in%02d" % index)
        if case.stdin is None:
            write_big_line(stdin_path)
        else:
            with open(stdin_path, "wb") as f:
                f.write(case.stdin())
        prepare(case, work)
        problems = []
        started = time.monotonic()
        try:
            status, out, err, peak_kib = run(case, work, stdin_path)
        except TimeoutError as e:
            print("FAIL %-32s %s" % (case.name, e))
            failures += 1
            continue
        elapsed = time.monotonic() - started
        if status != case.status:
            problems.append("status %d, expected %d" % (status, case.status))
        if case.out is not None and not case.out(out):
            problems.append("stdout %r" % out[-160:])
        if err != case.err:
            problems.append("stderr %r" % err[:160])
        log_problem = check_log(case, work)
        if log_problem:
            problems.append(log_problem)
        if case.same_out_as_plain:
            plain = os.path.join(root, "plain%02d" % index)
            os.mkdir(plain)
            _, plain_out, _, _ = run(Case("plain", None, 0), plain, stdin_path)
            if out != plain_out:
                problems.append("stdout differs from a run with a writable log")
        if case.stdin is None and CHECK_MEMORY and peak_kib > PEAK_MEMORY_LIMIT_KIB:
            problems.append("peak memory %d KiB" % peak_kib)
        verdict = "FAIL" if problems else "ok  "
        peak = "  peak %d KiB" % peak_kib if case.stdin is None else ""
        print("%s %-32s status %d  %.2f s%s  %s"
              % (verdict, case.name, status, elapsed, peak, "; ".join(problems)))
        failures += bool(problems)
        os.chmod(work, 0o755)
    subprocess.run(["rm", "-rf", root], check=False)
    print("%d of %d cases failed" % (failures, len(CASES)))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
