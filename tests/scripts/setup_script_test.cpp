// The set-up that ./run and ./test share, run by bash on stand-ins for the
// package manager and the build tools that note how they were called.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <regex>

#include "support/test_support.h"

namespace {

class SetupScript : public ::testing::Test {
 protected:
  void SetUp() override {
    ::mkdir(dir_.File("bin").c_str(), 0755);
    for (const char* name : {"sleep", "cmake", "ctest", "xvfb-run"}) Tool(name);
    Tool("id", "echo 0");  // root
    Tool("nproc", "echo 6");
  }
  // A stand-in that notes its name and arguments in calls.log, then runs body.
  void Tool(const std::string& name, const std::string& body = "") {
    const std::string path = dir_.File("bin/" + name);
    testing_support::WriteFile(path, "#!/bin/bash\necho \"" + name + " $*\" >> " + dir_.File("calls.log") + "\n" + body);
    ::chmod(path.c_str(), 0755);
  }
  // bash in the source folder, the stand-ins first on the path.
  testing_support::ProcessResult Bash(const std::string& script, std::vector<std::string> env = {}) {
    env.push_back("PATH=" + dir_.File("bin") + ":/usr/bin:/bin");
    return testing_support::RunProgram("/bin/bash", {"-c", "cd " SKARVEL_SOURCE_DIR " && " + script}, env, 20000);
  }
  std::string Calls() { return testing_support::ReadFile(dir_.File("calls.log")); }

  testing_support::TempDir dir_;
};

TEST_F(SetupScript, InstallingWaitsWhileAnotherInstallationHoldsTheLock) {
  Tool("dpkg-query", "exit 1");
  // Refused twice as apt-get words it, then the lock is free.
  Tool("apt-get", "[ $(grep -c ^apt-get " + dir_.File("calls.log") +
                      ") -gt 2 ] || { echo 'E: Could not get lock /var/lib/apt/lists/lock. It is held by process 99"
                      " (apt-get)' >&2; exit 100; }");
  auto r = Bash("set -euo pipefail; source scripts/setup.sh; install_packages cmake");
  EXPECT_EQ(r.exitCode, 0) << r.standardError;
  // apt-get is given what is left of the five minutes; on a loaded machine
  // a second may pass before the first call.
  const std::string calls = std::regex_replace(Calls(), std::regex("Timeout=(29[0-9]|300) "), "Timeout=left ");
  const std::string update = "apt-get -o DPkg::Lock::Timeout=left update -qq\n";
  EXPECT_NE(calls.find(update + "sleep 5\n" + update + "sleep 5\n" + update +
                       "apt-get -o DPkg::Lock::Timeout=left install -y -qq --no-install-recommends cmake\n"),
            std::string::npos)
      << Calls();

  // Any other failure ends it at once, and says why.
  Tool("apt-get", "echo 'E: Unable to locate package cmake' >&2; exit 100");
  r = Bash("set -euo pipefail; source scripts/setup.sh; install_packages cmake");
  EXPECT_NE(r.exitCode, 0);
  EXPECT_EQ(r.standardError, "E: Unable to locate package cmake\n");
}

TEST_F(SetupScript, TestBuildsAndRunsOnEveryCoreUnlessToldOtherwise) {
  Tool("dpkg-query", "echo 'install ok installed'");
  using Case = std::tuple<std::vector<std::string>, std::string, std::string>;
  for (auto [env, build, test] : {Case{{"CMAKE_BUILD_PARALLEL_LEVEL", "CTEST_PARALLEL_LEVEL"}, "6", "6"},
                                  Case{{"CMAKE_BUILD_PARALLEL_LEVEL=3", "CTEST_PARALLEL_LEVEL=2"}, "3", "2"}}) {
    std::remove(dir_.File("calls.log").c_str());
    const auto r = Bash("./test", env);
    EXPECT_EQ(r.exitCode, 0) << r.standardError;
    for (const std::string& call : {"cmake --build build -j " + build + "\n",
                                   "cmake --build build-san -j " + build + " --target fuzz_tests\n",
                                   "ctest --test-dir build --output-on-failure -j " + test + " ",
                                   "ctest --test-dir build-san --output-on-failure -j " + test + " ",
                                   // The screen tests share one display.
                                   std::string("xvfb-run -a ctest --test-dir build --output-on-failure -j 1 -L screens ")}) {
      EXPECT_NE(Calls().find(call), std::string::npos) << call << Calls();
    }
  }
}

// ./run builds what the program and the README's examples need and starts
// the program; the tests and benchmarks wait for ./test.
TEST_F(SetupScript, RunBuildsTheProgramAndTheTransmittersOnly) {
  Tool("dpkg-query", "echo 'install ok installed'");
  // A copy of the set-up whose program is a stand-in too.
  const std::string copy = dir_.File("copy");
  for (const char* folder : {"", "/scripts", "/downloads", "/build", "/build/program"}) {
    ::mkdir((copy + folder).c_str(), 0755);
  }
  testing_support::WriteFile(copy + "/run", testing_support::ReadFile(SKARVEL_SOURCE_DIR "/run"));
  testing_support::WriteFile(copy + "/scripts/setup.sh", testing_support::ReadFile(SKARVEL_SOURCE_DIR "/scripts/setup.sh"));
  ::symlink(SKARVEL_SOURCE_DIR "/downloads/world-atlas-2.0.2.tgz", (copy + "/downloads/world-atlas-2.0.2.tgz").c_str());
  testing_support::WriteFile(copy + "/build/program/skarvel",
                             "#!/bin/bash\necho \"skarvel $*\" >> " + dir_.File("calls.log") + "\n");
  for (const char* script : {"/run", "/build/program/skarvel"}) ::chmod((copy + script).c_str(), 0755);

  const auto r = Bash(copy + "/run --audio-file x.wav", {"DISPLAY=:9", "CMAKE_BUILD_PARALLEL_LEVEL"});
  EXPECT_EQ(r.exitCode, 0) << r.standardError;
  EXPECT_NE(Calls().find("cmake --build build -j 6 --target skarvel skarvel-acars-send acars_tx hfdl_txgen "
                         "selcal_txgen\nskarvel --audio-file x.wav\n"),
            std::string::npos)
      << Calls();
}

}  // namespace
