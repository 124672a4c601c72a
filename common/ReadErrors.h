// The two ways a record of a data file fails, both my_error to every other caller: bytes that end
// before the record does, and a record read whole whose values cannot be used. Readers that keep
// what they read (frame files) stop at the first and step over the second.
#pragma once
#include "common/my_error.h"

class TCutShortError : public my_error {
 public:
  using my_error::my_error;
};

class TBadRecordError : public my_error {
 public:
  using my_error::my_error;
};
