#!/usr/bin/env python3
"""Runs the README's playbook (ansible/playbooks/quillon-servers.yml) with Debian's ansible-core
on this machine, against two scratch copies of the sample System folder standing for two
servers, and prints each run's output. Exit status 1 when any check fails.

Usage: fleet_test.py QUILLON_SETTINGS REPOSITORY"""

import functools
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile
from pathlib import Path

SERVERS = ("server1", "server2")
RESULTS = []


def expect(condition, what, output=""):
    RESULTS.append(condition)
    if not condition:
        print("FAILED: " + what + ("\n" + output if output else ""))


def environment(scratch, program, repository):
    """No ANSIBLE_* variable, home or configuration of the user's; this repository's collection,
    and the quillon-settings under test first on the PATH."""
    env = {k: v for k, v in os.environ.items() if not k.startswith("ANSIBLE_")}
    (scratch / "ansible.cfg").write_text("[defaults]\n")
    (scratch / "home").mkdir()
    env.update(HOME=str(scratch / "home"), ANSIBLE_CONFIG=str(scratch / "ansible.cfg"),
               ANSIBLE_LOCAL_TEMP=str(scratch / "local-tmp"),
               ANSIBLE_REMOTE_TEMP=str(scratch / "remote-tmp"),
               ANSIBLE_COLLECTIONS_PATH=str(repository / "ansible"),
               ANSIBLE_COLLECTIONS_SCAN_SYS_PATH="false", ANSIBLE_RETRY_FILES_ENABLED="false",
               ANSIBLE_PYTHON_INTERPRETER="/usr/bin/python3", ANSIBLE_STDOUT_CALLBACK="default",
               ANSIBLE_NOCOLOR="true", ANSIBLE_LOCALHOST_WARNING="false",
               PATH=str(Path(program).resolve().parent) + os.pathsep + env.get("PATH", ""))
    return env


def state(folders):
    """Every file of the System folders, with its bytes, modification time and inode."""
    return {str(p): (p.read_bytes(), p.stat().st_mtime_ns, p.stat().st_ino)
            for folder in folders for p in sorted((folder / "System").iterdir())}


def playbook(scratch, env, repository, title, changed, failed, *options):
    """One run; checks each server's changed and failed counts in the recap, returns the output."""
    command = ["ansible-playbook", "-i", "inventory.yml",
               str(repository / "ansible" / "playbooks" / "quillon-servers.yml"), *options]
    print("==== %s: ansible-playbook %s" % (title, " ".join(options)))
    run = subprocess.run(command, cwd=scratch, env=env, stdout=subprocess.PIPE,
                         stderr=subprocess.STDOUT, text=True, timeout=240)
    print(run.stdout, flush=True)
    expect(run.returncode == (2 if failed else 0), title + ": exit status", run.stdout)
    for server in SERVERS:
        counts = re.search(r"^%s\s*: ok=\d+\s+changed=(\d+)\s+unreachable=0\s+failed=(\d+)"
                           % server, run.stdout, re.MULTILINE)
        expect(counts and counts.groups() == (str(changed), str(failed)),
               "%s: %s changed=%d failed=%d" % (title, server, changed, failed))
    return run.stdout


def main(program, repository):
    with tempfile.TemporaryDirectory(prefix="quillon-fleet-") as temp:
        scratch = Path(temp)
        folders = [scratch / server for server in SERVERS]
        for folder in folders:
            shutil.copytree(repository / "examples" / "System", folder / "System")
        (scratch / "inventory.yml").write_text(json.dumps({"quillon_servers": {"hosts": {
            folder.name: {"ansible_connection": "local", "quillon_system_dir": str(folder)}
            for folder in folders}}}))
        env = environment(scratch, program, repository)
        run = functools.partial(playbook, scratch, env, repository)

        doc = subprocess.run(["ansible-doc", "brackens.quillon.quillon_settings"], cwd=scratch,
                             env=env, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
        expect(doc.returncode == 0, "ansible-doc reads the module's documentation", doc.stdout)

        output = run("first run", 1, 0, "--diff")
        expect(output.count("-TimeLimit=20\n") == 2 and output.count("+TimeLimit=30\n") == 2,
               "first run: the diff shows TimeLimit's old and new value on both servers")
        for folder in folders:
            files = b"".join((folder / "System" / name).read_bytes()
                             for name in ("QLLoadouts.ini", "QuillonMod.ini"))
            for line in (b"\nTimeLimit=30\r\n", b"\nPercentageLootDropped=0.35\r\n",
                         b"\nbBalanceTeams=False\r\n", b"\nThiefLoadout[0]=Rope and Arrows\r\n"):
                expect(line in files, "first run: %s holds %r" % (folder.name, line))

        before = state(folders)
        run("second run", 0, 0, "--diff")
        expect(state(folders) == before, "second run: no byte moves")

        other = {"quillon_settings": {"TimeLimit": 45, "PercentageToPassVote": 60}}
        output = run("check run", 1, 0, "--check", "--diff", "-e", json.dumps(other))
        for line in ("-TimeLimit=30\n", "+TimeLimit=45\n",
                     "-PercentageToPassVote=50\n", "+PercentageToPassVote=60\n"):
            expect(output.count(line) == 2, "check run: the diff of both servers has " + line)
        expect(state(folders) == before, "check run: nothing written")

        other["quillon_settings"]["PercentageToPassVote"] = "x"
        output = run("refused value", 0, 1, "-e", json.dumps(other))
        expect(output.count('"msg": "quillon-settings: PercentageToPassVote: \\"x\\" is not a '
                            'number; nothing was written"') == 2,
               "refused value: both failures name the setting and say why")
        expect(state(folders) == before, "refused value: nothing written")

    print("%d passed, %d failed" % (RESULTS.count(True), RESULTS.count(False)))
    return 0 if all(RESULTS) else 1


if __name__ == "__main__":
    sys.exit(main(sys.argv[1], Path(sys.argv[2]).resolve()))
