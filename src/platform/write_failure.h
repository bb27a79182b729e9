#pragma once
// Every writer that cannot open or write a file reports it here, and says
// so when a write to it went well. The user is told of a path's failure
// once, and again after a write to it has gone well since (the disk filled,
// was freed and filled again). The main window shows a status-bar text.
#include <functional>
#include <string>

namespace platform {

void ReportWriteFailure(const std::string& path);
void NoteWriteSuccess(const std::string& path);
// One of the two, as written says; returns written.
bool ReportWriteOutcome(const std::string& path, bool written);
// Whether any write failed in this run, told or not: the run's exit status.
bool AnyWriteFailed();
// The main window installs the status-bar text; tests install a recorder.
// The handler receives each failure that is told.
void SetWriteFailureHandler(std::function<void(const std::string& path)> handler);
// Forgets the failures of the run (tests).
void ResetWriteFailureReports();

// A file that is there but cannot be read, whose changes must wait for it:
// told every time, as the user's own changes are what waits.
void ReportReadFailure(const std::string& path);
// The main window installs the status-bar text, as for the writes.
void SetReadFailureHandler(std::function<void(const std::string& path)> handler);

}  // namespace platform
