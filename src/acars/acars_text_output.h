#pragma once
// The ACARS texts of a message: one RAW line per block, PRC and MES entries
// by what the stores made of it, into the received text and, with logging
// on, the daily or per-aircraft logs.
#include <string>

#include "acars/acars_message.h"
#include "app/settings_sections.h"

class ReceivedText;

// Where the ACARS texts go.
struct AcarsTextOutput {
  ReceivedText& Text;
  const TxtSettings& Txt;
  std::string EachLogsFolder;  // logs/EachLogs of the program folder
};

// The RAW line and the PRC and MES entries the message calls for.
void WriteAcarsTexts(const AcarsTextOutput& out, const AcarsMessage& m);

void WriteAcarsRawLine(const AcarsTextOutput& out, const AcarsMessage& m);
// Kind 1 (PRC) or 2 (MES); kind 0 does nothing. The text is shown as given.
void OutputAcarsDownlink(const AcarsTextOutput& out, int kind, const AcarsMessage& m, const std::string& banner,
                         const std::string& text);
// As the downlink entry, with the station name in place of the flight id.
void OutputAcarsUplink(const AcarsTextOutput& out, int kind, const AcarsMessage& m, const std::string& banner,
                       const std::string& text);

// A whole message without its MES entry: "FRQ" and "TIS" texts when their
// switches say so, an uplink "SQ" with SqNoDisp, and a downlink whose
// position was stored while ShowPos is on.
bool AcarsMesHeld(const AcarsMessage& m, const TxtSettings& txt);
// The message-text search sees whole messages, except those a downlink's
// MES filters hold back; uplinks are searched even without their MES entry.
bool AcarsSearched(const AcarsMessage& m, const TxtSettings& txt);

// The log file of an ACARS entry of this kind: the daily log, or by
// TxtSaveType the file of the flight, registration or (uplink) station in
// logs/EachLogs.
std::string ChooseAcarsLogPath(const AcarsTextOutput& out, int kind, const AcarsFields& fields);
