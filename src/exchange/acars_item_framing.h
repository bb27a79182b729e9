#pragma once
// The values of the ACARS item as they come over a local socket: each ends
// with one NUL byte (the wire text holds none, and a mapped HT is 0x0A, so
// lines cannot frame it). What a sender leaves when it disconnects is one
// more value; a value above 64 KiB is dropped up to its NUL.
#include <functional>
#include <string>
#include <string_view>

constexpr size_t kMaxAcarsItemValue = 64 * 1024;

// The one byte a closing copy writes to a sender that it cuts off, and all
// it ever writes to one: a sender that finds something to read has been
// cut off. A sender that gives up stops its reading first; the copy's mark
// then fails, and the copy takes the sender as gone before the cut. So
// both agree on whether an unended last value is taken.
constexpr char kAcarsItemCutMark = '\0';

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
