"""The real tarnwick.exe under Wine, as the end-to-end tests (tests/e2e) and
the measurements (bench/) run it: a private X display, a pristine Wine prefix
and copies of it with a wineserver each, the settings file, and the Windows
helpers built beside e2e_probe.exe."""

import glob
import os
import select
import shutil
import subprocess
import tempfile
import time

WINE = "/usr/lib/wine/wine64" if os.access("/usr/lib/wine/wine64", os.X_OK) else shutil.which("wine64") or "wine"
WINESERVER = ("/usr/lib/wine/wineserver64" if os.access("/usr/lib/wine/wineserver64", os.X_OK)
              else shutil.which("wineserver") or "wineserver")

# The settings window's close with the first-run values.
FIRST_RUN_SETTINGS = (
    b'<?xml version="1.0" encoding="utf-8"?>\n'
    b"<root>\n"
    b"\t<Config>\n"
    b'\t\t<Cursor Type="9">5</Cursor>\n'
    b'\t\t<Splash Type="9">2</Splash>\n'
    b'\t\t<Picture Type="10"></Picture>\n'
    b'\t\t<Size Type="9">1</Size>\n'
    b'\t\t<First Type="2">0</First>\n'
    b'\t\t<WavFile Type="10"></WavFile>\n'
    b'\t\t<Wav Type="9">0</Wav>\n'
    b"\t</Config>\n"
    b"</root>\n"
)


def settings_file(cursor=5, splash=2, first=False, wav=0, wav_file="", picture="", size=1):
    """A settings file as the program writes it, with the values given."""
    return (FIRST_RUN_SETTINGS
            .replace(b'"9">5</Cursor>', b'"9">%d</Cursor>' % cursor)
            .replace(b'"9">2</Splash>', b'"9">%d</Splash>' % splash)
            .replace(b'"10"></Picture>', b'"10">%s</Picture>' % picture.encode())
            .replace(b'"9">1</Size>', b'"9">%d</Size>' % size)
            .replace(b'"2">0</First>', b'"2">%d</First>' % (1 if first else 0))
            .replace(b'"10"></WavFile>', b'"10">%s</WavFile>' % wav_file.encode())
            .replace(b'"9">0</Wav>', b'"9">%d</Wav>' % wav))


def settings_path(prefix):
    """Where the program keeps its settings file in the Wine prefix at prefix."""
    (appdata,) = glob.glob(os.path.join(prefix, "drive_c", "users", "*", "AppData", "Roaming"))
    return os.path.join(appdata, "Fellmoor", "Tarnwick", "Tarnwick.xml")


class Failure(AssertionError):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


def wait_until(predicate, timeout, interval=0.2):
    """Polls predicate until it returns a true value or timeout seconds pass."""
    deadline = time.monotonic() + timeout
    while True:
        value = predicate()
        if value or time.monotonic() > deadline:
            return value
        time.sleep(interval)


def exited(process, timeout):
    """The exit code once process ends within timeout, else None."""
    try:
        return process.wait(timeout)
    except subprocess.TimeoutExpired:
        return None


# ---------------------------------------------------------------- displays

def display_answers(name=None):
    """Whether the X display name (default $DISPLAY) answers."""
    name = name or os.environ.get("DISPLAY")
    return bool(name) and subprocess.run(["xdpyinfo", "-display", name], stdout=subprocess.DEVNULL,
                                         stderr=subprocess.DEVNULL).returncode == 0


class Display:
    """A private Xvfb display. The server itself takes a free number and
    names it once it accepts clients, so displays started at once never race
    for one."""

    def __init__(self, screen="1920x1080x24"):
        ready, told = os.pipe()
        self.process = subprocess.Popen(["Xvfb", "-displayfd", str(told), "-screen", "0", screen, "-nolisten", "tcp",
                                         "-noreset"], pass_fds=(told,), stdin=subprocess.DEVNULL,
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, start_new_session=True)
        os.close(told)
        try:
            number = b""
            while not number.endswith(b"\n") and select.select([ready], [], [], 10)[0]:
                chunk = os.read(ready, 16)
                if not chunk:
                    break
                number += chunk
        finally:
            os.close(ready)
        if not number.strip().isdigit():
            self.stop()
            raise RuntimeError("Xvfb did not start")
        self.name = ":" + number.decode().strip()

    def stop(self):
        # Terminated, not killed: Xvfb then removes its lock file.
        self.process.terminate()
        try:
            self.process.wait(10)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait()


def pointer_move(x, y, env=None):
    subprocess.run(["xdotool", "mousemove", str(x), str(y)], env=env, check=True)


# ---------------------------------------------------------------- prefixes

def wine_env(prefix):
    env = dict(os.environ)
    # The Japanese locale the program is written for, as scripts/run.sh runs it.
    env.update(WINEPREFIX=prefix, WINEARCH="win64", WINEDEBUG="-all", WINELOADER=WINE, LANG="ja_JP.UTF-8",
               WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d")
    return env


def make_pristine_prefix(path):
    """A new Wine prefix at path, to be copied for each run of the program."""
    shutil.rmtree(path, ignore_errors=True)
    env = wine_env(path)
    subprocess.run([WINE, "wineboot.exe", "-i"], env=env, stdin=subprocess.DEVNULL,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=True)
    # No window manager runs on a private display: Wine would wait two seconds
    # for one whenever the active window changes, unless its windows are
    # unmanaged.
    subprocess.run([WINE, "reg", "add", r"HKCU\Software\Wine\X11 Driver", "/v", "Managed", "/d", "N", "/f"],
                   env=env, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=True)
    subprocess.run([WINESERVER, "-w"], env=env, check=True)


class Prefix:
    """A Wine prefix copied from the pristine one, with its own wineserver."""

    def __init__(self, pristine, path, exe, probe, display=None):
        shutil.rmtree(path, ignore_errors=True)
        subprocess.run(["cp", "-a", pristine, path], check=True)
        self.path, self.exe, self.probe_exe = path, exe, probe
        self.env = wine_env(path)
        if display:
            self.env["DISPLAY"] = display
        self.log = open(os.path.join(path, "wine.log"), "ab")
        self.processes = []
        subprocess.run([WINESERVER, "-p30"], env=self.env, check=True)

    def close(self):
        for process in self.processes:
            if process.poll() is None:
                process.kill()
        subprocess.run([WINESERVER, "-k"], env=self.env, stderr=subprocess.DEVNULL)
        subprocess.run([WINESERVER, "-w"], env=self.env, stderr=subprocess.DEVNULL)
        for process in self.processes:
            process.wait()
        self.log.close()

    def appdata(self):
        return os.path.dirname(os.path.dirname(os.path.dirname(self.settings_path())))

    def settings_path(self):
        return settings_path(self.path)

    def write_settings(self, content):
        os.makedirs(os.path.dirname(self.settings_path()), exist_ok=True)
        with open(self.settings_path(), "wb") as f:
            f.write(content)

    def read_settings(self):
        with open(self.settings_path(), "rb") as f:
            return f.read()

    def start(self, *args, winedebug=None, log=None):
        """Starts the program; winedebug gives its WINEDEBUG, log the file its output goes to."""
        env = dict(self.env, WINEDEBUG=winedebug) if winedebug else self.env
        # Output to a file, not a pipe: Wine's helper processes inherit it.
        process = subprocess.Popen([WINE, self.exe, *args], env=env, stdin=subprocess.DEVNULL,
                                   stdout=log or self.log, stderr=log or self.log)
        self.processes.append(process)
        return process

    def probe(self, *args, timeout=30):
        code, answer = run_program(self, self.probe_exe, *args, timeout=timeout)
        check(code == 0, f"e2e_probe {' '.join(args)} failed ({code}): {answer}")
        return answer

    def main_state(self):
        return self.probe("main-state")

    def wait_main_state(self, state, timeout=20):
        seen = wait_until(lambda: self.main_state() == state, timeout)
        check(seen, f"the settings window is not {state} (it is {self.main_state()})")

    def close_main(self, process):
        check(self.probe("close-main") == "posted", "no settings window to close")
        check(exited(process, 15) == 0, f"the program did not end with exit code 0 (got {process.poll()})")


# ---------------------------------------------------------------- the helpers beside e2e_probe.exe

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
