// Load and save of a complete settings file.
#include <benchmark/benchmark.h>

#include "app/form1_state.h"
#include "app/settings.h"
#include "platform/ini_file.h"

namespace {

std::string CompleteSettingsFile() {
  Form1State form;
  IniFile ini;
  SaveSettings(form, ini);
  return ini.ToBytes();
}

void BM_LoadSettings(benchmark::State& state) {
  const std::string bytes = CompleteSettingsFile();
  Form1State form;
  for (auto _ : state) {
    IniFile ini;
    ini.LoadFromBytes(bytes);
    LoadSettings(form, ini);
    benchmark::DoNotOptimize(form.Map.MapCentN);
  }
}
BENCHMARK(BM_LoadSettings);

void BM_SaveSettings(benchmark::State& state) {
  const std::string bytes = CompleteSettingsFile();
  Form1State form;
  for (auto _ : state) {
    IniFile ini;
    ini.LoadFromBytes(bytes);
    SaveSettings(form, ini);
    std::string out = ini.ToBytes();
    benchmark::DoNotOptimize(out.data());
  }
}
BENCHMARK(BM_SaveSettings);

}  // namespace

BENCHMARK_MAIN();
