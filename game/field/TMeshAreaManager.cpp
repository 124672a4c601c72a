#include "game/field/TMeshAreaManager.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "common/FitGridAxis.h"
#include "common/TFrame8.h"
#include "common/TMaterial8.h"
#include "common/TVertexShader8.h"
#include "common/Truncate.h"
#include "game/effect/TimeStopState.h"

using plat::D3DXMATRIX;
using plat::D3DXVECTOR3;

namespace {

// Effects, shadows and hidden parts keep their look.
constexpr uint16_t kUnfadedModes[] = {4000, 4100, 3000, 0};
constexpr uint32_t kFadingMode = 2200, kNearMode = 2000;
constexpr float kHiddenWithin = 3.0f, kFadedWithin = 8.0f, kFadePerUnit = 0.2f;

D3DXVECTOR3 CentreOf(const TMesh8& mesh) {
  TMeshBounds bounds;
  mesh.GetBoundingSphere(bounds, IdentityMatrix());
  return D3DXVECTOR3(bounds.x, bounds.y, bounds.z);
}

bool KeepsItsLook(const TMesh8& piece) {
  if (piece.GetPartCount() == 0) return true;
  const uint16_t mode = piece.GetMaterial(0).GetRenderMode();
  for (uint16_t unfaded : kUnfadedModes)
    if (mode == unfaded) return true;
  return false;
}

// The cell and its eight neighbours, row by row.
template <class F>
void ForNeighbourhood(const TMeshAreaManager::Cell& centre, F visit) {
  for (int32_t dz = -1; dz <= 1; ++dz)
    for (int32_t dx = -1; dx <= 1; ++dx) visit(TMeshAreaManager::Cell(centre.first + dx, centre.second + dz));
}

}  // namespace

TMeshAreaManager::~TMeshAreaManager() { Detach(); }

void TMeshAreaManager::Load(const std::string& groundMesh, float width, float depth, TFrame8* parent,
                            const std::string& frameName) {
  TMesh8 ground = TMesh8::Load(groundMesh);
  Build(ground, width, depth, parent, frameName);
}

void TMeshAreaManager::Build(TMesh8& ground, float width, float depth, TFrame8* parent,
                             const std::string& frameName) {
  Clear();
  name = frameName;
  root = CreateNamedFrame(name + "Root", IdentityMatrix());
  subRoot = CreateNamedFrame(name + "SubRoot", IdentityMatrix());

  TAxisRange xRange{}, zRange{};
  uint32_t columnCount = 0, rowCount = 0;
  TMesh8::Divide(ground, width, depth, xRange, zRange, columnCount, rowCount, grid);
  // The sizes the division worked with (below 1: one cell over the whole axis).
  TAxisRange xCopy = xRange, zCopy = zRange;
  FitGridAxis(xCopy, width);
  FitGridAxis(zCopy, depth);
  cellWidth = width;
  cellDepth = depth;
  origin = D3DXVECTOR3(xRange.min, 0, zRange.min);
  columns = static_cast<int32_t>(std::min<uint32_t>(columnCount, INT32_MAX));
  rows = static_cast<int32_t>(std::min<uint32_t>(rowCount, INT32_MAX));
  for (std::vector<TMesh8>& row : *grid)
    for (TMesh8& cell : row) cell.SetShader(TCountedPtr<TShaderBase8>(new TVertexColorShader8));
  Attach(parent);
}

TMeshAreaManager::Cell TMeshAreaManager::CellOf(const D3DXVECTOR3& point) const {
  return Cell(TruncateToInt((point.x - origin.x) / cellWidth), TruncateToInt((point.z - origin.z) / cellDepth));
}

bool TMeshAreaManager::IsOnGrid(const Cell& cell) const {
  return cell.first >= 0 && cell.first < columns && cell.second >= 0 && cell.second < rows;
}

void TMeshAreaManager::AddMesh(const TMesh8& piece) {
  if (!grid) return;
  const Cell cell = CellOf(CentreOf(piece));
  if (IsOnGrid(cell)) pieces[cell].push_back(piece);
}

const TMesh8* TMeshAreaManager::GetGroundCell(const Cell& cell) const {
  return grid && IsOnGrid(cell) ? &(*grid)[cell.second][cell.first] : nullptr;
}

const std::vector<TMesh8>& TMeshAreaManager::GetPieces(const Cell& cell) const {
  static const std::vector<TMesh8> none;
  auto found = pieces.find(cell);
  return found == pieces.end() ? none : found->second;
}

size_t TMeshAreaManager::GetPieceCount() const {
  size_t count = 0;
  for (const auto& [cell, list] : pieces) count += list.size();
  return count;
}

void TMeshAreaManager::AdvanceMotions() {
  if (GetTimeStop()) return;
  for (auto& [cell, list] : pieces)
    for (TMesh8& piece : list)
      if (piece.HasMotion()) piece.AdvanceMotion(true, 1.0f);
}

void TMeshAreaManager::Update(const D3DXVECTOR3& focus) {
  AdvanceMotions();
  if (!grid) return;
  const Cell centre = CellOf(focus);
  ShowPieces(centre, focus);
  if (centre != focusCell) ShowGround(centre);
}

void TMeshAreaManager::ShowPieces(const Cell& centre, const D3DXVECTOR3& focus) {
  subRoot->RemoveMeshes();
  ForNeighbourhood(centre, [&](const Cell& cell) {
    auto found = pieces.find(cell);
    if (found == pieces.end()) return;
    for (TMesh8& piece : found->second) {
      if (!KeepsItsLook(piece)) {
        const D3DXVECTOR3 c = CentreOf(piece);
        const float d = std::hypot(c.x - focus.x, c.z - focus.z);
        if (d < kHiddenWithin) continue;
        const bool fading = d < kFadedWithin;
        piece.SetAlpha(fading ? (d - kHiddenWithin) * kFadePerUnit : 1.0f, TMesh8::kAllParts);
        piece.SetRenderMode(fading ? kFadingMode : kNearMode, TMesh8::kAllParts);
      }
      subRoot->AddMesh(piece);
    }
  });
}

void TMeshAreaManager::ShowGround(const Cell& centre) {
  focusCell = centre;
  root->RemoveMeshes();
  ForNeighbourhood(centre, [&](const Cell& cell) {
    if (IsOnGrid(cell)) root->AddMesh((*grid)[cell.second][cell.first]);
  });
}

void TMeshAreaManager::Attach(TFrame8* parent) {
  if (!parent || !root) return;
  parent->AddChild(root);
  parent->AddChild(subRoot);
}

void TMeshAreaManager::Detach() {
  if (root) root->Detach();
  if (subRoot) subRoot->Detach();
}

void TMeshAreaManager::Clear() {
  Detach();
  root.Reset();
  subRoot.Reset();
  grid.Reset();
  pieces.clear();
  columns = rows = 0;
  cellWidth = cellDepth = 0;
  origin = D3DXVECTOR3(0, 0, 0);
  focusCell = Cell(-1, -1);
}
