// The CPU side of the fixed-function path: the routines that fill a mesh's scratch vertex buffer
// for one part, either copying one morph frame with a colour rule or blending two morph frames.
// The shader objects call them before drawing from the scratch buffer.
#pragma once
#include <cstdint>

class TMesh8;

// Copies the part's vertices of morph frame `frame` into the scratch buffer. Unless forced, a part
// that this instance filled last and that is not dirty is left alone.
void CopyPartVertices(uint32_t part, uint32_t frame, TMesh8& mesh, bool force);           // vertex colour
void CopyPartVerticesConstColor(uint32_t part, uint32_t frame, TMesh8& mesh, bool force); // material colour
void CopyPartVerticesModulate(uint32_t part, uint32_t frame, TMesh8& mesh, bool force);   // their product

// Blends the two morph frames of the current motion time into the scratch buffer: every part when
// the motion moved, else the part when it needs filling. Bit 0 of the kind blends the vertex
// colours, bit 1 the texture coordinates; a kind outside 0x80000000..0x80000003 writes nothing.
void DrawMorphMeshA(uint32_t part, TMesh8& mesh, uint32_t kind);  // vertex colours
void DrawMorphMeshB(uint32_t part, TMesh8& mesh, uint32_t kind);  // material colour
void DrawMorphMeshC(uint32_t part, TMesh8& mesh, uint32_t kind);  // vertex colours x material colour
