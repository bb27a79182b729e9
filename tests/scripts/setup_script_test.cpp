// The set-up that ./run and ./test share, run by bash on stand-ins for the
// package manager and the build tools that note how they were called.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "support/test_support.h"

namespace {

using testing_support::ReadFile;
using testing_support::TempDir;

class SetupScript : public ::testing::Test {
 protected:
  // A stand-in command: appends its name and arguments to calls.log, then
  // runs `body`.
  void Tool(const std::string& name, const std::string& body = "") {
    const std::string path = dir_.File("bin/" + name);
    testing_support::WriteFile(path, "#!/bin/bash\necho \"" + name + " $*\" >> '" + dir_.File("calls.log") + "'\n" +
                                         body + "\n");
    ::chmod(path.c_str(), 0755);
  }
  // Runs bash in the source folder with the stand-ins first on the path.
  testing_support::ProcessResult Bash(const std::string& script, const std::vector<std::string>& env = {}) {
    std::vector<std::string> all = {"PATH=" + dir_.File("bin") + ":/usr/bin:/bin"};
    all.insert(all.end(), env.begin(), env.end());
    return testing_support::RunProgram(
        "/bin/bash", {"-c", "cd '" SKARVEL_SOURCE_DIR "' && " + script}, all, 20000);
  }
  std::string Calls() { return ReadFile(dir_.File("calls.log")); }

  void SetUp() override {
    ::mkdir(dir_.File("bin").c_str(), 0755);
    Tool("id", "echo 0");
    Tool("nproc", "echo 6");
    Tool("sleep");
  }

  TempDir dir_;
};

TEST_F(SetupScript, InstallingWaitsWhileAnotherInstallationHoldsTheLock) {
  Tool("dpkg-query", "exit 1");
  // Two refusals, as apt-get says them, then the lock is free.
  Tool("apt-get", "n=$(grep -c '^apt-get' '" + dir_.File("calls.log") +
                      "')\n"
                      "if [ \"$n\" -le 2 ]; then echo 'E: Could not get lock /var/lib/apt/lists/lock. It is held by "
                      "process 99 (apt-get)' >&2; exit 100; fi");
  const auto r = Bash("source scripts/setup.sh && install_packages cmake");
  EXPECT_EQ(r.exitCode, 0) << r.standardError;
  const std::string calls = Calls();
  const std::string update = "apt-get -o DPkg::Lock::Timeout=300 update -qq\n";
  EXPECT_NE(calls.find(update + "sleep 5\n" + update + "sleep 5\n" + update), std::string::npos) << calls;
  EXPECT_NE(calls.find("apt-get -o DPkg::Lock::Timeout=300 install -y -qq --no-install-recommends cmake\n"),
            std::string::npos)
      << calls;
  EXPECT_NE(r.standardError.find("waiting"), std::string::npos);
}

TEST_F(SetupScript, AnyOtherFailureOfTheInstallationEndsAtOnce) {
  Tool("dpkg-query", "exit 1");
  Tool("apt-get", "echo 'E: Unable to locate package cmake' >&2; exit 100");
  const auto r = Bash("source scripts/setup.sh && install_packages cmake");
  EXPECT_NE(r.exitCode, 0);
  EXPECT_NE(r.standardError.find("Unable to locate package cmake"), std::string::npos);
  EXPECT_EQ(Calls().find("sleep"), std::string::npos);
}

TEST_F(SetupScript, TestBuildsAndRunsOnEveryCoreUnlessToldOtherwise) {
  Tool("dpkg-query", "echo 'install ok installed'");
  for (const char* tool : {"cmake", "ctest", "xvfb-run"}) Tool(tool);
  auto r = Bash("./test");
  EXPECT_EQ(r.exitCode, 0) << r.standardError;
  std::string calls = Calls();
  EXPECT_NE(calls.find("cmake --build build -j 6\n"), std::string::npos) << calls;
  EXPECT_NE(calls.find("ctest --test-dir build --output-on-failure -j 6 "), std::string::npos) << calls;
  EXPECT_NE(calls.find("ctest --test-dir build-san --output-on-failure -j 6 "), std::string::npos) << calls;

  std::remove(dir_.File("calls.log").c_str());
  r = Bash("./test", {"CMAKE_BUILD_PARALLEL_LEVEL=3", "CTEST_PARALLEL_LEVEL=2"});
  EXPECT_EQ(r.exitCode, 0) << r.standardError;
  calls = Calls();
  EXPECT_NE(calls.find("cmake --build build -j 3\n"), std::string::npos) << calls;
  EXPECT_NE(calls.find("cmake --build build-san -j 3 --target fuzz_tests\n"), std::string::npos) << calls;
  EXPECT_NE(calls.find("ctest --test-dir build --output-on-failure -j 2 "), std::string::npos) << calls;
  EXPECT_NE(calls.find("ctest --test-dir build-san --output-on-failure -j 2 "), std::string::npos) << calls;
}

}  // namespace
