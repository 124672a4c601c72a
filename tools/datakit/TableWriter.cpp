#include "tools/datakit/TableWriter.h"

#include "common/scramble.h"

namespace datakit {

TableWriter TableWriter::IdList(const std::vector<uint32_t>& ids) {
  TableWriter list;
  list.Column("id");
  for (uint32_t id : ids) list.IdRow(id);
  return list;
}

TableWriter& TableWriter::Column(const std::string& name, uint32_t type) {
  columns_.emplace_back(name, type);
  return *this;
}

ByteWriter& TableWriter::Row() { return rows_.emplace_back(); }

TableWriter& TableWriter::IdRow(uint32_t id) {
  Row().Scrambled4(id);
  return *this;
}

TableWriter& TableWriter::NameRow(uint32_t id, const std::string& name) {
  Row().Scrambled4(id).ScrambledString(name, scramble::kTableTextOffset);
  return *this;
}

TableWriter& TableWriter::DeclareRowCount(int32_t n) {
  rowCount_ = n;
  return *this;
}

TableWriter& TableWriter::DeclareColumnCount(int32_t n) {
  columnCount_ = n;
  return *this;
}

std::vector<uint8_t> TableWriter::Build() const {
  ByteWriter w;
  bool scrambled = headerFlag_ != 0;
  auto field = [&](uint32_t v) { scrambled ? w.Scrambled4(v) : w.U32(v); };
  w.U8(headerFlag_);
  field(static_cast<uint32_t>(rowCount_.value_or(static_cast<int32_t>(rows_.size()))));
  field(static_cast<uint32_t>(columnCount_.value_or(static_cast<int32_t>(columns_.size()))));
  for (auto& [name, type] : columns_) {
    if (scrambled)
      w.ScrambledString(name, scramble::kTableTextOffset);
    else
      w.LString(name);
  }
  for (auto& [name, type] : columns_) field(type);
  for (auto& row : rows_) w.Raw(row.data());
  return w.data();
}

}  // namespace datakit
