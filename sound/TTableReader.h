// The ".tbl" format: a flag byte, row and column counts, column names and types, then rows that
// are always scrambled. The base reads the header; each reader reads its own row record.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

class TFile;

// Header fields and the header read that every table shares.
class TTableHeader {
 public:
  virtual ~TTableHeader() = default;

  const std::string& GetFileName() const { return fileName; }
  uint8_t GetHeaderFlag() const { return headerFlag; }
  int32_t GetRowCount() const { return rowCount; }
  int32_t GetColumnCount() const { return columnCount; }
  const std::vector<std::string>& GetColumnNames() const { return columnNames; }
  const std::vector<uint32_t>& GetColumnTypes() const { return columnTypes; }

  // A scrambled string: a scrambled u32 length, then the text at the table text offset; the name
  // ends at its first NUL. A length past the end of the file fails without reading.
  static bool ReadScrambledString(TFile& file, std::string& out);
  // The same with another text offset (tables of other readers use their own).
  static bool ReadScrambledString(TFile& file, std::string& out, uint8_t textOffset);

 protected:
  // Opens the file (read-only) and reads the header into the fields; the file stays open on success.
  bool ReadHeader(const std::string& name, TFile& file);
  void ClearHeader();

  std::string fileName;
  uint8_t headerFlag = 0;
  int32_t rowCount = 0;
  int32_t columnCount = 0;
  std::vector<std::string> columnNames;
  std::vector<uint32_t> columnTypes;

 private:
  bool ReadField4(TFile& file, uint32_t& value) const;
};

// Says on stderr that a table could not be read whole; the game goes on with what it got.
void ReportUnreadTable(const std::string& path);

// An id table: one scrambled u32 per row, whatever the column count.
class TTableReader : public TTableHeader {
 public:
  virtual bool Read(const std::string& name);
  virtual void Clear();
  virtual uint32_t* GetRow(int32_t index) { return &rows[static_cast<size_t>(index)]; }
  virtual std::vector<uint32_t> GetIdList() const { return rows; }

 protected:
  std::vector<uint32_t> rows;
};
