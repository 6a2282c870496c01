#!/usr/bin/env python3
"""Scenarios of one print each, played through printdialog's scripting: the ticket each print
writes, what the panel and the prompt dialog show, and what never reaches the console.
All codes here are synthetic test data."""
import os
import plistlib
import re
import subprocess
import sys
import tempfile

PRINTDIALOG = sys.argv[1]
KEY = "com.tovek.Act.qjob."
ORDER = ["On", "UID", "AID", "Prm", "CU", "CA", "AT", "EAD", "FDI"]
failures = []


def settings_file(folder, values, client="com.pmvendor.printingmanager", locked=False):
    """A saved print settings file holding the given accounting keys."""
    items = {KEY + k: {"Client": client, "Locked": locked, "Value": v,
                       "WriteOrder": i + 1} for i, (k, v) in enumerate(values.items())}
    path = os.path.join(folder, "settings.plist")
    with open(path, "wb") as out:
        plistlib.dump({"Items": items, "PPDChoices": {},
                       "TicketType": "com.apple.printingmanager.PMPrintSettingsTicket"}, out)
    return path


def play(name, script, settings=None, args=(), expect_ticket=None, expect_printed=True,
         expect_console=(), expect_files=(), secrets=(), locked_by=None, expect_status=None):
    with tempfile.TemporaryDirectory() as folder:
        command = [PRINTDIALOG, "--output", folder, *args]
        if script is not None:
            script_path = os.path.join(folder, name + ".script")
            with open(script_path, "w", encoding="utf-8") as out:
                out.write(script)
            command += ["--script", script_path]
        if settings is not None:
            lock = {"client": locked_by, "locked": True} if locked_by else {}
            command += ["--settings", settings_file(folder, settings, **lock)]
        run = subprocess.run(command, capture_output=True, encoding="utf-8", timeout=60)
        console = run.stdout + run.stderr
        problems = []
        ticket_path = os.path.join(folder, "job.ticket.plist")
        printed = os.path.exists(ticket_path)
        if printed != expect_printed:
            problems.append("printed" if printed else "nothing was printed")
        if expect_printed and run.returncode != 0:
            problems.append("exit status %d" % run.returncode)
        if expect_status is not None and run.returncode != expect_status:
            problems.append("exit status %d, expected %d" % (run.returncode, expect_status))
        if printed and expect_ticket is not None:
            with open(ticket_path, "rb") as f:
                items = plistlib.load(f)["Items"]
            orders = sorted((items[KEY + k]["WriteOrder"], k) for k in ORDER if KEY + k in items)
            if [k for _, k in orders] != ORDER:
                problems.append("keys written as %s" % [k for _, k in orders])
            for k, v in expect_ticket.items():
                got = items.get(KEY + k, {}).get("Value")
                if got != v:
                    problems.append("%s is %r, expected %r" % (k, got, v))
        for pattern in expect_console:
            if not re.search(pattern, console):
                problems.append("console lacks /%s/" % pattern)
        for file_name, pattern in expect_files:
            path = os.path.join(folder, file_name)
            text = open(path, encoding="utf-8").read() if os.path.exists(path) else ""
            if not re.search(pattern, text, re.M):
                problems.append("%s lacks /%s/" % (file_name, pattern))
        for secret in secrets:
            if secret in console:
                problems.append("the code %r reached the console" % secret)
        if problems:
            failures.append(name)
            print("FAILED %s: %s\n--- console:\n%s---" % (name, "; ".join(problems), console))
        else:
            print("ok %s" % name)


# Every prompt window is titled "Accounting"; the controls tell them apart.
ENABLE = 'choose TVKa:101 "Accounting Enabled"\n'
DEFAULTS_OFF = {"Prm": 1, "CU": 0, "CA": 0}

# Accounting off: no prompt, the nine keys with empty codes.
play("accounting-off", 'dump panel.txt\nclick "Print"\n',
     expect_ticket={"On": 1, "Prm": 1, "UID": "", "AID": "", "EAD": 0, "FDI": 0},
     expect_files=[("panel.txt", r"'TVKa'/103 static text .* visible .*text=\"Jobs are printed"),
                   ("panel.txt", r"'TVKa'/110 radio button .* hidden")])

# Prompting, unmasked: the codes typed in the prompt go into the ticket, never to the console.
play("prompt-unmasked-ok", ENABLE + 'dump panel.txt\nclick "Print"\ndump prompt.txt\n'
     'type TVKa:501 "u-1001"\ntype TVKa:503 "a-2002"\nclick "OK"\n', settings=DEFAULTS_OFF,
     expect_ticket={"On": 3, "Prm": 1, "UID": "u-1001", "AID": "a-2002", "CU": 0, "CA": 0},
     expect_files=[("panel.txt", r"'TVKa'/110 radio button .* visible .*value=1"),
                   ("prompt.txt", r"^window \"Accounting\""),
                   ("prompt.txt", r"'TVKa'/501 edit text .* visible(?!.*password)"),
                   ("prompt.txt", r"'TVKa'/1 push button .* disabled")],
     secrets=["u-1001", "a-2002"])

# Masked codes: password fields; the ticket still gets the clear codes.
play("prompt-masked-ok", ENABLE + 'click "Print"\ndump prompt.txt\ntype TVKa:501 "m-31"\n'
     'type TVKa:503 "m-32"\nclick "OK"\n', settings={"Prm": 1, "CU": 1, "CA": 1},
     expect_ticket={"UID": "m-31", "AID": "m-32", "CU": 1, "CA": 1},
     expect_files=[("prompt.txt", r"'TVKa'/501 edit text .* password"),
                   ("prompt.txt", r"'TVKa'/9998 edit text .* hidden")],
     secrets=["m-31", "m-32"])

# Cancel in the prompt: the stop alert, no print, and the dialog stays open for Cancel.
play("prompt-cancel", ENABLE + 'click "Print"\ntype TVKa:501 "c-1"\nclick "Cancel"\n'
     'expect-alert "The job was not printed because no accounting codes were entered."\n'
     'answer-alert "OK"\ndump after.txt\nclick PDlg:2\n',
     expect_printed=False, expect_console=[r"cancelled; nothing was printed"],
     expect_files=[("after.txt", r"^window \"Print\"")], secrets=["c-1"])

# Default codes: no prompt; the codes typed in the panel are written.
play("default-codes", ENABLE + 'click "Use Default Accounting Codes"\n'
     'type TVKa:122 "d-41"\ntype TVKa:126 "d-42"\nclick "Print"\n',
     expect_ticket={"On": 3, "Prm": 0, "UID": "d-41", "AID": "d-42"}, secrets=["d-41", "d-42"])

# Default codes missing: the notice, no print; the user then cancels.
play("default-codes-missing", ENABLE + 'click "Use Default Accounting Codes"\nclick "Print"\n'
     'expect-notice "The default accounting codes are missing. Enter a default user ID (and '
     'account ID) in the Accounting panel, or choose Prompt for Every Job."\nclick PDlg:2\n',
     expect_printed=False)

# Default codes come back from saved settings into the panel's fields.
play("default-codes-from-settings", 'expect-value TVKa:120 1\nclick "Print"\n',
     settings={"On": 3, "Prm": 0, "UID": "s-51", "AID": "s-52"},
     expect_ticket={"On": 3, "Prm": 0, "UID": "s-51", "AID": "s-52"}, secrets=["s-51", "s-52"])

# The key filter: refused characters beep and stay out; a full field takes no more.
play("key-filter", ENABLE + 'click "Print"\ntype TVKa:501 "ab,c;d/e"\n'
     'type TVKa:503 "' + "9" * 40 + '"\nclick "OK"\n', settings=DEFAULTS_OFF,
     expect_ticket={"UID": "abcde", "AID": "9" * 32})

# Tallyset (only a ticket brings it): its own window with the account type; codes cut to 12.
play("tallyset", 'click "Print"\ndump prompt.txt\ntype TVKa:501 "t-123456789012345"\n'
     'click "OK"\n', settings={"On": 2, "Prm": 1, "CU": 0, "CA": 0, "AT": 1},
     expect_ticket={"On": 2, "UID": "t-1234567890", "AT": 1},
     expect_files=[("prompt.txt", r"'TVKa'/505 popup button .* visible"),
                   ("prompt.txt", r"'TVKa'/503 edit text .* disabled")])

# The auxiliary interface: Enter at Device turns the job's accounting off.
play("fdi-enter-at-device", 'click "Print"\ndump prompt.txt\nclick "Enter at Device"\n'
     'click "OK"\n', settings={"On": 2, "Prm": 1, "FDI": 1, "AT": 2},
     expect_ticket={"On": 1, "FDI": 1},
     expect_files=[("prompt.txt", r"'TVKa'/600 radio button .* visible"),
                   ("prompt.txt", r"'TVKa'/505 popup button .* visible")])
play("fdi-window", ENABLE + 'click "Print"\ndump prompt.txt\nclick "Cancel"\nanswer-alert "OK"\n'
     'click PDlg:2\n', settings={"Prm": 1, "FDI": 1}, expect_printed=False,
     expect_files=[("prompt.txt", r"'TVKa'/501 edit text .* visible")])

# Before 10.5 the Print button's click, not the OK command, brings the prompt.
play("before-10.5", ENABLE + 'click "Print"\nexpect-text TVKa:500 "User ID:"\n'
     'type TVKa:501 "p-61"\ntype TVKa:503 "p-62"\nclick "OK"\n', settings=DEFAULTS_OFF,
     args=["--system-version", "10.4.11"], expect_ticket={"UID": "p-61", "AID": "p-62"})

# A value out of range is kept as it is. Its prompt takes no typing (the fields' limit is 0).
play("system-7", 'click "Print"\n', settings={"On": 7, "Prm": 0, "UID": "x-71", "AID": "x-72"},
     expect_ticket={"On": 7, "UID": "x-71", "AID": "x-72"})
play("system-7-prompt", 'click "Print"\ntype TVKa:501 "x"\nexpect-text TVKa:501 ""\n'
     'dump prompt.txt\nclick "Cancel"\nanswer-alert "OK"\nclick PDlg:2\n',
     settings={"On": 7, "Prm": 1, "CU": 0}, expect_printed=False,
     expect_files=[("prompt.txt", r"'TVKa'/1 push button .* disabled")])

# A script that ends while the prompt waits fails loudly and prints nothing.
play("script-ends-early", ENABLE + 'click "Print"\n', expect_printed=False,
     expect_console=[r"has no more actions"])

# Codes in other scripts than Latin. Under Tallyset a code is cut at 12 bytes, never inside a
# character: the "é" that would straddle the cut goes whole, and all nine keys are written over
# the codes of an earlier print.
play("tallyset-cut-whole-character", 'click "Print"\ntype TVKa:501 "abcdefghijké"\n'
     'click "OK"\n', settings={"On": 2, "Prm": 1, "CU": 0, "CA": 0, "AT": 1, "UID": "earlier"},
     expect_ticket={"On": 2, "UID": "abcdefghijk"})
# The key filter refuses only its separators: "ł" and "日本" are letters, not "?". A character
# that would pass the 32-byte cap is refused whole.
play("key-filter-any-script", ENABLE + 'click "Print"\ntype TVKa:501 "Michał"\n'
     'type TVKa:503 "日本"\nclick "OK"\n', settings=DEFAULTS_OFF,
     expect_ticket={"UID": "Michał", "AID": "日本"}, secrets=["Michał", "日本"])
play("key-filter-cap-whole-character", ENABLE + 'click "Print"\ntype TVKa:501 "' + "u" * 31 +
     'éz"\ntype TVKa:503 "a"\nclick "OK"\n', settings=DEFAULTS_OFF,
     expect_ticket={"UID": "u" * 31 + "z", "AID": "a"})

# Settings saved with another client's locks: the codes typed now are the job's.
play("locked-settings", 'type TVKa:122 "d-83"\ntype TVKa:126 "d-84"\nclick "Print"\n',
     settings={"On": 3, "Prm": 0, "UID": "s-81", "AID": "s-82"}, locked_by="com.other.client",
     expect_ticket={"On": 3, "Prm": 0, "UID": "d-83", "AID": "d-84"}, secrets=["d-83", "s-81"])

# After a cancelled prompt, a print with the default codes goes ahead.
play("default-codes-after-cancel", ENABLE + 'click "Print"\nclick "Cancel"\n'
     'answer-alert "OK"\nclick "Use Default Accounting Codes"\ntype TVKa:122 "d-91"\n'
     'type TVKa:126 "d-92"\nclick "Print"\n',
     expect_ticket={"On": 3, "Prm": 0, "UID": "d-91", "AID": "d-92"}, secrets=["d-91", "d-92"])

# A stopped print says why on the console: the cancel alert, and that a panel stopped it.
play("prompt-cancel-console", ENABLE + 'click "Print"\nclick "Cancel"\nanswer-alert "OK"\n'
     'click PDlg:2\n', expect_printed=False,
     expect_console=[r"Alert: The job was not printed because no accounting codes were entered",
                     r"a panel stopped the print \(status -12345678\)"])
# A prompt with no one to answer it (no script, no display) is no OK: nothing is printed, the
# console says why, and the exit status says it failed.
play("prompt-without-answer", None, settings={"On": 3, "Prm": 1, "UID": "e-1", "AID": "e-2"},
     expect_printed=False, expect_status=1,
     expect_console=[r"no event source is installed",
                     r"Alert: The job was not printed because no accounting codes were entered",
                     r"a panel stopped the print"])

print("%d scenario(s) failed" % len(failures) if failures else "all scenarios passed")
sys.exit(1 if failures else 0)
