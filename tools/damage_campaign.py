#!/usr/bin/env python3
"""Random damage campaign: breaks copies of a sample data set at random and sorts each load.

    tools/damage_campaign.py [--build build] [--sets 1000] [--seed 1] [--jobs 4]
                             [--scale demo] [--out out/damage]

Writes one set with dashvane-sample (dated --as-of 2026-06-30), loads it with
dashvane-dump --details, then for each of --sets damaged copies (made from --seed, so a run
can be repeated exactly) applies one damage to one file of the share (picked in proportion to
its size, so every byte is as likely a place) and loads the copy:

  flip   1 to 8 random bits of one byte each     cut    the file ends at a random byte
  zero   a run of 1 to 512 bytes set to 0        ff     a run of 1 to 512 bytes set to 0xFF
  line   a text file's line dropped, doubled, cut in two or one character changed
         (binary files get a flip instead)

Every load is classified against the undamaged one:

  unchanged   the same document
  shown       a difference, and an error shows: a recap label marked red, a "*" line in the
              operation log, an error or message in a detail form, or a failed start-up
  silent      a difference and no error anywhere (split into "figures", where a view or the
              recap board differs, and "details only")
  broken      no JSON, a crash, a sanitizer report, or longer than --limit seconds

The summary goes to stdout and OUT/summary.json; each silent or broken set is listed in
OUT/findings.txt with its damage and the first difference, for reproducing with --only N.
"""
import argparse
import json
import os
import random
import re
import shutil
import subprocess
import sys
import time
from concurrent.futures import ThreadPoolExecutor

TEXT_FILES = {"LINKSFILE", "ttymap", "DARR.KRLI", "tMRCatalog.ini"}
STAMP = re.compile(r"\d{1,2}/\d{1,2}/\d{4} \d{1,2}:\d{2}:\d{2} [AP]M")


def find(build, name):
    for root, _, files in os.walk(build):
        if name in files:
            path = os.path.join(root, name)
            if os.access(path, os.X_OK):
                return path
    sys.exit(f"no {name} under {build}")


def files_of(root):
    out = []
    for base, _, names in os.walk(root):
        for n in names:
            p = os.path.join(base, n)
            if os.path.isfile(p) and not os.path.islink(p) and n != "dvoperation.log":
                out.append(os.path.relpath(p, root))
    return sorted(out)


def damage(rng, path):
    """Damages the file at path in place; returns the damage's description."""
    with open(path, "rb") as f:
        data = bytearray(f.read())
    name = os.path.basename(path)
    kinds = ["flip", "cut", "zero", "ff"] + (["line", "line"] if name in TEXT_FILES else [])
    kind = rng.choice(kinds)
    if not data:
        return "empty file, left as it is"
    at = rng.randrange(len(data))
    if kind == "flip":
        n = rng.randint(1, 8)
        spots = sorted(rng.randrange(len(data)) for _ in range(n))
        for s in spots:
            data[s] ^= 1 << rng.randrange(8)
        what = f"flip {n} bit(s) at {spots[:4]}"
    elif kind == "cut":
        what = f"cut at {at} of {len(data)}"
        del data[at:]
    elif kind in ("zero", "ff"):
        n = rng.randint(1, 512)
        fill = 0 if kind == "zero" else 0xFF
        data[at:at + n] = bytes([fill]) * len(data[at:at + n])
        what = f"{kind} {n} bytes at {at}"
    else:
        lines = bytes(data).split(b"\n")
        i = rng.randrange(len(lines))
        op = rng.choice(["drop", "double", "split", "char"])
        if op == "drop":
            del lines[i]
        elif op == "double":
            lines.insert(i, lines[i])
        elif op == "split" and lines[i]:
            j = rng.randrange(len(lines[i]))
            lines[i:i + 1] = [lines[i][:j], lines[i][j:]]
        elif lines[i]:
            j = rng.randrange(len(lines[i]))
            line = bytearray(lines[i])
            line[j] = rng.choice(b"0123456789,.- AZ\t\r")
            lines[i] = bytes(line)
        data = bytearray(b"\n".join(lines))
        what = f"line {op} at line {i + 1}"
    with open(path, "wb") as f:
        f.write(data)
    return f"{kind}: {what}"


def load(dump, env_lines, root, limit):
    env = dict(os.environ)
    for line in env_lines:
        k, _, v = line.partition("=")
        env[k] = v
    env["XDG_CONFIG_HOME"] = os.path.join(root, "cfg")
    start = time.monotonic()
    try:
        p = subprocess.run([dump, "--details"], env=env, capture_output=True, timeout=limit)
    except subprocess.TimeoutExpired:
        return None, "timeout", limit
    elapsed = time.monotonic() - start
    err = p.stderr.decode("utf-8", "replace")
    if "runtime error" in err or "Sanitizer" in err or p.returncode not in (0, 1):
        return None, f"exit {p.returncode}: {err[-300:]}", elapsed
    try:
        doc = json.loads(STAMP.sub("DATE TIME", p.stdout.decode("utf-8", "replace")))
    except ValueError:
        return None, "no JSON", elapsed
    doc["_rc"] = p.returncode
    return doc, "", elapsed


def signals(doc):
    """What shows an error: red labels, log error lines, detail errors and messages, exit."""
    red = sum(1 for r in doc.get("recap", []) if r.get("error"))
    logged = sum(1 for line in doc.get("log", []) if line.startswith("*"))
    detail = 0
    for form in doc.get("details", {}).values():
        for d in form.values():
            stack = [d]
            while stack:
                x = stack.pop()
                if isinstance(x, dict):
                    detail += len(x.get("errors", [])) + len(x.get("messages", []))
                    stack.extend(v for k, v in x.items() if k == "details")
                    if isinstance(x.get("details"), dict):
                        stack.extend(x["details"].values())
    return red, logged, detail, doc.get("_rc", 0)


def first_difference(a, b, path=""):
    if type(a) is not type(b):
        return path or "/"
    if isinstance(a, dict):
        for k in sorted(set(a) | set(b)):
            if a.get(k) != b.get(k):
                return first_difference(a.get(k), b.get(k), f"{path}/{k}")
        return None
    if isinstance(a, list):
        for i in range(max(len(a), len(b))):
            x = a[i] if i < len(a) else None
            y = b[i] if i < len(b) else None
            if x != y:
                return first_difference(x, y, f"{path}[{i}]")
        return None
    return None if a == b else f"{path}: {str(a)[:80]!r} -> {str(b)[:80]!r}"


def classify(base, doc):
    if doc == base:
        return "unchanged", None
    diff = first_difference(base, doc)
    before, after = signals(base), signals(doc)
    if any(y > x for x, y in zip(before, after)):
        return "shown", diff
    for key in ("recap", "views", "status", "store_name"):
        if base.get(key) != doc.get(key):
            return "silent-figures", diff
    return "silent-details", diff


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("--build", default="build")
    ap.add_argument("--sets", type=int, default=1000)
    ap.add_argument("--seed", type=int, default=1)
    ap.add_argument("--jobs", type=int, default=4)
    ap.add_argument("--scale", default="demo")
    ap.add_argument("--out", default="out/damage")
    ap.add_argument("--limit", type=float, default=20.0, help="seconds a load may take")
    ap.add_argument("--only", type=int, help="make and load only set N, and keep it")
    args = ap.parse_args()
    sample, dump = find(args.build, "dashvane-sample"), find(args.build, "dashvane-dump")
    out = os.path.abspath(args.out)
    pristine = os.path.join(out, "pristine")
    shutil.rmtree(pristine, ignore_errors=True)
    os.makedirs(pristine)
    env_lines = subprocess.run(
        [sample, "--scale", args.scale, "--as-of", "2026-06-30", pristine],
        capture_output=True, check=True, text=True).stdout.split()
    env_lines = [line.replace(pristine, "{ROOT}") for line in env_lines]
    base, why, _ = load(dump, [e.replace("{ROOT}", pristine) for e in env_lines], pristine,
                        args.limit)
    if base is None:
        sys.exit(f"the undamaged set does not load: {why}")
    files = files_of(pristine)
    weights = [max(1, os.path.getsize(os.path.join(pristine, f))) for f in files]

    def one(n):
        rng = random.Random(args.seed * 1_000_003 + n)
        root = os.path.join(out, f"set{n}")
        shutil.rmtree(root, ignore_errors=True)
        shutil.copytree(pristine, root, symlinks=True)
        # A file picked in proportion to its size: every byte of the share is as likely a
        # place for damage (the documents are many, but small).
        target = rng.choices(files, weights=weights)[0]
        what = damage(rng, os.path.join(root, target))
        doc, why, elapsed = load(dump, [e.replace("{ROOT}", root) for e in env_lines], root,
                                 args.limit)
        if doc is None:
            verdict, diff = "broken", why
        else:
            verdict, diff = classify(base, doc)
        if args.only is None:
            shutil.rmtree(root, ignore_errors=True)
        return {"set": n, "file": target, "damage": what, "verdict": verdict,
                "difference": diff, "seconds": round(elapsed, 2)}

    numbers = [args.only] if args.only is not None else range(args.sets)
    with ThreadPoolExecutor(max_workers=args.jobs) as pool:
        results = list(pool.map(one, numbers))
    counts = {}
    for r in results:
        counts[r["verdict"]] = counts.get(r["verdict"], 0) + 1
    slowest = max(results, key=lambda r: r["seconds"])
    summary = {"sets": len(results), "seed": args.seed, "scale": args.scale, "counts": counts,
               "slowest_seconds": slowest["seconds"], "slowest_set": slowest["set"]}
    with open(os.path.join(out, "summary.json"), "w") as f:
        json.dump({"summary": summary, "results": results}, f, indent=1)
    with open(os.path.join(out, "findings.txt"), "w") as f:
        for r in results:
            if r["verdict"].startswith("silent") or r["verdict"] == "broken":
                f.write(f"{r['verdict']:15} set {r['set']:5} {r['file']}: {r['damage']}\n"
                        f"                {r['difference']}\n")
    print(json.dumps(summary, indent=1))
    if args.only is None:
        shutil.rmtree(pristine, ignore_errors=True)


if __name__ == "__main__":
    main()
