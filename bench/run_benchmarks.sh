#!/usr/bin/env bash
# Builds the benchmarks in release mode and runs them; prints each figure with
# its ratio to the baseline measured in the same run.
set -euo pipefail
source "$(dirname "$0")/../scripts/lib.sh"
cd "$selenial_source"
ensure_packages "${bench_packages[@]}"
build bench --target logic_bench ui_bench >/dev/null
make_work
out="$work"
# Benchmarks run in a folder of their own: the clock window reads Selenial.ini there.
(cd "$out" && "$selenial_source/build-bench/bench/logic_bench" --benchmark_out=logic.json --benchmark_out_format=json \
  --benchmark_repetitions="${REPS:-3}" --benchmark_report_aggregates_only=true >/dev/null)
(cd "$out" && QT_QPA_PLATFORM=offscreen "$selenial_source/build-bench/bench/ui_bench" --benchmark_out=ui.json \
  --benchmark_out_format=json --benchmark_repetitions="${REPS:-3}" --benchmark_report_aggregates_only=true >/dev/null)
python3 - "$out/logic.json" "$out/ui.json" <<'PY'
import json, sys
rows = {}
for path in sys.argv[1:]:
    for b in json.load(open(path))["benchmarks"]:
        if b.get("aggregate_name") == "median":
            scale = {"ns": 1, "us": 1e3, "ms": 1e6}[b["time_unit"]]
            rows[b["run_name"]] = (b["real_time"] * scale, b.get("label", ""))
def baseline(name):
    if name in ("BM_DisplayOnTheSystemClock", "BM_RefreshZone"):
        return rows.get("BM_BaselineFourLabels")
    for old, new in (("BM_DeciConvert", "BM_BaselineFromCharsToCharsHex"), ("BM_Display", "BM_BaselineFourLabels"),
                     ("BM_Keystroke", "BM_BaselineKeystroke")):
        if name.startswith(old):
            return rows.get(name.replace(old, new))
print(f"{'benchmark':44} {'median':>12}  {'baseline':>12}  ratio")
for name, (ns, label) in rows.items():
    if "Baseline" in name:
        continue
    base = baseline(name)
    shown = f"{name} {label}".strip()
    if base:
        print(f"{shown:44} {ns:10.0f} ns  {base[0]:10.0f} ns  {ns / base[0]:5.2f}")
    else:
        print(f"{shown:44} {ns:10.0f} ns")
PY
