// Writes ".tbl" files: header plain (flag 0) or scrambled (any other flag), rows always scrambled.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "tools/datakit/ByteWriter.h"

namespace datakit {

class TableWriter {
 public:
  explicit TableWriter(uint8_t headerFlag = 1) : headerFlag_(headerFlag) {}
  // A scrambled table of one "id" column with these rows.
  static TableWriter IdList(const std::vector<uint32_t>& ids);

  TableWriter& Column(const std::string& name, uint32_t type = 0);
  // A new row; fill it with ByteWriter's scrambled fields (Scrambled4, ScrambledString, ...).
  ByteWriter& Row();
  TableWriter& IdRow(uint32_t id);
  TableWriter& NameRow(uint32_t id, const std::string& name);
  // Declares another row or column count than was written (damaged files).
  TableWriter& DeclareRowCount(int32_t n);
  TableWriter& DeclareColumnCount(int32_t n);

  size_t ColumnCount() const { return columns_.size(); }

  std::vector<uint8_t> Build() const;
  void Save(const std::string& path) const { SaveFile(path, Build()); }

 private:
  uint8_t headerFlag_;
  std::vector<std::pair<std::string, uint32_t>> columns_;
  std::vector<ByteWriter> rows_;
  std::optional<int32_t> rowCount_, columnCount_;
};

}  // namespace datakit
