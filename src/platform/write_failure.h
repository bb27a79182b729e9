#pragma once
// Every writer that cannot open or write a file reports it here. The user is
// told once per path per run (the main window shows a status-bar text).
#include <functional>
#include <string>

namespace platform {

void ReportWriteFailure(const std::string& path);
// The main window installs the status-bar text; tests install a recorder.
// The handler receives each path once.
void SetWriteFailureHandler(std::function<void(const std::string& path)> handler);
// Forgets which paths were reported (tests).
void ResetWriteFailureReports();

}  // namespace platform
