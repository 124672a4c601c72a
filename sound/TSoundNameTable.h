// A table whose rows are {id, name}: the file list of a sound set.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "sound/TTableReader.h"

struct TSoundNameRow {
  uint32_t id = 0;
  std::string name;
};

class TSoundNameTable : public TTableHeader {
 public:
  virtual bool Read(const std::string& name);
  virtual void Clear();
  virtual TSoundNameRow* GetRow(int32_t index) { return &rows[static_cast<size_t>(index)]; }
  virtual std::vector<TSoundNameRow> GetRows() const { return rows; }

 private:
  std::vector<TSoundNameRow> rows;
};
