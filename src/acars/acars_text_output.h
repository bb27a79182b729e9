#pragma once
// The ACARS texts: one RAW line per block, PRC and MES entries per message,
// into TextBuffers and, with logging on, the daily or per-aircraft logs.
#include <string>
#include <string_view>

#include "acars/acars_fields.h"

struct Form1State;

void WriteAcarsRawLine(Form1State& form, const std::string& rawText, const std::string& flightId,
                       const std::string& address);
// Kind 1 (PRC) or 2 (MES); kind 0 does nothing. The text is shown as given.
void OutputAcarsDownlink(Form1State& form, int kind, const AcarsFields& fields, const std::string& banner,
                         const std::string& text);
// As the downlink entry, with the station name in place of the flight id.
void OutputAcarsUplink(Form1State& form, int kind, const AcarsFields& fields, const std::string& banner,
                       const std::string& text);

// Keeps TextBuffers[kind] below MaxBytes, cutting from the front, and
// refreshes the received-text window when it shows that kind.
void TrimTextBuffer(Form1State& form, int kind);

// A file-name part made of received text (code page 932): UTF-8, with
// characters no file name may hold and control bytes as "_"; an empty or
// all-dots name becomes "_".
std::string LogNamePart(std::string_view cp932Name);

// The log file of an ACARS entry of this kind: the daily log, or by
// TxtSaveType the file of the flight, registration or (uplink) station in
// logs/EachLogs; "_c" before the extension when a log import reads it.
std::string ChooseAcarsLogPath(const Form1State& form, int kind, bool downlink, const std::string& flightId,
                               const std::string& address, const std::string& station);
