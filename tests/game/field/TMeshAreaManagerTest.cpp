// The mesh areas on the recording device: a ground of 4 x 4 cells of 10 from (-20, -20), pieces
// filed by the cell of their centre, the nine cells around the focus in the scene graph, and the
// pieces near the focus faded or left out.
#include "common/TFrame8.h"
#include "game/field/TMeshAreaManager.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/TVertexShader8.h"
#include "game/effect/TimeStopState.h"
#include "game/field/FieldFolders.h"
#include "game/field/TMapData.h"
#include "tests/common/MeshFixture.h"
#include "tests/common/MeshSamples.h"
#include "tools/datakit/MapDataWriter.h"
#include "tools/datakit/MeshShapes.h"

namespace {

using plat::D3DXMATRIX;
using plat::D3DXVECTOR3;
using Cell = TMeshAreaManager::Cell;

class MeshAreaTest : public testkit::MeshFixture {
 protected:
  void SetUp() override {
    MeshFixture::SetUp();
    // A small square at the middle of every cell, and a sliver in the corner that fixes the grid's
    // origin at (-20, -20).
    datakit::MeshShape ground;
    for (float z : {-15.0f, -5.0f, 5.0f, 15.0f})
      for (float x : {-15.0f, -5.0f, 5.0f, 15.0f}) ground.Append(datakit::PlaneShape(2, 2).Move(x, 0, z));
    datakit::MeshShape sliver;
    sliver.vertices = {{-20, 0, -20}, {-20, 0, -19.5f}, {-19.5f, 0, -20}};
    sliver.indices = {0, 1, 2};
    sliver.parts = {0};
    ground.Append(sliver);
    datakit::MeshFile::FromShape("ground", ground, {datakit::MeshMaterial::Colored("grass", 0, 1, 0)})
        .Msh()
        .Save(dir / "map03/ground.msh");
    datakit::MeshFile::FromShape("rock", datakit::BoxShape(1, 1, 1), {datakit::MeshMaterial::Colored("rock", 1, 1, 1)})
        .Msh()
        .Save(dir / "visual03/rock.msh");
    testkit::MorphingStripMesh().Tob().Save(dir / "visual03/walker.tob");
    areas.Load("map03/ground.msh", 10, 10, scene.Get(), "TMeshAreaManager");
  }
  void TearDown() override {
    SetTimeStop(false, nullptr, nullptr);
    MeshFixture::TearDown();
  }

  // A mesh of the visual folder moved to `at`, named so that it can be told apart.
  TMesh8 Piece(const std::string& name, D3DXVECTOR3 at, const std::string& file = "visual03/rock.msh") {
    TMesh8 mesh = TMesh8::Load(file);
    D3DXMATRIX m;
    plat::D3DXMatrixTranslation(&m, at.x, at.y, at.z);
    mesh.Transform(m);
    mesh.SetName(name);
    return mesh;
  }
  const TMesh8* Shown(const std::string& name) { return areas.GetSubRoot()->FindMesh(name, false); }

  TCountedPtr<TFrame8> scene = CreateNamedFrame("Scene", IdentityMatrix());
  TMeshAreaManager areas;
};

TEST_F(MeshAreaTest, TheGroundIsCutIntoCellsUnderTwoFramesOfTheParent) {
  EXPECT_EQ(areas.GetColumns(), 4);
  EXPECT_EQ(areas.GetRows(), 4);
  EXPECT_FLOAT_EQ(areas.GetOrigin().x, -20);
  EXPECT_FLOAT_EQ(areas.GetOrigin().z, -20);
  EXPECT_EQ(areas.GetFocusCell(), Cell(-1, -1));
  ASSERT_NE(areas.GetRoot(), nullptr);
  EXPECT_EQ(areas.GetRoot()->GetName(), "TMeshAreaManagerRoot");
  EXPECT_EQ(areas.GetSubRoot()->GetName(), "TMeshAreaManagerSubRoot");
  EXPECT_EQ(areas.GetRoot()->GetParent(), scene.Get());
  EXPECT_EQ(areas.GetSubRoot()->GetParent(), scene.Get());
  EXPECT_TRUE(areas.GetRoot()->GetMeshes().empty()) << "nothing shown before the first update";
  for (int32_t z = 0; z < 4; ++z)
    for (int32_t x = 0; x < 4; ++x) {
      const TMesh8* cell = areas.GetGroundCell(Cell(x, z));
      ASSERT_NE(cell, nullptr);
      EXPECT_GE(cell->GetTriangleCount(), 2) << x << ", " << z;
      EXPECT_NE(dynamic_cast<TVertexColorShader8*>(cell->GetShader().Get()), nullptr) << x << ", " << z;
    }
  EXPECT_EQ(areas.GetGroundCell(Cell(4, 0)), nullptr);
}

TEST_F(MeshAreaTest, PiecesAreFiledUnderTheCellOfTheirCentreAndDroppedOffTheGrid) {
  struct Case {
    D3DXVECTOR3 at;
    bool kept;
    Cell cell;
  };
  const Case cases[] = {
      {{5, 0, 5}, true, {2, 2}},    {{-15, 7, 15}, true, {0, 3}},  {{19.5f, 0, -19.5f}, true, {3, 0}},
      {{25, 0, 0}, false, {}},      {{0, 0, 45}, false, {}},       {{-35, 0, 0}, false, {}},
      // A cell index is truncated toward zero: less than a cell before the origin still files.
      {{-22, 0, 0}, true, {0, 2}},
  };
  size_t kept = 0;
  for (const Case& c : cases) {
    areas.AddMesh(Piece("p", c.at));
    if (!c.kept) continue;
    ++kept;
    EXPECT_FALSE(areas.GetPieces(c.cell).empty()) << c.at.x << ", " << c.at.z;
  }
  EXPECT_EQ(areas.GetPieceCount(), kept);
}

TEST_F(MeshAreaTest, TheNineCellsAroundTheFocusAreShownRowByRow) {
  areas.AddMesh(Piece("near", D3DXVECTOR3(15, 0, 15)));  // cell (3, 3), far enough not to fade away
  areas.AddMesh(Piece("far", D3DXVECTOR3(15, 0, -15)));  // cell (3, 0)
  struct Case {
    D3DXVECTOR3 focus;
    std::vector<Cell> cells;
    bool nearShown;
  };
  const Case cases[] = {
      {{5, 0, 5}, {{1, 1}, {2, 1}, {3, 1}, {1, 2}, {2, 2}, {3, 2}, {1, 3}, {2, 3}, {3, 3}}, true},
      {{-15, 0, -15}, {{0, 0}, {1, 0}, {0, 1}, {1, 1}}, false},
      {{19, 0, 19}, {{2, 2}, {3, 2}, {2, 3}, {3, 3}}, true},
      {{100, 0, 100}, {}, false},
  };
  for (const Case& c : cases) {
    areas.Update(c.focus);
    const std::vector<TMesh8>& shown = areas.GetRoot()->GetMeshes();
    ASSERT_EQ(shown.size(), c.cells.size()) << c.focus.x << ", " << c.focus.z;
    for (size_t i = 0; i < shown.size(); ++i)
      EXPECT_EQ(shown[i].GetData(), areas.GetGroundCell(c.cells[i])->GetData()) << c.focus.x << ", " << i;
    EXPECT_EQ(Shown("near") != nullptr, c.nearShown) << c.focus.x << ", " << c.focus.z;
    EXPECT_EQ(Shown("far"), nullptr);
  }
}

TEST_F(MeshAreaTest, PiecesNearTheFocusFadeByTheirLevelDistanceOrAreLeftOut) {
  struct Case {
    const char* name;
    D3DXVECTOR3 at;  // focus at (5, 0, 5)
    bool shown;
    float alpha;
    uint16_t mode;
  };
  const Case cases[] = {
      {"at 2.9", {7.9f, 0, 5}, false, 0, 0},         {"at 3", {8, 0, 5}, true, 0.0f, 2200},
      {"at 5", {5, 0, 10}, true, 0.4f, 2200},         {"at 5, high above", {8, 40, 9}, true, 0.4f, 2200},
      {"at 8", {13, 0, 5}, true, 1.0f, 2000},         {"at 12", {5, 0, 17}, true, 1.0f, 2000},
  };
  for (const Case& c : cases) areas.AddMesh(Piece(c.name, c.at));
  areas.Update(D3DXVECTOR3(5, 0, 5));
  for (const Case& c : cases) {
    const TMesh8* piece = Shown(c.name);
    ASSERT_EQ(piece != nullptr, c.shown) << c.name;
    if (!piece) continue;
    EXPECT_NEAR(piece->GetMaterial(0).GetMaterial().Emissive.a, c.alpha, 1e-5f) << c.name;
    EXPECT_EQ(piece->GetMaterial(0).GetRenderMode(), c.mode) << c.name;
  }

  // Faded pieces are faded again every frame: from 9 away the one at 5 is drawn whole.
  areas.Update(D3DXVECTOR3(5, 0, 1));
  ASSERT_NE(Shown("at 5"), nullptr);
  EXPECT_FLOAT_EQ(Shown("at 5")->GetMaterial(0).GetMaterial().Emissive.a, 1.0f);
  EXPECT_EQ(Shown("at 5")->GetMaterial(0).GetRenderMode(), 2000);
}

TEST_F(MeshAreaTest, EffectsShadowsAndHiddenPiecesKeepTheirLookEvenAtTheFocus) {
  for (uint16_t mode : {4000, 4100, 3000, 0}) {
    TMesh8 piece = Piece("mode " + std::to_string(mode), D3DXVECTOR3(5.5f, 0, 5));
    piece.SetRenderMode(mode, 0xFFFFFFFFu);
    piece.SetAlpha(0.7f, 0xFFFFFFFFu);
    areas.AddMesh(piece);
  }
  areas.Update(D3DXVECTOR3(5, 0, 5));
  for (uint16_t mode : {4000, 4100, 3000, 0}) {
    const TMesh8* piece = Shown("mode " + std::to_string(mode));
    ASSERT_NE(piece, nullptr) << mode;
    EXPECT_EQ(piece->GetMaterial(0).GetRenderMode(), mode);
    EXPECT_FLOAT_EQ(piece->GetMaterial(0).GetMaterial().Emissive.a, 0.7f);
  }
}

TEST_F(MeshAreaTest, TheGroundIsFiledAgainOnlyWhenTheFocusChangesCell) {
  areas.AddMesh(Piece("rock", D3DXVECTOR3(12, 0, 12)));
  areas.Update(D3DXVECTOR3(5, 0, 5));
  EXPECT_EQ(areas.GetFocusCell(), Cell(2, 2));
  areas.GetRoot()->GetMeshes()[0].SetName("marked");
  areas.GetSubRoot()->GetMeshes()[0].SetName("marked");

  areas.Update(D3DXVECTOR3(9, 0, 1));  // the same cell
  EXPECT_NE(areas.GetRoot()->FindMesh("marked", false), nullptr);
  EXPECT_EQ(areas.GetSubRoot()->FindMesh("marked", false), nullptr) << "the pieces are filed every frame";
  EXPECT_NE(Shown("rock"), nullptr);

  areas.Update(D3DXVECTOR3(11, 0, 5));  // the next cell along x
  EXPECT_EQ(areas.GetFocusCell(), Cell(3, 2));
  EXPECT_EQ(areas.GetRoot()->FindMesh("marked", false), nullptr);
  EXPECT_EQ(areas.GetRoot()->GetMeshes().size(), 6u);
}

TEST_F(MeshAreaTest, AnimatedPiecesPlayOnEverywhereUnlessTimeIsStopped) {
  areas.AddMesh(Piece("walker near", D3DXVECTOR3(15, 0, 15), "visual03/walker.tob"));
  areas.AddMesh(Piece("walker far", D3DXVECTOR3(-15, 0, -15), "visual03/walker.tob"));
  areas.AddMesh(Piece("rock", D3DXVECTOR3(15, 0, 5)));
  auto times = [&] {
    return std::vector<float>{areas.GetPieces(Cell(3, 3))[0].GetMotionTime(),
                              areas.GetPieces(Cell(0, 0))[0].GetMotionTime()};
  };
  const D3DXVECTOR3 focus(10, 0, 10);
  areas.Update(focus);
  EXPECT_EQ(times(), (std::vector<float>{1, 1}));
  EXPECT_FLOAT_EQ(Shown("walker near")->GetMotionTime(), 1.0f) << "shown as it stands";
  SetTimeStop(true, nullptr, nullptr);
  areas.Update(focus);
  areas.Update(focus);
  SetTimeStop(false, nullptr, nullptr);
  EXPECT_EQ(times(), (std::vector<float>{1, 1})) << "frozen while time is stopped";
  EXPECT_FLOAT_EQ(Shown("walker near")->GetMotionTime(), 1.0f);
  areas.Update(focus);
  areas.Update(focus);
  EXPECT_EQ(times(), (std::vector<float>{0, 0})) << "past the last of its three frames: round again";
  EXPECT_EQ(areas.GetPieces(Cell(3, 2))[0].GetMotionTime(), 0.0f) << "a still piece";
}

TEST_F(MeshAreaTest, TheFramesComeAndGoAndClearingEmptiesEverything) {
  areas.AddMesh(Piece("rock", D3DXVECTOR3(5, 0, 5)));
  areas.Detach();
  EXPECT_EQ(areas.GetRoot()->GetParent(), nullptr);
  EXPECT_TRUE(scene->GetChildren().empty());
  TCountedPtr<TFrame8> other = CreateNamedFrame("Other", IdentityMatrix());
  areas.Attach(other.Get());
  EXPECT_EQ(areas.GetSubRoot()->GetParent(), other.Get());
  areas.Attach(nullptr);
  EXPECT_EQ(areas.GetSubRoot()->GetParent(), other.Get());

  areas.Clear();
  EXPECT_TRUE(other->GetChildren().empty());
  EXPECT_EQ(areas.GetRoot(), nullptr);
  EXPECT_EQ(areas.GetPieceCount(), 0u);
  EXPECT_EQ(areas.GetColumns(), 0);
  areas.Update(D3DXVECTOR3(5, 0, 5));  // nothing to show, nothing breaks
  areas.AddMesh(Piece("rock", D3DXVECTOR3(5, 0, 5)));
  EXPECT_EQ(areas.GetPieceCount(), 0u);
}

TEST_F(MeshAreaTest, AMapsVisiblePiecesAreFiledByTheirPlacement) {
  SetScriptFolder(dir.path() + "/scr/");
  SetVisualFolder("visual03/");
  datakit::MeshPieceRow inside, outside, hidden;
  inside.position = {5, 0, 5};
  inside.meshName = "rock.msh";
  inside.renderFlag = 1;
  outside = inside;
  outside.position = {50, 0, 5};
  hidden = inside;
  hidden.position = {-5, 0, -5};
  hidden.collisionName = "rock.msh";  // a visible piece with a collision twin is still one visible piece
  datakit::MapEntryWriter entry;
  entry.MeshPiece(inside).MeshPiece(outside).MeshPiece(hidden);
  datakit::MapDataWriter().Entry("m", entry).Save(dir / "scr/t.pbms");

  TMapData("t.pbms/m").BuildMeshAreas(areas);
  EXPECT_EQ(areas.GetPieceCount(), 2u);
  ASSERT_EQ(areas.GetPieces(Cell(2, 2)).size(), 1u);
  EXPECT_EQ(areas.GetPieces(Cell(2, 2))[0].GetMaterial(0).GetRenderMode(), 1100);
  EXPECT_EQ(areas.GetPieces(Cell(1, 1)).size(), 1u);
  SetScriptFolder("");
  SetVisualFolder("");
}

TEST_F(MeshAreaTest, AMissingGroundMeshIsAnError) {
  TMeshAreaManager other;
  EXPECT_THROW(other.Load("map03/none.msh", 10, 10, scene.Get(), "X"), my_error);
}

}  // namespace
