#!/usr/bin/python
# -*- coding: utf-8 -*-

# Copyright: Brackens' Quillon Tool developers
# GNU General Public License v3.0 or later (see LICENSE or https://www.gnu.org/licenses/gpl-3.0.txt)

from __future__ import absolute_import, division, print_function

__metaclass__ = type

DOCUMENTATION = r'''
---
module: quillon_settings
short_description: Set the Quillon modification's settings in a game server's System folder
version_added: "1.1.0"
description:
  - Sets settings of Quillon, the thieves-against-guards modification of Unreal Tournament, in
    the five settings files of a game's C(System) folder, by running C(quillon-settings), the
    command line of Brackens' Quillon Tool, on the managed host.
  - All the settings' rules are C(quillon-settings)' own, the same as the tool's windows use
    (names, switches, percentages stored as fractions, the most characters a value takes, the
    files' code page, and the bytes of each file that no setting touches). This module
    implements none of them; it asks C(quillon-settings set --check --json) what would change
    and, when something would, runs C(quillon-settings set --json).
  - A value that C(quillon-settings) refuses fails the task with its message, which names the
    setting, and no file is written.
  - A second run with the same settings reports no change and writes no file.
options:
  system_dir:
    description:
      - The game's folder or its C(System) folder, on the managed host (C(System) is added when
        the path does not end in it).
      - Without it, C(quillon-settings) looks for the game as it does by itself (the Wine
        prefix in C(WINEPREFIX) or C(~/.wine) of the remote user, Steam, the community's Linux
        build, Heroic, Lutris, Bottles and PlayOnLinux); C(quillon-settings where) on the host
        lists the places.
    type: path
  settings:
    description:
      - The settings to set, by name (as C(quillon-settings --help) lists them; names match
        ignoring letter case, and each may be given once).
      - "The loadout names C(thief1) to C(thief4) and C(guard1) to C(guard4), C(ForceBuying),
        and the options C(Name), C(ShowVisibility), C(bTeamMessagesShowLocation),
        C(AllowDownloads), C(bInvertMouse), C(MouseSensitivity), C(PurgeCacheDays),
        C(bBalanceTeams), C(bLogIPInChat), C(TimeLimit), C(GuardStartMoney),
        C(ThievesStartMoney), C(PercentageLootDropped) and C(PercentageToPassVote)."
      - "Values are passed to C(quillon-settings) as text: a string as it stands; a boolean as
        C(True) or C(False); an integer in decimal; a float as Python writes it (C(2.5), and
        C(3.0) for 3.0). Quote a value to keep its exact spelling, as C(\"3.00\") for
        C(MouseSensitivity). Any other type (a list, a dictionary, null) fails the task."
      - Percentages are given as percentages (C(35) is stored as C(0.35)).
    type: dict
    required: true
  executable:
    description:
      - The C(quillon-settings) program on the managed host, by name (looked for on the
        C(PATH)) or by path.
    type: str
    default: quillon-settings
requirements:
  - C(quillon-settings) (Brackens' Quillon Tool 1.1 or later) on the managed host.
attributes:
  check_mode:
    support: full
    description: Runs C(quillon-settings set --check), which checks every value and writes nothing.
  diff_mode:
    support: full
    description: Shows each setting named, as C(NAME=VALUE), before and after.
  platform:
    platforms: posix
notes:
  - C(quillon-settings) warns when the game or its server runs from the C(System) folder (it
    reads its settings only when it starts); the warning comes back as a task warning, and the
    server must be restarted for the settings to take effect.
  - C(changed) is true exactly when a byte of a settings file changed; a value can read the same
    and still be rewritten, as a switch written C(true) becomes C(True).
author:
  - Brackens' Quillon Tool developers (quillon@example.org)
'''

EXAMPLES = r'''
- name: Set the time limit and the loot of a server
  brackens.quillon.quillon_settings:
    system_dir: /srv/ut
    settings:
      TimeLimit: 30
      PercentageLootDropped: 35
      bBalanceTeams: false
      thief1: Rope and Arrows

- name: Use a quillon-settings that is not on the PATH
  brackens.quillon.quillon_settings:
    system_dir: /home/ut/.wine/drive_c/UnrealTournament/System
    executable: /opt/quillon/bin/quillon-settings
    settings:
      MouseSensitivity: "3.00"
'''

RETURN = r'''
settings:
  description: Each setting given, under the name quillon-settings knows it by, with its value
    before and after the run as C(quillon-settings get) shows it (in check mode, the value it
    would have).
  returned: success
  type: dict
  sample: {"TimeLimit": {"before": "20", "after": "30"}, "bBalanceTeams": {"before": "True", "after": "False"}}
files:
  description: The settings files written (in check mode, that would be written); empty when
    nothing changed.
  returned: success
  type: list
  elements: str
  sample: ["QuillonMod.ini"]
system_dir:
  description: The System folder whose files were read, as quillon-settings settled it.
  returned: success
  type: str
  sample: /srv/ut/System/
'''

import json
import os

from ansible.module_utils.basic import AnsibleModule
from ansible.module_utils.six import string_types
from ansible.module_utils.common.text.converters import to_text


def value_text(module, name, value):
    """The text quillon-settings is given for a value of the settings dictionary."""
    if isinstance(value, bool):  # before int: a bool is an int in Python
        return u'True' if value else u'False'
    if isinstance(value, (int, float)):
        return to_text(repr(value))
    if isinstance(value, string_types):
        return to_text(value)
    module.fail_json(msg=u'settings.%s: the value %r is a %s; give a string, a number or a '
                         u'boolean' % (name, value, type(value).__name__))


def assignments(module):
    """NAME=VALUE for each setting, in the dictionary's order."""
    out = []
    for name, value in module.params['settings'].items():
        name = to_text(name)
        if u'=' in name:
            module.fail_json(msg=u'settings: the name %r holds "=", which no setting name does'
                                 % name)
        out.append(u'%s=%s' % (name, value_text(module, name, value)))
    return out


def program(module):
    """The path of the quillon-settings to run."""
    executable = module.params['executable']
    if os.sep not in executable:
        return module.get_bin_path(executable, required=True)
    if not os.access(executable, os.X_OK):
        module.fail_json(msg=u'executable: %s is not a program that can be run' % executable)
    return executable


def run_set(module, command, check):
    """Runs quillon-settings set --json (with --check when check); its report and its
    standard error."""
    args = list(command) + [u'set', u'--json'] + ([u'--check'] if check else [])
    args += assignments(module)
    rc, out, err = module.run_command(args)
    if rc != 0:
        module.fail_json(msg=err.strip() or u'quillon-settings ended with status %d' % rc,
                         rc=rc, stdout=out, stderr=err, cmd=args)
    try:
        return json.loads(out), err
    except ValueError as error:
        module.fail_json(msg=u'quillon-settings printed no JSON report: %s' % error,
                         rc=rc, stdout=out, stderr=err, cmd=args)


def diff_of(report):
    """Each setting as NAME=VALUE, one a line, before and after."""
    lines = {u'before': u'', u'after': u''}
    for name, value in report[u'settings'].items():
        for when in lines:
            lines[when] += u'%s=%s\n' % (name, value[when])
    return dict(before=lines[u'before'], after=lines[u'after'],
                before_header=report[u'systemDir'], after_header=report[u'systemDir'])


def main():
    module = AnsibleModule(
        argument_spec=dict(
            system_dir=dict(type='path'),
            settings=dict(type='dict', required=True),
            executable=dict(type='str', default='quillon-settings'),
        ),
        supports_check_mode=True,
    )
    command = [program(module)]
    if module.params['system_dir']:
        command += [u'--system-dir', module.params['system_dir']]

    report, err = run_set(module, command, check=True)
    if report[u'changed'] and not module.check_mode:
        report, err = run_set(module, command, check=False)
    for line in err.splitlines():  # the game running from the folder: told, not refused
        if line.strip():
            module.warn(line)

    result = dict(changed=report[u'changed'], settings=report[u'settings'],
                  files=report[u'files'], system_dir=report[u'systemDir'])
    if module._diff:
        result[u'diff'] = diff_of(report)
    module.exit_json(**result)


if __name__ == '__main__':
    main()
