#!/usr/bin/env python3
"""The administrative templates as the Group Policy editor and Intune's import read them, and the registry
writes that Group Policy makes from them, compared with what quenyxctl writes for the same choice.

usage: check_admx.py POLICIES_DIR QUENYXCTL QUENYX_MACHINE DEMO_REG
       check_admx.py --enabled-writes POLICIES_DIR
       check_admx.py --read-back POLICIES_DIR SETTINGS_JSON

For every policy and each of its states (enabled with values, disabled), the writes Group Policy makes are
worked out from the ADMX alone and applied to the demo machine's agent key; quenyxctl makes the same choice
on a copy of that machine; the two keys must be the same.

On Windows (under Wine) the writes of every policy enabled are listed as NAME<tab>TEXT lines for `reg add`,
and what `quenyxctl --json settings` then lists is checked against them: each setting with the text written
and, for the catalog's settings, the type its policy is meant for (a switch is a Boolean).
"""
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET

NS = "{http://schemas.microsoft.com/GroupPolicy/2006/07/PolicyDefinitions}"
AGENT_KEY = r"SOFTWARE\Tessaline\Quenyx\Agent"
CULTURES = ("en-US", "pt-BR", "es-ES")
SETTINGS = {"DCSServer", "DisableAccounts", "DisableAccountInformation", "WorkFolder", "TimeUpdatePerfis",
            "PopUpExpiration"}

# For each policy, the choices tried: the element values of its enabled state (by element id), and the quenyxctl commands
# that make the same choice in each state.
CHOICES = {
    "DCSServer": [({"DCSServer": "dcs02.contoso.local"}, [["set", "DCSServer", "dcs02.contoso.local"]])],
    "WorkFolder": [({"WorkFolder": r"D:\Quenyx\Work"}, [["set", "WorkFolder", r"D:\Quenyx\Work"]])],
    "TimeUpdatePerfis": [({"TimeUpdatePerfis": "45"}, [["set", "TimeUpdatePerfis", "45"]])],
    "PopUpExpiration": [({"PopUpExpiration": "5,10"}, [["set", "PopUpExpiration", "5,10"]])],
    "DisableAccounts": [({}, [["set", "DisableAccounts", "on"]])],
    "DisableAccountInformation": [({}, [["set", "DisableAccountInformation", "on"]])],
    "SecurePrintEnabled": [
        ({"ReleaserServer": "rel02.contoso.local", "SecurePrintChoiceEnabled": True},
         [["secure-print", "on", "--releaser", "rel02.contoso.local", "--user-choice", "on"]]),
        ({"ReleaserServer": "rel02.contoso.local", "SecurePrintChoiceEnabled": False},
         [["secure-print", "on", "--releaser", "rel02.contoso.local", "--user-choice", "off"]]),
    ],
    "TraceLevel": [({"TracePath": r"C:\ProgramData\Quenyx Logs"},
                    [["set", "TraceLevel", "1"], ["set", "TracePath", r"C:\ProgramData\Quenyx Logs"]])],
}
DISABLED = {
    "DCSServer": [["unset", "DCSServer"]],
    "WorkFolder": [["unset", "WorkFolder"]],
    "TimeUpdatePerfis": [["unset", "TimeUpdatePerfis"]],
    "PopUpExpiration": [["unset", "PopUpExpiration"]],
    "DisableAccounts": [["set", "DisableAccounts", "off"]],
    "DisableAccountInformation": [["set", "DisableAccountInformation", "off"]],
    "SecurePrintEnabled": [["secure-print", "off"]],
    "TraceLevel": [["set", "TraceLevel", "0"], ["unset", "TracePath"]],
}
# Where a disabled policy goes further than the console: Group Policy deletes every element's value, and the
# console's "off" keeps the releaser's address for the next time secure printing is turned on. The agent reads
# no address while secure printing is off.
DISABLED_ALSO_DELETES = {"SecurePrintEnabled": {"ReleaserServer"}}

problems = []


def problem(text):
    problems.append(text)
    print(f"FAILED: {text}")


def value_of(node):
    """The registry write of an enabledValue, trueValue (and the like): a string, None for a delete."""
    children = list(node)
    if len(children) != 1 or children[0].tag not in (NS + "string", NS + "delete"):
        problem(f"{node.tag[len(NS):]} holds {[c.tag[len(NS):] for c in children]}: the agent reads only strings")
        return None
    return children[0].text or "" if children[0].tag == NS + "string" else None


def gp_writes(policy, enabled, values):
    """What Group Policy writes under the policy's key: {value name: text, or None to delete}."""
    writes = {}
    switch = policy.get("valueName")
    if switch:
        node = policy.find(NS + ("enabledValue" if enabled else "disabledValue"))
        writes[switch] = value_of(node) if node is not None else ("1" if enabled else None)
    for element in policy.findall(f"{NS}elements/*"):
        name = element.get("valueName")
        if not enabled:
            writes[name] = None
        elif element.tag == NS + "text":
            writes[name] = values[element.get("id")]
        elif element.tag == NS + "boolean":
            writes[name] = value_of(element.find(NS + ("trueValue" if values[element.get("id")] else "falseValue")))
        else:
            problem(f"{policy.get('name')}: a {element.tag[len(NS):]} element would not write a string value")
    for item in policy.findall(f"{NS}{'enabledList' if enabled else 'disabledList'}/{NS}item"):
        writes[item.get("valueName")] = value_of(item.find(NS + "value"))
    return writes


def agent_values(tool, machine):
    exported = subprocess.run([tool, "--machine", machine, "export", "HKEY_LOCAL_MACHINE\\" + AGENT_KEY],
                              check=True, capture_output=True).stdout.decode("utf-16")
    values = {}
    for name, text in re.findall(r'^"((?:[^"\\]|\\.)*)"="((?:[^"\\]|\\.)*)"\r?$', exported, re.M):
        values[name.replace('\\"', '"').replace("\\\\", "\\")] = text.replace('\\"', '"').replace("\\\\", "\\")
    return values


def check_templates(policies_dir):
    admx = ET.parse(os.path.join(policies_dir, "QuenyxAgent.admx")).getroot()
    text = open(os.path.join(policies_dir, "QuenyxAgent.admx"), encoding="utf-8").read()
    targets = admx.findall(f"{NS}policyNamespaces/{NS}target")
    if len(targets) != 1 or admx.findall(f"{NS}policyNamespaces/{NS}using"):
        problem("the ADMX must declare one namespace and prefix of its own")
    for node in [admx] + [ET.parse(os.path.join(policies_dir, c, "QuenyxAgent.adml")).getroot() for c in CULTURES]:
        if not node.get("revision") or not node.get("schemaVersion"):
            problem(f"{node.tag[len(NS):]} has no revision or schemaVersion")
    supported = {d.get("name") for d in admx.iter(NS + "definition")}
    names = [p.get("name") for p in admx.iter(NS + "policy")]
    ids = names + [c.get("name") for c in admx.iter(NS + "category")] + [e.get("id") for e in admx.iter()
                                                                        if e.get("id")]
    if len(set(names)) != len(names):
        problem("policy names repeat")
    categories = {c.get("name") for c in admx.iter(NS + "category")}
    for policy in admx.iter(NS + "policy"):
        name = policy.get("name")
        if policy.get("class") != "Machine" or policy.get("key") != AGENT_KEY:
            problem(f"{name}: not a machine policy of {AGENT_KEY}")
        if policy.find(f"{NS}supportedOn").get("ref") not in supported:
            problem(f"{name}: its supportedOn is not defined")
        if policy.find(f"{NS}parentCategory").get("ref") not in categories:
            problem(f"{name}: its category is not defined")
        if policy.findall(f".//{NS}decimal"):
            problem(f"{name}: a decimal writes a DWORD, which the agent does not read")
    missing = SETTINGS - set(names)
    if missing:
        problem(f"no policy for {sorted(missing)}")
    strings = set(re.findall(r"\$\(string\.([^)]+)\)", text))
    presentations = set(re.findall(r"\$\(presentation\.([^)]+)\)", text))
    for culture in CULTURES:
        adml = ET.parse(os.path.join(policies_dir, culture, "QuenyxAgent.adml")).getroot()
        defined = {s.get("id"): s.text for s in adml.iter(NS + "string")}
        shown = {p.get("id"): p for p in adml.iter(NS + "presentation")}
        for key in sorted(strings - set(defined)):
            problem(f"{culture}: no string {key}")
        for key in sorted(k for k in strings & set(defined) if not (defined[k] or "").strip()):
            problem(f"{culture}: the string {key} is empty")
        for key in sorted(presentations - set(shown)):
            problem(f"{culture}: no presentation {key}")
        for policy in admx.iter(NS + "policy"):
            element_ids = {e.get("id") for e in policy.findall(f"{NS}elements/*")}
            presentation = shown.get(policy.get("name"))
            refs = {c.get("refId") for c in presentation} if presentation is not None else set()
            if refs != element_ids:
                problem(f"{culture}: {policy.get('name')} shows {sorted(refs)} for its elements {sorted(element_ids)}")
    print(f"templates: {len(names)} policies, {len(ids)} ids, strings and presentations defined in "
          f"{', '.join(CULTURES)}")
    return admx


def main():
    policies_dir, ctl, tool, demo_reg = sys.argv[1:5]
    admx = check_templates(policies_dir)
    work = tempfile.mkdtemp(prefix="quenyx-admx-")
    try:
        base = os.path.join(work, "base")
        subprocess.run([tool, "--machine", base, "init", "--from", demo_reg], check=True, stdout=subprocess.DEVNULL)
        before = agent_values(tool, base)
        for policy in admx.iter(NS + "policy"):
            name = policy.get("name")
            if name not in CHOICES:
                problem(f"{name}: no quenyxctl counterpart is known to this test")
                continue
            states = [(True, values, commands) for values, commands in CHOICES[name]] + [(False, {}, DISABLED[name])]
            for enabled, values, commands in states:
                expected = dict(before)
                for value, text in gp_writes(policy, enabled, values).items():
                    if text is None:
                        expected.pop(value, None)
                    else:
                        expected[value] = text
                machine = os.path.join(work, "machine")
                shutil.rmtree(machine, ignore_errors=True)
                shutil.copytree(base, machine)
                for command in commands:
                    run = subprocess.run([ctl, "--json"] + command, env=dict(os.environ, QUENYX_MACHINE=machine),
                                         capture_output=True, text=True)
                    if run.returncode != 0:
                        problem(f"quenyxctl {' '.join(command)}: exit {run.returncode}: {run.stderr.strip()}")
                actual = agent_values(tool, machine)
                if not enabled:
                    for value in DISABLED_ALSO_DELETES.get(name, ()):
                        actual.pop(value, None)
                state = f"{name} {'enabled ' + str(values) if enabled else 'disabled'}"
                differs = sorted(k for k in set(expected) | set(actual) if expected.get(k) != actual.get(k))
                if differs:
                    problem(f"{state}: Group Policy and quenyxctl differ on " +
                            ", ".join(f"{k} ({expected.get(k)!r} / {actual.get(k)!r})" for k in differs))
                else:
                    print(f"ok: {state}: " + ", ".join(f"{k}={v!r}" for k, v in
                                                       gp_writes(policy, enabled, values).items()))
    finally:
        shutil.rmtree(work, ignore_errors=True)
    return 1 if problems else 0


def enabled_writes(policies_dir):
    admx = ET.parse(os.path.join(policies_dir, "QuenyxAgent.admx")).getroot()
    writes = {}
    for policy in admx.iter(NS + "policy"):
        values = CHOICES[policy.get("name")][0][0]
        writes.update(gp_writes(policy, True, values))
    return admx, writes


def read_back(policies_dir, settings_json):
    admx, writes = enabled_writes(policies_dir)
    switches = {p.get("valueName") for p in admx.iter(NS + "policy") if p.get("valueName")}
    listed = {s["name"]: s for s in json.load(open(settings_json, encoding="utf-8"))["settings"]}
    for name, text in writes.items():
        got = listed.get(name)
        if got is None:
            # The secure-printing values are reserved names, which the settings view leaves out.
            if name in SETTINGS:
                problem(f"{name}: written as {text!r}, not listed")
            continue
        typed = name not in SETTINGS or (name in switches) == (got["type"] == "Boolean")
        if got["text"] != text or not typed:
            problem(f"{name}: written {text!r}, listed {got['text']!r} as {got['type']}")
        else:
            print(f"ok: {name} = {text!r} ({got['type'] or 'outside the catalog'})")
    return 1 if problems else 0


if __name__ == "__main__":
    if sys.argv[1:2] == ["--enabled-writes"]:
        for value, text in enabled_writes(sys.argv[2])[1].items():
            print(f"{value}\t{text}")
        sys.exit(0)
    if sys.argv[1:2] == ["--read-back"]:
        sys.exit(read_back(sys.argv[2], sys.argv[3]))
    sys.exit(main())
