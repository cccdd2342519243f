#!/usr/bin/env python3
"""Runs the README's playbook (ansible/playbooks/quillon-servers.yml) with Debian's ansible-core
on this machine, against two scratch copies of the sample System folder standing for two
servers: a first run changes both, a second changes neither and moves no byte, a check run with
--diff shows the change and writes nothing, and a refused value fails naming the setting.

Usage: fleet_test.py QUILLON_SETTINGS REPOSITORY
Each run's output is printed; the exit status is 1 when any check fails."""

import json
import os
import re
import shutil
import subprocess
import sys
import tempfile
from pathlib import Path

SERVERS = ("server1", "server2")
CHECKED = []
FAILURES = []


def expect(condition, what, output=""):
    CHECKED.append(what)
    if not condition:
        FAILURES.append(what)
        print("FAILED: " + what + ("\n" + output if output else ""))


def ansible_environment(scratch, program):
    """The environment of a run: no ANSIBLE_* variable, home folder or configuration of the
    user's, this repository's collection, and the quillon-settings under test on the PATH."""
    env = {k: v for k, v in os.environ.items() if not k.startswith("ANSIBLE_")}
    config = scratch / "ansible.cfg"
    config.write_text("[defaults]\n")
    env.update({
        "HOME": str(scratch / "home"),
        "ANSIBLE_CONFIG": str(config),
        "ANSIBLE_HOME": str(scratch / "home" / ".ansible"),
        "ANSIBLE_LOCAL_TEMP": str(scratch / "local-tmp"),
        "ANSIBLE_REMOTE_TEMP": str(scratch / "remote-tmp"),
        "ANSIBLE_COLLECTIONS_PATH": str(REPOSITORY / "ansible"),
        "ANSIBLE_COLLECTIONS_SCAN_SYS_PATH": "false",
        "ANSIBLE_RETRY_FILES_ENABLED": "false",
        "ANSIBLE_PYTHON_INTERPRETER": "/usr/bin/python3",
        "ANSIBLE_STDOUT_CALLBACK": "default",
        "ANSIBLE_NOCOLOR": "true",
        "ANSIBLE_LOCALHOST_WARNING": "false",
        "PATH": str(Path(program).resolve().parent) + os.pathsep + os.environ.get("PATH", ""),
    })
    (scratch / "home").mkdir()
    return env


def state(folders):
    """Every file of the System folders: its bytes, modification time and inode."""
    return {
        str(path): (path.read_bytes(), path.stat().st_mtime_ns, path.stat().st_ino)
        for folder in folders for path in sorted((folder / "System").iterdir())
    }


def recap(output):
    """Each server's counts from the play recap: {"server1": {"ok": 1, "changed": 1, ...}}."""
    found = {}
    for host, counts in re.findall(r"^(server\d)\s*:\s*(.*)$", output, re.MULTILINE):
        found[host] = {k: int(v) for k, v in re.findall(r"(\w+)=(\d+)", counts)}
    return found


def run_playbook(title, env, scratch, *options):
    command = ["ansible-playbook", "-i", str(scratch / "inventory.yml"),
               str(REPOSITORY / "ansible" / "playbooks" / "quillon-servers.yml")] + list(options)
    print("==== " + title + ": " + " ".join(command[:1] + list(options)))
    run = subprocess.run(command, cwd=scratch, env=env, stdout=subprocess.PIPE,
                         stderr=subprocess.STDOUT, text=True, timeout=240)
    print(run.stdout, flush=True)
    return run.returncode, run.stdout, recap(run.stdout)


def check_counts(title, counts, changed, failed, output):
    for server in SERVERS:
        got = counts.get(server, {})
        expect(got.get("changed") == changed and got.get("failed") == failed,
               "%s: %s reports changed=%s failed=%s, not changed=%d failed=%d"
               % (title, server, got.get("changed"), got.get("failed"), changed, failed), output)


def main(program):
    if shutil.which("ansible-playbook") is None:
        print("ansible-playbook is not installed (Debian's ansible-core; `make test` installs it)")
        return 1
    with tempfile.TemporaryDirectory(prefix="quillon-fleet-") as temp:
        scratch = Path(temp)
        folders = [scratch / server for server in SERVERS]
        for folder in folders:
            shutil.copytree(REPOSITORY / "examples" / "System", folder / "System")
        inventory = {"quillon_servers": {"hosts": {
            server: {"ansible_connection": "local", "quillon_system_dir": str(folder)}
            for server, folder in zip(SERVERS, folders)}}}
        (scratch / "inventory.yml").write_text(json.dumps(inventory))
        env = ansible_environment(scratch, program)

        doc = subprocess.run(["ansible-doc", "brackens.quillon.quillon_settings"], cwd=scratch,
                             env=env, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
        expect(doc.returncode == 0 and "system_dir" in doc.stdout,
               "ansible-doc reads the module's documentation", doc.stdout)

        title = "first run"
        status, output, counts = run_playbook(title, env, scratch, "--diff")
        expect(status == 0, title + " succeeds", output)
        check_counts(title, counts, 1, 0, output)
        expect(output.count("-TimeLimit=20\n") == 2 and output.count("+TimeLimit=30\n") == 2,
               title + ": the diff shows TimeLimit's old and new value on both servers")
        for folder in folders:
            mod = (folder / "System" / "QuillonMod.ini").read_bytes()
            expect(b"\r\nTimeLimit=30\r\n" in mod and b"\r\nPercentageLootDropped=0.35\r\n" in mod
                   and b"\r\nbBalanceTeams=False\r\n" in mod, title + ": QuillonMod.ini of "
                   + folder.name + " holds the settings")
            expect(b"ThiefLoadout[0]=Rope and Arrows\r\n"
                   in (folder / "System" / "QLLoadouts.ini").read_bytes(),
                   title + ": QLLoadouts.ini of " + folder.name + " holds thief1")

        title = "second run"
        before = state(folders)
        status, output, counts = run_playbook(title, env, scratch, "--diff")
        expect(status == 0, title + " succeeds", output)
        check_counts(title, counts, 0, 0, output)
        expect(state(folders) == before, title + " moves no byte of either folder")

        title = "check run"
        other = json.dumps({"quillon_settings": {"TimeLimit": 45, "PercentageToPassVote": 60}})
        status, output, counts = run_playbook(title, env, scratch, "--check", "--diff", "-e", other)
        expect(status == 0, title + " succeeds", output)
        check_counts(title, counts, 1, 0, output)
        expect(all(output.count(line) == 2 for line in (
            "-TimeLimit=30\n", "+TimeLimit=45\n",
            "-PercentageToPassVote=50\n", "+PercentageToPassVote=60\n")),
            title + ": the diff shows both settings' old and new values on both servers")
        expect(state(folders) == before, title + " writes nothing")

        title = "refused value"
        refused = json.dumps({"quillon_settings": {"TimeLimit": 45, "PercentageToPassVote": "x"}})
        status, output, counts = run_playbook(title, env, scratch, "-e", refused)
        expect(status == 2, title + ": the playbook fails", output)
        check_counts(title, counts, 0, 1, output)
        expect(output.count('"msg": "quillon-settings: PercentageToPassVote: \\"x\\" is not a '
                            'number; nothing was written"') == 2,
               title + ": both failures name the setting and say why", output)
        expect(state(folders) == before, title + ": nothing written")

    print("%d passed, %d failed" % (len(CHECKED) - len(FAILURES), len(FAILURES)))
    return 1 if FAILURES else 0


if __name__ == "__main__":
    REPOSITORY = Path(sys.argv[2]).resolve()
    sys.exit(main(sys.argv[1]))
