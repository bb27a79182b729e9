#pragma once
// The values of the ACARS item as they come over a local socket: each ends
// with one NUL byte (the wire text holds none, and a mapped HT is 0x0A, so
// lines cannot frame it). What a sender leaves when it disconnects is one
// more value; a value above 64 KiB is dropped up to its NUL.
#include <functional>
#include <string>
#include <string_view>

constexpr size_t kMaxAcarsItemValue = 64 * 1024;

class AcarsItemFraming {
 public:
  using Take = std::function<void(const std::string& value)>;
  void Feed(std::string_view bytes, const Take& take);
  // The sender disconnected.
  void Finish(const Take& take);

 private:
  std::string value_;
  bool dropping_ = false;
};
