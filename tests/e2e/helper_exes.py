"""Runs the Windows helpers built beside e2e_probe.exe in a test's Wine prefix."""

import os
import subprocess
import tempfile


def helper_path(prefix, name):
    return os.path.join(os.path.dirname(prefix.probe_exe), name)


def run_helper(prefix, name, *args):
    """The helper's answer (UTF-8); RuntimeError when it fails."""
    # A file, not a pipe: a pipe would stay open as long as Wine's helpers run.
    with tempfile.TemporaryFile() as out:
        result = subprocess.run([prefix.env["WINELOADER"], helper_path(prefix, name), *args], env=prefix.env,
                                stdin=subprocess.DEVNULL, stdout=out, stderr=prefix.log, timeout=60)
        if result.returncode != 0:
            raise RuntimeError(f"{name} {' '.join(args)} failed with exit code {result.returncode}")
        out.seek(0)
        return out.read().decode("utf-8").strip()


def start_helper(prefix, name, *args, stdout):
    """Starts a long-running helper writing to the file stdout; ended with the prefix."""
    process = subprocess.Popen([prefix.env["WINELOADER"], helper_path(prefix, name), *args], env=prefix.env,
                               stdin=subprocess.DEVNULL, stdout=stdout, stderr=prefix.log)
    prefix.processes.append(process)
    return process
