"""Runs the Windows helpers built beside e2e_probe.exe in a test's Wine prefix."""

import os
import subprocess
import tempfile


def helper_path(prefix, name):
    return os.path.join(os.path.dirname(prefix.probe_exe), name)


def run_program(prefix, exe, *args, timeout=60):
    """The exit code of the Windows program exe and what it printed (UTF-8).
    Under load Wine now and then fails to start a process at all: it ends at
    once without a word. That is no answer of the program's, so such a start
    is made once more; a program that fails by itself fails twice."""
    for attempt in (1, 2):
        # A file, not a pipe: a pipe would stay open as long as Wine's helpers run.
        with tempfile.TemporaryFile() as out:
            result = subprocess.run([prefix.env["WINELOADER"], exe, *args], env=prefix.env,
                                    stdin=subprocess.DEVNULL, stdout=out, stderr=prefix.log, timeout=timeout)
            out.seek(0)
            answer = out.read().decode("utf-8").strip()
        if result.returncode == 0 or answer or attempt == 2:
            return result.returncode, answer
        prefix.log.write(f"{os.path.basename(exe)} {' '.join(args)} ended with {result.returncode} before any "
                         "output; starting it once more\n".encode())


def run_helper(prefix, name, *args):
    """The helper's answer (UTF-8); RuntimeError when it fails."""
    code, answer = run_program(prefix, helper_path(prefix, name), *args)
    if code != 0:
        raise RuntimeError(f"{name} {' '.join(args)} failed with exit code {code}")
    return answer


def start_helper(prefix, name, *args, stdout):
    """Starts a long-running helper writing to the file stdout; ended with the prefix."""
    process = subprocess.Popen([prefix.env["WINELOADER"], helper_path(prefix, name), *args], env=prefix.env,
                               stdin=subprocess.DEVNULL, stdout=stdout, stderr=prefix.log)
    prefix.processes.append(process)
    return process
