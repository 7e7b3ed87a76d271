// States per second of the engine's SGP4 over a TLE file: every element set over one day from
// START (a ds50 UTC day count) at 1-minute steps, on one thread. Prints one line:
// "<states> <seconds> <failed states>", the best of REPEATS runs, as bench_sgp4.py times its peer.
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "engine/dllmain.h"
#include "engine/sgp4prop.h"
#include "engine/tle.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::cerr << "usage: sgp4_rate TLE_FILE START [REPEATS] [MODE: single|batch]\n";
    return 2;
  }
  const double start = std::stod(argv[2]);
  const int repeats = argc > 3 ? std::stoi(argv[3]) : 3;
  const bool batch = argc > 4 && std::string(argv[4]) == "batch";
  SetAllKeyMode(KEYMODE_DMA);
  std::ifstream in(argv[1]);
  std::vector<std::string> lines;
  for (std::string l; std::getline(in, l);) {
    if (!l.empty() && l.back() == '\r') l.pop_back();
    if (l.size() >= 69 && (l[0] == '1' || l[0] == '2') && l[1] == ' ') lines.push_back(l);
  }
  std::vector<std::int64_t> keys;
  for (std::size_t i = 0; i + 1 < lines.size(); i += 2) {
    if (lines[i][0] != '1' || lines[i + 1][0] != '2') continue;
    const std::int64_t key = TleAddSatFrLines(lines[i].c_str(), lines[i + 1].c_str());
    if (key <= 0 || Sgp4InitSat(key) != 0) continue;
    keys.push_back(key);
  }
  constexpr int kSteps = 1440;
  double best = 1e300;
  long failed = 0;
  std::vector<double> times(kSteps), out(6 * kSteps);
  for (int k = 0; k < kSteps; ++k) times[k] = start + k / 1440.0;
  double sink = 0.0;
  for (int rep = 0; rep < repeats; ++rep) {
    failed = 0;
    const auto t0 = std::chrono::steady_clock::now();
    for (std::size_t s = 0; s < keys.size(); ++s) {
      if (batch) {
        if (Sgp4PropDs50UtcPosVelBatch(keys[s], kSteps, times.data(), out.data()) != 0) ++failed;
        sink += out[0];
      } else {
        for (int k = 0; k < kSteps; ++k) {
          double r[3], v[3];
          if (Sgp4PropDs50UtcPosVel(keys[s], times[k], r, v) != 0) ++failed;
          sink += r[0];
        }
      }
    }
    const double dt = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    best = std::min(best, dt);
  }
  std::printf("%zu %.6f %ld %g\n", keys.size() * kSteps, best, failed, sink * 0.0);
  return 0;
}
