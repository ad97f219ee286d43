#pragma once

namespace tessera {

// The fixed OpenGL state, set once after the window opens: normalised normals, depth test,
// colour material, smooth shading, texels replacing the lit colour, light 0 from the Stage
// and the global ambient light.
void initGraphics();

} // namespace tessera
