#include "exchange/exchange_services.h"

#include "app/form1_state.h"
#include "platform/paths.h"

void ExchangeServices::UpdateDailyLogNames(Form1State& form, bool force) {
  if (!form.ChangeLogFileName && !force) return;
  std::string date = platform::FormatDateCompact(platform::Now());
  if (date == form.LogDate) return;
  std::string logs = platform::JoinPath(form.AppDir, "logs");
  auto path = [&](const char* suffix) { return platform::JoinPath(logs, date + suffix); };
  form.SearchLogPath = path("_SEARCH.log");
  form.ListLogPath = path("_LIST.csv");
  form.AcarsRawLogPath = path("_ACARS_RAW.log");
  form.AcarsPrcLogPath = path("_ACARS_PRC.log");
  form.AcarsMesLogPath = path("_ACARS_MES.log");
  form.HfdlDatLogPath = path("_HFDL_DAT.log");
  form.HfdlAnaLogPath = path("_HFDL_ANA.log");
  form.HfdlFmtLogPath = path("_HFDL_FMT.log");
  form.LogDate = date;
}

bool ExchangeServices::OpenServer(Form1State&, const std::string&) { return false; }

void ExchangeServices::CloseServer(Form1State&) {}

bool ExchangeServices::ConnectToServer(Form1State&, const std::string&, const std::string&) { return false; }

void ExchangeServices::DisconnectFromServer(Form1State&, bool) {}

void ExchangeServices::SendToServer(Form1State&, const std::string&) {}

void ExchangeServices::SendToAllClients(Form1State&, const std::string&) {}

void ExchangeServices::RefreshTextWindow(Form1State&) {}

void ExchangeServices::N20Click(Form1State&) {}

void ExchangeServices::EachLogs1Click(Form1State&) {}

void ExchangeServices::N16Click(Form1State&) {}

void ExchangeServices::DATLOG1Click(Form1State&) {}

ExchangeServices& DefaultExchangeServices() {
  static ExchangeServices services;
  return services;
}
