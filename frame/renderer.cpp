#include "frame/renderer.h"

namespace tessera {

void Renderer::project(const Projection&) {}

void Renderer::switchOnLight(int, const LightSource&) {}

void Renderer::moveLight(int, const LightSource&) {}

bool Renderer::selectionHits(const Frame&, int, int, double, std::vector<unsigned int>&) {
    return false;
}

} // namespace tessera
