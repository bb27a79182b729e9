#!/usr/bin/env python3
"""Deliberate faults, one at a time, to show which the test suite catches.

Each fault replaces one exact piece of source text (found exactly once) in
src/, builds, and runs the suite; the file is put back whatever happens.
A fault is "caught" when the build of the tests or any test fails. The
normal tests run first; the screen tests run under xvfb-run only when the
normal ones passed, so an uncaught fault costs the whole suite.

    tools/fault_check/fault_check.py                  # every fault
    tools/fault_check/fault_check.py --only H1 A2     # some
    tools/fault_check/fault_check.py --list           # what they are
    tools/fault_check/fault_check.py --out faults.tsv # the table, also as TSV
    tools/fault_check/fault_check.py --every          # name every test that catches each

Nothing is committed; run it on a clean tree.
"""
import argparse
import os
import signal
import subprocess
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))

# (id, file under src/, what is wrong, exact original text, faulty text)
FAULTS = [
    # platform
    ("P1", "platform/control_char_name.cpp", "DEL's name given to '~'",
     'if (value == 127) return "<DEL>";', 'if (value == 126) return "<DEL>";'),
    ("P2", "platform/ini_file.cpp", "settings file loses its CR LF line ends",
     'line.eol = "\\r\\n";', 'line.eol = "\\n";'),
    ("P3", "platform/csv_reader.cpp", "CR before LF kept in CSV fields",
     "if (options_.dropCrBeforeLf && !line.empty() && line.back() == '\\r') line.remove_suffix(1);", ""),
    ("P4", "platform/date_time.cpp", "minutes wrap at 59",
     "minute = static_cast<int>((s / 60) % 60);", "minute = static_cast<int>((s / 60) % 59);"),
    # HFDL
    ("H1", "hfdl/crc.cpp", "CRC's final complement wrong",
     "r ^= 0xFFFF;", "r ^= 0xFFFE;"),
    ("H2", "hfdl/lpdu.cpp", "LPDU data ends one octet late",
     "long LastDataOctet(long p, int s) { return p + s - 2; }", "long LastDataOctet(long p, int s) { return p + s - 1; }"),
    ("H3", "hfdl/squitter.cpp", "squitter frequency slots off by one",
     "hfdl.GsActiveFreqs[gsId][column++] = k + 1;", "hfdl.GsActiveFreqs[gsId][column++] = k;"),
    ("H4", "hfdl/viterbi.cpp", "Viterbi keeps the worst path",
     "if (d.current->metric[s] > d.current->metric[best]) best = s;",
     "if (d.current->metric[s] < d.current->metric[best]) best = s;"),
    ("H5", "hfdl/ground_stations.cpp", "ground-station latitude sign lost",
     "int Signed20(uint32_t v) { return v > 0x7FFFF ? static_cast<int>(v) - 0x100000 : static_cast<int>(v); }",
     "int Signed20(uint32_t v) { return static_cast<int>(v); }"),
    ("H6", "hfdl/reception_stats.cpp", "failed frames not counted as errors",
     "if (failed) row.Error += 1;", ""),
    # ACARS
    ("A1", "acars/acars_framer.cpp", "CRC feedback tap moved",
     "(i == 5 || i == 12)", "(i == 5 || i == 11)"),
    ("A2", "acars/acars_stores.cpp", "multi-block assembly expects the same block id",
     "if (letter != s.BlockId + 1) return 0;", "if (letter != s.BlockId) return 0;"),
    ("A3", "acars/message_search.cpp", "a hit no longer pops the window up",
     "if (settings.MsgSrchPopup) link.ShowMessageSearch();", ""),
    ("A4", "acars/acars_position_dispatch.cpp", "west longitudes stored as east",
     "if (!g.East) lon = -lon;\n  if (lat == 0.0L", "if (lat == 0.0L"),
    ("A5", "acars/acars_text_output.cpp", "short registrations not padded",
     "if (address.size() < 7) s.append(7 - address.size(), ' ');", ""),
    # aircraft
    ("C1", "aircraft/aircraft_table.cpp", "heading across the date line not wrapped",
     "if (dLon > 180.0) dLon = p.Lon - 360.0 - q.Lon;", ""),
    ("C2", "aircraft/reference_data.cpp", "destination read one place early",
     "return route.size() > 4 ? route.substr(4, 4) : std::string();",
     "return route.size() > 4 ? route.substr(3, 4) : std::string();"),
    ("C3", "aircraft/watch_list.cpp", "'*' in a watch pattern no longer matches any character",
     "if (p != '*' && p != c) return false;", "if (p != c) return false;"),
    ("C4", "aircraft/smtp_dialogue.cpp", "multi-line SMTP replies taken as final",
     "if (end - pos >= 4 && input[pos + 3] == '-') {", "if (end - pos >= 4 && input[pos + 3] == '+') {"),
    ("C5", "aircraft/hit_mail.cpp", "mail body lines starting with '.' not doubled",
     "if (!line.empty() && line[0] == '.') out += '.';", ""),
    ("C6", "aircraft/aircraft_list.cpp", "POS mark 'O' shown as 'X'",
     'std::string YesMark(bool english) { return english ? "O" : "\\x81\\x9b"; }',
     'std::string YesMark(bool english) { return english ? "X" : "\\x81\\x9b"; }'),
    # map
    ("M1", "map/map_projection.cpp", "flat view no longer wraps negative longitudes",
     "if (d < 0.0) d += 360.0;", ""),
    ("M2", "map/map_navigation.cpp", "view tilt not bounded at 90 degrees",
     "if (settings.ViewDeg > 90.0) settings.ViewDeg = 90.0;", ""),
    ("M3", "map/side_list.cpp", "side list holds a row too many",
     "return static_cast<int>((height - 32.0) / kListRowHeight);", "return static_cast<int>((height - 16.0) / kListRowHeight);"),
    ("M4", "map/map_files.cpp", "map index one past the end kept",
     "if (settings.MapNo < 0 || settings.MapNo >= items) settings.MapNo = 0;",
     "if (settings.MapNo < 0 || settings.MapNo > items) settings.MapNo = 0;"),
    ("M5", "map/aircraft_drawing.cpp", "seven-character flight number option ignored",
     "if (controls.N21Checked) return r.FlightNo7;", "if (controls.N21Checked) return r.FlightNo6;"),
    # exchange
    ("E1", "exchange/peer_link_scanner.cpp", "DDE blocks from a peer taken as link blocks",
     'if (tag == "DDE") return AcarsBearer::Dde;', 'if (tag == "DDE") return AcarsBearer::Link;'),
    ("E2", "exchange/log_import.cpp", "import no longer ends a record at ETB",
     'return last == "<ETX>" || last == "<ETB>";', 'return last == "<ETX>";'),
    ("E3", "exchange/daily_log_set.cpp", "clean-up deletes the cut-off day too",
     "if (date.isValid() && date < cutoff)", "if (date.isValid() && date <= cutoff)"),
    ("E4", "exchange/chat.cpp", "the default name joins the participant list",
     'if (name == "DefaultName") return false;', ""),
    ("E5", "exchange/received_text.cpp", "text buffer trimmed one byte short",
     "if (buffer.size() >= limit) buffer.erase(0, buffer.size() - limit + 1);",
     "if (buffer.size() >= limit) buffer.erase(0, buffer.size() - limit);"),
    ("E6", "exchange/acars_item_framing.cpp", "the last ACARS item value without NUL is lost",
     "if (!dropping_ && !value_.empty()) take(value_);", ""),
    # audio
    ("U1", "audio/block_pipeline.cpp", "right channel decoded from the left",
     "if (settings.Wave.WaveDual == 2) Decode(link, settings.Wave.DecoderR, 1);",
     "if (settings.Wave.WaveDual == 2) Decode(link, settings.Wave.DecoderR, 0);"),
    ("U2", "audio/block_pipeline.cpp", "clock before midnight UTC goes negative",
     "if (seconds < 0) seconds += 86400;", ""),
    ("U3", "audio/noise_filters.cpp", "band-pass filter drops its last tap",
     "for (int k = 0; k < 51; ++k) y += kBandPassTaps[k] * s.z[k];",
     "for (int k = 0; k < 50; ++k) y += kBandPassTaps[k] * s.z[k];"),
    ("U4", "audio/anti_alias_filter.cpp", "anti-alias taps of the wrong rate",
     "return sampleRate == 44100 ? taps44100 : taps22050;", "return sampleRate == 44100 ? taps22050 : taps44100;"),
    # SELCAL
    ("S1", "selcal/selcal_code_file.cpp", "CR kept at the end of a SELCAL registration",
     "if (!registration.empty() && registration.back() == '\\r') registration.pop_back();", ""),
    ("S2", "selcal/selcal_decoder.cpp", "tone pair not put in order",
     "if (s.Upper < s.Lower) std::swap(s.Lower, s.Upper);", ""),
    ("S3", "selcal/selcal_decoder.cpp", "shortest run one block longer",
     "constexpr int kShortestRun = 8;", "constexpr int kShortestRun = 9;"),
    # radio
    ("R1", "radio/receiver_commands.cpp", "YAESU frequency command code wrong",
     "PairByte(d[6], d[7]), 0x01};", "PairByte(d[6], d[7]), 0x00};"),
    ("R2", "radio/receiver_commands.cpp", "one-digit CI-V address not padded",
     'if (digits.size() == 1) digits.insert(0, "0");', ""),
    ("R3", "radio/frequency_list.cpp", "lowest-frequency choice picks the highest",
     "} else if (mode == kMostLow) {\n      if (f < target) target = f;",
     "} else if (mode == kMostLow) {\n      if (f > target) target = f;"),
    ("R4", "radio/frequency_list.cpp", "unused ground stations listed",
     'if (hfdl.GsNames[static_cast<size_t>(id)] != "Unused") ids.push_back(id);', "ids.push_back(id);"),
    # application
    ("X1", "app/settings.cpp", "link port above the range not clamped",
     'if (*v > 65535) return "65535";', ""),
    ("X2", "app/main_commands.cpp", "panning west no longer wraps at -180",
     "if (f.Map.MapCentE < -180.0) f.Map.MapCentE += 360.0;", ""),
    ("X3", "app/status_indicators.cpp", "server that decodes shown as not decoding",
     "if (f.Net.Server && !f.Net.ServerDec) {", "if (f.Net.Server && f.Net.ServerDec) {"),
]


def run(cmd, **kw):
    return subprocess.run(cmd, cwd=ROOT, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True, **kw)


def failures(output):
    """The names of the failed tests in ctest's summary."""
    names = []
    listing = False
    for line in output.splitlines():
        if line.strip().startswith("The following tests FAILED"):
            listing = True
        elif listing and " - " in line:
            names.append(line.split(" - ", 1)[1].rsplit(" (", 1)[0].strip())
    return ", ".join(names) or "tests failed"


def check(build, fault, jobs, every):
    fid, path, _, old, new = fault
    full = os.path.join(ROOT, "src", path)
    with open(full, encoding="utf-8") as f:
        original = f.read()
    if original.count(old) != 1:
        return "not applied (text found %d times)" % original.count(old)
    try:
        with open(full, "w", encoding="utf-8") as f:
            f.write(original.replace(old, new))
        b = run(["cmake", "--build", build, "-j", str(jobs)])
        if b.returncode != 0:
            return "caught: build"
        stop = [] if every else ["--stop-on-failure"]
        t = run(["ctest", "--test-dir", build, "-j", str(jobs), "-LE", "screens", "--timeout", "600"] + stop)
        if t.returncode != 0:
            return "caught: " + failures(t.stdout)
        s = run(["xvfb-run", "-a", "ctest", "--test-dir", build, "-L", "screens", "--timeout", "600"] + stop)
        if s.returncode != 0:
            return "caught: " + failures(s.stdout)
        return "missed"
    finally:
        with open(full, "w", encoding="utf-8") as f:
            f.write(original)


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("--build", default="build-faults", help="build folder (default build-faults)")
    ap.add_argument("--only", nargs="*", help="fault ids to run")
    ap.add_argument("--list", action="store_true", help="list the faults and stop")
    ap.add_argument("--out", help="also write the table as TSV to this file")
    ap.add_argument("--jobs", type=int, default=os.cpu_count() or 2)
    ap.add_argument("--every", action="store_true",
                    help="run the whole suite for each fault and name every test that catches it")
    args = ap.parse_args()
    # A stopped run still puts the source back.
    signal.signal(signal.SIGTERM, lambda *_: (_ for _ in ()).throw(KeyboardInterrupt()))

    faults = [f for f in FAULTS if not args.only or f[0] in args.only]
    if args.list:
        for fid, path, what, _, _ in faults:
            print("%-3s %-36s %s" % (fid, path, what))
        return 0
    if run(["git", "status", "--porcelain", "src"]).stdout.strip():
        print("src/ has uncommitted changes; run this on a clean tree.", file=sys.stderr)
        return 2
    build = os.path.join(ROOT, args.build)
    cfg = run(["cmake", "-S", ".", "-B", build, "-DCMAKE_BUILD_TYPE=Release"])
    if cfg.returncode != 0 or run(["cmake", "--build", build, "-j", str(args.jobs)]).returncode != 0:
        print("The unchanged tree does not build.", file=sys.stderr)
        return 2
    rows = []
    for fault in faults:
        start = time.time()
        result = check(build, fault, args.jobs, args.every)
        rows.append((fault[0], fault[1], fault[2], result))
        print("%-3s %-36s %-55s %s (%.0f s)" % (fault[0], fault[1], fault[2], result, time.time() - start), flush=True)
    # Leave the build matching the tree again.
    run(["cmake", "--build", build, "-j", str(args.jobs)])
    if args.out:
        with open(args.out, "w", encoding="utf-8") as f:
            for r in rows:
                f.write("\t".join(r) + "\n")
    caught = sum(1 for r in rows if r[3].startswith("caught"))
    print("%d of %d faults caught" % (caught, len(rows)))
    return 0


if __name__ == "__main__":
    sys.exit(main())
