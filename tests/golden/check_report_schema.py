#!/usr/bin/env python3
"""Holds JSON reports against docs/report.schema.json (JSON Schema draft 2020-12).

  check_report_schema.py --schema SCHEMA REPORT.json...
      validates the files as they are.
  check_report_schema.py --schema SCHEMA --cli JWCOUNT_CLI --drawing DRAWING
  check_report_schema.py --schema SCHEMA --cli JWCOUNT_CLI --generator JWCOUNT_GENERATE --generate real|tidy
      validates what `jwcount-cli count DRAWING --format json` writes, with and without --state, on the
      drawing or on a generated drawing of 20,000 elements (the golden tests' inputs), and that the
      reader state is there exactly when --state asks for it; with --rules RULES also the report with the
      quantity sheet of those take-off rules, which must hold a "takeoff" member.

Every breach is printed as "WHAT: JSON-PATH: reason", WHAT being the file or the command; the exit code
is 1 then, 77 (a skip for ctest) when python3-jsonschema is not installed, 0 when every report holds.
"""

import argparse
import json
import os
import subprocess
import sys
import tempfile

try:
    from jsonschema import Draft202012Validator
except ImportError:
    print("python3-jsonschema is not installed: the JSON reports are not checked against the schema")
    sys.exit(77)

MAX_SHOWN = 20  # breaches shown per report
MAX_REASON = 300  # characters of a reason: a reason that quotes a whole table is cut


def breaches(validator, what, report):
    """The lines naming every place where the report breaks the schema, at most MAX_SHOWN of them."""
    errors = sorted(validator.iter_errors(report), key=lambda e: list(map(str, e.absolute_path)))
    lines = []
    for error in errors[:MAX_SHOWN]:
        reason = error.message
        if len(reason) > MAX_REASON:
            reason = reason[:MAX_REASON] + "..."
        lines.append(f"{what}: {error.json_path}: {reason}")
    if len(errors) > MAX_SHOWN:
        lines.append(f"{what}: and {len(errors) - MAX_SHOWN} more")
    return lines


def load(what, text):
    try:
        return json.loads(text), []
    except ValueError as e:
        return None, [f"{what}: $: not JSON: {e}"]


def check_files(validator, paths):
    problems = []
    for path in paths:
        with open(path, "rb") as f:
            report, errors = load(path, f.read().decode("utf-8"))
        problems += errors or breaches(validator, path, report)
    return problems


def check_cli(validator, cli, drawing, rules=None):
    problems = []
    for extra in ([], ["--state"]) + ((["--rules", rules],) if rules else ()):
        command = [cli, "count", drawing, "--format", "json"] + extra
        what = " ".join(command)
        run = subprocess.run(command, stdout=subprocess.PIPE, check=False)
        if run.returncode != 0:
            problems.append(f"{what}: exit code {run.returncode}")
            continue
        report, errors = load(what, run.stdout.decode("utf-8"))
        if errors:
            problems += errors
            continue
        problems += breaches(validator, what, report)
        if ("state" in report) != ("--state" in extra):
            problems.append(f"{what}: $.state: " + ("missing" if extra else "present without --state"))
        if ("takeoff" in report) != ("--rules" in extra):
            problems.append(f"{what}: $.takeoff: " + ("missing" if extra else "present without --rules"))
    # The baseline file the window keeps: the report and its member "baseline".
    with tempfile.TemporaryDirectory() as folder:
        kept = os.path.join(folder, "baseline.json")
        command = [cli, "count", drawing, "--baseline-out", kept]
        what = " ".join(command)
        run = subprocess.run(command, stdout=subprocess.DEVNULL, check=False)
        if run.returncode != 0:
            problems.append(f"{what}: exit code {run.returncode}")
            return problems
        with open(kept, encoding="utf-8") as f:
            report, errors = load(what, f.read())
        problems += errors or breaches(validator, what, report)
        if not errors and "baseline" not in report:
            problems.append(f"{what}: $.baseline: missing")
    return problems


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--schema", required=True)
    parser.add_argument("--cli")
    parser.add_argument("--drawing")
    parser.add_argument("--rules")
    parser.add_argument("--generator")
    parser.add_argument("--generate", choices=["real", "tidy"])
    parser.add_argument("reports", nargs="*")
    args = parser.parse_args()

    with open(args.schema, encoding="utf-8") as f:
        schema = json.load(f)
    Draft202012Validator.check_schema(schema)
    validator = Draft202012Validator(schema)

    problems = check_files(validator, args.reports)
    checked = len(args.reports)
    if args.cli and args.drawing:
        problems += check_cli(validator, args.cli, args.drawing, args.rules)
        checked += 3 if args.rules else 2
    if args.cli and args.generator and args.generate:
        with tempfile.TemporaryDirectory() as folder:
            drawing = os.path.join(folder, f"{args.generate}20k.txt")
            subprocess.run([args.generator, "--" + args.generate, "20000", drawing], check=True)
            problems += check_cli(validator, args.cli, drawing)
        checked += 2
    if checked == 0:
        parser.error("no report to check")
    for line in problems:
        print(line)
    print(f"{checked} reports checked against {args.schema}: " + ("breaches above" if problems else "all hold"))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
