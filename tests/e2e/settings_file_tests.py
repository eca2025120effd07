"""Settings files that are not well-formed XML: the program reports the parse
error at start, a close cannot save over the file, the user may quit without
saving, and the file stays byte for byte as it was.
Run by run_e2e.py, the main script, whose helpers these tests use."""

import __main__ as e2e
from helper_exes import run_helper

__all__ = ["test_malformed_settings_files_are_reported_and_never_saved_over"]

DECLARATION = b'<?xml version="1.0" encoding="utf-8"?>\n'


def malformed_files():
    """name: (the file, the parse error the program reports). Made when the
    test runs: the runner's settings are not there yet when this module is
    imported by another script (the measurements)."""
    return {
        "empty": (b"", "文書要素がありません\r\n行: 1\r\n"),
        "two top-level elements": (DECLARATION + b"<root/>\n<root/>\n", "文書要素の後に余分な内容があります\r\n行: 3\r\n<root/>"),
        "text before the document element": (b"Tarnwick\n<root/>\n", "構文が正しくありません\r\n行: 1\r\nTarnwick"),
        "text after the document element": (e2e.FIRST_RUN_SETTINGS + b"saved\n",
                                            "文書要素の後に余分な内容があります\r\n行: 13\r\nsaved"),
        "bare ampersand": (e2e.FIRST_RUN_SETTINGS.replace(b"<Picture Type=\"10\">", b"<Picture Type=\"10\">a&b"),
                           "正しくない文字があります\r\n行: 6\r\n\t\t<Picture Type=\"10\">a&b</Picture>"),
        "undefined entity": (e2e.FIRST_RUN_SETTINGS.replace(b"<Picture Type=\"10\">", b"<Picture Type=\"10\">&pic;"),
                             "未定義のエンティティを参照しています\r\n行: 6\r\n\t\t<Picture Type=\"10\">&pic;</Picture>"),
        "declared entity": (DECLARATION + b'<!DOCTYPE root [<!ENTITY pic "C:\\a.png">]>\n'
                            + e2e.FIRST_RUN_SETTINGS[len(DECLARATION):].replace(b'"10"></Picture>', b'"10">&pic;</Picture>'),
                            "エンティティの宣言には対応していません\r\n行: 2\r\n<!DOCTYPE root [<!ENTITY pic \"C:\\a.png\">"),
        "duplicate attributes": (e2e.FIRST_RUN_SETTINGS.replace(b'<Size Type="9">', b'<Size Type="9" Type="10">'),
                                 "属性が重複しています\r\n行: 7\r\n\t\t<Size Type=\"9\" Type=\"10\">1</Size>"),
        "less-than in an attribute": (e2e.FIRST_RUN_SETTINGS.replace(b'<Wav Type="9">', b'<Wav Type="<9">'),
                                      "正しくない文字があります\r\n行: 10\r\n\t\t<Wav Type=\"<9\">0</Wav>"),
        "bytes that are not UTF-8": (e2e.FIRST_RUN_SETTINGS.replace(b'"10"></Picture>', b'"10">C:\\caf\xe9.png</Picture>'),
                                     "正しくない文字があります (UTF-8 ではありません)\r\n行: 6\r\n"
                                     "\t\t<Picture Type=\"10\">C:\\caf\ufffd.png</Pictur"),
    }


QUIT_UNSAVED = "設定を保存できませんでした。保存せずに終了しますか？"


def shown_box(p):
    """The text of the program's message box, or "none"; the helper's output
    is in text mode, which wrote each line feed of the text as CR LF."""
    return run_helper(p, "e2e_lookout.exe", "error-box").replace("\r\r\n", "\r\n")


def answer_box(p, expected, button, what):
    """Waits for the program's message box, checks its text and presses button."""
    text = e2e.wait_until(lambda: (shown := shown_box(p)) != "none" and shown, 15)
    e2e.check(text == expected, f"{what}: the box says {text!r}, not {expected!r}")
    e2e.check(run_helper(p, "e2e_lookout.exe", "close-box", button) == "closed", f"{what}: could not close the box")
    e2e.check(e2e.wait_until(lambda: shown_box(p) != text, 5), f"{what}: the box stayed")


def report_text(message):
    """The error report's text for message: a full stop is added after text."""
    return (message + "." if message[-1:] > "." else message).strip()


def test_malformed_settings_files_are_reported_and_never_saved_over(p):
    for name, (content, error) in malformed_files().items():
        p.write_settings(content)
        running = p.start()
        answer_box(p, report_text(error), "ok", f"{name}, at start")
        p.wait_main_state("visible")
        e2e.check(p.read_settings() == content, f"{name}: the start changed the file")
        e2e.check(p.probe("close-main") == "posted", f"{name}: no settings window to close")
        answer_box(p, report_text(error), "ok", f"{name}, on closing")
        answer_box(p, QUIT_UNSAVED, "yes", f"{name}, the question")
        e2e.check(e2e.exited(running, 15) == 0, f"{name}: the program did not end with exit code 0")
        e2e.check(p.read_settings() == content, f"{name}: the file changed:\n{p.read_settings()!r}")
