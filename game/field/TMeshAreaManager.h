// The stage's scenery, cell by cell: the ground mesh cut into a grid of cells and every placed
// piece filed under the cell that holds its centre. Only the 3 x 3 cells around a focus point are
// in the scene graph, and pieces near the focus fade out or vanish so that they do not hide the
// player.
#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "common/TCountedPtr.h"
#include "common/TFrame8.h"
#include "common/TMesh8.h"
#include "platform/gfx/D3DXMath.h"

class TMeshAreaManager {
 public:
  using Cell = std::pair<int32_t, int32_t>;  // x index, z index

  TMeshAreaManager() = default;
  ~TMeshAreaManager();
  TMeshAreaManager(const TMeshAreaManager&) = delete;
  TMeshAreaManager& operator=(const TMeshAreaManager&) = delete;

  // Loads the ground mesh and builds the grid from it; a missing file throws my_error.
  void Load(const std::string& groundMesh, float cellWidth, float cellDepth, TFrame8* parent,
            const std::string& name);
  // Cuts the ground into cells drawn with their vertex colours, and hangs the frames name + "Root"
  // (ground cells) and name + "SubRoot" (pieces) under the parent. A cell size below 1 makes the
  // whole axis one cell.
  void Build(TMesh8& ground, float cellWidth, float cellDepth, TFrame8* parent, const std::string& name);
  // Files a piece under the cell of its bounding-sphere centre; a piece off the grid is dropped.
  void AddMesh(const TMesh8& piece);

  // Once per frame: the animated pieces step on, the pieces of the nine cells around the focus go
  // into SubRoot, faded by their distance from it, and the ground cells into Root when the focus
  // has moved to another cell.
  void Update(const plat::D3DXVECTOR3& focus);
  // Every piece with motion clips one step on, looping, unless the global time stop holds.
  void AdvanceMotions();

  void Attach(TFrame8* parent);
  void Detach();
  // The grid, the pieces and the frames let go; the manager is as built.
  void Clear();

  // Truncated toward zero.
  Cell CellOf(const plat::D3DXVECTOR3& point) const;
  bool IsOnGrid(const Cell& cell) const;

  TFrame8* GetRoot() const { return root.Get(); }
  TFrame8* GetSubRoot() const { return subRoot.Get(); }
  const plat::D3DXVECTOR3& GetOrigin() const { return origin; }
  int32_t GetColumns() const { return columns; }
  int32_t GetRows() const { return rows; }
  const Cell& GetFocusCell() const { return focusCell; }
  // The ground mesh of a cell; null off the grid.
  const TMesh8* GetGroundCell(const Cell& cell) const;
  // The pieces filed under a cell (empty for none).
  const std::vector<TMesh8>& GetPieces(const Cell& cell) const;
  size_t GetPieceCount() const;

 private:
  void ShowPieces(const Cell& centre, const plat::D3DXVECTOR3& focus);
  void ShowGround(const Cell& centre);

  std::string name;
  TCountedPtr<TFrame8> root, subRoot;
  float cellWidth = 0, cellDepth = 0;
  plat::D3DXVECTOR3 origin{0, 0, 0};
  int32_t columns = 0, rows = 0;
  Cell focusCell{-1, -1};
  TCountedPtr<TMesh8::Rows> grid;  // [z][x]
  std::map<Cell, std::vector<TMesh8>> pieces;
};
