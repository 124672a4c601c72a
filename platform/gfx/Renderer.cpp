#include "platform/gfx/Renderer.h"

#include "platform/gfx/RecordingRenderer.h"

namespace plat {

namespace {
RendererFactory& Factory() {
  static RendererFactory factory;
  return factory;
}
}  // namespace

void SetRendererFactory(RendererFactory factory) { Factory() = std::move(factory); }

std::shared_ptr<Renderer> CreateRenderer() {
  if (Factory()) return Factory()();
  return std::make_shared<RecordingRenderer>();
}

}  // namespace plat
