// The node of the scene graph: a named local matrix with counted children, mesh instances held by
// value (copies share their geometry) and shared animation blocks. A frame's world matrix is its (animated) matrix times its
// parent's world matrix. Transforms that take a flag multiply in the frame's own space when it is
// true (T x local) and in the parent's space when it is false (local x T).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "common/TAnimation8.h"
#include "common/TCountedPtr.h"
#include "common/TMesh8.h"
#include "platform/gfx/D3DXMath.h"

class TFile;
class TView8;

// A frame's matrix before it is moved or turned.
inline plat::D3DXMATRIX IdentityMatrix() {
  plat::D3DXMATRIX m;
  return *plat::D3DXMatrixIdentity(&m);
}

class TFrame8 {
 public:
  // The parent pointer is stored only; the parent's child list is not touched.
  TFrame8(const std::string& name, const plat::D3DXMATRIX& matrix, TFrame8* parent);
  ~TFrame8();
  TFrame8(const TFrame8&) = delete;
  TFrame8& operator=(const TFrame8&) = delete;

  // Tears the contents down: children are let go (their parent cleared), meshes and animation
  // blocks released, the name emptied. The frame stays in its own parent's list.
  void Release();

  // Reads the hierarchy of the frame file folder + name. A missing or damaged file gives what
  // could be read (at worst one empty frame with the identity matrix) and one line naming the file
  // on stderr; an embedded mesh read whole but unusable is left out and the read goes on after it.
  // What is not this file's damage throws my_error as a mesh file would: a material's missing or
  // damaged texture pack, a device that refuses a buffer.
  static TCountedPtr<TFrame8> Load(const std::string& name);
  static void SetFolder(const std::string& folder);
  static const std::string& GetFolder();

  // A deep copy of the subtree with the given parent pointer (not listed by it): no animation
  // selected, time 0, visible; mesh instances copied, animation blocks shared.
  TCountedPtr<TFrame8> Clone(TFrame8* parent) const;

  // Hierarchy. AddChild takes the child from its former parent first and appends it (moving it to
  // the end when it is already listed here); it refuses a null child, this frame and its
  // ancestors, which would make a cycle.
  bool AddChild(const TCountedPtr<TFrame8>& child);
  bool RemoveChild(TFrame8* frame);
  bool Detach();
  void RemoveChildren();
  TFrame8* GetParent() const { return parent; }
  void SetParent(TFrame8* frame) { parent = frame; }
  const std::vector<TCountedPtr<TFrame8>>& GetChildren() const { return children; }

  const std::string& GetName() const { return name; }
  void SetName(const std::string& text) { name = text; }
  bool IsVisible() const { return visible != 0; }
  // Only the recursive material setters read it; drawing does not.
  void SetVisible(bool flag) { visible = flag ? 1 : 0; }

  // Meshes. A found mesh's address stays valid until this frame's mesh list changes.
  void AddMesh(const TMesh8& mesh);
  bool RemoveMesh(const TMesh8* mesh);
  void RemoveMeshes();
  TMesh8* FindMesh(const std::string& meshName, bool recurse);
  std::vector<TMesh8>& GetMeshes() { return meshes; }
  const std::vector<TMesh8>& GetMeshes() const { return meshes; }

  // Material values on every part of every mesh, with recurse also on the subtree. skipHidden
  // makes a hidden frame do nothing. The recursion always skips hidden children with their
  // subtrees, except SetColor's, which colours a hidden child's meshes but stops there.
  void SetColorRGB(float r, float g, float b, bool recurse, bool skipHidden);
  void SetAlpha(float a, bool recurse, bool skipHidden);
  void SetRenderMode(uint32_t code, bool recurse, bool skipHidden);
  void SetColor(float r, float g, float b, float a, bool recurse, bool skipHidden);

  // Queues the subtree into the render-mode queues: children first, then each mesh whose
  // bounding sphere the view can see. The visible flag plays no part.
  void Draw(TView8& view, const plat::D3DXMATRIX& parentMatrix);

  // Animation. An index outside the frame's blocks selects nothing (the local matrix is used).
  void AddAnimation(const TCountedPtr<TAnimation8>& block);
  const std::vector<TCountedPtr<TAnimation8>>& GetAnimations() const { return animations; }
  void SetAnimation(int32_t index);
  void SetAnimationTime(float time);
  int32_t GetAnimation() const { return animationIndex; }
  float GetAnimationTime() const { return animationTime; }

  // Matrices.
  plat::D3DXMATRIX* GetMatrix() { return &local; }
  const plat::D3DXMATRIX* GetMatrix() const { return &local; }
  void SetMatrix(const float matrix[16]);
  void SetMatrix(const plat::D3DXMATRIX& matrix) { local = matrix; }
  // The local matrix, or the selected animation block's matrix at the frame's time.
  plat::D3DXMATRIX GetCurrentMatrix() const;
  plat::D3DXMATRIX* GetWorldMatrix(plat::D3DXMATRIX* out) const;

  // Transforms and positions.
  void MultiplyMatrix(const plat::D3DXMATRIX& m, bool pre);
  void Translate(float x, float y, float z, bool pre);
  void RotateAxis(const plat::D3DXVECTOR3& axis, float angle, bool pre);
  void Scale(float x, float y, float z, bool pre);
  plat::D3DXVECTOR3* GetPosition(plat::D3DXVECTOR3* out) const;
  void SetPosition(const plat::D3DXVECTOR3& v);
  void SetPositionXYZ(float x, float y, float z);
  void AddPosition(float x, float y, float z);
  // Axis 1, 2 or 3 is the local (or world) matrix's x, y or z row; any other gives (0, 0, 0).
  plat::D3DXVECTOR3* GetAxis(plat::D3DXVECTOR3* out, int32_t axis) const;
  plat::D3DXVECTOR3* GetWorldAxis(plat::D3DXVECTOR3* out, int32_t axis) const;
  plat::D3DXVECTOR3* GetWorldPosition(plat::D3DXVECTOR3* out) const;

  // Space conversions; each is false when a world matrix it inverts is singular.
  bool GetInverseWorldMatrix(plat::D3DXMATRIX* out, bool withTranslation) const;  // identity when false
  bool GetRelativeMatrix(const TFrame8* other, plat::D3DXMATRIX* out) const;
  bool GetPositionRelativeTo(const TFrame8* other, plat::D3DXVECTOR3* out) const;
  // An axis other than 1, 2, 3 leaves out alone and still returns true.
  bool GetAxisRelativeTo(const TFrame8* other, plat::D3DXVECTOR3* out, int32_t axis) const;
  bool WorldToLocal(plat::D3DXVECTOR3* out, const plat::D3DXVECTOR3& point, bool withTranslation) const;
  bool SetPositionRelativeTo(const TFrame8* other, const plat::D3DXVECTOR3& point);
  bool SetWorldPosition(const plat::D3DXVECTOR3& point);

  // Turning. Each changes the local matrix only when it returns true; the position stays.
  bool LookAt(const plat::D3DXVECTOR3& direction, const plat::D3DXVECTOR3& up);
  bool LookAtRelativeTo(const TFrame8* reference, const plat::D3DXVECTOR3& direction,
                        const plat::D3DXVECTOR3& up);
  // Modes: 12 z exactly on the target, y near the reference's y; 4 y kept on the reference's y;
  // odd modes x kept on the reference's x (3 also keeps z on the reference's side); 8 faces along
  // the reference's +z or -z toward the target. Other modes and a missing reference (outside
  // mode 8) are refused.
  bool Aim(const TFrame8* reference, const TFrame8* target, int32_t mode);
  bool AimAtPoint(const TFrame8* reference, const plat::D3DXVECTOR3& point, int32_t mode);

 private:
  static TCountedPtr<TFrame8> ReadRecord(TFile& file, TFrame8* parent, uint32_t depth, bool& ok);
  void ReadMeshes(TFile& file, bool& ok);
  template <class Apply>
  void Spread(const Apply& apply, bool recurse, bool skipHidden, bool colourRule);
  bool IsSelfOrAncestor(const TFrame8* frame) const;
  bool ApplyBasis(const plat::D3DXVECTOR3& forward, const plat::D3DXVECTOR3& up);
  // inverse is this frame's inverse world matrix, taken once for the whole aim; null when singular.
  bool AimAlong(const TFrame8* reference, bool haveTarget, plat::D3DXVECTOR3 z, int32_t mode,
                const plat::D3DXMATRIX* inverse);
  void ApplyRows(const plat::D3DXVECTOR3& x, const plat::D3DXVECTOR3& y, const plat::D3DXVECTOR3& z);

  std::string name;
  plat::D3DXMATRIX local;
  int32_t animationIndex = -1;
  float animationTime = 0.0f;
  uint8_t visible = 1;
  std::vector<TCountedPtr<TAnimation8>> animations;
  std::vector<TMesh8> meshes;
  std::vector<TCountedPtr<TFrame8>> children;
  TFrame8* parent;
};

// A new root frame with the name and matrix, held by a new counted pointer.
TCountedPtr<TFrame8> CreateNamedFrame(const std::string& name, const plat::D3DXMATRIX& matrix);
TCountedPtr<TFrame8> CreateNamedFrame(const std::string& name, const float matrix[16]);
