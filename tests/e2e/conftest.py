"""What the end-to-end tests run on: the win64 build (--build, default
build/win64), an X display ($DISPLAY when it answers, else a private Xvfb),
one pristine Wine prefix made per run, and for each test a fresh copy of it
with its own wineserver, the fixture p. A failed test's prefix and logs are
kept in BUILD/e2e/NAME; a passed test's are removed."""

import os
import re
import shutil
from types import SimpleNamespace

import pytest

import under_wine

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
FAILED = pytest.StashKey[bool]()


def pytest_addoption(parser):
    parser.addoption("--build", default=os.path.join(ROOT, "build", "win64"),
                     help="the win64 build folder (app/tarnwick.exe, tests/e2e/e2e_probe.exe); default build/win64")


@pytest.hookimpl(hookwrapper=True)
def pytest_runtest_makereport(item, call):
    report = (yield).get_result()
    if report.failed:
        item.stash[FAILED] = True


@pytest.fixture(scope="session")
def build(pytestconfig):
    folder = os.path.abspath(pytestconfig.getoption("--build"))
    paths = SimpleNamespace(folder=folder, exe=os.path.join(folder, "app", "tarnwick.exe"),
                            probe=os.path.join(folder, "tests", "e2e", "e2e_probe.exe"))
    for path in (paths.exe, paths.probe):
        if not os.path.exists(path):
            pytest.exit(f"{path} is missing; build the win64 preset first", 2)
    return paths


@pytest.fixture(scope="session")
def work(build):
    folder = os.path.join(build.folder, "e2e")
    os.makedirs(folder, exist_ok=True)
    return folder


@pytest.fixture(scope="session")
def display():
    """The display every test runs on; the tests move its pointer."""
    if under_wine.display_answers():
        yield os.environ["DISPLAY"]
        return
    private = under_wine.Display()
    os.environ["DISPLAY"] = private.name
    yield private.name
    private.stop()


@pytest.fixture
def test_display(display):
    """The display of one test: the run's, unless a test module needs another."""
    return display


@pytest.fixture(scope="session")
def pristine(work, display):
    path = os.path.join(work, "pristine")
    under_wine.make_pristine_prefix(path)
    yield path
    shutil.rmtree(path, ignore_errors=True)


@pytest.fixture
def p(request, build, work, pristine, test_display):
    name = re.sub(r"\W+", "_", request.node.name.removeprefix("test_")).strip("_")
    prefix = under_wine.Prefix(pristine, os.path.join(work, name), build.exe, build.probe, test_display)
    yield prefix
    prefix.close()
    if request.node.stash.get(FAILED, False):
        print(f"prefix and log kept in {prefix.path}")
    else:
        shutil.rmtree(prefix.path, ignore_errors=True)
