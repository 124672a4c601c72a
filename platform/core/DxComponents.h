// What the DirectX version probe finds installed. The real build has everything (8.1); tests set
// other tables to walk the probe's decisions.
#pragma once

namespace plat {

struct DxComponents {
  bool ddrawLibrary = true;            // DDRAW.DLL
  bool directDrawCreate = true;        // its DirectDrawCreate export
  bool directDrawObject = true;        // creating the object on the default device
  bool directDraw2 = true;             // the DirectDraw 2 interface
  bool dinputLibrary = true;           // DINPUT.DLL
  bool directInputCreate = true;       // its DirectInputCreateA export
  bool primarySurface = true;          // cooperative level and primary surface
  bool surface3 = true;                // DirectDraw surface 3
  bool surface4 = true;                // DirectDraw surface 4
  bool directMusic = true;             // the DirectMusic COM object
  bool directDraw7 = true;             // DirectDrawCreateEx and a DirectDraw 7 object
  bool d3d8Library = true;             // D3D8.DLL
  bool dpnhpastLibrary = true;         // dpnhpast.dll
};

const DxComponents& GetDxComponents();
void SetDxComponents(const DxComponents& components);

}  // namespace plat
